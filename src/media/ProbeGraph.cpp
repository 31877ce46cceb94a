#include "media/ProbeGraph.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/dict.h>
#include <libavutil/mathematics.h>
}

namespace {

constexpr AVRational ReferenceTimeBase{1, 10'000'000};

bool isAudioOrVideo(const AVStream &stream)
{
    const AVMediaType type = stream.codecpar->codec_type;
    if (type == AVMEDIA_TYPE_VIDEO)
        return !(stream.disposition & AV_DISPOSITION_ATTACHED_PIC); // cover art is no picture stream
    return type == AVMEDIA_TYPE_AUDIO;
}

bool hasDecoder(const AVStream &stream)
{
    return stream.codecpar->codec_id != AV_CODEC_ID_NONE && avcodec_find_decoder(stream.codecpar->codec_id);
}

RenderOutcome classifyStreams(const AVFormatContext &format)
{
    int media = 0;
    int decodable = 0;
    for (unsigned i = 0; i < format.nb_streams; ++i) {
        const AVStream &stream = *format.streams[i];
        if (!isAudioOrVideo(stream))
            continue;
        ++media;
        decodable += hasDecoder(stream) ? 1 : 0;
    }
    if (media == 0)
        return RenderOutcome::Failed;
    return decodable == media ? RenderOutcome::Complete : RenderOutcome::Partial;
}

// The container's own duration, else the longest stream's; nullopt when neither is known.
std::optional<qint64> knownDuration(const AVFormatContext &format)
{
    if (format.duration != AV_NOPTS_VALUE && format.duration > 0)
        return av_rescale_q(format.duration, AV_TIME_BASE_Q, ReferenceTimeBase);
    std::optional<qint64> longest;
    for (unsigned i = 0; i < format.nb_streams; ++i) {
        const AVStream &stream = *format.streams[i];
        if (!isAudioOrVideo(stream) || stream.duration == AV_NOPTS_VALUE || stream.duration <= 0)
            continue;
        const qint64 length = av_rescale_q(stream.duration, stream.time_base, ReferenceTimeBase);
        longest = std::max(longest.value_or(0), length);
    }
    return longest;
}

// Reading packets to learn about streams is slow; it is only needed when the header did not
// announce every stream or the length.
bool needsStreamInfo(const AVFormatContext &format)
{
    return format.nb_streams == 0 || (format.ctx_flags & AVFMTCTX_NOHEADER) || !knownDuration(format);
}

} // namespace

void ProbeGraph::FormatCloser::operator()(AVFormatContext *context) const
{
    avformat_close_input(&context);
}

ProbeGraph::ProbeGraph() = default;
ProbeGraph::~ProbeGraph() = default;

void ProbeGraph::OpenGraph() { m_open = true; }

void ProbeGraph::CloseGraph()
{
    m_format.reset();
    m_open = false;
}

bool ProbeGraph::IsGraphOpen() const { return m_open; }

void ProbeGraph::EmptyGraph() { m_format.reset(); }

ProbeGraph::FormatPointer ProbeGraph::openInput(const QString &path)
{
    // Only regular files: a pipe or device under a video's name would block the probe.
    if (!QFileInfo(path).isFile())
        return {};
    // The path is a file name, never a URL or protocol ("http:", "concat:"), and nothing a file
    // refers to is fetched from elsewhere.
    const QByteArray url = "file:" + QFile::encodeName(path);
    AVDictionary *options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    AVFormatContext *raw = nullptr;
    const int opened = avformat_open_input(&raw, url.constData(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0)
        return {}; // the context is freed on failure
    FormatPointer format(raw);
    if (needsStreamInfo(*format))
        avformat_find_stream_info(format.get(), nullptr); // what it can't learn stays unknown
    return format;
}

RenderOutcome ProbeGraph::RenderFile(const QString &path)
{
    if (!m_open)
        throw MediaGraphError("The media graph is not open.");
    m_format.reset();
    FormatPointer format = openInput(path);
    if (!format)
        return RenderOutcome::Failed;
    const RenderOutcome outcome = classifyStreams(*format);
    if (outcome != RenderOutcome::Failed)
        m_format = std::move(format);
    return outcome;
}

std::optional<qint64> ProbeGraph::GetDuration()
{
    if (!m_format)
        return std::nullopt;
    return knownDuration(*m_format);
}

std::optional<qint64> ProbeGraph::GetCurrentPosition()
{
    if (!m_format)
        return std::nullopt;
    return 0;
}

void ProbeGraph::SetCurrentPosition(qint64)
{
    throw MediaGraphError("The probe graph can't seek.");
}
