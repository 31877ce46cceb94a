// Measures what the preview costs. Makes a 25-second 1280x720 H.264 + AAC video with the ffmpeg
// command line, then in each round:
//   preview - a fresh process (this program with --session) shows the main window offscreen,
//             settles 2 s and idles 10 s, then plays the video in the preview for 20 s (sound to
//             the null output), pauses it for 10 s and stops it for 10 s. It reports its CPU time
//             idle, playing, paused and stopped (getrusage), its resident memory idle and at most
//             while playing (VmRSS, sampled every 100 ms), and how many pictures it drew (600 is
//             every frame of the 30 frames a second).
//   mpv     - the mpv command line decodes the same 20 s with --vo=null --ao=null (no user
//             configuration, no scripts); its CPU time comes from wait4.
// Prints the median of the rounds. Usage: bench_preview [rounds] (default 3); needs ffmpeg and mpv.
#include "app/widgets/MainForm.h"
#include "media/FilterGraph.h"
#include "media/PreviewPlayer.h"
#include "media/widgets/PreviewControls.h"
#include "platform/PlatformServices.h"

#include "BenchKit.h"

#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

constexpr int SettleMs = 2000;
constexpr int IdleMs = 10000;
constexpr int PlayMs = 20000;
constexpr int QuietMs = 10000;

class NoShell final : public IShellLauncher {
public:
    bool open(const QUrl &) override { return true; }
};

double ownCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return cpuMs(usage);
}

// Resident memory of this process in MB.
double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

bool makeVideo(const QString &path)
{
    return runFfmpeg({"-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=30", "-f", "lavfi", "-i",
                      "sine=frequency=440:sample_rate=48000", "-t", "25", "-vf", "noise=alls=8:allf=t", "-c:v", "libx264",
                      "-preset", "veryfast", "-crf", "23", "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "128k", path},
                     600000);
}

struct Figures {
    double playCpuMs = 0;
    double idleMb = 0;
    double peakMb = 0;
    double pausedCpuMs = 0;
    double stoppedCpuMs = 0;
    double idleCpuMs = 0;
    int frames = 0; // pictures drawn while playing
};

// One preview in this process, driven by timers; prints the figures as one line.
int runSession(QApplication &app, const QString &video)
{
    std::setlocale(LC_NUMERIC, "C");
    NoShell shell;
    TFrmMainForm form(shell, QStringLiteral("/nowhere/"));
    FilterGraph graph(MpvSettings{"null", {}});
    PreviewPlayer player(graph, [](const QString &line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    ShowPreview(player, graph, form.DSVideoWindowEx1(), form.panLogo(), form.pnlCurTime());
    form.show();

    Figures figures;
    double mark = 0;
    QTimer sampler;
    sampler.setInterval(100);
    QObject::connect(&sampler, &QTimer::timeout, [&] { figures.peakMb = std::max(figures.peakMb, residentMb()); });
    QObject::connect(&graph, &FilterGraph::frameDrawn, [&] { figures.frames += sampler.isActive() ? 1 : 0; });

    QTimer::singleShot(SettleMs, [&] { mark = ownCpuMs(); });
    QTimer::singleShot(SettleMs + IdleMs, [&] {
        figures.idleCpuMs = ownCpuMs() - mark;
        figures.idleMb = residentMb();
        sampler.start();
        mark = ownCpuMs();
        player.btnPlayClick({WholeFileItem(video, 0, 0)});
        QTimer::singleShot(PlayMs, [&] {
            figures.playCpuMs = ownCpuMs() - mark;
            sampler.stop();
            if (!player.isPlaying()) {
                std::fprintf(stderr, "the preview did not play\n");
                app.exit(1);
                return;
            }
            player.btnPauseClick();
            mark = ownCpuMs();
            QTimer::singleShot(QuietMs, [&] {
                figures.pausedCpuMs = ownCpuMs() - mark;
                player.btnStopClick();
                mark = ownCpuMs();
                QTimer::singleShot(QuietMs, [&] {
                    figures.stoppedCpuMs = ownCpuMs() - mark;
                    std::printf("%.0f %.1f %.1f %.0f %.0f %d %.0f\n", figures.playCpuMs, figures.idleMb,
                                figures.peakMb, figures.pausedCpuMs, figures.stoppedCpuMs, figures.frames,
                                figures.idleCpuMs);
                    app.exit(0);
                });
            });
        });
    });
    return QApplication::exec();
}

// Runs a program with its output thrown away; its CPU time in ms, or -1 when it failed.
double childCpuMs(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    const SpawnArguments spawned(program, arguments);
    int pipeEnds[2] = {-1, -1};
    if (output && pipe(pipeEnds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (output) {
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, spawned.program(), &actions, nullptr, spawned.argv(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (output) {
        close(pipeEnds[1]);
        QFile reader;
        if (!failed && reader.open(pipeEnds[0], QIODevice::ReadOnly))
            *output = reader.readAll();
        close(pipeEnds[0]);
    }
    int status = 0;
    rusage usage{};
    if (failed != 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return cpuMs(usage);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--session") {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return runSession(app, QString::fromLocal8Bit(argv[2]));
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const QString mpv = QStandardPaths::findExecutable(QStringLiteral("mpv"));
    if (mpv.isEmpty()) {
        std::fprintf(stderr, "the mpv command line is not installed\n");
        return 1;
    }
    QTemporaryDir folder;
    const QString video = folder.filePath(QStringLiteral("720p.mp4"));
    if (!makeVideo(video)) {
        std::fprintf(stderr, "ffmpeg could not make the video\n");
        return 1;
    }
    const QString self = QFile::decodeName(argv[0]);
    std::vector<double> play, mpvCpu, idle, peak, paused, stopped, idleCpu;
    for (int round = 0; round < rounds; ++round) {
        QByteArray line;
        if (childCpuMs(self, {"--session", video}, &line) < 0) {
            std::fprintf(stderr, "the preview session failed\n");
            return 1;
        }
        const QList<QByteArray> f = line.trimmed().split(' ');
        if (f.size() != 7)
            return 1;
        play.push_back(f[0].toDouble());
        idle.push_back(f[1].toDouble());
        peak.push_back(f[2].toDouble());
        paused.push_back(f[3].toDouble());
        stopped.push_back(f[4].toDouble());
        idleCpu.push_back(f[6].toDouble());
        const double cli = childCpuMs(mpv, {"--no-config", "--vo=null", "--ao=null", "--length=20", "--no-osc",
                                           "--load-scripts=no", "--ytdl=no", "--load-stats-overlay=no",
                                           "--load-osd-console=no", "--really-quiet", video});
        if (cli < 0) {
            std::fprintf(stderr, "mpv failed\n");
            return 1;
        }
        mpvCpu.push_back(cli);
        std::printf("round %d: preview %.0f ms CPU (%s pictures drawn), mpv %.0f ms CPU, ratio %.2f; idle %.1f MB, "
                    "peak %.1f MB (+%.1f); idle %.0f ms, paused %.0f ms, stopped %.0f ms CPU in 10 s\n",
                    round + 1, play.back(), f[5].constData(), cli, play.back() / cli, idle.back(), peak.back(),
                    peak.back() - idle.back(), idleCpu.back(), paused.back(), stopped.back());
        std::fflush(stdout);
    }
    std::vector<double> growth;
    for (size_t i = 0; i < idle.size(); ++i)
        growth.push_back(peak[i] - idle[i]);
    std::printf("\n| preview CPU s (20 s) | mpv CPU s (20 s) | CPU ratio | idle MB | previewing MB | growth MB | "
                "CPU idle (10 s) | CPU paused (10 s) | CPU stopped (10 s) |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|\n");
    std::printf("| %.2f | %.2f | %.2f | %.1f | %.1f | %.1f | %.0f ms | %.0f ms | %.0f ms |\n", median(play) / 1e3,
                median(mpvCpu) / 1e3, median(play) / median(mpvCpu), median(idle), median(peak), median(growth),
                median(idleCpu), median(paused), median(stopped));
    return 0;
}
