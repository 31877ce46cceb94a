// Files handed over on the command line ("Open with Kelvane" from a file manager).
#include "app/StartupFiles.h"

#include <gtest/gtest.h>

TEST(StartupFiles, BecomeAbsolutePathsInTheirOrder)
{
    struct Case {
        const char *what;
        QStringList arguments;
        QStringList files;
    };
    const Case cases[] = {
        {"none", {}, {}},
        {"absolute and relative", {"/v/a.mkv", "b.mp4", "../c.avi", "./d e.ts"},
         {"/v/a.mkv", "/home/u/b.mp4", "/home/c.avi", "/home/u/d e.ts"}},
        {"file addresses", {"file:///v/a%20b.webm", "https://example.com/x.mp4"}, {"/v/a b.webm"}},
        {"a name that begins with a dash, after --", {"--", "-x.ogv", ""}, {"/home/u/-x.ogv"}},
        {"the new-window option is no file", {"--new-window", "a.mp4"}, {"/home/u/a.mp4"}},
        {"after -- it is one", {"--", "--new-window"}, {"/home/u/--new-window"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StartupFiles(c.arguments, "/home/u"), c.files) << c.what;
}

TEST(StartupFiles, OnlyTheOptionBeforeEndOfOptionsAsksForANewWindow)
{
    EXPECT_TRUE(WantsNewWindow({"a.mp4", "--new-window"}));
    EXPECT_FALSE(WantsNewWindow({"a.mp4"}));
    EXPECT_FALSE(WantsNewWindow({"--", "--new-window"}));
}
