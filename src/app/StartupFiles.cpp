#include "app/StartupFiles.h"

#include <QDir>
#include <QUrl>

namespace {

const QLatin1String NewWindowOption("--new-window");
const QLatin1String EndOfOptions("--");

} // namespace

QStringList StartupFiles(const QStringList &arguments, const QString &currentFolder)
{
    const QDir current(currentFolder);
    QStringList files;
    bool options = true;
    for (const QString &argument : arguments) {
        if (argument == EndOfOptions)
            options = false;
        if (argument.isEmpty() || argument == EndOfOptions || (options && argument == NewWindowOption))
            continue;
        QString path = argument;
        if (argument.startsWith(QLatin1String("file:")) || argument.contains(QLatin1String("://"))) {
            const QUrl url(argument);
            if (!url.isLocalFile())
                continue;
            path = url.toLocalFile();
        }
        files << QDir::cleanPath(current.absoluteFilePath(path));
    }
    return files;
}

bool WantsNewWindow(const QStringList &arguments)
{
    const qsizetype end = arguments.indexOf(EndOfOptions);
    return arguments.mid(0, end < 0 ? arguments.size() : end).contains(NewWindowOption);
}
