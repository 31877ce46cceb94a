// The main window around a conversion run: closing it mid-run asks first, and the status line
// sums up the run afterwards. The encoder is a small script in a copy of the program folder.
#include "app/widgets/AppWindows.h"
#include "app/widgets/MainForm.h"
#include "common/Fakes.h"
#include "common/TestPaths.h"
#include "engine/widgets/ConversionController.h"

#include <QFile>
#include <QLabel>
#include <QTreeView>
#include "skin/widgets/PictureButton.h"
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int GuardMs = 60000;   // only keeps a broken run from hanging the suite

// Writes its output unless the source's name holds "bad"; "slow" sources take half a minute.
const char *const Encoder = R"(#!/bin/sh
for last; do :; done
echo 'size=       1kB time=00:00:00.50 bitrate= 16.0kbits/s'
case "$*" in *slow*) exec sleep 30;; *bad*) echo 'evc: cannot read the source' >&2; exit 1;; esac
: > "$last"
)";

class AppWindowsRunTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/");
    QTemporaryDir output;
    FakeMessageBoxes boxes;
    FakeShellLauncher shell;
    FakePowerControl power;
    FakeFolderBrowser folders;
    FixedClock clock;
    std::unique_ptr<AppWindows> windows;

    void SetUp() override
    {
        for (const QString name : {"kelvane", "libForm.so", "libRes.so"})
            ASSERT_TRUE(QFile::copy(builtProgramFolder() + name, folder + name)) << name.toStdString();
        QFile encoder(folder + QStringLiteral("evc"));
        ASSERT_TRUE(encoder.open(QIODevice::WriteOnly));
        encoder.write(Encoder);
        encoder.close();
        encoder.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        windows = std::make_unique<AppWindows>(folder, folder + QStringLiteral("kelvane"),
                                               DesktopServices{boxes, shell, power, folders, clock});
        QSignalSpy shown(windows.get(), &AppWindows::mainWindowShown);
        windows->start();
        ASSERT_TRUE(shown.wait(GuardMs));
        folders.answers.push_back(output.path());
        form().performCommand(MainCommand::SelectOutputFolder);
    }
    TFrmMainForm &form() const { return windows->mainForm(); }
    void addRow(const QString &name)
    {
        const QString path = folder + name;
        QFile(path).open(QIODevice::WriteOnly);
        windows->sources().appendRow({QStringLiteral("True"), path, QStringLiteral("1 KB"), QStringLiteral("00:00:05"),
                                      QStringLiteral("00:00:00"), QStringLiteral("00:00:05"),
                                      QStringLiteral("00:00:05")});
    }
};

} // namespace

// The same question as closing the progress window; No keeps the window and the run going.
TEST_F(AppWindowsRunTest, ClosingTheMainWindowMidRunAsksFirst)
{
    addRow(QStringLiteral("slow.avi"));
    QSignalSpy ended(windows.get(), &AppWindows::ended);
    form().performCommand(MainCommand::Convert);
    ASSERT_TRUE(windows->conversion()->isRunning());

    boxes.answers = {MessageAnswer::No};
    form().close();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Are you sure to stop processing ?")});
    EXPECT_TRUE(form().isVisible());
    EXPECT_TRUE(windows->conversion()->isRunning());
    EXPECT_TRUE(ended.isEmpty());

    // The window's own close button works during the run and asks the same question.
    EXPECT_TRUE(form().btnWindowClose()->isEnabled());
    EXPECT_FALSE(form().btnConvert()->isEnabled());
    EXPECT_FALSE(form().dxTreeSourceFileInfo()->isEnabled());
    boxes.answers = {MessageAnswer::No};
    form().btnWindowClose()->click();
    EXPECT_EQ(boxes.texts(), QStringList(2, QStringLiteral("Are you sure to stop processing ?")));
    EXPECT_TRUE(form().isVisible());
    EXPECT_TRUE(windows->conversion()->isRunning());

    boxes.answers = {MessageAnswer::Yes};
    form().btnWindowClose()->click();
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended.at(0).at(0).toInt(), 0);
    EXPECT_EQ(boxes.shown.size(), 3);
}

// One short line at the window's foot: how many converted, how many failed.
TEST_F(AppWindowsRunTest, TheStatusLineSumsUpTheRun)
{
    addRow(QStringLiteral("a.avi"));
    addRow(QStringLiteral("bad.avi"));
    addRow(QStringLiteral("c.avi"));
    EXPECT_TRUE(form().lblStatusLine()->text().isEmpty());
    QSignalSpy finished(windows->conversion(), &TConversionController::runFinished);
    form().performCommand(MainCommand::Convert);
    ASSERT_TRUE(finished.count() > 0 || finished.wait(GuardMs));
    EXPECT_EQ(form().lblStatusLine()->text(), QStringLiteral("2 files converted, 1 failed."));
    EXPECT_TRUE(form().lblStatusLine()->isVisible());
    // The controls come back as they were; Clear List takes the last run's line away too.
    EXPECT_TRUE(form().btnConvert()->isEnabled());
    EXPECT_TRUE(form().dxTreeSourceFileInfo()->isEnabled());
    form().performCommand(MainCommand::ClearFile);
    EXPECT_TRUE(form().lblStatusLine()->text().isEmpty());
}
