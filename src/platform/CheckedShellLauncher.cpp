#include "platform/CheckedShellLauncher.h"

#include "platform/DesktopHandlers.h"

#include <QFileInfo>

namespace {

bool isCompiledHelp(const QUrl &url)
{
    return url.isLocalFile() && url.toLocalFile().endsWith(QLatin1String(".chm"), Qt::CaseInsensitive);
}

bool isMissingFile(const QUrl &url)
{
    return url.isLocalFile() && !QFileInfo::exists(url.toLocalFile());
}

} // namespace

QString HelpPagesFor(const QString &compiledHelpPath)
{
    const QFileInfo help(compiledHelpPath);
    if (help.suffix().compare(QLatin1String("chm"), Qt::CaseInsensitive) != 0 || help.completeBaseName().isEmpty())
        return {};
    return help.path() + QLatin1Char('/') + help.completeBaseName() + QStringLiteral("/index.html");
}

QString CannotOpenMessage(const QUrl &url)
{
    if (url.scheme() == QLatin1String("mailto")) {
        const QString address = url.path();
        if (!address.isEmpty())
            return QStringLiteral("No mail program could be opened. Please write to:\n\n%1").arg(address);
    }
    if (!url.isLocalFile())
        return QStringLiteral("The page could not be opened. Please copy its address into your web browser:\n\n%1")
            .arg(url.toString());
    const QString path = url.toLocalFile();
    if (!QFileInfo::exists(path))
        return QStringLiteral("This file is not found:\n\n%1").arg(path);
    if (QFileInfo(path).isDir())
        return QStringLiteral("No program could open the folder. You find it here:\n\n%1").arg(path);
    return QStringLiteral("No program could open the file. You find it here:\n\n%1").arg(path);
}

CheckedShellLauncher::CheckedShellLauncher(IShellLauncher &shell, const IDesktopHandlers &handlers,
                                           IMessageBoxes &boxes)
    : m_shell(shell), m_handlers(handlers), m_boxes(boxes)
{
}

// Help.chm without a program for it: its HTML pages, when they are there.
QUrl CheckedShellLauncher::standInFor(const QUrl &url) const
{
    if (!isCompiledHelp(url) || (!isMissingFile(url) && m_handlers.canOpen(url)))
        return url;
    const QString pages = HelpPagesFor(url.toLocalFile());
    return QFileInfo::exists(pages) ? QUrl::fromLocalFile(pages) : url;
}

bool CheckedShellLauncher::open(const QUrl &url)
{
    const QUrl target = standInFor(url);
    if (!isMissingFile(target) && m_handlers.canOpen(target) && m_shell.open(target))
        return true;
    m_boxes.show(CannotOpenMessage(target), MessageIcon::Warning, MessageButtons::Ok);
    return false;
}
