// Measures "Files converted at once" in the window's batch run. Makes 20 one-minute videos with
// the ffmpeg command line (320x240 MPEG-4, MP2 stereo, as bench_cli's), then in each of 3 rounds
// converts them to MP3 (normal quality) with one batch run at 1 and one at 2 files at once, back
// to back, the run driven offscreen as the window drives it (RunBatch until runFinished). The
// second run's time over the first's is what the second encoder buys; the program's own CPU time
// (getrusage self) shows that the run itself stays out of the encoders' way.
// Usage: bench_batch_at_once [--quick] [program folder]; --quick (4 files of 10 s, one round)
// only shows that the measurement still works.
#include "BatchProgram.h"
#include "BenchKit.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

int FileCount = 20;
int FileSeconds = 60;
int Rounds = 3;
constexpr double Target = 0.6;

// One batch run over the listed files with `atOnce` files at once, into a fresh output folder.
double timedRun(Program &program, int atOnce, double &ownCpuMs)
{
    program.useOutputFolder(QStringLiteral("at_once_%1").arg(atOnce));
    program.batch.setFilesAtOnce(atOnce);
    const CpuClock before;
    const double ms = program.runBatch();
    ownCpuMs = CpuClock().selfSince(before);
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const BenchArguments arguments = ReadBenchArguments(QStringLiteral(KELVANE_BENCH_PROGRAM_DIR), {"evc"});
    if (arguments.builtFolder.isEmpty())
        return 1;
    if (arguments.quick) {
        FileCount = 4;
        FileSeconds = 10;
        Rounds = 1;
    }
    Program program(arguments.builtFolder);
    program.custom.ApplyQualityProfile(); // MP3 in "Normal Quality", as the window shows it
    QObject::connect(&program.batch, &TBatchRun::runFinished, &app, &QCoreApplication::quit, Qt::QueuedConnection);

    std::printf("making %d videos of %d s (320x240 MPEG-4, MP2 stereo) with ffmpeg...\n", FileCount, FileSeconds);
    std::fflush(stdout);
    QStringList paths;
    for (int i = 0; i < FileCount; ++i) {
        paths << program.folder.path() + QStringLiteral("/long%1.avi").arg(i, 2, 10, QLatin1Char('0'));
        if (!makeVideo(paths.last(), FileSeconds, QStringLiteral("320x240")))
            return 1;
    }
    program.setRows(paths, FormatTimeText(FileSeconds));

    std::vector<double> ratios;
    std::printf("round  1 at once ms  2 at once ms  2/1    own CPU ms (1 | 2)\n");
    for (int round = 1; round <= Rounds; ++round) {
        double ownOne = 0, ownTwo = 0;
        const double one = timedRun(program, 1, ownOne);
        const double two = timedRun(program, 2, ownTwo);
        if (one < 0 || two < 0) {
            std::fprintf(stderr, "a conversion failed\n");
            return 1;
        }
        ratios.push_back(two / one);
        std::printf("%5d  %12.0f  %12.0f  %4.2f  %8.1f | %.1f\n", round, one, two, ratios.back(), ownOne, ownTwo);
        std::fflush(stdout);
    }
    const double ratio = median(ratios);
    std::printf("median 2 at once / 1 at once: %.2f (target at most %.2f)\n", ratio, Target);
    return 0;
}
