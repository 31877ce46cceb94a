// Measures how long probing takes per file, the way an add operation probes: one probe graph,
// emptied between files. Makes 200 small videos in mixed containers with the ffmpeg command line
// (or probes the files of the folder given as the first argument) and prints milliseconds per file.
#include "media/DurationProbe.h"
#include "media/ProbeGraph.h"

#include "BenchKit.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace {

constexpr int FileCount = 200;

struct Container {
    const char *extension;
    QStringList codecs;
};

const Container containers[] = {
    {"avi", {"-c:v", "mpeg4", "-c:a", "mp2"}},
    {"mp4", {"-c:v", "mpeg4", "-c:a", "aac"}},
    {"flv", {"-c:v", "flv", "-c:a", "aac"}},
    {"mpg", {"-c:v", "mpeg1video", "-c:a", "mp2"}},
    {"mov", {"-c:v", "mpeg4", "-c:a", "aac"}},
    {"wmv", {"-c:v", "wmv2", "-c:a", "wmav2"}},
    {"3gp", {"-c:v", "mpeg4", "-c:a", "aac"}},
    {"m4v", {"-c:v", "mpeg4", "-c:a", "aac", "-f", "mp4"}},
};

bool makeVideo(const QString &path, const Container &container, int seconds)
{
    QStringList args{"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25",
                     "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=22050",
                     "-t", QString::number(seconds)};
    args << container.codecs << path;
    return runFfmpeg(args, 120000);
}

int lengthOf(int index) { return 2 + index % 9; }

QStringList makeVideos(const QString &folder)
{
    QStringList paths;
    constexpr int kinds = int(std::size(containers));
    for (int i = 0; i < FileCount; ++i) {
        const Container &container = containers[i % kinds];
        const QString path = QStringLiteral("%1/clip%2.%3").arg(folder).arg(i, 3, 10, QLatin1Char('0')).arg(container.extension);
        if (!makeVideo(path, container, lengthOf(i))) {
            std::fprintf(stderr, "ffmpeg could not make %s\n", qPrintable(path));
            return {};
        }
        paths << path;
    }
    return paths;
}

struct Tally {
    qint64 nanoseconds = 0;
    int files = 0;
    int refused = 0;
    // Made files whose probed length differs from the length they were made with. MPEG program
    // streams carry no length: the estimate from the time stamps near the end (as ffprobe gives
    // it) can fall a few hundredths short; the probe reads the last frames to find the real end.
    int mismeasured = 0;
};

void report(const QMap<QString, Tally> &byType, const Tally &all)
{
    QTextStream out(stdout);
    out << "container  files  refused  mismeasured  ms/file\n";
    for (auto it = byType.begin(); it != byType.end(); ++it)
        out << qSetFieldWidth(9) << Qt::left << it.key() << qSetFieldWidth(0) << "  "
            << qSetFieldWidth(5) << Qt::right << it->files << qSetFieldWidth(9) << it->refused << qSetFieldWidth(13) << it->mismeasured
            << qSetFieldWidth(9) << QString::number(it->nanoseconds / 1e6 / it->files, 'f', 2)
            << qSetFieldWidth(0) << "\n";
    out << "all " << all.files << " files: " << QString::number(all.nanoseconds / 1e6 / all.files, 'f', 2)
        << " ms per file, " << all.refused << " refused, " << all.mismeasured << " mismeasured\n";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch;
    QStringList paths;
    const bool made = argc <= 1;
    if (!made) {
        const QDir folder(QString::fromLocal8Bit(argv[1]));
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
            paths << folder.filePath(name);
    } else {
        std::printf("making %d videos with ffmpeg...\n", FileCount);
        std::fflush(stdout);
        paths = makeVideos(scratch.path());
    }
    if (paths.isEmpty())
        return 1;

    ProbeGraph graph;
    QMap<QString, Tally> byType;
    Tally all;
    QElapsedTimer clock;
    for (int i = 0; i < paths.size(); ++i) {
        const QString &path = paths[i];
        clock.start();
        const ProbeResult result = ProbeDuration(graph, path);
        const qint64 spent = clock.nsecsElapsed();
        if (made && result.seconds != lengthOf(i))
            std::printf("%s: made %d s, probed %d s\n", qPrintable(QFileInfo(path).fileName()), lengthOf(i), result.seconds);
        for (Tally *t : {&byType[QFileInfo(path).suffix()], &all}) {
            t->nanoseconds += spent;
            t->files += 1;
            t->refused += result.refused() ? 1 : 0;
            t->mismeasured += made && result.seconds != lengthOf(i) ? 1 : 0;
        }
    }
    report(byType, all);
    return 0;
}
