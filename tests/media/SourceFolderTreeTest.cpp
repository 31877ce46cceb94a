// A folder added to the list stands for the videos of its whole tree, in natural name order.
#include "media/SourceFolderTree.h"
#include "support/NaturalOrder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <unistd.h>

namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

QStringList relative(const QTemporaryDir &dir, const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths)
        names << QDir(dir.path()).relativeFilePath(path);
    return names;
}

} // namespace

TEST(NaturalOrder, NumbersCompareByValue)
{
    const QStringList sorted{"Week 1", "Week 2", "week 2", "Week 02b", "Week 10", "Week 10a", "Week 100", "Weekend", "x"};
    for (qsizetype i = 0; i + 1 < sorted.size(); ++i) {
        EXPECT_LT(NaturalCompare(sorted.at(i), sorted.at(i + 1)), 0) << sorted.at(i).toStdString();
        EXPECT_GT(NaturalCompare(sorted.at(i + 1), sorted.at(i)), 0) << sorted.at(i).toStdString();
    }
    EXPECT_EQ(NaturalCompare("a 007", "a 007"), 0);
    EXPECT_NE(NaturalCompare("a 7", "a 007"), 0) << "names that differ never compare equal";
}

// Three levels: each folder's own videos first, then its folders, numbers by value; other
// files are passed over and a link back up the tree is walked once.
TEST(SourceFolderTree, WalksEveryLevelInNaturalOrder)
{
    QTemporaryDir dir;
    for (const char *name : {"lectures/intro.mp4", "lectures/notes.txt", "lectures/Physics/Week 10/a.mkv",
                             "lectures/Physics/Week 2/b 10.avi", "lectures/Physics/Week 2/b 9.avi",
                             "lectures/Physics/Week 2/slides.pdf", "lectures/Maths/Week 1/c.MP4",
                             "lectures/Maths/empty/readme.md"})
        touch(dir.filePath(name));
    ASSERT_TRUE(QFile::link(dir.filePath("lectures"), dir.filePath("lectures/Maths/loop")));
    const FolderTreeVideos tree = VideoFilesInTree(dir.filePath("lectures"));
    EXPECT_EQ(relative(dir, tree.videos),
              QStringList({"lectures/intro.mp4", "lectures/Maths/Week 1/c.MP4", "lectures/Physics/Week 2/b 9.avi",
                           "lectures/Physics/Week 2/b 10.avi", "lectures/Physics/Week 10/a.mkv"}));
    EXPECT_TRUE(tree.unreadableFolders.isEmpty());
}

// Folders among added paths: each stands for its tree in its place; one without a video is
// named; a stop asked for ends the walk.
TEST(SourceFolderTree, ExpandsFoldersAmongPathsAndNamesThoseWithoutVideo)
{
    QTemporaryDir dir;
    touch(dir.filePath("a/x.mp4"));
    touch(dir.filePath("empty/notes.txt"));
    const ExpandedPaths expanded = ExpandFolderTrees({dir.filePath("first.avi"), dir.filePath("a"), dir.filePath("empty")});
    EXPECT_EQ(relative(dir, expanded.paths), QStringList({"first.avi", "a/x.mp4"}));
    EXPECT_EQ(expanded.foldersWithoutVideo, QStringList{dir.filePath("empty")});
    const std::atomic<bool> stop{true};
    const ExpandedPaths stopped = ExpandFolderTrees({dir.filePath("a")}, &stop);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_TRUE(stopped.paths.isEmpty());
    EXPECT_TRUE(stopped.foldersWithoutVideo.isEmpty()) << "a stopped walk says nothing about the folder";
}

// A folder that cannot be read is named; the rest of the tree is still walked. Root reads every
// folder, so as root the walk runs with another user's file rights (a thread's fsuid).
TEST(SourceFolderTree, AnUnreadableFolderIsNamedAndPassedOver)
{
    QTemporaryDir dir;
    touch(dir.filePath("tree/1/a.mp4"));
    touch(dir.filePath("tree/2/b.mp4"));
    touch(dir.filePath("tree/3/c.mp4"));
    const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                      QFileDevice::ExeOther | QFileDevice::ReadGroup | QFileDevice::ExeGroup;
    QFile::setPermissions(dir.path(), open);
    const QString locked = dir.filePath("tree/2");
    QFile::setPermissions(locked, QFileDevice::Permissions());
    const int previous = geteuid() == 0 ? setfsuid(65534) : -1;
    const FolderTreeVideos tree = VideoFilesInTree(dir.filePath("tree"));
    if (previous >= 0)
        setfsuid(static_cast<uid_t>(previous));
    QFile::setPermissions(locked, open);
    EXPECT_EQ(relative(dir, tree.videos), QStringList({"tree/1/a.mp4", "tree/3/c.mp4"}));
    EXPECT_EQ(tree.unreadableFolders, QStringList{locked});
}
