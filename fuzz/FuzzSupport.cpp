#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

const QString &scratchFolder()
{
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/kelvane-fuzz-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/kelvane-fuzz-XXXXXX"));
    static const QString path = dir.path() + QLatin1Char('/');
    return path;
}

void writeBytes(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size)) {
        std::fprintf(stderr, "cannot write the scratch file %s\n", qPrintable(path));
        std::abort();
    }
}

void keepRecentInput(const uint8_t *data, size_t size)
{
    static const QString folder = qEnvironmentVariable("KELVANE_FUZZ_RECENT");
    static unsigned next = 0;
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    writeBytes(folder + QStringLiteral("/%1").arg(next++ % 256), data, size);
}

void expectationFailed(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: expected %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}
