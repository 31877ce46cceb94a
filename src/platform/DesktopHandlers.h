#pragma once
// Whether the desktop has a program for an address or a file, read from the freedesktop.org
// application registry: the .desktop files of the applications folders with the MIME types they
// open, and the mimeapps.list choices. Opening is left to the shell launcher.
#include <QHash>
#include <QStringList>
#include <QUrl>

class IDesktopHandlers {
public:
    virtual ~IDesktopHandlers() = default;
    // True when some installed program opens `url` (a web or "mailto:" address by its scheme, a
    // local file or folder by its MIME type).
    virtual bool canOpen(const QUrl &url) const = 0;
};

// Where the registry lives, most important first.
struct DesktopRegistryFolders {
    QStringList applicationFolders; // $XDG_DATA_HOME/applications, then each of $XDG_DATA_DIRS
    QStringList mimeappsLists;      // the mimeapps.list files of the config and data folders
    QStringList pathFolders;        // $PATH, for the system's browser
    QString browserVariable;        // $BROWSER

    static DesktopRegistryFolders fromEnvironment();
};

class FreedesktopHandlers final : public IDesktopHandlers {
public:
    explicit FreedesktopHandlers(DesktopRegistryFolders folders = DesktopRegistryFolders::fromEnvironment());

    bool canOpen(const QUrl &url) const override;

    // The MIME types that stand for `url`: "x-scheme-handler/<scheme>" for an address, a local
    // file's type (by name and content) with its aliases.
    static QStringList typesOf(const QUrl &url);

private:
    struct Application {
        QStringList mimeTypes;
        bool hidden = false;
    };
    // Every .desktop file of the applications folders by its desktop file id; the first folder
    // that holds an id wins.
    QHash<QString, Application> applications() const;
    bool chosenInMimeapps(const QStringList &types, const QHash<QString, Application> &apps) const;
    bool systemBrowserFor(const QStringList &types) const;

    DesktopRegistryFolders m_folders;
};
