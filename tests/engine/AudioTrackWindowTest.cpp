// The audio track chosen in the window's source list reaches the output: files added as the
// window adds them, the track picked in a row's context menu, the batch run with the real
// encoder, and the tone of each output measured.
#include "BatchFixtures.h"
#include "common/AudioTrackMedia.h"
#include "common/EventuallyTrue.h"
#include "media/SourceFileAdder.h"
#include "media/widgets/SourceListController.h"
#include "media/widgets/SourceListView.h"
#include "../media/FakeCodecErrorReporter.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace AudioTrackMedia;

namespace {

class AudioTrackWindowTest : public ::testing::Test {
protected:
    BatchSetup s;
    TProgressRefresh progress;
    TBatchRun batch{s.custom.batchServices(), progress, s.shell, s.power};
    QWidget window;
    QTreeView *grid = new QTreeView(&window);
    FakeCodecErrorReporter reporter;
    SourceListController *controller = new SourceListController(grid, s.sources, s.boxes, reporter, &window);

    void SetUp() override
    {
        ASSERT_FALSE(builtEncoder().isEmpty()) << "the built encoder evc is missing from the program folder";
        window.resize(700, 300);
        grid->setGeometry(10, 10, 600, 200);
        window.show();
    }
    void add(const QStringList &files)
    {
        controller->FilesDropped(files);
        ASSERT_EVENTUALLY(!controller->adder().isBusy());
    }
    // Right-clicks the row and picks the menu's entry for `track`.
    void pickTrack(int row, int track)
    {
        const QPoint at = grid->visualRect(s.sources.index(row, 1)).center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid->viewport(), &click);
        QMenu *menu = controller->rowMenu();
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().first()->text(), "Audio track");
        menu->actions().first()->menu()->actions().at(track - 1)->trigger();
        menu->close();
    }
    bool runToEnd()
    {
        QSignalSpy finished(&batch, &TBatchRun::runFinished);
        return batch.RunBatch(s.sources) && (finished.size() > 0 || finished.wait(120000));
    }
};

} // namespace

TEST_F(AudioTrackWindowTest, TheTrackPickedInTheMenuIsConvertedAndTheOthersKeepTheirDefault)
{
    const QString picked = make(s.inputFolder, "picked.mp4", DefaultTrack::First);
    const QString untouched = make(s.inputFolder, "untouched.mp4", DefaultTrack::First);
    const QString frenchDefault = make(s.inputFolder, "french default.mp4", DefaultTrack::Second);
    ASSERT_FALSE(picked.isEmpty() || untouched.isEmpty() || frenchDefault.isEmpty());
    add({picked, untouched, frenchDefault});
    ASSERT_EQ(s.sources.rowCount(), 3);

    pickTrack(0, 2);
    EXPECT_EQ(s.sources.item(0).audioTrack, 2);
    EXPECT_EQ(s.sources.index(0, 1).data(Qt::ToolTipRole).toString(), picked + "\nAudio track: 2: French - AC3 5.1");
    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(batch.failures().isEmpty());
    const double pickedHz = dominantFrequency(s.output("picked"));
    EXPECT_TRUE(isTone(pickedHz, FrenchHz)) << pickedHz;
    const double untouchedHz = dominantFrequency(s.output("untouched"));
    EXPECT_TRUE(isTone(untouchedHz, EnglishHz)) << untouchedHz;
    const double defaultHz = dominantFrequency(s.output("french default"));
    EXPECT_TRUE(isTone(defaultHz, FrenchHz)) << defaultHz;

    const QStringList lines = s.logLines("parameter: ");
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].contains(" -atrack 2 \"" + s.outputFolder)) << lines[0].toStdString();
    EXPECT_FALSE(lines[1].contains("-atrack")) << lines[1].toStdString();
    EXPECT_FALSE(lines[2].contains("-atrack")) << lines[2].toStdString();
}
