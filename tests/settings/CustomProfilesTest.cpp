// Custom profiles and the Options dialog's handlers without a window: the two files on disk,
// the name rules, loading a stored value, and Show, Add, Save, Delete, OK and Cancel.
#include "CustomProfilesFixture.h"
#include "settings/IniFile32.h"
#include "settings/OptionDialogHandlers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "settings/QualityProfiles.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class CustomProfilesTest : public CustomProfilesFixture {
protected:
    TOptionDialogHandlers dialog{profiles, options};

    QByteArray bytesOf(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QByteArray infoBytes() const { return bytesOf(infoPath()); }
    QByteArray countBytes() const { return bytesOf(folder + "Config/UserProfileCount.ini"); }
    QStringList warnings() const
    {
        QStringList texts;
        for (const ShownMessage &m : boxes.shown)
            if (m.icon == MessageIcon::Warning)
                texts << m.text;
        return texts;
    }
    // The eight option selectors the dialog gives back on Cancel, and the name box.
    std::vector<int> nineIndexes() const
    {
        std::vector<int> out;
        for (Selector s : {Selector::VideoSize, Selector::VideoBitrate, Selector::FrameRate, Selector::AspectRatio,
                           Selector::AudioBitrate, Selector::AudioSample, Selector::VolumeGain, Selector::AudioChannels})
            out.push_back(options.selectedIndex(s));
        out.push_back(box.selectedIndex());
        return out;
    }
};

const QByteArray ThreeProfiles = "\r\n[A]\r\nA=0|0|0|0|0|0\r\n"
                                 "\r\n[My AAC]\r\nMy AAC=1|1|2|5|0|0\r\n"
                                 "\r\n[C]\r\nC=4|1|4|8|1|3\r\n";

TEST_F(CustomProfilesTest, FirstAddWritesBothFilesAndTheNameBoxShowsTheNewProfile)
{
    options.setSelectedIndex(Selector::AudioChannels, 0);
    options.setSelectedIndex(Selector::AudioSample, 0);
    boxes.textAnswers.push_back(QStringLiteral("My AAC"));
    dialog.btnAddClick();

    EXPECT_EQ(boxes.texts(), QStringList({"Please input a name"}));
    EXPECT_EQ(boxes.proposedTexts, QStringList({"UserProfileInfo1"}));
    EXPECT_EQ(infoBytes(), "\r\n[My AAC]\r\nMy AAC=1|1|2|5|0|0\r\n");
    EXPECT_EQ(countBytes(), "\r\n[count]\r\ncount=1\r\n");
    EXPECT_EQ(box.entries(), QStringList({"My AAC"}));
    EXPECT_EQ(box.selectedIndex(), 0);
    EXPECT_EQ(box.text(), "My AAC");
    EXPECT_EQ(values(), "1|1|2|5|0|0");   // selecting from code loads nothing
}

TEST_F(CustomProfilesTest, ACancelledAddStillCountsSoTheNextOneProposesTheFollowingName)
{
    boxes.textAnswers.push_back(std::nullopt);
    dialog.btnAddClick();
    EXPECT_FALSE(QFile::exists(infoPath()));
    EXPECT_EQ(countBytes(), "\r\n[count]\r\ncount=1\r\n");
    EXPECT_TRUE(box.entries().isEmpty());

    boxes.textAnswers.push_back(QStringLiteral("UserProfileInfo2"));
    dialog.btnAddClick();
    EXPECT_EQ(boxes.proposedTexts, QStringList({"UserProfileInfo1", "UserProfileInfo2"}));
    EXPECT_EQ(countBytes(), "\r\n[count]\r\ncount=2\r\n");
    EXPECT_EQ(box.entries(), QStringList({"UserProfileInfo2"}));
}

// A typed name is stored as the list shows it; one that could never be loaded back is refused
// before anything is written, and the Add stays counted.
TEST_F(CustomProfilesTest, AddStoresTrimmedNamesAndRefusesUnloadableOnes)
{
    writeInfo("\r\n[Kept]\r\nKept=0|0|0|0|0|0\r\n");
    const struct {
        const char *typed;
        const char *listed; // nullptr: refused
    } cases[] = {
        {"  Padded name\t", "Padded name"},
        {"", nullptr},
        {"   ", nullptr},
        {"a=b", nullptr},
        {"[x", nullptr},
        {"y]", nullptr},
        {"two\nlines", nullptr},
        {"Ünïcode & co.", "Ünïcode & co."},
    };
    int adds = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        const QByteArray before = infoBytes();
        const qsizetype warned = warnings().size();
        // Values of this Add alone, so that a profile stored from anything else shows.
        options.setSelectedIndex(Selector::AudioBitrate, adds);
        const QString current = values();
        boxes.textAnswers.push_back(QString::fromUtf8(c.typed));
        dialog.btnAddClick();
        ++adds;
        EXPECT_EQ(countBytes(), "\r\n[count]\r\ncount=" + QByteArray::number(adds) + "\r\n");
        EXPECT_EQ(values(), current);
        if (c.listed) {
            EXPECT_EQ(warnings().size(), warned);
            EXPECT_EQ(box.entries().last(), QString::fromUtf8(c.listed));
            EXPECT_EQ(profiles.store().value(QString::fromUtf8(c.listed)), current);
        } else {
            ASSERT_EQ(warnings().size(), warned + 1);
            EXPECT_EQ(infoBytes(), before);
        }
    }
    EXPECT_EQ(warnings().at(0), "Please input a name for the profile.");
    EXPECT_EQ(warnings().at(2),
              "\"a=b\" cannot be used as a profile name: a name may not contain \"=\", \"[\", \"]\" or a line break.");
}

TEST_F(CustomProfilesTest, SaveReplacesInPlaceAndACaseTwinReplacesTheStoredProfile)
{
    writeInfo(ThreeProfiles);
    dialog.FormShow();
    box.setTypedText("A");
    options.setSelectedIndex(Selector::AudioBitrate, 8);
    dialog.btnSaveClick();
    EXPECT_EQ(box.selectedName(), "A");   // the saved profile stays selected
    EXPECT_EQ(box.text(), "A");

    box.setTypedText("  my aac ");
    options.setSelectedIndex(Selector::AudioBitrate, 7);
    dialog.btnSaveClick();
    EXPECT_EQ(infoBytes(), "\r\n[A]\r\nA=1|1|2|8|1|2\r\n"
                           "\r\n[My AAC]\r\nMy AAC=1|1|2|7|1|2\r\n"
                           "\r\n[C]\r\nC=4|1|4|8|1|3\r\n");

    EXPECT_EQ(box.text(), "My AAC");

    // A new name makes a new profile and leaves the counter alone; an empty one does nothing
    // and selects nothing.
    box.setTypedText("D");
    dialog.btnSaveClick();
    box.setTypedText(" ");
    dialog.btnSaveClick();
    EXPECT_EQ(box.selectedIndex(), -1);
    EXPECT_EQ(profiles.store().names(), QStringList({"A", "My AAC", "C", "D"}));
    EXPECT_TRUE(countBytes().isEmpty());
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// Save pressed twice writes the same profile twice: the second Save never lands on the profile
// that happens to be listed last.
TEST_F(CustomProfilesTest, SavingTwiceKeepsWritingTheSavedProfile)
{
    writeInfo("\r\n[A]\r\nA=0|0|0|0|0|0\r\n\r\n[B]\r\nB=4|1|4|8|1|3\r\n");
    dialog.FormShow();
    box.select(0);
    dialog.cbbCustomProfileChange();
    options.setSelectedIndex(Selector::AudioBitrate, 6);
    dialog.btnSaveClick();
    options.setSelectedIndex(Selector::AudioBitrate, 7);
    dialog.btnSaveClick();
    EXPECT_EQ(infoBytes(), "\r\n[A]\r\nA=0|0|0|7|0|0\r\n\r\n[B]\r\nB=4|1|4|8|1|3\r\n");
    EXPECT_EQ(box.selectedName(), "A");
}

// A section written by hand with blanks inside its brackets is the profile it is listed as:
// it loads, Save replaces it in place, and Delete removes it.
TEST_F(CustomProfilesTest, AHandWrittenSectionWithBlanksIsFoundByItsListedName)
{
    writeInfo("\r\n[ My AAC ]\r\nMy AAC=4|1|4|8|1|3\r\n\r\n[B]\r\nB=0|0|0|0|0|0\r\n");
    dialog.FormShow();
    EXPECT_EQ(box.entries(), QStringList({"My AAC", "B"}));
    box.select(0);
    dialog.cbbCustomProfileChange();
    EXPECT_EQ(values(), "4|1|4|8|1|3");

    options.setSelectedIndex(Selector::AudioBitrate, 2);
    dialog.btnSaveClick();
    EXPECT_EQ(infoBytes(), "\r\n[ My AAC ]\r\nMy AAC=4|1|4|2|1|3\r\n\r\n[B]\r\nB=0|0|0|0|0|0\r\n");
    EXPECT_EQ(box.entries(), QStringList({"My AAC", "B"}));

    box.select(0);
    dialog.btnDelClick();
    EXPECT_EQ(profiles.store().names(), QStringList({"B"}));
}

TEST_F(CustomProfilesTest, RefusedSaveKeepsTheFileAndTheTypedName)
{
    writeInfo(ThreeProfiles);
    dialog.FormShow();
    box.setTypedText("x=y");
    dialog.btnSaveClick();
    EXPECT_EQ(infoBytes(), ThreeProfiles);
    EXPECT_EQ(warnings().size(), 1);
    EXPECT_EQ(box.text(), "x=y");
}

TEST_F(CustomProfilesTest, DeletingTheLastProfileEmptiesTheNameBoxAndTheFile)
{
    writeInfo("\r\n[Only]\r\nOnly=0|0|0|0|0|0\r\n");
    dialog.FormShow();
    box.select(0);
    dialog.btnDelClick();
    EXPECT_TRUE(box.entries().isEmpty());
    EXPECT_EQ(box.selectedIndex(), -1);
    EXPECT_TRUE(box.text().isEmpty());
    EXPECT_FALSE(infoBytes().contains('['));

    // With no names listed Delete touches nothing, not even a typed name's profile.
    ASSERT_TRUE(QFile::remove(infoPath()));
    box.setTypedText("Only");
    dialog.btnDelClick();
    EXPECT_FALSE(QFile::exists(infoPath()));
}

TEST_F(CustomProfilesTest, LoadingAStoredValue)
{
    const struct {
        const char *stored;
        const char *after;
    } cases[] = {
        {"0|0|0|0|0|0", "0|0|0|0|0|0"},
        {"4|0|4|8|0|3", "4|0|4|8|0|3"},
        {"0|0|0|0|0", "1|1|2|5|1|2"},     // five pieces: nothing changes
        {"0|0|0|0|0|0|0", "1|1|2|5|1|2"}, // seven
        {"", "1|1|2|5|1|2"},
        {"0||0|0||0", "0|1|0|0|1|0"},     // an empty piece keeps its selector
        {"0|0|99|0|0|0", "0|0|-1|0|0|0"}, // outside the list: nothing selected
        {"-1|0|0|0|0|0", "-1|0|0|0|0|0"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored);
        ApplyQualityProfile(options, {});
        writeInfo("\r\n[P]\r\nP=" + QByteArray(c.stored) + "\r\n");
        box.setEntries(profiles.store().names());
        box.select(0);
        profiles.LoadSelectedCustomProfile();
        EXPECT_EQ(values(), QString::fromLatin1(c.after));
    }

    // A piece that is not a number stops the load there, with the selectors before it set.
    ApplyQualityProfile(options, {});
    writeInfo("\r\n[P]\r\nP=0|x|0|0|0|0\r\n");
    try {
        profiles.LoadSelectedCustomProfile();
        ADD_FAILURE() << "no error for a piece that is not a number";
    } catch (const CustomProfileError &e) {
        EXPECT_STREQ(e.what(), "The custom profile \"P\" cannot be loaded: \"x\" is not a valid integer value.");
    }
    EXPECT_EQ(values(), "0|1|2|5|1|2");

    // Nothing selected in the name box loads nothing.
    box.select(-1);
    options.setSelectedIndex(Selector::VideoSize, 3);
    profiles.LoadSelectedCustomProfile();
    EXPECT_EQ(values(), "3|1|2|5|1|2");
}

TEST_F(CustomProfilesTest, ShowKeepsTheTypedTextAndCancelGivesBackAllNineIndexes)
{
    writeInfo(ThreeProfiles);
    box.setTypedText("typed");
    dialog.FormShow();
    EXPECT_EQ(box.entries(), QStringList({"A", "My AAC", "C"}));
    EXPECT_EQ(box.text(), "typed");
    EXPECT_EQ(box.selectedIndex(), -1);

    const std::vector<int> shown = nineIndexes();
    options.setSelectedIndex(Selector::AudioBitrate, 0);
    options.setSelectedIndex(Selector::VolumeGain, 0);
    options.setSelectedIndex(Selector::AspectRatio, 1);
    box.select(2);
    dialog.cbbCustomProfileChange();   // the user's pick loads C, hidden selectors included
    EXPECT_EQ(values(), "4|1|4|8|1|3");
    dialog.btnCancelClick();
    EXPECT_EQ(nineIndexes(), shown);
    EXPECT_EQ(box.text(), "");   // nothing was selected when the dialog was shown
}

// A profile file that cannot be read fails the showing, but Cancel still gives back the
// selectors as they were, not the indexes of no selection.
TEST_F(CustomProfilesTest, CancelAfterAShowThatCouldNotReadTheProfilesKeepsTheSelectors)
{
    ASSERT_TRUE(QDir().mkpath(infoPath()));   // a folder where the file should be: it cannot be read
    const std::vector<int> before = nineIndexes();
    EXPECT_THROW(dialog.FormShow(), IniFileError);
    options.setSelectedIndex(Selector::AudioBitrate, 0);
    dialog.btnCancelClick();
    EXPECT_EQ(nineIndexes(), before);
    EXPECT_EQ(values(), StartValues);
}

TEST_F(CustomProfilesTest, ShowSelectsTheCustomProfileChosenInTheMainWindow)
{
    writeInfo(ThreeProfiles);
    profiles.FillProfileSelector();
    options.setSelectedIndex(Selector::Quality, 6);   // "My AAC"
    dialog.FormShow();
    EXPECT_EQ(box.selectedName(), "My AAC");
    EXPECT_EQ(values(), StartValues);   // selected, not loaded

    // Cancel gives back the name box's remembered entry too.
    box.select(0);
    dialog.btnCancelClick();
    EXPECT_EQ(box.selectedName(), "My AAC");
}

TEST_F(CustomProfilesTest, OkRefillsTheMainWindowsListAndKeepsTheValues)
{
    writeInfo(ThreeProfiles);
    dialog.FormShow();
    boxes.textAnswers.push_back(QStringLiteral("New"));
    dialog.btnAddClick();
    options.setSelectedIndex(Selector::AudioBitrate, 7);
    options.setSelectedIndex(Selector::Quality, 4);
    dialog.btnApplyClick();
    EXPECT_EQ(options.entries(Selector::Quality),
              QStringList({"Low Quality", "Acceptable Quality", "Normal Quality", "Excellent Quality", "Superb Quality",
                           "A", "My AAC", "C", "New"}));
    EXPECT_EQ(options.selectedText(Selector::Quality), "New"); // chosen in the name box: used for every file
    EXPECT_EQ(options.selectedIndex(Selector::AudioBitrate), 7);
}

// OK leaves the main window's quality box naming what a conversion will use.
TEST_F(CustomProfilesTest, OkNamesTheQualityInUse)
{
    writeInfo(ThreeProfiles);
    options.setSelectedIndex(Selector::OutputType, Mp3);
    options.setSelectedIndex(Selector::Quality, 4);
    ApplyQualityProfile(options, {});
    profiles.FillProfileSelector();
    options.setSelectedIndex(Selector::Quality, 4);

    dialog.FormShow();
    dialog.btnApplyClick(); // no change
    EXPECT_EQ(options.selectedText(Selector::Quality), "Superb Quality");

    dialog.FormShow();
    options.setSelectedIndex(Selector::AudioBitrate, 3); // 64 kbit/s
    dialog.btnApplyClick();
    EXPECT_EQ(options.selectedText(Selector::Quality), "Custom settings");
    EXPECT_FALSE(profiles.store().names().contains("Custom settings")) << "never stored";

    dialog.FormShow();
    box.select(1);
    dialog.cbbCustomProfileChange(); // the user picks "My AAC"
    dialog.btnApplyClick();
    EXPECT_EQ(options.selectedText(Selector::Quality), "My AAC");
    EXPECT_EQ(options.entries(Selector::Quality).size(), 8);
}

TEST_F(CustomProfilesTest, AnUnwritableConfigFolderFailsAddBeforeThePromptAndSave)
{
    QFile blocker(folder + "Config");   // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(dialog.btnAddClick(), IniFileError);
    EXPECT_TRUE(boxes.shown.isEmpty());
    box.setTypedText("X");
    EXPECT_THROW(dialog.btnSaveClick(), IniFileError);
    box.setEntries({"X"});
    EXPECT_NO_THROW(dialog.btnDelClick());   // nothing to erase, nothing written
}

TEST_F(CustomProfilesTest, OtherProgramsFindAProfileByNameWithoutAWindow)
{
    writeInfo(ThreeProfiles);
    EXPECT_EQ(CustomProfileNames(folder), QStringList({"A", "My AAC", "C"}));
    OptionSelectionModel model;
    FillAllSelectors(model, {});
    EXPECT_TRUE(LoadCustomProfileByName(model, folder, " my aac"));
    EXPECT_EQ(ProfileValueOf(model), "1|1|2|5|0|0");
    EXPECT_FALSE(LoadCustomProfileByName(model, folder, "Missing"));
    EXPECT_EQ(ProfileValueOf(model), "1|1|2|5|0|0");
    EXPECT_TRUE(CustomProfileNames(dir.path() + "/elsewhere/").isEmpty());
}

} // namespace
