#pragma once
// The progress window's model: both bars, the texts, the status animation, and the refresh
// that turns the encoder's status lines into bar positions.
#include <QObject>
#include <QString>

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
    int &refreshCount;       // counted up here; the batch resets it to 0 for every item
    QString durationText;    // the item's length in whole seconds, decimal
    QString inputPath;       // shown as the current file
};

class TProgressRefresh : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    int animationStep = 0;
    TBarState currentBar;   // ProgressBar1: seconds written of the item's length
    TBarState totalBar;     // pbTotal: 100 units per item
    QString lblPersent = QStringLiteral("Current: 1, Total: ...");
    QString lblInfo = QStringLiteral("Please wait . . .");
    QString statState;
    QString lblCurFileName;

    void FormShow(const QString &inputPath, int checkedCount);
    void HandleEncoderOutput(const QString &chunk, const TRefreshInputs &inputs);
    void actRefreshProgressExecute(const TRefreshInputs &inputs);
    void tmrChangingTimer();
    void stopReset();
    // The item's length announced before its first chunk (the batch resets the bar per item).
    void resetCurrentBar();
    // The counts, the total bar and the file name as an item's encoder starts (`doneCount` items
    // are over) and as it ends (`doneCount` includes it), so that an item whose encoder prints a
    // single status line moves them too. `sourcePath` is the row's own file.
    void itemStarted(int doneCount, int checkedCount, const QString &sourcePath);
    void itemEnded(int doneCount, int checkedCount);

Q_SIGNALS:
    void changed();

private:
    void refreshTotal(const TRefreshInputs &inputs);
    void showCounts(int current, int checkedCount);
    void showItemsDone(int doneCount, int checkedCount);
};

// The whole seconds of the time= field of the newest complete status line in `chunk`
// (a line ended by "\n" or "\r"); -1 when there is none or the encoder has no time yet.
qint64 LatestStatusSeconds(const QString &chunk);
