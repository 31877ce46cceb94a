#include "LoudnessPass.h"
#include "CutDecoder.h"
#include "InputSource.h"

#include <cstdio>

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace {

// BS.1770's channel weights for the default layout of `channels`.
std::vector<double> channelWeights(int channels)
{
    ChannelLayout layout;
    av_channel_layout_default(&layout.layout, channels);
    std::vector<double> weights;
    for (int i = 0; i < channels; ++i) {
        switch (av_channel_layout_channel_from_index(&layout.layout, static_cast<unsigned>(i))) {
        case AV_CHAN_LOW_FREQUENCY:
        case AV_CHAN_LOW_FREQUENCY_2: weights.push_back(0.0); break;
        case AV_CHAN_BACK_LEFT:
        case AV_CHAN_BACK_RIGHT:
        case AV_CHAN_SIDE_LEFT:
        case AV_CHAN_SIDE_RIGHT: weights.push_back(1.41); break;
        default: weights.push_back(1.0); break;
        }
    }
    return weights;
}

std::string number(const char* format, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

LoudnessPlan planLoudness(double targetLufs, const LoudnessMeasurement& measured, double ceilingDb)
{
    LoudnessPlan plan;
    plan.measured = measured;
    plan.limitDb = ceilingDb;
    if (!measured.integratedLufs)
        return plan;
    plan.gainDb = targetLufs - *measured.integratedLufs;
    plan.limiter = measured.truePeakDb + plan.gainDb > ceilingDb;
    return plan;
}

// The limiter works on the signal oversampled four times, so that it catches the peaks between
// the samples too.
std::string loudnessFilters(const LoudnessPlan& plan, int sampleRate)
{
    std::string filters;
    if (plan.gainDb != 0)
        filters = "volume=" + number("%.4f", plan.gainDb) + "dB:precision=float";
    if (plan.limiter) {
        const double limit = std::pow(10.0, plan.limitDb / 20.0);
        filters += std::string(filters.empty() ? "" : ",") + "aresample=" + std::to_string(sampleRate * 4) +
                   ",alimiter=limit=" + number("%.6f", limit) + ":attack=5:release=50:level=0:latency=1" +
                   ",aresample=" + std::to_string(sampleRate);
    }
    return filters;
}

LoudnessMeasurement measureLoudness(const Options& options, InputSource& input, int sampleRate, int channels,
                                    const std::function<void(double seconds)>& progress)
{
    LoudnessMeter meter(sampleRate, channelWeights(channels));
    const AudioTarget planar{AV_SAMPLE_FMT_FLTP, sampleRate, channels, 0};
    int64_t samples = 0;
    CutDecoder(options, input, planar)
        .run(
            [&](AVFrame& frame) {
                meter.add(reinterpret_cast<const float* const*>(frame.extended_data), frame.nb_samples);
                samples += frame.nb_samples;
            },
            [&] { progress(double(samples) / sampleRate); });
    return meter.result();
}

std::string loudnessLine(const LoudnessPlan& plan)
{
    const LoudnessMeasurement& m = plan.measured;
    if (!m.integratedLufs)
        return "loudness: input silent (below -70 LUFS), gain +0.0 dB";
    std::string line = "loudness: input " + number("%.1f", *m.integratedLufs) + " LUFS, true peak " +
                       number("%.1f", m.truePeakDb) + " dBTP, gain " + number("%+.1f", plan.gainDb) + " dB";
    if (plan.limiter)
        line += ", limited to " + number("%.1f", plan.limitDb) + " dBTP";
    return line;
}
