#pragma once
// The two text forms every row of the source list uses: sizes ("1.5 KB") and times ("01:01:01").
#include <QLocale>
#include <QString>

// A byte count as a number truncated to two decimals and a unit (" B", " KB", " MB", " GB"),
// written with the decimal separator of `locale`. Negative counts count as 0.
QString SizeText(qint64 bytes, const QLocale &locale = QLocale());

// Seconds as hh:mm:ss, every part at least two digits ("100:00:00" from 100 hours on);
// negative seconds give "00:00:00".
QString FormatTimeText(qint64 seconds);

// "hh:mm:ss" back to seconds. A text that is not three whole numbers separated by ":" gives 0.
qint32 TimeTextToSeconds(const QString &text);
