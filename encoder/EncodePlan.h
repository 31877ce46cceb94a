#pragma once
#include "Options.h"

#include <string>

// The output as it will actually be written, after fitting the request to what the codec allows.
struct EncodePlan {
    bool amr = false;         // raw AMR-NB file through opencore
    std::string encoderName;  // libavcodec encoder (not for AMR)
    std::string muxerName;    // libavformat muxer (not for AMR)
    int sampleRate = 44100;
    int channels = 2;
    int64_t bitRate = 128000; // bit/s; for AMR the mode's rate
    int amrMode = 7;          // opencore Mode value (MR475 = 0 ... MR122 = 7)
};

// The container and the encoder ("amr" for AMR-NB) that -f, the output's extension and -acodec
// choose, before any value is fitted.
struct OutputChoice {
    std::string muxer;
    std::string encoder;
};
OutputChoice chooseOutput(const Options& options);

// Decides codec, container, rate, channels and bitrate; prints one notice for every value changed.
EncodePlan planEncoding(const Options& options, int sourceRate, int sourceChannels);

// Lower-case extension of a path including the dot, or "".
std::string extensionOf(const std::string& path);
