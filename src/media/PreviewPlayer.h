#pragma once
// The preview player: plays the selected source file in the preview graph, pauses and stops it,
// shows the playing position at once after every play, pause and seek and at every whole
// second of the file while it runs, pauses at the end marker and unloads at the end of
// the file. It is a model: the video window's logo and the position display follow its signals.
//
// States: Unloaded (no file, logo shown), Playing (file loaded and running, logo hidden) and
// Paused (file loaded, not running, logo hidden).
#include "media/MediaGraph.h"
#include "media/PreviewPort.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <optional>

class PreviewPlayer final : public QObject, public IPreviewControl {
    Q_OBJECT
public:
    using LogFunction = std::function<void(const QString &line)>;

    static constexpr int PositionInterval = 1000; // ms between position updates while running
    // The position timer's next interval from a position: to just after its next whole second.
    static int untilNextSecond(qint64 milliseconds);

    // The graph and the state must outlive the player; `log` writes one line to the diagnostic log.
    PreviewPlayer(MediaGraph &graph, PreviewTimelineState &timeline, LogFunction log, QObject *parent = nullptr);

    // IPreviewControl
    QString previewFile() const override { return m_previewFile; }
    bool isGraphOpen() const override { return m_graph.IsGraphOpen(); }
    void seekMilliseconds(qint64 milliseconds) override;
    // Stops and unloads; the display reads 00:00:00 and the logo shows. Nothing when closed.
    void StopPreview() override;

    // Loads `path` and plays it from the start marker's time once the markers are laid out.
    // A file that does not render completely is logged ("Playing Video error.") and not loaded.
    // Throws MediaGraphError when the graph cannot be opened, LogWriteError when the log cannot
    // be written; the handlers below pass these on to theirs.
    void LoadAndPlay(const QString &path);
    // Runs the loaded file; nothing when the graph is closed.
    void ResumePreview();
    // Pauses the loaded file; nothing when the graph is closed.
    void PausePreview();

    // Play: resumes a paused file, leaves a playing one alone; with nothing loaded, loads every
    // selected file in turn (`selectedFiles` in grid order), so the last one stays loaded.
    void btnPlayClick(const QStringList &selectedFiles);
    void btnPauseClick();
    void btnStopClick() { StopPreview(); }
    // The position timer: shows the position, pauses at the end marker, unloads at the end.
    void dstrckbrMainformTimer();
    // The graph could not go on with the loaded file: it is unloaded, then logged.
    void playbackFailed();

    bool isPlaying() const { return m_isPlaying; }
    bool logoVisible() const { return m_logoVisible; }
    QString positionText() const { return m_positionText; }
    const QTimer &positionTimer() const { return m_positionTimer; }

Q_SIGNALS:
    void logoVisibleChanged(bool visible);
    void positionTextChanged(const QString &text);

private:
    bool renderCompletely(const QString &path);
    void startPlaying();
    void seekTo(qint64 milliseconds);
    void showPosition();
    bool reachesEndMarker(qint32 seconds) const;
    void setLogoVisible(bool visible);
    void setPositionText(const QString &text);

    MediaGraph &m_graph;
    PreviewTimelineState &m_timeline;
    LogFunction m_log;
    QTimer m_positionTimer;
    QString m_previewFile;
    bool m_isPlaying = false;
    bool m_logoVisible = true;
    QString m_positionText;
    // The position in whole seconds that the last tick showed or the last seek went to.
    std::optional<qint32> m_lastSeconds;
};
