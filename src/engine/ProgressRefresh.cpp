#include "engine/ProgressRefresh.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>
#include <climits>

namespace {

constexpr qint64 NoTimeYet = 10000000000LL;

// The leading decimal digits of `text` (after blanks); -1 when there are none.
qint64 leadingNumber(QStringView text)
{
    text = text.trimmed();
    qsizetype digits = 0;
    while (digits < text.size() && digits < 18 && text.at(digits).isDigit())
        ++digits;
    if (digits == 0)
        return -1;
    return text.left(digits).toLongLong();
}

// "12.34" gives 12; "00:01:05.20" gives 65.
qint64 secondsOf(QStringView field)
{
    qint64 seconds = 0;
    for (const QStringView part : field.split(u':')) {
        const qint64 value = leadingNumber(part.left(part.indexOf(u'.') < 0 ? part.size() : part.indexOf(u'.')));
        if (value < 0 || seconds > NoTimeYet)
            return -1;
        seconds = seconds * 60 + value;
    }
    return seconds;
}

// The value following "time=" in `line`, up to the next blank; -1 when absent.
qint64 timeFieldOf(QStringView line)
{
    const qsizetype at = line.lastIndexOf(u"time=");
    if (at < 0 || (at > 0 && !line.at(at - 1).isSpace()))
        return -1;
    QStringView rest = line.mid(at + 5).trimmed();
    const qsizetype blank = rest.indexOf(u' ');
    const QStringView field = blank < 0 ? rest : rest.left(blank);
    const qint64 seconds = secondsOf(field);
    return seconds == NoTimeYet ? -1 : seconds;
}

// The item's length; an unreadable or negative text gives an empty bar (maximum 0).
int durationMaximum(const QString &durationText)
{
    bool ok = false;
    const int value = durationText.trimmed().toInt(&ok);
    return ok && value > 0 ? value : 0;
}

// pbTotal's maximum: 100 units per item.
int totalMaximum(int checkedCount)
{
    return static_cast<int>(std::clamp<qint64>(qint64(checkedCount) * 100, 0, INT_MAX));
}

} // namespace

void TBarState::setPosition(qint64 value)
{
    position = static_cast<int>(std::clamp<qint64>(value, minimum, std::max(minimum, maximum)));
}

qint64 LatestStatusSeconds(const QString &chunk)
{
    const qsizetype lastEnd = qMax(chunk.lastIndexOf(u'\n'), chunk.lastIndexOf(u'\r'));
    if (lastEnd < 0)
        return -1;
    const QString complete = chunk.left(lastEnd);
    const QStringList lines = complete.split(QRegularExpression(QStringLiteral("[\r\n]")));
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (!line->contains(QStringLiteral("time=")))
            continue;
        return timeFieldOf(*line);
    }
    return -1;
}

void TProgressRefresh::FormShow(const QString &inputPath, int checkedCount)
{
    animationStep = 0;
    lblCurFileName = inputPath;
    lblPersent = QStringLiteral("Current: 1, Total: ") + QString::number(checkedCount);
    currentBar = TBarState{0, 1, 0};
    totalBar = TBarState{0, 1, 0};
    Q_EMIT changed();
}

void TProgressRefresh::HandleEncoderOutput(const QString &chunk, const TRefreshInputs &inputs)
{
    statState = chunk;
    lblCurFileName = inputs.inputPath;
    actRefreshProgressExecute(inputs);
    Q_EMIT changed();
}

void TProgressRefresh::actRefreshProgressExecute(const TRefreshInputs &inputs)
{
    ++inputs.refreshCount;
    if (inputs.refreshCount <= 1)
        return;   // the encoder's banner
    refreshTotal(inputs);
    currentBar.minimum = 0;
    currentBar.maximum = durationMaximum(inputs.durationText);
    currentBar.setPosition(currentBar.position);
    const qint64 seconds = LatestStatusSeconds(statState);
    if (seconds >= 0)
        currentBar.setPosition(seconds);
    Q_EMIT changed();
}

// Uses the current bar as the previous chunk left it, so the total trails by one chunk;
// the "+ 1" keeps one item's share below 100.
void TProgressRefresh::refreshTotal(const TRefreshInputs &inputs)
{
    totalBar.minimum = 0;
    totalBar.maximum = totalMaximum(inputs.checkedCount);
    const qint64 share = qint64(currentBar.position) * 100 / (qint64(currentBar.maximum) + 1);
    totalBar.setPosition(share + qint64(inputs.doneCount) * 100);
    showCounts(inputs.doneCount + 1, inputs.checkedCount);
}

void TProgressRefresh::showCounts(int current, int checkedCount)
{
    lblPersent = QStringLiteral("Current: ") + QString::number(current) + QStringLiteral(" , Total: ")
                 + QString::number(checkedCount) + QStringLiteral(".");
}

void TProgressRefresh::itemStarted(int doneCount, int checkedCount, const QString &sourcePath)
{
    lblCurFileName = sourcePath;
    showItemsDone(doneCount, checkedCount);
    showCounts(doneCount + 1, checkedCount);
    Q_EMIT changed();
}

void TProgressRefresh::itemEnded(int doneCount, int checkedCount)
{
    showItemsDone(doneCount, checkedCount);
    showCounts(std::max(doneCount, 1), checkedCount);
    Q_EMIT changed();
}

void TProgressRefresh::showItemsDone(int doneCount, int checkedCount)
{
    totalBar.minimum = 0;
    totalBar.maximum = totalMaximum(checkedCount);
    totalBar.setPosition(qint64(doneCount) * 100);
}

void TProgressRefresh::tmrChangingTimer()
{
    static constexpr std::array<const char *, 5> marks{"|", "/", "-", "\\", "|"};
    if (++animationStep > 5)
        animationStep = 1;
    const QString mark = QString::fromLatin1(marks[animationStep - 1]);
    lblInfo = (currentBar.position < 3 ? QStringLiteral("Installing convert information  ")
                                       : QStringLiteral("Converting  "))
              + mark;
    Q_EMIT changed();
}

void TProgressRefresh::stopReset()
{
    currentBar.setPosition(0);
    totalBar = TBarState{0, 0, 0};
    lblPersent = QStringLiteral("Current: 1, Total: ...");
    Q_EMIT changed();
}

void TProgressRefresh::resetCurrentBar()
{
    currentBar.setPosition(0);
    Q_EMIT changed();
}
