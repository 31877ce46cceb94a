// The source list's context menu that chooses a row's audio track, opened by the right mouse
// button, the Menu key and Shift+F10; and the mark of a row whose file has several tracks.
#include "AudioTrackRows.h"
#include "FakeCodecErrorReporter.h"
#include "common/Fakes.h"
#include "media/SourceListModel.h"
#include "media/widgets/SourceListController.h"
#include "media/widgets/SourceListView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace AudioTrackRows;

namespace {

class AudioTrackMenu : public ::testing::Test {
protected:
    QWidget window;
    QTreeView *grid = new QTreeView(&window);
    SourceListModel model;
    FakeMessageBoxes boxes;
    FakeCodecErrorReporter reporter;
    SourceListController *controller = nullptr;
    QList<QList<SourceItemId>> chosen;

    void SetUp() override
    {
        window.resize(700, 300);
        grid->setGeometry(10, 10, 600, 200);
        controller = new SourceListController(grid, model, boxes, reporter, &window);
        QObject::connect(controller, &SourceListController::audioTracksChosen,
                         [this](const QList<SourceItemId> &ids) { chosen << ids; });
        model.appendItem(itemWith("/v/two.mp4", {english(), french()}));
        model.appendItem(itemWith("/v/one.avi", {english()}));
        model.appendItem(itemWith("/v/other.mp4", {english(), french()}));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void TearDown() override
    {
        if (controller->rowMenu())
            controller->rowMenu()->close();
    }
    QPoint cellCentre(int row) const { return grid->visualRect(model.index(row, 1)).center(); }
    void rightClick(int row)
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, cellCentre(row), grid->viewport()->mapToGlobal(cellCentre(row)));
        QApplication::sendEvent(grid->viewport(), &event);
    }
    void select(const QList<int> &rows)
    {
        grid->selectionModel()->clearSelection();
        for (int row : rows)
            grid->selectionModel()->select(model.index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        grid->selectionModel()->setCurrentIndex(model.index(rows.last(), 0), QItemSelectionModel::NoUpdate);
    }
    QMenu *trackMenu() const
    {
        QMenu *menu = controller->rowMenu();
        if (!menu || menu->actions().isEmpty())
            return nullptr;
        return menu->actions().first()->menu();
    }
    QStringList entries() const
    {
        QStringList texts;
        for (QAction *action : trackMenu()->actions())
            texts << (action->isChecked() ? "[x] " : "[ ] ") + action->text();
        return texts;
    }
    void pick(int index)
    {
        trackMenu()->actions().at(index)->trigger();
        controller->rowMenu()->close();
    }
};

} // namespace

TEST_F(AudioTrackMenu, RightClickOpensAudioTrackFirstWithTheTracksAndTheConvertedOneTicked)
{
    rightClick(0);
    ASSERT_NE(controller->rowMenu(), nullptr);
    EXPECT_TRUE(controller->rowMenu()->isVisible());
    EXPECT_EQ(controller->rowMenu()->actions().first()->text(), "Audio track");
    ASSERT_NE(trackMenu(), nullptr);
    EXPECT_EQ(entries(), (QStringList{"[x] 1: English - AAC stereo (default)", "[ ] 2: French, Commentaire - AC3 5.1"}));
    pick(1);
    EXPECT_EQ(model.item(0).audioTrack, 2);
    EXPECT_EQ(chosen, (QList<QList<SourceItemId>>{{model.item(0).id}}));

    rightClick(0);
    EXPECT_EQ(entries(), (QStringList{"[ ] 1: English - AAC stereo (default)", "[x] 2: French, Commentaire - AC3 5.1"}));
}

// A right click on a row outside the selection selects it alone; on a selected row the choice
// goes to every selected row that has the track.
TEST_F(AudioTrackMenu, WithSeveralRowsSelectedTheChoiceGoesToEachRowThatHasTheTrack)
{
    select({0, 1, 2});
    rightClick(1);
    ASSERT_NE(trackMenu(), nullptr);
    EXPECT_EQ(entries(), (QStringList{"[x] 1: English - AAC stereo (default)"}));
    controller->rowMenu()->close();
    rightClick(2);
    pick(1);
    EXPECT_EQ(model.item(0).audioTrack, 2);
    EXPECT_EQ(model.item(1).audioTrack, std::nullopt); // it has no second track
    EXPECT_EQ(model.item(2).audioTrack, 2);

    select({0, 1});
    rightClick(2);
    EXPECT_EQ(controller->view().selectedRows(), QList<int>{2});
    pick(0);
    EXPECT_EQ(model.item(0).audioTrack, 2);
    EXPECT_EQ(model.item(2).audioTrack, 1);
}

TEST_F(AudioTrackMenu, TheMenuKeyAndShiftF10OpenTheFocusedRowsMenu)
{
    grid->setFocus();
    select({2});
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5), grid->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(grid, &menuKey); // what the Menu key brings
    ASSERT_NE(trackMenu(), nullptr);
    EXPECT_TRUE(controller->rowMenu()->isVisible());
    pick(1);
    EXPECT_EQ(model.item(2).audioTrack, 2);

    select({0});
    QTest::keyClick(grid, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_NE(trackMenu(), nullptr);
    EXPECT_TRUE(controller->rowMenu()->isVisible());
    EXPECT_EQ(entries(), (QStringList{"[x] 1: English - AAC stereo (default)", "[ ] 2: French, Commentaire - AC3 5.1"}));
}

// A title is shown beside the language, in the menu and the row's tip; its "&" is no shortcut mark.
TEST_F(AudioTrackMenu, TracksShowTheirTitlesAsTheyAre)
{
    model.appendItem(itemWith("/v/talk.mkv", {english(), {2, "eng", "Q&A with the director", "mp3", 1, 44100, false}}));
    rightClick(3);
    ASSERT_NE(trackMenu(), nullptr);
    EXPECT_EQ(trackMenu()->actions().at(1)->text(), "2: English, Q&&A with the director - MP3 mono");
    pick(1);
    EXPECT_EQ(model.index(3, 1).data(Qt::ToolTipRole).toString(),
              "/v/talk.mkv\nAudio track: 2: English, Q&A with the director - MP3 mono");
}

TEST_F(AudioTrackMenu, AFileWithoutSoundHasNoTrackToChoose)
{
    model.appendItem(itemWith("/v/silent.avi", {}));
    rightClick(3);
    ASSERT_NE(trackMenu(), nullptr);
    EXPECT_FALSE(trackMenu()->isEnabled());
    EXPECT_TRUE(trackMenu()->actions().isEmpty());
}

namespace {

// Pixels in the right end of a row's file name cell that differ from the cell's background.
int markedPixels(QTreeView *grid, const SourceListModel &model, int row)
{
    const QRect cell = grid->visualRect(model.index(row, 1));
    const QImage image = grid->viewport()->grab(cell).toImage();
    const QRgb background = image.pixel(image.width() - 2, 1);
    int marked = 0;
    for (int y = 1; y < image.height() - 2; ++y)
        for (int x = image.width() - 40; x < image.width() - 2; ++x)
            marked += image.pixel(x, y) != background ? 1 : 0;
    return marked;
}

} // namespace

TEST_F(AudioTrackMenu, OnlyARowWithSeveralTracksCarriesTheMarkAtTheEndOfItsNameCell)
{
    grid->selectionModel()->clearSelection();
    EXPECT_GT(markedPixels(grid, model, 0), 20);
    EXPECT_EQ(markedPixels(grid, model, 1), 0);
}

