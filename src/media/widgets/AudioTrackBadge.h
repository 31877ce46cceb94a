#pragma once
// The small mark at the right end of a source row's file name cell when the row's file has more
// than one audio track: a speaker and the number of tracks in a rounded frame. It sits beside
// the file name and changes none of the row's texts.
#include <QRect>
#include <QSize>

class QColor;
class QFontMetrics;
class QPainter;

// The room the mark takes for `count` tracks in a cell drawn with `metrics`.
QSize AudioTrackBadgeSize(const QFontMetrics &metrics, int count);

// Draws the mark for `count` tracks centred in `area`, in `colour` (the cell's text colour).
void PaintAudioTrackBadge(QPainter &painter, const QRect &area, int count, const QColor &colour);
