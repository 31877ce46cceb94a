#pragma once
// kelvane-convert's audio track: --audio-track N or --audio-track LANG applied to each file, and
// the listing that --list-tracks prints.
#include "media/AudioTracks.h"
#include "media/SourceItem.h"

#include <optional>

// "2" (a track number from 1 on) or a language tag of letters ("fre", "en", "pt-BR"); nothing
// for any other text.
std::optional<AudioTrackWish> ParseAudioTrackWish(const QString &text);

// Sets the item's audio track to the one `wish` names among its tracks. Returns why the
// file can't be converted with it (it has no such track), or an empty text. Without a wish the
// item is left as it is.
QString ChooseAudioTrack(SourceItem &item, const std::optional<AudioTrackWish> &wish);

// The lines --list-tracks prints for one file: its path, then one indented line per track
// ("  1: English - AAC stereo (default); language eng, 48000 Hz").
QString AudioTrackListing(const QString &path, const AudioTrackList &tracks);
