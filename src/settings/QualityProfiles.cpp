#include "settings/QualityProfiles.h"

#include "settings/EncoderSettings.h"

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

void applyRow(OptionSelectionModel &model, const ProfileRow &row)
{
    OptionSelection selection = model.selection();
    ApplyProfileRow(selection, row);
    for (const Selector field : {Selector::VideoSize, Selector::FrameRate, Selector::VideoBitrate,
                                 Selector::AudioBitrate, Selector::AudioChannels, Selector::AudioSample})
        model.setSelectedIndex(field, selection[field]);
}

} // namespace

void ApplyQualityProfile(OptionSelectionModel &model, const SelectorHooks &hooks)
{
    const int quality = model.selectedIndex(Selector::Quality);
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
