#include "media/TypedTimes.h"

#include "media/TimeText.h"

#include <QRegularExpression>
#include <algorithm>

bool IsTypedTimeReadable(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^[0-9]{2}:[0-5][0-9]:[0-5][0-9]$"));
    return form.match(text).hasMatch();
}

namespace {

// Any time the program writes itself, also of files of 100 hours and more.
bool isTimeText(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^[0-9]{2,}:[0-5][0-9]:[0-5][0-9]$"));
    return form.match(text).hasMatch();
}

} // namespace

QString UnreadableTimeMessage(const QString &text)
{
    return QStringLiteral("The time \"%1\" can't be read. Please type times as hh:mm:ss, for example 00:01:30; "
                          "the row keeps its times.")
        .arg(text);
}

std::optional<CheckedTimes> CheckEditedTimes(const SourceRow &row)
{
    SourceRow checked = row;
    if (checked.startTime.isEmpty())
        checked.startTime = FormatTimeText(0);
    if (checked.endTime.isEmpty())
        checked.endTime = checked.duration;
    if (!isTimeText(checked.startTime) || !isTimeText(checked.endTime))
        return std::nullopt;

    // The duration is the program's own text; it may have more than two digits of hours.
    const qint64 duration = TimeTextToSeconds(checked.duration);
    const qint64 start = TimeTextToSeconds(checked.startTime);
    const qint64 end = TimeTextToSeconds(checked.endTime);
    const QString typedStart = checked.startTime;

    if (start >= duration)
        checked.startTime = checked.duration;
    if (start >= end)
        checked.endTime = typedStart;
    if (end >= duration || TimeTextToSeconds(checked.endTime) > duration)
        checked.endTime = checked.duration;
    checked.cutTime = FormatTimeText(std::min(end, duration) - start);
    return CheckedTimes{checked, TimeTextToSeconds(checked.startTime)};
}
