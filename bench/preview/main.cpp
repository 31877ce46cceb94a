// Measures what the preview costs, for a 1280x720 (4 Mbit/s) and a 3840x2160 (35 Mbit/s) H.264 +
// AAC video at 30 frames a second (made with the ffmpeg command line). For each video, in each round:
//   preview - a fresh process (this program with --session) shows the main window offscreen,
//             settles and idles, then plays the video in the preview (sound to the null output),
//             pauses it and stops it. It reports its CPU time idle, playing, paused and stopped
//             (getrusage), its resident memory idle and at most while playing (VmRSS, sampled
//             every 100 ms), the pictures it drew against those whose time came while it played,
//             how far the playing position moved against the time that passed, the time from
//             Play to the first picture, and the event loop's longest stall around Play, Pause,
//             a marker dragged across the paused video (a seek every 25 ms) and Stop (a 5 ms
//             timer that can't run on time).
//   mpv     - the mpv command line decodes the same seconds with --vo=null --ao=null (no user
//             configuration, no scripts); its CPU time comes from wait4. Left out when mpv is
//             not installed.
// Prints every round and the median of the rounds per video.
// Usage: bench_preview [--quick] [--videos folder] [--option name=value]... [rounds] (default 3).
//   --quick   small, short videos and one round: checks that the measurement works (CTest runs
//             it); its figures mean nothing.
//   --videos  makes the videos in that folder once and uses them again in later runs (to compare
//             options side by side without making them again).
//   --option  a further player option for the preview, to try one out.
// Or: bench_preview --shot <video> <seconds> <picture.png> [--option name=value]...
//   saves the video window showing the video paused at that time, to compare how options look
//   (QT_SCALE_FACTOR=2 for a doubled screen).
#include "app/widgets/MainForm.h"
#include "media/FilterGraph.h"
#include "media/PreviewPlayer.h"
#include "media/ProbeGraph.h"
#include "media/widgets/PreviewControls.h"
#include "platform/PlatformServices.h"

#include "BenchKit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <map>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

constexpr int FramesPerSecond = 30;
// The marker drag: a seek every 25 ms, 40 of them over the seconds played.
constexpr int DragStepMs = 25;
constexpr int DragSteps = 40;

// How long each step of a session lasts, in ms.
struct Timings {
    int settle;
    int idle;
    int play;
    int quiet; // paused, then stopped
    int videoSeconds;
};
constexpr Timings FullTimings{2000, 10000, 20000, 10000, 25};
constexpr Timings QuickTimings{500, 1000, 5000, 1000, 8}; // room for a slow first picture on a busy machine

struct VideoCase {
    const char *name;
    QSize size;
    QSize quickSize;
    const char *preset; // x264's: the 4K video is made faster, still with deblocking and CABAC
    int bitrateKbps;    // what such a video is usually made with (a noisy picture fills any rate)
};
const VideoCase Cases[] = {
    {"1280x720", {1280, 720}, {320, 180}, "veryfast", 4000},
    {"3840x2160", {3840, 2160}, {640, 360}, "superfast", 35000},
};

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

bool makeVideo(const QString &path, QSize size, const char *preset, int bitrateKbps, int seconds)
{
    const QString source = QStringLiteral("testsrc2=size=%1x%2:rate=%3").arg(size.width()).arg(size.height()).arg(FramesPerSecond);
    const QString rate = QString::number(bitrateKbps) + u'k';
    const QString highest = QString::number(bitrateKbps * 5 / 4) + u'k';
    const QString buffer = QString::number(bitrateKbps * 2) + u'k';
    return runFfmpeg({"-f", "lavfi", "-i", source, "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000", "-t",
                      QString::number(seconds), "-vf", "noise=alls=8:allf=t", "-c:v", "libx264", "-preset", preset,
                      "-b:v", rate, "-maxrate", highest, "-bufsize", buffer, "-pix_fmt", "yuv420p", "-c:a", "aac",
                      "-b:a", "128k", path},
                     1800000);
}

// A timer that should tick every 5 ms while watched: the longest it came late is the longest
// time the event loop could not run.
class StallProbe {
public:
    StallProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(TickMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }
    // Call right before the action to watch; the action's own time counts.
    void watch()
    {
        m_longestMs = 0;
        m_clock.start();
        m_lastNs = 0;
        m_timer.start();
    }
    double stop()
    {
        tick();
        m_timer.stop();
        return m_longestMs;
    }

private:
    static constexpr int TickMs = 5;
    void tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        m_longestMs = std::max(m_longestMs, (now - m_lastNs) / 1e6 - TickMs);
        m_lastNs = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastNs = 0;
    double m_longestMs = 0;
};

// What one session measured, printed as name=value pairs on one line.
using Figures = std::map<QByteArray, double>;

QByteArray lineOf(const Figures &figures)
{
    QByteArray line;
    for (const auto &[name, value] : figures)
        line += name + '=' + QByteArray::number(value, 'f', 1) + ' ';
    return line.trimmed();
}

Figures figuresOf(const QByteArray &line)
{
    Figures figures;
    for (const QByteArray &pair : line.trimmed().split(' ')) {
        const qsizetype equals = pair.indexOf('=');
        if (equals > 0)
            figures[pair.left(equals)] = pair.mid(equals + 1).toDouble();
    }
    return figures;
}

// The video as the source list holds it: measured when it was added.
SourceItem listedItem(const QString &video)
{
    ProbeGraph probe;
    probe.OpenGraph();
    const bool complete = probe.RenderFile(video) == RenderOutcome::Complete;
    const qint64 reference = complete ? probe.GetDuration().value_or(0) : 0;
    return WholeFileItem(video, 0, MediaTime::referenceToMilliseconds(reference));
}

// One preview in this process, driven by timers; prints the figures as one line.
int runSession(QApplication &app, const QString &video, const Timings &t, const MpvSettings &settings)
{
    std::setlocale(LC_NUMERIC, "C");
    NoShell shell;
    TFrmMainForm form(shell, QStringLiteral("/nowhere/"));
    FilterGraph graph(settings, [](const QString &line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    PreviewPlayer player(graph, [](const QString &line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    ShowPreview(player, graph, form.DSVideoWindowEx1(), form.panLogo(), form.pnlCurTime());
    form.show();
    const SourceItem item = listedItem(video);

    Figures f;
    double mark = 0;
    double peakMb = 0;
    StallProbe stalls;
    QElapsedTimer sincePlay;
    QTimer sampler;
    sampler.setInterval(100);
    QObject::connect(&sampler, &QTimer::timeout, [&] { peakMb = std::max(peakMb, residentMb()); });
    // Tied to the sampler, which goes before the figures: the graph clears its picture (and
    // says so) when it is destroyed, after them.
    QObject::connect(&graph, &FilterGraph::frameDrawn, &sampler, [&] {
        if (!f.count("first_ms") && graph.picturesDrawn() > 0)
            f["first_ms"] = sincePlay.nsecsElapsed() / 1e6;
    });
    // Does what the user did, with the CPU counted from then on and the longest stall of the
    // second that follows kept under `stall`.
    const auto userAction = [&](const char *stall, const std::function<void()> &action) {
        stalls.watch();
        action();
        mark = ownCpuMs();
        QTimer::singleShot(1000, [&, stall] { f[stall] = stalls.stop(); });
    };
    // A marker dragged across the video while it is paused: the preview follows every step.
    QTimer drag;
    drag.setInterval(DragStepMs);
    int dragStep = 0;
    QObject::connect(&drag, &QTimer::timeout, [&] {
        player.seekMilliseconds(qint64(dragStep) * t.play / DragSteps);
        if (++dragStep < DragSteps)
            return;
        drag.stop();
        QTimer::singleShot(1000, [&] {
            f["stall_drag"] = stalls.stop();
            userAction("stall_stop", [&] { player.btnStopClick(); });
            QTimer::singleShot(t.quiet, [&] {
                f["stopped_cpu"] = ownCpuMs() - mark;
                std::printf("%s\n", lineOf(f).constData());
                app.exit(0);
            });
        });
    });
    const auto fail = [&](const char *why) {
        std::fprintf(stderr, "%s\n", why);
        app.exit(1);
    };

    QTimer::singleShot(t.settle, [&] { mark = ownCpuMs(); });
    QTimer::singleShot(t.settle + t.idle, [&] {
        f["idle_cpu"] = ownCpuMs() - mark;
        f["idle_mb"] = residentMb();
        sampler.start();
        mark = ownCpuMs();
        SourceItem item = WholeFileItem(video, QFileInfo(video).size(), 0);
        item.id = SourceItemId{1};
        stalls.watch();
        sincePlay.start();
        player.btnPlayClick({item});
        QTimer::singleShot(1000, [&] { f["stall_play"] = stalls.stop(); });
        QTimer::singleShot(t.play, [&] {
            f["play_cpu"] = ownCpuMs() - mark;
            f["play_wall"] = sincePlay.nsecsElapsed() / 1e6;
            sampler.stop();
            f["peak_mb"] = peakMb;
            f["pictures"] = double(graph.picturesDrawn());
            const std::optional<qint64> position = graph.GetCurrentPosition();
            if (!player.isPlaying() || !position || !f.count("first_ms"))
                return fail("the preview did not play");
            f["position_ms"] = MediaTime::referenceToMilliseconds(*position);
            // Every frame whose time the position has reached should have been drawn.
            f["due"] = std::floor(f["position_ms"] * FramesPerSecond / 1000) + 1;
            userAction("stall_pause", [&] { player.btnPauseClick(); });
            QTimer::singleShot(t.quiet, [&] {
                f["paused_cpu"] = ownCpuMs() - mark;
                stalls.watch();
                drag.start();
            });
        });
    });
    return QApplication::exec();
}

// The video window with the video paused at `milliseconds`, saved once the picture has settled.
int saveShot(QApplication &app, const QString &video, qint64 milliseconds, const QString &picture,
             const MpvSettings &settings)
{
    std::setlocale(LC_NUMERIC, "C");
    NoShell shell;
    TFrmMainForm form(shell, QStringLiteral("/nowhere/"));
    FilterGraph graph(settings, [](const QString &line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    PreviewPlayer player(graph, [](const QString &line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    // A row cut from the shot's second on: playing it starts there.
    SourceItem shot = WholeFileItem(video, 0, milliseconds + 60'000);
    shot.startMs = milliseconds / 1000 * 1000;
    ShowPreview(player, graph, form.DSVideoWindowEx1(), form.panLogo(), form.pnlCurTime());
    form.show();
    QObject::connect(&graph, &FilterGraph::positionSettled, [&] {
        // Paused: the picture drawn for the new position stays; give it time to arrive.
        QTimer::singleShot(1000, [&] {
            app.exit(form.DSVideoWindowEx1()->grab().save(picture) ? 0 : 1);
        });
    });
    QObject::connect(&graph, &FilterGraph::playbackFailed, [&] { app.exit(1); });
    player.btnPlayClick({shot});
    player.btnPauseClick();
    return QApplication::exec();
}

// Runs a program with its output thrown away (or read into `output`); its CPU time in ms, or -1
// when it failed.
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

double mpvCpuMs(const QString &mpv, const QString &video, int playMs)
{
    return childCpuMs(mpv, {"--no-config", "--vo=null", "--ao=null", "--length=" + QString::number(playMs / 1000.0),
                            "--no-osc", "--load-scripts=no", "--ytdl=no", "--load-stats-overlay=no",
                            "--load-osd-console=no", "--really-quiet", video});
}

// The rounds of one video; every round printed, the medians returned.
struct CaseResult {
    Figures median;
    double mpvMs = -1;
};

void printRound(const char *name, int round, const Figures &f, double mpvMs)
{
    std::printf("%s round %d: preview %.0f ms CPU, %.0f of %.0f pictures drawn, position %.1f s in %.1f s since "
                "the first picture, first picture after %.0f ms; mpv %s; longest stall %.0f / %.0f / %.0f / %.0f ms "
                "at Play / Pause / drag / Stop; idle %.1f MB, peak %.1f MB; CPU idle %.0f, paused %.0f, stopped %.0f ms\n",
                name, round + 1, f.at("play_cpu"), f.at("pictures"), f.at("due"), f.at("position_ms") / 1e3,
                (f.at("play_wall") - f.at("first_ms")) / 1e3, f.at("first_ms"),
                mpvMs < 0 ? "not measured" : qPrintable(QStringLiteral("%1 ms CPU, ratio %2").arg(mpvMs, 0, 'f', 0).arg(f.at("play_cpu") / mpvMs, 0, 'f', 2)),
                f.at("stall_play"), f.at("stall_pause"), f.at("stall_drag"), f.at("stall_stop"), f.at("idle_mb"),
                f.at("peak_mb"), f.at("idle_cpu"), f.at("paused_cpu"), f.at("stopped_cpu"));
    std::fflush(stdout);
}

const char *const FigureNames[] = {"play_cpu", "play_wall", "pictures", "due", "position_ms", "first_ms", "stall_play",
                                   "stall_pause", "stall_drag", "stall_stop", "idle_mb", "peak_mb", "idle_cpu", "paused_cpu",
                                   "stopped_cpu"};

bool measureCase(const VideoCase &c, const QString &video, const QString &self, const QString &mpv, int rounds,
                 const Timings &t, const QStringList &sessionArguments, CaseResult &result)
{
    std::map<QByteArray, std::vector<double>> all;
    std::vector<double> mpvAll;
    for (int round = 0; round < rounds; ++round) {
        QByteArray line;
        if (childCpuMs(self, sessionArguments, &line) < 0) {
            std::fprintf(stderr, "the preview session failed\n");
            return false;
        }
        const Figures f = figuresOf(line);
        for (const char *name : FigureNames) {
            if (!f.count(name)) {
                std::fprintf(stderr, "the preview session did not tell %s\n", name);
                return false;
            }
            all[name].push_back(f.at(name));
        }
        const double cli = mpv.isEmpty() ? -1 : mpvCpuMs(mpv, video, t.play);
        if (!mpv.isEmpty() && cli < 0) {
            std::fprintf(stderr, "mpv failed\n");
            return false;
        }
        mpvAll.push_back(cli);
        printRound(c.name, round, f, cli);
    }
    for (const auto &[name, values] : all)
        result.median[name] = median(values);
    result.mpvMs = median(mpvAll);
    return true;
}

void printTable(const std::vector<std::pair<const VideoCase *, CaseResult>> &results, const Timings &t)
{
    std::printf("\n| video | preview CPU s (%d s) | mpv CPU s | CPU ratio | pictures drawn | first picture | "
                "longest stall Play / Pause / drag / Stop | idle MB | previewing MB | CPU paused / stopped (%d s) |\n",
                t.play / 1000, t.quiet / 1000);
    std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
    for (const auto &[c, r] : results) {
        const Figures &m = r.median;
        const QString mpvText = r.mpvMs < 0 ? QStringLiteral("-") : QString::number(r.mpvMs / 1e3, 'f', 2);
        const QString ratio = r.mpvMs < 0 ? QStringLiteral("-") : QString::number(m.at("play_cpu") / r.mpvMs, 'f', 2);
        std::printf("| %s | %.2f | %s | %s | %.0f of %.0f (%.1f %%) | %.0f ms | %.0f / %.0f / %.0f / %.0f ms | %.1f | %.1f | "
                    "%.0f / %.0f ms |\n",
                    c->name, m.at("play_cpu") / 1e3, qPrintable(mpvText), qPrintable(ratio), m.at("pictures"),
                    m.at("due"), 100 * m.at("pictures") / m.at("due"), m.at("first_ms"), m.at("stall_play"),
                    m.at("stall_pause"), m.at("stall_drag"), m.at("stall_stop"), m.at("idle_mb"), m.at("peak_mb"), m.at("paused_cpu"),
                    m.at("stopped_cpu"));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bool quick = arguments.removeAll(QStringLiteral("--quick")) > 0;
    const Timings &t = quick ? QuickTimings : FullTimings;
    MpvSettings settings{"null", {}};
    QStringList optionArguments;
    for (qsizetype i = arguments.indexOf(QStringLiteral("--option")); i >= 0 && i + 1 < arguments.size();
         i = arguments.indexOf(QStringLiteral("--option"))) {
        const QString option = arguments.takeAt(i + 1);
        arguments.removeAt(i);
        optionArguments << QStringLiteral("--option") << option;
        const qsizetype equals = option.indexOf(u'=');
        settings.options.append({option.left(equals).toUtf8(), equals < 0 ? "yes" : option.mid(equals + 1).toUtf8()});
    }

    if (arguments.value(0) == QStringLiteral("--shot") && arguments.size() == 4) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return saveShot(app, arguments.at(1), qint64(arguments.at(2).toDouble() * 1000), arguments.at(3), settings);
    }
    if (arguments.value(0) == QStringLiteral("--session") && arguments.size() == 2) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return runSession(app, arguments.at(1), t, settings);
    }
    QTemporaryDir temporary;
    const qsizetype videosAt = arguments.indexOf(QStringLiteral("--videos"));
    const bool keepVideos = videosAt >= 0 && videosAt + 1 < arguments.size();
    const QDir folder(keepVideos ? arguments.at(videosAt + 1) : temporary.path());
    if (keepVideos)
        arguments.remove(videosAt, 2);
    const int rounds = quick ? 1 : std::max(1, arguments.value(0, QStringLiteral("3")).toInt());
    const QString mpv = QStandardPaths::findExecutable(QStringLiteral("mpv"));
    if (mpv.isEmpty())
        std::printf("the mpv command line is not installed: the preview is measured alone\n");
    const QString self = QFile::decodeName(argv[0]);
    std::vector<std::pair<const VideoCase *, CaseResult>> results;
    for (const VideoCase &c : Cases) {
        const QString video = folder.filePath(QString::fromLatin1(c.name) + (quick ? "-quick.mp4" : ".mp4"));
        const bool made = keepVideos && QFile::exists(video);
        if (!made && !makeVideo(video, quick ? c.quickSize : c.size, c.preset,
                                quick ? c.bitrateKbps / 16 : c.bitrateKbps, t.videoSeconds)) {
            std::fprintf(stderr, "ffmpeg could not make the %s video\n", c.name);
            return 1;
        }
        QStringList sessionArguments = QStringList{"--session", video} + optionArguments;
        if (quick)
            sessionArguments << QStringLiteral("--quick");
        CaseResult result;
        if (!measureCase(c, video, self, mpv, rounds, t, sessionArguments, result))
            return 1;
        results.emplace_back(&c, result);
    }
    printTable(results, t);
    return 0;
}
