#include "cli/OptionChoice.h"

#include "cli/ConvertRequest.h"
#include "settings/CustomProfiles.h"
#include "settings/QualityProfiles.h"

namespace {

QString unknownProfile(const QString &name, const QStringList &names)
{
    if (names.isEmpty())
        return QStringLiteral("there is no custom profile named '%1'; none are stored yet.").arg(name);
    return QStringLiteral("there is no custom profile named '%1'; the custom profiles are: %2.")
        .arg(name, names.join(QStringLiteral(", ")));
}

// The custom profile in place of a quality, as when it is picked in the window's quality list;
// an empty text when it was applied, else why not.
QString applyCustomProfile(OptionSelectionModel &model, const QString &name, const QString &configBase)
{
    QString error;
    SelectorHooks hooks;
    hooks.loadCustomProfile = [&](int) {
        try {
            if (!LoadCustomProfileByName(model, configBase, name))
                error = unknownProfile(name, CustomProfileNames(configBase));
        } catch (const std::exception &e) {
            error = QString::fromLocal8Bit(e.what());
        }
    };
    model.appendEntries(Selector::Quality, {name});
    model.setSelectedIndex(Selector::Quality, static_cast<int>(model.entries(Selector::Quality).size()) - 1);
    ApplyQualityProfile(model, hooks);
    return error;
}

void setIfGiven(OptionSelectionModel &model, Selector selector, const std::optional<int> &index)
{
    if (index)
        model.setSelectedIndex(selector, *index);
}

QStringList warningsFor(const ConvertRequest &request)
{
    QStringList warnings;
    if (request.outputType == Amr && (request.sampleRate || request.channels))
        warnings << QStringLiteral("AMR is always mono at 8000 Hz; --rate and --channels do not apply to it.");
    return warnings;
}

} // namespace

OptionChoice ChooseOptions(OptionSelectionModel &model, const ConvertRequest &request, const QString &configBase)
{
    const SelectorHooks noHooks;
    FillAllSelectors(model, noHooks);
    ApplyQualityProfile(model, noHooks); // the window's start-up selection
    model.setSelectedIndex(Selector::OutputType, request.outputType);
    if (request.quality)
        model.setSelectedIndex(Selector::Quality, *request.quality);
    ApplyQualityProfile(model, noHooks);

    OptionChoice choice;
    if (!request.profileName.isEmpty())
        choice.error = applyCustomProfile(model, request.profileName, configBase);
    if (!choice.error.isEmpty())
        return choice;
    setIfGiven(model, Selector::AudioBitrate, request.audioBitrate);
    setIfGiven(model, Selector::AudioSample, request.sampleRate);
    setIfGiven(model, Selector::AudioChannels, request.channels);
    setIfGiven(model, Selector::VolumeGain, request.volume);
    model.setKeepOriginal(request.keepOriginal);
    choice.warnings = warningsFor(request);
    return choice;
}
