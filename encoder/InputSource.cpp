#include "InputSource.h"
#include "Failure.h"
#include "StopSignal.h"

#include <cctype>
#include <cstdlib>
#include <utility>
#include <sys/stat.h>
#include <vector>

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace {

// Only regular files: a folder, pipe or device under a media file's name is refused before
// anything tries to read it (a pipe would block).
void checkIsFile(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        throw Failure("Input file not found: " + path);
    if (!S_ISREG(info.st_mode))
        throw Failure("The input is not a media file (it is a folder, pipe or device): " + path);
}

std::string lowered(std::string text)
{
    for (auto& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Probing may decode a few video frames; one thread each keeps that from costing tens of megabytes.
int findStreamInfo(AVFormatContext& format)
{
    std::vector<AVDictionary*> settings(format.nb_streams, nullptr);
    for (auto& s : settings)
        av_dict_set(&s, "threads", "1", 0);
    const int result = avformat_find_stream_info(&format, settings.data());
    for (auto& s : settings)
        av_dict_free(&s);
    return result;
}

// The audio streams in file order: the tracks -atrack counts.
std::vector<AVStream*> audioStreams(const AVFormatContext& format)
{
    std::vector<AVStream*> tracks;
    for (unsigned i = 0; i < format.nb_streams; ++i)
        if (format.streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
            tracks.push_back(format.streams[i]);
    return tracks;
}

// The first track the file marks as its default, else its first.
AVStream* defaultTrack(const std::vector<AVStream*>& tracks)
{
    for (AVStream* track : tracks)
        if (track->disposition & AV_DISPOSITION_DEFAULT)
            return track;
    return tracks.front();
}

void throwIfStopped()
{
    if (stopRequested())
        throw Failure("Stopped");
}

} // namespace

InputSource::InputSource(const std::string& path, int audioTrack)
{
    open(path);
    chooseAudioStream(audioTrack);
    openDecoder();
}

void InputSource::open(const std::string& path)
{
    checkIsFile(path);
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw)
        throw Failure("Out of memory");
    raw->interrupt_callback.callback = stopInterruptCallback;
    AVDictionary* settings = nullptr;
    av_dict_set(&settings, "protocol_whitelist", "file", 0);
    // "file:" keeps colons in a name from being read as another protocol.
    int result = avformat_open_input(&raw, ("file:" + path).c_str(), nullptr, &settings);
    av_dict_free(&settings);
    if (result >= 0)
        format_.reset(raw); // owned before anything else can throw; a failed open has freed it
    throwIfStopped();
    if (result < 0)
        throw Failure("Cannot read input (not a media file or damaged): " + path);
    result = findStreamInfo(*format_);
    throwIfStopped();
    if (result < 0)
        throw Failure("Cannot read input (damaged or unsupported): " + path);
}

void InputSource::chooseAudioStream(int audioTrack)
{
    const std::vector<AVStream*> tracks = audioStreams(*format_);
    if (tracks.empty())
        throw Failure("The input has no audio stream");
    if (audioTrack > 0) {
        if (static_cast<size_t>(audioTrack) > tracks.size())
            throw Failure("The input has no audio track " + std::to_string(audioTrack) + " (it has " +
                          std::to_string(tracks.size()) + (tracks.size() == 1 ? " audio track)" : " audio tracks)"));
        stream_ = tracks[audioTrack - 1];
    } else {
        stream_ = defaultTrack(tracks);
    }
    for (unsigned i = 0; i < format_->nb_streams; ++i)
        if (format_->streams[i] != stream_)
            format_->streams[i]->discard = AVDISCARD_ALL;
    if (format_->start_time != AV_NOPTS_VALUE)
        origin_ = av_rescale_q(format_->start_time, AV_TIME_BASE_Q, stream_->time_base);
    else if (stream_->start_time != AV_NOPTS_VALUE)
        origin_ = stream_->start_time;
}

void InputSource::openDecoder()
{
    const AVCodec* codec = avcodec_find_decoder(stream_->codecpar->codec_id);
    if (!codec)
        throw Failure(std::string("The input's audio format cannot be decoded: ") +
                      avcodec_get_name(stream_->codecpar->codec_id));
    decoder_.reset(avcodec_alloc_context3(codec));
    if (!decoder_)
        throw Failure("Out of memory");
    if (avcodec_parameters_to_context(decoder_.get(), stream_->codecpar) < 0 ||
        avcodec_open2(decoder_.get(), codec, nullptr) < 0)
        throw Failure(std::string("Cannot open the audio decoder for ") + codec->name);
    decoder_->pkt_timebase = stream_->time_base;
    if (decoder_->sample_rate > MaxInputSampleRate)
        throw Failure("The input's audio claims an impossible sample rate (" + std::to_string(decoder_->sample_rate) +
                      " Hz); the file is damaged");
}

double InputSource::durationSeconds() const
{
    if (format_->duration == AV_NOPTS_VALUE || format_->duration <= 0)
        return -1;
    return format_->duration / double(AV_TIME_BASE);
}

std::map<std::string, std::string> InputSource::descriptiveTags() const
{
    static const char* const keep[] = {"title", "artist", "album", "album_artist", "composer", "genre",
                                       "date",  "comment", "track", "disc",        "copyright"};
    std::map<std::string, std::string> tags;
    for (const AVDictionary* dict : {stream_->metadata, format_->metadata}) {
        const AVDictionaryEntry* entry = nullptr;
        while ((entry = av_dict_get(dict, "", entry, AV_DICT_IGNORE_SUFFIX))) {
            const std::string key = lowered(entry->key);
            for (const char* k : keep)
                if (key == k && entry->value[0] != '\0')
                    tags[key] = entry->value;
        }
    }
    return tags;
}

bool InputSource::seekBefore(double seconds)
{
    constexpr double warmUpSeconds = 0.5; // lets the decoder settle before the first kept sample
    const double target = seconds - warmUpSeconds;
    if (target <= 0)
        return false;
    const int64_t ts = origin_ + av_rescale_q(llround(target * AV_TIME_BASE), AV_TIME_BASE_Q, stream_->time_base);
    if (av_seek_frame(format_.get(), stream_->index, ts, AVSEEK_FLAG_BACKWARD) < 0)
        return false; // decode from the start instead
    throwIfStopped();
    avcodec_flush_buffers(decoder_.get());
    landingLimitUs_ = llround(seconds * 1e6);
    nextSample_ = -1;
    return true;
}

// Some demuxers land after the asked position (a keyframe index that is too coarse); the first
// frame after a seek tells, and then the file is decoded from its start instead.
bool InputSource::landedTooLate(const AVFrame& first)
{
    const int64_t limitUs = std::exchange(landingLimitUs_, -1);
    if (limitUs < 0 || first.best_effort_timestamp == AV_NOPTS_VALUE)
        return false;
    const int64_t landedUs = av_rescale_q(first.best_effort_timestamp - origin_, stream_->time_base, AV_TIME_BASE_Q);
    return landedUs > limitUs;
}

void InputSource::rewindToStart()
{
    if (av_seek_frame(format_.get(), stream_->index, origin_, AVSEEK_FLAG_BACKWARD) < 0 && format_->pb)
        avio_seek(format_->pb, 0, SEEK_SET); // the byte-wise fallback for demuxers that cannot seek
    avformat_flush(format_.get());
    avcodec_flush_buffers(decoder_.get());
    nextSample_ = -1;
    demuxEnded_ = false;
}

void InputSource::stamp(AVFrame* frame)
{
    const AVRational perSample{1, frame->sample_rate};
    int64_t pts = -1;
    if (frame->best_effort_timestamp != AV_NOPTS_VALUE)
        pts = av_rescale_q(frame->best_effort_timestamp - origin_, stream_->time_base, perSample);
    // Small timestamp jitter is ignored so that frames join without gaps or overlaps.
    const int64_t tolerance = frame->sample_rate / 50;
    if (pts < 0 && nextSample_ < 0)
        pts = 0;
    else if (nextSample_ >= 0 && (pts < 0 || std::llabs(pts - nextSample_) <= tolerance))
        pts = nextSample_;
    frame->pts = pts;
    frame->time_base = perSample;
    nextSample_ = pts + frame->nb_samples;
}

// Hands the decoder the next packet of the chosen stream, or the end of the input.
void InputSource::feedDecoder()
{
    while (true) {
        throwIfStopped();
        const int result = av_read_frame(format_.get(), packet_.get());
        if (result < 0) {
            throwIfStopped();
            demuxEnded_ = true;
            // The decoder is told that the input has ended and hands out what it still holds.
            const int flushed = avcodec_send_packet(decoder_.get(), nullptr);
            if (flushed < 0 && flushed != AVERROR_EOF)
                throw Failure("Decoding the end of the input failed: " + avErrorText(flushed));
            return;
        }
        if (packet_->stream_index != stream_->index) {
            av_packet_unref(packet_.get());
            continue;
        }
        // A damaged packet is skipped, as players do; the rest of the file still counts.
        avcodec_send_packet(decoder_.get(), packet_.get());
        av_packet_unref(packet_.get());
        return;
    }
}

AVFrame* InputSource::nextFrame()
{
    while (true) {
        throwIfStopped();
        const int result = avcodec_receive_frame(decoder_.get(), frame_.get());
        if (result == 0) {
            if (landedTooLate(*frame_)) {
                av_frame_unref(frame_.get());
                rewindToStart();
                continue;
            }
            stamp(frame_.get());
            return frame_.get();
        }
        if (result == AVERROR_EOF)
            return nullptr; // the decoder has handed out everything
        if (demuxEnded_) {
            // Draining after the end of the input: a failure here would cut the file short.
            if (result != AVERROR(EAGAIN))
                throw Failure("Decoding the end of the input failed: " + avErrorText(result));
            return nullptr;
        }
        feedDecoder();
    }
}

bool InputSource::nextPacket(AVPacket& packet)
{
    while (true) {
        throwIfStopped();
        if (av_read_frame(format_.get(), &packet) < 0) {
            throwIfStopped();
            return false;
        }
        if (packet.stream_index == stream_->index)
            return true;
        av_packet_unref(&packet);
    }
}
