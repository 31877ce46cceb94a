#include "media/PreviewPlayer.h"

#include "media/TimeText.h"

namespace {

const QString PlayingVideoError = QStringLiteral("Playing Video error.");

// The end marker's time in seconds; nothing when it has not been set (or can't be read).
std::optional<qint32> endMarkerSeconds(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    const qint32 seconds = TimeTextToSeconds(text);
    if (FormatTimeText(seconds) != text)
        return std::nullopt;
    return seconds;
}

} // namespace

PreviewPlayer::PreviewPlayer(MediaGraph &graph, PreviewTimelineState &timeline, LogFunction log, QObject *parent)
    : QObject(parent), m_graph(graph), m_timeline(timeline), m_log(std::move(log)),
      m_positionText(FormatTimeText(0))
{
    m_positionTimer.setInterval(PositionInterval);
    connect(&m_positionTimer, &QTimer::timeout, this, &PreviewPlayer::dstrckbrMainformTimer);
}

// A graph that cannot be opened, or a log that cannot be written, leaves this to the caller's
// handler, which shows it. The refused file is unloaded before the log is written.
void PreviewPlayer::LoadAndPlay(const QString &path)
{
    m_positionTimer.stop();
    m_graph.CloseGraph();
    m_graph.OpenGraph();
    m_lastSeconds = 0;
    if (!renderCompletely(path)) {
        m_graph.EmptyGraph();
        m_previewFile.clear();
        m_log(PlayingVideoError);
        return;
    }
    m_previewFile = path;
    startPlaying();
}

bool PreviewPlayer::renderCompletely(const QString &path)
{
    try {
        return m_graph.RenderFile(path) == RenderOutcome::Complete;
    } catch (const MediaGraphError &) {
        return false;
    }
}

void PreviewPlayer::startPlaying()
{
    try {
        PausePreview();
        ResumePreview();
        if (m_timeline.markersReady)
            seekTo(qint64(m_timeline.previewStart) * 1000);
        m_isPlaying = true;
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
        m_isPlaying = true;
        setLogoVisible(false);
        showPosition();
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
        showPosition();
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
        m_lastSeconds.reset();
        setPositionText(FormatTimeText(0));
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
    // The graph may take a moment to get there: the display shows the target at once.
    setPositionText(FormatTimeText(milliseconds / 1000));
    if (m_isPlaying)
        m_positionTimer.start(untilNextSecond(milliseconds));
}

// Shows where the loaded file is now, and while it runs, ticks again when it reaches its next
// whole second, so the display never runs behind.
void PreviewPlayer::showPosition()
{
    const std::optional<qint64> position = m_graph.GetCurrentPosition();
    const qint64 milliseconds = position ? MediaTime::referenceToMilliseconds(*position) : 0;
    if (position)
        setPositionText(FormatTimeText(MediaTime::millisecondsToSeconds(static_cast<qint32>(milliseconds))));
    if (m_isPlaying)
        m_positionTimer.start(untilNextSecond(milliseconds));
}

int PreviewPlayer::untilNextSecond(qint64 milliseconds)
{
    constexpr int Margin = 5; // lands just after the second has begun
    const qint64 intoSecond = milliseconds >= 0 ? milliseconds % 1000 : 0;
    return static_cast<int>(1000 - intoSecond) + Margin;
}

void PreviewPlayer::btnPlayClick(const QStringList &selectedFiles)
{
    if (!m_previewFile.isEmpty()) {
        if (!m_isPlaying)
            ResumePreview();
        return;
    }
    for (const QString &path : selectedFiles)
        LoadAndPlay(path);
}

void PreviewPlayer::btnPauseClick()
{
    if (!m_previewFile.isEmpty() && m_isPlaying)
        PausePreview();
}

// The display pauses at the end marker when it shows the marker's time, and also when it has
// gone past that time since the last tick (a tick that comes late skips a second).
bool PreviewPlayer::reachesEndMarker(qint32 seconds) const
{
    const std::optional<qint32> end = endMarkerSeconds(m_timeline.endMarkerText);
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
    setPositionText(FormatTimeText(seconds));
    if (m_isPlaying)
        m_positionTimer.start(untilNextSecond(milliseconds));
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
