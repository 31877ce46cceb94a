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
    };
    for (const Case &c : cases)
        EXPECT_EQ(StartupFiles(c.arguments, "/home/u"), c.files) << c.what;
}
