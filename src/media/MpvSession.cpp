#include "media/MpvSession.h"

#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <clocale>
#include <cstring>
#include <vector>

#include <mpv/client.h>
#include <mpv/render.h>

namespace {

// What the preview asks of the player core. The user's own player configuration and scripts
// stay out; the picture goes only to our renderer; the end of a file keeps it open (paused at
// the end) instead of unloading it; seeks land on the asked frame; the demuxer reads a few
// seconds ahead, not hundreds of megabytes; a missing audio device plays on without sound.
constexpr std::pair<const char *, const char *> BuiltInOptions[] = {
    {"config", "no"},
    {"terminal", "no"},
    {"load-scripts", "no"},
    {"osc", "no"},
    {"ytdl", "no"},
    {"load-stats-overlay", "no"},
    {"load-osd-console", "no"},
    {"load-auto-profiles", "no"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"resume-playback", "no"},
    {"vo", "libmpv"},
    {"hwdec", "no"},
    {"idle", "yes"},
    {"keep-open", "yes"},
    {"hr-seek", "yes"},
    {"cache", "no"},
    {"demuxer-max-bytes", "8MiB"},
    {"demuxer-max-back-bytes", "1MiB"},
    {"osd-level", "0"},
    {"sid", "no"},
    {"sub-auto", "no"},
    {"audio-file-auto", "no"},
    {"cover-art-auto", "no"},
    {"audio-display", "no"},
    {"audio-fallback-to-null", "yes"},
    {"audio-client-name", "Kelvane"},
    // The software renderer draws pictures only as they are stored: a picture that a file asks to
    // be shown turned by a quarter turn gets the turned shape's crop and aborts the player. Every
    // picture comes as stored, and the preview turns it (FilterGraph::pictureTurns).
    {"video-rotate", "no"},
    // The renderer does not wait for a frame's display time; frames are drawn when they are due.
    {"video-timing-offset", "0"},
    // The picture is seen at a few hundred pixels across: decoding may take the shortcuts that
    // cost no visible quality at that size (no in-loop deblocking, the decoder's fast flags), and
    // the sound is not stretched to follow the picture.
    {"vd-lavc-skiploopfilter", "all"},
    {"vd-lavc-fast", "yes"},
    {"video-sync", "audio"},
    {"audio-pitch-correction", "no"},
    // A small picture needs no expensive scaling: the renderer shrinks each picture once with
    // the plain scaler, averaging the pixels that make up each one of the window's (cheaper than
    // a bilinear filter; skipping pixels instead would be cheaper still, but fine lines break
    // up and patterns shimmer), without the extra chroma precision no one sees at this size.
    {"sws-allow-zimg", "no"},
    {"sws-scaler", "area"},
    {"sws-fast", "yes"},
};

// Byte order of the pixels in VideoFrameBuffer, as the renderer names it (QImage::Format_RGB32).
constexpr const char *PixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "bgr0" : "0rgb";

QString failure(const char *what, int error)
{
    return QStringLiteral("%1 (%2)").arg(QString::fromUtf8(what), QString::fromUtf8(mpv_error_string(error)));
}

QString setOption(mpv_handle *core, const QByteArray &name, const QByteArray &value)
{
    const int error = mpv_set_option_string(core, name.constData(), value.constData());
    if (error >= 0)
        return {};
    return failure(("the player option " + name + "=" + value + " is not accepted").constData(), error);
}

} // namespace

void MpvSession::CoreDeleter::operator()(mpv_handle *core) const { mpv_terminate_destroy(core); }

void MpvSession::RenderDeleter::operator()(mpv_render_context *render) const { mpv_render_context_free(render); }

MpvSession::MpvSession(QObject *parent) : QObject(parent)
{
    m_heldPicture.setSingleShot(true);
    m_heldPicture.setTimerType(Qt::PreciseTimer);
    connect(&m_heldPicture, &QTimer::timeout, this, &MpvSession::drawNewFrame);
}

MpvSession::~MpvSession() { shutdown(); }

QString MpvSession::start(const MpvSettings &settings)
{
    if (m_core)
        return {};
    std::unique_ptr<mpv_handle, CoreDeleter> core(mpv_create());
    if (!core) {
        const char *numeric = std::setlocale(LC_NUMERIC, nullptr);
        if (numeric && std::strcmp(numeric, "C") != 0)
            return QStringLiteral("the player core needs numbers read the C way (LC_NUMERIC is %1)")
                .arg(QString::fromLatin1(numeric));
        return QStringLiteral("the player core could not be created");
    }
    for (const auto &[name, value] : BuiltInOptions) {
        if (QString error = setOption(core.get(), name, value); !error.isEmpty())
            return error;
    }
    QList<std::pair<QByteArray, QByteArray>> options = settings.options;
    // One decoding thread per core, no more: the rest of the program runs beside the preview.
    options.prepend({"vd-lavc-threads", QByteArray::number(std::max(1, QThread::idealThreadCount()))});
    if (!settings.audioOutput.isEmpty())
        options.prepend({"ao", settings.audioOutput});
    for (const auto &[name, value] : options) {
        if (QString error = setOption(core.get(), name, value); !error.isEmpty())
            return error;
    }
    if (const int error = mpv_initialize(core.get()); error < 0)
        return failure("the player core could not start", error);

    // The renderer exists before any file is loaded, so that video goes nowhere else.
    mpv_render_param parameters[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context *render = nullptr;
    if (const int error = mpv_render_context_create(&render, core.get(), parameters); error < 0)
        return failure("the video renderer could not be created", error);
    m_core = std::move(core);
    m_render.reset(render);
    mpv_set_wakeup_callback(m_core.get(), &MpvSession::wakeUp, this);
    mpv_render_context_set_update_callback(m_render.get(), &MpvSession::frameReady, this);
    return {};
}

void MpvSession::shutdown()
{
    if (m_render)
        mpv_render_context_set_update_callback(m_render.get(), nullptr, nullptr);
    if (m_core)
        mpv_set_wakeup_callback(m_core.get(), nullptr, nullptr);
    m_render.reset();
    m_core.reset();
    // A picture held back or queued before now has nothing left to draw; a new core starts afresh.
    m_heldPicture.stop();
    m_frameQueued = false;
    m_picturesHeld = false;
    m_sinceLastPicture.invalidate();
}

// Called on a thread of the player core: only queue the reading, once until it has run.
void MpvSession::wakeUp(void *self)
{
    auto *session = static_cast<MpvSession *>(self);
    if (!session->m_eventsQueued.exchange(true))
        QMetaObject::invokeMethod(session, &MpvSession::readEvents, Qt::QueuedConnection);
}

// Called on a thread of the player core: only queue the drawing, once until it has run.
void MpvSession::frameReady(void *self)
{
    auto *session = static_cast<MpvSession *>(self);
    if (!session->m_frameQueued.exchange(true))
        QMetaObject::invokeMethod(session, &MpvSession::drawNewFrame, Qt::QueuedConnection);
}

void MpvSession::readEvents()
{
    m_eventsQueued = false;
    while (m_core) {
        const mpv_event *event = mpv_wait_event(m_core.get(), 0);
        if (event->event_id == MPV_EVENT_NONE)
            return;
        if (m_onEvent)
            m_onEvent(*event);
    }
}

void MpvSession::holdPictures(bool held)
{
    if (held == m_picturesHeld)
        return;
    m_picturesHeld = held;
    if (!held)
        drawNewFrame(); // the picture that came meanwhile, if any
}

void MpvSession::drawNewFrame()
{
    if (!m_render || m_picturesHeld) {
        m_frameQueued = false;
        return;
    }
    if (const std::chrono::milliseconds wait = timeBeforeNextPicture(); wait.count() > 0) {
        // Held back: callbacks until then need queue nothing, the timer draws the newest picture.
        m_heldPicture.start(wait);
        return;
    }
    m_frameQueued = false;
    if (mpv_render_context_update(m_render.get()) & MPV_RENDER_UPDATE_FRAME) {
        if (draw()) {
            ++m_picturesDrawn;
            m_sinceLastPicture.start();
        }
        Q_EMIT frameDrawn();
    }
}

std::chrono::milliseconds MpvSession::timeBeforeNextPicture() const
{
    using namespace std::chrono;
    if (m_refreshInterval.count() <= 0 || !m_sinceLastPicture.isValid())
        return 0ms;
    const nanoseconds shortest = m_refreshInterval * 9 / 10;
    const nanoseconds passed(m_sinceLastPicture.nsecsElapsed());
    return passed >= shortest ? 0ms : ceil<milliseconds>(shortest - passed);
}

bool MpvSession::draw()
{
    if (!m_render)
        return false;
    int block = 0;
    if (!m_frame.isDrawable()) {
        // Nowhere to draw: the frame still counts as shown, so playback goes on.
        int skip = 1;
        mpv_render_param skipping[] = {
            {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
            {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        mpv_render_context_render(m_render.get(), skipping);
        return false;
    }
    int size[2] = {m_frame.size().width(), m_frame.size().height()};
    size_t stride = static_cast<size_t>(m_frame.bytesPerLine());
    mpv_render_param drawing[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>(PixelFormat)},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, m_frame.bits()},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    return mpv_render_context_render(m_render.get(), drawing) >= 0;
}

bool MpvSession::command(const QByteArrayList &arguments, quint64 reply)
{
    if (!m_core)
        return false;
    std::vector<const char *> argv;
    argv.reserve(arguments.size() + 1);
    for (const QByteArray &argument : arguments)
        argv.push_back(argument.constData());
    argv.push_back(nullptr);
    return mpv_command_async(m_core.get(), reply, argv.data()) >= 0;
}

bool MpvSession::setFlag(const char *name, bool value)
{
    if (!m_core)
        return false;
    int flag = value ? 1 : 0;
    return mpv_set_property_async(m_core.get(), 0, name, MPV_FORMAT_FLAG, &flag) >= 0;
}

bool MpvSession::setText(const char *name, const QByteArray &value)
{
    if (!m_core)
        return false;
    const char *text = value.constData();
    return mpv_set_property_async(m_core.get(), 0, name, MPV_FORMAT_STRING, &text) >= 0;
}

bool MpvSession::requestDouble(const char *name, quint64 reply)
{
    return m_core && mpv_get_property_async(m_core.get(), reply, name, MPV_FORMAT_DOUBLE) >= 0;
}

bool MpvSession::observeDouble(const char *name, quint64 id)
{
    return m_core && mpv_observe_property(m_core.get(), id, name, MPV_FORMAT_DOUBLE) >= 0;
}

bool MpvSession::observeFlag(const char *name, quint64 id)
{
    return m_core && mpv_observe_property(m_core.get(), id, name, MPV_FORMAT_FLAG) >= 0;
}

void MpvSession::setFrameSize(QSize size)
{
    if (size == m_frame.size())
        return;
    m_frame.resize(size);
    if (!m_picturesHeld)
        draw();
    Q_EMIT frameDrawn();
}

void MpvSession::clearFrame()
{
    m_frame.clear();
    Q_EMIT frameDrawn();
}
