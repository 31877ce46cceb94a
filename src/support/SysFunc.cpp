#include "support/SysFunc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace {

QByteArray readSmallFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(4096);
}

// A zombie has ended; it only waits to be reaped.
bool isZombie(const QString &procDir)
{
    const QByteArray stat = readSmallFile(procDir + QStringLiteral("/stat"));
    const qsizetype close = stat.lastIndexOf(')');
    return close >= 0 && stat.size() > close + 2 && stat.at(close + 2) == 'Z';
}

// The names a process goes by: its short command name, the file name of its executable and
// the file name of its first argument.
QStringList processNames(const QString &procDir)
{
    QStringList names;
    names << QString::fromLocal8Bit(readSmallFile(procDir + QStringLiteral("/comm"))).trimmed();
    const QString exe = QFile::symLinkTarget(procDir + QStringLiteral("/exe"));
    if (!exe.isEmpty())
        names << QFileInfo(exe).fileName();
    const QByteArray cmdline = readSmallFile(procDir + QStringLiteral("/cmdline"));
    const QByteArray argv0 = cmdline.left(cmdline.indexOf('\0'));
    if (!argv0.isEmpty())
        names << QFileInfo(QString::fromLocal8Bit(argv0)).fileName();
    return names;
}

std::vector<pid_t> listedProcessIds()
{
    std::vector<pid_t> ids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool numeric = false;
        const int id = entry.toInt(&numeric);
        if (numeric && id > 0)
            ids.push_back(id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace

pid_t TSysFunc::FindProcessId(const QString &exeName)
{
    if (exeName.isEmpty())
        return 0;
    pid_t found = 0;
    for (const pid_t id : listedProcessIds()) {
        const QString dir = QStringLiteral("/proc/") + QString::number(id);
        if (processNames(dir).contains(exeName, Qt::CaseInsensitive) && !isZombie(dir))
            found = id;
    }
    return found;
}
