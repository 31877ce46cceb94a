#include "cli/SourceCut.h"

#include "media/SourceProbeRun.h"
#include "media/TimeText.h"

#include <algorithm>

CutSource CutSourceRow(const ProbedSourceFile &file, std::optional<qint64> startSeconds,
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
    const QString durationText = FormatTimeText(duration);
    cut.row = SourceRow{QStringLiteral("True"), file.path,           SizeText(file.size),       durationText,
                        FormatTimeText(start),  FormatTimeText(end), FormatTimeText(end - start)};
    cut.row.exactMilliseconds = file.milliseconds; // an uncut end converts the file's exact length
    cut.row.audioTracks = file.audioTracks;
    cut.cutSeconds = end - start;
    return cut;
}
