#include "engine/CutTimes.h"

#include "media/TimeText.h"

#include <algorithm>
#include <optional>

namespace {

QString asciiUpper(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    }
    return upper;
}

bool holdsPath(const SourceRow &row, const QString &upperPath)
{
    return asciiUpper(row.fileName) == upperPath;
}

// Seconds from `startSeconds` to the end of the row's file, rounded up; nothing when the row is
// cut before the end or its exact length is not known.
std::optional<qint64> secondsToFileEnd(const SourceRow &row, qint64 startSeconds)
{
    if (row.exactMilliseconds <= 0 || row.endTime != row.duration)
        return std::nullopt;
    if (startSeconds < 0 || startSeconds > row.exactMilliseconds / 1000)
        return std::nullopt;
    const qint64 left = row.exactMilliseconds - startSeconds * 1000;
    if (left <= 0)
        return std::nullopt;
    return (left + 999) / 1000;
}

} // namespace

qint64 TimeTextSeconds(const QString &timeText)
{
    TimeTextFault fault = TimeTextFault::None;
    const qint64 seconds = ReadTimeText(timeText, &fault);
    if (fault == TimeTextFault::NotANumber)
        throw TimeTextError(QStringLiteral("The time '%1' is not hh:mm:ss.").arg(timeText).toStdString());
    if (fault == TimeTextFault::TooLarge)
        throw TimeTextError(QStringLiteral("The time '%1' is too large.").arg(timeText).toStdString());
    return seconds;
}

int CountRowsHolding(const SourceListModel &sources, const QString &sourcePath)
{
    const QString upperPath = asciiUpper(sourcePath);
    const QList<SourceRow> &rows = sources.rows();
    return static_cast<int>(std::count_if(rows.cbegin(), rows.cend(),
                                          [&](const SourceRow &row) { return holdsPath(row, upperPath); }));
}

QString LookupStartTime(const SourceListModel &sources, const QString &sourcePath)
{
    const QString upperPath = asciiUpper(sourcePath);
    QString result;
    for (const SourceRow &row : sources.rows()) {
        if (holdsPath(row, upperPath))
            result = row.startTime;
    }
    return result;
}

QString LookupDuration(const SourceListModel &sources, const QString &sourcePath)
{
    const QString upperPath = asciiUpper(sourcePath);
    QString result;
    for (const SourceRow &row : sources.rows()) {
        if (!holdsPath(row, upperPath))
            continue;
        const qint64 start = TimeTextSeconds(row.startTime);
        qint64 length = 0;
        if (__builtin_sub_overflow(TimeTextSeconds(row.endTime), start, &length))
            throw TimeTextError(QStringLiteral("The times '%1' and '%2' are too far apart.")
                                    .arg(row.startTime, row.endTime).toStdString());
        result = QString::number(secondsToFileEnd(row, start).value_or(length));
    }
    return result;
}

std::optional<int> LookupChosenAudioTrack(const SourceListModel &sources, const QString &sourcePath)
{
    const QString upperPath = asciiUpper(sourcePath);
    std::optional<int> result;
    for (const SourceRow &row : sources.rows()) {
        if (holdsPath(row, upperPath))
            result = row.chosenAudioTrack;
    }
    return result;
}
