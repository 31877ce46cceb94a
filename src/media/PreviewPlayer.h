#pragma once
// The preview player: plays the selected source item in the preview graph from that item's own
// start, pauses and stops it, seeks it and steps it by frames, shows the playing position at once
// after every play, pause and seek and at every whole second of the file while it runs, pauses at
// the item's own cut end and unloads at the end of the file. It is a model: the video window's
// logo, the position display and the timeline's playhead follow its signals.
//
// States: Unloaded (no file, logo shown), Playing (file loaded and running, logo hidden) and
// Paused (file loaded, not running, logo hidden).
#include "media/MediaGraph.h"
#include "media/PreviewPort.h"
#include "media/SourceItem.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <optional>

class PreviewPlayer final : public QObject, public IPreviewControl {
    Q_OBJECT
public:
    using LogFunction = std::function<void(const QString &line)>;
    // The item `id` as the list holds it now; nothing once the list no longer holds it.
    using ItemLookup = std::function<std::optional<SourceItem>(SourceItemId id)>;

    static constexpr int PositionInterval = 1000; // ms between position updates while running
    // The position timer's next interval from a position: to just after its next whole second.
    static int untilNextSecond(qint64 milliseconds);

    // The graph must outlive the player; `log` writes one line to the diagnostic log.
    PreviewPlayer(MediaGraph &graph, LogFunction log, QObject *parent = nullptr);

    // IPreviewControl
    QString previewFile() const override { return m_previewFile; }
    bool isGraphOpen() const override { return m_graph.IsGraphOpen(); }
    void seekMilliseconds(qint64 milliseconds) override;
    // Stops and unloads; the display reads 00:00:00 and the logo shows. Nothing when closed.
    void StopPreview() override;

    // Where the loaded item's times are read while it plays (its cut end may change); without
    // one, the times it had when it was loaded count.
    void setItemLookup(ItemLookup lookup) { m_lookup = std::move(lookup); }

    // Loads the item's file and plays it, with the audio track the item converts, from the item's
    // own start, brought back to a second before the end of a shorter file. A file that does not
    // render completely is logged ("Playing Video error.") and not loaded.
    // Throws MediaGraphError when the graph cannot be opened, LogWriteError when the log cannot
    // be written; the handlers below pass these on to theirs.
    void LoadAndPlay(const SourceItem &item);
    // The item's audio track changed: a loaded preview of that item switches to it at once.
    // Throws MediaGraphError when the player takes no command.
    void ChangeAudioTrack(const SourceItem &item);
    // Runs the loaded file; nothing when the graph is closed.
    void ResumePreview();
    // Pauses the loaded file; nothing when the graph is closed.
    void PausePreview();

    // Play: resumes a paused file, leaves a playing one alone; with nothing loaded, loads every
    // selected item in turn (`selected` in grid order), so the last one stays loaded.
    void btnPlayClick(const QList<SourceItem> &selected);
    void btnPauseClick();
    void btnStopClick() { StopPreview(); }
    // The position timer: shows the position, pauses at the end marker, unloads at the end.
    void dstrckbrMainformTimer();
    // The graph could not go on with the loaded file: it is unloaded, then logged.
    void playbackFailed();

    // The loaded item with its times as they are now; nothing when nothing is loaded.
    std::optional<SourceItem> loadedItem() const;
    // Where the loaded file stands: the place a seek of a paused file went to, else the graph's
    // position. Nothing when nothing is loaded or the graph can't tell.
    std::optional<qint64> positionMilliseconds();
    // Seeks the loaded file to `milliseconds`, kept within the file; the display and the
    // playhead follow at once. Nothing when nothing is loaded; a failed seek changes nothing.
    void seekWithinFile(qint64 milliseconds);
    // The same, `delta` milliseconds from where the file stands.
    void seekBy(qint64 delta);
    // One frame on or back, only while paused.
    void stepFrame(bool forward);
    // The graph drew a picture or settled: a paused file shows where it stands.
    void showPausedPosition();

    bool isPlaying() const { return m_isPlaying; }
    bool logoVisible() const { return m_logoVisible; }
    QString positionText() const { return m_positionText; }
    const QTimer &positionTimer() const { return m_positionTimer; }

Q_SIGNALS:
    void logoVisibleChanged(bool visible);
    void positionTextChanged(const QString &text);
    // Where the playhead stands in the loaded file; a duration of 0 when nothing is loaded.
    void playheadMoved(qint64 positionMilliseconds, qint64 durationMilliseconds);

private:
    bool renderCompletely(const SourceItem &item);
    void startPlaying();
    void seekTo(qint64 milliseconds);
    void showCurrentPosition();
    bool reachesEndMarker(qint32 seconds) const;
    void setLogoVisible(bool visible);
    void setPositionText(const QString &text);
    void showPosition(qint64 milliseconds);
    qint64 loadedDuration();

    MediaGraph &m_graph;
    LogFunction m_log;
    QTimer m_positionTimer;
    QString m_previewFile;
    std::optional<SourceItem> m_item; // the loaded item as it was loaded
    ItemLookup m_lookup;
    // Where the last seek of a paused file went; the graph may still be on its way there.
    std::optional<qint64> m_soughtMilliseconds;
    bool m_isPlaying = false;
    bool m_logoVisible = true;
    QString m_positionText;
    // The position in whole seconds that the last tick showed or the last seek went to.
    std::optional<qint32> m_lastSeconds;
};
