#include "media/FilterGraph.h"

#include "media/PictureTurn.h"
#include "media/ProbeGraph.h"

#include <QFile>
#include <QFileInfo>
#include <QFuture>
#include <QPromise>
#include <QThreadPool>
#include <algorithm>
#include <cmath>
#include <memory>

#include <mpv/client.h>

namespace {

// Command replies carry what they answer in the top byte and a sequence number below it.
enum ReplyKind : quint64 { LoadReply = 1, StopReply = 2, SeekReply = 3, PositionReply = 4 };
constexpr int ReplyKindShift = 56;
constexpr quint64 SequenceMask = (quint64(1) << ReplyKindShift) - 1;

constexpr quint64 replyTag(ReplyKind kind, quint64 sequence) { return (quint64(kind) << ReplyKindShift) | sequence; }

// Observed properties.
enum Property : quint64 { TimePosition = 1, Duration = 2, EndReached = 3 };

constexpr double ReferenceUnitsPerSecond = 1e7;

qint64 toReference(double seconds) { return std::max<qint64>(0, std::llround(seconds * ReferenceUnitsPerSecond)); }

QByteArray secondsText(qint64 reference)
{
    return QByteArray::number(double(reference) / ReferenceUnitsPerSecond, 'f', 7);
}

// The player numbers a file's audio tracks from 1 in file order, as the encoders do.
QByteArray audioTrackValue(std::optional<int> track)
{
    return track ? QByteArray::number(*track) : QByteArrayLiteral("auto");
}

} // namespace

FilterGraph::FilterGraph(MpvSettings settings, LogFunction log, QObject *parent)
    : QObject(parent), m_settings(std::move(settings)), m_log(std::move(log))
{
    m_session.setEventHandler([this](const mpv_event &event) { onEvent(event); });
    connect(&m_session, &MpvSession::frameDrawn, this, &FilterGraph::frameDrawn);
}

FilterGraph::~FilterGraph() { Release(); }

void FilterGraph::startPlayer()
{
    if (m_session.isStarted())
        return;
    if (m_released)
        throw MediaGraphError("The preview has been released.");
    if (!m_startError.isEmpty())
        throw MediaGraphError(m_startError.toStdString());
    QString error = m_session.start(m_settings);
    if (error.isEmpty()) {
        const bool observed = m_session.observeDouble("time-pos", TimePosition)
                              && m_session.observeDouble("duration", Duration)
                              && m_session.observeFlag("eof-reached", EndReached);
        if (observed)
            return;
        m_session.shutdown();
        error = QStringLiteral("the player core reports no playing position");
    }
    m_startError = QStringLiteral("The preview cannot play videos: ") + error + u'.';
    if (m_log)
        m_log(m_startError);
    throw MediaGraphError(m_startError.toStdString());
}

void FilterGraph::OpenGraph()
{
    startPlayer();
    m_open = true;
}

void FilterGraph::CloseGraph()
{
    unloadFile();
    m_open = false;
}

void FilterGraph::EmptyGraph() { unloadFile(); }

void FilterGraph::Release()
{
    forgetFile();
    m_session.shutdown();
    m_session.clearFrame();
    m_open = false;
    m_released = true;
}

RenderOutcome FilterGraph::RenderFile(const QString &path) { return renderFile(path, std::nullopt); }

RenderOutcome FilterGraph::RenderMeasuredFile(const QString &path, qint64 duration)
{
    return renderFile(path, duration);
}

RenderOutcome FilterGraph::renderFile(const QString &path, std::optional<qint64> duration)
{
    if (!m_open)
        throw MediaGraphError("The preview graph is not open.");
    unloadFile();
    m_hasFile = true;
    m_duration = duration;
    ++m_generation;
    // The player loads the file while its streams are looked at; nothing of it is shown or run
    // before the look has found a decoder for each.
    m_session.holdPictures(true);
    loadFile(path);
    checkStreams(path, duration.has_value());
    return RenderOutcome::Complete;
}

FilterGraph::StreamCheck FilterGraph::probeStreams(const QString &path, bool lengthKnown)
{
    ProbeGraph probe;
    probe.OpenGraph();
    probe.setMeasuresLength(!lengthKnown);
    StreamCheck check;
    check.outcome = probe.RenderFile(path);
    if (check.outcome == RenderOutcome::Complete) {
        check.duration = probe.GetDuration();
        check.pictureTurns = probe.GetPictureTurns();
    }
    return check;
}

void FilterGraph::lookInThePool(std::function<void()> look)
{
    QThreadPool::globalInstance()->start(std::move(look));
}

// The look at the file runs in the thread pool; its answer comes back to this object's thread
// through the event loop, and not at all once the graph is gone. An answer ready before the
// continuation is attached would otherwise be handled right here, inside RenderFile: the file
// would be refused while the caller still sets it up to play.
void FilterGraph::checkStreams(const QString &path, bool lengthKnown)
{
    auto promise = std::make_shared<QPromise<StreamCheck>>();
    QFuture<StreamCheck> answer = promise->future();
    promise->start();
    m_runCheck([promise, checker = m_checkStreams, path, lengthKnown] {
        StreamCheck check;
        try {
            check = checker(path, lengthKnown);
        } catch (...) {
            // A file that can't be looked at does not play.
        }
        promise->addResult(check);
        promise->finish();
    });
    answer.then(this, [this, generation = m_generation](const StreamCheck &check) {
        QMetaObject::invokeMethod(
            this, [this, generation, check] { streamsChecked(generation, check); }, Qt::QueuedConnection);
    });
}

void FilterGraph::streamsChecked(quint64 generation, const StreamCheck &check)
{
    if (generation != m_generation || !m_hasFile)
        return; // another file has been rendered since, or none is
    if (check.outcome != RenderOutcome::Complete)
        return failPlayback();
    m_streamsChecked = true;
    if (!m_duration)
        m_duration = check.duration;
    turnPictures(check.pictureTurns); // before the first picture is drawn
    m_session.holdPictures(false);
    try {
        if (m_loaded && m_running)
            setPaused(false);
    } catch (const MediaGraphError &) {
        failPlayback();
    }
}

void FilterGraph::send(const QByteArrayList &arguments, quint64 reply)
{
    if (!m_session.command(arguments, reply))
        throw MediaGraphError("The preview player takes no command.");
}

void FilterGraph::setPaused(bool paused)
{
    if (!m_session.setFlag("pause", paused))
        throw MediaGraphError("The preview player takes no command.");
}

// The file is loaded paused: it starts running, at the position asked for, once it is loaded.
void FilterGraph::loadFile(const QString &path)
{
    setPaused(true);
    const QByteArray file = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    send({"loadfile", file, "replace", "aid=" + audioTrackValue(m_audioTrack)}, replyTag(LoadReply, m_generation));
}

void FilterGraph::SelectAudioTrack(std::optional<int> track)
{
    m_audioTrack = track;
    if (m_hasFile && !m_session.setText("aid", audioTrackValue(track)))
        throw MediaGraphError("The preview player takes no command.");
}

void FilterGraph::unloadFile()
{
    if (!m_hasFile)
        return;
    forgetFile();
    ++m_generation;
    m_session.command({"stop"}, replyTag(StopReply, m_generation));
    m_session.clearFrame();
}

void FilterGraph::setVideoSize(QSize size)
{
    m_windowSize = size;
    m_session.setFrameSize(TurnedSize(size, m_pictureTurns));
}

// The player draws a turned file's pictures as they are stored, into a frame of the window's
// shape turned back; the window turns the frame.
void FilterGraph::turnPictures(int quarterTurns)
{
    if (quarterTurns == m_pictureTurns)
        return;
    m_pictureTurns = quarterTurns;
    m_session.setFrameSize(TurnedSize(m_windowSize, quarterTurns));
}

void FilterGraph::forgetFile()
{
    m_hasFile = false;
    m_running = false;
    m_loaded = false;
    m_playlistEntry.reset();
    m_pendingSeek.reset();
    m_duration.reset();
    m_position = 0;
    m_atEnd = false;
    m_awaitingRestart = false;
    m_streamsChecked = false;
    turnPictures(0);
}

std::optional<qint64> FilterGraph::GetDuration()
{
    if (!m_hasFile)
        return std::nullopt;
    return m_duration;
}

std::optional<qint64> FilterGraph::GetCurrentPosition()
{
    if (!m_hasFile)
        return std::nullopt;
    if (m_atEnd)
        return m_duration.value_or(m_position);
    return m_pendingSeek.value_or(m_position);
}

void FilterGraph::SetCurrentPosition(qint64 reference)
{
    if (!m_open || !m_hasFile)
        throw MediaGraphError("No file is loaded in the preview.");
    reference = std::max<qint64>(0, reference);
    m_atEnd = false;
    if (!m_loaded) {
        m_pendingSeek = reference;
        return;
    }
    seekPlayer(reference);
}

void FilterGraph::seekPlayer(qint64 reference)
{
    m_position = reference;
    ++m_seeksSent;
    m_awaitingRestart = true;
    send({"seek", secondsText(reference), "absolute+exact"}, replyTag(SeekReply, m_seeksSent));
    // At the end of a file the player has paused itself; a running graph runs on from the new position.
    if (m_running && m_streamsChecked)
        setPaused(false);
}

void FilterGraph::RunGraph()
{
    if (!m_open)
        throw MediaGraphError("The preview graph is not open.");
    m_running = true;
    if (m_loaded && m_streamsChecked)
        setPaused(false);
}

void FilterGraph::PauseGraph()
{
    if (!m_open)
        throw MediaGraphError("The preview graph is not open.");
    m_running = false;
    if (m_hasFile)
        setPaused(true);
}

void FilterGraph::StopGraph()
{
    if (!m_open)
        return;
    m_running = false;
    if (m_hasFile)
        setPaused(true);
}

// The player pauses itself after the step; the position follows as it reports it.
void FilterGraph::StepFrame(bool forward)
{
    if (!m_open || !m_hasFile)
        throw MediaGraphError("No file is loaded in the preview.");
    m_running = false;
    send({forward ? QByteArrayLiteral("frame-step") : QByteArrayLiteral("frame-back-step")});
}

void FilterGraph::onEvent(const mpv_event &event)
{
    switch (event.event_id) {
    case MPV_EVENT_COMMAND_REPLY:
        commandReplied(event.reply_userdata, event.error);
        break;
    case MPV_EVENT_START_FILE:
        if (isCurrent())
            m_playlistEntry = static_cast<const mpv_event_start_file *>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_FILE_LOADED:
        if (isCurrent() && m_playlistEntry)
            fileLoaded();
        break;
    case MPV_EVENT_END_FILE:
        fileEnded(*static_cast<const mpv_event_end_file *>(event.data));
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        playbackRestarted();
        break;
    case MPV_EVENT_GET_PROPERTY_REPLY:
        if (event.error >= 0)
            positionReported(event.reply_userdata, *static_cast<const mpv_event_property *>(event.data));
        break;
    case MPV_EVENT_PROPERTY_CHANGE:
        propertyChanged(event.reply_userdata, *static_cast<const mpv_event_property *>(event.data));
        break;
    case MPV_EVENT_SHUTDOWN:
        playerEnded();
        break;
    default:
        break;
    }
}

void FilterGraph::commandReplied(quint64 reply, int error)
{
    const quint64 sequence = reply & SequenceMask;
    switch (reply >> ReplyKindShift) {
    case LoadReply:
    case StopReply:
        m_acknowledged = std::max(m_acknowledged, sequence);
        if ((reply >> ReplyKindShift) == LoadReply && error < 0 && sequence == m_generation && m_hasFile)
            failPlayback();
        break;
    case SeekReply:
        if (sequence != m_seeksSent)
            break;
        m_seeksTaken = sequence;
        if (error < 0)
            m_awaitingRestart = false;
        break;
    default:
        break;
    }
}

void FilterGraph::fileLoaded()
{
    m_loaded = true;
    m_position = 0;
    m_atEnd = false;
    try {
        if (m_pendingSeek) {
            seekPlayer(*std::exchange(m_pendingSeek, std::nullopt));
            return;
        }
        m_awaitingRestart = true;
        if (m_running && m_streamsChecked)
            setPaused(false);
    } catch (const MediaGraphError &) {
        failPlayback();
    }
}

void FilterGraph::fileEnded(const mpv_event_end_file &end)
{
    if (!isCurrent() || !m_playlistEntry || *m_playlistEntry != end.playlist_entry_id)
        return;
    if (end.reason == MPV_END_FILE_REASON_ERROR)
        failPlayback();
    else if (end.reason == MPV_END_FILE_REASON_EOF)
        m_atEnd = true;
}

// The player has landed after loading or after the newest seek: the position it reports now is
// where it shows the picture.
void FilterGraph::playbackRestarted()
{
    if (!isCurrent() || !m_loaded || !m_awaitingRestart || m_seeksTaken != m_seeksSent)
        return;
    m_awaitingRestart = false;
    m_session.requestDouble("time-pos", replyTag(PositionReply, m_seeksSent));
}

void FilterGraph::positionReported(quint64 reply, const mpv_event_property &property)
{
    if ((reply >> ReplyKindShift) != PositionReply || (reply & SequenceMask) != m_seeksSent || !isCurrent()
        || !m_loaded || property.format != MPV_FORMAT_DOUBLE)
        return;
    m_position = toReference(*static_cast<const double *>(property.data));
    Q_EMIT positionSettled();
}

void FilterGraph::propertyChanged(quint64 id, const mpv_event_property &property)
{
    if (!isCurrent() || !m_loaded)
        return;
    if (property.format == MPV_FORMAT_DOUBLE) {
        const double value = *static_cast<const double *>(property.data);
        // Positions from before the newest seek was taken are out of date.
        if (id == TimePosition && m_seeksTaken == m_seeksSent)
            m_position = toReference(value);
        else if (id == Duration)
            m_duration = toReference(value);
    } else if (property.format == MPV_FORMAT_FLAG && id == EndReached) {
        m_atEnd = *static_cast<const int *>(property.data) != 0;
    }
}

// The player core went away on its own. The graph stays open until it is closed; the next
// opening starts a new core.
void FilterGraph::playerEnded()
{
    const bool hadFile = m_hasFile;
    forgetFile();
    m_session.shutdown();
    m_session.clearFrame();
    if (hadFile)
        Q_EMIT playbackFailed();
}

void FilterGraph::failPlayback()
{
    unloadFile();
    Q_EMIT playbackFailed();
}
