#include "AudioChain.h"
#include "Failure.h"
#include "InputSource.h"

#include <cmath>
#include <string>

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}

namespace {

std::string layoutName(const AVChannelLayout& layout)
{
    char text[128] = {};
    av_channel_layout_describe(&layout, text, sizeof text);
    return text;
}

AVChannelLayout inputLayout(const AVFrame& frame)
{
    AVChannelLayout layout{};
    if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_copy(&layout, &frame.ch_layout) < 0)
        av_channel_layout_default(&layout, frame.ch_layout.nb_channels);
    return layout;
}

std::string sourceArguments(const AVFrame& frame)
{
    ChannelLayout layout;
    layout.layout = inputLayout(frame);
    return "time_base=1/" + std::to_string(frame.sample_rate) + ":sample_rate=" + std::to_string(frame.sample_rate) +
           ":sample_fmt=" + av_get_sample_fmt_name(static_cast<AVSampleFormat>(frame.format)) +
           ":channel_layout=" + layoutName(layout.layout);
}

std::string trimFilter(const Segment& segment, int rate, int64_t& endSample)
{
    if (!segment.start && !segment.length)
        return {};
    const int64_t first = std::llround(segment.start.value_or(0) * rate);
    std::string filter = "atrim=start_pts=" + std::to_string(first);
    if (segment.length) {
        endSample = first + std::llround(*segment.length * rate);
        filter += ":end_pts=" + std::to_string(endSample);
    }
    return filter + ",";
}

std::string volumeFilter(int volumePercent)
{
    std::string filter = "volume=" + std::to_string(volumePercent / 100.0) + ":precision=float,";
    if (volumePercent > 100) // peaks above full scale are pulled down smoothly instead of clipping
        filter += "alimiter=limit=0.97:attack=5:release=50:level=0:latency=1,";
    return filter;
}

// The target's rate and channels, and its sample format unless the filters after it choose one.
std::string formatFilter(const AudioTarget& target, bool withSampleFormat)
{
    ChannelLayout layout;
    av_channel_layout_default(&layout.layout, target.channels);
    std::string filter = "aformat=";
    if (withSampleFormat)
        filter += std::string("sample_fmts=") + av_get_sample_fmt_name(target.sampleFormat) + ":";
    return filter + "sample_rates=" + std::to_string(target.sampleRate) + ":channel_layouts=" +
           layoutName(layout.layout);
}

// Trimming, then the target's rate and channels; a volume change, the limiter and the extra
// filters work on those, never on whatever rate and channel count the input claims (the limiter's
// buffers are sized from them), and they limit the final mix.
std::string chainDescription(const Segment& segment, int rate, int volumePercent, const std::string& extraFilters,
                             const AudioTarget& target, int64_t& endSample)
{
    const std::string trim = trimFilter(segment, rate, endSample);
    if (volumePercent == 100 && extraFilters.empty())
        return trim + formatFilter(target, true);
    const std::string volume = volumePercent == 100 ? std::string() : volumeFilter(volumePercent);
    const std::string extra = extraFilters.empty() ? std::string() : extraFilters + ",";
    return trim + formatFilter(target, false) + "," + volume + extra + formatFilter(target, true);
}

FilterInOutPtr endpoint(const char* name, AVFilterContext* context)
{
    FilterInOutPtr io(avfilter_inout_alloc());
    if (!io)
        throw Failure("Out of memory");
    io->name = av_strdup(name);
    if (!io->name)
        throw Failure("Out of memory");
    io->filter_ctx = context;
    return io;
}

} // namespace

AudioChain::AudioChain(const AVFrame& first, const Segment& segment, int volumePercent, const AudioTarget& target,
                       const std::string& extraFilters)
    : graph_(avfilter_graph_alloc())
{
    if (!graph_)
        throw Failure("Out of memory");
    if (first.sample_rate <= 0 || first.sample_rate > MaxInputSampleRate)
        throw Failure("The input's audio has an impossible sample rate (" + std::to_string(first.sample_rate) +
                      " Hz); the file is damaged");
    graph_->nb_threads = 1;
    if (avfilter_graph_create_filter(&source_, avfilter_get_by_name("abuffer"), "in", sourceArguments(first).c_str(),
                                     nullptr, graph_.get()) < 0 ||
        avfilter_graph_create_filter(&sink_, avfilter_get_by_name("abuffersink"), "out", nullptr, nullptr,
                                     graph_.get()) < 0)
        throw Failure("Cannot set up audio processing");
    const std::string description = chainDescription(segment, first.sample_rate, volumePercent, extraFilters, target, endSample_);
    FilterInOutPtr outs = endpoint("in", source_);
    FilterInOutPtr ins = endpoint("out", sink_);
    // Parsing takes both lists and hands back what it left unlinked; that is freed here.
    AVFilterInOut* insLeft = ins.release();
    AVFilterInOut* outsLeft = outs.release();
    const int parsed = avfilter_graph_parse_ptr(graph_.get(), description.c_str(), &insLeft, &outsLeft, nullptr);
    ins.reset(insLeft);
    outs.reset(outsLeft);
    if (parsed < 0 || avfilter_graph_config(graph_.get(), nullptr) < 0)
        throw Failure("Cannot set up audio processing (" + description + ")");
    if (target.frameSize > 0)
        av_buffersink_set_frame_size(sink_, static_cast<unsigned>(target.frameSize));
}

void AudioChain::push(AVFrame* frame)
{
    const int result = av_buffersrc_add_frame_flags(source_, frame, AV_BUFFERSRC_FLAG_KEEP_REF);
    if (result == AVERROR_EOF)
        return; // the cut is complete; later input is not wanted
    if (result < 0)
        throw Failure("Audio processing failed: " + avErrorText(result) +
                      " (the input's audio format changes midway)");
}

bool AudioChain::pull(AVFrame* out)
{
    const int result = av_buffersink_get_frame(sink_, out);
    if (result >= 0)
        return true;
    if (result == AVERROR_EOF) {
        ended_ = true;
        return false;
    }
    if (result == AVERROR(EAGAIN))
        return false;
    throw Failure("Audio processing failed: " + avErrorText(result));
}
