// Help, home page, mail and codec links: opened where the desktop has a program, the help's HTML
// pages where nothing reads .chm files, and otherwise a message with the address or path to copy.
#include "common/Fakes.h"
#include "platform/CheckedShellLauncher.h"
#include "platform/DesktopHandlers.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FakeHandlers final : public IDesktopHandlers {
public:
    QSet<QString> openable; // schemes ("https") and file suffixes ("chm")
    bool canOpen(const QUrl &url) const override
    {
        return openable.contains(url.isLocalFile() ? QFileInfo(url.toLocalFile()).suffix() : url.scheme());
    }
};

struct Case {
    const char *what;
    QStringList openable;
    bool withPages;   // Help/index.html beside Help.chm
    bool launchWorks; // the desktop's launcher starts
    QString opened;   // what the launcher got ("" = nothing), relative to the program folder for files
    QString message;  // the line to copy in the message ("" = no message)
};

} // namespace

TEST(CheckedShellLauncher, HelpOpensAsCompiledHelpOrAsPagesOrNamesThePath)
{
    const Case cases[] = {
        {"a program reads .chm", {"chm", "html"}, true, true, "Help.chm", ""},
        {"nothing reads .chm: the pages", {"html"}, true, true, "Help/index.html", ""},
        {"no pages either", {"html"}, false, true, "", "Help.chm"},
        {"no browser for the pages", {}, true, true, "", "Help/index.html"},
        {"the launcher fails", {"chm"}, true, false, "Help.chm", "Help.chm"},
    };
    for (const Case &c : cases) {
        QTemporaryDir program;
        QFile(program.filePath("Help.chm")).open(QIODevice::WriteOnly);
        if (c.withPages) {
            QDir(program.path()).mkdir("Help");
            QFile(program.filePath("Help/index.html")).open(QIODevice::WriteOnly);
        }
        FakeShellLauncher shell;
        shell.result = c.launchWorks;
        FakeHandlers handlers;
        handlers.openable = QSet<QString>(c.openable.begin(), c.openable.end());
        FakeMessageBoxes boxes;
        CheckedShellLauncher launcher(shell, handlers, boxes);

        const bool opened = launcher.open(QUrl::fromLocalFile(program.filePath("Help.chm")));
        EXPECT_EQ(opened, c.message.isEmpty()) << c.what;
        const QList<QUrl> expectedOpened =
            c.opened.isEmpty() ? QList<QUrl>{} : QList<QUrl>{QUrl::fromLocalFile(program.filePath(c.opened))};
        EXPECT_EQ(shell.opened, expectedOpened) << c.what;
        if (c.message.isEmpty()) {
            EXPECT_TRUE(boxes.shown.isEmpty()) << c.what;
        } else {
            ASSERT_EQ(boxes.shown.size(), 1) << c.what;
            EXPECT_TRUE(boxes.shown[0].text.endsWith("\n\n" + program.filePath(c.message))) << c.what;
            EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Warning);
        }
    }
}

TEST(CheckedShellLauncher, AddressesThatCannotBeOpenedAreShownToCopy)
{
    struct AddressCase {
        QUrl url;
        QString shown; // last line of the message
    };
    const AddressCase cases[] = {
        {QUrl("https://www.example.com/kelvane/"), "https://www.example.com/kelvane/"},
        {QUrl("mailto:support@example.com"), "support@example.com"},
        {QUrl("mailto:"), "mailto:"},
    };
    for (const AddressCase &c : cases) {
        FakeShellLauncher shell;
        FakeHandlers none;
        FakeMessageBoxes boxes;
        CheckedShellLauncher launcher(shell, none, boxes);
        EXPECT_FALSE(launcher.open(c.url));
        EXPECT_TRUE(shell.opened.isEmpty()) << "nothing is handed to a launcher that has no program for it";
        ASSERT_EQ(boxes.shown.size(), 1);
        EXPECT_TRUE(boxes.shown[0].text.endsWith("\n\n" + c.shown)) << boxes.shown[0].text.toStdString();

        FakeHandlers all;
        all.openable = {c.url.scheme()};
        CheckedShellLauncher working(shell, all, boxes);
        EXPECT_TRUE(working.open(c.url));
        EXPECT_EQ(shell.opened, QList<QUrl>{c.url});
        EXPECT_EQ(boxes.shown.size(), 1);
    }
}

TEST(CheckedShellLauncher, MessagesSayWhatCouldNotBeOpened)
{
    QTemporaryDir folder;
    QFile(folder.filePath("Help.chm")).open(QIODevice::WriteOnly);
    EXPECT_EQ(CannotOpenMessage(QUrl::fromLocalFile(folder.filePath("Help.chm"))),
              "No program could open the file. You find it here:\n\n" + folder.filePath("Help.chm"));
    EXPECT_EQ(CannotOpenMessage(QUrl::fromLocalFile(folder.path())),
              "No program could open the folder. You find it here:\n\n" + folder.path());
    EXPECT_EQ(CannotOpenMessage(QUrl::fromLocalFile(folder.filePath("gone.chm"))),
              "This file is not found:\n\n" + folder.filePath("gone.chm"));
    EXPECT_EQ(HelpPagesFor("/usr/lib/kelvane/Help.chm"), "/usr/lib/kelvane/Help/index.html");
    EXPECT_EQ(HelpPagesFor("/usr/lib/kelvane/Help.txt"), "");
}
