#include "media/ProbeGraph.h"

#include "media/PictureTurn.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdarg>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/dict.h>
#include <libavutil/display.h>
#include <libavutil/log.h>
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

struct PacketFree {
    void operator()(AVPacket *packet) const { av_packet_free(&packet); }
};

// How far before its end a file is read for its last frames.
constexpr int64_t TailBytes = 512 * 1024;
// The most the last frames may add to an estimate; more means time stamps that can't be trusted.
constexpr int64_t MostMissing = 2 * AV_TIME_BASE;

// The end of the file's last audio or video frame, from its time stamp and its own duration,
// in AV_TIME_BASE units; nullopt when no frame near the end tells it.
std::optional<int64_t> lastFrameEnd(AVFormatContext &format)
{
    const int64_t size = format.pb ? avio_size(format.pb) : -1;
    if (size <= 0 || av_seek_frame(&format, -1, std::max<int64_t>(0, size - TailBytes), AVSEEK_FLAG_BYTE) < 0)
        return std::nullopt;
    std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    if (!packet)
        return std::nullopt;
    std::optional<int64_t> end;
    while (av_read_frame(&format, packet.get()) >= 0) {
        const AVStream &stream = *format.streams[packet->stream_index];
        if (isAudioOrVideo(stream) && packet->pts != AV_NOPTS_VALUE) {
            const int64_t frameEnd = av_rescale_q(packet->pts + packet->duration, stream.time_base, AV_TIME_BASE_Q);
            end = std::max(end.value_or(frameEnd), frameEnd);
        }
        av_packet_unref(packet.get());
    }
    return end;
}

// MPEG program and transport streams carry no length: it is estimated from the time stamps of
// their last packets, and what follows the stamp inside a packet (several frames may share
// one) is left out, so the estimate falls short by up to a few tenths of a second and a file
// lost its last whole second. The last frames, read one by one with their own time stamps and
// durations, tell where the file really ends.
std::optional<qint64> lengthOf(AVFormatContext &format)
{
    const std::optional<qint64> estimate = knownDuration(format);
    if (format.duration_estimation_method != AVFMT_DURATION_FROM_PTS || format.start_time == AV_NOPTS_VALUE ||
        format.duration == AV_NOPTS_VALUE)
        return estimate;
    const std::optional<int64_t> end = lastFrameEnd(format);
    if (!end)
        return estimate;
    const int64_t measured = *end - format.start_time;
    if (measured <= format.duration || measured > format.duration + MostMissing)
        return estimate;
    return av_rescale_q(measured, AV_TIME_BASE_Q, ReferenceTimeBase);
}

// True when a demuxer recognises the beginning of the file with some confidence, so a file
// that then fails to open is damaged rather than of an unknown type.
bool typeRecognised(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 ProbeBytes = 64 * 1024;
    QByteArray head = file.read(ProbeBytes);
    const int size = static_cast<int>(head.size());
    head.append(QByteArray(AVPROBE_PADDING_SIZE, '\0'));
    const QByteArray name = QFile::encodeName(path);
    AVProbeData probe{};
    probe.filename = name.constData();
    probe.buf = reinterpret_cast<unsigned char *>(head.data());
    probe.buf_size = size;
    int score = AVPROBE_SCORE_RETRY; // a guess below this is no recognition ("misdetection possible")
    return av_probe_input_format2(&probe, 1, &score) != nullptr;
}

// The picture stream a player shows: the one the file marks as its default, else the first.
const AVStream *pictureStream(const AVFormatContext &format)
{
    const AVStream *first = nullptr;
    for (unsigned i = 0; i < format.nb_streams; ++i) {
        const AVStream *stream = format.streams[i];
        if (stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO || !isAudioOrVideo(*stream))
            continue;
        if (stream->disposition & AV_DISPOSITION_DEFAULT)
            return stream;
        if (!first)
            first = stream;
    }
    return first;
}

int pictureTurns(const AVFormatContext &format)
{
    const AVStream *stream = pictureStream(format);
    if (!stream)
        return 0;
    size_t size = 0;
    const uint8_t *matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!matrix || size < 9 * sizeof(int32_t))
        return 0;
    return QuarterTurnsOf(av_display_rotation_get(reinterpret_cast<const int32_t *>(matrix)));
}

bool holdsSound(const AVFormatContext &format)
{
    for (unsigned i = 0; i < format.nb_streams; ++i) {
        if (format.streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
            return true;
    }
    return false;
}

// Reading packets to learn about streams is slow; it is only needed when the header did not
// announce every stream, or the length when it is to be measured.
bool needsStreamInfo(const AVFormatContext &format, bool measureLength)
{
    return format.nb_streams == 0 || (format.ctx_flags & AVFMTCTX_NOHEADER) || (measureLength && !knownDuration(format));
}

} // namespace

namespace {

std::function<void(const QString &)> &libraryLog()
{
    static std::function<void(const QString &)> log; // set once, before any thread probes
    return log;
}

void libraryLine(void *context, int level, const char *format, va_list arguments)
{
    if (level > AV_LOG_ERROR || !libraryLog())
        return;
    char line[1024];
    int prefix = 1;
    av_log_format_line2(context, level, format, arguments, line, sizeof line, &prefix);
    const QString text = QString::fromUtf8(line).trimmed();
    if (!text.isEmpty())
        libraryLog()(text);
}

} // namespace

void QuietMediaLibraries(std::function<void(const QString &line)> log)
{
    libraryLog() = std::move(log);
    av_log_set_callback(libraryLine);
}

void ProbeGraph::FormatCloser::operator()(AVFormatContext *context) const
{
    avformat_close_input(&context);
}

ProbeGraph::ProbeGraph() = default;
ProbeGraph::~ProbeGraph() = default;

void ProbeGraph::OpenGraph() { m_open = true; }

void ProbeGraph::CloseGraph()
{
    EmptyGraph();
    m_open = false;
}

bool ProbeGraph::IsGraphOpen() const { return m_open; }

void ProbeGraph::EmptyGraph()
{
    m_format.reset();
    m_duration.reset();
    m_audioTracks.clear();
    m_pictureTurns = 0;
}

ProbeGraph::FormatPointer ProbeGraph::openInput(const QString &path, bool measureLength)
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
    if (needsStreamInfo(*format, measureLength))
        avformat_find_stream_info(format.get(), nullptr); // what it can't learn stays unknown
    return format;
}

RenderOutcome ProbeGraph::RenderFile(const QString &path)
{
    if (!m_open)
        throw MediaGraphError("The media graph is not open.");
    EmptyGraph();
    m_damaged = false;
    FormatPointer format = openInput(path, m_measuresLength);
    if (!format) {
        m_damaged = QFileInfo(path).isFile() && typeRecognised(path);
        return RenderOutcome::Failed;
    }
    const RenderOutcome outcome = classifyStreams(*format);
    if (outcome != RenderOutcome::Failed) {
        if (m_measuresLength)
            m_duration = lengthOf(*format);
        m_audioTracks = AudioTracksOf(*format);
        m_pictureTurns = pictureTurns(*format);
        m_format = std::move(format);
    }
    return outcome;
}

std::optional<qint64> ProbeGraph::GetDuration()
{
    if (!m_format)
        return std::nullopt;
    return m_duration;
}

AudioTrackList ProbeGraph::GetAudioTracks() const { return m_audioTracks; }

std::optional<bool> ProbeGraph::HasSound() const
{
    if (!m_format)
        return std::nullopt;
    return holdsSound(*m_format);
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
