// The main window around a conversion run: closing it mid-run asks first, the status line sums
// up the run afterwards, and the Options dialog stays usable meanwhile. The encoder is a small
// script in a copy of the program folder. Also the preview in the whole program: shortcuts in
// the grid, and failures shown to the user.
#include "app/widgets/AppWindows.h"
#include "app/widgets/MainForm.h"
#include "common/EventuallyTrue.h"
#include "common/Fakes.h"
#include "common/Ffmpeg.h"
#include "common/TestPaths.h"
#include "engine/widgets/ConversionController.h"
#include "media/FilterGraph.h"
#include "settings/widgets/OptionForm.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTreeView>
#include "skin/widgets/PictureButton.h"
#include <QSignalSpy>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTest>
#include <QTreeView>
#include <QWindow>
#include "common/EventuallyTrue.h"

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
    // A row for `name` in the program folder; an empty file is made unless there is one.
    void addRow(const QString &name)
    {
        const QString path = folder + name;
        if (!QFile::exists(path))
            QFile(path).open(QIODevice::WriteOnly);
        windows->sources().appendItem(WholeFileItem(path, 1024, 5000));
    }
    void selectAllRowsInTheGrid() const
    {
        QTreeView *grid = form().dxTreeSourceFileInfo();
        grid->selectAll();
        grid->setFocus();
    }
    // A folder where log.txt should be: no line can be written.
    void blockTheLog() const { ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("log.txt"))); }
    QStringList errorTexts() const
    {
        QStringList texts;
        for (const ShownMessage &m : boxes.shown)
            if (m.icon == MessageIcon::Error)
                texts << m.text;
        return texts;
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

// A stopped run's line goes when the next run starts: it says nothing while files convert.
TEST_F(AppWindowsRunTest, TheStatusLineKeepsNoLineOfTheLastRunWhileTheNextConverts)
{
    addRow(QStringLiteral("slow.avi"));
    form().performCommand(MainCommand::Convert);
    ASSERT_TRUE(windows->conversion()->isRunning());
    windows->conversion()->batch().Stop();
    ASSERT_EVENTUALLY(!windows->conversion()->isRunning());
    EXPECT_EQ(form().lblStatusLine()->text(), QStringLiteral("Stopped: 0 converted, 1 stopped, 0 not started."));

    form().performCommand(MainCommand::Convert);
    ASSERT_TRUE(windows->conversion()->isRunning());
    EXPECT_TRUE(form().lblStatusLine()->text().isEmpty()) << form().lblStatusLine()->text().toStdString();
    boxes.answers = {MessageAnswer::Yes};
    form().close();
}

// The main window's controls are disabled during a run; the Options dialog, a window of its own above it,
// is not: a change made there applies to the files converted after it.
TEST_F(AppWindowsRunTest, TheOptionsDialogStaysUsableWhileFilesConvert)
{
    addRow(QStringLiteral("slow.avi"));
    form().performCommand(MainCommand::Options);
    TfrmOption &options = windows->optionForm();
    ASSERT_TRUE(options.isVisible());
    ASSERT_NE(options.windowHandle(), nullptr);
    EXPECT_EQ(options.windowHandle()->transientParent(), form().windowHandle());

    form().performCommand(MainCommand::Convert);
    ASSERT_TRUE(windows->conversion()->isRunning());
    EXPECT_FALSE(form().dxTreeSourceFileInfo()->isEnabled());
    EXPECT_FALSE(form().btnConvert()->isEnabled());
    EXPECT_TRUE(options.isEnabled());
    const int before = windows->options().selectedIndex(Selector::AudioBitrate);
    QTest::keyClick(options.cbbAudioBitrate(), before > 0 ? Qt::Key_Up : Qt::Key_Down);
    EXPECT_NE(windows->options().selectedIndex(Selector::AudioBitrate), before);

    boxes.answers = {MessageAnswer::Yes};
    form().close();
}

// Ctrl+P pressed in the grid with two rows selected plays the last one, and the keys of the
// shortcut do not lay the markers out for the first row, which would stop it again.
TEST_F(AppWindowsRunTest, CtrlPInTheGridWithSeveralRowsSelectedKeepsPlaying)
{
    const QString first = folder + QStringLiteral("first.mp4");
    ASSERT_TRUE(runFfmpeg({"-f", "lavfi", "-i", "testsrc=duration=5:size=160x120:rate=25", "-f", "lavfi", "-i",
                           "sine=duration=5", "-c:v", "mpeg4", "-c:a", "aac", "-shortest", first}));
    ASSERT_TRUE(QFile::copy(first, folder + QStringLiteral("second.mp4")));
    addRow(QStringLiteral("first.mp4"));
    addRow(QStringLiteral("second.mp4"));
    selectAllRowsInTheGrid();
    QTreeView *grid = form().dxTreeSourceFileInfo();
    QTest::keyPress(grid, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_P, Qt::ControlModifier);
    QTest::keyRelease(grid, Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(windows->preview()->previewFile(), folder + QStringLiteral("second.mp4"));
    EXPECT_TRUE(windows->preview()->isPlaying());
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// The preview's handlers show what fails in them: here the log line of a file that cannot be
// previewed, and of a file the player gave up on.
TEST_F(AppWindowsRunTest, APreviewLogLineThatCannotBeWrittenIsShown)
{
    addRow(QStringLiteral("empty.avi"));   // renders nothing
    selectAllRowsInTheGrid();
    blockTheLog();
    form().performCommand(MainCommand::Play);
    // The file is looked at away from the window's thread; the refusal comes back to the handler.
    ASSERT_EVENTUALLY(errorTexts().size() == 1);
    EXPECT_TRUE(errorTexts().at(0).startsWith(QStringLiteral("Cannot open the log file"))) << errorTexts().at(0).toStdString();
    EXPECT_TRUE(windows->preview()->previewFile().isEmpty());

    Q_EMIT windows->previewGraph()->playbackFailed();
    EXPECT_EQ(errorTexts().size(), 2);
    EXPECT_TRUE(form().isVisible());
}

// "Files converted at once" in the Options dialog: Cancel keeps the number in force and the
// file as it was, OK stores it in Config/UserSettings.ini, and the next run converts that many
// files at once.
TEST_F(AppWindowsRunTest, FilesAtOnceIsSetInTheOptionsDialogAndTakenByTheNextRun)
{
    const QString settings = folder + QStringLiteral("Config/UserSettings.ini");
    const auto stored = [&] {
        QFile file(settings);
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        for (const QString &line : QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n")))
            if (line.startsWith(QStringLiteral("FilesAtOnce=")))
                return line.mid(12);
        return QString();
    };
    TfrmOption &dialog = windows->optionForm();
    QComboBox *count = dialog.cbbFilesAtOnce();
    EXPECT_EQ(count->count(), std::max(1, QThread::idealThreadCount()));
    if (count->count() < 2)
        GTEST_SKIP() << "one core: nothing but 1 can be chosen";

    form().performCommand(MainCommand::Options);
    EXPECT_EQ(count->currentText(), QStringLiteral("1"));
    count->setCurrentIndex(1);
    dialog.btnCancel()->click();
    EXPECT_EQ(windows->options().filesAtOnce(), 1);
    EXPECT_EQ(stored(), QString());
    form().performCommand(MainCommand::Options);
    EXPECT_EQ(count->currentText(), QStringLiteral("1")) << "Cancel kept the number in force";

    count->setCurrentIndex(1);
    dialog.btnApply()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(windows->options().filesAtOnce(), 2);
    EXPECT_EQ(stored(), QStringLiteral("2"));
    form().performCommand(MainCommand::Options);
    EXPECT_EQ(count->currentText(), QStringLiteral("2"));
    dialog.btnCancel()->click();

    addRow(QStringLiteral("a.avi"));
    addRow(QStringLiteral("b.avi"));
    addRow(QStringLiteral("c.avi"));
    form().performCommand(MainCommand::Convert);
    EXPECT_EQ(windows->conversion()->batch().filesAtOnce(), 2);
    EXPECT_EQ(windows->conversion()->progress().filesInProgress().size(), 2);
    ASSERT_EVENTUALLY(!windows->conversion()->isRunning());
    EXPECT_EQ(QDir(output.path()).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(form().lblStatusLine()->text(), QStringLiteral("3 files converted, 0 failed."));
}
