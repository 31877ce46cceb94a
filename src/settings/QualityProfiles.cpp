#include "settings/QualityProfiles.h"

#include "settings/EncoderSettings.h"
#include "support/StrFunc.h"

void FillSelector(OptionSelectionModel &model, Selector selector, const OptionList &list)
{
    model.appendEntries(selector, visibleEntries(list));
    model.setSelectedIndex(selector, defaultIndex(list));
}

void FillAllSelectors(OptionSelectionModel &model, const SelectorHooks &hooks)
{
    using namespace OptionLists;
    FillSelector(model, Selector::OutputType, OutputTypeNames());
    model.appendEntries(Selector::Quality, visibleEntries(QualityNames()));
    model.appendEntries(Selector::Quality, hooks.customProfileNames());
    model.setSelectedIndex(Selector::Quality, defaultIndex(QualityNames()));
    FillSelector(model, Selector::AspectRatio, AspectRatios());
    FillSelector(model, Selector::VideoBitrate, VideoBitrates());
    FillSelector(model, Selector::AudioBitrate, AudioBitrates());
    FillSelector(model, Selector::AudioChannels, AudioChannelModes());
    FillSelector(model, Selector::FrameRate, FrameRates());
    FillSelector(model, Selector::AudioSample, AudioSampleRates());
    FillSelector(model, Selector::VolumeGain, VolumeGains());
    FillSelector(model, Selector::VideoSize, VideoSizes());
    hooks.loadUserSettings();
}

namespace {

void applyEnabledStates(OptionSelectionModel &model, int outputType)
{
    // AMR enables the Options button like every other type but OGG.
    const bool enabled = outputType != Ogg;
    model.setEnabled(SelectorControl::ProfileSelector, enabled);
    model.setEnabled(SelectorControl::OptionsButton, enabled);
}

const Selector fieldOrder[] = {Selector::VideoSize,    Selector::FrameRate,     Selector::VideoBitrate,
                               Selector::AudioBitrate, Selector::AudioChannels, Selector::AudioSample};

void applyRow(OptionSelectionModel &model, const ProfileRow &row)
{
    OptionSelection selection = model.selection();
    ApplyProfileRow(selection, row);
    for (const Selector field : {Selector::VideoSize, Selector::FrameRate, Selector::VideoBitrate,
                                 Selector::AudioBitrate, Selector::AudioChannels, Selector::AudioSample})
        model.setSelectedIndex(field, selection[field]);
}

bool rowMatches(const OptionSelectionModel &model, const ProfileRow &row)
{
    const QStringList pieces = SplitByChar(row, u'|');
    for (int i = 0; i < pieces.size() && i < 6; ++i) {
        bool ok = false;
        const int index = pieces.at(i).toInt(&ok);
        if (ok && model.selectedIndex(fieldOrder[i]) != index)
            return false;
    }
    return true;
}

QString customSettingsText()
{
    return QString::fromLatin1(CustomSettingsEntry);
}

// The position of the "Custom settings" entry; -1 when the box has none. It is always the last.
int customSettingsIndex(const OptionSelectionModel &model)
{
    const QStringList entries = model.entries(Selector::Quality);
    const int last = static_cast<int>(entries.size()) - 1;
    return last >= BuiltInQualityCount && entries.at(last) == customSettingsText() ? last : -1;
}

} // namespace

std::optional<int> MatchingBuiltInQuality(const OptionSelectionModel &model)
{
    const QList<ProfileRow> rows = profileRowsFor(model.selectedIndex(Selector::OutputType));
    for (int quality = 0; quality < rows.size() && quality < BuiltInQualityCount; ++quality) {
        if (rowMatches(model, rows.at(quality)))
            return quality;
    }
    return std::nullopt;
}

void NameQualityInUse(OptionSelectionModel &model)
{
    const std::optional<int> quality = MatchingBuiltInQuality(model);
    QStringList entries = model.entries(Selector::Quality);
    if (const int entry = customSettingsIndex(model); entry >= 0)
        entries.removeAt(entry);
    if (!quality)
        entries << customSettingsText();
    if (entries != model.entries(Selector::Quality))
        model.setEntries(Selector::Quality, entries);
    model.setSelectedIndex(Selector::Quality, quality ? *quality : static_cast<int>(entries.size()) - 1);
}

namespace {

bool isCustomSettings(const OptionSelectionModel &model, int quality)
{
    return quality >= 0 && quality == customSettingsIndex(model);
}

} // namespace

void ApplyQualityProfile(OptionSelectionModel &model, const SelectorHooks &hooks)
{
    const int quality = model.selectedIndex(Selector::Quality);
    if (isCustomSettings(model, quality)) {
        // Values of no profile: they stay, and the box names what they now match.
        hooks.builtInQualityApplied();
        NameQualityInUse(model);
        return;
    }
    if (quality >= BuiltInQualityCount) {
        hooks.loadCustomProfile(quality - BuiltInQualityCount);
        return;
    }
    hooks.builtInQualityApplied();
    const int outputType = model.selectedIndex(Selector::OutputType);
    if (!outputTypeAt(outputType))
        return;
    applyEnabledStates(model, outputType);
    const QList<ProfileRow> rows = profileRowsFor(outputType);
    if (quality >= 0 && quality < rows.size())
        applyRow(model, rows.at(quality));
}
