#pragma once
#include "AvHandles.h"

#include <optional>
#include <string>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

// What the encoder needs to receive.
struct AudioTarget {
    AVSampleFormat sampleFormat = AV_SAMPLE_FMT_S16;
    int sampleRate = 44100;
    int channels = 2;
    int frameSize = 0; // 0: any number of samples per frame
};

// The cut, in seconds from the file's start.
struct Segment {
    std::optional<double> start;
    std::optional<double> length;
};

// Cut, volume (with a limiter above 100 %), resampling and channel mixing, as one filter graph built
// for the format of the first decoded frame. `extraFilters` (a filter chain description, or empty)
// runs after the volume, on the target's rate and channels.
class AudioChain {
public:
    AudioChain(const AVFrame& first, const Segment& segment, int volumePercent, const AudioTarget& target,
               const std::string& extraFilters = {});

    // Takes a frame (its pts counted in samples); nullptr marks the end of the input.
    void push(AVFrame* frame);
    // Fills `out` with the next converted frame; false when none is ready or the end was reached.
    bool pull(AVFrame* out);
    bool ended() const { return ended_; }
    // pts (in input samples) from which no further input is wanted, or -1.
    int64_t endSample() const { return endSample_; }

private:
    FilterGraphPtr graph_;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    int64_t endSample_ = -1;
    bool ended_ = false;
};
