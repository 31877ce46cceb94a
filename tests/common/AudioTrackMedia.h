#pragma once
// Videos with two audio tracks, made with the ffmpeg command line, and the measure that tells
// which of them an output holds: track 1 is English ("eng") at 440 Hz, AAC stereo; track 2 is
// French ("fre", titled "Commentaire" where the container keeps titles) at 880 Hz, AC3 5.1.
#include <QString>

namespace AudioTrackMedia {

constexpr double EnglishHz = 440;
constexpr double FrenchHz = 880;

enum class DefaultTrack {
    First,  // as the muxer marks a file by itself
    Second, // the French track is the default, the English one is not
    None,   // neither is marked (Matroska keeps that; MP4 marks its first track anyway)
};

// Makes the 3-second video `name` in `folder` (its extension picks the container: .mkv, .mp4)
// and returns its path; empty when ffmpeg could not make it.
QString make(const QString &folder, const QString &name, DefaultTrack defaultTrack = DefaultTrack::First);

// The frequency of the tone in the sound of `path` (its first audio track), in Hz, counted from
// the zero crossings of its middle part; 0 when there is no sound to measure.
double dominantFrequency(const QString &path);

// True when `hz` is `expected` within 3 %.
bool isTone(double hz, double expected);

} // namespace AudioTrackMedia
