// The encoder's route lines read from its output as it comes, in chunks that split lines anywhere.
#include "engine/SoundRoute.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

SoundRoute routeOf(const QStringList &chunks)
{
    SoundRouteReader reader;
    for (const QString &chunk : chunks)
        reader.feed(chunk);
    return reader.route();
}

} // namespace

TEST(SoundRouteReader, TakesTheLastRouteLineOfTheWholeOutput)
{
    const QString status = QStringLiteral("size=     12kB time=1.00 bitrate= 98.0kbits/s\r");
    const QString manyStatusLines = status.repeated(400);
    const struct {
        QStringList chunks;
        const char *way;
        const char *reason;
    } cases[] = {
        {{"audio: copied (aac)\n", manyStatusLines}, "copied", "aac"},
        {{"aud", "io: cop", "ied (mp3)\r", status}, "copied", "mp3"},
        // A copy that failed after it began is encoded after all; that line comes after status lines.
        {{"audio: copied (aac)\n", manyStatusLines,
          "audio: re-encoded (the copy failed at 00:00:12: the source's time stamps go back)\n", status},
         "re-encoded", "the copy failed at 00:00:12: the source's time stamps go back"},
        // Only whole lines count, and only from their first character.
        {{"Notice: audio: copied (aac)\n"}, "", ""},
        {{"Notice: x", "audio: copied (aac)\n"}, "", ""},
        {{"audio: copied (aac)"}, "", ""},
        {{"audio: moved (aac)\n"}, "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.chunks.join(QString()).left(120).toStdString());
        const SoundRoute route = routeOf(c.chunks);
        EXPECT_EQ(route.way, QString::fromLatin1(c.way));
        EXPECT_EQ(route.reason, QString::fromLatin1(c.reason));
    }
}
