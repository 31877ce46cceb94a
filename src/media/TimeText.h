#pragma once
// The two text forms every row of the source list uses: sizes ("1.5 KB") and times ("01:01:01").
#include <QLocale>
#include <QString>

#include <optional>

// A byte count as a number truncated to two decimals and a unit (" B", " KB", " MB", " GB"),
// written with the decimal separator of `locale`. Negative counts count as 0.
QString SizeText(qint64 bytes, const QLocale &locale = QLocale());

// Seconds as hh:mm:ss, every part at least two digits ("100:00:00" from 100 hours on);
// negative seconds give "00:00:00".
QString FormatTimeText(qint64 seconds);

// Seconds as a clock shows a length, without leading zeros in the first part: "0:05", "19:40",
// "1:02:03". Negative seconds give "0:00".
QString ClockText(qint64 seconds);

// Why an hh:mm:ss text could not be read.
enum class TimeTextFault {
    None,
    NotThreePieces, // cut at ":" (as SplitByChar cuts: a trailing empty piece is dropped), it is not three pieces
    NotANumber,     // a piece is not a decimal whole number
    TooLarge,       // the seconds do not fit 64 bits
};

// The one reading of an hh:mm:ss text: three decimal whole numbers h, m and s give
// h × 3600 + m × 60 + s (blanks around a piece and a sign are allowed; no padding is needed).
// On a fault the result is 0 and `fault`, when given, says which one it was.
qint64 ReadTimeText(const QString &text, TimeTextFault *fault = nullptr);

// A time written the way the program writes it: hours of 2 to `maxHourDigits` digits, minutes
// and seconds of two digits below 60, nothing else ("01:02:03"). Read with ReadTimeText; nothing
// for any other text.
std::optional<qint64> ReadWrittenTime(const QString &text, int maxHourDigits);

// "hh:mm:ss" back to seconds. A text that ReadTimeText can't read, or whose seconds do not fit
// 32 bits, gives 0.
qint32 TimeTextToSeconds(const QString &text);
