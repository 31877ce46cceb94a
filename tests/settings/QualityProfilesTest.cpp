#include "settings/QualityProfiles.h"

#include <gtest/gtest.h>

namespace {

class Profiles : public ::testing::Test {
protected:
    OptionSelectionModel model;
    SelectorHooks hooks;

    void SetUp() override
    {
        FillAllSelectors(model, hooks);
        ApplyQualityProfile(model, hooks);
    }
    void choose(Selector selector, int index)
    {
        model.setSelectedIndex(selector, index);
        ApplyQualityProfile(model, hooks);
    }
    QString text(Selector selector) const { return model.selectedText(selector); }
    bool profileEnabled() const { return model.isEnabled(SelectorControl::ProfileSelector); }
    bool optionsEnabled() const { return model.isEnabled(SelectorControl::OptionsButton); }
};

} // namespace

TEST(OptionTables, ListsEndWithTheirDefaultIndex)
{
    using namespace OptionLists;
    const struct {
        const OptionList &list;
        int count;
        QString defaultText;
    } cases[] = {
        {OutputTypeNames(), 7, "AMR Audio Files (*.amr)"},
        {QualityNames(), 5, "Normal Quality"},
        {AudioBitrates(), 9, "48"},
        {AudioSampleRates(), 4, "44100"},
        {AudioChannelModes(), 2, "2 channels, Stereo"},
        {VolumeGains(), 21, "100"},   // unchanged loudness: -vol is a percentage
        {VideoSizes(), 5, "176x144"},
        {VideoBitrates(), 5, "128"},
        {FrameRates(), 2, "15"},
        {AspectRatios(), 2, "4:3"},
    };
    for (const auto &c : cases) {
        const QStringList visible = visibleEntries(c.list);
        EXPECT_EQ(visible.size(), c.count);
        EXPECT_EQ(visible.value(defaultIndex(c.list)), c.defaultText);
    }
    EXPECT_EQ(AudioSampleRates(), QStringList({"22050", "32000", "44100", "48000", "2"}));
    EXPECT_EQ(visibleEntries(VolumeGains()).last(), "500");
    EXPECT_EQ(outputTypeAt(6)->displayName, "WAV Audio Files");
    EXPECT_EQ(outputTypeAt(4)->codecOption, outputTypeAt(1)->codecOption);
    EXPECT_EQ(outputTypeAt(7), nullptr);
    EXPECT_EQ(outputTypeAt(-1), nullptr);
}

TEST_F(Profiles, StartUpSelectsAmrNormalQualityAndTheDefaults)
{
    EXPECT_EQ(model.entries(Selector::OutputType).size(), 7);
    EXPECT_EQ(text(Selector::OutputType), "AMR Audio Files (*.amr)");
    EXPECT_EQ(model.entries(Selector::Quality).size(), 5);
    EXPECT_EQ(text(Selector::Quality), "Normal Quality");
    EXPECT_EQ(text(Selector::VideoSize), "176x144");
    EXPECT_EQ(text(Selector::FrameRate), "15");
    EXPECT_EQ(text(Selector::VideoBitrate), "128");
    EXPECT_EQ(text(Selector::AudioBitrate), "128");
    EXPECT_EQ(text(Selector::AudioChannels), "2 channels, Stereo");
    EXPECT_EQ(text(Selector::AudioSample), "44100");
    EXPECT_EQ(text(Selector::AspectRatio), "4:3");
    EXPECT_EQ(text(Selector::VolumeGain), "100");
    EXPECT_TRUE(profileEnabled());
    EXPECT_TRUE(optionsEnabled());
}

TEST_F(Profiles, AacTakesMonoAt22050AndAmrRestoresStereo)
{
    choose(Selector::OutputType, Aac);
    EXPECT_EQ(text(Selector::AudioChannels), "1 channel, Mono");
    EXPECT_EQ(text(Selector::AudioSample), "22050");
    EXPECT_EQ(text(Selector::Quality), "Normal Quality");
    choose(Selector::OutputType, Amr);
    EXPECT_EQ(text(Selector::AudioChannels), "2 channels, Stereo");
    EXPECT_EQ(text(Selector::AudioSample), "44100");
}

TEST_F(Profiles, OggDisablesControlsKeepsVideoAndWavEnablesThemAgain)
{
    choose(Selector::Quality, 4);
    model.setSelectedIndex(Selector::VideoSize, 3); // a value the OGG row must not touch
    choose(Selector::OutputType, Ogg);
    EXPECT_FALSE(profileEnabled());
    EXPECT_FALSE(optionsEnabled());
    EXPECT_EQ(text(Selector::AudioBitrate), "224");
    EXPECT_EQ(text(Selector::AudioChannels), "1 channel, Mono");
    EXPECT_EQ(text(Selector::AudioSample), "22050");
    EXPECT_EQ(text(Selector::VideoSize), "320x240");
    EXPECT_EQ(text(Selector::VideoBitrate), "512");

    choose(Selector::OutputType, Wav);
    EXPECT_TRUE(profileEnabled());
    EXPECT_TRUE(optionsEnabled());
    EXPECT_EQ(text(Selector::VideoBitrate), "512"); // "none" keeps the AMR Superb value
    choose(Selector::Quality, 0);
    EXPECT_EQ(text(Selector::AudioBitrate), "48");
    EXPECT_EQ(text(Selector::AudioChannels), "1 channel, Mono");
    EXPECT_EQ(text(Selector::AudioSample), "22050");
}

TEST_F(Profiles, AmrAfterOggEnablesTheOptionsButton)
{
    choose(Selector::OutputType, Ogg);
    choose(Selector::OutputType, Amr);
    EXPECT_TRUE(profileEnabled());
    EXPECT_TRUE(optionsEnabled());
}

TEST_F(Profiles, VolumeAndAspectKeepTheirChoiceThroughProfiles)
{
    model.setSelectedIndex(Selector::VolumeGain, 8);
    model.setSelectedIndex(Selector::AspectRatio, 1);
    for (int type = 0; type < OutputTypeCount; ++type)
        for (int quality = 0; quality < BuiltInQualityCount; ++quality) {
            model.setSelectedIndex(Selector::OutputType, type);
            choose(Selector::Quality, quality);
        }
    EXPECT_EQ(text(Selector::VolumeGain), "200");   // a chosen entry is kept as it is
    EXPECT_EQ(text(Selector::AspectRatio), "16:9");
}

TEST(CustomProfiles, NamesFollowTheQualitiesAndSelectingOneLoadsItWithoutChangingEnabledStates)
{
    OptionSelectionModel model;
    SelectorHooks hooks;
    QList<int> loaded;
    bool settingsLoaded = false;
    hooks.customProfileNames = [] { return QStringList({"Mine", "Yours"}); };
    hooks.loadUserSettings = [&] { settingsLoaded = true; };
    hooks.loadCustomProfile = [&](int position) { loaded << position; };
    FillAllSelectors(model, hooks);
    EXPECT_TRUE(settingsLoaded);
    EXPECT_EQ(model.entries(Selector::Quality).mid(4), QStringList({"Superb Quality", "Mine", "Yours"}));
    EXPECT_EQ(model.selectedText(Selector::Quality), "Normal Quality");

    model.setSelectedIndex(Selector::OutputType, Ogg);
    ApplyQualityProfile(model, hooks);
    model.setSelectedIndex(Selector::Quality, 6);
    model.setSelectedIndex(Selector::OutputType, Wav);
    const QString bitrateBefore = model.selectedText(Selector::AudioBitrate);
    ApplyQualityProfile(model, hooks);
    EXPECT_EQ(loaded, QList<int>({1}));
    EXPECT_FALSE(model.isEnabled(SelectorControl::OptionsButton)); // still as OGG left it
    EXPECT_EQ(model.selectedText(Selector::AudioBitrate), bitrateBefore);
}

TEST(OptionSelectionModel, SignalsChangesAndTreatsOutOfRangeAsNoSelection)
{
    OptionSelectionModel model;
    int changes = 0;
    QObject::connect(&model, &OptionSelectionModel::selectionChanged, [&](Selector, int) { ++changes; });
    model.setEntries(Selector::FrameRate, {"11", "15"});
    model.setSelectedIndex(Selector::FrameRate, 1);
    model.setSelectedIndex(Selector::FrameRate, 1);
    EXPECT_EQ(changes, 1);
    model.setSelectedIndex(Selector::FrameRate, 9);
    EXPECT_EQ(model.selectedIndex(Selector::FrameRate), -1);
    EXPECT_EQ(model.selectedText(Selector::FrameRate), "");
    EXPECT_EQ(model.selection().frameRate, -1);
    EXPECT_EQ(changes, 2);
}

// The quality box names what will be used: the built-in quality the values match, or a
// "Custom settings" entry after the others while they match none.
TEST_F(Profiles, TheQualityBoxNamesTheQualityTheValuesMatchOrCustomSettings)
{
    model.setSelectedIndex(Selector::OutputType, Mp3);
    choose(Selector::Quality, 4);
    model.setSelectedIndex(Selector::Quality, 2); // the box says something else...
    NameQualityInUse(model);
    EXPECT_EQ(text(Selector::Quality), "Superb Quality"); // ...and is put right
    EXPECT_EQ(model.entries(Selector::Quality).size(), 5);

    model.setSelectedIndex(Selector::AudioBitrate, 3); // 64 kbit/s: no built-in quality
    NameQualityInUse(model);
    EXPECT_EQ(text(Selector::Quality), "Custom settings");
    EXPECT_EQ(model.entries(Selector::Quality).last(), "Custom settings");
    EXPECT_EQ(model.entries(Selector::Quality).size(), 6);
    NameQualityInUse(model);
    EXPECT_EQ(model.entries(Selector::Quality).size(), 6) << "one entry, however often it is named";

    // Changing the type while "Custom settings" is selected keeps the values and names again.
    choose(Selector::OutputType, Wav);
    EXPECT_EQ(text(Selector::AudioBitrate), "64");
    EXPECT_EQ(text(Selector::Quality), "Custom settings");

    model.setSelectedIndex(Selector::AudioBitrate, 8);
    NameQualityInUse(model);
    EXPECT_EQ(text(Selector::Quality), "Superb Quality");
    EXPECT_EQ(model.entries(Selector::Quality).size(), 5) << "the entry goes when it is not needed";

    // OGG's rows leave the video selectors out: they don't decide the match.
    choose(Selector::OutputType, Ogg);
    model.setSelectedIndex(Selector::VideoSize, 0);
    NameQualityInUse(model);
    EXPECT_EQ(text(Selector::Quality), "Superb Quality");
}
