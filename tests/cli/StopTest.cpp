// The real kelvane-convert, without a display, stopped by SIGTERM while two encoders write:
// nothing unfinished stays behind, no encoder lives on, and it says what did not finish. And
// killed outright, or its encoder killed: no encoder lives on and the output folder is as before.
#include "CliFixtures.h"
#include "common/EventuallyTrue.h"
#include "common/ProcessWatch.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>

namespace {

constexpr int GuardMs = 60000; // only keeps a broken run from hanging the suite

QString builtConvertProgram() { return QStringLiteral(KELVANE_CONVERT_EXE); }

// The processes whose command line mentions `text`.
QStringList processesMentioning(const QString &text)
{
    QStringList found;
    for (const QString &pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile cmdline("/proc/" + pid + "/cmdline");
        if (pid.toInt() > 0 && cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(text.toUtf8()))
            found << pid;
    }
    return found;
}

// kelvane-convert copied into the setup's program folder (beside the links to the encoders).
QString copyConvertProgram(const CliSetup &s)
{
    const QString program = s.programFolder + "kelvane-convert";
    QFile::copy(builtConvertProgram(), program);
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return program;
}

// The environment of a terminal without a display, `extra` added.
QProcessEnvironment withoutDisplay(const QStringList &extra = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "KELVANE_NO_TMPFILE"})
        environment.remove(QString::fromLatin1(name));
    for (const QString &entry : extra)
        environment.insert(entry.section('=', 0, 0), entry.section('=', 1));
    return environment;
}

} // namespace

TEST(StopTest, SigtermEndsEveryEncoderAndLeavesNoUnfinishedFile)
{
    if (builtEncoder().isEmpty() || !QFileInfo(builtConvertProgram()).isExecutable())
        GTEST_SKIP() << "the encoder or kelvane-convert is not built in this tree yet";
    const QString fixture = CliMedia::path("ten_minutes.avi");
    ASSERT_FALSE(fixture.isEmpty()) << "ffmpeg could not make the fixture";
    CliSetup s;
    const QString program = copyConvertProgram(s);
    ASSERT_TRUE(QFileInfo(program).isExecutable());
    QStringList sources;
    for (const char *name : {"one.avi", "two.avi", "three.avi"}) {
        sources << s.inputFolder + QString::fromLatin1(name);
        ASSERT_TRUE(QFile::link(fixture, sources.last()));
    }
    QDir().mkpath(s.outputFolder);

    QProcess convert;
    convert.setProcessEnvironment(withoutDisplay());
    convert.start(program, QStringList{"--type", "mp3", "--jobs", "2", "--output", s.outputFolder} + sources);
    ASSERT_TRUE(convert.waitForStarted());
    ASSERT_EVENTUALLY(ProcessesWritingInto(s.outputFolder).size() == 2 || convert.state() != QProcess::Running);
    ASSERT_EQ(ProcessesWritingInto(s.outputFolder).size(), 2)
        << "two encoders should be writing; stderr: " << convert.readAllStandardError().toStdString();

    ::kill(static_cast<pid_t>(convert.processId()), SIGTERM);
    ASSERT_TRUE(convert.waitForFinished(GuardMs));
    EXPECT_EQ(convert.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(convert.exitCode(), 128 + SIGTERM);
    EXPECT_EQ(s.outputFiles(), QStringList{});
    EXPECT_EQ(processesMentioning(s.outputFolder), QStringList{});

    const QString err = QString::fromUtf8(convert.readAllStandardError());
    EXPECT_EQ(err.count("stopped; nothing was written."), 2) << err.toStdString();
    EXPECT_TRUE(err.contains(sources.at(2) + ": not started.")) << err.toStdString();
    EXPECT_TRUE(err.contains("stopped by SIGTERM: 0 converted, 2 stopped, 1 not started")) << err.toStdString();
}

// Killed in the middle of a conversion to AAC (the slowest type), with the encoder writing an
// unnamed file or a named temporary: within the two seconds a user may wait, no encoder of the
// run is alive and the output folder holds exactly what it held before.
TEST(StopTest, AKilledRunOrEncoderLeavesNoEncoderAndNoFile)
{
    if (builtEncoder().isEmpty() || !QFileInfo(builtConvertProgram()).isExecutable())
        GTEST_SKIP() << "the encoder or kelvane-convert is not built in this tree yet";
    const QString fixture = CliMedia::path("ten_minutes.avi");
    ASSERT_FALSE(fixture.isEmpty()) << "ffmpeg could not make the fixture";
    constexpr int UserWaitMs = 2000;
    enum class Killed { Encoder, ConvertProgram };
    struct Case {
        const char *what;
        Killed killed;
        QStringList environment;
    };
    const Case cases[] = {
        {"the encoder, unnamed file", Killed::Encoder, {}},
        {"the encoder, named temporary", Killed::Encoder, {"KELVANE_NO_TMPFILE=1"}},
        {"kelvane-convert, unnamed file", Killed::ConvertProgram, {}},
        {"kelvane-convert, named temporary", Killed::ConvertProgram, {"KELVANE_NO_TMPFILE=1"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CliSetup s;
        const QString program = copyConvertProgram(s);
        const QString source = s.inputFolder + "talk.avi";
        ASSERT_TRUE(QFile::link(fixture, source));
        QDir().mkpath(s.outputFolder);
        for (const char *name : {"talk.aac.part", ".talk.aac.abcdef.part", "notes.txt"}) {
            QFile other(s.outputFolder + name);
            ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        }
        const QStringList before = FolderListing(s.outputFolder);

        QProcess convert;
        convert.setProcessEnvironment(withoutDisplay(c.environment));
        convert.start(program, {"--type", "aac", "--output", s.outputFolder, source});
        ASSERT_TRUE(convert.waitForStarted());
        ASSERT_EVENTUALLY(!ProcessesWritingInto(s.outputFolder).isEmpty() || convert.state() != QProcess::Running);
        const QList<pid_t> encoders = ProcessesWritingInto(s.outputFolder);
        ASSERT_EQ(encoders.size(), 1) << convert.readAllStandardError().toStdString();
        ::kill(c.killed == Killed::Encoder ? encoders.first() : static_cast<pid_t>(convert.processId()), SIGKILL);

        EXPECT_TRUE(Eventually([&] { return !ProcessRuns(encoders.first()); }, "no encoder of the run is alive",
                               UserWaitMs));
        EXPECT_TRUE(Eventually([&] { return FolderListing(s.outputFolder) == before; },
                               "the output folder is as before", UserWaitMs))
            << FolderListing(s.outputFolder).join(' ').toStdString();
        ASSERT_TRUE(convert.state() == QProcess::NotRunning || convert.waitForFinished(GuardMs));
        if (c.killed == Killed::Encoder) {
            EXPECT_EQ(convert.exitCode(), 1);
            EXPECT_TRUE(convert.readAllStandardError().contains("talk.avi")) << "the failure is named";
        }
    }
}
