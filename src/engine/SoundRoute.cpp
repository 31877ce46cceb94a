#include "engine/SoundRoute.h"

#include <QRegularExpression>

namespace {

const QString RouteStart = QStringLiteral("audio: ");

// Longer than any route line; a longer line is not looked at.
constexpr qsizetype LongestRouteLine = 4096;

} // namespace

SoundRoute ParseSoundRoute(const QString &line)
{
    static const QRegularExpression shape(QStringLiteral("^audio: (copied|re-encoded) \\((.*)\\)$"));
    const QRegularExpressionMatch match = shape.match(line.trimmed());
    if (!match.hasMatch())
        return {};
    return {match.captured(1), match.captured(2)};
}

void SoundRouteReader::feed(const QString &chunk)
{
    static const QRegularExpression lineEnd(QStringLiteral("[\r\n]"));
    qsizetype from = 0;
    while (from < chunk.size()) {
        const qsizetype end = chunk.indexOf(lineEnd, from);
        if (!m_otherLine) {
            m_partial += QStringView(chunk).mid(from, end < 0 ? -1 : end - from);
            // The line's beginning tells whether it can be a route line.
            const bool mayBeRoute = RouteStart.startsWith(m_partial) || m_partial.startsWith(RouteStart);
            m_otherLine = !mayBeRoute || m_partial.size() > LongestRouteLine;
            if (m_otherLine)
                m_partial.clear();
        }
        if (end < 0)
            break;
        if (!m_otherLine)
            if (const SoundRoute route = ParseSoundRoute(m_partial); route.known())
                m_route = route;
        m_partial.clear();
        m_otherLine = false;
        from = end + 1;
    }
}

QString SoundRouteLogLine(const QString &file, const SoundRoute &route)
{
    return QStringLiteral("Audio %1: %2 (%3)").arg(route.way, file, route.reason);
}
