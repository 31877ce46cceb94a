#include "MediaFixtures.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Recipe {
    const char *name;
    QStringList arguments; // between the inputs and the output name
    const char *length;    // seconds, as ffmpeg's -t takes them
    bool withVideo;
};

QStringList inputs(const Recipe &recipe)
{
    QStringList args{"-v", "error", "-y"};
    if (recipe.withVideo)
        args << "-f" << "lavfi" << "-i" << "testsrc=size=64x48:rate=10";
    args << "-f" << "lavfi" << "-i" << "sine=frequency=440:sample_rate=8000";
    return args;
}

void makeMedia(const QString &folder, const Recipe &recipe)
{
    QStringList args = inputs(recipe);
    args << "-t" << recipe.length << recipe.arguments << folder + "/" + recipe.name;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), args);
    ASSERT_TRUE(ffmpeg.waitForFinished(60000)) << recipe.name;
    ASSERT_EQ(ffmpeg.exitCode(), 0) << recipe.name << ": " << ffmpeg.readAllStandardError().constData();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray randomBytes(int size)
{
    QRandomGenerator generator(20080314); // fixed seed: the same bytes on every run
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = static_cast<char>(generator.bounded(256));
    return bytes;
}

class FixtureFolder {
public:
    FixtureFolder()
    {
        const Recipe recipes[] = {
            {"two_seconds.avi", {"-c:v", "mpeg4", "-c:a", "mp2"}, "2", true},
            {"three_seconds.mp4", {"-c:v", "mpeg4", "-c:a", "aac"}, "3", true},
            {"ten_seconds.mp4", {"-c:v", "mpeg4", "-c:a", "aac"}, "10", true},
            {"two_seconds.flv", {"-c:v", "flv", "-c:a", "aac"}, "2", true},
            {"under_one_second.avi", {"-c:v", "mpeg4", "-c:a", "pcm_s16le"}, "0.9", true},
            {"video_only.mp4", {"-map", "0:v", "-c:v", "mpeg4"}, "2", true},
            {"unknown_video_tag.avi", {"-c:v", "mpeg4", "-vtag", "QQ42", "-strict", "-1", "-c:a", "pcm_s16le"}, "2", true},
            {"almost_a_minute.wav", {"-c:a", "pcm_u8"}, "59.999", false},
            // An MPEG program stream whose length its time stamps alone put at 4.96 seconds.
            {"five_seconds.mpg", {"-r", "25", "-c:v", "mpeg1video", "-c:a", "mp2", "-ar", "22050"}, "5", true},
        };
        for (const Recipe &recipe : recipes)
            makeMedia(m_folder.path(), recipe);
        writeFile(m_folder.filePath("random_bytes.avi"), randomBytes(64 * 1024));
        writeFile(m_folder.filePath("subtitles_only.srt"), "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\n\r\n");
    }
    // The newer container types are made only for the tests that ask for them.
    QString path(const QString &name)
    {
        static const Recipe onDemand[] = {
            {"two_seconds.mkv", {"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"}, "2", true},
            {"two_seconds.webm", {"-c:v", "libvpx", "-deadline", "realtime", "-c:a", "libopus"}, "2", true},
            {"two_seconds.ts", {"-c:v", "mpeg2video", "-c:a", "mp2", "-ar", "48000"}, "2", true},
            {"two_seconds.m2ts", {"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "ac3", "-ar", "48000",
                                  "-f", "mpegts", "-mpegts_m2ts_mode", "1"}, "2", true},
            {"two_seconds.mts", {"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "ac3", "-ar", "48000",
                                 "-f", "mpegts", "-mpegts_m2ts_mode", "1"}, "2", true},
            {"two_seconds.ogv", {"-c:v", "libtheora", "-c:a", "libvorbis"}, "2", true},
        };
        for (const Recipe &recipe : onDemand) {
            if (name == QLatin1String(recipe.name) && !QFile::exists(m_folder.filePath(name)))
                makeMedia(m_folder.path(), recipe);
        }
        return m_folder.filePath(name);
    }

private:
    QTemporaryDir m_folder;
};

} // namespace

QString MediaFixtures::path(const QString &name)
{
    static FixtureFolder folder; // made on first use, removed when the tests end
    return folder.path(name);
}
