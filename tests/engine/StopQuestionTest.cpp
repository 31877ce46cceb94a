// A question about stopping holds the run until it is answered: the encoders running go on, but
// no file starts and no after-job step (output folder, power-off countdown) comes before the
// answer. The encoder is a script that writes its file only once the test lets it, and the
// message box answers late: after the files that were running ended while it was open.
#include "BatchFixtures.h"
#include "common/EventuallyTrue.h"
#include "engine/ConvertingCommands.h"
#include "engine/widgets/ConversionController.h"

#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Prints a status line, then waits until the test lets it write its output (named by the
// output's file name in `gates`).
QString gatedEncoder(const QString &gates)
{
    return QStringLiteral("for last; do :; done\n"
                          "echo 'size=       1kB time=00:00:00.50 bitrate= 16.0kbits/s'\n"
                          "while [ ! -e \"%1/${last##*/}\" ]; do sleep 0.01; done\n"
                          ": > \"$last\"")
        .arg(gates);
}

enum class Question { StopButton, CloseProgressWindow, CloseMainWindow };

struct Case {
    const char *name;
    int atOnce;
    int rows;         // the first `atOnce` run when the question comes, and end while it is open
    Question question;
    MessageAnswer answer;
    int started;      // files started in the whole run
    bool afterJob;    // the output folder opens and the power-off countdown starts
    const char *summary;
};

void PrintTo(const Case &c, std::ostream *os) { *os << c.name; }

class StopQuestionTest : public ::testing::TestWithParam<Case> {
protected:
    BatchSetup s;
    QTemporaryDir gates;
    QWidget mainWindow;
    TProgressRefresh progress;
    TfrmConverting form{progress, s.boxes};
    TConversionController controller{s.custom, s.shell, s.power, &mainWindow, progress, form};
    TBatchRun &batch = controller.batch();
    QSignalSpy started{&batch, &TBatchRun::itemStarting};
    QSignalSpy chunks{&batch, &TBatchRun::encoderOutput};
    QSignalSpy finished{&controller, &TConversionController::runFinished};

    void SetUp() override
    {
        ASSERT_FALSE(BatchMedia::path("one_second.avi").isEmpty());
        s.useScriptEncoder(gatedEncoder(gates.path()));
        // Both after-job choices ticked: the power control must never be reached here.
        controller.setAfterJobChoices([] { return true; }, [] { return true; });
        mainWindow.show();
    }
    static QString rowName(int row) { return QString(QChar(u'a' + row)); }
    void letEnd(int row) const
    {
        QFile gate(gates.path() + "/" + rowName(row) + ".mp3");
        ASSERT_TRUE(gate.open(QIODevice::WriteOnly));
    }
    void ask(Question question)
    {
        switch (question) {
        case Question::StopButton: form.btnStop->click(); break;
        case Question::CloseProgressWindow: form.close(); break;
        case Question::CloseMainWindow: AskToEndProgramMidRun(batch, s.boxes); break;
        }
    }
    bool afterJobStarted() const { return !s.shell.opened.isEmpty() || batch.powerOffCountdown().isRunning(); }
};

} // namespace

TEST_P(StopQuestionTest, TheRunWaitsForTheAnswer)
{
    const Case c = GetParam();
    for (int row = 0; row < c.rows; ++row)
        s.addRow("one_second.avi", rowName(row) + ".avi");
    controller.setFilesAtOnce([&] { return c.atOnce; });
    controller.start();
    ASSERT_EVENTUALLY(chunks.size() >= c.atOnce);

    bool asked = false;
    s.boxes.answers = {c.answer};
    s.boxes.whileOpen = [&] {
        asked = true;
        for (int row = 0; row < c.atOnce; ++row)
            letEnd(row);
        ASSERT_EVENTUALLY(batch.state().doneCount == c.atOnce);
        EXPECT_EQ(started.size(), c.atOnce) << "a file started while the question was open";
        EXPECT_FALSE(afterJobStarted()) << "the after-job step came before the answer";
        EXPECT_EQ(s.power.powerOffCalls, 0);
        EXPECT_TRUE(finished.isEmpty());
        EXPECT_TRUE(controller.isRunning());
        EXPECT_TRUE(form.isVisible());
    };
    ask(c.question);
    ASSERT_TRUE(asked);

    for (int row = c.atOnce; row < c.rows; ++row)
        letEnd(row);
    ASSERT_EVENTUALLY(!finished.isEmpty());
    EXPECT_EQ(started.size(), c.started);
    EXPECT_EQ(s.outputFiles().size(), c.started);
    EXPECT_EQ(batch.summary(), QString::fromLatin1(c.summary));
    EXPECT_EQ(s.shell.opened.size(), c.afterJob ? 1 : 0);
    EXPECT_EQ(batch.powerOffCountdown().isRunning(), c.afterJob);
    EXPECT_EQ(s.power.powerOffCalls, 0);
    EXPECT_FALSE(form.isVisible());
    if (c.afterJob) {
        // The countdown is the one way to the power control, and it is wired to it.
        for (int second = 0; second < TPowerOffCountdown::Seconds; ++second)
            batch.powerOffCountdown().tick();
        EXPECT_EQ(s.power.powerOffCalls, 1);
    }
}

// A close of the progress window confirmed while files still wait ends the run after the
// running ones and keeps the after-job step; any Yes given while the run's end waited for it
// leaves the step out.
INSTANTIATE_TEST_SUITE_P(
    Answers, StopQuestionTest,
    ::testing::Values(
        Case{"stop_no_one_at_once", 1, 3, Question::StopButton, MessageAnswer::No, 3, true, "3 files converted, 0 failed."},
        Case{"stop_yes_one_at_once", 1, 3, Question::StopButton, MessageAnswer::Yes, 1, false,
             "Stopped: 1 converted, 0 stopped, 2 not started."},
        Case{"stop_no_two_at_once", 2, 3, Question::StopButton, MessageAnswer::No, 3, true, "3 files converted, 0 failed."},
        Case{"stop_yes_two_at_once", 2, 3, Question::StopButton, MessageAnswer::Yes, 2, false,
             "Stopped: 2 converted, 0 stopped, 1 not started."},
        Case{"close_no_one_at_once", 1, 2, Question::CloseProgressWindow, MessageAnswer::No, 2, true,
             "2 files converted, 0 failed."},
        Case{"close_yes_two_at_once", 2, 3, Question::CloseProgressWindow, MessageAnswer::Yes, 2, true,
             "Stopped: 2 converted, 0 stopped, 1 not started."},
        Case{"main_window_no_two_at_once", 2, 3, Question::CloseMainWindow, MessageAnswer::No, 3, true,
             "3 files converted, 0 failed."},
        Case{"main_window_yes_one_at_once", 1, 2, Question::CloseMainWindow, MessageAnswer::Yes, 1, false,
             "Stopped: 1 converted, 0 stopped, 1 not started."},
        // The last files ended while the question was open.
        Case{"last_stop_no_one_at_once", 1, 1, Question::StopButton, MessageAnswer::No, 1, true,
             "1 file converted, 0 failed."},
        Case{"last_stop_yes_two_at_once", 2, 2, Question::StopButton, MessageAnswer::Yes, 2, false,
             "2 files converted, 0 failed."},
        Case{"last_close_yes_one_at_once", 1, 1, Question::CloseProgressWindow, MessageAnswer::Yes, 1, false,
             "1 file converted, 0 failed."},
        Case{"last_close_no_two_at_once", 2, 2, Question::CloseProgressWindow, MessageAnswer::No, 2, true,
             "2 files converted, 0 failed."},
        Case{"last_main_window_yes_two_at_once", 2, 2, Question::CloseMainWindow, MessageAnswer::Yes, 2, false,
             "2 files converted, 0 failed."}),
    [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });
