#include "media/PreviewPlayer.h"

#include "media/TimeText.h"

#include <algorithm>

namespace {

const QString PlayingVideoError = QStringLiteral("Playing Video error.");

// Where playback of `item` starts: its own start, and a second before the end of a file shorter
// than that start, so that the preview never starts past the end and unloads.
qint64 playbackStart(const SourceItem &item)
{
    return std::clamp<qint64>(item.startMs, 0, std::max<qint64>(0, item.durationMs - 1000));
}

// The second at which playback of `item` pauses; nothing when its cut runs to the file's end.
std::optional<qint32> cutEndSeconds(const SourceItem &item)
{
    if (item.endMs >= item.durationMs)
        return std::nullopt;
    return static_cast<qint32>(EndSeconds(item));
}

} // namespace

PreviewPlayer::PreviewPlayer(MediaGraph &graph, LogFunction log, QObject *parent)
    : QObject(parent), m_graph(graph), m_log(std::move(log)),
      m_positionText(FormatTimeText(0))
{
    m_positionTimer.setInterval(PositionInterval);
    connect(&m_positionTimer, &QTimer::timeout, this, &PreviewPlayer::dstrckbrMainformTimer);
}

// A graph that cannot be opened, or a log that cannot be written, leaves this to the caller's
// handler, which shows it. The refused file is unloaded before the log is written.
void PreviewPlayer::LoadAndPlay(const SourceItem &item)
{
    const QString &path = item.path;
    m_positionTimer.stop();
    m_graph.CloseGraph();
    m_graph.OpenGraph();
    m_lastSeconds = 0;
    m_graph.SelectAudioTrack(EffectiveAudioTrack(item.audioTracks, item.audioTrack));
    if (!renderCompletely(item)) {
        m_graph.EmptyGraph();
        m_previewFile.clear();
        m_item.reset();
        m_log(PlayingVideoError);
        return;
    }
    m_previewFile = path;
    m_item = item;
    startPlaying();
}

// The list measured the item's file when it was added; a length it found is not measured again.
bool PreviewPlayer::renderCompletely(const SourceItem &item)
{
    try {
        const RenderOutcome outcome =
            item.durationMs > 0
                ? m_graph.RenderMeasuredFile(item.path, MediaTime::millisecondsToReference(item.durationMs))
                : m_graph.RenderFile(item.path);
        return outcome == RenderOutcome::Complete;
    } catch (const MediaGraphError &) {
        return false;
    }
}

void PreviewPlayer::startPlaying()
{
    try {
        PausePreview();
        ResumePreview();
        const qint64 start = playbackStart(*m_item);
        if (start > 0)
            seekTo(start);
        m_isPlaying = true;
        showPosition(start);
        setLogoVisible(false);
    } catch (const MediaGraphError &) {
        setLogoVisible(true);
    }
}

void PreviewPlayer::ResumePreview()
{
    if (!m_graph.IsGraphOpen())
        return;
    try {
        m_graph.RunGraph();
        m_soughtMilliseconds.reset(); // once it runs, the graph's position counts
        m_isPlaying = true;
        setLogoVisible(false);
        showCurrentPosition();
    } catch (const MediaGraphError &) {
        setLogoVisible(true);
    }
}

void PreviewPlayer::PausePreview()
{
    if (!m_graph.IsGraphOpen())
        return;
    try {
        m_graph.PauseGraph();
        m_positionTimer.stop();
        m_isPlaying = false;
        setLogoVisible(false);
        showCurrentPosition();
    } catch (const MediaGraphError &) {
        setLogoVisible(true);
    }
}

void PreviewPlayer::StopPreview()
{
    if (!m_graph.IsGraphOpen())
        return;
    try {
        m_graph.StopGraph();
        m_positionTimer.stop();
        m_graph.CloseGraph();
        m_previewFile.clear();
        m_item.reset();
        m_soughtMilliseconds.reset();
        m_lastSeconds.reset();
        setPositionText(FormatTimeText(0));
        Q_EMIT playheadMoved(0, 0);
        m_isPlaying = false;
        setLogoVisible(true);
    } catch (const MediaGraphError &) {
        setLogoVisible(true);
    }
}

void PreviewPlayer::seekMilliseconds(qint64 milliseconds) { seekTo(milliseconds); }

void PreviewPlayer::seekTo(qint64 milliseconds)
{
    SeekGraph(m_graph, milliseconds);
    m_lastSeconds = qint32(milliseconds / 1000);
    if (m_isPlaying)
        m_soughtMilliseconds.reset();
    else
        m_soughtMilliseconds = milliseconds;
    // The graph may take a moment to get there: the display and the playhead show the target
    // at once.
    showPosition(milliseconds);
}

// Shows where the loaded file is now (where a paused file was sought to, else the graph's
// position), and while it runs, ticks again when it reaches its next whole second.
void PreviewPlayer::showCurrentPosition()
{
    if (const std::optional<qint64> position = positionMilliseconds())
        showPosition(*position);
    else if (m_isPlaying)
        m_positionTimer.start(untilNextSecond(0));
}

int PreviewPlayer::untilNextSecond(qint64 milliseconds)
{
    constexpr int Margin = 5; // lands just after the second has begun
    const qint64 intoSecond = milliseconds >= 0 ? milliseconds % 1000 : 0;
    return static_cast<int>(1000 - intoSecond) + Margin;
}

void PreviewPlayer::btnPlayClick(const QList<SourceItem> &selected)
{
    if (!m_previewFile.isEmpty()) {
        if (!m_isPlaying)
            ResumePreview();
        return;
    }
    for (const SourceItem &item : selected)
        LoadAndPlay(item);
}

void PreviewPlayer::ChangeAudioTrack(const SourceItem &item)
{
    if (m_previewFile.isEmpty() || !item.id.isValid() || !m_item || item.id != m_item->id)
        return;
    m_graph.SelectAudioTrack(EffectiveAudioTrack(item.audioTracks, item.audioTrack));
}

std::optional<SourceItem> PreviewPlayer::loadedItem() const
{
    if (!m_item || m_previewFile.isEmpty())
        return std::nullopt;
    if (m_lookup) {
        if (std::optional<SourceItem> now = m_lookup(m_item->id))
            return now;
    }
    return m_item;
}

std::optional<qint64> PreviewPlayer::positionMilliseconds()
{
    if (m_previewFile.isEmpty())
        return std::nullopt;
    if (!m_isPlaying && m_soughtMilliseconds)
        return m_soughtMilliseconds;
    const std::optional<qint64> position = m_graph.GetCurrentPosition();
    if (!position)
        return std::nullopt;
    return MediaTime::referenceToMilliseconds(*position);
}

qint64 PreviewPlayer::loadedDuration()
{
    if (const std::optional<qint64> duration = m_graph.GetDuration())
        return MediaTime::referenceToMilliseconds(*duration);
    return m_item ? m_item->durationMs : 0;
}

void PreviewPlayer::seekWithinFile(qint64 milliseconds)
{
    if (m_previewFile.isEmpty())
        return;
    const qint64 duration = loadedDuration();
    const qint64 target = std::max<qint64>(0, duration > 0 ? std::min(milliseconds, duration) : milliseconds);
    try {
        seekTo(target);
    } catch (const MediaGraphError &) {
    }
}

void PreviewPlayer::seekBy(qint64 delta)
{
    if (const std::optional<qint64> position = positionMilliseconds())
        seekWithinFile(*position + delta);
}

void PreviewPlayer::stepFrame(bool forward)
{
    if (m_previewFile.isEmpty() || m_isPlaying)
        return;
    try {
        m_graph.StepFrame(forward);
    } catch (const MediaGraphError &) {
        return;
    }
    m_soughtMilliseconds.reset();
    showPausedPosition();
}

void PreviewPlayer::showPausedPosition()
{
    if (m_previewFile.isEmpty() || m_isPlaying)
        return;
    if (const std::optional<qint64> position = positionMilliseconds())
        showPosition(*position);
}

// Shows `milliseconds` on the display and the playhead; while the file runs, the position timer
// ticks again just after its next whole second, so the display never runs behind.
void PreviewPlayer::showPosition(qint64 milliseconds)
{
    setPositionText(FormatTimeText(milliseconds / 1000));
    Q_EMIT playheadMoved(milliseconds, loadedDuration());
    if (m_isPlaying)
        m_positionTimer.start(untilNextSecond(milliseconds));
}

void PreviewPlayer::btnPauseClick()
{
    if (!m_previewFile.isEmpty() && m_isPlaying)
        PausePreview();
}

// The display pauses at the loaded item's cut end when it shows that second, and also when it
// has gone past it since the last tick (a tick that comes late skips a second).
bool PreviewPlayer::reachesEndMarker(qint32 seconds) const
{
    const std::optional<SourceItem> item = loadedItem();
    const std::optional<qint32> end = item ? cutEndSeconds(*item) : std::nullopt;
    if (!end)
        return false;
    if (seconds == *end)
        return true;
    return m_lastSeconds && *m_lastSeconds < *end && seconds > *end;
}

void PreviewPlayer::dstrckbrMainformTimer()
{
    const std::optional<qint64> position = m_graph.GetCurrentPosition();
    if (!position)
        return;
    const std::optional<qint64> duration = m_graph.GetDuration();
    const qint32 milliseconds = MediaTime::referenceToMilliseconds(*position);
    const qint32 seconds = MediaTime::millisecondsToSeconds(milliseconds);
    m_soughtMilliseconds.reset();
    showPosition(milliseconds);
    // A seek that fails here changes nothing else: the preview still pauses or stops.
    if (reachesEndMarker(seconds)) {
        try {
            seekTo(0);
        } catch (const MediaGraphError &) {
        }
        PausePreview();
    } else {
        m_lastSeconds = seconds;
    }
    if (duration && milliseconds >= MediaTime::referenceToMilliseconds(*duration)) {
        try {
            seekTo(0);
        } catch (const MediaGraphError &) {
        }
        StopPreview();
    }
}

void PreviewPlayer::playbackFailed()
{
    StopPreview();
    m_log(PlayingVideoError);
}

void PreviewPlayer::setLogoVisible(bool visible)
{
    if (visible == m_logoVisible)
        return;
    m_logoVisible = visible;
    Q_EMIT logoVisibleChanged(visible);
}

void PreviewPlayer::setPositionText(const QString &text)
{
    if (text == m_positionText)
        return;
    m_positionText = text;
    Q_EMIT positionTextChanged(text);
}
