// The window and kelvane-convert build the same command line from the same choice: the window
// from its selectors (after start-up, the output type, the quality or a custom profile, then
// single options picked in the Options dialog), kelvane-convert from its options directly.
#include "cli/CommandLineOptions.h"
#include "cli/OptionChoice.h"
#include "common/Fakes.h"
#include "engine/ConvertParameterBuilder.h"
#include "media/SourceItem.h"
#include "settings/CustomProfileStore.h"
#include "settings/CustomProfiles.h"
#include "settings/QualityProfiles.h"
#include "support/AppFunc.h"
#include "support/FileFunc.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Folders {
    QTemporaryDir tmp;
    QString program = [this] {
        QDir().mkpath(tmp.path() + "/App");
        return tmp.path() + "/App/";
    }();
    FixedClock clock;
    TAppFunc log{tmp.path() + "/", clock};
    TFileFunc fileFunc;
};

SourceItem clip()
{
    SourceItem item = WholeFileItem("/v/Clip one.avi", 1024, 125400);
    item.startMs = 10000;
    return item;
}

// The window: start-up, then what the user picks, in the order the window offers it.
QString windowLine(Folders &f, const ConvertRequest &request)
{
    OptionSelectionModel options;
    SelectorHooks hooks;
    hooks.loadCustomProfile = [&](int) { LoadCustomProfileByName(options, f.tmp.path() + "/", request.profileName); };
    FillAllSelectors(options, hooks);
    ApplyQualityProfile(options, hooks);
    options.setSelectedIndex(Selector::OutputType, request.outputType);
    ApplyQualityProfile(options, hooks); // picking a type applies the quality shown
    if (!request.profileName.isEmpty()) {
        options.appendEntries(Selector::Quality, {request.profileName});
        options.setSelectedIndex(Selector::Quality, BuiltInQualityCount);
    } else if (request.quality) {
        options.setSelectedIndex(Selector::Quality, *request.quality);
    }
    ApplyQualityProfile(options, hooks);
    const auto pick = [&](Selector s, const std::optional<int> &index) {
        if (index)
            options.setSelectedIndex(s, *index);
    };
    pick(Selector::AudioBitrate, request.audioBitrate);
    pick(Selector::AudioSample, request.sampleRate);
    pick(Selector::AudioChannels, request.channels);
    pick(Selector::VolumeGain, request.volume);
    options.setKeepOriginal(request.keepOriginal);
    ConvertParameterBuilder builder(f.program, &options, f.log, f.fileFunc);
    builder.setOutputFolderText(f.tmp.path() + "/out");
    builder.setLoudnessTarget(request.loudness.value_or(LoudnessTarget{}));
    TConvertParameterStruct parameter;
    return builder.CreateConvertParameter(clip(), parameter).command.commandLine;
}

QString cliLine(Folders &f, const QStringList &arguments)
{
    const ParsedCommandLine parsed = ParseCommandLine(arguments + QStringList{"x.avi"});
    EXPECT_EQ(parsed.kind, ParsedCommandLine::Kind::Run) << parsed.message.toStdString();
    const OptionChoice choice = ChooseOptions(parsed.request, f.tmp.path() + "/");
    EXPECT_TRUE(choice.error.isEmpty()) << choice.error.toStdString();
    ConvertParameterBuilder builder(f.program, nullptr, f.log, f.fileFunc);
    builder.setOutputFolderText(f.tmp.path() + "/out");
    TConvertParameterStruct parameter;
    return builder.CreateConvertParameter(clip(), choice.settings, parameter).command.commandLine;
}

} // namespace

TEST(SameCommandLine, TheWindowAndKelvaneConvertAgree)
{
    Folders f;
    TCustomProfileStore(f.tmp.path() + "/").store("Speech", "0|1|4|1|0|3");
    const QList<QStringList> choices = {
        {},
        {"--type", "mp3"},
        {"--type", "mp3", "--quality", "excellent", "--volume", "150"},
        {"--type", "amr", "--quality", "low"},
        {"--type", "aac", "--bitrate", "128", "--rate", "48000"},
        {"--type", "ac3", "--channels", "mono"},
        {"--type", "m4a", "--quality", "superb"},
        {"--type", "ogg", "--volume", "0"},
        {"--type", "wav", "--quality", "acceptable", "--channels", "stereo"},
        {"--type", "amr", "--profile", "speech"},
        {"--type", "mp3", "--profile", "SPEECH", "--bitrate", "224"},
        {"--type", "mp3", "--loudness", "-16", "--volume", "150"},
        {"--type", "aac", "--keep-original"},
        {"--type", "m4a", "--keep-original", "--loudness", "-23"},
        {"--type", "wav", "--loudness", "off"},
    };
    for (const QStringList &arguments : choices) {
        const ParsedCommandLine parsed = ParseCommandLine(arguments + QStringList{"x.avi"});
        const QString fromWindow = windowLine(f, parsed.request);
        EXPECT_FALSE(fromWindow.isEmpty());
        EXPECT_EQ(cliLine(f, arguments), fromWindow) << arguments.join(' ').toStdString();
        EXPECT_EQ(fromWindow.contains(" -loudness "), arguments.contains("--loudness") && !arguments.contains("off"));
        EXPECT_EQ(fromWindow.contains(" -keeporiginal"), arguments.contains("--keep-original"));
    }
}
