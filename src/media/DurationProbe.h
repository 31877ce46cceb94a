#pragma once
// Measuring a source file's length when it is added to the list.
#include "media/MediaGraph.h"

struct ProbeResult {
    RenderOutcome outcome = RenderOutcome::Failed;
    qint32 seconds = 0; // whole seconds; 0 when the file can't be measured
    qint64 milliseconds = 0; // the same length before it was cut to whole seconds
    AudioTrackList audioTracks; // the file's audio tracks, in file order

    // A file that can't be rendered or lasts less than a second is not taken into the list.
    bool refused() const { return seconds < 1; }
};

// Renders `path` into `graph` (one graph serves a whole add operation), reads its duration and
// audio tracks and empties the graph again. Never throws: every failure gives 0 seconds.
ProbeResult ProbeDuration(MediaGraph &graph, const QString &path) noexcept;
