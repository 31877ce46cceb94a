#pragma once
// The audio tracks of a media file, and which of them a conversion takes. Tracks are numbered
// from 1 among the file's audio streams in file order, the numbering the encoders' -atrack
// option and the preview player use.
//
// When no track is chosen, the track the file marks as its default converts; a file that marks
// none converts its first audio track. The encoders pick the same track by the same rule.
#include <QList>
#include <QString>
#include <optional>

struct AVFormatContext;

struct AudioTrack {
    int number = 0;         // 1-based among the file's audio tracks, in file order
    QString language{};     // the language tag as stored ("eng", "fre"); empty when none
    QString title{};        // the title tag; empty when none
    QString codec{};        // the decoder's short name ("aac", "ac3")
    int channels = 0;       // 0 when the file does not tell
    int sampleRate = 0;     // Hz; 0 when the file does not tell
    bool isDefault = false; // the file marks it as its default audio track

    friend bool operator==(const AudioTrack &, const AudioTrack &) = default;
};

using AudioTrackList = QList<AudioTrack>;

// The audio tracks of an opened file, in file order.
AudioTrackList AudioTracksOf(const AVFormatContext &format);

// Lists the audio tracks of the file at `path` as the source list's probe sees them; empty when
// the file can't be read or has none.
AudioTrackList ProbeAudioTracks(const QString &path);

// The track that converts when none is chosen: the first one marked default, else the first;
// nothing for a file without audio.
std::optional<int> DefaultAudioTrack(const AudioTrackList &tracks);

// The chosen track when there is one, else the default track.
std::optional<int> EffectiveAudioTrack(const AudioTrackList &tracks, std::optional<int> chosen);

// True when `tracks` holds a track with that number.
bool HasAudioTrack(const AudioTrackList &tracks, int number);

// A track asked for by its number or by a language tag.
struct AudioTrackWish {
    std::optional<int> number{}; // 1-based; set for a number
    QString language{};          // a language tag ("fre", "fra", "en"); used when no number is set
};

// The track that `wish` names: the track of that number, or the first track whose language tag
// is the one given (letter case aside) or names the same language ("fre" and "fra" are both
// French). Nothing when the file has no such track.
std::optional<int> FindAudioTrack(const AudioTrackList &tracks, const AudioTrackWish &wish);
