#pragma once
// The preview graph: a media graph that plays a file in libmpv and draws its picture into a
// frame buffer for the video window. Whether a file renders completely is decided by the same
// rule as the probe, before anything of it is shown; that look at the file runs on a worker
// thread while the player loads the file paused, so a slow disk never holds up the window and
// the look costs no time before the first picture. The player core is created when the graph is first
// opened and lives until Release(); opening and closing only load and unload files.
//
// Everything the player reports arrives as events on the user-interface thread; the graph keeps
// the latest position, duration and end-of-file state from them, so asking for the position
// never waits for the player.
#include "media/MediaGraph.h"
#include "media/MpvSession.h"

#include <QObject>
#include <QSize>
#include <chrono>
#include <functional>
#include <optional>

struct mpv_event;
struct mpv_event_end_file;
struct mpv_event_property;

class FilterGraph final : public QObject, public MediaGraph {
    Q_OBJECT
public:
    using LogFunction = std::function<void(const QString &line)>;

    // What a look at a file's streams found: whether every sound and picture stream has a
    // decoder, and the file's length when it is known.
    struct StreamCheck {
        RenderOutcome outcome = RenderOutcome::Failed;
        std::optional<qint64> duration;
        int pictureTurns = 0; // clockwise quarter turns the file asks its picture to be shown with
    };
    // Looks at a file's streams, and measures its length unless `lengthKnown`; called on a
    // worker thread, never on the graph's.
    using StreamChecker = std::function<StreamCheck(const QString &path, bool lengthKnown)>;
    // Runs the look at a file away from the caller: in the thread pool unless a test says otherwise.
    using CheckRunner = std::function<void(std::function<void()> look)>;
    // The probe's look: the same rule the source list measures files by.
    static StreamCheck probeStreams(const QString &path, bool lengthKnown);

    // `log` receives one line when the player core cannot be created.
    explicit FilterGraph(MpvSettings settings = {}, LogFunction log = {}, QObject *parent = nullptr);
    ~FilterGraph() override;

    // Creates the player core on first use. Throws MediaGraphError with the reason when it can't
    // (the reason is logged once; later attempts fail the same way without trying again).
    void OpenGraph() override;
    void CloseGraph() override;
    bool IsGraphOpen() const override { return m_open; }
    void EmptyGraph() override;
    // Returns at once with Complete: the player loads the file paused while its streams are
    // looked at on a worker thread. A file whose every stream has a decoder is then shown (and
    // runs if the graph was run meanwhile); any other file is unloaded before a picture of it
    // is drawn, and playbackFailed() tells. Throws MediaGraphError when the graph is closed or
    // the player takes no command.
    RenderOutcome RenderFile(const QString &path) override;
    // The same with the length the source list measured: it is the duration from the start, and
    // the look at the streams leaves it unmeasured.
    RenderOutcome RenderMeasuredFile(const QString &path, qint64 duration) override;
    // Replaces the look at a file's streams (tests count and hold it).
    void setStreamChecker(StreamChecker checker) { m_checkStreams = std::move(checker); }
    void setCheckRunner(CheckRunner runner) { m_runCheck = std::move(runner); }

    // The player's duration once the file is loaded; before, the measured one or the probe's.
    std::optional<qint64> GetDuration() override;
    // At the end of the file this is the duration. Nothing when no file is rendered.
    std::optional<qint64> GetCurrentPosition() override;
    // An exact seek. Before the player has loaded the file it is kept and made once the file is
    // loaded. Throws MediaGraphError when no file is rendered.
    void SetCurrentPosition(qint64 reference) override;

    // Throw MediaGraphError when the graph is closed or the player takes no command.
    void RunGraph() override;
    void PauseGraph() override;
    void StopGraph() override;
    // One frame on or back from where the paused file stands. Throws MediaGraphError when no
    // file is rendered or the player takes no command.
    void StepFrame(bool forward) override;

    // The player's audio track ("aid"): given to the next file as it is loaded, and switched at
    // once in a loaded file. Nothing leaves the choice to the player.
    void SelectAudioTrack(std::optional<int> track) override;

    // Unloads the file and lets go of the player core for good (the program is ending).
    void Release();

    // The picture, drawn to fill `size` device pixels once turned by pictureTurns(), with black
    // bars where the video's shape differs.
    void setVideoSize(QSize size);
    // The picture as the player draws it: as the file stores it, letterboxed to the window's
    // shape turned back by pictureTurns() (its sides swapped for a quarter turn).
    const VideoFrameBuffer &videoFrame() const { return m_session.frame(); }
    // Clockwise quarter turns (0 to 3) that show videoFrame() upright: the loaded file's, once
    // its streams have been looked at.
    int pictureTurns() const { return m_pictureTurns; }
    // The screen's refresh interval: pictures are drawn no more often than it shows them.
    void setRefreshInterval(std::chrono::microseconds interval) { m_session.setRefreshInterval(interval); }
    // The player's pictures drawn so far.
    quint64 picturesDrawn() const { return m_session.picturesDrawn(); }

Q_SIGNALS:
    // videoFrame() holds a new picture.
    void frameDrawn();
    // The rendered file lacks a decoder for a stream, or the player could not open or read it;
    // it has been unloaded.
    void playbackFailed();
    // The player has landed after loading the file or after a seek, and GetCurrentPosition()
    // tells where.
    void positionSettled();

private:
    void startPlayer();
    RenderOutcome renderFile(const QString &path, std::optional<qint64> duration);
    void checkStreams(const QString &path, bool lengthKnown);
    void streamsChecked(quint64 generation, const StreamCheck &check);
    void loadFile(const QString &path);
    void unloadFile();
    void forgetFile();
    void send(const QByteArrayList &arguments, quint64 reply = 0);
    void setPaused(bool paused);
    void seekPlayer(qint64 reference);

    void onEvent(const mpv_event &event);
    void commandReplied(quint64 reply, int error);
    void fileLoaded();
    void fileEnded(const mpv_event_end_file &end);
    void playbackRestarted();
    void positionReported(quint64 reply, const mpv_event_property &property);
    void propertyChanged(quint64 id, const mpv_event_property &property);
    void playerEnded();
    void failPlayback();
    void turnPictures(int quarterTurns);
    static void lookInThePool(std::function<void()> look);
    // True when the events read now belong to the file loaded last.
    bool isCurrent() const { return m_hasFile && m_acknowledged == m_generation; }

    MpvSettings m_settings;
    LogFunction m_log;
    StreamChecker m_checkStreams = &FilterGraph::probeStreams;
    CheckRunner m_runCheck = &FilterGraph::lookInThePool;
    MpvSession m_session;
    QString m_startError;  // why the player core could not be created
    bool m_released = false;
    bool m_open = false;
    std::optional<int> m_audioTrack; // the "aid" the next and the loaded file play
    QSize m_windowSize;              // where the picture is shown, in device pixels
    int m_pictureTurns = 0;

    // The rendered file, as far as the player has got with it.
    bool m_hasFile = false;
    bool m_running = false;                 // asked to run (the player may still be loading)
    bool m_loaded = false;                  // the player has loaded it
    std::optional<qint64> m_playlistEntry;  // the player's id for it
    std::optional<qint64> m_pendingSeek;    // asked for before the player had loaded it
    std::optional<qint64> m_duration;
    qint64 m_position = 0;
    bool m_atEnd = false;
    // The look at the file's streams found a decoder for each: it may run and be shown.
    bool m_streamsChecked = false;

    // Each rendered file and each unload starts a new generation; events before the player has
    // answered the newest one, and stream checks of an older one, belong to a file that is gone.
    quint64 m_generation = 0;
    quint64 m_acknowledged = 0;
    // Seeks: the newest one sent and the newest one the player has taken.
    quint64 m_seeksSent = 0;
    quint64 m_seeksTaken = 0;
    bool m_awaitingRestart = false;
};
