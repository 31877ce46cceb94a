// The exported entry of libForm.so.
#include "AboutDialog.h"
#include "KelvaneCompanions.h"

#include <QApplication>
#include <QWidget>
#include <dlfcn.h>

namespace {

QString textOf(const char *utf8) { return utf8 ? QString::fromUtf8(utf8) : QString(); }

AboutTexts aboutTexts(const KelvaneAboutInfo &info)
{
    return {textOf(info.makerName),    textOf(info.productName),  textOf(info.productText2),
            textOf(info.version),      textOf(info.homePage),     textOf(info.supportEmail),
            textOf(info.productText7)};
}

QWidget *openAboutDialog()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(AboutDialogObjectName) && widget->isVisible())
            return widget;
    }
    return nullptr;
}

// The box outlives the call, and with it this library's code: keep the library loaded for good,
// whatever the caller does with its own handle.
void stayLoaded()
{
    Dl_info self{};
    if (dladdr(reinterpret_cast<void *>(&ShowAboutForm), &self) == 0 || self.dli_fname == nullptr)
        return;
    if (void *handle = dlopen(self.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE))
        dlclose(handle);
}

} // namespace

extern "C" KELVANE_COMPANION_EXPORT int ShowAboutForm(void *parentWindow, const KelvaneAboutInfo *info)
{
    if (info == nullptr || qobject_cast<QApplication *>(QCoreApplication::instance()) == nullptr)
        return 0;
    if (QWidget *open = openAboutDialog()) {
        open->raise();
        open->activateWindow();
        return 1;
    }
    stayLoaded();
    QObject *parentObject = static_cast<QObject *>(parentWindow);
    QDialog *dialog = createAboutDialog(aboutTexts(*info), qobject_cast<QWidget *>(parentObject));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    return 1;
}
