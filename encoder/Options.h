#pragma once
#include <optional>
#include <string>
#include <vector>

// The sample rates an output may have (-ar), in Hz.
constexpr int MinSampleRate = 1000;
constexpr int MaxSampleRate = 384000;
// The highest audio track number -atrack takes.
constexpr int MaxAudioTrack = 9999;

// What one command line asks for. Zero in a number means "not given".
struct Options {
    std::string input;
    std::string output;
    std::string codec;       // -acodec, as given
    std::string format;      // -f, as given
    bool overwrite = false;  // -y
    bool keepOriginal = false; // -keeporiginal: copy the sound as it is when the output type holds it
    // -explicit ab,ar,ac: which of -ab, -ar and -ac the user asked for on their own rather than
    // through a quality; with -keeporiginal those are kept to, so the sound is encoded.
    struct Explicit {
        bool bitrate = false;
        bool sampleRate = false;
        bool channels = false;
    } explicitly;
    int bitrateKbps = 0;     // -ab
    int volumePercent = 100; // -vol
    int channels = 0;        // -ac
    int sampleRate = 0;      // -ar
    int audioTrack = 0;      // -atrack: 1-based among the input's audio tracks; 0 takes its default
    std::optional<double> startSeconds;    // -ss
    std::optional<double> durationSeconds; // -t
    std::optional<double> loudnessTarget;  // -loudness, in LUFS
};

// Reads the argument list (without the program name). Throws Failure for anything it refuses.
Options parseOptions(const std::vector<std::string>& args);

// "hh:mm:ss", "mm:ss" or plain seconds, fractions allowed; nullopt when malformed.
std::optional<double> parseClockTime(const std::string& text);
