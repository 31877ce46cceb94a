#include "cli/OptionChoice.h"

#include "cli/ConvertRequest.h"
#include "cli/CustomProfileLookup.h"
#include "settings/QualityProfiles.h"
#include "support/StrFunc.h"

namespace {

// The selectors a stored profile sets, in the order of its six fields.
constexpr Selector ProfileFields[] = {Selector::VideoSize,    Selector::FrameRate,     Selector::VideoBitrate,
                                      Selector::AudioBitrate, Selector::AudioChannels, Selector::AudioSample};

// Selects the stored indexes; an empty field leaves its selector, -1 or an index outside the
// list selects nothing. Returns false (changing nothing) unless the value is six integers.
bool applyStoredProfile(OptionSelectionModel &model, const QString &value)
{
    const QStringList pieces = SplitByChar(value, u'|');
    if (pieces.size() != 6)
        return false;
    QList<std::optional<int>> indexes;
    for (const QString &piece : pieces) {
        bool ok = piece.isEmpty();
        indexes << (ok ? std::nullopt : std::optional<int>(piece.toInt(&ok)));
        if (!ok)
            return false;
    }
    for (int i = 0; i < 6; ++i) {
        if (indexes.at(i))
            model.setSelectedIndex(ProfileFields[i], *indexes.at(i));
    }
    return true;
}

QString profileError(const QString &name, const CustomProfileLookup &lookup)
{
    if (!lookup.error.isEmpty())
        return QStringLiteral("the custom profiles cannot be read: %1").arg(lookup.error);
    if (!lookup.value) {
        if (lookup.names.isEmpty())
            return QStringLiteral("there is no custom profile named '%1'; none are stored yet.").arg(name);
        return QStringLiteral("there is no custom profile named '%1'; the custom profiles are: %2.")
            .arg(name, lookup.names.join(QStringLiteral(", ")));
    }
    return {};
}

// The custom profile in place of a quality, as when it is picked in the window's quality list.
QString applyCustomProfile(OptionSelectionModel &model, const QString &name, const QString &programFolder)
{
    const CustomProfileLookup lookup = LookUpCustomProfile(programFolder, name);
    if (const QString error = profileError(name, lookup); !error.isEmpty())
        return error;
    bool applied = false;
    SelectorHooks hooks;
    hooks.loadCustomProfile = [&](int) { applied = applyStoredProfile(model, *lookup.value); };
    model.appendEntries(Selector::Quality, {name});
    model.setSelectedIndex(Selector::Quality, static_cast<int>(model.entries(Selector::Quality).size()) - 1);
    ApplyQualityProfile(model, hooks);
    if (!applied)
        return QStringLiteral("the custom profile '%1' holds '%2', which is not six numbers joined by '|'.")
            .arg(name, *lookup.value);
    return {};
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

OptionChoice ChooseOptions(OptionSelectionModel &model, const ConvertRequest &request, const QString &programFolder)
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
        choice.error = applyCustomProfile(model, request.profileName, programFolder);
    if (!choice.error.isEmpty())
        return choice;
    setIfGiven(model, Selector::AudioBitrate, request.audioBitrate);
    setIfGiven(model, Selector::AudioSample, request.sampleRate);
    setIfGiven(model, Selector::AudioChannels, request.channels);
    setIfGiven(model, Selector::VolumeGain, request.volume);
    choice.warnings = warningsFor(request);
    return choice;
}
