#include "engine/BatchReport.h"

#include "media/TimeText.h"

#include <QFileInfo>
#include <QRegularExpression>

QList<TEmptyCut> ItemsWithNothingToConvert(const QList<SourceItem> &items)
{
    QList<TEmptyCut> cuts;
    for (const SourceItem &item : items) {
        if (item.checked && EndSeconds(item) <= StartSeconds(item))
            cuts.append({item.id, item.path, FormatTimeText(StartSeconds(item)), FormatTimeText(EndSeconds(item))});
    }
    return cuts;
}

QString NothingToConvertMessage(const QList<TEmptyCut> &cuts)
{
    QString text = cuts.size() == 1 ? QStringLiteral("This file is left out of the conversion:")
                                    : QStringLiteral("These files are left out of the conversion:");
    for (const TEmptyCut &cut : cuts)
        text += QStringLiteral("\n\n%1\nnothing to convert between %2 and %3").arg(cut.fileName, cut.startTime, cut.endTime);
    return text;
}

std::optional<TShortfall> ParseShortfallNotice(const QString &line)
{
    static const QRegularExpression notice(
        QStringLiteral(R"(^\s*notice:\s*the sound ends at ([0-9.]+) s, before the end asked \(([0-9.]+) s\)\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = notice.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    bool soundOk = false;
    bool askedOk = false;
    const TShortfall shortfall{match.captured(1).toDouble(&soundOk), match.captured(2).toDouble(&askedOk)};
    if (!soundOk || !askedOk)
        return std::nullopt;
    return shortfall;
}

void TShortfallWatch::take(const QString &chunk)
{
    static const QRegularExpression lineEnd(QStringLiteral("[\r\n]"));
    QStringList lines = (m_lineStart + chunk).split(lineEnd);
    m_lineStart = lines.takeLast();
    for (const QString &line : std::as_const(lines)) {
        if (const std::optional<TShortfall> found = ParseShortfallNotice(line))
            m_shortfall = found;
    }
}

namespace {

// Seconds with one decimal at most: 14.49 gives "14.5", 30 gives "30".
QString secondsText(double seconds)
{
    return QString::number(qRound64(seconds * 10) / 10.0, 'f', 1).remove(QRegularExpression(QStringLiteral("\\.0$")));
}

QString filesText(int count)
{
    return count == 1 ? QStringLiteral("file") : QStringLiteral("files");
}

} // namespace

QString ShortfallText(const TShortfall &shortfall)
{
    return QStringLiteral("converted, shorter than listed (%1 s of %2 s)")
        .arg(secondsText(shortfall.soundSeconds), secondsText(shortfall.askedSeconds));
}

QString RunSummaryText(const TRunCounts &counts)
{
    QString text;
    if (counts.endedEarly) {
        text = QStringLiteral("Stopped: %1 converted").arg(counts.converted);
        if (counts.failed > 0)
            text += QStringLiteral(", %1 failed").arg(counts.failed);
        text += QStringLiteral(", %1 stopped, %2 not started.").arg(counts.stopped).arg(counts.notStarted);
    } else {
        text = QStringLiteral("%1 %2 converted, %3 failed.")
                   .arg(counts.converted)
                   .arg(filesText(counts.converted))
                   .arg(counts.failed);
    }
    if (counts.shorter.size() == 1) {
        const TShortItem &item = counts.shorter.first();
        text += QStringLiteral(" %1: %2.").arg(QFileInfo(item.fileName).fileName(), ShortfallText(item.shortfall));
    } else if (counts.shorter.size() > 1) {
        text += QStringLiteral(" %1 of them converted, shorter than listed.").arg(counts.shorter.size());
    }
    return text;
}
