#pragma once
// Small media files made with the ffmpeg command line once per test executable.
#include <QString>

namespace MediaFixtures {

// Absolute path of a fixture file: "two_seconds.avi", "three_seconds.mp4", "ten_seconds.mp4",
// "two_seconds.flv", "under_one_second.avi", "video_only.mp4", "unknown_video_tag.avi",
// "almost_a_minute.wav", "five_seconds.mpg", "random_bytes.avi", "subtitles_only.srt", and made
// when first asked for "two_seconds.mkv", "two_seconds.webm", "two_seconds.ts", "two_seconds.m2ts",
// "two_seconds.mts", "two_seconds.ogv".
// "missing.avi" never exists.
QString path(const QString &name);

} // namespace MediaFixtures
