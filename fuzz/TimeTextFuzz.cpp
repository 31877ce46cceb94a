// The readers of time texts: hh:mm:ss (the lenient reading and the written form that typed
// times and the command line take), and the time= field of the encoder's status lines. A time the program writes reads back as written.
#include "FuzzSupport.h"

#include "engine/ProgressRefresh.h"
#include "media/TimeText.h"

#include <cstring>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    TimeTextToSeconds(text);
    ReadTimeText(text);
    if (const std::optional<qint64> written = ReadWrittenTime(text, 6))
        FUZZ_EXPECT(FormatTimeText(*written) == text || text.startsWith(QLatin1Char('0')));
    FUZZ_EXPECT(LatestStatusSeconds(text) >= -1);

    if (size >= sizeof(qint64)) {
        qint64 seconds = 0;
        std::memcpy(&seconds, data, sizeof seconds);
        const QString written = FormatTimeText(seconds);
        const qint64 expected = seconds < 0 ? 0 : seconds;
        FUZZ_EXPECT(ReadTimeText(written) == expected || seconds > std::numeric_limits<qint64>::max() / 1000);
        if (expected <= std::numeric_limits<qint32>::max())
            FUZZ_EXPECT(TimeTextToSeconds(written) == expected);
        const QString status = QStringLiteral("size=  12kB time=%1.57 bitrate= 64.0kbits/s\r").arg(expected);
        if (expected < 10000000000LL)
            FUZZ_EXPECT(LatestStatusSeconds(text + QLatin1Char('\n') + status) == expected);
    }
    return 0;
}
