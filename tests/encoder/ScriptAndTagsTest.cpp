// revc reads the source named in the one-line script; descriptive tags travel along.
#include "EncoderHarness.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString writeScript(const QString& folder, const QString& mediaPath)
{
    const QString path = folder + "/VideoFile.avs";
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("DirectShowSource(\"" + mediaPath.toUtf8() + "\", fps=29.9700898503294, convertfps=true)\r\n");
    return path;
}

QString realMediaFixture(const QString& name)
{
    return Fixtures::instance().make(name, {"-f", "lavfi", "-i", "testsrc=size=176x144:rate=10:duration=2", "-f",
                                            "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=2", "-c:v",
                                            "rv10", "-c:a", "ac3", "-f", "rm"});
}

} // namespace

TEST(EncoderScript, RevcConvertsTheFileNamedInTheScript)
{
    const QString folder = freshFolder("script");
    const QString source = realMediaFixture("clip.rmvb");
    const QString output = folder + "/clip.mp3";
    const RunResult r = runProgram(revcPath(), {"-y", "-i", writeScript(folder, source), "-acodec", "mp3", "-vn", "-ab",
                                                "64", "-vol", "100", "-ac", "2", "-ar", "44100", "-ss", "00:00:01", "-t",
                                                "1", output});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(ProbeAudio(output).codec, "mp3");
    EXPECT_NEAR(double(decodeMono(output, 44100).size()) / 44100, 1.0, 0.03);
}

// The path runs to the script's last quote, so any character a file name can hold reaches the
// file unchanged, the script's own punctuation included.
TEST(EncoderScript, NamesWithQuotesAndTheScriptsPunctuationReachTheFile)
{
    const QString folder = freshFolder("script-names");
    const QString source = realMediaFixture("clip.rm");
    const QStringList names{"My \"best\" (clip).rm", "a\").rm", "\", fps=1, convertfps=true)\r\n.rm",
                            "$HOME `id` 'q' ä 日本.rmvb", "line\nbreak.rm", "\"\".rm"};
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString copy = folder + "/" + name;
        ASSERT_TRUE(QFile::copy(source, copy));
        const QString output = folder + "/out.wav";
        const RunResult r = runProgram(revcPath(), {"-y", "-i", writeScript(folder, copy), output});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(ProbeAudio(output).codec, "pcm_s16le");
        QFile::remove(output);
    }
}

TEST(EncoderScript, ScriptNamingAMissingFileFails)
{
    const QString folder = freshFolder("script-missing");
    const QString script = writeScript(folder, folder + "/gone.rm");
    const RunResult r = runProgram(revcPath(), {"-y", "-i", script, folder + "/out.mp3"});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("gone.rm")) << r.err.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"VideoFile.avs"});
}

TEST(EncoderTags, DescriptiveTagsAreCopiedBookkeepingIsNot)
{
    const QString input = Fixtures::instance().make(
        "tagged.mp4", {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=1", "-c:a", "aac",
                       "-metadata", "title=Song Title", "-metadata", "artist=The Artist", "-metadata", "album=An Album",
                       "-metadata", "genre=Jazz", "-metadata", "date=1999", "-metadata", "comment=Nice",
                       "-metadata", "track=7"});
    const QString folder = freshFolder("tags");
    for (const char* ext : {".mp3", ".m4a", ".ogg"}) {
        SCOPED_TRACE(ext);
        const QString output = folder + "/tagged" + ext;
        ASSERT_EQ(runProgram(evcPath(), {"-y", "-i", input, output}).exitCode, 0);
        const QString tags = probeTags(output).toLower();
        for (const char* value : {"song title", "the artist", "an album", "jazz", "1999", "nice", "\"7"})
            EXPECT_TRUE(tags.contains(value)) << value << "\n" << tags.toStdString();
        if (QString(ext) != ".m4a") { // an MP4 file carries these fields of its own
            EXPECT_FALSE(tags.contains("handler_name")) << tags.toStdString();
            EXPECT_FALSE(tags.contains("isom")) << tags.toStdString();
        }
    }
}
