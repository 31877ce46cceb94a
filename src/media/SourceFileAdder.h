#pragma once
// Adds video files to the source list. Each file is measured in the probe graph of its add
// operation on a worker thread, while the rows are appended here, on the thread that owns the
// list, one file at a time and in the order given; so the window keeps painting and its timers
// keep running however long the list is.
//
// For every path, in order:
//   - a path that is already in the list, that came earlier in the same call (both compared
//     exactly: names that differ in letter case are different files), or whose extension is
//     not accepted is passed over without a message;
//   - a folder stands for the video files in it and in the folders below it, in natural name
//     order (SourceFolderTree); the walk runs on the worker too;
//   - a file that is missing, empty, unreadable, damaged, that no decoder reads, that lasts
//     less than a second or whose size can't be read is left out; after the last file one
//     report through the codec error reporter names every file left out with its reason;
//   - otherwise a checked item of the whole file is appended (start 0, end its exact length);
//     a video without sound is appended unchecked, and one message names those videos.
#include "media/SourceRefusal.h"

#include <QObject>
#include <QSet>
#include <QStringList>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>

class ICodecErrorReporter;
class IMessageBoxes;
class SourceListModel;
struct ProbedSourceFile;
class SourceProbeRun;

class SourceFileAdder final : public QObject {
    Q_OBJECT
public:
    // Size in bytes of the file at a path; throws FileSizeError when it can't be read.
    // Called on the worker thread.
    using SizeFunction = std::function<qint64(const QString &path)>;

    // `model`, `reporter` and `boxes` must outlive this object.
    SourceFileAdder(SourceListModel &model, ICodecErrorReporter &reporter, IMessageBoxes &boxes,
                    QObject *parent = nullptr);
    // Stops measuring and waits for the worker; files not yet appended are not added.
    ~SourceFileAdder() override;

    void setSizeFunction(SizeFunction sizeOf);

    // Starts adding `paths` and returns at once. Operations run one after another in the order
    // they were asked for; `done` runs on this object's thread when this one is over (after
    // `finished`). Never calls `done` before returning.
    void AddSourceFiles(const QStringList &paths, std::function<void()> done = {});

    // True while an add operation is running or waiting.
    bool isBusy() const;

    // Stops adding: the running operation adds no further file and the waiting ones none at
    // all; each still ends as usual (finished, its `done`), with the files added so far.
    void cancel();

    // What the operation that finished last came to.
    struct Outcome {
        int listed = 0; // files it set out to measure (folders walked, repeats left out)
        int added = 0;
        QStringList foldersWithoutVideo;
        QStringList unreadableFolders;
        bool cancelled = false;
    };
    const Outcome &lastOutcome() const { return m_lastOutcome; }

Q_SIGNALS:
    // Of the `total` files of the running operation, `handled` have been measured and added or
    // left out.
    void progress(int handled, int total);
    // Every file of the running operation has been measured; rows may still wait for a report
    // window the user has not closed yet.
    void allMeasured();
    // One add operation is over; the list holds every row it added.
    void finished();

private:
    struct Operation;

    void startNextOperation();
    QStringList pathsToMeasure(const QStringList &paths, const QSet<QString> &listed, const std::atomic<bool> &stop);
    void listedCount(int count);
    void endOperation(std::unique_ptr<Operation> over);
    void receive(const ProbedSourceFile &file);
    void receiveEnd();
    void handleReady();
    void handle(const ProbedSourceFile &file);
    void finishOperation();
    bool reportOperation();

    SourceListModel &m_model;
    ICodecErrorReporter &m_reporter;
    IMessageBoxes &m_boxes;
    SizeFunction m_sizeOf;

    std::deque<Operation> m_waiting;
    std::unique_ptr<Operation> m_current;
    std::unique_ptr<SourceProbeRun> m_run;
    std::deque<ProbedSourceFile> m_ready; // measured, not yet handled
    bool m_measuringDone = false;
    bool m_handling = false; // a file is being handled
    QList<RefusedSourceFile> m_refused; // left out by the running operation
    QStringList m_soundless;            // added unchecked by it, for want of sound
    Outcome m_outcome;                  // of the running operation
    Outcome m_lastOutcome;
    bool m_cancelled = false;
    int m_handled = 0; // files of the running operation handled so far
};
