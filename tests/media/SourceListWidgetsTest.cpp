#include "FakeCodecErrorReporter.h"
#include "MediaFixtures.h"
#include "common/EventuallyTrue.h"
#include "common/Fakes.h"
#include "media/SourceFileAdder.h"
#include "media/SourceFileTypes.h"
#include "media/SourceListHistory.h"
#include "media/SourceListModel.h"
#include "media/widgets/InitFileForm.h"
#include "support/EscapedFailure.h"
#include "media/widgets/SourceListController.h"
#include "media/widgets/SourceListView.h"
#include "media/widgets/SourceGridDelegate.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QPushButton>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QScrollBar>
#include <QTreeView>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace {

// What the preview and the timeline were told.
struct HookLog {
    int stops = 0;
    int layouts = 0;
    QList<int> fillerWidths;
    SourceListHooks hooks()
    {
        return {[this] { ++stops; }, [this] { ++layouts; }, [this](int w) { fillerWidths << w; }};
    }
};

class SourceListWindow : public ::testing::Test {
protected:
    QWidget window;
    QTreeView *grid = new QTreeView(&window);
    SourceListModel model;
    FakeMessageBoxes boxes;
    FakeCodecErrorReporter reporter;
    SourceListController *controller = nullptr;
    HookLog log;
    QString initDir = "/nowhere/";
    QStringList storedInitDirs;

    void SetUp() override
    {
        window.resize(700, 400);
        grid->setGeometry(22, 292, 525, 138);
        controller = new SourceListController(grid, model, boxes, reporter, &window);
        controller->setHooks(log.hooks());
        controller->setInitDirAccess([this] { return initDir; }, [this](const QString &f) { storedInitDirs << f; });
        window.show();
    }
    void fill(const QStringList &names)
    {
        for (const QString &name : names)
            model.appendItem(WholeFileItem(name, 1, 2000));
    }
    QStringList names() const
    {
        QStringList out;
        for (const SourceItem &item : model.items())
            out << item.path;
        return out;
    }
    void focusRow(int row, QItemSelectionModel::SelectionFlags how = QItemSelectionModel::ClearAndSelect)
    {
        grid->selectionModel()->setCurrentIndex(model.index(row, 1), how | QItemSelectionModel::Rows);
    }
    QList<int> selected() const { return controller->view().selectedRows(); }
};

} // namespace

TEST(SourceGridColumns, RelativeWidthsFillTheGivenWidth)
{
    const QList<int> weights{16, 68, 28, 28, 28, 28, 28};
    EXPECT_EQ(FitColumnWidths(weights, 224), weights);
    EXPECT_EQ(FitColumnWidths(weights, 448), QList<int>({32, 136, 56, 56, 56, 56, 56}));
    const QList<int> odd = FitColumnWidths(weights, 523);
    EXPECT_EQ(std::accumulate(odd.begin(), odd.end(), 0), 523);
    EXPECT_EQ(odd.first(), 16 * 523 / 224);
    EXPECT_EQ(FitColumnWidths(weights, 3), weights) << "too narrow to share";
}

// A column narrower than its caption takes the pixels it lacks from the columns with the most
// room to spare; the columns still fill the width, as far as the room goes.
TEST(SourceGridColumns, CaptionsKeepTheirWidthAtTheCostOfTheWidestColumn)
{
    const QList<int> weights{10, 70, 20};
    struct Case {
        int total;
        QList<int> minimums;
        QList<int> widths;
    };
    const Case cases[] = {
        {100, {5, 5, 5}, {10, 70, 20}},         // all fit already
        {100, {5, 5, 30}, {10, 60, 30}},        // the widest gives
        {100, {15, 60, 30}, {15, 60, 30}},      // it gives no more than it has
        {100, {40, 40, 40}, {40, 40, 40}},      // too narrow for all: the captions win
    };
    for (const Case &c : cases)
        EXPECT_EQ(FitColumnWidths(weights, c.total, c.minimums), c.widths) << c.minimums.last();
}

// A widened column takes its room from the next one down to that one's caption, then widens the
// grid; a narrowed one narrows a grid wider than the view first and gives the rest to the next.
TEST(SourceGridColumns, AResizedColumnTakesItsRoomFromTheNextThenWidensTheGrid)
{
    const QList<int> widths{10, 50, 40};
    const QList<int> minimums{5, 20, 30};
    struct Case {
        const char *what;
        QList<int> before;
        int section;
        int newSize;
        QList<int> after;
    };
    const Case cases[] = {
        {"room enough in the next", widths, 1, 55, {10, 55, 35}},
        {"the next down to its caption", widths, 1, 80, {10, 80, 30}},
        {"the next already at its caption", {10, 60, 30}, 1, 70, {10, 70, 30}},
        {"the last takes from the one before", widths, 2, 60, {10, 30, 60}},
        {"narrowed in a filled grid", widths, 1, 30, {10, 30, 60}},
        {"narrowed in a wider grid, still wider", {10, 80, 30}, 1, 70, {10, 70, 30}},
        {"narrowed in a wider grid, below the view", {10, 80, 30}, 1, 40, {10, 40, 50}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ResizeColumnWidths(c.before, c.section, c.newSize, 100, minimums), c.after) << c.what;
}

TEST_F(SourceListWindow, GridIsSetUpAsTheSourceList)
{
    EXPECT_EQ(grid->model(), &model);
    EXPECT_EQ(grid->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(grid->rootIsDecorated());
    EXPECT_FALSE(grid->header()->sectionsMovable());
    const QAbstractItemModel *header = grid->header()->model();
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(header->headerData(c, Qt::Horizontal).toString(), model.headerData(c, Qt::Horizontal).toString());
        EXPECT_FALSE(header->headerData(c, Qt::Horizontal, Qt::DecorationRole).value<QPixmap>().isNull()) << c;
    }
    EXPECT_EQ(grid->header()->sectionResizeMode(1), QHeaderView::Interactive);
    int total = 0;
    for (int c = 0; c < 7; ++c)
        total += grid->header()->sectionSize(c);
    EXPECT_EQ(total, grid->viewport()->width());
    // Every caption shows whole with its picture; the file names get the most room.
    const QFontMetrics captionFont(grid->header()->font());
    for (int c = 1; c < 7; ++c) {
        const QString caption = model.headerData(c, Qt::Horizontal).toString();
        EXPECT_GE(grid->header()->sectionSize(c), captionFont.horizontalAdvance(caption) + 12) << c;
        EXPECT_GE(grid->header()->sectionSize(1), grid->header()->sectionSize(c)) << c;
    }
    const QPalette p = grid->palette();
    EXPECT_EQ(p.color(QPalette::Inactive, QPalette::Highlight), p.color(QPalette::Active, QPalette::Highlight));

    const int fileName = grid->header()->sectionSize(1);
    const int widened = grid->header()->sectionSize(0) + 20;
    grid->header()->resizeSection(0, widened); // as the user drags an edge
    EXPECT_EQ(grid->header()->sectionSize(1), fileName - 20) << "the next column gives the room";
    EXPECT_EQ(grid->header()->length(), grid->viewport()->width());

    grid->resize(grid->width() + 200, grid->height()); // still filled after the grid grows
    EXPECT_EVENTUALLY_EQ(grid->header()->length(), grid->viewport()->width());
    EXPECT_GT(grid->header()->sectionSize(0), widened) << "the user's shares stay";
}

// Widening File Name past what the next column can give makes the grid scroll sideways; every
// other column keeps its caption, and the widths stay when the grid is resized.
TEST_F(SourceListWindow, FileNamesWidenedBeyondTheGridScrollIntoView)
{
    fill({"/v/a.avi"});
    QHeaderView *header = grid->header();
    const QFontMetrics captionFont(header->font());
    header->resizeSection(1, header->sectionSize(1) + 400);
    EXPECT_GT(header->length(), grid->viewport()->width());
    EXPECT_EVENTUALLY(grid->horizontalScrollBar()->isVisible() && grid->horizontalScrollBar()->maximum() > 0);
    for (int c = 2; c < 7; ++c)
        EXPECT_GE(header->sectionSize(c), captionFont.horizontalAdvance(model.headerData(c, Qt::Horizontal).toString()))
            << c;
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    EXPECT_EQ(header->sectionViewportPosition(6) + header->sectionSize(6), grid->viewport()->width())
        << "the last column scrolls fully into view";

    const int wide = header->length();
    const int view = grid->viewport()->width();
    grid->resize(grid->width() - 20, grid->height());
    ASSERT_EVENTUALLY(grid->viewport()->width() == view - 20);
    EXPECT_EQ(header->length(), wide);
    header->resizeSection(1, 40);
    EXPECT_EQ(header->length(), grid->viewport()->width()) << "narrowed back, the columns fill the grid again";
    EXPECT_EVENTUALLY(!grid->horizontalScrollBar()->isVisible());
}

TEST_F(SourceListWindow, FirstClickIntoATimeCellOpensItsEditor)
{
    fill({"/v/a.avi", "/v/b.avi"});
    const QRect cell = grid->visualRect(model.index(1, SourceRow::StartTimeColumn));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    ASSERT_EVENTUALLY(grid->viewport()->findChild<QLineEdit *>() && grid->viewport()->findChild<QLineEdit *>()->isVisible());
    EXPECT_EQ(grid->viewport()->findChild<QLineEdit *>()->text(), "00:00:00");
    EXPECT_EQ(selected(), QList<int>({1}));
}

TEST_F(SourceListWindow, RemovingTheFocusedFirstRowLeavesNoFocus)
{
    fill({"/v/a.avi", "/v/b.avi", "/v/c.avi"});
    focusRow(0);
    controller->btnRemoveFileClick();
    EXPECT_EQ(names(), QStringList({"/v/b.avi", "/v/c.avi"}));
    EXPECT_FALSE(grid->currentIndex().isValid());
    EXPECT_TRUE(selected().isEmpty());
    EXPECT_EQ(log.stops, 1);
    EXPECT_EQ(log.layouts, 1);
    EXPECT_TRUE(log.fillerWidths.isEmpty()) << "rows are left";
}

TEST_F(SourceListWindow, RemovingAFocusedMiddleRowFocusesAndSelectsTheRowAbove)
{
    fill({"/v/a.avi", "/v/b.avi", "/v/c.avi", "/v/d.avi"});
    focusRow(3);
    focusRow(2, QItemSelectionModel::Select); // c and d selected, c focused
    controller->btnRemoveFileClick();
    EXPECT_EQ(names(), QStringList({"/v/a.avi", "/v/b.avi"}));
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_EQ(selected(), QList<int>({1}));
}

TEST_F(SourceListWindow, DeleteKeyRemovesAndEveryKeyLetsTheMarkersFollow)
{
    fill({"/v/a.avi"});
    grid->setFocus();
    focusRow(0);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(log.layouts, 2) << "key down and key up";
    EXPECT_EQ(model.rowCount(), 1);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(log.stops, 1);
    EXPECT_EQ(log.fillerWidths, QList<int>({2}));
}

// Keys the window runs as commands, and bare modifier keys, move no selection: they leave the
// markers (and so a preview of one of several selected rows) alone, also when the keys of a
// chord come up in another order.
TEST_F(SourceListWindow, CommandKeysAndModifiersLeaveTheMarkersAlone)
{
    fill({"/v/a.avi", "/v/b.avi"});
    controller->view().setCommandKeys(
        [](int key, Qt::KeyboardModifiers modifiers) { return key == Qt::Key_P && modifiers == Qt::ControlModifier; });
    grid->setFocus();
    focusRow(0);
    focusRow(1, QItemSelectionModel::Select);
    enum Step { Press, Release };
    struct KeyStep {
        Step step;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const struct {
        const char *keys;
        std::vector<KeyStep> steps;
        int layouts;
    } cases[] = {
        {"Ctrl+P, P let go first", {{Press, Qt::Key_Control, ctrl}, {Press, Qt::Key_P, ctrl},
                                    {Release, Qt::Key_P, ctrl}, {Release, Qt::Key_Control, {}}}, 0},
        {"Ctrl+P, Ctrl let go first", {{Press, Qt::Key_Control, ctrl}, {Press, Qt::Key_P, ctrl},
                                       {Release, Qt::Key_Control, {}}, {Release, Qt::Key_P, {}}}, 0},
        {"Shift alone", {{Press, Qt::Key_Shift, Qt::ShiftModifier}, {Release, Qt::Key_Shift, {}}}, 0},
        {"P without Ctrl", {{Press, Qt::Key_P, {}}, {Release, Qt::Key_P, {}}}, 2},
        {"Ctrl+Down", {{Press, Qt::Key_Control, ctrl}, {Press, Qt::Key_Down, ctrl},
                       {Release, Qt::Key_Down, ctrl}, {Release, Qt::Key_Control, {}}}, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.keys);
        log.layouts = 0;
        for (const KeyStep &k : c.steps) {
            if (k.step == Press)
                QTest::keyPress(grid, k.key, k.modifiers);
            else
                QTest::keyRelease(grid, k.key, k.modifiers);
        }
        EXPECT_EQ(log.layouts, c.layouts);
    }
    EXPECT_EQ(log.stops, 0);
}

TEST_F(SourceListWindow, ClearingEmptiesTheListStopsThePreviewAndPutsTheMarkersAtTheEnds)
{
    fill({"/v/a.avi", "/v/b.avi"});
    controller->btnClearFileClick();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(log.stops, 1);
    EXPECT_EQ(log.fillerWidths, QList<int>({2}));
}

TEST_F(SourceListWindow, RowsDraggedAnywhereButOnTheGridAreRemoved)
{
    QWidget elsewhere(&window);
    struct Case {
        const char *what;
        const QObject *target;
        int rowsLeft;
    };
    const Case cases[] = {
        {"dropped back on the grid", grid->viewport(), 3},
        {"dropped on the grid's frame", grid, 3},
        {"dropped on another control", &elsewhere, 1},
        {"dropped on nothing", nullptr, 1},
    };
    for (const Case &c : cases) {
        model.clear();
        fill({"/v/a.avi", "/v/b.avi", "/v/c.avi"});
        focusRow(0);
        focusRow(2, QItemSelectionModel::Select);
        controller->view().dxTreeSourceFileInfoEndDrag(c.target);
        EXPECT_EQ(model.rowCount(), c.rowsLeft) << c.what;
    }
    EXPECT_EQ(names(), QStringList({"/v/b.avi"}));
}

TEST_F(SourceListWindow, GridTakesItsOwnRowsAndLeavesDroppedFilesToTheWindow)
{
    QMimeData rows;
    rows.setData(SourceListView::RowDragMimeType, "0");
    QDragEnterEvent ownRows(QPoint(5, 5), Qt::MoveAction, &rows, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &ownRows);
    EXPECT_TRUE(ownRows.isAccepted());

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/v/a.avi")});
    QDragEnterEvent fileDrag(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &fileDrag);
    EXPECT_FALSE(fileDrag.isAccepted());
}

TEST_F(SourceListWindow, DroppedFilesAreAddedWithoutTheBusyWindowAndTheFirstRowIsSelected)
{
    fill({"/v/already.avi"});
    const QStringList paths{MediaFixtures::path("two_seconds.avi"), MediaFixtures::path("random_bytes.avi"),
                            MediaFixtures::path("three_seconds.mp4")};
    QSignalSpy over(&controller->adder(), &SourceFileAdder::finished);
    controller->FilesDropped(paths);
    EXPECT_FALSE(controller->busyWindow().isVisible());
    ASSERT_TRUE(over.wait(60000));
    EXPECT_EQ(names(), QStringList({"/v/already.avi", paths[0], paths[2]}));
    EXPECT_EQ(reporter.shown, 1);
    EXPECT_EQ(selected(), QList<int>({0}));
    EXPECT_EQ(log.layouts, 1);
    EXPECT_TRUE(storedInitDirs.isEmpty());
}

TEST(InitFileForm, SpinnerTurnsOnceASecondThroughFourTexts)
{
    TFrmInitFileForm form;
    EXPECT_EQ(form.size(), QSize(273, 45));
    EXPECT_EQ(form.lblInfo->text(), "Installing File...");
    EXPECT_TRUE(form.lblInfo->font().bold());
    EXPECT_EQ(form.Timer1->interval(), 1000);
    EXPECT_EQ(form.Timer2->interval(), 300);
    EXPECT_TRUE(form.Timer2->isSingleShot());
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(form.windowModality(), Qt::ApplicationModal);
    QStringList texts;
    for (int i = 0; i < 5; ++i) {
        form.Timer1Timer();
        texts << form.lblInfo->text();
    }
    EXPECT_EQ(texts, QStringList({"Installing File...  /", "Installing File...  -", "Installing File...  \\",
                                  "Installing File...  |", "Installing File...  /"}));
}

// An adding that cannot even start (no thread for the measuring, say) closes the busy window
// and is shown like any failure that escapes a handler; nothing unwinds through the timer.
TEST(InitFileForm, AnAddingThatCannotStartClosesTheWindowAndIsShown)
{
    FakeMessageBoxes boxes;
    TFrmInitFileForm form;
    form.setAddOperation([](const QStringList &, std::function<void()>) {
        throw std::runtime_error("No thread is left for measuring the files.");
    });
    form.setHandlerGuard(ReportingFailuresIn(boxes));
    QSignalSpy finished(&form, &TFrmInitFileForm::finished);
    form.show();
    form.Timer2Timer(); // what the start timer runs 300 ms after showing
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(boxes.texts(), QStringList{"No thread is left for measuring the files."});
}

TEST_F(SourceListWindow, OpenShowsTheBusyWindowWhichAddsTheFilesAndClosesItself)
{
    const QString good = MediaFixtures::path("two_seconds.avi");
    QString askedFolder;
    controller->setFileChooser([&](const QString &folder, std::function<void(QStringList)> chosen) {
        askedFolder = folder;
        chosen({good, MediaFixtures::path("random_bytes.avi"), good});
    });
    QSignalSpy done(controller, &SourceListController::openFinished);
    controller->btnOpenFileClick();
    EXPECT_EQ(askedFolder, "/nowhere/");
    TFrmInitFileForm &busy = controller->busyWindow();
    EXPECT_TRUE(busy.isVisible());
    EXPECT_TRUE(busy.Timer1->isActive());
    EXPECT_EQ(model.rowCount(), 0) << "adding starts 300 ms after showing";
    ASSERT_TRUE(done.wait(60000));
    EXPECT_FALSE(busy.isVisible());
    EXPECT_FALSE(busy.Timer1->isActive());
    EXPECT_EQ(names(), QStringList({good}));
    EXPECT_EQ(reporter.shown, 1);
    EXPECT_EQ(storedInitDirs, QStringList({QFileInfo(good).absolutePath() + "/"}));
}

// Measuring waits here until the spinner has turned: a window thread busy with the files would
// never turn it, and the adding would not finish.
TEST_F(SourceListWindow, SpinnerKeepsTurningWhileFilesAreMeasured)
{
    QSemaphore spinnerTurned;
    controller->adder().setSizeFunction([&](const QString &path) {
        EXPECT_TRUE(spinnerTurned.tryAcquire(1, 60000));
        return QFileInfo(path).size();
    });
    TFrmInitFileForm &busy = controller->busyWindow();
    QStringList spinnerTexts;
    QObject::connect(busy.Timer1, &QTimer::timeout, busy.Timer1, [&] {
        spinnerTexts << busy.lblInfo->text();
        spinnerTurned.release();
    });
    controller->setFileChooser([](const QString &, std::function<void(QStringList)> chosen) {
        chosen({MediaFixtures::path("two_seconds.avi")});
    });
    QSignalSpy done(controller, &SourceListController::openFinished);
    controller->btnOpenFileClick();
    ASSERT_TRUE(done.wait(60000));
    ASSERT_FALSE(spinnerTexts.isEmpty());
    EXPECT_EQ(spinnerTexts.first(), "Installing File...  /");
    EXPECT_EQ(model.rowCount(), 1);
}

TEST_F(SourceListWindow, CancelledOpenAddsNothingAndKeepsInitDir)
{
    controller->setFileChooser([](const QString &, std::function<void(QStringList)> chosen) { chosen({}); });
    QSignalSpy done(controller, &SourceListController::openFinished);
    controller->btnOpenFileClick();
    ASSERT_TRUE(done.wait(10000));
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(storedInitDirs.isEmpty());
    EXPECT_FALSE(controller->busyWindow().isVisible());
}

TEST_F(SourceListWindow, OpenDialogTakesATypedPath)
{
    const QString good = MediaFixtures::path("three_seconds.mp4");
    initDir = QFileInfo(good).absolutePath() + "/";
    QSignalSpy done(controller, &SourceListController::openFinished);
    controller->btnOpenFileClick();
    QFileDialog *dialog = nullptr;
    ASSERT_EVENTUALLY((dialog = window.findChild<QFileDialog *>()) && dialog->isVisible());
    EXPECT_EQ(dialog->nameFilters(), SourceFileDialogFilters());
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(QDir(dialog->directory()).absolutePath(), QFileInfo(good).absolutePath());
    auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    dialog->activateWindow();
    name->setFocus();
    ASSERT_EVENTUALLY(name->hasFocus());
    QTest::keyClicks(name, good);
    EXPECT_EQ(dialog->selectedFiles(), QStringList({good}));
    auto *buttons = dialog->findChild<QDialogButtonBox *>("buttonBox");
    ASSERT_NE(buttons, nullptr);
    ASSERT_EVENTUALLY(buttons->button(QDialogButtonBox::Open)->isEnabled());
    buttons->button(QDialogButtonBox::Open)->click();
    ASSERT_TRUE(done.wait(60000));
    EXPECT_EQ(names(), QStringList({good}));
    EXPECT_EQ(storedInitDirs, QStringList({initDir}));
}

// The offscreen platform ends every drag at once with nothing under it, as a drop outside the
// program would: the press and move must start a drag of all the selected rows.
TEST_F(SourceListWindow, PressingASelectedRowAndMovingAwayDragsAllSelectedRows)
{
    fill({"/v/a.avi", "/v/b.avi", "/v/c.avi"});
    focusRow(0);
    focusRow(1, QItemSelectionModel::Select);
    QWidget *viewport = grid->viewport();
    const QPoint start = grid->visualRect(model.index(1, SourceRow::FileNameColumn)).center();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, start);
    EXPECT_EQ(selected(), QList<int>({0, 1})) << "pressing a selected row keeps the selection";
    QTest::mouseMove(viewport, start + QPoint(QApplication::startDragDistance() / 2, 0));
    EXPECT_EQ(model.rowCount(), 3) << "not yet a drag";
    QTest::mouseMove(viewport, start + QPoint(QApplication::startDragDistance() + 5, 0));
    EXPECT_EVENTUALLY_EQ(names(), QStringList({"/v/c.avi"}));
    EXPECT_EQ(log.stops, 1) << "as a click on the remove button";
}

// The check column's picture in the header ticks every row, or clears them all when all are
// ticked; the other captions change nothing.
TEST_F(SourceListWindow, TheHeaderCheckPictureTicksOrClearsEveryRow)
{
    fill({"/v/a.avi", "/v/b.avi", "/v/c.avi"});
    model.setChecked(model.item(1).id, false);
    QHeaderView *header = grid->header();
    const auto clickCaption = [header](int section) {
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    };
    const auto checks = [this] {
        QStringList out;
        for (const SourceItem &item : model.items())
            out << (item.checked ? "True" : "False");
        return out;
    };
    clickCaption(SourceRow::FileSizeColumn);
    EXPECT_EQ(checks(), QStringList({"True", "False", "True"}));
    clickCaption(SourceRow::CheckColumn);
    EXPECT_EQ(checks(), QStringList({"True", "True", "True"}));
    clickCaption(SourceRow::CheckColumn);
    EXPECT_EQ(checks(), QStringList({"False", "False", "False"}));
    clickCaption(SourceRow::CheckColumn);
    EXPECT_EQ(checks(), QStringList({"True", "True", "True"}));
}

// Rows leave room below the text for underscores above the grid line; the file-name cell,
// shortened in its middle, shows the whole path as its tip.
TEST_F(SourceListWindow, RowsFitTheirTextAndTheWholePathIsTheTip)
{
    const QString path = "/home/me/Videos/" + QString(80, u'x') + "/my_holiday_clip.avi";
    fill({path});
    const QModelIndex cell = model.index(0, SourceRow::FileNameColumn);
    EXPECT_GE(grid->visualRect(cell).height(), grid->fontMetrics().height() + 4);
    EXPECT_EQ(grid->model()->data(cell, Qt::ToolTipRole).toString(), path);
    EXPECT_FALSE(grid->model()->data(model.index(0, SourceRow::DurationColumn), Qt::ToolTipRole).isValid());
}

// A long path keeps its file name in view: only the folder part is shortened.
TEST(SourceGridFileNames, TheFolderPartIsShortenedAndTheNameKept)
{
    const QFontMetrics metrics(QApplication::font());
    const QString folder = QStringLiteral("/home/me/Videos/") + QString(60, u'f') + QStringLiteral("/");
    const QString name = QStringLiteral("holiday at the sea.avi");
    const int width = metrics.horizontalAdvance(name) + metrics.horizontalAdvance(QStringLiteral("/home/me/Vi"));
    struct Case {
        QString path;
        int width;
        QString startsWith;
        QString endsWith;
    };
    const Case cases[] = {
        {"/v/a.avi", width, "/v/a.avi", "/v/a.avi"},                      // fits: whole
        {folder + name, width, "/home", QStringLiteral("/") + name},       // the folder gives way
        {folder + QString(80, u'n') + ".avi", width, QStringLiteral("\u2026/n"), "n.avi"}, // a name too long itself
    };
    for (const Case &c : cases) {
        const QString shown = ElideFolderPart(c.path, metrics, c.width);
        EXPECT_TRUE(shown.startsWith(c.startsWith)) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(c.endsWith)) << shown.toStdString();
        EXPECT_LE(metrics.horizontalAdvance(shown), c.width) << shown.toStdString();
    }
}

// The header's check box shows whether all, some or none of the rows are checked.
TEST_F(SourceListWindow, TheHeaderCheckBoxShowsTheRowsState)
{
    const QAbstractItemModel *header = grid->header()->model();
    QSignalSpy changed(header, &QAbstractItemModel::headerDataChanged);
    const auto state = [&] { return header->headerData(SourceRow::CheckColumn, Qt::Horizontal, Qt::CheckStateRole); };
    const auto picture = [&] {
        return header->headerData(SourceRow::CheckColumn, Qt::Horizontal, Qt::DecorationRole).value<QPixmap>().toImage();
    };
    fill({"/v/a.avi", "/v/b.avi"});
    EXPECT_EQ(state(), Qt::Checked);
    const QImage ticked = picture();
    model.setChecked(model.item(0).id, false);
    EXPECT_EQ(state(), Qt::PartiallyChecked);
    const QImage partial = picture();
    model.setChecked(model.item(1).id, false);
    EXPECT_EQ(state(), Qt::Unchecked);
    EXPECT_NE(picture(), ticked);
    EXPECT_NE(picture(), partial);
    EXPECT_NE(partial, ticked);
    EXPECT_GE(changed.count(), 4) << "the header is told to repaint";
    model.clear();
    EXPECT_EQ(state(), Qt::Unchecked);
}

// The window's list-changing commands are undone and redone whole, the rows brought back
// selected, with the status line saying what was undone.
TEST_F(SourceListWindow, EveryCommandThatChangesTheListIsUndoneAndRedone)
{
    SourceListHistory history(model);
    controller->setHistory(&history);
    QSignalSpy status(controller, &SourceListController::statusMessage);
    struct Case {
        const char *label;
        std::function<void()> command;
        QList<int> selectedAfterUndo;
    };
    const Case cases[] = {
        {"Remove", [&] { controller->btnRemoveFileClick(); }, {1}},
        {"Remove", [&] { controller->dxTreeSourceFileInfoKeyDown(Qt::Key_Delete); }, {1}},
        {"Clear List", [&] { controller->btnClearFileClick(); }, {0, 1, 2}},
        {"Drag out", [&] { controller->view().dxTreeSourceFileInfoEndDrag(nullptr); }, {1}},
    };
    for (const Case &c : cases) {
        model.clear();
        fill({"/v/a.avi", "/v/b.avi", "/v/c.avi"});
        history.reset();
        focusRow(1);
        const QList<SourceItem> before = model.items();
        c.command();
        const QList<SourceItem> after = model.items();
        ASSERT_NE(after, before) << c.label;
        const int stopsBefore = log.stops;
        controller->undo();
        EXPECT_EQ(model.items(), before) << c.label;
        EXPECT_EQ(status.last().at(0).toString(), QStringLiteral("Undone: ") + c.label);
        EXPECT_EQ(selected(), c.selectedAfterUndo) << c.label << ": the rows brought back are selected";
        EXPECT_EQ(log.stops, stopsBefore + 1) << c.label;
        controller->redo();
        EXPECT_EQ(model.items(), after) << c.label;
        EXPECT_EQ(status.last().at(0).toString(), QStringLiteral("Redone: ") + c.label);
    }
    controller->redo();
    EXPECT_EQ(status.last().at(0).toString(), "Nothing to redo.");
}

// A dropped folder adds the videos of its whole tree as one step; one without a video is said
// in the status line.
TEST_F(SourceListWindow, ADroppedFolderTreeAddsAsOneStepAndAnEmptyOneIsSaid)
{
    SourceListHistory history(model);
    controller->setHistory(&history);
    QSignalSpy status(controller, &SourceListController::statusMessage);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("Week 10"));
    QDir().mkpath(dir.filePath("Week 2"));
    QDir().mkpath(dir.filePath("nothing"));
    QFile::copy(MediaFixtures::path("two_seconds.avi"), dir.filePath("Week 10/a.avi"));
    QFile::copy(MediaFixtures::path("three_seconds.mp4"), dir.filePath("Week 2/b.mp4"));
    QSignalSpy over(&controller->adder(), &SourceFileAdder::finished);
    controller->FilesDropped({dir.path(), dir.filePath("nothing")});
    ASSERT_TRUE(over.wait(60000));
    EXPECT_EQ(names(), QStringList({dir.filePath("Week 2/b.mp4"), dir.filePath("Week 10/a.avi")}));
    EXPECT_EQ(status.last().at(0).toString(),
              QStringLiteral("2 of 2 files added. No video in %1").arg(dir.filePath("nothing")));
    EXPECT_EQ(history.undo(), "Add");
    EXPECT_EQ(model.rowCount(), 0);
}

// Esc while a tree is added: no further file comes in; what came stays.
TEST_F(SourceListWindow, StoppingAnAddKeepsWhatCameIn)
{
    QTemporaryDir dir;
    for (int i = 0; i < 30; ++i)
        QFile::copy(MediaFixtures::path("two_seconds.avi"), dir.filePath(QStringLiteral("clip %1.avi").arg(i)));
    QSignalSpy status(controller, &SourceListController::statusMessage);
    QSignalSpy over(&controller->adder(), &SourceFileAdder::finished);
    QObject::connect(&model, &SourceListModel::rowsInserted, controller, [&] {
        if (model.rowCount() == 1)
            controller->cancelAdding();
    });
    controller->FilesDropped({dir.path()});
    ASSERT_TRUE(over.wait(60000));
    EXPECT_EQ(names(), QStringList{dir.filePath("clip 0.avi")});
    EXPECT_EQ(status.last().at(0).toString(), "Adding stopped: 1 of 30 files added.");
    EXPECT_TRUE(status.at(0).at(0).toString().startsWith("Adding files: 0 of 30")) << status.at(0).at(0).toString().toStdString();
}
