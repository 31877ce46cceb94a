// The temporaries our encoders leave where unnamed files are refused: recognised by their name
// alone, removed by the runner when their encoder fails, and swept when a day old; every other
// name is left alone.
#include "engine/OutputTemporaries.h"
#include "common/EventuallyTrue.h"
#include "common/Ffmpeg.h"
#include "common/ProcessWatch.h"
#include "common/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

void makeFile(const QString &path, std::chrono::system_clock::time_point changed)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.close();
    const timespec times[2] = {{std::chrono::system_clock::to_time_t(changed), 0},
                               {std::chrono::system_clock::to_time_t(changed), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

// The named temporary forced for the encoders this process starts, while it lives.
struct NamedTemporaries {
    NamedTemporaries() { qputenv("KELVANE_NO_TMPFILE", "1"); }
    ~NamedTemporaries() { qunsetenv("KELVANE_NO_TMPFILE"); }
};

} // namespace

TEST(OutputTemporaries, RecognisesOnlyTheEncodersPattern)
{
    struct Case {
        const char *name;
        pid_t pid;
        const char *output;
        bool ours;
    };
    const Case cases[] = {
        {".talk.m4a.kelvane-4711-a8Zk3q.part", 0, "", true},
        {".talk.m4a.kelvane-4711-a8Zk3q.part", 4711, "talk.m4a", true},
        {".talk.m4a.kelvane-4711-a8Zk3q.part", 4712, "", false},        // another encoder's
        {".talk.m4a.kelvane-4711-a8Zk3q.part", 4711, "talk.mp3", false}, // for another output
        {".a very long na.kelvane-9-abcdef.part", 9, "a very long name.aac", true}, // shortened name
        {".x.kelvane-1-x.kelvane-2-abcdef.part", 2, "x.kelvane-1-x", true},
        {".talk.m4a.iTKJwH.part", 0, "", false},  // the old pattern, also other programs'
        {"talk.m4a.kelvane-4711-a8Zk3q.part", 0, "", false},
        {"..kelvane-4711-a8Zk3q.part", 0, "", false},
        {".talk.m4a.kelvane--a8Zk3q.part", 0, "", false},
        {".talk.m4a.kelvane-47x1-a8Zk3q.part", 0, "", false},
        {".talk.m4a.kelvane-4711-a8Zk3.part", 0, "", false},
        {".talk.m4a.kelvane-4711-a8Zk3?.part", 0, "", false},
        {".talk.m4a.kelvane-4711-a8Zk3q.part~", 0, "", false},
        {".talk.m4a.kelvane-4711-a8Zk3q.partial", 0, "", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " pid " + std::to_string(c.pid) + " output " + c.output);
        EXPECT_EQ(IsOutputTemporaryName(c.name, c.pid, c.output), c.ours);
    }
}

TEST(OutputTemporaries, ADayOldTemporaryOfOursIsRemovedAndLoggedNothingElseIsTouched)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    const auto now = std::chrono::system_clock::now();
    const auto old = now - 25h;
    makeFile(folder + "/.talk.m4a.kelvane-4711-a8Zk3q.part", old);          // ours, old: removed
    makeFile(folder + "/.song.mp3.kelvane-12-Zz0000.part", now - 24h - 1s);   // ours, a day old: removed
    makeFile(folder + "/.young.ogg.kelvane-4712-b8Zk3q.part", now - 23h);    // ours, still written: kept
    makeFile(folder + "/.talk.m4a.iTKJwH.part", old);                        // not ours
    makeFile(folder + "/talk.m4a", old);
    makeFile(folder + "/notes.kelvane-1-abcdef.part", old);
    ASSERT_TRUE(QDir(folder).mkdir(".dir.aac.kelvane-5-abcdef.part"));       // a folder of that name
    ASSERT_TRUE(QFile::link(folder + "/talk.m4a", folder + "/.link.aac.kelvane-6-abcdef.part"));
    QStringList logged;
    const QStringList removed =
        RemoveStaleOutputTemporaries(folder, now, [&](const QString &line) { logged << line; });

    const QStringList expectedRemoved{folder + "/.song.mp3.kelvane-12-Zz0000.part",
                                      folder + "/.talk.m4a.kelvane-4711-a8Zk3q.part"};
    QStringList sorted = removed;
    sorted.sort();
    EXPECT_EQ(sorted, expectedRemoved);
    EXPECT_EQ(FolderListing(folder),
              (QStringList{".dir.aac.kelvane-5-abcdef.part", ".link.aac.kelvane-6-abcdef.part", ".talk.m4a.iTKJwH.part",
                           ".young.ogg.kelvane-4712-b8Zk3q.part", "notes.kelvane-1-abcdef.part", "talk.m4a"}));
    ASSERT_EQ(logged.size(), 2);
    for (const QString &path : removed)
        EXPECT_TRUE(logged.filter(path).size() == 1) << path.toStdString();
    EXPECT_EQ(RemoveStaleOutputTemporaries(folder + "/missing", now, {}), QStringList{});
}

// An encoder that writes through a named temporary is killed: the runner that started it removes
// its temporary, and only that one.
TEST(OutputTemporaries, TheRunnerRemovesTheTemporaryOfItsKilledEncoder)
{
    QTemporaryDir dir;
    const QString input = dir.filePath("long.wav");
    ASSERT_TRUE(runFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=8000:duration=1200", input}));
    const QString folder = dir.filePath("out");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString output = folder + "/long.aac";
    makeFile(folder + "/.long.aac.kelvane-1-abcdef.part", std::chrono::system_clock::now()); // another encoder's
    const QStringList before = FolderListing(folder);

    NamedTemporaries named;
    TAdvanceSystem runner(builtProgramFolder() + "evc",
                          {"-y", "-i", input, "-acodec", "aac", "-vn", "-ab", "64", "-ac", "1", "-ar", "22050", output},
                          {});
    runner.setOnEnded(RemoveTemporaryWhenFailed(output));
    QSignalSpy finished(&runner, &TAdvanceSystem::captureFinished);
    runner.start();
    ASSERT_EVENTUALLY(FolderListing(folder).size() == before.size() + 1);
    ASSERT_NE(runner.runningPid(), 0);
    ::kill(runner.runningPid(), SIGKILL);
    ASSERT_TRUE(!finished.isEmpty() || finished.wait(EventuallyGuardMs));
    EXPECT_EQ(finished.first().at(1).value<TExitStatus>().signal, SIGKILL);
    EXPECT_EQ(FolderListing(folder), before);
}
