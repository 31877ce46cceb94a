#include "media/widgets/TimeEditor.h"

#include "media/TimeText.h"
#include "media/TypedTimes.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <algorithm>

namespace {

constexpr qint64 LatestTime = 99 * 3600 + 59 * 60 + 59;

// Seconds one step of the part under the cursor is worth: hours, minutes or seconds.
qint64 unitAt(int cursor)
{
    if (cursor <= 2)
        return 3600;
    if (cursor <= 5)
        return 60;
    return 1;
}

} // namespace

TimeEditor::TimeEditor(QWidget *parent) : QAbstractSpinBox(parent)
{
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    setFrame(false);
    setAccelerated(false);
    setWrapping(false);
}

QString TimeEditor::time() const { return lineEdit()->text(); }

void TimeEditor::setTime(const QString &text)
{
    lineEdit()->setText(text);
    lineEdit()->selectAll();
}

void TimeEditor::showCheckedTime(const QString &text)
{
    if (text == time())
        return;
    const int cursor = lineEdit()->cursorPosition();
    lineEdit()->setText(text);
    lineEdit()->setCursorPosition(std::min<int>(cursor, text.size()));
}

QValidator::State TimeEditor::validate(QString &input, int &) const
{
    if (input.isEmpty() || IsTypedTimeReadable(input))
        return QValidator::Acceptable;
    // On the way to hh:mm:ss: two digits at most before each ":", tens of minutes and seconds below 6.
    static const QRegularExpression partial(QStringLiteral("^[0-9]{0,2}(:([0-5][0-9]?)?(:([0-5][0-9]?)?)?)?$"));
    return partial.match(input).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}

// An incomplete time stays as typed: the check after the edit tells the user what it expects.
void TimeEditor::fixup(QString &) const {}

void TimeEditor::stepBy(int steps)
{
    const QString text = time();
    if (!IsTypedTimeReadable(text))
        return;
    const int cursor = lineEdit()->cursorPosition();
    const qint64 seconds = std::clamp<qint64>(TimeTextToSeconds(text) + steps * unitAt(cursor), 0, LatestTime);
    if (seconds == TimeTextToSeconds(text))
        return;
    lineEdit()->setText(FormatTimeText(seconds));
    lineEdit()->setCursorPosition(cursor);
    Q_EMIT stepped();
}

QAbstractSpinBox::StepEnabled TimeEditor::stepEnabled() const
{
    const QString text = time();
    if (!IsTypedTimeReadable(text))
        return StepNone;
    const qint64 seconds = TimeTextToSeconds(text);
    StepEnabled enabled = StepNone;
    if (seconds > 0)
        enabled |= StepDownEnabled;
    if (seconds < LatestTime)
        enabled |= StepUpEnabled;
    return enabled;
}
