#include "PacketCopy.h"
#include "AudioSink.h"
#include "EncodePlan.h"
#include "Failure.h"
#include "MuxerOutput.h"
#include "StatusLine.h"
#include "StopSignal.h"
#include "TempOutput.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <limits>
#include <map>
#include <optional>
#include <utility>

extern "C" {
#include <libavcodec/bsf.h>
#include <libavcodec/vorbis_parser.h>
}

namespace {

// The muxers that take a stream as it is, and the codec each holds.
const std::map<std::string, AVCodecID>& copyableMuxers()
{
    static const std::map<std::string, AVCodecID> table{
        {"adts", AV_CODEC_ID_AAC},   {"ipod", AV_CODEC_ID_AAC},   {"mp4", AV_CODEC_ID_AAC},
        {"mp3", AV_CODEC_ID_MP3},    {"ac3", AV_CODEC_ID_AC3},    {"ogg", AV_CODEC_ID_VORBIS},
        {"wav", AV_CODEC_ID_PCM_S16LE}};
    return table;
}

std::optional<std::string> soundChange(const Options& options, const InputSource& input)
{
    if (options.volumePercent != 100)
        return "volume " + std::to_string(options.volumePercent) + "%";
    if (options.loudnessTarget)
        return "loudness normalised to " + std::to_string(static_cast<int>(*options.loudnessTarget)) + " LUFS";
    if (options.channels && options.channels != input.channels())
        return std::to_string(options.channels) + " channel(s) asked, the source has " +
               std::to_string(input.channels());
    if (options.sampleRate && options.sampleRate != input.sampleRate())
        return std::to_string(options.sampleRate) + " Hz asked, the source has " + std::to_string(input.sampleRate()) +
               " Hz";
    return std::nullopt;
}

// Thrown when the muxer refuses the stream before anything was written.
struct CopyRefused {
    std::string reason;
};

struct VorbisParserFreer {
    void operator()(AVVorbisParseContext* c) const { av_vorbis_parse_free(&c); }
};

struct BsfFreer {
    void operator()(AVBSFContext* c) const { av_bsf_free(&c); }
};
using BsfPtr = std::unique_ptr<AVBSFContext, BsfFreer>;

// How the cut's edges are kept.
enum class Trim {
    Packets,  // whole packets around the asked times
    EditList, // whole packets and one before for the decoder; the file's edit list shows the exact cut
    Samples,  // PCM: cut at the exact sample
};

// A packet of the source with its place in samples since the file's start.
struct Held {
    PacketPtr packet;
    int64_t start = 0;
    int64_t length = 0;
};

class PacketCopier {
public:
    PacketCopier(const Options& options, InputSource& input, const std::string& muxerName, const std::string& path)
        : input_(input), source_(*input.stream().codecpar), rate_(source_.sample_rate), muxer_(allocOutputFormat(muxerName))
    {
        trim_ = source_.codec_id == AV_CODEC_ID_PCM_S16LE ? Trim::Samples
                : muxerName == "ipod" || muxerName == "mp4" ? Trim::EditList
                                                            : Trim::Packets;
        if (options.startSeconds)
            cutStart_ = llround(*options.startSeconds * rate_);
        if (options.durationSeconds)
            cutEnd_ = cutStart_ + llround(*options.durationSeconds * rate_);
        if (source_.codec_id == AV_CODEC_ID_VORBIS)
            vorbis_.reset(av_vorbis_parse_init(source_.extradata, source_.extradata_size));
        openStream(input.descriptiveTags());
        openOutputFile(*muxer_, path);
    }

    // Copies the packets of the cut and completes the file; CopyRefused when the muxer does not
    // take the stream.
    void run()
    {
        if (cutStart_ > 0)
            input_.seekBefore(double(cutStart_) / rate_);
        std::deque<Held> before; // packets that begin at or before the cut's start, the latest last
        bool reachedStart = cutStart_ <= 0;
        bool checkLanding = cutStart_ > 0;
        for (Held held; read(held);) {
            if (!reachedStart && held.start <= cutStart_) {
                checkLanding = false;
                before.push_back(std::move(held));
                if (before.size() > (trim_ == Trim::EditList ? 2u : 1u))
                    before.pop_front();
                continue;
            }
            if (std::exchange(checkLanding, false)) {
                // The demuxer landed after the start: read the file from its beginning instead.
                input_.rewindToStart();
                expected_ = -1;
                continue;
            }
            reachedStart = true;
            takeAll(before);
            if (held.start >= cutEnd_)
                break;
            take(std::move(held));
        }
        takeAll(before); // the input ended before a packet began after the start
        if (pending_)
            write(*pending_);
        finish();
    }

private:
    void openStream(const std::map<std::string, std::string>& tags)
    {
        stream_ = avformat_new_stream(muxer_.get(), nullptr);
        if (!stream_ || avcodec_parameters_copy(stream_->codecpar, &source_) < 0)
            throw Failure("Cannot prepare the output stream");
        stream_->codecpar->codec_tag = 0;
        if (cutStart_ > 0)
            stream_->codecpar->initial_padding = 0; // the source's encoder delay lies before the cut
        stream_->time_base = AVRational{1, rate_};
        setOutputTags(*muxer_, *stream_, tags);
        // An MP4 file keeps AAC without the ADTS headers that MPEG-TS and raw AAC carry.
        if (trim_ == Trim::EditList && source_.extradata_size == 0)
            openAdtsToAsc();
    }

    void openAdtsToAsc()
    {
        AVBSFContext* raw = nullptr;
        if (av_bsf_alloc(av_bsf_get_by_name("aac_adtstoasc"), &raw) < 0)
            throw Failure("Out of memory");
        adtsToAsc_.reset(raw);
        if (avcodec_parameters_copy(raw->par_in, &source_) < 0 || av_bsf_init(raw) < 0)
            throw Failure("Cannot prepare the AAC stream for the MP4 file");
        raw->time_base_in = input_.stream().time_base;
    }

    int64_t toSamples(int64_t ts) const
    {
        return av_rescale_q(ts - input_.origin(), input_.stream().time_base, AVRational{1, rate_});
    }

    // The next packet with its start and (estimated) length in samples; false at the end.
    bool read(Held& held)
    {
        held.packet = allocPacket();
        if (!input_.nextPacket(*held.packet))
            return false;
        const AVPacket& p = *held.packet;
        const int64_t ts = p.pts != AV_NOPTS_VALUE ? p.pts : p.dts;
        held.start = ts != AV_NOPTS_VALUE ? toSamples(ts) : std::max<int64_t>(expected_, 0);
        // Time stamps rounded to the container's clock are joined without gaps or overlaps.
        if (expected_ >= 0 && std::llabs(held.start - expected_) <= rate_ / 50)
            held.start = expected_;
        held.length = estimatedLength(p);
        expected_ = held.length > 0 ? held.start + held.length : -1;
        return true;
    }

    // Lengths come from the stream itself where the container's clock is too coarse for them:
    // PCM by its bytes, Vorbis by its block sizes, the others by their fixed frame size.
    int64_t estimatedLength(const AVPacket& p) const
    {
        if (trim_ == Trim::Samples && source_.block_align > 0)
            return p.size / source_.block_align;
        if (vorbis_)
            return std::max(av_vorbis_parse_frame(vorbis_.get(), p.data, p.size), 0);
        const AVRational tb = input_.stream().time_base;
        const bool fineClock = int64_t(tb.num) * rate_ <= tb.den;
        if (p.duration > 0 && (fineClock || source_.frame_size <= 0))
            return av_rescale_q(p.duration, tb, AVRational{1, rate_});
        if (source_.frame_size <= 0 && source_.codec_id == AV_CODEC_ID_AC3)
            return 1536; // every AC-3 frame holds six blocks of 256 samples
        return std::max(source_.frame_size, 0);
    }

    void takeAll(std::deque<Held>& packets)
    {
        for (Held& held : packets)
            take(std::move(held));
        packets.clear();
    }

    // Writes the packet before this one, now that this one tells where it ends.
    void take(Held held)
    {
        if (pending_) {
            if (held.start > pending_->start)
                pending_->length = held.start - pending_->start;
            write(*pending_);
        }
        pending_ = std::move(held);
    }

    void write(Held& held)
    {
        if (stopRequested())
            throw Failure("Stopped");
        if (trim_ == Trim::Samples)
            trimSamples(held);
        else if (trim_ == Trim::EditList && held.start + held.length > cutEnd_)
            held.length = cutEnd_ - held.start; // the edit list ends the sound at the asked sample
        if (held.length <= 0 && trim_ == Trim::Samples)
            return;
        AVPacket& p = *held.packet;
        if (adtsToAsc_)
            filter(p);
        if (!headerWritten_)
            writeHeader(p, held);
        av_packet_free_side_data(&p);
        const AVRational perSample{1, rate_};
        p.pts = p.dts = av_rescale_q(held.start - outOrigin_, perSample, stream_->time_base);
        p.duration = av_rescale_q(held.length, perSample, stream_->time_base);
        p.stream_index = stream_->index;
        p.pos = -1;
        const int written = av_write_frame(muxer_.get(), &p);
        if (written < 0)
            throwWriteError(written);
        writtenEnd_ = std::max(writtenEnd_, held.start - outOrigin_ + held.length);
        status_.maybePrint(avio_tell(muxer_->pb), seconds());
    }

    // PCM is cut at the asked samples, whole sample frames of bytes at a time.
    void trimSamples(Held& held)
    {
        const int frameBytes = source_.block_align;
        AVPacket& p = *held.packet;
        if (held.start < cutStart_) {
            const int64_t skip = std::min<int64_t>(cutStart_ - held.start, held.length);
            p.data += skip * frameBytes;
            p.size -= static_cast<int>(skip * frameBytes);
            held.start += skip;
            held.length -= skip;
        }
        if (held.start + held.length > cutEnd_) {
            held.length = std::max<int64_t>(cutEnd_ - held.start, 0);
            p.size = static_cast<int>(held.length * frameBytes);
        }
    }

    // The ADTS header goes; the first packet brings the stream's configuration for the MP4 file.
    void filter(AVPacket& p)
    {
        int result = av_bsf_send_packet(adtsToAsc_.get(), &p);
        if (result >= 0)
            result = av_bsf_receive_packet(adtsToAsc_.get(), &p);
        if (result < 0) {
            if (!headerWritten_)
                throw CopyRefused{"its AAC packets cannot be stored in an MP4 file as they are"};
            throw Failure("Copying the AAC stream failed: " + avErrorText(result));
        }
        PacketPtr extra = allocPacket();
        while (av_bsf_receive_packet(adtsToAsc_.get(), extra.get()) >= 0)
            av_packet_unref(extra.get()); // one packet in, one out: nothing further is expected
    }

    void writeHeader(const AVPacket& first, const Held& held)
    {
        size_t size = 0;
        if (const uint8_t* config = av_packet_get_side_data(&first, AV_PKT_DATA_NEW_EXTRADATA, &size);
            config && size > 0 && stream_->codecpar->extradata_size == 0)
            setExtradata(config, size);
        const int header = avformat_write_header(muxer_.get(), nullptr);
        if (header < 0) {
            if (stopRequested())
                throw Failure("Stopped");
            throw CopyRefused{std::string("the ") + muxer_->oformat->name + " format does not take this " +
                              avcodec_get_name(source_.codec_id) + " stream as it is"};
        }
        headerWritten_ = true;
        // Packets cut: the first one begins the file. Edit list: the asked start is the file's 0,
        // what comes before it is hidden. PCM: already cut at the start.
        outOrigin_ = trim_ == Trim::EditList ? std::max<int64_t>(cutStart_, 0) : held.start;
        std::printf("%s\n", routeLine(CopyChoice{true, avcodec_get_name(source_.codec_id)}).c_str());
    }

    void setExtradata(const uint8_t* data, size_t size)
    {
        auto* copy = static_cast<uint8_t*>(av_mallocz(size + AV_INPUT_BUFFER_PADDING_SIZE));
        if (!copy)
            throw Failure("Out of memory");
        std::copy(data, data + size, copy);
        stream_->codecpar->extradata = copy;
        stream_->codecpar->extradata_size = static_cast<int>(size);
    }

    void finish()
    {
        if (!headerWritten_)
            throw Failure(cutStart_ > 0 ? "No audio at or after the start time " + clockText(double(cutStart_) / rate_)
                                        : std::string("The input's audio stream holds no packets"));
        int result = av_write_trailer(muxer_.get());
        if (result < 0)
            throwWriteError(result);
        const int64_t bytes = avio_tell(muxer_->pb);
        result = avio_closep(&muxer_->pb);
        if (result < 0)
            throwWriteError(result);
        status_.printFinal(bytes, seconds());
    }

    double seconds() const { return double(std::max<int64_t>(writtenEnd_, 0)) / rate_; }

    InputSource& input_;
    const AVCodecParameters& source_;
    const int rate_;
    OutputFormatPtr muxer_;
    AVStream* stream_ = nullptr;
    BsfPtr adtsToAsc_;
    std::unique_ptr<AVVorbisParseContext, VorbisParserFreer> vorbis_;
    Trim trim_ = Trim::Packets;
    int64_t cutStart_ = 0;                                    // in samples since the file's start
    int64_t cutEnd_ = std::numeric_limits<int64_t>::max();    // likewise; none: to the end
    int64_t expected_ = -1;                                   // where the next packet should begin
    std::optional<Held> pending_;
    bool headerWritten_ = false;
    int64_t outOrigin_ = 0;                                   // the source sample that is the output's 0
    int64_t writtenEnd_ = 0;
    StatusLine status_;
};

} // namespace

CopyChoice chooseCopy(const Options& options, const InputSource& input)
{
    const OutputChoice output = chooseOutput(options);
    const AVCodecID source = input.stream().codecpar->codec_id;
    const auto holds = copyableMuxers().find(output.muxer);
    if (holds == copyableMuxers().end())
        return {false, output.muxer + " output is always encoded"};
    const AVCodec* encoder = avcodec_find_encoder_by_name(output.encoder.c_str());
    const AVCodecID wanted = encoder ? encoder->id : holds->second;
    if (source != wanted || source != holds->second)
        return {false, std::string("the source's sound is ") + avcodec_get_name(source) + ", the output holds " +
                           avcodec_get_name(wanted)};
    if (const auto change = soundChange(options, input))
        return {false, *change};
    if (input.sampleRate() <= 0 || input.channels() <= 0)
        return {false, "the source's sound format is not known"};
    return {true, avcodec_get_name(source)};
}

std::string routeLine(const CopyChoice& choice)
{
    return std::string("audio: ") + (choice.copy ? "copied (" : "re-encoded (") + choice.reason + ")";
}

bool copyAudio(const Options& options, InputSource& input)
{
    CopyChoice choice = chooseCopy(options, input);
    if (choice.copy) {
        try {
            TempOutput output(options.output, options.overwrite);
            PacketCopier(options, input, chooseOutput(options).muxer, output.path()).run();
            if (stopRequested())
                throw Failure("Stopped");
            output.commit();
            return true;
        } catch (const CopyRefused& refused) {
            choice = {false, refused.reason};
            input.rewindToStart();
        }
    }
    std::printf("%s\n", routeLine(choice).c_str());
    return false;
}
