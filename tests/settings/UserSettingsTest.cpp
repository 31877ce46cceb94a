// The remembered settings against the bytes of "Config/UserSettings.ini".
#include "settings/UserSettings.h"
#include "common/TinyVolume.h"
#include "engine/OutputFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class UserSettingsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = dir.path() + QLatin1Char('/');
    TUserSettings settings{folder};

    QByteArray bytes() const
    {
        QFile file(settings.fileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void store(const QByteArray &content) const
    {
        QDir().mkpath(folder + "Config");
        QFile file(settings.fileName());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    // The main window's controls at start-up.
    static UserSettingsState initialWindow() { return {true, false, DefaultOutputFolder()}; }
};

TEST_F(UserSettingsTest, FirstRunGivesTheDefaultsAndWritesTheFileInOrder)
{
    EXPECT_EQ(settings.fileName(), folder + "Config/UserSettings.ini");
    UserSettingsState state = initialWindow();
    settings.LoadUserSettings(state);
    EXPECT_FALSE(state.showOutputDirectory);   // checked in the layout, unchecked after loading
    EXPECT_FALSE(state.shutdown);
    EXPECT_EQ(state.outputFolder, QDir::homePath() + "/Kelvane");
    EXPECT_EQ(settings.LoadInitialFolder(), QDir::homePath() + "/");

    ASSERT_FALSE(settings.SaveUserSettings(state).has_value());
    const QByteArray expected = "\r\n[USRInfo]\r\nSHWDDir=0\r\nSHUTDOWN=0\r\nOutDir=" + QDir::homePath().toUtf8()
                                + "/Kelvane\r\n";
    EXPECT_EQ(bytes(), expected);
}

TEST_F(UserSettingsTest, OnlyAStoredOneChecksABoxAndAnEmptyOutDirKeepsTheText)
{
    struct Case {
        QByteArray shwd, shutdown;
        bool showChecked, shutdownChecked;
    };
    const Case cases[] = {
        {"1", "1", true, true},   {"yes", "true", false, false}, {"", "0", false, false},
        {"2", "01", false, false}, {"0", "1", false, true},
    };
    for (const Case &c : cases) {
        store("[USRInfo]\r\nSHWDDir=" + c.shwd + "\r\nSHUTDOWN=" + c.shutdown + "\r\nOutDir=\r\n");
        UserSettingsState state = initialWindow();
        settings.LoadUserSettings(state);
        EXPECT_EQ(state.showOutputDirectory, c.showChecked) << c.shwd.constData();
        EXPECT_EQ(state.shutdown, c.shutdownChecked) << c.shutdown.constData();
        EXPECT_EQ(state.outputFolder, DefaultOutputFolder());
    }
    store("[USRInfo]\r\nOutDir=/media/music out\r\n");
    UserSettingsState state = initialWindow();
    settings.LoadUserSettings(state);
    EXPECT_EQ(state.outputFolder, "/media/music out");
}

TEST_F(UserSettingsTest, InitialFolderIsStoredAtOnceAndKeptBySavingTheRest)
{
    EXPECT_TRUE(settings.SaveInitialFolder("video.avi"));   // no folder part: nothing stored
    EXPECT_FALSE(QFile::exists(settings.fileName()));

    EXPECT_TRUE(settings.SaveInitialFolder("/data/Video clips/a.avi"));
    EXPECT_EQ(bytes(), "\r\n[USRInfo]\r\nInitDir=/data/Video clips/\r\n");
    EXPECT_EQ(TUserSettings(folder).LoadInitialFolder(), "/data/Video clips/");

    ASSERT_FALSE(settings.SaveUserSettings({true, true, "/out"}).has_value());
    EXPECT_EQ(bytes(), "\r\n[USRInfo]\r\nInitDir=/data/Video clips/\r\nSHWDDir=1\r\nSHUTDOWN=1\r\nOutDir=/out\r\n");
}

// "Files converted at once": 1 to the number of cores; anything else stored means 1, and the
// key is written only when set, beside the other values.
TEST_F(UserSettingsTest, FilesAtOnceIsAWholeNumberUpToTheCoresElseOne)
{
    EXPECT_EQ(settings.LoadFilesAtOnce(4), 1); // no file
    const struct {
        QByteArray stored;
        int cores, count;
    } cases[] = {
        {"", 4, 1},  {"2", 4, 2},  {"4", 4, 4},  {"5", 4, 1},   {"0", 4, 1},   {"-2", 4, 1},
        {"x", 4, 1}, {"2.5", 4, 1}, {"3 files", 4, 1}, {"2", 1, 1}, {"99999999999", 4, 1},
    };
    for (const auto &c : cases) {
        store("[USRInfo]\r\nOutDir=/out\r\nFilesAtOnce=" + c.stored + "\r\n");
        EXPECT_EQ(settings.LoadFilesAtOnce(c.cores), c.count) << c.stored.constData() << " of " << c.cores;
    }
    store("[USRInfo]\r\nOutDir=/out\r\n");
    EXPECT_EQ(settings.LoadFilesAtOnce(4), 1); // missing key

    ASSERT_TRUE(settings.SaveFilesAtOnce(2));
    EXPECT_EQ(settings.LoadFilesAtOnce(2), 2);
    ASSERT_FALSE(settings.SaveUserSettings({true, false, "/elsewhere"}).has_value());
    EXPECT_EQ(bytes(), "[USRInfo]\r\nOutDir=/elsewhere\r\nFilesAtOnce=2\r\nSHWDDir=1\r\nSHUTDOWN=0\r\n");
}

TEST_F(UserSettingsTest, UnwritableSettingsAreReportedAndNothingIsLost)
{
    // A file where the Config folder should be: nothing can be written below it, even by root.
    QFile blocker(folder + "Config");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.write("not a folder");
    blocker.close();

    const auto failure = settings.SaveUserSettings(initialWindow());
    ASSERT_TRUE(failure.has_value());
    EXPECT_FALSE(failure->isEmpty());
    EXPECT_FALSE(settings.SaveInitialFolder("/data/a.avi"));
    UserSettingsState state = initialWindow();
    settings.LoadUserSettings(state);   // unreadable: the defaults stand
    EXPECT_EQ(state.outputFolder, DefaultOutputFolder());
    EXPECT_EQ(settings.LoadInitialFolder(), QDir::homePath() + "/");
}

} // namespace

// The three values go to the file in one save. A disk that would take the file with the first
// value changed but not with the second leaves the file exactly as it was (neither half written
// nor cut off where the disk filled up), and the reason is given.
TEST(UserSettingsOnAFullDisk, ASaveThatCannotFinishLeavesTheFileAsItWas)
{
    // Two pages of room, one of them taken by the old file: a new file of one page fits beside
    // it, one of two pages does not. The old file ends 6 bytes short of a page, and the line
    // "SHUTDOWN=1" that the second value adds needs 12.
    const QByteArray head = "[USRInfo]\r\nSHWDDir=0\r\nOutDir=/old\r\n[Notes]\r\nfiller=";
    const QByteArray before = head + QByteArray(4090 - head.size() - 2, 'x') + "\r\n";
    TinyVolume volume("8k", false, [&before](const QString &folder) {
        QDir().mkpath(folder + "Config");
        QFile file(folder + "Config/UserSettings.ini");
        if (file.open(QIODevice::WriteOnly))
            file.write(before);
    });
    if (!volume.mounted)
        GTEST_SKIP() << "only root may mount the small filesystem this needs";
    const TUserSettings settings(volume.dir.path() + "/");
    ASSERT_EQ(before.size(), 4090);

    const std::optional<QString> failure = settings.SaveUserSettings({true, true, "/old"});
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->contains("UserSettings.ini")) << failure->toStdString();
    QFile file(settings.fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

// "Loudness" holds a whole LUFS target; missing, empty, out of range or unreadable is as recorded.
TEST_F(UserSettingsTest, LoudnessIsStoredAndAnythingUnreadableMeansAsRecorded)
{
    EXPECT_EQ(settings.LoadLoudness(), std::nullopt);
    for (const char *stored : {"", "loud", "-40", "0", "-16.5x", "-4"}) {
        store(QByteArray("[USRInfo]\r\nLoudness=") + stored + "\r\n");
        EXPECT_EQ(settings.LoadLoudness(), std::nullopt) << stored;
    }
    store("[USRInfo]\r\nOutDir=/x\r\nLoudness= -23 \r\n");
    EXPECT_EQ(settings.LoadLoudness(), -23);
    EXPECT_FALSE(settings.SaveLoudness(-14).has_value());
    EXPECT_EQ(settings.LoadLoudness(), -14);
    EXPECT_TRUE(bytes().contains("OutDir=/x\r\n"));
    EXPECT_FALSE(settings.SaveLoudness(std::nullopt).has_value());
    EXPECT_EQ(settings.LoadLoudness(), std::nullopt);
}

// "KeepOriginal" is on only for a stored "1"; saving it keeps the other lines.
TEST_F(UserSettingsTest, KeepOriginalIsOnlyOnForAStoredOne)
{
    for (const auto &[stored, on] : {std::pair{"1", true}, {"0", false}, {"", false}, {"yes", false}, {"11", false}}) {
        store(QByteArray("[USRInfo]\r\nOutDir=/x\r\nKeepOriginal=") + stored + "\r\n");
        UserSettingsState state = initialWindow();
        settings.LoadUserSettings(state);
        EXPECT_EQ(state.keepOriginal, on) << stored;
    }
    store("[USRInfo]\r\nOutDir=/x\r\n");
    UserSettingsState state = initialWindow();
    settings.LoadUserSettings(state);
    EXPECT_FALSE(state.keepOriginal); // missing: re-encode as always
    ASSERT_TRUE(settings.SaveKeepOriginal(true));
    settings.LoadUserSettings(state);
    EXPECT_TRUE(state.keepOriginal);
    EXPECT_TRUE(bytes().contains("OutDir=/x\r\n"));
}
