// The real kelvane-convert, without a display, stopped by SIGTERM while two encoders write:
// nothing unfinished stays behind, no encoder lives on, and it says what did not finish.
#include "CliFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QSignalSpy>
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

int unfinishedFiles(const QString &folder)
{
    return static_cast<int>(QDir(folder).entryList({"*.part"}, QDir::Files | QDir::Hidden).size());
}

} // namespace

TEST(StopTest, SigtermEndsEveryEncoderAndLeavesNoUnfinishedFile)
{
    if (builtEncoder().isEmpty() || !QFileInfo(builtConvertProgram()).isExecutable())
        GTEST_SKIP() << "the encoder or kelvane-convert is not built in this tree yet";
    const QString fixture = CliMedia::path("ten_minutes.avi");
    ASSERT_FALSE(fixture.isEmpty()) << "ffmpeg could not make the fixture";
    CliSetup s;
    const QString program = s.programFolder + "kelvane-convert";
    ASSERT_TRUE(QFile::copy(builtConvertProgram(), program));
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QStringList sources;
    for (const char *name : {"one.avi", "two.avi", "three.avi"}) {
        sources << s.inputFolder + QString::fromLatin1(name);
        ASSERT_TRUE(QFile::link(fixture, sources.last()));
    }
    QDir().mkpath(s.outputFolder);
    QFileSystemWatcher watcher{{s.outputFolder}};
    QSignalSpy changed(&watcher, &QFileSystemWatcher::directoryChanged);

    QProcess convert;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    convert.setProcessEnvironment(environment);
    convert.start(program, QStringList{"--type", "mp3", "--jobs", "2", "--output", s.outputFolder} + sources);
    ASSERT_TRUE(convert.waitForStarted());
    while (unfinishedFiles(s.outputFolder) < 2 && convert.state() == QProcess::Running && changed.wait(GuardMs)) {
    }
    ASSERT_EQ(unfinishedFiles(s.outputFolder), 2) << "two encoders should be writing; stderr: "
                                                   << convert.readAllStandardError().toStdString();

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
