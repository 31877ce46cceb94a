#pragma once
#include "AudioSink.h"
#include "EncodePlan.h"
#include "MuxerOutput.h"

// One audio stream encoded by libavcodec and stored by a libavformat muxer.
class LibavSink : public AudioSink {
public:
    LibavSink(const EncodePlan& plan, const std::string& path, const Tags& tags);
    ~LibavSink() override;

    AudioTarget target() const override;
    void write(AVFrame& frame) override;
    void finish() override;
    int64_t bytesWritten() const override;
    int64_t samplesWritten() const override { return samples_; }

private:
    void openEncoder(const EncodePlan& plan);
    bool tryOpen(const AVCodec& codec, const EncodePlan& plan, int64_t bitRate);
    void openOutput(const std::string& path, const Tags& tags);
    void send(const AVFrame* frame);

    OutputFormatPtr muxer_;
    CodecContextPtr encoder_;
    PacketPtr packet_ = allocPacket();
    AVStream* stream_ = nullptr;
    int64_t samples_ = 0;
    int64_t finalBytes_ = 0;
};
