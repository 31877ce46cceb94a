#pragma once
// Source rows with audio tracks as probing lists them, for tests that need no media file.
#include "media/SourceRow.h"

namespace AudioTrackRows {

inline AudioTrack english() { return {1, "eng", "", "aac", 2, 48000, true}; }
inline AudioTrack french() { return {2, "fre", "Commentaire", "ac3", 6, 48000, false}; }

// A three-second row of `path` whose file has `tracks`.
inline SourceRow rowWith(const QString &path, AudioTrackList tracks)
{
    SourceRow row{"True", path, "1 MB", "00:00:03", "00:00:00", "00:00:03", "00:00:03"};
    row.audioTracks = std::move(tracks);
    return row;
}

} // namespace AudioTrackRows
