#pragma once
// The arithmetic of the timeline under the video window. The timeline is a strip 260 pixels
// wide that holds, from left to right: the left filler (width a), the start marker (19), the
// selected span, the end marker (19) and the right filler (width b). The whole strip stands for
// the selected file's duration. What is kept are the markers' times (MarkerTimes); their pixels
// come from LayOutTimeline whenever they are needed, and MarkersAtFillers gives the times of
// the places a marker is dragged or clicked to.
#include <QtGlobal>
#include <Qt>

namespace SegmentMarkers {

inline constexpr int TimelineWidth = 260;
inline constexpr int TimelineHeight = 19;
inline constexpr int MarkerWidth = 19;
// The fillers and the span share what the two markers leave: a + span + b = 222.
inline constexpr int FillersAndSpan = TimelineWidth - 2 * MarkerWidth;
inline constexpr int MinimumFillerWidth = 1;
// Both fillers after the last row has gone: the markers sit at the ends.
inline constexpr int EmptyListFillerWidth = 2;

// x rounded to the nearest integer, halves to the even one (2.5 gives 2, 3.5 gives 4).
int RoundHalfEven(double x);

// The left filler's width for a start time: R(start / duration × 220) + 1.
// A duration of 0 or less counts as a start at 0.
int StartFillerWidth(qint64 startSeconds, qint64 durationSeconds);
// The right filler's width for an end time: 221 − R(end / duration × 220).
// A duration of 0 or less counts as an end at 0.
int EndFillerWidth(qint64 endSeconds, qint64 durationSeconds);

// Left edges of the markers in the strip.
constexpr int StartMarkerLeft(int leftFiller) { return leftFiller; }
constexpr int EndMarkerLeft(int rightFiller) { return TimelineWidth - MarkerWidth - rightFiller; }
// The span between the markers, in pixels (0 when the markers touch).
constexpr int SpanWidth(int leftFiller, int rightFiller) { return FillersAndSpan - leftFiller - rightFiller; }
// True when the markers touch: the moved marker's filler then gives up one pixel first.
constexpr bool MarkersTouch(int leftFiller, int rightFiller)
{
    return EndMarkerLeft(rightFiller) - StartMarkerLeft(leftFiller) < 20;
}

// Whole percent of the duration at the start marker: (a − 3) × 121 div 260, truncating toward
// zero; 0 for a ≤ 5, 100 at a = 219 and 220.
int StartPercent(int leftFiller);
// Whole percent of the duration at the end marker: (241 − b − 22) × 121 div 260; 100 at b = 2
// and 3, 101 at b = 1.
int EndPercent(int rightFiller);
// percent × duration div 100, truncating.
qint64 SecondsAtPercent(int percent, qint64 durationSeconds);

// Where the playhead line stands for a position in a file of `duration` (any one unit): at the
// x where a marker for that time meets the span, 20 + R(position / duration × 220), so it
// touches the start marker at the cut's start and the end marker at its end. 20 for a
// duration of 0 or less; positions outside the file stay at the strip's ends.
int PlayheadX(qint64 position, qint64 duration);

// Pixels one click on a filler moves a marker: 1 with Ctrl the only modifier held, 10 with
// Shift the only one, else 5.
int FillerClickStep(Qt::KeyboardModifiers modifiers);
// A click narrows the clicked filler only when it is wider than the step and the span is at
// least 7 pixels wide (a + b + 45 ≤ 260).
bool FillerClickMoves(int clickedFiller, int step, int leftFiller, int rightFiller);

// Where the two markers stand, as times along a strip that stands for `lengthMs`.
struct MarkerTimes {
    // The selected file's duration in whole seconds, in milliseconds; 0 when there is none.
    qint64 lengthMs = 0;
    qint64 startMs = 0;
    qint64 endMs = 0;
    friend bool operator==(const MarkerTimes &, const MarkerTimes &) = default;
};

// The places of the timeline's parts, in pixels from its left edge.
struct TimelineLayout {
    int leftFiller = MinimumFillerWidth; // a
    int rightFiller = MinimumFillerWidth; // b
    int startMarkerLeft = 0;
    int spanLeft = 0;
    int spanWidth = 0; // 0 when the markers touch
    int endMarkerLeft = 0;
    int rightFillerLeft = 0;
    friend bool operator==(const TimelineLayout &, const TimelineLayout &) = default;
};

// The timeline for `markers`: a = R(start / length × 220) + 1 and b = 221 − R(end / length ×
// 220), each filler kept at least a pixel wide and the span at no less than nothing. A strip
// without a file (length 0) stands for 220 seconds, so its markers still have places.
TimelineLayout LayOutTimeline(const MarkerTimes &markers);
// The times at which the markers stand for the filler widths a and b (kept within the strip as
// LayOutTimeline keeps them): LayOutTimeline gives back exactly these widths.
MarkerTimes MarkersAtFillers(qint64 lengthMs, int leftFiller, int rightFiller);
// The markers before any file was laid out: both at the ends of the strip.
MarkerTimes StartUpMarkers();

} // namespace SegmentMarkers
