// Shows one of the program's secondary windows with sample content, so that scripts/screenshots
// can photograph windows that otherwise appear only in the middle of a task.
// Usage: kelvane_window_gallery progress|errorinfo
#include "app/widgets/SkinPictures.h"
#include "engine/ProgressRefresh.h"
#include "engine/widgets/ConvertingForm.h"
#include "media/widgets/CodeErrorForm.h"
#include "services/PlatformServices.h"

#include <QApplication>
#include <QScreen>

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

void fillProgress(TProgressRefresh &model)
{
    model.FormShow(QStringLiteral("/home/alex/Videos/Holiday in Lisbon.mp4"), 3);
    model.lblInfo = QStringLiteral("Converting  /");
    model.currentBar = {0, 184, 112};
    model.totalBar = {0, 300, 160};
    model.lblPersent = QStringLiteral("Current: 2 , Total: 3.");
    model.statState = QStringLiteral("size=    1804kB time=112.40 bitrate= 131.5kbits/s");
    Q_EMIT model.changed();
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
    std::unique_ptr<QWidget> window;
    if (which == QLatin1String("progress")) {
        auto *form = new TfrmConverting(model, boxes);
        const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
        form->setSkin(SkinPictures::load(QStringLiteral("progress_background"), ratio));
        form->tmrChanging.stop();
        window.reset(form);
        form->show();
        fillProgress(model);
    } else if (which == QLatin1String("errorinfo")) {
        window = std::make_unique<TFrmCodeErrorForm>(shell, nullptr);
        window->show();
    } else {
        return 2;
    }
    return QApplication::exec();
}
