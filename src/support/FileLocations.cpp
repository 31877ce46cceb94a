#include "support/FileLocations.h"

#include "support/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

const QString ProductFolderName = QStringLiteral("Kelvane");

QString baseFolder(const char *variable, const QString &defaultBelowHome)
{
    const QString value = qEnvironmentVariable(variable);
    // Relative values are invalid for these variables and are ignored.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(QDir::homePath() + QChar(Platform::PathSeparator) + defaultBelowHome);
}

// A probe that is created and removed again: permissions, read-only mounts and quotas all count.
bool canCreateFilesIn(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(folder + QStringLiteral(".write-probe-XXXXXX"));
    return probe.open();
}

// Creates the missing folders of `path` readable by the owner only.
void makeOwnerOnlyPath(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    QStringList missing;
    for (QString folder = clean; !folder.isEmpty() && !QFileInfo::exists(folder);
         folder = QFileInfo(folder).path()) {
        missing.prepend(folder);
        if (folder == QFileInfo(folder).path())
            break;
    }
    const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    for (const QString &folder : missing)
        QDir().mkdir(folder, ownerOnly);
}

} // namespace

FileLocations FileLocations::portableIn(const QString &programFolder)
{
    return {programFolder, programFolder, programFolder, true};
}

UserBaseFolders UserBaseFolders::fromEnvironment()
{
    return {baseFolder("XDG_CONFIG_HOME", QStringLiteral(".config")),
            baseFolder("XDG_STATE_HOME", QStringLiteral(".local/state"))};
}

FileLocations DecideFileLocations(const QString &programFolder, const UserBaseFolders &user)
{
    const QString folder = Platform::withTrailingSeparator(programFolder);
    if (!QFileInfo::exists(folder + QLatin1String(InstalledMarkerName)) && canCreateFilesIn(folder))
        return FileLocations::portableIn(folder);

    const QChar separator(Platform::PathSeparator);
    FileLocations locations;
    locations.programFolder = folder;
    locations.configBase = Platform::withTrailingSeparator(user.config + separator + ProductFolderName);
    locations.stateFolder = Platform::withTrailingSeparator(user.state + separator + ProductFolderName);
    locations.portable = false;
    makeOwnerOnlyPath(locations.configBase);
    makeOwnerOnlyPath(locations.stateFolder);
    return locations;
}

QString FileLocationsLogLine(const FileLocations &locations)
{
    return QStringLiteral("Settings are kept in %1Config%2, the log and the script in %3 (nothing is written to the "
                          "program folder %4)")
        .arg(locations.configBase, QString(QChar(Platform::PathSeparator)), locations.stateFolder,
             locations.programFolder);
}
