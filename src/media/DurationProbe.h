#pragma once
// Measuring a source file's length when it is added to the list.
#include "media/MediaGraph.h"
#include "media/SourceRefusal.h"

struct ProbeResult {
    RenderOutcome outcome = RenderOutcome::Failed;
    qint32 seconds = 0; // whole seconds; 0 when the file can't be measured
    qint64 milliseconds = 0; // the same length before it was cut to whole seconds
    SourceRefusal refusal = SourceRefusal::NoDecoder; // why it is refused; None when it is taken
    bool hasSound = true;    // false when the file holds no sound stream

    // A file that can't be rendered or lasts less than a second is not taken into the list.
    bool refused() const { return seconds < 1; }
};

// Renders `path` into `graph` (one graph serves a whole add operation), reads its duration and
// empties the graph again. Never throws: every failure gives 0 seconds and says why.
ProbeResult ProbeDuration(MediaGraph &graph, const QString &path) noexcept;
