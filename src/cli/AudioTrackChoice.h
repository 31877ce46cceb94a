#pragma once
// kelvane-convert's audio track: --audio-track N or --audio-track LANG applied to each file, and
// the listing that --list-tracks prints.
#include "media/AudioTracks.h"
#include "media/SourceRow.h"

#include <optional>

// "2" (a track number from 1 on) or a language tag of letters ("fre", "en", "pt-BR"); nothing
// for any other text.
std::optional<AudioTrackWish> ParseAudioTrackWish(const QString &text);

// Sets the row's chosen track to the one `wish` names among the row's tracks. Returns why the
// file can't be converted with it (it has no such track), or an empty text. Without a wish the
// row is left as it is.
QString ChooseAudioTrack(SourceRow &row, const std::optional<AudioTrackWish> &wish);

// The lines --list-tracks prints for one file: its path, then one indented line per track
// ("  1: English - AAC stereo (default); language eng, 48000 Hz").
QString AudioTrackListing(const QString &path, const AudioTrackList &tracks);
