#include "engine/LoudnessReport.h"

#include <QRegularExpression>

std::optional<LoudnessReport> FindLoudnessReport(const QString &chunk)
{
    static const QRegularExpression line(QStringLiteral(
        "^loudness: input (?:(-?\\d+(?:\\.\\d+)?) LUFS|silent)[^\\r\\n]*?, gain ([+-]\\d+(?:\\.\\d+)?) dB"
        "(, limited)?[^\\r\\n]*[\\r\\n]"),
                                           QRegularExpression::MultilineOption);
    std::optional<LoudnessReport> found;
    for (auto it = line.globalMatch(chunk); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        LoudnessReport report;
        if (match.hasCaptured(1))
            report.inputLufs = match.captured(1).toDouble();
        report.gainDb = match.captured(2).toDouble();
        report.limited = match.hasCaptured(3);
        found = report;
    }
    return found;
}

QString LoudnessReportText(const LoudnessReport &report)
{
    const QString input = report.inputLufs ? QStringLiteral("%1 LUFS").arg(*report.inputLufs, 0, 'f', 1)
                                           : QStringLiteral("silent");
    QString gain = QString::number(report.gainDb, 'f', 1);
    if (report.gainDb >= 0)
        gain.prepend(u'+');
    return QStringLiteral("input %1, gain %2 dB%3")
        .arg(input, gain, report.limited ? QStringLiteral(", peaks limited") : QString());
}
