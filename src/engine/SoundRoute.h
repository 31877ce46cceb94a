#pragma once
// The encoder's line saying which way an item's sound went when keeping the original was asked
// for: "audio: copied (aac)" or "audio: re-encoded (volume 150%)".
#include <QString>

struct SoundRoute {
    QString way;    // "copied" or "re-encoded"; empty when the encoder said nothing
    QString reason; // the codec, or what made it encode

    bool known() const { return !way.isEmpty(); }
    // "copied (aac)"
    QString describe() const { return way + QStringLiteral(" (") + reason + QLatin1Char(')'); }
};

// The route in one line of the encoder's output; unknown for any other line.
SoundRoute ParseSoundRoute(const QString &line);

// Finds the route in an encoder's output, chunk by chunk; a line split between chunks is joined.
// The last route line holds: a copy that fails after it began is encoded after all, and says so
// in a second line.
class SoundRouteReader {
public:
    void feed(const QString &chunk);
    const SoundRoute &route() const { return m_route; }

private:
    QString m_partial;        // the line begun and not yet ended, while it may be a route line
    bool m_otherLine = false; // the line begun is not a route line
    SoundRoute m_route;
};

// The log line of an item converted with a known route: "Audio copied: FILE (aac)".
QString SoundRouteLogLine(const QString &file, const SoundRoute &route);
