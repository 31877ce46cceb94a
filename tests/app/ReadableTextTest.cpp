// Every text of every window, dialog and context menu of the program can be read: the contrast
// between the colour its letters are painted in and the colour painted behind them is at least
// 4.5:1 (WCAG AA). The colours are read from the window as it is painted: each text is painted
// once as it is and once blanked, and the pixels that differ are its letters over their
// background. Cells and header captions of lists, which can't be blanked, and captions that are
// part of a button's picture are read from their pixels: the colour most of the cell shows is the
// background, the one farthest from it the text.
#include "app/widgets/AppWindows.h"
#include "app/widgets/MainForm.h"
#include "common/EventuallyTrue.h"
#include "common/Fakes.h"
#include "common/TestPaths.h"
#include "engine/PowerOffCountdown.h"
#include "engine/widgets/ConvertingForm.h"
#include "engine/widgets/PowerOffForm.h"
#include "media/widgets/CodeErrorForm.h"
#include "media/widgets/SourceFileDialog.h"
#include "media/widgets/VideoWindow.h"
#include "media/widgets/TimelinePanel.h"
#include "platform/widgets/QtMessageBoxes.h"
#include "settings/widgets/OptionForm.h"
#include "skin/widgets/PictureButton.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr double Least = 4.5;

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(QRgb colour)
{
    return 0.2126 * channel(qRed(colour)) + 0.7152 * channel(qGreen(colour)) + 0.0722 * channel(qBlue(colour));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QString describe(const QWidget *widget, const QString &text)
{
    const QString name = widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                                        : widget->objectName();
    return QStringLiteral("%1 \"%2\"").arg(name, text.left(40));
}

// The texts of one window read so far, and those too faint.
class Reader {
public:
    explicit Reader(QString window) : m_window(std::move(window)) {}

    void expect(const QString &what, double ratio)
    {
        ++m_read;
        if (ratio < Least)
            m_faint << QStringLiteral("%1: %2 in %3").arg(QString::number(ratio, 'f', 2), what, m_window);
    }
    int read() const { return m_read; }
    const QStringList &faint() const { return m_faint; }

private:
    QString m_window;
    int m_read = 0;
    QStringList m_faint;
};

// The highest contrast between the pixels of `area` that differ in the two pictures: the letters
// over what is painted behind them. 1 when nothing differs (the text is not painted at all).
double lettersContrast(const QImage &shown, const QImage &blank, const QRect &area)
{
    double best = 1;
    const QRect inside = area & shown.rect() & blank.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (shown.pixel(x, y) != blank.pixel(x, y))
                best = std::max(best, contrast(shown.pixel(x, y), blank.pixel(x, y)));
    return best;
}

// The contrast between the colour most of `area` shows and the one farthest from it.
double sampledContrast(const QImage &image, const QRect &area)
{
    QHash<QRgb, int> counts;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[image.pixel(x, y)];
    if (counts.isEmpty())
        return 1;
    QRgb background = counts.constBegin().key();
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        if (it.value() > counts.value(background))
            background = it.key();
    double best = 1;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        best = std::max(best, contrast(it.key(), background));
    return best;
}

QImage picture(QWidget *window) { return window->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// A widget's text and a way to set it.
struct Blankable {
    QString text;
    std::function<void(const QString &)> set;
};

std::optional<Blankable> blankableText(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return Blankable{label->text(), [label](const QString &t) { label->setText(t); }};
    if (qobject_cast<PictureButton *>(widget))
        return std::nullopt; // its caption is part of its picture
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return Blankable{button->text(), [button](const QString &t) { button->setText(t); }};
    if (auto *box = qobject_cast<QGroupBox *>(widget))
        return Blankable{box->title(), [box](const QString &t) { box->setTitle(t); }};
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return Blankable{edit->text(), [edit](const QString &t) { edit->setText(t); }};
    if (auto *bar = qobject_cast<QProgressBar *>(widget); bar && bar->isTextVisible())
        return Blankable{bar->format(), [bar](const QString &t) { bar->setFormat(t); }};
    if (auto *combo = qobject_cast<QComboBox *>(widget); combo && !combo->isEditable() && combo->currentIndex() >= 0)
        return Blankable{combo->currentText(), [combo](const QString &t) { combo->setItemText(combo->currentIndex(), t); }};
    return std::nullopt;
}

QRect areaIn(QWidget *window, QWidget *widget) { return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size()); }

void readCells(Reader &reader, QWidget *window, const QImage &shown, QAbstractItemView *view)
{
    const QAbstractItemModel *model = view->model();
    if (!model)
        return;
    QWidget *viewport = view->viewport();
    for (int row = 0; row < model->rowCount(); ++row)
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            const QString text = index.data().toString();
            const QRect cell = view->visualRect(index) & viewport->rect();
            if (text.isEmpty() || cell.isEmpty())
                continue;
            reader.expect(describe(view, text), sampledContrast(shown, cell.translated(viewport->mapTo(window, QPoint(0, 0)))));
        }
    auto *tree = qobject_cast<QTreeView *>(view);
    if (!tree || tree->isHeaderHidden())
        return;
    QHeaderView *header = tree->header();
    for (int section = 0; section < header->count(); ++section) {
        const QString text = header->model()->headerData(section, Qt::Horizontal).toString();
        // A caption's picture stands left of it.
        const bool pictured = header->model()->headerData(section, Qt::Horizontal, Qt::DecorationRole).isValid();
        const int picture = pictured ? header->style()->pixelMetric(QStyle::PM_SmallIconSize) + 6 : 0;
        const QRect caption(header->sectionViewportPosition(section) + picture, 0,
                            header->sectionSize(section) - picture, header->height());
        if (text.isEmpty() || header->isSectionHidden(section) || (caption & header->viewport()->rect()).isEmpty())
            continue;
        reader.expect(describe(header, text),
                      sampledContrast(shown, caption.translated(header->viewport()->mapTo(window, QPoint(0, 0)))));
    }
}

// Reads every visible text of `window`.
QStringList readWindow(const QString &name, QWidget *window)
{
    Reader reader(name);
    const QImage shown = picture(window);
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *widget : widgets) {
        if (!widget->isVisibleTo(window) && widget != window)
            continue;
        if (qobject_cast<QHeaderView *>(widget))
            continue; // read with its list
        if (auto *view = qobject_cast<QAbstractItemView *>(widget)) {
            readCells(reader, window, shown, view);
            continue;
        }
        const std::optional<Blankable> text = blankableText(widget);
        if (!text || text->text.trimmed().isEmpty() || widget->size().isEmpty())
            continue;
        text->set(QString());
        const QImage blank = picture(window);
        text->set(text->text);
        const QRect area = areaIn(window, widget);
        // A caption that blanking leaves as it was is part of the widget's picture: read from it.
        const bool painted = lettersContrast(shown, blank, area) > 1 || shown.copy(area) != blank.copy(area);
        reader.expect(describe(widget, text->text),
                      painted ? lettersContrast(shown, blank, area) : sampledContrast(shown, area));
    }
    EXPECT_GT(reader.read(), 0) << name.toStdString() << ": no text read";
    return reader.faint();
}

// Reads every item of an open menu, at rest and under the mouse.
QStringList readMenu(const QString &name, QMenu *menu)
{
    Reader reader(name);
    const QSize size = menu->size();
    menu->setFixedSize(size); // a blanked item must not make the menu narrower
    for (bool hovered : {false, true}) {
        for (QAction *action : menu->actions()) {
            if (action->isSeparator() || !action->isVisible() || action->text().isEmpty())
                continue;
            menu->setActiveAction(hovered ? action : nullptr);
            const QImage shown = picture(menu);
            const QString text = action->text();
            action->setText(QString());
            const QImage blank = picture(menu);
            action->setText(text);
            reader.expect(QStringLiteral("menu item \"%1\"%2").arg(text, hovered ? " under the mouse" : ""),
                          lettersContrast(shown, blank, menu->actionGeometry(action)));
        }
    }
    menu->setActiveAction(nullptr);
    menu->setMinimumSize(0, 0);
    menu->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    EXPECT_GT(reader.read(), 0) << name.toStdString() << ": no item read";
    QStringList faint = reader.faint();
    for (QAction *action : menu->actions()) {
        if (QMenu *submenu = action->menu(); submenu && action->isEnabled() && !submenu->actions().isEmpty()) {
            submenu->popup(menu->mapToGlobal(menu->actionGeometry(action).topRight()));
            faint << readMenu(name + QStringLiteral(" > ") + action->text(), submenu);
            submenu->close();
        }
    }
    return faint;
}

// Opens `widget`'s context menu as a right click does and reads it while it is open.
QStringList readContextMenu(const QString &name, QWidget *widget, QPoint at)
{
    QStringList faint;
    bool read = false;
    QObject waiting; // takes the reading away with it should no menu wait for it
    QTimer::singleShot(0, &waiting, [&] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            faint = readMenu(name, menu);
            read = true;
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget()); menu && !read) {
        faint = readMenu(name, menu); // a menu that does not wait for its answer
        read = true;
        menu->close();
    }
    EXPECT_TRUE(read) << name.toStdString() << ": no menu opened";
    return faint;
}

class ReadableText : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const QString name : {"kelvane", "libForm.so", "libRes.so"})
            ASSERT_TRUE(QFile::copy(builtProgramFolder() + name, folder + name)) << name.toStdString();
        windows = std::make_unique<AppWindows>(folder, folder + QStringLiteral("kelvane"),
                                               DesktopServices{boxes, shell, power, folders, clock});
        QSignalSpy shown(windows.get(), &AppWindows::mainWindowShown);
        windows->start();
        ASSERT_TRUE(shown.wait(30000));
        SourceItem item = WholeFileItem(QStringLiteral("/home/alex/Videos/Holiday in Lisbon.mp4"), 12 << 20, 200'000);
        item.audioTracks = {{1, "eng", "", "aac", 2, 48000, true}, {2, "eng", "Director's commentary", "mp3", 1, 44100, false}};
        windows->sources().appendItem(item);
        item.path = QStringLiteral("/home/alex/Videos/interview_take_2.mkv");
        item.checked = false;
        windows->sources().appendItem(item);
        form().dxTreeSourceFileInfo()->selectionModel()->select(
            windows->sources().index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    TFrmMainForm &form() const { return windows->mainForm(); }

    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/");
    FakeMessageBoxes boxes;
    FakeShellLauncher shell;
    FakePowerControl power;
    FakeFolderBrowser folders;
    FixedClock clock;
    std::unique_ptr<AppWindows> windows;
};

} // namespace

TEST_F(ReadableText, EveryTextInEveryWindowAndMenuStandsOutFromItsBackground)
{
    QStringList faint;
    faint << readWindow("the main window", &form());

    windows->optionForm().show();
    faint << readWindow("Options", &windows->optionForm());
    windows->optionForm().hide();

    windows->convertingForm().show();
    faint << readWindow("the progress window", &windows->convertingForm());
    windows->convertingForm().hide();

    TPowerOffCountdown countdown(power, [](const QString &) {}, [](const QString &) {});
    TfrmPowerOff powerOff(countdown, &form());
    powerOff.show();
    faint << readWindow("the power-off countdown", &powerOff);

    TFrmCodeErrorForm errorInfo(shell, &form(), QStringLiteral("/home/alex/Videos/odd.rm"));
    errorInfo.show();
    faint << readWindow("Error Info", &errorInfo);

    TFrmRefusedFilesForm refused(shell, &form(), {{QStringLiteral("/home/alex/Videos/empty.avi"), SourceRefusal::Empty},
                                                  {QStringLiteral("/home/alex/Videos/odd.rm"), SourceRefusal::NoDecoder}});
    refused.show();
    faint << readWindow("the refused files", &refused);

    for (const MessageIcon icon : {MessageIcon::Question, MessageIcon::Warning, MessageIcon::Error, MessageIcon::Information}) {
        const std::unique_ptr<QMessageBox> box = MakeMessageBox(QStringLiteral("The output folder does not exist.\nCreate it now?"),
                                                                icon, MessageButtons::YesNoCancel, &form());
        box->show();
        faint << readWindow("a message box", box.get());
    }
    const std::unique_ptr<QInputDialog> question = MakeTextQuestion(QStringLiteral("Profile name:"), QStringLiteral("Alpha"), &form());
    question->show();
    faint << readWindow("the question for a name", question.get());

    SourceFileDialog open(&form(), QDir::tempPath());
    open.show();
    faint << readWindow("the open dialog", &open);
    open.hide();

    QTreeView *grid = form().dxTreeSourceFileInfo();
    const QPoint row = grid->visualRect(windows->sources().index(0, 1)).center();
    faint << readContextMenu("the row menu", grid->viewport(), row);
    faint << readContextMenu("the video window's menu", form().DSVideoWindowEx1(), form().DSVideoWindowEx1()->rect().center());
    faint << readContextMenu("the timeline's menu", form().Panel1(), form().Panel1()->rect().center());

    EXPECT_TRUE(faint.isEmpty()) << "texts under " << Least << ":1\n" << faint.join('\n').toStdString();
}
