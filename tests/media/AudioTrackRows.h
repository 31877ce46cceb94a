#pragma once
// Source items with audio tracks as probing lists them, for tests that need no media file.
#include "media/SourceItem.h"

namespace AudioTrackRows {

inline AudioTrack english() { return {1, "eng", "", "aac", 2, 48000, true}; }
inline AudioTrack french() { return {2, "fre", "Commentaire", "ac3", 6, 48000, false}; }

// A three-second item of `path` whose file has `tracks`.
inline SourceItem itemWith(const QString &path, AudioTrackList tracks)
{
    SourceItem item = WholeFileItem(path, 1'000'000, 3000);
    item.audioTracks = std::move(tracks);
    return item;
}

} // namespace AudioTrackRows
