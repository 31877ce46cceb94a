#include "platform/DesktopHandlers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QTextStream>

namespace {

QStringList splitList(const QString &value, QChar separator)
{
    return value.split(separator, Qt::SkipEmptyParts);
}

QString homeFolderVariable(const char *variable, const QString &defaultBelowHome)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? value : QDir::homePath() + QLatin1Char('/') + defaultBelowHome;
}

QStringList folderListVariable(const char *variable, const QStringList &fallback)
{
    QStringList folders;
    for (const QString &folder : splitList(qEnvironmentVariable(variable), u':')) {
        if (QDir::isAbsolutePath(folder))
            folders << folder;
    }
    return folders.isEmpty() ? fallback : folders;
}

// The [group] sections of an INI-like file of the registry: key/value lines per group.
using Groups = QHash<QString, QHash<QString, QString>>;

Groups readGroups(const QString &path, const QStringList &wantedGroups)
{
    Groups groups;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return groups;
    QTextStream in(&file);
    QString group;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            group = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0 || line.startsWith(u'#') || !wantedGroups.contains(group))
            continue;
        QHash<QString, QString> &keys = groups[group];
        const QString key = line.left(equals).trimmed();
        if (!keys.contains(key))
            keys.insert(key, line.mid(equals + 1).trimmed());
    }
    return groups;
}

const QString DesktopEntryGroup = QStringLiteral("Desktop Entry");

bool intersects(const QStringList &a, const QStringList &b)
{
    for (const QString &item : a) {
        if (b.contains(item))
            return true;
    }
    return false;
}

} // namespace

DesktopRegistryFolders DesktopRegistryFolders::fromEnvironment()
{
    const QString dataHome = homeFolderVariable("XDG_DATA_HOME", QStringLiteral(".local/share"));
    const QString configHome = homeFolderVariable("XDG_CONFIG_HOME", QStringLiteral(".config"));
    const QStringList dataDirs =
        folderListVariable("XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
    const QStringList configDirs = folderListVariable("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});

    DesktopRegistryFolders folders;
    folders.applicationFolders << dataHome + QStringLiteral("/applications");
    for (const QString &dir : dataDirs)
        folders.applicationFolders << dir + QStringLiteral("/applications");

    // A desktop's own list comes before the common one in every folder.
    QStringList listNames;
    for (const QString &desktop : splitList(qEnvironmentVariable("XDG_CURRENT_DESKTOP"), u':'))
        listNames << desktop.toLower() + QStringLiteral("-mimeapps.list");
    listNames << QStringLiteral("mimeapps.list");
    for (const QString &config : QStringList{configHome} + configDirs) {
        for (const QString &name : listNames)
            folders.mimeappsLists << config + QLatin1Char('/') + name;
    }
    for (const QString &applications : folders.applicationFolders) {
        for (const QString &name : listNames)
            folders.mimeappsLists << applications + QLatin1Char('/') + name;
    }
    folders.pathFolders = splitList(qEnvironmentVariable("PATH"), u':');
    folders.browserVariable = qEnvironmentVariable("BROWSER");
    return folders;
}

FreedesktopHandlers::FreedesktopHandlers(DesktopRegistryFolders folders) : m_folders(std::move(folders)) {}

QStringList FreedesktopHandlers::typesOf(const QUrl &url)
{
    if (!url.isLocalFile())
        return {QStringLiteral("x-scheme-handler/") + url.scheme().toLower()};
    const QMimeType type = QMimeDatabase().mimeTypeForFile(url.toLocalFile());
    return QStringList{type.name()} + type.aliases();
}

QHash<QString, FreedesktopHandlers::Application> FreedesktopHandlers::applications() const
{
    QHash<QString, Application> apps;
    for (const QString &folder : m_folders.applicationFolders) {
        const QDir root(folder);
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            // The desktop file id: the path below the applications folder with "/" as "-".
            const QString id = root.relativeFilePath(path).replace(u'/', u'-');
            if (apps.contains(id))
                continue;
            const QHash<QString, QString> entry = readGroups(path, {DesktopEntryGroup}).value(DesktopEntryGroup);
            apps.insert(id, {splitList(entry.value(QStringLiteral("MimeType")), u';'),
                             entry.value(QStringLiteral("Hidden")) == QLatin1String("true")});
        }
    }
    return apps;
}

bool FreedesktopHandlers::chosenInMimeapps(const QStringList &types, const QHash<QString, Application> &apps) const
{
    const QStringList groupsRead{QStringLiteral("Default Applications"), QStringLiteral("Added Associations")};
    for (const QString &list : m_folders.mimeappsLists) {
        const Groups groups = readGroups(list, groupsRead);
        for (const QString &group : groupsRead) {
            for (const QString &type : types) {
                for (const QString &id : splitList(groups.value(group).value(type), u';')) {
                    if (apps.contains(id) && !apps.value(id).hidden)
                        return true;
                }
            }
        }
    }
    return false;
}

// Web pages also open in the browser that $BROWSER or the system's browser alternative names.
bool FreedesktopHandlers::systemBrowserFor(const QStringList &types) const
{
    const QStringList webTypes{QStringLiteral("x-scheme-handler/http"), QStringLiteral("x-scheme-handler/https"),
                               QStringLiteral("text/html"), QStringLiteral("application/xhtml+xml")};
    if (!intersects(types, webTypes))
        return false;
    if (!m_folders.browserVariable.isEmpty())
        return true;
    for (const QString &name : {QStringLiteral("x-www-browser"), QStringLiteral("www-browser")}) {
        if (!QStandardPaths::findExecutable(name, m_folders.pathFolders).isEmpty())
            return true;
    }
    return false;
}

bool FreedesktopHandlers::canOpen(const QUrl &url) const
{
    const QStringList types = typesOf(url);
    const QHash<QString, Application> apps = applications();
    if (chosenInMimeapps(types, apps))
        return true;
    for (const Application &app : apps) {
        if (!app.hidden && intersects(app.mimeTypes, types))
            return true;
    }
    return systemBrowserFor(types);
}
