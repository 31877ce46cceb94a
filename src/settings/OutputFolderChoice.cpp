#include "settings/OutputFolderChoice.h"

#include "support/MessageBoxHelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {

constexpr int ProbeAttempts = 16;

QString probeName()
{
    return QStringLiteral(".kelvane-write-test-%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

std::optional<QString> acceptedFolder(IFolderBrowser &browser, IMessageBoxes &boxes)
{
    const std::optional<QString> chosen = browser.chooseFolder(QStringLiteral("Please select output folder:"));
    if (!chosen)
        return std::nullopt;
    if (chosen->isEmpty() || !QFileInfo(*chosen).isDir()) {
        ShowMessageBox(boxes, QStringLiteral("The path is invalid."), MessageKind::Warning);
        return std::nullopt;
    }
    if (!CanWriteInFolder(*chosen)) {
        ShowMessageBox(boxes, QStringLiteral("This is a read-only path."), MessageKind::Warning);
        return std::nullopt;
    }
    return chosen;
}

} // namespace

bool CanWriteInFolder(const QString &folder)
{
    QDir dir(folder);
    if (!dir.exists())
        return false;
    for (int attempt = 0; attempt < ProbeAttempts; ++attempt) {
        const QString name = probeName();
        if (dir.exists(name))
            continue;   // somebody else's entry: never touched
        if (!dir.mkdir(name))
            return false;
        dir.rmdir(name);
        return true;
    }
    return false;
}

QString ChooseOutputFolder(const QString &current, IFolderBrowser &browser, IMessageBoxes &boxes)
{
    const QString result = acceptedFolder(browser, boxes).value_or(current);
    if (!result.isEmpty() && !QFileInfo(result).isDir())
        QDir().mkpath(result);
    return result;
}
