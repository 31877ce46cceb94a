// A custom profile chosen in the main window's profile selector: found by its name, applied
// before the Options dialog was ever shown, and loaded again for every converted item.
#include "common/Fakes.h"
#include "media/SourceListModel.h"
#include "services/CommonLib.h"
#include "services/CustomProc.h"
#include "settings/CustomProfileValue.h"
#include "settings/OptionDialogHandlers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CustomProfileChoice : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    FixedClock clock;
    FakeMessageBoxes boxes;
    OptionSelectionModel options;
    SourceListModel sources;
    TCommonLib common{folder, clock, boxes};
    TCustomProc proc{common, options, sources};

    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(folder + "Config"));
        QFile file(folder + "Config/UserProfileInfo.ini");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\r\n[A]\r\nA=0|0|0|0|0|0\r\n\r\n[B]\r\nB=4|0|4|8|0|3\r\n");
        file.close();
        proc.FillAllSelectors();
        proc.ApplyQualityProfile();
    }
    // The main window's cbbProfile: the user picks entry `index`.
    void chooseQuality(int index)
    {
        options.setSelectedIndex(Selector::Quality, index);
        proc.ApplyQualityProfile();
    }
    QString values() const { return ProfileValueOf(options); }
    QString convertedAudioBitrate()
    {
        sources.clear();
        sources.appendItem(WholeFileItem(folder + "clip.avi", 1024 * 1024, 10000));
        proc.setOutputFolderText(folder + "out");
        EXPECT_TRUE(proc.CreateConvertParameter(sources.item(0)).ok());
        return common.convertParameter().audioBitrateArg;
    }
};

TEST_F(CustomProfileChoice, TheServiceObjectsReadTheConfigFolder)
{
    EXPECT_EQ(common.ListConfigSections("UserProfileInfo.ini"), QStringList({"A", "B"}));
    EXPECT_EQ(common.ReadConfigValue("UserProfileInfo.ini", "B"), "4|0|4|8|0|3");
    EXPECT_EQ(common.ReadConfigValue("UserProfileInfo.ini", "Z"), "");
    EXPECT_EQ(options.entries(Selector::Quality).mid(5), QStringList({"A", "B"}));
}

TEST_F(CustomProfileChoice, AppliesBeforeTheDialogWasShownAndAtEveryItem)
{
    chooseQuality(6);
    EXPECT_EQ(values(), "4|0|4|8|0|3");
    EXPECT_EQ(proc.customProfileBox().selectedName(), "B");

    // A value changed by hand gives way to the profile when the item is converted.
    options.setSelectedIndex(Selector::AudioBitrate, 0);
    EXPECT_EQ(convertedAudioBitrate(), " -ab 224");

    // A built-in quality chosen afterwards holds: the custom profile is no longer loaded.
    chooseQuality(0);
    EXPECT_EQ(proc.customProfileBox().selectedIndex(), -1);
    EXPECT_EQ(convertedAudioBitrate(), " -ab 48");
}

// "B" is chosen, then its bitrate set to 64 in the Options dialog: what the dialog shows
// converts, and the quality box says so after OK. Cancel gives the profile back; Save under its
// name puts it in force with the values shown.
TEST_F(CustomProfileChoice, AnOptionChangedInTheDialogIsWhatConverts)
{
    TOptionDialogHandlers dialog(proc.customProfiles(), options);
    const auto changeBitrateTo64 = [&] {
        dialog.FormShow();
        ASSERT_EQ(proc.customProfileBox().selectedName(), "B");
        options.setSelectedIndex(Selector::AudioBitrate, 3);
        dialog.ProfileOptionChange();
    };
    chooseQuality(6);
    changeBitrateTo64();
    dialog.btnCancelClick();
    EXPECT_EQ(convertedAudioBitrate(), " -ab 224");
    EXPECT_EQ(options.selectedText(Selector::Quality), "B");

    changeBitrateTo64();
    dialog.btnApplyClick();
    EXPECT_EQ(options.selectedText(Selector::Quality), "Custom settings");
    EXPECT_EQ(convertedAudioBitrate(), " -ab 64");

    changeBitrateTo64();
    dialog.btnSaveClick();
    dialog.btnApplyClick();
    EXPECT_EQ(options.selectedText(Selector::Quality), "B");
    EXPECT_EQ(common.ReadConfigValue("UserProfileInfo.ini", "B"), "4|0|4|3|0|3");
    EXPECT_EQ(convertedAudioBitrate(), " -ab 64");
}

TEST_F(CustomProfileChoice, FindsTheNameAfterProfilesWereDeletedAndTheDialogCancelled)
{
    TOptionDialogHandlers dialog(proc.customProfiles(), options);
    dialog.FormShow();
    proc.customProfileBox().setTypedText("A");
    dialog.btnDelClick();
    dialog.btnCancelClick();
    ASSERT_EQ(options.entries(Selector::Quality).mid(5), QStringList({"A", "B"}));   // not refilled

    chooseQuality(6);   // "B", now the first stored profile
    EXPECT_EQ(values(), "4|0|4|8|0|3");

    const QString before = values();
    chooseQuality(5);   // "A" is gone: nothing changes
    EXPECT_EQ(values(), before);
    EXPECT_EQ(proc.customProfileBox().selectedIndex(), -1);
}

} // namespace
