#pragma once
// What the encoder is asked for, as values: the output type and the options the command-line
// templates carry. The window fills it from its selectors (a custom profile included, once it is
// loaded into them), kelvane-convert from its own options; both through EncoderSettingsFrom, so
// the same choice gives the same command line.
#include "settings/LoudnessTarget.h"
#include "settings/OptionSelectionModel.h"

#include <QString>
#include <optional>

struct EncoderSettings {
    int outputType = -1;                    // index into OutputTypes(); -1 none
    // Audio; unset: the template's default.
    std::optional<int> audioBitrateKbps;
    std::optional<int> sampleRateHz;
    std::optional<int> channelCount;
    std::optional<int> volumePercent;       // unset: no volume argument at all
    // Video, which the templates carry for some output types; empty: the template's default.
    QString videoSize;                      // "176x144"
    std::optional<int> videoBitrateKbps;
    std::optional<int> frameRate;
    QString aspectRatio;                    // "4:3"
    // Run-wide choices no selector index holds.
    LoudnessTarget loudness;                // unset: the sound as recorded
    bool keepOriginal = false;              // copy the sound as it is where the type allows
    // kelvane-convert's --bitrate, --rate and --channels, asked for on their own: with
    // keepOriginal they make the sound be encoded. A quality's or profile's values never do.
    struct AskedFormat {
        bool bitrate = false;
        bool sampleRate = false;
        bool channels = false;
        bool any() const { return bitrate || sampleRate || channels; }
        friend bool operator==(const AskedFormat &, const AskedFormat &) = default;
    } askedFormat;

    friend bool operator==(const EncoderSettings &, const EncoderSettings &) = default;
};

// The settings the selector indexes stand for in the built-in option lists (an index outside
// its list stands for nothing chosen).
EncoderSettings EncoderSettingsFrom(const OptionSelection &selection);

// The indexes the window's selectors hold right after start-up, before the user settings:
// every list's default, and the default quality applied to the default output type.
OptionSelection StartupSelection();
// A built-in quality row (six fields, "none" leaves a field alone) applied to `selection`.
void ApplyProfileRow(OptionSelection &selection, const QString &row);
// The selection of `outputType` at built-in `quality` as the window makes it from start-up.
OptionSelection BuiltInQualitySelection(int outputType, int quality);
