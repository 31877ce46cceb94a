#pragma once
// The progress window's model: both bars, the texts, the status animation, and the refresh
// that turns the encoder's status lines into bar positions.
#include <QObject>
#include <QString>
#include <QStringList>

#include <map>

struct TBarState {
    int minimum = 0;
    int maximum = 1;
    int position = 0;
    void setPosition(qint64 value);   // kept within minimum..maximum, like a progress bar
};

// What the refresh reads from the running batch.
struct TRefreshInputs {
    int doneCount = 0;
    int checkedCount = 0;
    QString durationText;    // the item's length in whole seconds, decimal
    QString inputPath;       // shown as the current file
};

// One file whose encoder runs beside others, as the progress window counts it.
struct TFileInProgress {
    QString path;              // the row's own file
    qint64 lengthSeconds = 0;  // the item's length in whole seconds
    qint64 secondsWritten = 0; // the newest time= of its encoder, within its length
};

class TProgressRefresh : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // What the window shows, each named after the control that shows it.
    const TBarState &currentBar() const { return m_currentBar; } // ProgressBar1: seconds written of the item's length
    const TBarState &totalBar() const { return m_totalBar; }     // pbTotal: 100 units per item
    const QString &lblPersent() const { return m_lblPersent; }
    const QString &lblInfo() const { return m_lblInfo; }
    const QString &statState() const { return m_statState; }
    const QString &lblCurFileName() const { return m_lblCurFileName; }
    int animationStep() const { return m_animationStep; }
    // The chunks of the current item's encoder output so far; the first one is its banner.
    int refreshCount() const { return m_refreshCount; }

    void FormShow(const QString &inputPath, int checkedCount);
    // One chunk of the encoder's output: the status text, and from the item's second chunk on
    // the bars and the counts.
    void HandleEncoderOutput(const QString &chunk, const TRefreshInputs &inputs);
    void tmrChangingTimer();
    void stopReset();
    // The counts, the total bar and the file name as an item's encoder starts (`doneCount` items
    // are over) and as it ends (`doneCount` includes it), so that an item whose encoder prints a
    // single status line moves them too. `sourcePath` is the row's own file. A starting item's
    // bar begins at 0 and its first chunk is its banner again.
    void itemStarted(int doneCount, int checkedCount, const QString &sourcePath);
    void itemEnded(int doneCount, int checkedCount);

    // Several files at once. The file line names the files in progress ("2 files: a.mp4,
    // b.mp4"; one file by its path), the file bar holds them as one piece (their seconds written
    // out of their summed lengths), the total bar adds each one's share to the files over, and
    // the counts give the numbers of the files in progress ("Current: 4-5 , Total: 20.").
    // `key` names a file while its encoder runs; a chunk goes to the status bar as it comes.
    void fileStarted(int key, const QString &sourcePath, const QString &durationText, int doneCount, int checkedCount);
    void fileOutput(int key, const QString &chunk, int doneCount, int checkedCount);
    // Forgets the file; showFilesInProgress then shows the others.
    void fileEnded(int key) { m_inProgress.erase(key); }
    void showFilesInProgress(int doneCount, int checkedCount);
    // The paths of the files in progress, in row order.
    QStringList filesInProgress() const;

Q_SIGNALS:
    // Emitted once for every change above.
    void changed();

private:
    void actRefreshProgressExecute(const TRefreshInputs &inputs);
    void refreshTotal(const TRefreshInputs &inputs);
    void showCounts(int current, int checkedCount);
    void showItemsDone(int doneCount, int checkedCount);
    void showFileLine();

    int m_animationStep = 0;
    int m_refreshCount = 0;
    TBarState m_currentBar;
    TBarState m_totalBar;
    QString m_lblPersent = QStringLiteral("Current: 1, Total: ...");
    QString m_lblInfo = QStringLiteral("Please wait . . .");
    QString m_statState;
    QString m_lblCurFileName;
    std::map<int, TFileInProgress> m_inProgress; // by key, which follows the row order
};

// The whole seconds of the time= field of the newest complete status line in `chunk`
// (a line ended by "\n" or "\r"); -1 when there is none or the encoder has no time yet.
qint64 LatestStatusSeconds(const QString &chunk);
