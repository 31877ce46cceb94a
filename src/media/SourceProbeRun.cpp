#include "media/SourceProbeRun.h"

#include "media/DurationProbe.h"
#include "media/ProbeGraph.h"
#include "support/FileFunc.h"

#include <QThread>

namespace {

ProbedSourceFile measure(MediaGraph &graph, const QString &path, const SourceProbeRun::SizeFunction &sizeOf)
{
    ProbedSourceFile file;
    file.path = path;
    const ProbeResult probe = ProbeDuration(graph, path);
    file.refused = probe.refused();
    file.refusal = probe.refusal;
    file.hasSound = probe.hasSound;
    file.seconds = probe.seconds;
    file.milliseconds = probe.milliseconds;
    file.audioTracks = probe.audioTracks;
    if (file.refused)
        return file;
    try {
        file.size = sizeOf(path);
    } catch (const std::exception &failure) {
        file.sizeError = QString::fromStdString(failure.what());
        if (file.sizeError.isEmpty())
            file.sizeError = QStringLiteral("unknown error");
    } catch (...) {
        file.sizeError = QStringLiteral("unknown error");
    }
    return file;
}

} // namespace

SourceProbeRun::SourceProbeRun(QStringList paths, SizeFunction sizeOf, Deliver deliver, std::function<void()> deliverEnd)
    : m_paths(std::move(paths)), m_sizeOf(std::move(sizeOf)), m_deliver(std::move(deliver)),
      m_deliverEnd(std::move(deliverEnd))
{
}

SourceProbeRun::SourceProbeRun(Lister list, std::function<void(int)> listed, SizeFunction sizeOf, Deliver deliver,
                               std::function<void()> deliverEnd)
    : m_list(std::move(list)), m_listed(std::move(listed)), m_sizeOf(std::move(sizeOf)), m_deliver(std::move(deliver)),
      m_deliverEnd(std::move(deliverEnd))
{
}

SourceProbeRun::~SourceProbeRun()
{
    m_stop = true;
    if (m_thread)
        m_thread->wait();
}

void SourceProbeRun::start()
{
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->start();
}

void SourceProbeRun::run()
{
    if (m_list) {
        m_paths = m_list(m_stop);
        if (m_listed)
            m_listed(static_cast<int>(m_paths.size()));
    }
    {
        ProbeGraph graph; // one graph for the whole operation, released before the end is told
        for (const QString &path : std::as_const(m_paths)) {
            if (m_stop)
                break;
            m_deliver(measure(graph, path, m_sizeOf));
        }
    }
    m_deliverEnd();
}
