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

// A strip without a file stands for a second per pixel.
constexpr qint64 EmptyStripMs = qint64(TravelWidth) * 1000;

qint64 stripMs(qint64 lengthMs) { return lengthMs > 0 ? lengthMs : EmptyStripMs; }

// The millisecond nearest to `pixels` along the travel; at a second or more per strip it
// lies well within half a pixel, so pixelsFor gives the pixels back.
qint64 timeAtPixels(int pixels, qint64 lengthMs)
{
    return pixels * (lengthMs / TravelWidth) + (pixels * (lengthMs % TravelWidth) + TravelWidth / 2) / TravelWidth;
}

int keptLeftFiller(int a) { return std::clamp(a, MinimumFillerWidth, FillersAndSpan - MinimumFillerWidth); }
int keptRightFiller(int b, int a) { return std::clamp(b, MinimumFillerWidth, FillersAndSpan - a); }

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

TimelineLayout LayOutTimeline(const MarkerTimes &markers)
{
    const qint64 length = stripMs(markers.lengthMs);
    TimelineLayout layout;
    layout.leftFiller = keptLeftFiller(pixelsFor(markers.startMs, length) + 1);
    layout.rightFiller = keptRightFiller(TravelWidth + 1 - pixelsFor(markers.endMs, length), layout.leftFiller);
    layout.startMarkerLeft = StartMarkerLeft(layout.leftFiller);
    layout.spanLeft = layout.startMarkerLeft + MarkerWidth;
    layout.spanWidth = std::max(0, SpanWidth(layout.leftFiller, layout.rightFiller));
    layout.endMarkerLeft = EndMarkerLeft(layout.rightFiller);
    layout.rightFillerLeft = TimelineWidth - layout.rightFiller;
    return layout;
}

MarkerTimes MarkersAtFillers(qint64 lengthMs, int leftFiller, int rightFiller)
{
    const int a = keptLeftFiller(leftFiller);
    const int b = keptRightFiller(rightFiller, a);
    const qint64 length = stripMs(lengthMs);
    return {std::max<qint64>(lengthMs, 0), timeAtPixels(a - 1, length), timeAtPixels(TravelWidth + 1 - b, length)};
}

MarkerTimes StartUpMarkers() { return MarkersAtFillers(0, MinimumFillerWidth, MinimumFillerWidth); }

} // namespace SegmentMarkers
