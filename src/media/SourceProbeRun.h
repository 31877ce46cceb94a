#pragma once
// Measures a list of files on a worker thread with one probe graph, and hands each result over
// as soon as it is known. The results are delivered in list order through `deliver`, which
// runs on the worker thread; `deliverEnd` runs once after the last one (or after a stop).
#include "media/AudioTracks.h"
#include "media/SourceRefusal.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <atomic>
#include <functional>
#include <memory>

class QThread;

struct ProbedSourceFile {
    QString path;
    bool refused = true;   // can't be rendered, or shorter than a second
    qint32 seconds = 0;    // measured duration
    qint64 milliseconds = 0; // the same, before it was cut to whole seconds
    qint64 size = 0;       // bytes; read only for files that were not refused
    QString sizeError;     // why the size could not be read; empty when it was read
    SourceRefusal refusal = SourceRefusal::NoDecoder; // why it was refused
    bool hasSound = true;  // false for a video without a sound stream
    AudioTrackList audioTracks{}; // its audio tracks, in file order
};

class SourceProbeRun {
public:
    using SizeFunction = std::function<qint64(const QString &path)>;
    using Deliver = std::function<void(const ProbedSourceFile &file)>;

    // Makes the list of files to measure on the worker (a folder tree walked, say); `stop` is
    // set when the run is asked to stop.
    using Lister = std::function<QStringList(const std::atomic<bool> &stop)>;

    SourceProbeRun(QStringList paths, SizeFunction sizeOf, Deliver deliver, std::function<void()> deliverEnd);
    // The same, measuring what `list` gives; `listed` then gets how many files that is (on the
    // worker, before the first file is delivered).
    SourceProbeRun(Lister list, std::function<void(int count)> listed, SizeFunction sizeOf, Deliver deliver,
                   std::function<void()> deliverEnd);
    // Asks the worker to stop after the file it is measuring and waits for it.
    ~SourceProbeRun();
    // Asks the worker to stop after the file it is measuring; returns at once.
    void stop() { m_stop = true; }
    SourceProbeRun(const SourceProbeRun &) = delete;
    SourceProbeRun &operator=(const SourceProbeRun &) = delete;

    void start();

private:
    void run();

    QStringList m_paths;
    Lister m_list;
    std::function<void(int)> m_listed;
    SizeFunction m_sizeOf;
    Deliver m_deliver;
    std::function<void()> m_deliverEnd;
    std::atomic<bool> m_stop{false};
    std::unique_ptr<QThread> m_thread;
};
