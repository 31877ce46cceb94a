#include "engine/SoundRoute.h"

#include <QRegularExpression>

namespace {

// Enough for the lines before the route; the rest of the output is not looked at.
constexpr qsizetype LookedAtLength = 4096;

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
    if (m_over)
        return;
    m_partial += chunk;
    static const QRegularExpression lineEnd(QStringLiteral("[\r\n]"));
    qsizetype end = 0;
    while ((end = m_partial.indexOf(lineEnd)) >= 0) {
        m_route = ParseSoundRoute(m_partial.left(end));
        m_partial.remove(0, end + 1);
        if (m_route.known()) {
            m_over = true;
            m_partial.clear();
            return;
        }
    }
    if (m_partial.size() > LookedAtLength) {
        m_over = true;
        m_partial.clear();
    }
}

QString SoundRouteLogLine(const QString &file, const SoundRoute &route)
{
    return QStringLiteral("Audio %1: %2 (%3)").arg(route.way, file, route.reason);
}
