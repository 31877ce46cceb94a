#include "media/DurationProbe.h"

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
    return {outcome, MediaTime::millisecondsToSeconds(exact), exact, graph.GetAudioTracks()};
}

} // namespace

ProbeResult ProbeDuration(MediaGraph &graph, const QString &path) noexcept
{
    ProbeResult result;
    try {
        prepareEmptyGraph(graph);
        const RenderOutcome outcome = graph.RenderFile(path);
        if (outcome != RenderOutcome::Failed)
            result = measureRendered(graph, outcome);
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
