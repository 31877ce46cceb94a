#include "cli/ConsoleReport.h"

#include "media/TimeText.h"

#include <QFileInfo>
#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <csignal>
#include <cstring>

namespace {

const QString ProgramName = QStringLiteral("kelvane-convert");

QString outcomeName(ItemOutcome outcome)
{
    switch (outcome) {
    case ItemOutcome::Converted: return QStringLiteral("converted");
    case ItemOutcome::Failed: return QStringLiteral("failed");
    case ItemOutcome::Stopped: return QStringLiteral("stopped");
    case ItemOutcome::NotStarted: return QStringLiteral("not started");
    }
    return {};
}

QString signalName(int signal)
{
    switch (signal) {
    case SIGINT: return QStringLiteral("SIGINT");
    case SIGTERM: return QStringLiteral("SIGTERM");
    case SIGHUP: return QStringLiteral("SIGHUP");
    default: return QStringLiteral("signal ") + QString::number(signal);
    }
}

// Why a file that was not converted is not, for standard error.
QString notConvertedText(const ItemReport &report)
{
    switch (report.outcome) {
    case ItemOutcome::Failed: return report.error;
    case ItemOutcome::Stopped: return QStringLiteral("stopped; nothing was written.");
    case ItemOutcome::NotStarted:
        return report.error.isEmpty() ? QStringLiteral("not started.")
                                      : QStringLiteral("not started: ") + report.error;
    case ItemOutcome::Converted: break;
    }
    return {};
}

int percentOf(qint64 part, qint64 whole)
{
    return whole > 0 ? static_cast<int>(part * 100 / whole) : 0;
}

// `text` cut to `columns` - 1 characters, so a line never wraps and the block can be redrawn.
QString fitted(const QString &text, int columns)
{
    const int room = std::max(columns - 1, 10);
    return text.size() <= room ? text : text.left(room - 3) + QStringLiteral("...");
}

} // namespace

ConsoleReport::ConsoleReport(QIODevice &out, QIODevice &err, ConsoleMode mode, std::function<int()> columns)
    : m_out(out), m_err(err), m_mode(mode), m_columns(std::move(columns))
{
}

void ConsoleReport::setFormat(bool json, bool quiet)
{
    m_mode.json = json;
    m_mode.quiet = quiet;
}

QString ConsoleReport::clockText(qint64 seconds)
{
    return ClockText(seconds);
}

void ConsoleReport::text(const QString &text)
{
    writeRaw(m_out, text.toUtf8());
}

void ConsoleReport::usageError(const QString &message)
{
    writeErr(ProgramName + QStringLiteral(": ") + message);
    writeErr(QStringLiteral("Try '%1 --help' for more information.").arg(ProgramName));
}

void ConsoleReport::error(const QString &message)
{
    writeErr(ProgramName + QStringLiteral(": ") + message);
}

void ConsoleReport::warning(const QString &message)
{
    writeErr(ProgramName + QStringLiteral(": warning: ") + message);
}

void ConsoleReport::item(const ItemReport &report)
{
    if (m_mode.json) {
        QJsonObject object{{QStringLiteral("file"), report.source}, {QStringLiteral("status"), outcomeName(report.outcome)}};
        if (!report.output.isEmpty())
            object.insert(QStringLiteral("output"), report.output);
        if (!report.error.isEmpty())
            object.insert(QStringLiteral("error"), report.error);
        if (report.shortfall) {
            object.insert(QStringLiteral("note"), ShortfallText(*report.shortfall));
            object.insert(QStringLiteral("sound_seconds"), report.shortfall->soundSeconds);
            object.insert(QStringLiteral("listed_seconds"), report.shortfall->askedSeconds);
        }
        if (report.loudness) {
            // The input's loudness in LUFS (null for silence) and the gain applied in dB.
            const LoudnessReport &loudness = *report.loudness;
            object.insert(QStringLiteral("inputLoudness"),
                          loudness.inputLufs ? QJsonValue(*loudness.inputLufs) : QJsonValue(QJsonValue::Null));
            object.insert(QStringLiteral("gainDb"), loudness.gainDb);
            object.insert(QStringLiteral("peaksLimited"), loudness.limited);
        }
        if (!report.commandLine.isEmpty()) {
            object.insert(QStringLiteral("command"), report.commandLine);
            object.insert(QStringLiteral("seconds"), report.seconds);
        }
        if (report.audio.known())
            object.insert(QStringLiteral("audio"), QJsonObject{{QStringLiteral("way"), report.audio.way},
                                                                {QStringLiteral("reason"), report.audio.reason}});
        writeJson(QJsonDocument(object).toJson(QJsonDocument::Compact));
    }
    if (report.outcome != ItemOutcome::Converted)
        error(report.source + QStringLiteral(": ") + notConvertedText(report));
    else if (!m_mode.json && !m_mode.quiet)
        writeOut(report.source + QStringLiteral(" -> ") + report.output +
                 (report.shortfall ? QStringLiteral(" (") + ShortfallText(*report.shortfall) + u')' : QString()) +
                 (report.loudness ? QStringLiteral(" (loudness: ") + LoudnessReportText(*report.loudness) + u')'
                                  : QString()) +
                 (report.audio.known() ? QStringLiteral(" (audio ") + report.audio.describe() + QLatin1Char(')') : QString()));
}

QStringList ConsoleReport::blockLines(const RunProgress &progress, qint64 elapsedMs) const
{
    QStringList lines;
    for (const RunningItem &running : progress.running) {
        lines << QStringLiteral("%1%  %2").arg(percentOf(running.writtenSeconds, running.cutSeconds), 4)
                     .arg(QFileInfo(running.source).fileName());
    }
    if (progress.stopping) {
        // As the window's status line says it: what was converted, stopped and not started.
        const RunCounts &counts = *progress.stopping;
        TRunCounts stopped;
        stopped.converted = counts.converted;
        stopped.failed = counts.failed;
        stopped.stopped = counts.stopped;
        stopped.notStarted = counts.notStarted;
        stopped.endedEarly = true;
        lines << RunSummaryText(stopped);
        return lines;
    }
    const qint64 elapsed = elapsedMs / 1000;
    QString left = QStringLiteral("--");
    if (progress.doneSeconds > 0 && progress.totalSeconds >= progress.doneSeconds)
        left = clockText((progress.totalSeconds - progress.doneSeconds) * elapsedMs / progress.doneSeconds / 1000);
    lines << QStringLiteral("%1%  total: %2 of %3 files done, %4 elapsed, about %5 left")
                 .arg(percentOf(progress.doneSeconds, progress.totalSeconds), 4)
                 .arg(progress.filesOver)
                 .arg(progress.filesKnown)
                 .arg(clockText(elapsed), left);
    return lines;
}

void ConsoleReport::progress(const RunProgress &progress, qint64 elapsedMs)
{
    if (!live())
        return;
    const QStringList lines = blockLines(progress, elapsedMs);
    if (lines == m_block && m_blockShown == lines.size())
        return;
    eraseBlock();
    m_block = lines;
    drawBlock();
}

void ConsoleReport::summary(const RunCounts &counts, qint64 elapsedMs, int stopSignal)
{
    if (m_mode.json) {
        QJsonObject totals{{QStringLiteral("converted"), counts.converted},
                           {QStringLiteral("failed"), counts.failed},
                           {QStringLiteral("stopped"), counts.stopped},
                           {QStringLiteral("notStarted"), counts.notStarted},
                           {QStringLiteral("seconds"), static_cast<double>(elapsedMs) / 1000.0}};
        if (stopSignal != 0)
            totals.insert(QStringLiteral("stoppedBy"), signalName(stopSignal));
        writeJson(QJsonDocument(QJsonObject{{QStringLiteral("summary"), totals}}).toJson(QJsonDocument::Compact));
        return;
    }
    eraseBlock();
    m_block.clear();
    QStringList parts{QStringLiteral("%1 converted").arg(counts.converted)};
    if (counts.failed > 0)
        parts << QStringLiteral("%1 failed").arg(counts.failed);
    if (counts.stopped > 0)
        parts << QStringLiteral("%1 stopped").arg(counts.stopped);
    if (counts.notStarted > 0)
        parts << QStringLiteral("%1 not started").arg(counts.notStarted);
    const QString line = parts.join(QStringLiteral(", ")) + QStringLiteral(" in ") + clockText(elapsedMs / 1000) + u'.';
    if (stopSignal != 0)
        error(QStringLiteral("stopped by %1: %2").arg(signalName(stopSignal), line));
    else if (!m_mode.quiet)
        writeOut(line);
}

void ConsoleReport::drawBlock()
{
    if (m_block.isEmpty())
        return;
    const int columns = m_columns ? m_columns() : 80;
    QString text;
    for (const QString &line : std::as_const(m_block))
        text += fitted(line, columns) + QLatin1Char('\n');
    writeRaw(m_out, text.toUtf8());
    m_blockShown = static_cast<int>(m_block.size());
}

// Moves up over the block and clears the screen from there on.
void ConsoleReport::eraseBlock()
{
    if (m_blockShown == 0)
        return;
    writeRaw(m_out, QStringLiteral("\x1b[%1A\r\x1b[J").arg(m_blockShown).toUtf8());
    m_blockShown = 0;
}

// A lasting line takes the block's place; the next progress call draws the block below it.
void ConsoleReport::writeOut(const QString &line)
{
    eraseBlock();
    writeRaw(m_out, line.toUtf8() + '\n');
}

void ConsoleReport::writeErr(const QString &line)
{
    eraseBlock();
    writeRaw(m_err, line.toUtf8() + '\n');
}

void ConsoleReport::writeJson(const QByteArray &object)
{
    writeRaw(m_out, object + '\n');
}

// Whatever cannot be written (a closed pipe) is dropped; the conversions go on.
void ConsoleReport::writeRaw(QIODevice &device, const QByteArray &bytes)
{
    device.write(bytes);
}
