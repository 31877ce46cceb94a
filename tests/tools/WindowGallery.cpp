// Shows one of the program's secondary windows with sample content, so that scripts/screenshots
// can photograph windows that otherwise appear only in the middle of a task.
// Usage: kelvane_window_gallery progress|progress-several|errorinfo|refused|grid|poweroff|notfound|question|warning|error|information
#include "skin/widgets/SkinPictures.h"
#include "skin/widgets/SkinStyle.h"
#include "engine/PowerOffCountdown.h"
#include "engine/ProgressRefresh.h"
#include "engine/widgets/ConvertingForm.h"
#include "engine/widgets/PowerOffForm.h"
#include "media/SourceListModel.h"
#include "media/widgets/CodeErrorForm.h"
#include "media/widgets/SourceFileDialog.h"
#include "media/widgets/SourceListView.h"
#include "platform/PlatformServices.h"
#include "platform/widgets/QtMessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QTreeView>

namespace {

class SilentBoxes final : public IMessageBoxes {
public:
    MessageAnswer show(const QString &, MessageIcon, MessageButtons) override { return MessageAnswer::No; }
    std::optional<QString> askText(const QString &, const QString &) override { return std::nullopt; }
};

class NoShell final : public IShellLauncher {
public:
    bool open(const QUrl &) override { return false; }
};

// Never powers anything off.
class NoPower final : public IPowerControl {
public:
    bool powerOff() override { return false; }
};

// The second of three items, 112 of its 184 seconds written, as the encoder's output leaves it.
void fillProgress(TProgressRefresh &model)
{
    const QString file = QStringLiteral("/home/alex/Videos/Holiday in Lisbon.mp4");
    model.FormShow(file, 3);
    model.itemStarted(1, 3, file);
    const TRefreshInputs inputs{1, 3, QStringLiteral("184"), file};
    model.HandleEncoderOutput(QStringLiteral("evc 1.0\n"), inputs);
    for (int chunk = 0; chunk < 2; ++chunk)
        model.HandleEncoderOutput(QStringLiteral("size=    1804kB time=112.40 bitrate= 131.5kbits/s\n"), inputs);
    model.tmrChangingTimer();
    model.tmrChangingTimer();
}

// Two files converting at once, the fifth and sixth of twelve.
void fillProgressSeveral(TProgressRefresh &model)
{
    const QString first = QStringLiteral("/home/alex/Videos/Holiday in Lisbon.mp4");
    const QString second = QStringLiteral("/home/alex/Videos/interview_take_2.mkv");
    model.FormShow(first, 12);
    model.fileStarted(4, first, QStringLiteral("184"), 4, 12);
    model.fileStarted(5, second, QStringLiteral("95"), 4, 12);
    model.fileOutput(4, QStringLiteral("size=    1804kB time=112.40 bitrate= 131.5kbits/s\n"), 4, 12);
    model.fileOutput(5, QStringLiteral("size=     610kB time=38.02 bitrate= 131.4kbits/s\n"), 4, 12);
    model.tmrChangingTimer();
    model.tmrChangingTimer();
}

// The source list with rows checked and not, selected and not.
std::unique_ptr<QWidget> sourceGrid(SourceListModel &model)
{
    const char *names[] = {"Holiday in Lisbon.mp4", "interview_take_2.mkv", "Concert.avi", "Birthday.mov"};
    for (int i = 0; i < 4; ++i)
    {
        SourceItem item = WholeFileItem(QStringLiteral("/home/alex/Videos/") + QLatin1String(names[i]),
                                        12 * 1024 * 1024 + 512 * 1024, 200 * 1000);
        item.checked = i % 2 == 0;
        model.appendItem(item);
    }
    auto grid = std::make_unique<QTreeView>();
    grid->setWindowTitle(QStringLiteral("Source list"));
    grid->resize(530, 140);
    SkinStyle::applyTo(grid.get());
    new SourceListView(grid.get(), model); // a child of the grid
    grid->selectionModel()->select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    grid->selectionModel()->select(model.index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    return grid;
}

// A message box of the kind `which` names, with a text of the length the program's boxes have.
std::unique_ptr<QWidget> messageBox(const QString &which)
{
    const std::pair<const char *, MessageIcon> kinds[] = {{"question", MessageIcon::Question},
                                                          {"warning", MessageIcon::Warning},
                                                          {"error", MessageIcon::Error},
                                                          {"information", MessageIcon::Information}};
    for (const auto &[name, icon] : kinds) {
        if (which == QLatin1String(name))
            return MakeMessageBox(QStringLiteral("The output folder does not exist.\nCreate it now?"), icon,
                                  icon == MessageIcon::Question ? MessageButtons::YesNoCancel : MessageButtons::Ok,
                                  nullptr);
    }
    return nullptr;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    SilentBoxes boxes;
    NoShell shell;
    TProgressRefresh model;
    SourceListModel rows;
    NoPower power;
    TPowerOffCountdown countdown(power, [](const QString &) {}, [](const QString &) {});
    std::unique_ptr<QWidget> window;
    if (which == QLatin1String("progress") || which == QLatin1String("progress-several")) {
        auto *form = new TfrmConverting(model, boxes);
        const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
        form->setSkin(SkinPictures::load(QStringLiteral("progress_background"), ratio));
        form->tmrChanging.stop();
        window.reset(form);
        form->show();
        if (which == QLatin1String("progress"))
            fillProgress(model);
        else
            fillProgressSeveral(model);
    } else if (which == QLatin1String("errorinfo")) {
        window = std::make_unique<TFrmCodeErrorForm>(shell, nullptr);
        window->show();
    } else if (which == QLatin1String("refused")) {
        // The files an add left out, one a decoder matter.
        window = std::make_unique<TFrmRefusedFilesForm>(
            shell, nullptr,
            QList<RefusedSourceFile>{{QStringLiteral("/home/alex/Videos/empty.avi"), SourceRefusal::Empty},
                                     {QStringLiteral("/home/alex/Videos/cut off.mp4"), SourceRefusal::Damaged},
                                     {QStringLiteral("/home/alex/Videos/odd.rm"), SourceRefusal::NoDecoder}});
        window->show();
    } else if (which == QLatin1String("grid")) {
        window = sourceGrid(rows);
        window->show();
    } else if (which == QLatin1String("poweroff")) {
        window = std::make_unique<TfrmPowerOff>(countdown);
        countdown.start();
    } else if (which == QLatin1String("notfound")) {
        // The open dialog's own message for a name that is not there.
        auto *dialog = new SourceFileDialog(nullptr, QDir::tempPath());
        window.reset(dialog);
        dialog->show();
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("holiday.avi"));
        QTimer::singleShot(300, dialog, [dialog] { dialog->accept(); });
    } else if ((window = messageBox(which))) {
        window->show();
    } else {
        return 2;
    }
    return QApplication::exec();
}
