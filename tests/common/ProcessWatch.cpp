#include "common/ProcessWatch.h"

#include <QDir>
#include <QFile>

#include <dirent.h>
#include <unistd.h>

namespace {

// The targets of a process's open files, as /proc names them.
QStringList openFilesOf(const QString &pid)
{
    QStringList targets;
    const QByteArray folder = "/proc/" + pid.toLatin1() + "/fd";
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return targets;
    while (const dirent *entry = ::readdir(dir)) {
        char target[4096];
        const QByteArray link = folder + '/' + entry->d_name;
        const ssize_t size = ::readlink(link.constData(), target, sizeof target);
        if (size > 0)
            targets << QFile::decodeName(QByteArray(target, size));
    }
    ::closedir(dir);
    return targets;
}

} // namespace

QList<pid_t> ProcessesWritingInto(const QString &folder)
{
    const QString prefix = QDir(folder).absolutePath() + QLatin1Char('/');
    QList<pid_t> found;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (pid.toInt() <= 0)
            continue;
        for (const QString &target : openFilesOf(pid)) {
            // An unnamed file shows as "<folder>/#<inode> (deleted)".
            if (target.startsWith(prefix) && !target.mid(prefix.size()).contains(QLatin1Char('/'))) {
                found << static_cast<pid_t>(pid.toInt());
                break;
            }
        }
    }
    return found;
}

bool ProcessRuns(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype nameEnd = line.lastIndexOf(')');
    return nameEnd >= 0 && line.mid(nameEnd + 2, 1) != "Z";
}

QStringList FolderListing(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}
