#pragma once
// One libmpv player core with a software video renderer, used from the thread that created it
// (the user-interface thread). libmpv calls back from its own threads; those callbacks only queue
// work to this object's thread, where pending events are read and new frames are drawn. Commands
// go out asynchronously, so the user interface never waits for the player core.
//
// A picture is drawn only when the player has a new one, and never sooner after the last one
// than the screen can show it: callbacks that come in between are folded into one drawing.
#include "media/VideoFrameBuffer.h"

#include <QByteArrayList>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <utility>

struct mpv_handle;
struct mpv_render_context;
struct mpv_event;

struct MpvSettings {
    // Audio output driver ("null" plays no sound); empty uses the desktop's default output.
    QByteArray audioOutput;
    // Further player options, applied after the built-in ones.
    QList<std::pair<QByteArray, QByteArray>> options;
};

class MpvSession final : public QObject {
    Q_OBJECT
public:
    using EventHandler = std::function<void(const mpv_event &)>;

    explicit MpvSession(QObject *parent = nullptr);
    ~MpvSession() override;
    MpvSession(const MpvSession &) = delete;
    MpvSession &operator=(const MpvSession &) = delete;

    // Creates the player core and its renderer. Returns why it could not (then nothing is kept),
    // or an empty text.
    QString start(const MpvSettings &settings);
    // Clears both callbacks, frees the renderer, then the core. Work that the callbacks queued
    // before and that arrives afterwards finds nothing to do.
    void shutdown();
    bool isStarted() const { return m_core != nullptr; }

    // Receives every event of the core, on this object's thread. The handler may call shutdown().
    void setEventHandler(EventHandler handler) { m_onEvent = std::move(handler); }

    // Sends a command without waiting; its result arrives as a command-reply event carrying
    // `reply`. False when it could not be sent.
    bool command(const QByteArrayList &arguments, quint64 reply = 0);
    bool setFlag(const char *name, bool value);
    bool setText(const char *name, const QByteArray &value);
    // Asks for a property's value; it arrives as a get-property-reply event carrying `reply`.
    bool requestDouble(const char *name, quint64 reply);
    // Property changes arrive as events carrying `id`.
    bool observeDouble(const char *name, quint64 id);
    bool observeFlag(const char *name, quint64 id);

    // Frames are drawn into a buffer of this many pixels (device pixels); the current picture is
    // drawn again at the new size. An empty size draws nothing.
    void setFrameSize(QSize size);
    const VideoFrameBuffer &frame() const { return m_frame; }
    // Turns the picture black, as when nothing is loaded.
    void clearFrame();
    // How often the screen shows a new picture (its refresh interval); no two of the player's
    // pictures are drawn closer together than nine tenths of it. Zero draws each one as it comes.
    void setRefreshInterval(std::chrono::microseconds interval) { m_refreshInterval = interval; }
    // The player's pictures drawn into the frame buffer so far (redraws at a new size not counted).
    quint64 picturesDrawn() const { return m_picturesDrawn; }
    // While held, the player's pictures wait undrawn (the frame buffer keeps what it shows);
    // letting go draws the newest one at once.
    void holdPictures(bool held);

Q_SIGNALS:
    // The frame buffer holds a new picture.
    void frameDrawn();

private:
    struct CoreDeleter {
        void operator()(mpv_handle *core) const;
    };
    struct RenderDeleter {
        void operator()(mpv_render_context *render) const;
    };

    static void wakeUp(void *self);
    static void frameReady(void *self);
    void readEvents();
    void drawNewFrame();
    // How long the next picture must still wait so as not to come sooner than the screen shows it.
    std::chrono::milliseconds timeBeforeNextPicture() const;
    // Draws the current picture into the frame buffer, or lets it pass when the buffer is empty
    // (then false).
    bool draw();

    // Declared in this order so that the renderer always goes before the core.
    std::unique_ptr<mpv_handle, CoreDeleter> m_core;
    std::unique_ptr<mpv_render_context, RenderDeleter> m_render;
    std::atomic_bool m_eventsQueued{false};
    std::atomic_bool m_frameQueued{false};
    EventHandler m_onEvent;
    VideoFrameBuffer m_frame;
    std::chrono::microseconds m_refreshInterval{0};
    QElapsedTimer m_sinceLastPicture;
    QTimer m_heldPicture; // fires when a picture that came too soon may be drawn
    quint64 m_picturesDrawn = 0;
    bool m_picturesHeld = false;
};
