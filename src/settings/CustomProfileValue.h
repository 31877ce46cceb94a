#pragma once
// A custom profile's value: the selected indexes of six option selectors joined by "|", in the
// order video size, frame rate, video bitrate, audio bitrate, channels, sample rate (-1 for
// a selector with nothing selected). Volume and aspect ratio are not part of a profile.
#include "settings/OptionSelectionModel.h"

#include <QString>
#include <array>
#include <stdexcept>

// Raised when a stored piece is not a whole number.
class CustomProfileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::array<Selector, 6> ProfileFieldOrder = {
    Selector::VideoSize, Selector::FrameRate, Selector::VideoBitrate,
    Selector::AudioBitrate, Selector::AudioChannels, Selector::AudioSample,
};

// The value that stores the current selection.
QString ProfileValueOf(const OptionSelectionModel &model);

// Selects the stored indexes in field order. An empty value, or one that does not split into
// six pieces, changes nothing; an empty piece leaves its selector alone; an index outside a
// selector's list leaves it with nothing selected. At a piece that is not a whole number the
// load stops with CustomProfileError (naming `profileName`); the selectors before it are set.
void ApplyProfileValue(OptionSelectionModel &model, const QString &value, const QString &profileName);
// The same on plain indexes (for programs without selectors); an index is taken as stored.
void ApplyProfileValue(OptionSelection &selection, const QString &value, const QString &profileName);
