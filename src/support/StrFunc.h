#pragma once
// Text helpers: splitting, the tolerant number reader and the text after a separator.
#include <QString>
#include <QStringList>
#include <stdexcept>

// Raised by NumericPart when the text holds no digit to convert.
class NumericPartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TStrFunc {
public:
    // The text after the last `separator`, or the whole text when it does not occur.
    static QString TextAfterLast(const QString &text, const QString &separator);
};

// Clears `list` and fills it with the non-empty pieces of `text` cut at `separator`.
// "2.1.0.15" with "." gives 2, 1, 0, 15. Returns `list`.
QStringList &SplitByDelimiter(const QString &text, const QString &separator, QStringList &list);

// Pieces of `text` cut at `separator`, untrimmed; empty pieces kept except a trailing one.
// "a||b" gives a, "", b; "a|" gives a; "|" gives one empty piece; "" gives no piece.
QStringList SplitByChar(const QString &text, QChar separator);

// The text without blanks and control characters (codes 0 to 32) at either end.
QString TrimControls(const QString &text);

// The number in a text with other characters around it: digits, the first ".", and a sign that
// leads the kept characters. "12.5 kbits/s" gives 12.5, "1.2.3" 1.23, "-4-2" -42, "abc" 0.
// Throws NumericPartError when the kept characters hold no digit ("+-", ".").
double NumericPart(const QString &text);
