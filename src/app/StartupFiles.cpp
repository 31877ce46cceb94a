#include "app/StartupFiles.h"

#include <QDir>
#include <QUrl>

QStringList StartupFiles(const QStringList &arguments, const QString &currentFolder)
{
    const QDir current(currentFolder);
    QStringList files;
    for (const QString &argument : arguments) {
        if (argument.isEmpty() || argument == QLatin1String("--"))
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
