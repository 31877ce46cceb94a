#include "support/FileFunc.h"

#include "support/Platform.h"
#include "support/StrFunc.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace {

const QChar separator(Platform::PathSeparator);

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(separator) + 1);
}

// Position of the dot that starts the extension of `name`, or -1. A leading dot
// (".hidden") starts the name, not an extension.
qsizetype extensionDot(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? dot : -1;
}

} // namespace

QString TFileFunc::FileFolder(const QString &path)
{
    const qsizetype at = path.lastIndexOf(separator);
    return at < 0 ? QString() : path.left(at + 1);
}

QString TFileFunc::FileBaseName(const QString &path)
{
    const QString name = fileNameOf(path);
    const qsizetype dot = extensionDot(name);
    return dot < 0 ? name : name.left(dot);
}

QString TFileFunc::FileExtension(const QString &path)
{
    const QString name = fileNameOf(path);
    const qsizetype dot = extensionDot(name);
    return dot < 0 ? QString() : name.mid(dot);
}

QStringList TFileFunc::ListFolderFiles(const QString &folder, const QString &extension)
{
    const QDir dir(folder);
    const QStringList names =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    QStringList paths;
    for (const QString &name : names) {
        if (extension.isEmpty() || FileExtension(name) == extension)
            paths << Platform::withTrailingSeparator(folder) + name;
    }
    return paths;
}

QString TFileFunc::UniqueFileName(const QString &path)
{
    m_requestedBaseName = FileBaseName(path);
    const QString folder = FileFolder(path);
    const QString extension = FileExtension(path);

    // Base names compare without regard to letter case, so no existing file is overwritten,
    // also on case-insensitive volumes.
    QSet<QString> taken;
    for (const QString &entry : ListFolderFiles(folder))
        taken.insert(FileBaseName(entry).toCaseFolded());

    const auto isTaken = [&](const QString &baseName) {
        return taken.contains(baseName.toCaseFolded()) || m_reserved.contains(reservationKey(folder, baseName));
    };
    QString candidate = m_requestedBaseName;
    for (int suffix = 1; isTaken(candidate); ++suffix)
        candidate = m_requestedBaseName + QLatin1Char('_') + QString::number(suffix);
    return folder + candidate + extension;
}

QString TFileFunc::reservationKey(const QString &folder, const QString &baseName)
{
    return folder + baseName.toCaseFolded();
}

void TFileFunc::reserveName(const QString &path)
{
    m_reserved.insert(reservationKey(FileFolder(path), FileBaseName(path)));
}

void TFileFunc::releaseName(const QString &path)
{
    m_reserved.remove(reservationKey(FileFolder(path), FileBaseName(path)));
}

qint64 FileSizeOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileSizeError(QStringLiteral("Cannot open '%1': %2").arg(path, file.errorString()).toStdString());
    return file.size();
}
