// Sizes as the source list writes them ("1.5 KB" in the user's locale), read back and checked
// against the byte count; and the tolerant number reader on arbitrary text.
#include "FuzzSupport.h"

#include "media/TimeText.h"
#include "support/StrFunc.h"

#include <cmath>
#include <cstring>

namespace {

const QLocale &localeNumber(uint8_t n)
{
    static const QLocale locales[] = {QLocale::c(), QLocale(QStringLiteral("de_DE")), QLocale(QStringLiteral("fr_FR")),
                                      QLocale(QStringLiteral("ar_EG")), QLocale(QStringLiteral("fa_IR")),
                                      QLocale(QStringLiteral("hi_IN")), QLocale(QStringLiteral("ja_JP"))};
    return locales[n % std::size(locales)];
}

// The size text's number in hundredths and the factor of its unit; false when it is no such text.
bool readSizeText(const QString &text, const QLocale &locale, qint64 &hundredths, qint64 &unit)
{
    static const struct {
        const char *suffix;
        qint64 factor;
    } units[] = {{" GB", qint64(1) << 30}, {" MB", qint64(1) << 20}, {" KB", qint64(1) << 10}, {" B", 1}};
    for (const auto &u : units) {
        if (!text.endsWith(QLatin1String(u.suffix)))
            continue;
        const QString number = text.chopped(qsizetype(std::strlen(u.suffix)));
        const QStringList parts = number.split(locale.decimalPoint());
        bool ok = false;
        const qint64 whole = parts[0].toLongLong(&ok);
        ok = ok && parts.size() <= 2;
        qint64 fraction = 0;
        if (ok && parts.size() == 2) {
            ok = parts[1].size() <= 2 && !parts[1].endsWith(u'0');
            fraction = parts[1].toLongLong() * (parts[1].size() == 1 ? 10 : 1);
        }
        hundredths = whole * 100 + fraction;
        unit = u.factor;
        return ok;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        const double value = NumericPart(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
        FUZZ_EXPECT(!std::isnan(value));
    } catch (const NumericPartError &) {
    }

    if (size < sizeof(qint64) + 1)
        return 0;
    qint64 bytes = 0;
    std::memcpy(&bytes, data, sizeof bytes);
    const QLocale &locale = localeNumber(data[sizeof bytes]);
    const QString text = SizeText(bytes, locale);
    qint64 hundredths = 0, unit = 0;
    FUZZ_EXPECT(readSizeText(text, locale, hundredths, unit));
    const qint64 count = bytes < 0 ? 0 : bytes;
    FUZZ_EXPECT(unit == 1 || count >= unit);               // the largest unit that fits
    FUZZ_EXPECT(hundredths < 1024 * 100 || unit == qint64(1) << 30);
    const __int128 shown = __int128(hundredths) * unit;    // truncated, never rounded up
    FUZZ_EXPECT(shown <= __int128(count) * 100 && __int128(count) * 100 < shown + unit);
    return 0;
}
