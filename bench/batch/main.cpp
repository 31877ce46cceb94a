// Measures what the batch run adds to the encoder's own work. Makes 20 one-second videos with
// the ffmpeg command line, then, in each round and back to back:
//   direct - starts the encoder for every file itself (posix_spawn, waitpid) and sums the times;
//   batch  - converts the same 20 files with one batch run (RunBatch until runFinished).
// The difference divided by 20 is the run's overhead per item. The program's own CPU time
// during the batch (getrusage) shows that it does not compete with the encoder; a last run of
// one long file shows the program's CPU time while one encoder works for several seconds.
#include "BatchProgram.h"
#include "BenchKit.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int FileCount = 20;
constexpr int Rounds = 5;

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
        if (!makeVideo(paths.last(), 1, QStringLiteral("160x120")))
            return 1;
    }
    const QString longPath = program.folder.path() + QStringLiteral("/long.avi");
    if (!makeVideo(longPath, 600, QStringLiteral("160x120")))
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
