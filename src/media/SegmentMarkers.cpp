#include "media/SegmentMarkers.h"

#include <algorithm>
#include <cmath>

namespace SegmentMarkers {

namespace {

// The pixels a time may take along the strip: 260 − 2 − 2 × 19.
constexpr int TravelWidth = TimelineWidth - 2 - 2 * MarkerWidth;

int pixelsFor(qint64 seconds, qint64 durationSeconds)
{
    if (durationSeconds <= 0)
        return 0;
    return RoundHalfEven(double(seconds) / double(durationSeconds) * TravelWidth);
}

} // namespace

int RoundHalfEven(double x)
{
    // The default rounding mode of the floating-point unit rounds halves to even.
    return static_cast<int>(std::nearbyint(x));
}

int StartFillerWidth(qint64 startSeconds, qint64 durationSeconds)
{
    return pixelsFor(startSeconds, durationSeconds) + 1;
}

int EndFillerWidth(qint64 endSeconds, qint64 durationSeconds)
{
    return TimelineWidth - 2 * MarkerWidth - 2 - pixelsFor(endSeconds, durationSeconds) + 1;
}

int StartPercent(int leftFiller)
{
    // Measured at the start marker's right edge.
    return (StartMarkerLeft(leftFiller) + MarkerWidth - 22) * 121 / TimelineWidth;
}

int EndPercent(int rightFiller)
{
    // The end marker's right edge less the start marker's width: its left edge.
    return (EndMarkerLeft(rightFiller) - 22) * 121 / TimelineWidth;
}

qint64 SecondsAtPercent(int percent, qint64 durationSeconds) { return percent * durationSeconds / 100; }

int PlayheadX(qint64 position, qint64 duration)
{
    return MarkerWidth + 1 + pixelsFor(std::clamp<qint64>(position, 0, std::max<qint64>(duration, 0)), duration);
}

int FillerClickStep(Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held == Qt::ControlModifier)
        return 1;
    if (held == Qt::ShiftModifier)
        return 10;
    return 5;
}

bool FillerClickMoves(int clickedFiller, int step, int leftFiller, int rightFiller)
{
    return clickedFiller > step && leftFiller + rightFiller + 45 <= TimelineWidth;
}

} // namespace SegmentMarkers
