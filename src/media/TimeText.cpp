#include "media/TimeText.h"

#include "support/StrFunc.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace {

struct Scaled {
    qint64 hundredths; // the value in hundredths of the unit, truncated
    const char *unit;
};

// n / divisor in hundredths, truncated, without overflowing for any 64-bit count.
qint64 hundredthsOf(qint64 n, qint64 divisor)
{
    return (n / divisor) * 100 + (n % divisor) * 100 / divisor;
}

Scaled scaleBytes(qint64 n)
{
    constexpr qint64 Kilo = 1024;
    constexpr qint64 Mega = Kilo * Kilo;
    constexpr qint64 Giga = Mega * Kilo;
    if (n >= Giga)
        return {hundredthsOf(n, Giga), " GB"};
    if (n >= Mega)
        return {hundredthsOf(n, Mega), " MB"};
    if (n >= Kilo)
        return {hundredthsOf(n, Kilo), " KB"};
    return {n * 100, " B"};
}

// Shortest form: no trailing zeros, no separator for whole numbers.
QString shortDecimal(qint64 hundredths, const QLocale &locale)
{
    QString text = QString::number(hundredths / 100);
    qint64 fraction = hundredths % 100;
    if (fraction == 0)
        return text;
    QString digits = QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
    if (digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    return text + locale.decimalPoint() + digits;
}

QString twoDigits(qint64 value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

} // namespace

QString SizeText(qint64 bytes, const QLocale &locale)
{
    const Scaled scaled = scaleBytes(bytes < 0 ? 0 : bytes);
    return shortDecimal(scaled.hundredths, locale) + QLatin1String(scaled.unit);
}

QString FormatTimeText(qint64 seconds)
{
    if (seconds <= 0)
        return QStringLiteral("00:00:00");
    constexpr qint64 Largest = std::numeric_limits<qint64>::max() / 1000;
    const qint64 total = seconds > Largest ? Largest : seconds; // whole seconds only: ms stay exact
    return twoDigits(total / 3600) + QLatin1Char(':') + twoDigits(total % 3600 / 60) + QLatin1Char(':')
        + twoDigits(total % 60);
}

QString ClockText(qint64 seconds)
{
    seconds = std::max<qint64>(seconds, 0);
    const qint64 hours = seconds / 3600;
    const QString minutesAndSeconds = QStringLiteral("%1:%2")
                                          .arg(hours > 0 ? (seconds / 60) % 60 : seconds / 60, hours > 0 ? 2 : 1, 10,
                                               QLatin1Char('0'))
                                          .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return hours > 0 ? QString::number(hours) + QLatin1Char(':') + minutesAndSeconds : minutesAndSeconds;
}

qint64 ReadTimeText(const QString &text, TimeTextFault *fault)
{
    const auto failed = [fault](TimeTextFault why) {
        if (fault)
            *fault = why;
        return qint64(0);
    };
    const QStringList pieces = SplitByChar(text, u':');
    if (pieces.size() != 3)
        return failed(TimeTextFault::NotThreePieces);
    qint64 total = 0;
    for (const QString &piece : pieces) {
        bool ok = false;
        const qint64 value = piece.toLongLong(&ok, 10);
        if (!ok)
            return failed(TimeTextFault::NotANumber);
        if (__builtin_mul_overflow(total, 60, &total) || __builtin_add_overflow(total, value, &total))
            return failed(TimeTextFault::TooLarge);
    }
    if (fault)
        *fault = TimeTextFault::None;
    return total;
}

std::optional<qint64> ReadWrittenTime(const QString &text, int maxHourDigits)
{
    const qsizetype hourDigits = text.size() - 6;
    if (hourDigits < 2 || hourDigits > maxHourDigits || text.at(hourDigits) != u':' || text.at(hourDigits + 3) != u':')
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i != hourDigits && i != hourDigits + 3 && !(text.at(i) >= u'0' && text.at(i) <= u'9'))
            return std::nullopt;
    }
    if (text.at(hourDigits + 1) > u'5' || text.at(hourDigits + 4) > u'5')
        return std::nullopt; // minutes or seconds of 60 and more
    TimeTextFault fault = TimeTextFault::None;
    const qint64 seconds = ReadTimeText(text, &fault);
    if (fault != TimeTextFault::None)
        return std::nullopt;
    return seconds;
}

qint32 TimeTextToSeconds(const QString &text)
{
    TimeTextFault fault = TimeTextFault::None;
    const qint64 total = ReadTimeText(text, &fault);
    if (fault != TimeTextFault::None || total < std::numeric_limits<qint32>::min()
        || total > std::numeric_limits<qint32>::max())
        return 0;
    return static_cast<qint32>(total);
}
