// The batch run as the user sees it: the progress window over a disabled main window, Stop and
// closing the progress window, with the real encoder.
#include "BatchFixtures.h"
#include "engine/widgets/ConversionController.h"
#include "engine/widgets/PowerOffForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

constexpr int GuardMs = 120000;   // only keeps a broken run from hanging the suite

// What the windows looked like at one moment of the run.
struct WindowState {
    bool mainEnabled;
    bool progressVisible;
    bool progressEnabled;
};

class ConversionControllerTest : public ::testing::Test {
protected:
    BatchSetup s;
    QWidget mainWindow;
    QCheckBox chkShowOutputDirectory{QStringLiteral("Show output directory when done")};
    QCheckBox chkShutdown{QStringLiteral("Shutdown computer when job is finished.")};
    TProgressRefresh progress;
    TfrmConverting form{progress, s.custom.common().messageBoxes()};
    TConversionController controller{s.custom, s.shell, s.power, &mainWindow, progress, form};
    QSignalSpy finished{&controller, &TConversionController::runFinished};
    QSignalSpy endProgram{&controller, &TConversionController::endProgramRequested};
    QList<WindowState> seen;

    void SetUp() override
    {
        ASSERT_FALSE(builtEncoder().isEmpty()) << "the built encoder evc is missing from the program folder";
        ASSERT_FALSE(BatchMedia::path("ten_minutes.wav").isEmpty());
        controller.setAfterJobChoices(&chkShowOutputDirectory, &chkShutdown);
        mainWindow.show();
        QObject::connect(&controller.batch(), &TBatchRun::encoderOutput, [this] { record(); });
    }
    void record()
    {
        seen << WindowState{mainWindow.isEnabled(), controller.form().isVisible(), controller.form().isEnabled()};
    }
    bool runToEnd()
    {
        const qsizetype before = finished.size();
        controller.start();
        return finished.size() > before || finished.wait(GuardMs);
    }
    // Runs `action` once, from the first chunk of the item at `row`'s encoder.
    void onFirstChunkOfRow(int row, std::function<void()> action)
    {
        auto done = std::make_shared<bool>(false);
        QObject::connect(&controller.batch(), &TBatchRun::encoderOutput, &mainWindow, [this, row, action, done] {
            if (*done || controller.batch().state().rowIndex != row)
                return;
            *done = true;
            action();
        });
    }
    void expectRestored()
    {
        EXPECT_TRUE(mainWindow.isEnabled());
        EXPECT_FALSE(controller.form().isVisible());
        EXPECT_FALSE(controller.isRunning());
    }
};

} // namespace

TEST_F(ConversionControllerTest, TheMainWindowIsDisabledWhileTheRunLasts)
{
    s.addRow("one_second.avi", "a.avi");
    s.addRow("one_second.avi", "b.avi", false);
    s.addRow("one_second.avi", "c.avi");
    QStringList countsWhenShown;
    QObject::connect(&controller.batch(), &TBatchRun::itemStarting, &mainWindow,
                     [&] { countsWhenShown << controller.form().lblPersent->text(); });

    ASSERT_TRUE(runToEnd());
    ASSERT_FALSE(seen.isEmpty());
    for (const WindowState &state : seen) {
        EXPECT_FALSE(state.mainEnabled);
        EXPECT_TRUE(state.progressVisible);
        EXPECT_TRUE(state.progressEnabled);
    }
    EXPECT_EQ(countsWhenShown.value(0), QStringLiteral("Current: 1, Total: 2"));
    EXPECT_EQ(s.outputFiles(), (QStringList{"a.mp3", "c.mp3"}));
    // The window manager keeps the progress window above the main window.
    ASSERT_NE(controller.form().windowHandle(), nullptr);
    EXPECT_EQ(controller.form().windowHandle()->transientParent(), mainWindow.windowHandle());
    expectRestored();
}

// Stop, confirmed in the progress window while the second of three items converts: that
// encoder is ended, its half-written output goes, the third item never starts, and neither
// the folder is opened nor the computer powered off. The next run's after-job step works.
TEST_F(ConversionControllerTest, StopDuringTheSecondItemEndsTheRunWithoutTheAfterJobStep)
{
    s.addRow("one_second.avi", "a.avi");
    s.addRow("ten_minutes.wav", "long.wav", true, "00:10:00");
    s.addRow("one_second.avi", "c.avi");
    chkShowOutputDirectory.setChecked(true);
    chkShutdown.setChecked(true);
    onFirstChunkOfRow(1, [this] {
        s.boxes.answers = {MessageAnswer::Yes};
        controller.form().btnStop->click();
    });

    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(s.boxes.texts(), QStringList{QStringLiteral("Are you sure you want to stop the work ? ")});
    EXPECT_EQ(s.outputFiles(), QStringList{"a.mp3"});
    EXPECT_EQ(controller.batch().state().doneCount, 2);
    EXPECT_TRUE(controller.batch().failures().isEmpty());
    EXPECT_TRUE(s.shell.opened.isEmpty());
    EXPECT_EQ(s.power.powerOffCalls, 0);
    EXPECT_TRUE(endProgram.isEmpty());
    EXPECT_FALSE(controller.batch().state().stopRequested());
    expectRestored();

    s.sources.clear();
    s.addRow("one_second.avi", "d.avi");
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(s.outputFiles(), (QStringList{"a.mp3", "d.mp3"}));
    EXPECT_EQ(s.shell.opened, QList<QUrl>{QUrl::fromLocalFile(s.outputFolder)});
    expectRestored();
    // The countdown comes up over the main window; "Power off now" does not wait for it.
    TfrmPowerOff &countdown = controller.powerOffForm();
    EXPECT_TRUE(countdown.isVisible());
    EXPECT_EQ(countdown.parentWidget(), &mainWindow);
    EXPECT_EQ(countdown.windowModality(), Qt::WindowModal);
    EXPECT_EQ(s.power.powerOffCalls, 0);
    countdown.btnPowerOffNow->click();
    EXPECT_EQ(s.power.powerOffCalls, 1);
    EXPECT_EQ(endProgram.size(), 1);
    EXPECT_FALSE(countdown.isVisible());
}

// Cancel, or closing the countdown window, keeps the computer on and is logged.
TEST_F(ConversionControllerTest, TheCountdownCanBeCancelled)
{
    s.addRow("one_second.avi", "a.avi");
    chkShutdown.setChecked(true);
    TfrmPowerOff &countdown = controller.powerOffForm();
    for (const bool byEscape : {false, true}) {
        SCOPED_TRACE(byEscape ? "Escape" : "Cancel");
        ASSERT_TRUE(runToEnd());
        ASSERT_TRUE(countdown.isVisible());
        EXPECT_EQ(countdown.lblCountdown->text(), QStringLiteral("The computer will power off in 60 seconds."));
        controller.batch().powerOffCountdown().tick();
        EXPECT_EQ(countdown.lblCountdown->text(), QStringLiteral("The computer will power off in 59 seconds."));
        if (byEscape)
            countdown.reject();
        else
            countdown.btnCancel->click();
        EXPECT_FALSE(countdown.isVisible());
        EXPECT_FALSE(controller.batch().powerOffCountdown().isRunning());
    }
    EXPECT_EQ(s.logLines("Power off cancelled").size(), 2);
    EXPECT_EQ(s.power.powerOffCalls, 0);
    EXPECT_TRUE(endProgram.isEmpty());
}

// Closing the progress window, confirmed, ends the encoder and the run after the current
// item; unlike Stop, the after-job step still follows.
TEST_F(ConversionControllerTest, ClosingTheProgressWindowEndsTheRunButKeepsTheAfterJobStep)
{
    s.addRow("ten_minutes.wav", "long.wav", true, "00:10:00");
    s.addRow("one_second.avi", "b.avi");
    chkShowOutputDirectory.setChecked(true);
    onFirstChunkOfRow(0, [this] {
        s.boxes.answers = {MessageAnswer::Yes};
        controller.form().close();
    });

    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(s.boxes.texts(), QStringList{QStringLiteral("Are you sure to stop processing ?")});
    EXPECT_TRUE(s.outputFiles().isEmpty());
    EXPECT_EQ(s.shell.opened, QList<QUrl>{QUrl::fromLocalFile(s.outputFolder)});
    EXPECT_EQ(s.power.powerOffCalls, 0);
    expectRestored();
}

// Answering No keeps the window open and the run going.
TEST_F(ConversionControllerTest, ClosingAnsweredNoChangesNothing)
{
    s.addRow("one_second.avi", "a.avi");
    s.addRow("one_second.avi", "b.avi");
    onFirstChunkOfRow(0, [this] {
        s.boxes.answers = {MessageAnswer::No};
        controller.form().close();
        record();
    });

    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(s.outputFiles(), (QStringList{"a.mp3", "b.mp3"}));
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_TRUE(seen.last().progressVisible);
    expectRestored();
}
