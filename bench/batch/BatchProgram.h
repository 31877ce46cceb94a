#pragma once
// What the batch-run benchmarks share: videos made with the ffmpeg command line, and the services
// of a running program (the window's batch run, offscreen) in a program folder of its own beside
// the built encoders.
#include "common/Fakes.h"
#include "engine/BatchRun.h"
#include "engine/ProgressRefresh.h"
#include "media/SourceListModel.h"
#include "media/TimeText.h"
#include "platform/PlatformServices.h"
#include "services/ServiceObjects.h"
#include "settings/OptionSelectionModel.h"
#include "settings/OptionTables.h"

#include "BenchKit.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

// A video of `seconds` (`size` MPEG-4 at 25 frames a second, a 440 Hz tone in MP2) made with
// the ffmpeg command line.
inline bool makeVideo(const QString &path, int seconds, const QString &size)
{
    return runFfmpeg({"-f", "lavfi", "-i", QStringLiteral("testsrc=size=%1:rate=25").arg(size), "-f", "lavfi", "-i",
                      "sine=frequency=440:sample_rate=44100", "-t", QString::number(seconds), "-c:v", "mpeg4", "-c:a",
                      "mp2", path},
                     300000);
}

// The services of a running program, in a program folder of their own beside the built encoders.
struct Program {
    QTemporaryDir folder;
    QString programFolder = folder.path() + QStringLiteral("/App/");
    SystemClock clock;
    FakeMessageBoxes boxes;
    FakeShellLauncher shell;
    FakePowerControl power;
    OptionSelectionModel options;
    SourceListModel sources;
    TServiceObjects services{FileLocations::portableIn(programFolder), clock, boxes, options, sources};
    TCustomProc &custom = services.customProc;
    TProgressRefresh progress;
    TBatchRun batch{custom.batchServices(), progress, shell, power};

    explicit Program(const QString &builtFolder)
    {
        QDir().mkpath(programFolder);
        for (const char *name : {"evc", "revc"})
            QFile::link(builtFolder + QString::fromLatin1(name), programFolder + QString::fromLatin1(name));
        custom.FillAllSelectors();
        options.setSelectedIndex(Selector::OutputType, Mp3);
    }
    void setRows(const QStringList &paths, const QString &end)
    {
        sources.clear();
        for (const QString &path : paths)
            sources.appendItem(WholeFileItem(path, 1024 * 1024, ReadTimeText(end) * 1000));
    }
    QString useOutputFolder(const QString &name)
    {
        const QString out = folder.path() + QLatin1Char('/') + name + QLatin1Char('/');
        QDir(out).removeRecursively();
        custom.setOutputFolderText(out);
        return out;
    }
    // The encoder's own times for the listed files, summed; -1 when one failed.
    double direct()
    {
        double sum = 0;
        for (const SourceItem &item : sources.items()) {
            const ConvertResult built = custom.CreateConvertParameter(item);
            const double ms = built.ok() ? timeProcess(built.command.program, built.command.arguments) : -1;
            if (ms < 0)
                return -1;
            sum += ms;
        }
        return sum;
    }
    // One batch run over the listed files, waited for in the application's event loop.
    double runBatch()
    {
        QElapsedTimer clock;
        clock.start();
        if (!batch.RunBatch(sources))
            return -1;
        if (batch.isRunning())
            QCoreApplication::exec();
        const double ms = clock.nsecsElapsed() / 1e6;
        return batch.failures().isEmpty() ? ms : -1;
    }
};
