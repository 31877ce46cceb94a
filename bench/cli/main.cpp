// Measures kelvane-convert. Makes 20 one-minute videos with the ffmpeg command line, then, in
// each of 3 rounds and back to back:
//   alone   - starts the encoder on every file itself, one after another, with the very
//             command kelvane-convert builds (posix_spawn, waitpid), and sums the times;
//   jobs 1  - the built kelvane-convert, --jobs 1, on the 20 files;
//   jobs 2  - the same with --jobs 2;
//   inside  - the same run as jobs 2 inside this process, so that the program's own CPU time
//             (getrusage self: every thread of it) and its encoders' (children) can be told apart.
// jobs 2 / jobs 1 is what the second encoder buys on a 2-core machine. Then the same "alone" and
// "jobs 1" on 20 one-second videos, 5 rounds: with little encoding to hide it in,
// (jobs 1 - alone) / 20 is what the program adds per file (its own start included).
// Usage: bench_cli [--quick] [program folder]; --quick (fewer and shorter files, one round)
// only shows that the measurement still works.
#include "cli/ConsoleReport.h"
#include "cli/ConvertProgram.h"
#include "cli/JobCommand.h"
#include "cli/OptionChoice.h"
#include "cli/ConvertRequest.h"
#include "platform/PlatformServices.h"
#include "settings/OptionSelectionModel.h"
#include "settings/OptionTables.h"
#include "media/TimeText.h"

#include "BenchKit.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

int FileCount = 20;
int Rounds = 3;
int OverheadRounds = 5;

int FileSeconds = 60;

bool makeVideo(const QString &path, int seconds)
{
    return runFfmpeg({"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-f", "lavfi", "-i",
                      "sine=frequency=440:sample_rate=44100", "-t", QString::number(seconds), "-ac", "2", "-c:v",
                      "mpeg4", "-c:a", "mp2", path},
                     300000);
}

// A program folder of its own: a copy of kelvane-convert beside links to the built encoders.
struct Bench {
    QTemporaryDir folder;
    QString programFolder = folder.path() + QStringLiteral("/App/");
    SystemClock clock;
    QStringList sources;
    int seconds = 0; // the length of every source

    explicit Bench(const QString &builtFolder)
    {
        QDir().mkpath(programFolder);
        for (const char *name : {"evc", "revc"})
            QFile::link(builtFolder + QString::fromLatin1(name), programFolder + QString::fromLatin1(name));
        QFile::copy(builtFolder + QStringLiteral("kelvane-convert"), programFolder + QStringLiteral("kelvane-convert"));
        QFile::setPermissions(programFolder + QStringLiteral("kelvane-convert"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString freshOutput(const QString &name) const
    {
        const QString out = folder.path() + QLatin1Char('/') + name + QLatin1Char('/');
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        return out;
    }
    QStringList arguments(int jobs, const QString &output) const
    {
        return QStringList{"--type", "mp3", "--quality", "normal", "--jobs", QString::number(jobs), "--output", output}
               + sources;
    }
    // The encoder alone on every file, with the command kelvane-convert builds for it.
    double alone()
    {
        ConvertRequest request;
        request.outputType = Mp3;
        const OptionChoice choice = ChooseOptions(request, programFolder);
        const TAppFunc log(programFolder, clock);
        TFileFunc files;
        const JobCommandContext context{programFolder, choice.settings, freshOutput(QStringLiteral("alone")), &log,
                                        &files};
        double sum = 0;
        for (const QString &source : sources) {
            const JobCommand job =
                BuildJobCommand(context, WholeFileItem(source, 1024 * 1024, qint64(seconds) * 1000), programFolder);
            const double ms = timeProcess(job.result.command.program, job.result.command.arguments);
            if (ms < 0)
                return -1;
            sum += ms;
        }
        return sum;
    }
    double executable(int jobs)
    {
        return timeProcess(programFolder + QStringLiteral("kelvane-convert"),
                           arguments(jobs, freshOutput(QStringLiteral("jobs%1").arg(jobs))));
    }
    // The same run inside this process; wall ms, or -1.
    double inside(int jobs)
    {
        QByteArray out, err;
        QBuffer outBuffer(&out), errBuffer(&err);
        outBuffer.open(QIODevice::WriteOnly);
        errBuffer.open(QIODevice::WriteOnly);
        ConsoleReport console(outBuffer, errBuffer, ConsoleMode{});
        ConvertProgram program(arguments(jobs, freshOutput(QStringLiteral("inside"))),
                               {FileLocations::portableIn(programFolder), folder.path(), 2, &clock}, console);
        int status = -1;
        QObject::connect(&program, &ConvertProgram::finished, [&](int exitStatus) {
            status = exitStatus;
            QCoreApplication::quit();
        });
        QElapsedTimer wall;
        wall.start();
        program.start();
        if (status < 0)
            QCoreApplication::exec();
        return status == 0 ? wall.nsecsElapsed() / 1e6 : -1;
    }
};

// Makes `count` videos of `seconds` in the bench's folder.
bool makeSources(Bench &bench, const QString &prefix, int count, int seconds)
{
    std::printf("making %d videos of %d s (320x240 MPEG-4, MP2 stereo) with ffmpeg...\n", count, seconds);
    std::fflush(stdout);
    bench.sources.clear();
    bench.seconds = seconds;
    for (int i = 0; i < count; ++i) {
        bench.sources << bench.folder.path() + QStringLiteral("/%1%2.avi").arg(prefix).arg(i, 2, 10, QLatin1Char('0'));
        if (!makeVideo(bench.sources.last(), seconds))
            return false;
    }
    return true;
}

bool measureParallel(Bench &bench)
{
    std::vector<double> ratios, cpuShares;
    std::printf("round  alone ms  jobs 1 ms  jobs 2 ms  jobs2/jobs1  | inside: jobs 2 ms  own CPU ms  encoders CPU ms"
                "  own/encoders\n");
    for (int round = 1; round <= Rounds; ++round) {
        const double alone = bench.alone();
        const double jobs1 = bench.executable(1);
        const double jobs2 = bench.executable(2);
        const CpuClock before;
        const double inside = bench.inside(2);
        const CpuClock after;
        if (alone < 0 || jobs1 < 0 || jobs2 < 0 || inside < 0)
            return false;
        const double own = after.selfSince(before), encoders = after.childrenSince(before);
        ratios.push_back(jobs2 / jobs1);
        cpuShares.push_back(100.0 * own / std::max(1.0, encoders));
        std::printf("%5d  %8.0f  %9.0f  %9.0f  %11.2f  | %15.0f  %10.1f  %15.0f  %11.2f%%\n", round, alone, jobs1, jobs2,
                    ratios.back(), inside, own, encoders, cpuShares.back());
    }
    std::printf("medians: jobs2/jobs1 %.2f, own CPU %.2f%% of the encoders'\n", median(ratios), median(cpuShares));
    return true;
}

bool measureOverhead(Bench &bench)
{
    std::vector<double> overheads;
    std::printf("round  alone ms  jobs 1 ms  added per file ms\n");
    for (int round = 1; round <= OverheadRounds; ++round) {
        const double alone = bench.alone();
        const double jobs1 = bench.executable(1);
        if (alone < 0 || jobs1 < 0)
            return false;
        overheads.push_back((jobs1 - alone) / static_cast<double>(bench.sources.size()));
        std::printf("%5d  %8.0f  %9.0f  %17.1f\n", round, alone, jobs1, overheads.back());
    }
    std::printf("median added per file: %.1f ms\n", median(overheads));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const BenchArguments arguments =
        ReadBenchArguments(QStringLiteral(KELVANE_BENCH_PROGRAM_DIR), {"evc", "kelvane-convert"});
    if (arguments.builtFolder.isEmpty())
        return 1;
    if (arguments.quick) {
        FileCount = 4;
        Rounds = 1;
        OverheadRounds = 1;
        FileSeconds = 10;
    }
    Bench bench(arguments.builtFolder);
    const bool measured = makeSources(bench, QStringLiteral("long"), FileCount, FileSeconds) && measureParallel(bench)
                          && makeSources(bench, QStringLiteral("short"), FileCount, 1) && measureOverhead(bench);
    if (!measured)
        std::fprintf(stderr, "a video could not be made or a conversion failed\n");
    return measured ? 0 : 1;
}
