// Measuring a file that was added to the source list, on arbitrary bytes.
#include "FuzzSupport.h"

#include "media/DurationProbe.h"
#include "media/ProbeGraph.h"

extern "C" {
#include <libavutil/log.h>
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static ProbeGraph *graph = [] {
        av_log_set_level(AV_LOG_QUIET);
        auto *g = new ProbeGraph;
        g->OpenGraph();
        return g;
    }();
    const QString path = scratchFolder() + QStringLiteral("source");
    writeBytes(path, data, size);
    keepRecentInput(data, size);
    const ProbeResult result = ProbeDuration(*graph, path);
    FUZZ_EXPECT(result.seconds >= 0);
    FUZZ_EXPECT(result.outcome != RenderOutcome::Failed || result.seconds == 0);
    return 0;
}
