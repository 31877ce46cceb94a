// --keep-original over the qualities a user picks: the sound is copied whenever the type holds
// it, and encoded only for what changes it, each file saying why.
#include "CliFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class KeepOriginalCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (builtEncoder().isEmpty())
            GTEST_SKIP() << "build/Kelvane/evc is not built in this tree yet";
    }

    // Two seconds of a stereo tone, sound only, in `codec` at `rate`, made once per test process.
    static QString source(const QString &codec, int rate)
    {
        static QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("%1_%2.mkv").arg(codec).arg(rate));
        if (!QFile::exists(path))
            EXPECT_TRUE(runFfmpeg({"-f", "lavfi", "-i", QStringLiteral("sine=frequency=440:sample_rate=%1").arg(rate),
                                   "-t", "2", "-ac", "2", "-c:a", codec, path}))
                << codec.toStdString();
        return path;
    }

    // The source in the setup's input folder under `name`.
    static QString input(const CliSetup &s, const QString &codec, int rate, const QString &name)
    {
        QFile::copy(source(codec, rate), s.inputFolder + name);
        return s.inputFolder + name;
    }
};

} // namespace

// Every built-in quality and a custom profile (mono, 22050 Hz, 32 kbit/s) of every type that can
// hold the sound, from sources at 44.1 and 48 kHz: all copied.
TEST_F(KeepOriginalCli, EveryQualityOfEveryTypeCopies)
{
    const struct {
        const char *type;
        const char *sourceCodec;
        const char *copied; // what the route names
    } types[] = {{"aac", "aac", "aac"},      {"m4a", "aac", "aac"},       {"mp3", "libmp3lame", "mp3"},
                 {"ac3", "ac3", "ac3"},      {"ogg", "libvorbis", "vorbis"}, {"wav", "pcm_s16le", "pcm_s16le"}};
    const QList<QStringList> qualities = {{"--quality", "low"},      {"--quality", "acceptable"},
                                          {"--quality", "normal"},   {"--quality", "excellent"},
                                          {"--quality", "superb"},   {"--profile", "Small"}};
    for (const auto &t : types) {
        for (const QStringList &quality : qualities) {
            SCOPED_TRACE(QStringLiteral("%1 %2").arg(t.type, quality.join(u' ')).toStdString());
            CliSetup s;
            s.writeProfiles({"[Small]", "Small=0|0|0|1|0|0"});
            const QStringList sources{input(s, t.sourceCodec, 44100, "at44100.mkv"),
                                      input(s, t.sourceCodec, 48000, "at48000.mkv")};
            const CliResult r = s.run(QStringList{"--type", t.type, "--keep-original", "--output", s.outputFolder} +
                                      quality + sources);
            EXPECT_EQ(r.status, 0) << r.err.toStdString();
            EXPECT_EQ(r.out.count(QStringLiteral("(audio copied (%1))").arg(t.copied)), 2) << r.out.toStdString();
        }
    }
}

// What changes the sound, asked for on its own, and a codec the type does not hold: encoded, and
// the report says why.
TEST_F(KeepOriginalCli, WhatChangesTheSoundEncodesAndSaysWhy)
{
    const struct {
        QStringList arguments;
        const char *sourceCodec;
        const char *reason;
    } cases[] = {
        {{"--volume", "150"}, "aac", "volume 150%"},
        {{"--loudness", "-16"}, "aac", "loudness normalised to -16 LUFS"},
        {{"--bitrate", "128"}, "aac", "128 kbit/s asked"},
        {{"--rate", "44100"}, "aac", "44100 Hz asked"},
        {{"--channels", "stereo"}, "aac", "2 channel(s) asked"},
        {{}, "libmp3lame", "the source's sound is mp3, the output holds aac"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reason);
        CliSetup s;
        const QString clip = input(s, c.sourceCodec, 44100, "clip.mkv");
        const CliResult r = s.run(QStringList{"--type", "m4a", "--keep-original", "--output", s.outputFolder} +
                                  c.arguments + QStringList{clip});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("(audio re-encoded (%1))").arg(c.reason))) << r.out.toStdString();
        EXPECT_EQ(s.outputFiles(), QStringList{"clip.m4a"});
    }
}
