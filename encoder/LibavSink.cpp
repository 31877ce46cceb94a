#include "LibavSink.h"
#include "AmrSink.h"
#include "Failure.h"
#include "StatusLine.h"

#include <vector>

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace {

// Bit rates to try, the requested one first, then ever further away from it.
std::vector<int64_t> bitRateCandidates(int64_t wanted)
{
    std::vector<int64_t> rates{wanted};
    for (int64_t step = 8000; step <= 512000; step += 8000) {
        if (wanted - step >= 16000)
            rates.push_back(wanted - step);
        rates.push_back(wanted + step);
    }
    return rates;
}

} // namespace

LibavSink::LibavSink(const EncodePlan& plan, const std::string& path, const Tags& tags)
{
    muxer_ = allocOutputFormat(plan.muxerName);
    openEncoder(plan);
    openOutput(path, tags);
}

LibavSink::~LibavSink() = default;

bool LibavSink::tryOpen(const AVCodec& codec, const EncodePlan& plan, int64_t bitRate)
{
    encoder_.reset(avcodec_alloc_context3(&codec));
    if (!encoder_)
        throw Failure("Out of memory");
    AVCodecContext& c = *encoder_;
    c.sample_fmt = codec.sample_fmts ? codec.sample_fmts[0] : AV_SAMPLE_FMT_S16;
    c.sample_rate = plan.sampleRate;
    av_channel_layout_default(&c.ch_layout, plan.channels);
    c.bit_rate = bitRate;
    c.time_base = AVRational{1, plan.sampleRate};
    if (muxer_->oformat->flags & AVFMT_GLOBALHEADER)
        c.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return avcodec_open2(&c, &codec, nullptr) >= 0;
}

void LibavSink::openEncoder(const EncodePlan& plan)
{
    const AVCodec* codec = avcodec_find_encoder_by_name(plan.encoderName.c_str());
    if (!codec)
        throw Failure("This build has no " + plan.encoderName + " encoder");
    // Vorbis allows a different range of bit rates for every rate and channel count; the nearest
    // one it accepts is found by asking it.
    for (int64_t bitRate : bitRateCandidates(plan.bitRate)) {
        if (!tryOpen(*codec, plan, bitRate))
            continue;
        if (bitRate != plan.bitRate)
            printNotice(std::string(avcodec_get_name(codec->id)) + " at " + std::to_string(plan.sampleRate) +
                        " Hz, " + std::to_string(plan.channels) + " channel(s) cannot use " +
                        std::to_string(plan.bitRate / 1000) + " kbit/s; using " + std::to_string(bitRate / 1000) +
                        " kbit/s");
        return;
    }
    throw Failure("Cannot start the " + plan.encoderName + " encoder at " + std::to_string(plan.sampleRate) + " Hz, " +
                  std::to_string(plan.channels) + " channel(s)");
}

void LibavSink::openOutput(const std::string& path, const Tags& tags)
{
    stream_ = avformat_new_stream(muxer_.get(), nullptr);
    if (!stream_ || avcodec_parameters_from_context(stream_->codecpar, encoder_.get()) < 0)
        throw Failure("Cannot prepare the output stream");
    stream_->time_base = encoder_->time_base;
    setOutputTags(*muxer_, *stream_, tags);
    openOutputFile(*muxer_, path);
    const int header = avformat_write_header(muxer_.get(), nullptr);
    if (header == AVERROR(EINVAL))
        throw Failure(std::string("The ") + muxer_->oformat->name + " format cannot hold " + encoder_->codec->name +
                      " audio at these settings");
    if (header < 0)
        throwWriteError(header);
}

AudioTarget LibavSink::target() const
{
    const bool anySize = encoder_->frame_size <= 0 ||
                         (encoder_->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
    return AudioTarget{encoder_->sample_fmt, encoder_->sample_rate, encoder_->ch_layout.nb_channels,
                       anySize ? 0 : encoder_->frame_size};
}

void LibavSink::send(const AVFrame* frame)
{
    int result = avcodec_send_frame(encoder_.get(), frame);
    if (result < 0)
        throw Failure("The " + std::string(encoder_->codec->name) + " encoder failed: " + avErrorText(result));
    while ((result = avcodec_receive_packet(encoder_.get(), packet_.get())) >= 0) {
        av_packet_rescale_ts(packet_.get(), encoder_->time_base, stream_->time_base);
        packet_->stream_index = stream_->index;
        const int written = av_write_frame(muxer_.get(), packet_.get());
        av_packet_unref(packet_.get());
        if (written < 0)
            throwWriteError(written);
    }
    if (result != AVERROR(EAGAIN) && result != AVERROR_EOF)
        throw Failure("The " + std::string(encoder_->codec->name) + " encoder failed: " + avErrorText(result));
}

void LibavSink::write(AVFrame& frame)
{
    frame.pts = samples_;
    frame.time_base = encoder_->time_base;
    samples_ += frame.nb_samples;
    send(&frame);
}

void LibavSink::finish()
{
    send(nullptr);
    int result = av_write_trailer(muxer_.get());
    if (result < 0)
        throwWriteError(result);
    finalBytes_ = avio_tell(muxer_->pb);
    result = avio_closep(&muxer_->pb);
    if (result < 0)
        throwWriteError(result);
}

int64_t LibavSink::bytesWritten() const
{
    return muxer_->pb ? avio_tell(muxer_->pb) : finalBytes_;
}

std::unique_ptr<AudioSink> makeSink(const EncodePlan& plan, const std::string& path, const Tags& tags)
{
    if (plan.amr)
        return std::make_unique<AmrSink>(path, plan.amrMode);
    return std::make_unique<LibavSink>(plan, path, tags);
}
