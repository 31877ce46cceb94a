#include "media/DurationProbe.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// Leaves the graph open and holding nothing, whatever state it was in.
void prepareEmptyGraph(MediaGraph &graph)
{
    if (graph.IsGraphOpen())
        graph.EmptyGraph();
    else
        graph.OpenGraph();
}

ProbeResult measureRendered(MediaGraph &graph, RenderOutcome outcome)
{
    const std::optional<qint64> reference = graph.GetDuration();
    const qint32 milliseconds = reference ? MediaTime::referenceToMilliseconds(*reference) : 0;
    const qint32 exact = std::max<qint32>(0, milliseconds);
    ProbeResult result{outcome, MediaTime::millisecondsToSeconds(exact), exact};
    result.refusal = result.refused() ? SourceRefusal::TooShort : SourceRefusal::None;
    result.hasSound = graph.HasSound().value_or(true);
    return result;
}

// What the file system already tells: no file, no regular file, nothing in it, no permission.
SourceRefusal fileRefusal(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return SourceRefusal::Missing;
    if (!info.isFile())
        return SourceRefusal::Unreadable;
    if (info.size() == 0)
        return SourceRefusal::Empty;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return SourceRefusal::Unreadable;
    return SourceRefusal::None;
}

} // namespace

ProbeResult ProbeDuration(MediaGraph &graph, const QString &path) noexcept
{
    ProbeResult result;
    try {
        result.refusal = fileRefusal(path);
        if (result.refusal != SourceRefusal::None)
            return result;
        prepareEmptyGraph(graph);
        const RenderOutcome outcome = graph.RenderFile(path);
        if (outcome != RenderOutcome::Failed)
            result = measureRendered(graph, outcome);
        else
            result.refusal = graph.LastRenderFoundDamagedFile() ? SourceRefusal::Damaged : SourceRefusal::NoDecoder;
        graph.EmptyGraph(); // the file is not held open between files
    } catch (...) {
        result = ProbeResult{};
        try {
            graph.CloseGraph();
        } catch (...) {
        }
    }
    return result;
}
