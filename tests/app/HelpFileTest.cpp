// The build puts a compiled help file with our pages into the program folder.
#include "common/TestPaths.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

TEST(HelpFile, IsACompiledHelpFileWithTheUserGuidePages)
{
    const QString path = builtProgramFolder() + QStringLiteral("Help.chm");
    QFile help(path);
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    EXPECT_EQ(help.read(4), QByteArray("ITSF"));

    // chmls comes with the same package as the compiler that built the file.
    const QString chmls = QStandardPaths::findExecutable(QStringLiteral("chmls"));
    ASSERT_FALSE(chmls.isEmpty());
    QProcess listing;
    listing.start(chmls, {path});
    ASSERT_TRUE(listing.waitForFinished());
    const QByteArray entries = listing.readAllStandardOutput();
    for (const char *page : {"/index.html", "/adding_files.html", "/cutting.html", "/output.html", "/profiles.html",
                             "/converting.html", "/files.html", "/shortcuts.html"})
        EXPECT_TRUE(entries.contains(page)) << page;
}

// Where no program reads .chm files the help opens as these pages in the browser.
TEST(HelpFile, TheSamePagesLieBesideItAsHtml)
{
    for (const char *page : {"index.html", "adding_files.html", "cutting.html", "output.html", "profiles.html",
                             "converting.html", "files.html", "shortcuts.html", "style.css"})
        EXPECT_TRUE(QFile::exists(builtProgramFolder() + "Help/" + page)) << page;
}
