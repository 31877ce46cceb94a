// Measures what the batch run adds to the encoder's own work. Makes 20 one-second videos with
// the ffmpeg command line, then, in each round and back to back:
//   direct - starts the encoder for every file itself (posix_spawn, waitpid) and sums the times;
//   batch  - converts the same 20 files with one batch run (RunBatch until runFinished).
// The difference divided by 20 is the run's overhead per item. The program's own CPU time
// during the batch (getrusage) shows that it does not compete with the encoder; a last run of
// one long file shows the program's CPU time while one encoder works for several seconds.
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

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int FileCount = 20;
constexpr int Rounds = 5;

bool makeVideo(const QString &path, int seconds)
{
    return runFfmpeg({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25", "-f", "lavfi", "-i",
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString builtFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) + QLatin1Char('/')
                                         : QStringLiteral(KELVANE_BENCH_PROGRAM_DIR);
    if (!QFileInfo(builtFolder + QStringLiteral("evc")).isExecutable()) {
        std::fprintf(stderr, "no encoder at %sevc\n", qPrintable(builtFolder));
        return 1;
    }
    Program program(builtFolder);
    QObject::connect(&program.batch, &TBatchRun::runFinished, &app, &QCoreApplication::quit, Qt::QueuedConnection);

    std::printf("making %d one-second videos and one ten-minute video with ffmpeg...\n", FileCount);
    std::fflush(stdout);
    QStringList paths;
    for (int i = 0; i < FileCount; ++i) {
        paths << program.folder.path() + QStringLiteral("/clip%1.avi").arg(i, 2, 10, QLatin1Char('0'));
        if (!makeVideo(paths.last(), 1))
            return 1;
    }
    const QString longPath = program.folder.path() + QStringLiteral("/long.avi");
    if (!makeVideo(longPath, 600))
        return 1;

    program.setRows(paths, QStringLiteral("00:00:01"));
    std::vector<double> overheads;
    std::printf("round  encoder alone (ms)  batch run (ms)  overhead/item (ms)  own CPU/item (ms)  encoder CPU/item (ms)\n");
    for (int round = 1; round <= Rounds; ++round) {
        program.useOutputFolder(QStringLiteral("direct"));
        const double direct = program.direct();
        program.useOutputFolder(QStringLiteral("batch"));
        const CpuClock before;
        const double batch = program.runBatch();
        const CpuClock after;
        if (direct < 0 || batch < 0) {
            std::fprintf(stderr, "a conversion failed\n");
            return 1;
        }
        const double overhead = (batch - direct) / FileCount;
        overheads.push_back(overhead);
        std::printf("%5d  %18.1f  %14.1f  %18.2f  %17.2f  %21.2f\n", round, direct, batch, overhead,
                    after.selfSince(before) / FileCount, after.childrenSince(before) / FileCount);
    }
    std::printf("median overhead per item: %.2f ms\n", median(overheads));

    program.setRows({longPath}, QStringLiteral("00:10:00"));
    program.useOutputFolder(QStringLiteral("long"));
    const CpuClock before;
    const double ms = program.runBatch();
    const CpuClock after;
    if (ms < 0)
        return 1;
    std::printf("one 600-second file: %.0f ms, encoder CPU %.0f ms, own CPU %.1f ms (%.2f%% of the encoder's)\n", ms,
                after.childrenSince(before), after.selfSince(before),
                100.0 * after.selfSince(before) / std::max(1.0, after.childrenSince(before)));
    return 0;
}
