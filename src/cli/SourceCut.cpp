#include "cli/SourceCut.h"

#include "media/SourceProbeRun.h"
#include "media/TimeText.h"

#include <algorithm>

CutSource CutSourceItem(const ProbedSourceFile &file, std::optional<qint64> startSeconds,
                        std::optional<qint64> endSeconds)
{
    const qint64 duration = file.seconds;
    const qint64 start = startSeconds.value_or(0);
    const qint64 end = std::min(endSeconds.value_or(duration), duration);
    CutSource cut;
    if (start >= duration) {
        cut.refusal = QStringLiteral("it lasts %1, so nothing is left after the start time %2.")
                          .arg(FormatTimeText(duration), FormatTimeText(start));
        return cut;
    }
    cut.item = WholeFileItem(file.path, file.size, file.milliseconds);
    cut.item.startMs = start * 1000;
    cut.item.endMs = EndAtSeconds(cut.item, end);
    cut.item.audioTracks = file.audioTracks;
    cut.cutSeconds = ShownCutSeconds(cut.item);
    return cut;
}
