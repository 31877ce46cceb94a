#include "engine/ProgressRefresh.h"

#include <QFileInfo>
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
    m_animationStep = 0;
    m_lblCurFileName = inputPath;
    m_lblPersent = QStringLiteral("Current: 1, Total: ") + QString::number(checkedCount);
    m_currentBar = TBarState{0, 1, 0};
    m_totalBar = TBarState{0, 1, 0};
    Q_EMIT changed();
}

void TProgressRefresh::HandleEncoderOutput(const QString &chunk, const TRefreshInputs &inputs)
{
    m_statState = chunk;
    m_lblCurFileName = inputs.inputPath;
    actRefreshProgressExecute(inputs);
    Q_EMIT changed();
}

void TProgressRefresh::actRefreshProgressExecute(const TRefreshInputs &inputs)
{
    ++m_refreshCount;
    if (m_refreshCount <= 1)
        return;   // the encoder's banner
    refreshTotal(inputs);
    m_currentBar.minimum = 0;
    m_currentBar.maximum = durationMaximum(inputs.durationText);
    m_currentBar.setPosition(m_currentBar.position);
    const qint64 seconds = LatestStatusSeconds(m_statState);
    if (seconds >= 0)
        m_currentBar.setPosition(seconds);
}

// Uses the current bar as the previous chunk left it, so the total trails by one chunk;
// the "+ 1" keeps one item's share below 100.
void TProgressRefresh::refreshTotal(const TRefreshInputs &inputs)
{
    m_totalBar.minimum = 0;
    m_totalBar.maximum = totalMaximum(inputs.checkedCount);
    const qint64 share = qint64(m_currentBar.position) * 100 / (qint64(m_currentBar.maximum) + 1);
    m_totalBar.setPosition(share + qint64(inputs.doneCount) * 100);
    showCounts(inputs.doneCount + 1, inputs.checkedCount);
}

void TProgressRefresh::showCounts(int current, int checkedCount)
{
    m_lblPersent = QStringLiteral("Current: ") + QString::number(current) + QStringLiteral(" , Total: ")
                   + QString::number(checkedCount) + QStringLiteral(".");
}

void TProgressRefresh::itemStarted(int doneCount, int checkedCount, const QString &sourcePath)
{
    m_refreshCount = 0;
    m_currentBar.setPosition(0);
    m_lblCurFileName = sourcePath;
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
    m_totalBar.minimum = 0;
    m_totalBar.maximum = totalMaximum(checkedCount);
    m_totalBar.setPosition(qint64(doneCount) * 100);
}

void TProgressRefresh::fileStarted(int key, const QString &sourcePath, const QString &durationText, int doneCount,
                                   int checkedCount)
{
    m_inProgress[key] = TFileInProgress{sourcePath, durationMaximum(durationText), 0};
    showFilesInProgress(doneCount, checkedCount);
}

void TProgressRefresh::fileOutput(int key, const QString &chunk, int doneCount, int checkedCount)
{
    m_statState = chunk;
    const auto file = m_inProgress.find(key);
    if (file != m_inProgress.end()) {
        if (const qint64 seconds = LatestStatusSeconds(chunk); seconds >= 0)
            file->second.secondsWritten = std::min(seconds, file->second.lengthSeconds);
    }
    showFilesInProgress(doneCount, checkedCount);
}

// Each file's share of the total is taken as the one-file refresh takes it (below 100 until it
// is over), so the total bar never runs ahead of the files.
void TProgressRefresh::showFilesInProgress(int doneCount, int checkedCount)
{
    qint64 written = 0;
    qint64 length = 0;
    qint64 shares = 0;
    for (const auto &[key, file] : m_inProgress) {
        written += file.secondsWritten;
        length += file.lengthSeconds;
        shares += file.secondsWritten * 100 / (file.lengthSeconds + 1);
    }
    if (!m_inProgress.empty()) { // with none left the bar keeps the last, as after one file
        m_currentBar = TBarState{0, static_cast<int>(std::min<qint64>(length, INT_MAX)), 0};
        m_currentBar.setPosition(written);
    }
    m_totalBar.minimum = 0;
    m_totalBar.maximum = totalMaximum(checkedCount);
    m_totalBar.setPosition(qint64(doneCount) * 100 + shares);
    const int running = static_cast<int>(m_inProgress.size());
    if (running > 1)
        m_lblPersent = QStringLiteral("Current: %1-%2 , Total: %3.").arg(doneCount + 1).arg(doneCount + running).arg(checkedCount);
    else
        showCounts(running == 1 ? doneCount + 1 : std::max(doneCount, 1), checkedCount);
    showFileLine();
    Q_EMIT changed();
}

// One file by its path, as the one-file run shows it; several by their names after their number.
// With none in progress the line keeps the last files.
void TProgressRefresh::showFileLine()
{
    const QStringList paths = filesInProgress();
    if (paths.size() == 1) {
        m_lblCurFileName = paths.first();
    } else if (paths.size() > 1) {
        QStringList names;
        for (const QString &path : paths)
            names << QFileInfo(path).fileName();
        m_lblCurFileName = QStringLiteral("%1 files: ").arg(paths.size()) + names.join(QStringLiteral(", "));
    }
}

QStringList TProgressRefresh::filesInProgress() const
{
    QStringList paths;
    for (const auto &[key, file] : m_inProgress)
        paths << file.path;
    return paths;
}

void TProgressRefresh::tmrChangingTimer()
{
    static constexpr std::array<const char *, 5> marks{"|", "/", "-", "\\", "|"};
    if (++m_animationStep > 5)
        m_animationStep = 1;
    const QString mark = QString::fromLatin1(marks[m_animationStep - 1]);
    m_lblInfo = (m_currentBar.position < 3 ? QStringLiteral("Installing convert information  ")
                                           : QStringLiteral("Converting  "))
                + mark;
    Q_EMIT changed();
}

void TProgressRefresh::stopReset()
{
    m_currentBar.setPosition(0);
    m_totalBar = TBarState{0, 0, 0};
    m_lblPersent = QStringLiteral("Current: 1, Total: ...");
    Q_EMIT changed();
}
