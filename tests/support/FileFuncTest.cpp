#include "support/FileFunc.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void touch(const QString &path, const QByteArray &bytes = "x")
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(FileFunc, FolderBaseNameAndExtensionOfPaths)
{
    const struct {
        QString path, folder, base, extension;
    } cases[] = {
        {"/a/clip.part1.avi", "/a/", "clip.part1", ".avi"},
        {"/media/Video/clip.avi", "/media/Video/", "clip", ".avi"},
        {"clip.mp3", "", "clip", ".mp3"},
        {"/a/README", "/a/", "README", ""},
        {"/a/.hidden", "/a/", ".hidden", ""},
        {"/a/b:c.avi", "/a/", "b:c", ".avi"},
        {"/a/dir/", "/a/dir/", "", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(TFileFunc::FileFolder(c.path), c.folder) << c.path.toStdString();
        EXPECT_EQ(TFileFunc::FileBaseName(c.path), c.base) << c.path.toStdString();
        EXPECT_EQ(TFileFunc::FileExtension(c.path), c.extension) << c.path.toStdString();
    }
}

TEST(FileFunc, ListFolderFilesFiltersByExactExtensionAndSkipsFolders)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    touch(folder + "song.mp3");
    touch(folder + "song.MP3");
    touch(folder + ".hidden.mp3");
    QDir(folder).mkdir("sub.mp3");

    QStringList all = TFileFunc::ListFolderFiles(folder);
    all.sort();
    EXPECT_EQ(all, QStringList({folder + ".hidden.mp3", folder + "song.MP3", folder + "song.mp3"}));
    QStringList mp3 = TFileFunc::ListFolderFiles(folder, ".mp3");
    mp3.sort();
    EXPECT_EQ(mp3, QStringList({folder + ".hidden.mp3", folder + "song.mp3"}));
    EXPECT_TRUE(TFileFunc::ListFolderFiles(folder + "missing/").isEmpty());
}

TEST(FileFunc, UniqueFileNameSkipsEveryTakenBaseNameIgnoringExtensionAndCase)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    TFileFunc files;
    EXPECT_EQ(files.UniqueFileName(folder + "clip.mp3"), folder + "clip.mp3");

    touch(folder + "clip.wav");
    EXPECT_EQ(files.UniqueFileName(folder + "clip.mp3"), folder + "clip_1.mp3");
    touch(folder + "clip_1.txt");
    EXPECT_EQ(files.UniqueFileName(folder + "clip.mp3"), folder + "clip_2.mp3");
    EXPECT_EQ(files.requestedBaseName(), "clip");

    touch(folder + "TAKE.WAV");
    EXPECT_EQ(files.UniqueFileName(folder + "take.mp3"), folder + "take_1.mp3");
    touch(folder + "take_3.ogg");
    EXPECT_EQ(files.UniqueFileName(folder + "take_3.mp3"), folder + "take_3_1.mp3");

    touch(folder + "README");
    EXPECT_EQ(files.UniqueFileName(folder + "README"), folder + "README_1");
    EXPECT_EQ(files.UniqueFileName(folder + "missing/clip.mp3"), folder + "missing/clip.mp3");
}

// Encoders running at once have not written their outputs yet: a name promised to one of them
// must not be handed out again, in any letter case, until it is released.
TEST(FileFunc, ReservedNamesCountAsTakenInTheirFolderUntilReleased)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    const QString other = dir.path() + "/other/";
    TFileFunc files;
    touch(folder + "clip.wav");

    const QString first = files.UniqueFileName(folder + "clip.mp3");
    EXPECT_EQ(first, folder + "clip_1.mp3");
    files.reserveName(first);
    files.reserveName(folder + "CLIP_2.ogg");
    EXPECT_EQ(files.UniqueFileName(folder + "clip.mp3"), folder + "clip_3.mp3");
    EXPECT_EQ(files.UniqueFileName(other + "clip_1.mp3"), other + "clip_1.mp3");

    files.releaseName(first);
    EXPECT_EQ(files.UniqueFileName(folder + "clip.mp3"), folder + "clip_1.mp3");
}

TEST(FileFunc, FileSizeOfReadsTheSizeOrFailsWithATypedError)
{
    QTemporaryDir dir;
    touch(dir.filePath("five.bin"), "12345");
    EXPECT_EQ(FileSizeOf(dir.filePath("five.bin")), 5);
    EXPECT_THROW(FileSizeOf(dir.filePath("missing.bin")), FileSizeError);
}
