// Whether the desktop has a program for a file or an address, read from a registry made up in
// a temporary folder: applications with their MIME types, mimeapps.list choices, the browser.
#include "platform/DesktopHandlers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Registry {
public:
    Registry()
    {
        QDir(m_root.path()).mkpath("home/applications");
        QDir(m_root.path()).mkpath("system/applications");
        QDir(m_root.path()).mkpath("bin");
        QDir(m_root.path()).mkpath("files/folder");
        write("files/Help.chm", "ITSF");
        write("files/index.html", "<html></html>");
        write("files/clip.mkv", "");
    }
    QString path(const QString &relative) const { return m_root.filePath(relative); }
    void write(const QString &relative, const QByteArray &content) const
    {
        QDir(m_root.path()).mkpath(QFileInfo(relative).path());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    void application(const QString &relative, const QString &mimeTypes, const QString &extra = {}) const
    {
        write(relative, "[Desktop Entry]\nType=Application\nName=App\nExec=app %f\nMimeType=" + mimeTypes.toUtf8()
                            + "\n" + extra.toUtf8() + "\n[Desktop Action other]\nMimeType=x-scheme-handler/mailto\n");
    }
    FreedesktopHandlers handlers(const QString &browser = {}) const
    {
        DesktopRegistryFolders folders;
        folders.applicationFolders = {path("home/applications"), path("system/applications")};
        folders.mimeappsLists = {path("home/mimeapps.list")};
        folders.pathFolders = {path("bin")};
        folders.browserVariable = browser;
        return FreedesktopHandlers(folders);
    }
    QUrl file(const QString &name) const { return QUrl::fromLocalFile(path("files/" + name)); }

private:
    QTemporaryDir m_root;
};

} // namespace

TEST(DesktopHandlers, FindsAProgramByTheMimeTypesItsDesktopFileLists)
{
    const Registry registry;
    EXPECT_FALSE(registry.handlers().canOpen(registry.file("Help.chm")));
    EXPECT_FALSE(registry.handlers().canOpen(QUrl("mailto:support@example.com")));

    registry.application("system/applications/viewers/chm.desktop", "text/plain;application/vnd.ms-htmlhelp;");
    EXPECT_FALSE(registry.handlers().canOpen(QUrl("mailto:support@example.com"))) << "an action's types do not count";
    registry.application("home/applications/mail.desktop", "x-scheme-handler/mailto");
    registry.application("system/applications/files.desktop", "inode/directory;");
    const FreedesktopHandlers handlers = registry.handlers();
    EXPECT_TRUE(handlers.canOpen(registry.file("Help.chm")));
    EXPECT_TRUE(handlers.canOpen(QUrl("mailto:support@example.com")));
    EXPECT_TRUE(handlers.canOpen(registry.file("folder")));
    EXPECT_FALSE(handlers.canOpen(QUrl("https://example.com/")));
    EXPECT_FALSE(handlers.canOpen(registry.file("clip.mkv")));
}

TEST(DesktopHandlers, AHiddenEntryInTheUsersFolderRemovesTheSystemsProgram)
{
    const Registry registry;
    registry.application("system/applications/chm.desktop", "application/vnd.ms-htmlhelp");
    registry.application("home/applications/chm.desktop", "application/vnd.ms-htmlhelp", "Hidden=true");
    EXPECT_FALSE(registry.handlers().canOpen(registry.file("Help.chm")));
}

TEST(DesktopHandlers, AChoiceInMimeappsListCountsWhenItsProgramIsInstalled)
{
    const Registry registry;
    registry.application("system/applications/org.example.Viewer.desktop", "text/plain");
    registry.write("home/mimeapps.list", "[Default Applications]\nvideo/x-matroska=gone.desktop;\n"
                                         "[Added Associations]\napplication/vnd.ms-htmlhelp=org.example.Viewer.desktop;\n");
    const FreedesktopHandlers handlers = registry.handlers();
    EXPECT_TRUE(handlers.canOpen(registry.file("Help.chm")));
    EXPECT_FALSE(handlers.canOpen(registry.file("clip.mkv"))) << "the chosen program is not installed";
}

TEST(DesktopHandlers, WebPagesAlsoOpenInTheSystemsBrowser)
{
    const Registry registry;
    const QUrl page("https://example.com/"), local = registry.file("index.html");
    EXPECT_FALSE(registry.handlers().canOpen(page));
    EXPECT_FALSE(registry.handlers().canOpen(local));
    EXPECT_TRUE(registry.handlers("firefox").canOpen(page));

    registry.write("bin/x-www-browser", "#!/bin/sh\n");
    QFile::setPermissions(registry.path("bin/x-www-browser"), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_TRUE(registry.handlers().canOpen(page));
    EXPECT_TRUE(registry.handlers().canOpen(local));
    EXPECT_FALSE(registry.handlers().canOpen(QUrl("mailto:support@example.com")));
    EXPECT_FALSE(registry.handlers().canOpen(registry.file("Help.chm")));
}
