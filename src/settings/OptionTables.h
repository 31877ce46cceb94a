#pragma once
// The built-in vocabulary: option lists, output types and quality profile rows. Constant data.
#include <QString>
#include <QStringList>

// An ordered list of texts whose last entry is the default index (decimal) among the others.
using OptionList = QStringList;

// The visible entries of an option list (all but the last).
QStringList visibleEntries(const OptionList &list);
// The default index stored as the last entry of an option list (-1 when unreadable).
int defaultIndex(const OptionList &list);

namespace OptionLists {
const OptionList &OutputTypeNames();
const OptionList &QualityNames();
const OptionList &AudioBitrates();
const OptionList &AudioSampleRates();
const OptionList &AudioChannelModes();
const OptionList &VolumeGains();
const OptionList &VideoSizes();
const OptionList &VideoBitrates();
const OptionList &FrameRates();
const OptionList &AspectRatios();
} // namespace OptionLists

struct OutputType {
    QString displayName;
    QString extension;       // with its dot, ".mp3"
    QString codecOption;     // "-acodec mp3 -vn"
    QString containerFormat; // "none" = no container forced
};

inline constexpr int OutputTypeCount = 7;
enum OutputTypeIndex { Amr = 0, Aac, Mp3, Ac3, M4a, Ogg, Wav };

// The seven output types in selector order.
const QList<OutputType> &OutputTypes();
// The output type at `index`, or nullptr outside 0..6.
const OutputType *outputTypeAt(int index);

inline constexpr int BuiltInQualityCount = 5;

// A quality profile row: six fields joined by "|" (videoSize, frameRate, videoBitrate,
// audioBitrate, channels, sampleRate), each an index into its list or "none".
using ProfileRow = QString;

// The five rows (quality 0..4) for the output type at `outputType`; empty outside 0..6.
QList<ProfileRow> profileRowsFor(int outputType);
