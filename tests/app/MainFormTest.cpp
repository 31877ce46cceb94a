#include "app/widgets/MainForm.h"
#include "skin/widgets/PictureButton.h"
#include "skin/widgets/SkinPictures.h"
#include "common/Fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QTreeView>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

namespace {

const QString kProgramFolder = QStringLiteral("/opt/kelvane app/");

class MainFormTest : public ::testing::Test {
protected:
    FakeShellLauncher shell;
    int trimCalls = 0;
    std::unique_ptr<TFrmMainForm> form =
        std::make_unique<TFrmMainForm>(shell, kProgramFolder, [this] { ++trimCalls; });

    void showActive()
    {
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
};

TEST_F(MainFormTest, IsAFramelessWindowShapedByItsBackground)
{
    EXPECT_EQ(form->size(), QSize(692, 456));
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    const QRegion mask = form->mask();
    ASSERT_FALSE(mask.isEmpty());
    EXPECT_TRUE(mask.contains(QPoint(346, 228)));
    EXPECT_TRUE(mask.contains(QPoint(20, 0)));
    for (QPoint corner : {QPoint(0, 0), QPoint(691, 0), QPoint(0, 455), QPoint(691, 455)})
        EXPECT_FALSE(mask.contains(corner)) << corner.x() << "," << corner.y();
    EXPECT_GE(form->minimumWidth(), 686);
}

TEST(SkinnedWindowOutline, CutsThePixelsOfTheBottomLeftColour)
{
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    const QColor key(Qt::green);   // any colour can be the key: the bottom-left pixel decides
    picture.setPixelColor(0, 2, key);
    picture.setPixelColor(3, 0, key);
    const QRegion outline(SkinnedWindow::outlineOf(picture));
    EXPECT_FALSE(outline.contains(QPoint(0, 2)));
    EXPECT_FALSE(outline.contains(QPoint(3, 0)));
    EXPECT_TRUE(outline.contains(QPoint(1, 1)));
    EXPECT_TRUE(outline.contains(QPoint(0, 0)));
    EXPECT_EQ(outline.boundingRect(), QRect(0, 0, 4, 3));
}

struct HintRow {
    PictureButton *(TFrmMainForm::*button)() const;
    const char *hint;
};

TEST_F(MainFormTest, ButtonsCarryTheirHints)
{
    const HintRow rows[] = {
        {&TFrmMainForm::btnPlay, "Ctrl + P"},        {&TFrmMainForm::btnPause, "Ctrl + U"},
        {&TFrmMainForm::btnStop, "Ctrl + T"},        {&TFrmMainForm::btnOptions, "Ctrl + I"},
        {&TFrmMainForm::RzBmpButton1, "Ctrl + B"},   {&TFrmMainForm::btnSelectOutputFolder, "Ctrl + B"},
        {&TFrmMainForm::btnOpenFile, "Ctrl + O"},    {&TFrmMainForm::btnRemoveFile, "Ctrl + R"},
        {&TFrmMainForm::btnClearFile, "Ctrl + L"},   {&TFrmMainForm::btnConvert, "Ctrl + S"},
        {&TFrmMainForm::btnHomePage, "Visit the home page"}, {&TFrmMainForm::btnEMail, "Write to support"},
        {&TFrmMainForm::btnHelp, "Help (F1)"},       {&TFrmMainForm::btnAbout, "About Kelvane"},
        {&TFrmMainForm::btnWindowMinimize, "Minimize"}, {&TFrmMainForm::btnWindowClose, "Close"},
    };
    for (const HintRow &row : rows) {
        PictureButton *button = (form.get()->*row.button)();
        EXPECT_EQ(button->hint(), QString::fromLatin1(row.hint)) << button->objectName().toStdString();
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(row.hint));
        EXPECT_TRUE(button->text().isEmpty());
    }
    EXPECT_FALSE(form->btnSelectOutputFolder()->isVisibleTo(form.get()));
}

TEST_F(MainFormTest, CaptionsAndInitialStates)
{
    EXPECT_EQ(form->Label1()->text(), QStringLiteral("Shutdown computer when job is finished."));
    EXPECT_EQ(form->Label2()->text(), QStringLiteral("Show output directory when done"));
    EXPECT_EQ(form->Label3()->text(), QStringLiteral("Click here to download the coder"));
    EXPECT_EQ(form->lblTitle()->text(), QStringLiteral("Application name "));
    EXPECT_EQ(form->pnlCurTime()->text(), QStringLiteral("00:00:00"));
    EXPECT_FALSE(form->chkShutdown()->isChecked());
    EXPECT_TRUE(form->chkShowOutputDirectory()->isChecked());
    EXPECT_TRUE(form->edtOutputFolder()->isReadOnly());
    EXPECT_TRUE(form->chkShutdown()->text().isEmpty());

    // A click on a caption toggles its box.
    QTest::mouseClick(form->Label1(), Qt::LeftButton);
    EXPECT_TRUE(form->chkShutdown()->isChecked());
    QTest::mouseClick(form->Label2(), Qt::LeftButton);
    EXPECT_FALSE(form->chkShowOutputDirectory()->isChecked());
}

TEST_F(MainFormTest, ControlsSitAtTheirPlaces)
{
    EXPECT_EQ(form->DSVideoWindowEx1()->geometry(), QRect(26, 76, 253, 152));
    EXPECT_EQ(form->Panel1()->geometry(), QRect(22, 234, 260, 19));
    EXPECT_EQ(form->dxTreeSourceFileInfo()->geometry(), QRect(22, 292, 525, 138));
    EXPECT_EQ(form->cbbOutputFiletype()->geometry().topLeft(), QPoint(368, 133));
    EXPECT_EQ(form->cbbOutputFiletype()->width(), 297);
    EXPECT_EQ(form->cbbProfile()->width(), 217);
    EXPECT_EQ(form->btnConvert()->geometry(), QRect(555, 391, 110, 40));
    EXPECT_EQ(form->btnWindowClose()->geometry(), QRect(640, 28, 25, 25));
    EXPECT_EQ(form->btnHelp()->geometry(), QRect(565, 73, 48, 48));
}

// The captions left of the output selectors end at one edge and stay inside their panel.
TEST_F(MainFormTest, SettingsCaptionsStayInsideTheirPanel)
{
    for (const char *name : {"lblOutputFileTypeName", "lblProfileSettings", "lblOutputFolderInfo"}) {
        const auto *caption = form->findChild<QLabel *>(QLatin1String(name));
        ASSERT_NE(caption, nullptr) << name;
        EXPECT_GE(caption->x(), 293) << name;   // the panel's edge is at 292
        EXPECT_EQ(caption->geometry().right(), 362) << name;
        EXPECT_GE(caption->width(), caption->sizeHint().width()) << name; // the whole text shows
    }
}

// A press that stays put is a click: it never moves the window. A drag moves it, but only from
// the bare background, the status line on it or the title; never from a
// control, enabled or not, nor from a picture.
TEST_F(MainFormTest, OnlyADragOnTheBackgroundOrTheTitleMovesTheWindow)
{
    showActive();
    int moves = 0;
    form->setMoveStarter([&] { ++moves; });
    form->btnOptions()->setEnabled(false);
    form->btnConvert()->setEnabled(false);
    const int far = QApplication::startDragDistance() + 2;
    struct Case {
        const char *where;
        QWidget *widget;
        QPoint at;   // in the widget
        bool moves;
    };
    const Case cases[] = {
        {"background", form.get(), QPoint(360, 100), true},
        {"foot of the window", form.get(), QPoint(100, 446), true},
        {"title", form->lblTitle(), QPoint(200, 10), true},
        {"disabled Options", form->btnOptions(), QPoint(10, 10), false},
        {"disabled Convert", form->btnConvert(), QPoint(20, 20), false},
        {"timeline", form->Panel1(), QPoint(130, 9), false},
        {"video area", form->DSVideoWindowEx1(), QPoint(100, 70), false},
        {"status line", form->lblStatusLine(), form->lblStatusLine()->rect().center(), true},
        {"check box caption", form->Label1(), QPoint(10, 5), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.where);
        moves = 0;
        QTest::mousePress(c.widget, Qt::LeftButton, Qt::NoModifier, c.at);
        QTest::mouseRelease(c.widget, Qt::LeftButton, Qt::NoModifier, c.at);
        EXPECT_EQ(moves, 0) << "a click";

        QTest::mousePress(c.widget, Qt::LeftButton, Qt::NoModifier, c.at);
        QTest::mouseMove(c.widget, c.at + QPoint(1, 0)); // within the drag distance
        EXPECT_EQ(moves, 0);
        QTest::mouseMove(c.widget, c.at + QPoint(far, 0));
        QTest::mouseMove(c.widget, c.at + QPoint(2 * far, 0));
        QTest::mouseRelease(c.widget, Qt::LeftButton, Qt::NoModifier, c.at + QPoint(2 * far, 0));
        EXPECT_EQ(moves, c.moves ? 1 : 0) << "a drag";
    }
}

// A long status line is cut at its right end, so it begins as the text does; its tip holds it whole.
TEST_F(MainFormTest, TheStatusLineIsCutAtTheRightWithTheWholeTextInItsTip)
{
    showActive();
    ElidedLabel *line = form->lblStatusLine();
    const QString text = QStringLiteral("Stopped: 1 converted, 1 stopped, 2 not started. a rather long file name of a "
                                        "recording.mp4: converted, shorter than listed (14.5 s of 30 s).");
    line->setText(text);
    const QString shown = line->shownText();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(text.startsWith(shown.chopped(1))) << shown.toStdString();
    EXPECT_LE(line->fontMetrics().horizontalAdvance(shown), line->contentsRect().width());

    QHelpEvent tip(QEvent::ToolTip, line->rect().center(), line->mapToGlobal(line->rect().center()));
    QApplication::sendEvent(line, &tip);
    EXPECT_EQ(QToolTip::text(), text);
    QToolTip::hideText();

    line->setText(QStringLiteral("3 files converted, 0 failed."));
    EXPECT_EQ(line->shownText(), line->text());
}

// The layout table places every control by its name: one the table misses, or names wrongly,
// stays where a new control starts, in the window's corner.
TEST_F(MainFormTest, EveryControlHasItsPlace)
{
    for (const QWidget *control : form->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        EXPECT_NE(control->pos(), QPoint(0, 0)) << control->objectName().toStdString();
    EXPECT_EQ(form->panLogo()->geometry(), form->DSVideoWindowEx1()->rect());
    EXPECT_EQ(form->Label1()->pos(), form->chkShutdown()->pos() + QPoint(19, 1));
}

TEST_F(MainFormTest, ShortcutsThroughTheWindowFireOnceAndLeaveTheKeyToTheFocusedControl)
{
    showActive();
    QTreeView *grid = form->dxTreeSourceFileInfo();
    grid->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), grid);
    int keysSeenByGrid = 0;
    struct Counter : QObject {
        int &count;
        explicit Counter(int &c) : count(c) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() < Qt::Key_Shift)
                ++count;
            return false;
        }
    } counter(keysSeenByGrid);
    grid->installEventFilter(&counter);

    QSignalSpy open(form.get(), &TFrmMainForm::openFilesRequested);
    QSignalSpy convert(form.get(), &TFrmMainForm::convertRequested);
    QTest::keyClick(grid, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_O, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(grid, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(open.count(), 1);
    EXPECT_EQ(convert.count(), 1);
    EXPECT_EQ(keysSeenByGrid, 4);
}

// Every shortcut pressed on the shown window runs its command and no other; letters need Ctrl
// alone (the keypad's flag aside), F1 takes any modifiers, other keys run nothing.
TEST_F(MainFormTest, EveryShortcutRunsItsCommandAndNoOther)
{
    showActive();
    const std::pair<const char *, void (TFrmMainForm::*)()> commands[] = {
        {"open", &TFrmMainForm::openFilesRequested},     {"remove", &TFrmMainForm::removeFilesRequested},
        {"clear", &TFrmMainForm::clearFilesRequested},   {"options", &TFrmMainForm::optionsRequested},
        {"play", &TFrmMainForm::playRequested},          {"pause", &TFrmMainForm::pauseRequested},
        {"stop", &TFrmMainForm::stopRequested},          {"convert", &TFrmMainForm::convertRequested},
        {"folder", &TFrmMainForm::selectOutputFolderRequested}, {"about", &TFrmMainForm::aboutRequested},
    };
    std::vector<std::pair<QString, std::unique_ptr<QSignalSpy>>> spies;
    for (const auto &[name, signal] : commands)
        spies.emplace_back(QString::fromLatin1(name), std::make_unique<QSignalSpy>(form.get(), signal));
    const auto run = [&] {   // the commands run since the last look
        QStringList names;
        for (auto &[name, spy] : spies) {
            for (qsizetype i = 0; i < spy->count(); ++i)
                names << name;
            spy->clear();
        }
        for (qsizetype i = 0; i < shell.opened.size(); ++i)
            names << QStringLiteral("help");
        shell.opened.clear();
        return names.join(u' ');
    };
    const Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char *command;
    } presses[] = {
        {Qt::Key_O, Ctrl, "open"},     {Qt::Key_R, Ctrl, "remove"},  {Qt::Key_L, Ctrl, "clear"},
        {Qt::Key_I, Ctrl, "options"},  {Qt::Key_P, Ctrl, "play"},    {Qt::Key_U, Ctrl, "pause"},
        {Qt::Key_T, Ctrl, "stop"},     {Qt::Key_S, Ctrl, "convert"}, {Qt::Key_N, Ctrl, "convert"},
        {Qt::Key_B, Ctrl, "folder"},   {Qt::Key_F1, Qt::NoModifier, "help"}, {Qt::Key_F1, Ctrl, "help"},
        {Qt::Key_F1, Qt::ShiftModifier | Qt::AltModifier, "help"},
        {Qt::Key_O, Ctrl | Qt::KeypadModifier, "open"},
        {Qt::Key_O, Ctrl | Qt::ShiftModifier, ""},  {Qt::Key_O, Ctrl | Qt::AltModifier, ""},
        {Qt::Key_S, Ctrl | Qt::MetaModifier, ""},   {Qt::Key_O, Qt::NoModifier, ""},
        {Qt::Key_O, Qt::ShiftModifier, ""},         {Qt::Key_X, Ctrl, ""},
        {Qt::Key_A, Ctrl, ""},                      {Qt::Key_F2, Qt::NoModifier, ""},
    };
    for (const auto &press : presses) {
        QTest::keyClick(form.get(), press.key, press.modifiers);
        EXPECT_EQ(run(), QString::fromLatin1(press.command))
            << QKeySequence(QKeyCombination(press.modifiers, press.key)).toString().toStdString();
    }
}

TEST_F(MainFormTest, ShortcutsReachDisabledAndHiddenButtons)
{
    showActive();
    form->btnOptions()->setEnabled(false);
    QSignalSpy options(form.get(), &TFrmMainForm::optionsRequested);
    QSignalSpy folder(form.get(), &TFrmMainForm::selectOutputFolderRequested);
    QTest::keyClick(form.get(), Qt::Key_I, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(options.count(), 1);
    EXPECT_EQ(folder.count(), 1);
}

TEST_F(MainFormTest, ButtonsEmitTheirCommands)
{
    QSignalSpy convert(form.get(), &TFrmMainForm::convertRequested);
    QSignalSpy folder(form.get(), &TFrmMainForm::selectOutputFolderRequested);
    QSignalSpy about(form.get(), &TFrmMainForm::aboutRequested);
    QSignalSpy play(form.get(), &TFrmMainForm::playRequested);
    form->btnConvert()->click();
    form->RzBmpButton1()->click();
    form->btnAbout()->click();
    form->btnPlay()->click();
    EXPECT_EQ(convert.count(), 1);
    EXPECT_EQ(folder.count(), 1);
    EXPECT_EQ(about.count(), 1);
    EXPECT_EQ(play.count(), 1);
    EXPECT_TRUE(shell.opened.isEmpty());
}

TEST_F(MainFormTest, LinksGoToTheShell)
{
    form->setHomePage(QStringLiteral("https://kelvane.org/"));
    form->setSupportEmail(QStringLiteral("support@kelvane.org"));
    shell.result = false;   // failures stay silent
    form->btnHomePage()->click();
    form->btnEMail()->click();
    form->btnHelp()->click();
    QTest::mouseClick(form->Label3(), Qt::LeftButton);
    form->setSupportEmail(QString());
    form->btnEMail()->click();

    const QList<QUrl> expected = {
        QUrl(QStringLiteral("https://kelvane.org/")),
        QUrl(QStringLiteral("mailto:support@kelvane.org")),
        QUrl::fromLocalFile(QStringLiteral("/opt/kelvane app/Help.chm")),
        QUrl(form->codecDownloadAddress()),
        QUrl(QStringLiteral("mailto:")),
    };
    EXPECT_EQ(shell.opened, expected);
    EXPECT_TRUE(form->codecDownloadAddress().startsWith(QStringLiteral("https://")));
}

TEST_F(MainFormTest, F1OpensHelpWithAnyModifiers)
{
    showActive();
    QTest::keyClick(form.get(), Qt::Key_F1);
    QTest::keyClick(form.get(), Qt::Key_F1, Qt::ControlModifier);
    const QUrl help = QUrl::fromLocalFile(kProgramFolder + QStringLiteral("Help.chm"));
    EXPECT_EQ(shell.opened, QList<QUrl>({help, help}));
}

TEST_F(MainFormTest, MemoryTrimRunsEverySecond)
{
    QTimer *timer = form->tmrClearMemory();
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_TRUE(timer->isActive());
    QSignalSpy ticks(timer, &QTimer::timeout);
    ASSERT_TRUE(ticks.wait(5000));
    EXPECT_GE(trimCalls, 1);
}

TEST_F(MainFormTest, CloseAnnouncesItselfAndMinimizeMinimizes)
{
    showActive();
    form->btnWindowMinimize()->click();
    EXPECT_TRUE(form->windowState() & Qt::WindowMinimized);
    form->showNormal();
    QSignalSpy closing(form.get(), &TFrmMainForm::closing);
    form->btnWindowClose()->click();
    EXPECT_EQ(closing.count(), 1);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainFormTest, DroppedLocalFilesLeaveAsOneSignal)
{
    form->setAcceptDrops(true);
    QSignalSpy dropped(form.get(), &TFrmMainForm::filesDropped);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/videos/a b.avi"), QUrl("https://example.org/c.avi"),
                  QUrl::fromLocalFile("/videos/d.mp4")});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &drop);
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped.at(0).at(0).toStringList(), QStringList({"/videos/a b.avi", "/videos/d.mp4"}));

    QMimeData text;
    text.setText("not a file");
    QDragEnterEvent refused(QPoint(100, 100), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.ignore();
    QApplication::sendEvent(form.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

} // namespace

namespace {

// Every picture button of the window has its three pictures, at 1x and 2x, of the button's size.
TEST(MainFormSkin, EveryPictureButtonHasAllItsPictures)
{
    FakeShellLauncher shell;
    TFrmMainForm form(shell, QStringLiteral("/tmp/"), [] {});
    const QList<PictureButton *> buttons = form.findChildren<PictureButton *>();
    ASSERT_EQ(buttons.size(), 16);
    for (PictureButton *button : buttons) {
        for (const char *state : {"_up", "_hot", "_down"}) {
            const QString name = button->pictureName() + QLatin1String(state);
            const QPixmap normal = SkinPictures::load(name, 1.0);
            const QPixmap sharp = SkinPictures::load(name, 2.0);
            EXPECT_EQ(normal.size(), button->size()) << name.toStdString();
            EXPECT_EQ(sharp.size(), button->size() * 2) << name.toStdString();
            EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
        }
    }
    EXPECT_EQ(SkinPictures::image(QStringLiteral("main_background")).size(), QSize(692, 456));
    EXPECT_EQ(SkinPictures::image(QStringLiteral("progress_background")).size(), QSize(435, 222));
    EXPECT_EQ(SkinPictures::image(QStringLiteral("busy_background")).size(), QSize(273, 45));
}

} // namespace
