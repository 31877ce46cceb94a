#include "settings/EncoderSettings.h"

#include "settings/OptionTables.h"
#include "support/StrFunc.h"

namespace {

const OptionList &listOf(Selector selector)
{
    using namespace OptionLists;
    switch (selector) {
    case Selector::OutputType: return OutputTypeNames();
    case Selector::Quality: return QualityNames();
    case Selector::AudioBitrate: return AudioBitrates();
    case Selector::AudioSample: return AudioSampleRates();
    case Selector::AudioChannels: return AudioChannelModes();
    case Selector::VolumeGain: return VolumeGains();
    case Selector::VideoSize: return VideoSizes();
    case Selector::VideoBitrate: return VideoBitrates();
    case Selector::FrameRate: return FrameRates();
    case Selector::AspectRatio: break;
    }
    return AspectRatios();
}

// The entry of `selector`'s built-in list at `index`; empty outside the list.
QString entryAt(Selector selector, int index)
{
    const QStringList entries = visibleEntries(listOf(selector));
    return index >= 0 && index < entries.size() ? entries.at(index) : QString();
}

// The leading whole number of an entry ("2 channels, Stereo" gives 2); unset for none.
std::optional<int> numberAt(Selector selector, int index)
{
    const QString entry = entryAt(selector, index);
    bool ok = false;
    const int value = entry.section(u' ', 0, 0).toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

EncoderSettings EncoderSettingsFrom(const OptionSelection &selection)
{
    EncoderSettings settings;
    settings.outputType = outputTypeAt(selection.outputType) ? selection.outputType : -1;
    settings.audioBitrateKbps = numberAt(Selector::AudioBitrate, selection.audioBitrate);
    settings.sampleRateHz = numberAt(Selector::AudioSample, selection.sampleRate);
    settings.channelCount = numberAt(Selector::AudioChannels, selection.channels);
    settings.volumePercent = numberAt(Selector::VolumeGain, selection.volume);
    settings.videoSize = entryAt(Selector::VideoSize, selection.videoSize);
    settings.videoBitrateKbps = numberAt(Selector::VideoBitrate, selection.videoBitrate);
    settings.frameRate = numberAt(Selector::FrameRate, selection.frameRate);
    settings.aspectRatio = entryAt(Selector::AspectRatio, selection.aspectRatio);
    return settings;
}

void ApplyProfileRow(OptionSelection &selection, const QString &row)
{
    static const Selector fieldOrder[] = {Selector::VideoSize,    Selector::FrameRate,     Selector::VideoBitrate,
                                          Selector::AudioBitrate, Selector::AudioChannels, Selector::AudioSample};
    const QStringList pieces = SplitByChar(row, u'|');
    for (int i = 0; i < pieces.size() && i < 6; ++i) {
        bool ok = false;
        const int index = pieces.at(i).toInt(&ok);
        if (pieces.at(i) == u"none" || !ok)
            continue;
        const bool listed = index >= 0 && index < visibleEntries(listOf(fieldOrder[i])).size();
        selection[fieldOrder[i]] = listed ? index : -1;
    }
}

OptionSelection StartupSelection()
{
    OptionSelection selection;
    for (int i = 0; i < SelectorCount; ++i)
        selection[Selector(i)] = defaultIndex(listOf(Selector(i)));
    const QList<ProfileRow> rows = profileRowsFor(selection.outputType);
    if (selection.quality >= 0 && selection.quality < rows.size())
        ApplyProfileRow(selection, rows.at(selection.quality));
    return selection;
}

OptionSelection BuiltInQualitySelection(int outputType, int quality)
{
    OptionSelection selection = StartupSelection();
    selection.outputType = outputType;
    selection.quality = quality;
    const QList<ProfileRow> rows = profileRowsFor(outputType);
    if (quality >= 0 && quality < rows.size())
        ApplyProfileRow(selection, rows.at(quality));
    return selection;
}
