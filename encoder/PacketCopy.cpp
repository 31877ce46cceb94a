#include "PacketCopy.h"
#include "CopyChoice.h"
#include "CopyPreroll.h"
#include "EncodePlan.h"
#include "LameTag.h"
#include "Failure.h"
#include "MuxerOutput.h"
#include "StatusLine.h"
#include "StopSignal.h"
#include "TempOutput.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <limits>
#include <optional>
#include <utility>

extern "C" {
#include <libavcodec/bsf.h>
#include <libavcodec/vorbis_parser.h>
}

namespace {

// Thrown when the sound cannot be copied after all, before or after the output's header: the
// file is then encoded, into an output of its own.
struct CopyAbandoned {
    std::string reason;
};

struct VorbisParserFreer {
    void operator()(AVVorbisParseContext* c) const { av_vorbis_parse_free(&c); }
};

struct BsfFreer {
    void operator()(AVBSFContext* c) const { av_bsf_free(&c); }
};
using BsfPtr = std::unique_ptr<AVBSFContext, BsfFreer>;

// A packet of the source with its place in samples since the file's start.
struct Held {
    PacketPtr packet;
    int64_t start = 0;
    int64_t length = 0;
};

class PacketCopier {
public:
    PacketCopier(const Options& options, InputSource& input, const CopyableType& type, const std::string& path)
        : input_(input), source_(*input.stream().codecpar), rate_(source_.sample_rate), type_(type),
          muxer_(allocOutputFormat(type.muxer))
    {
        if (options.startSeconds)
            cutStart_ = llround(*options.startSeconds * rate_);
        if (options.durationSeconds)
            cutEnd_ = cutStart_ + llround(*options.durationSeconds * rate_);
        widenByClockError();
        if (source_.codec_id == AV_CODEC_ID_VORBIS)
            vorbis_.reset(av_vorbis_parse_init(source_.extradata, source_.extradata_size));
        openStream(input.descriptiveTags());
        openOutputFile(*muxer_, path);
    }

    // Copies the packets of the cut and completes the file; CopyAbandoned when it cannot.
    void run()
    {
        bool fromFileStart = cutStart_ <= 0 || !input_.seekBefore(double(cutStart_) / rate_);
        std::deque<Held> before; // packets that begin at or before the cut's start, the latest last
        bool beforeFull = false;
        bool reachedStart = cutStart_ <= 0;
        for (Held held; read(held);) {
            if (!reachedStart && held.start <= cutStart_) {
                before.push_back(std::move(held));
                if (before.size() > MaxPrerollPackets) {
                    before.pop_front();
                    beforeFull = true;
                }
                continue;
            }
            if (!reachedStart && !fromFileStart && !beforeFull && needed(before) > before.size()) {
                // The demuxer landed too late for the decoder's preroll: read from the file's start.
                input_.rewindToStart();
                fromFileStart = true;
                before.clear();
                expected_ = -1;
                continue;
            }
            reachedStart = true;
            takeNeeded(before);
            if (held.start >= cutEnd_)
                break;
            take(std::move(held));
        }
        takeNeeded(before); // the input ended before a packet began after the start
        if (pending_)
            write(*pending_, true);
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
        if (type_.edges == CutEdges::EditList && source_.extradata_size == 0)
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

    bool fineClock() const
    {
        const AVRational tb = input_.stream().time_base;
        return int64_t(tb.num) * rate_ <= tb.den;
    }

    // Whether the container's clock tells where every packet begins to the sample: a tick of at
    // most a sample, or of whole samples that the codec's frames fill exactly (AVI's MP3 frames).
    bool exactClock() const
    {
        const AVRational tb = input_.stream().time_base;
        const int64_t perTick = int64_t(rate_) * tb.num; // samples per tick, times tb.den
        if (perTick <= tb.den)
            return true;
        const int frame = source_.frame_size > 0 ? source_.frame_size : source_.codec_id == AV_CODEC_ID_AC3 ? 1536 : 0;
        return perTick % tb.den == 0 && frame > 0 && frame % (perTick / tb.den) == 0;
    }

    // A clock that rounds (Matroska's milliseconds, say) tells where a packet begins only to half
    // a tick: whole packets then cover that much more at each end.
    void widenByClockError()
    {
        if (type_.edges == CutEdges::Samples || exactClock())
            return;
        const AVRational tb = input_.stream().time_base;
        const int64_t halfTick = (int64_t(rate_) * tb.num + 2 * tb.den - 1) / (2 * tb.den);
        if (cutStart_ > 0)
            cutStart_ = std::max<int64_t>(cutStart_ - halfTick, 1);
        if (cutEnd_ != std::numeric_limits<int64_t>::max())
            cutEnd_ += halfTick;
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
        const int64_t tolerance = rate_ / 50;
        if (expected_ >= 0 && std::llabs(held.start - expected_) <= tolerance)
            held.start = expected_;
        else if (expected_ >= 0 && held.start < expected_)
            throw CopyAbandoned{"the copy failed at " + clockText(double(expected_) / rate_) +
                                ": the source's time stamps go back"};
        held.length = estimatedLength(p);
        expected_ = held.length > 0 ? held.start + held.length : -1;
        return true;
    }

    // Lengths come from the stream itself where the container's clock is too coarse for them:
    // PCM by its bytes, Vorbis by its block sizes, the others by their fixed frame size.
    int64_t estimatedLength(const AVPacket& p) const
    {
        if (type_.edges == CutEdges::Samples && source_.block_align > 0)
            return p.size / source_.block_align;
        if (vorbis_)
            return std::max(av_vorbis_parse_frame(vorbis_.get(), p.data, p.size), 0);
        const AVRational tb = input_.stream().time_base;
        if (p.duration > 0 && (fineClock() || source_.frame_size <= 0))
            return av_rescale_q(p.duration, tb, AVRational{1, rate_});
        if (source_.frame_size <= 0 && source_.codec_id == AV_CODEC_ID_AC3)
            return 1536; // every AC-3 frame holds six blocks of 256 samples
        return std::max(source_.frame_size, 0);
    }

    size_t needed(const std::deque<Held>& before) const
    {
        std::vector<PacketBytes> bytes;
        bytes.reserve(before.size());
        for (const Held& held : before)
            bytes.push_back({held.packet->data, held.packet->size});
        return before.empty() ? 1 : packetsNeeded(type_.preroll, bytes);
    }

    // The packets before the start that the decoder needs, then the one holding the start.
    void takeNeeded(std::deque<Held>& before)
    {
        const size_t keep = std::min(needed(before), before.size());
        before.erase(before.begin(), before.end() - std::ptrdiff_t(keep));
        for (Held& held : before)
            take(std::move(held));
        before.clear();
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

    bool hidesEdges() const { return type_.edges == CutEdges::EditList || type_.edges == CutEdges::Granules; }

    void write(Held& held, bool last = false)
    {
        if (stopRequested())
            throw Failure("Stopped");
        if (type_.edges == CutEdges::Samples)
            trimSamples(held);
        else if (hidesEdges() && held.start + held.length > cutEnd_)
            held.length = cutEnd_ - held.start; // the container ends the sound at the asked sample
        if (held.length <= 0 && type_.edges == CutEdges::Samples)
            return;
        AVPacket& p = *held.packet;
        if (adtsToAsc_)
            filter(p, held);
        const bool first = !headerWritten_;
        if (first)
            writeHeader(p, held);
        av_packet_free_side_data(&p);
        if (type_.edges == CutEdges::LameTag && (first || last))
            markLameTag(p, first ? lameStart(held) : lameStart_, last ? lameEnd(held) : 0);
        const AVRational perSample{1, rate_};
        p.pts = p.dts = av_rescale_q(held.start - outOrigin_, perSample, stream_->time_base);
        p.duration = av_rescale_q(held.length, perSample, stream_->time_base);
        p.stream_index = stream_->index;
        p.pos = -1;
        const int written = av_write_frame(muxer_.get(), &p);
        if (written < 0)
            refusedOrFailed(written, held);
        writtenEnd_ = std::max(writtenEnd_, held.start - outOrigin_ + held.length);
        status_.maybePrint(avio_tell(muxer_->pb), seconds());
    }

    // A write that failed on the file fails the conversion; a packet the muxer refused (time
    // stamps it takes for damaged) is left to encoding.
    [[noreturn]] void refusedOrFailed(int code, const Held& held) const
    {
        if (stopRequested() || !muxer_->pb || muxer_->pb->error < 0)
            throwWriteError(code);
        throw CopyAbandoned{"the copy failed at " + clockText(double(held.start) / rate_) + ": the " +
                            muxer_->oformat->name + " format refused a packet (" + avErrorText(code) + ")"};
    }

    // MP3: the samples before the cut and past it that the LAME tag hides.
    int64_t lameStart(const Held& first)
    {
        lameStart_ = cutStart_ > 0 ? lameStartSkip(cutStart_ - first.start) : 0;
        return lameStart_;
    }

    int64_t lameEnd(const Held& last) const
    {
        return cutEnd_ == std::numeric_limits<int64_t>::max() ? 0 : lameEndSkip(last.start + last.length - cutEnd_);
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
    void filter(AVPacket& p, const Held& held)
    {
        int result = av_bsf_send_packet(adtsToAsc_.get(), &p);
        if (result >= 0)
            result = av_bsf_receive_packet(adtsToAsc_.get(), &p);
        if (result < 0) {
            if (!headerWritten_)
                throw CopyAbandoned{"its AAC packets cannot be stored in an MP4 file as they are"};
            throw CopyAbandoned{"the copy failed at " + clockText(double(held.start) / rate_) +
                                ": an AAC packet cannot be stored in an MP4 file as it is (" + avErrorText(result) +
                                ")"};
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
            throw CopyAbandoned{std::string("the ") + muxer_->oformat->name + " format does not take this " +
                                avcodec_get_name(source_.codec_id) + " stream as it is"};
        }
        headerWritten_ = true;
        // Whole packets: the first one begins the file. Edit list and granules: the asked start is
        // the file's 0, what comes before it is hidden. PCM: already cut at the start.
        outOrigin_ = hidesEdges() ? std::max<int64_t>(cutStart_, 0) : held.start;
        printLine(routeLine(CopyChoice{true, avcodec_get_name(source_.codec_id)}));
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
    const CopyableType& type_;
    OutputFormatPtr muxer_;
    AVStream* stream_ = nullptr;
    BsfPtr adtsToAsc_;
    std::unique_ptr<AVVorbisParseContext, VorbisParserFreer> vorbis_;
    int64_t cutStart_ = 0;                                    // in samples since the file's start
    int64_t cutEnd_ = std::numeric_limits<int64_t>::max();    // likewise; none: to the end
    int64_t expected_ = -1;                                   // where the next packet should begin
    std::optional<Held> pending_;
    bool headerWritten_ = false;
    int64_t outOrigin_ = 0;                                   // the source sample that is the output's 0
    int64_t lameStart_ = 0;                                   // MP3: the samples before the cut the tag hides
    int64_t writtenEnd_ = 0;
    StatusLine status_;
};

} // namespace

bool copyAudio(const Options& options, InputSource& input)
{
    CopyChoice choice = chooseCopy(options, input);
    if (choice.copy) {
        try {
            TempOutput output(options.output, options.overwrite);
            PacketCopier(options, input, *choice.type, output.path()).run();
            if (stopRequested())
                throw Failure("Stopped");
            output.commit();
            return true;
        } catch (const CopyAbandoned& abandoned) {
            choice = {false, abandoned.reason};
            input.rewindToStart();
        }
    }
    printLine(routeLine(choice));
    return false;
}
