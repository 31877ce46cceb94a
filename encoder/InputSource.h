#pragma once
#include "AvHandles.h"

#include <map>
#include <string>

// The highest sample rate real audio has; a header claiming more is damaged.
constexpr int MaxInputSampleRate = 768000;

// The input file's chosen audio stream and its decoder. Other streams are discarded unread,
// video is never decoded. Frames come out with pts counted in samples since the file's start.
class InputSource {
public:
    // `audioTrack` is 1-based among the file's audio streams in file order; 0 takes the stream
    // the file marks as its default, else its first audio stream (the program's rule too).
    // Throws Failure when the file has no such track.
    explicit InputSource(const std::string& path, int audioTrack = 0);

    int sampleRate() const { return decoder_->sample_rate; }
    int channels() const { return decoder_->ch_layout.nb_channels; }
    double durationSeconds() const; // negative when unknown
    std::map<std::string, std::string> descriptiveTags() const;

    // Positions the input a little before `seconds`; decoding later falls back to the file's start
    // when the demuxer landed too late. False when the input stays at its start.
    bool seekBefore(double seconds);

    // The next decoded frame (owned by this object until the next call); nullptr at the end.
    AVFrame* nextFrame();

    // For copying the sound as it is: the chosen stream, its start (in its time base), its next
    // packet undecoded (false at the end of the input) and a return to the file's start.
    const AVStream& stream() const { return *stream_; }
    int64_t origin() const { return origin_; }
    bool nextPacket(AVPacket& packet);
    void rewindToStart();

private:
    void open(const std::string& path);
    void chooseAudioStream(int audioTrack);
    void openDecoder();
    void feedDecoder();
    bool landedTooLate(const AVFrame& first);
    void stamp(AVFrame* frame);

    InputFormatPtr format_;
    CodecContextPtr decoder_;
    FramePtr frame_ = allocFrame();
    PacketPtr packet_ = allocPacket();
    AVStream* stream_ = nullptr;
    int64_t origin_ = 0;          // file start, in the stream's time base
    int64_t nextSample_ = -1;     // expected pts of the next frame, in samples since the file's start
    int64_t landingLimitUs_ = -1; // after a seek: the latest start the first frame may have, in µs
                                  // since the file's start; -1 when there is nothing to check
    bool demuxEnded_ = false;
};
