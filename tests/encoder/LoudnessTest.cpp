// -loudness: every output type comes out at the target, measured the way broadcasters measure
// (ffmpeg's ebur128 filter with true peaks), with its true peak at or below -1 dBTP.
#include "EncoderHarness.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Measured {
    double integrated = NAN; // LUFS
    double truePeak = NAN;   // dBTP
};

Measured measure(const QString& path)
{
    const RunResult r = runProgram(QStringLiteral("ffmpeg"), {"-nostats", "-i", path, "-af",
                                                              "ebur128=peak=true:framelog=verbose", "-f", "null", "-"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    static const QRegularExpression integrated(QStringLiteral("\\n\\s+I:\\s+(-?[\\d.]+|-inf) LUFS"));
    static const QRegularExpression truePeak(QStringLiteral("True peak:\\s+Peak:\\s+(-?[\\d.]+|-inf) dBFS"));
    Measured m;
    if (const auto i = integrated.match(r.err); i.hasMatch())
        m.integrated = i.captured(1).toDouble();
    if (const auto p = truePeak.match(r.err); p.hasMatch())
        m.truePeak = p.captured(1) == "-inf" ? -HUGE_VAL : p.captured(1).toDouble();
    return m;
}

// About -36 LUFS: soft tones, with a 1 ms click every 2 s that a raised level lifts above -1 dBTP.
QString quietSource()
{
    return Fixtures::instance().make(
        "quiet.m4a", {"-f", "lavfi", "-i",
                      "aevalsrc='0.03*(sin(2*PI*440*t)+0.5*sin(2*PI*880*t)+0.3*sin(2*PI*1320*t))*(0.6+0.4*sin(2*PI*3*t))"
                      "+0.15*sin(2*PI*1000*t)*lt(mod(t,2),0.001)':s=44100:d=6",
                      "-ac", "2", "-c:a", "aac", "-b:a", "160k"});
}

// Tones three times louder than full scale, clipped: about -0.3 LUFS.
QString loudClippedSource()
{
    return Fixtures::instance().make(
        "loud.wav", {"-f", "lavfi", "-i",
                     "aevalsrc='3*(sin(2*PI*440*t)+0.5*sin(2*PI*880*t)+0.3*sin(2*PI*1320*t))*(0.6+0.4*sin(2*PI*3*t))'"
                     ":s=44100:d=6",
                     "-ac", "2", "-c:a", "pcm_s16le"});
}

struct Type {
    const char* extension;
    const char* codec;
};

QStringList typeArgs(const Type& type)
{
    if (QString(type.extension) == ".amr")
        return {"-acodec", type.codec, "-s", "176x144", "-b", "128", "-ab", "12.2", "-vol", "100", "-ac", "1", "-ar", "8000"};
    return {"-acodec", type.codec, "-vn", "-ab", "128", "-vol", "100", "-ac", "2", "-ar", "44100"};
}

RunResult normalise(const QString& input, const Type& type, const QString& target, const QString& output,
                    const QStringList& more = {})
{
    return runProgram(evcPath(), QStringList{"-y", "-i", input} + typeArgs(type) + more +
                                     QStringList{"-loudness", target, output});
}

class LoudnessPerType : public testing::TestWithParam<Type> {};

TEST_P(LoudnessPerType, QuietAndLoudSourcesReachEachTarget)
{
    const Type type = GetParam();
    const QString folder = freshFolder(QStringLiteral("loudness") + type.extension);
    for (const QString& source : {quietSource(), loudClippedSource()}) {
        for (const char* target : {"-16", "-14", "-23"}) {
            SCOPED_TRACE(QString("%1 to %2 LUFS").arg(QFileInfo(source).fileName(), target).toStdString());
            const QString output = folder + "/out" + target + type.extension;
            const RunResult r = normalise(source, type, target, output);
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
            EXPECT_TRUE(r.out.contains(QRegularExpression("loudness: input -?\\d+\\.\\d LUFS, true peak")))
                << r.out.toStdString();
            const Measured m = measure(output);
            EXPECT_NEAR(m.integrated, QString(target).toDouble(), 1.0);
            EXPECT_LE(m.truePeak, -1.0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Types, LoudnessPerType,
                         testing::Values(Type{".aac", "aac"}, Type{".mp3", "mp3"}, Type{".ogg", "vorbis"},
                                         Type{".wav", "pcm_s16le"}, Type{".m4a", "aac"}, Type{".ac3", "ac3"}),
                         [](const auto& info) { return std::string(info.param.extension + 1); });

// AMR-NB is a speech codec at 8000 Hz: it changes the loudness of what it encodes by a few LU on
// its own, so only its ceiling is held to.
TEST(Loudness, AmrKeepsTheTruePeakCeiling)
{
    const QString folder = freshFolder("loudness-amr");
    for (const QString& source : {quietSource(), loudClippedSource()}) {
        const QString output = folder + "/out.amr";
        const RunResult r = normalise(source, {".amr", "amr_nb"}, "-14", output);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const Measured m = measure(output);
        EXPECT_NEAR(m.integrated, -14.0, 3.0);
        EXPECT_LE(m.truePeak, -1.0);
    }
}

// The first 5 s at about -45 LUFS, the next 5 s at about -15 LUFS.
QString quietThenLoud()
{
    return Fixtures::instance().make(
        "quiet-then-loud.wav",
        {"-f", "lavfi", "-i", "aevalsrc='if(lt(t,5),0.005,0.15)*sin(2*PI*440*t)':s=44100:d=10", "-ac", "2"});
}

// Each part of a cut is normalised on its own loudness, not on the whole file's (which its loud
// half decides), and the cut keeps its exact length.
TEST(Loudness, ACutIsNormalisedOnItsOwnLoudness)
{
    const QString folder = freshFolder("loudness-cut");
    const Type wav{".wav", "pcm_s16le"};
    for (const char* start : {"00:00:00", "00:00:05"}) {
        SCOPED_TRACE(start);
        const QString output = folder + "/cut.wav";
        const RunResult r = normalise(quietThenLoud(), wav, "-23", output, {"-ss", start, "-t", "5"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_NEAR(measure(output).integrated, -23.0, 0.5);
        EXPECT_EQ(decodeMono(output, 44100).size(), 5u * 44100u);
    }
}

TEST(Loudness, SilenceStaysSilent)
{
    const QString source = Fixtures::instance().make(
        "silence.wav", {"-f", "lavfi", "-i", "anullsrc=r=44100:cl=stereo", "-t", "3"});
    const QString output = freshFolder("loudness-silence") + "/out.wav";
    const RunResult r = normalise(source, {".wav", "pcm_s16le"}, "-16", output);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("loudness: input silent (below -70 LUFS), gain +0.0 dB")) << r.out.toStdString();
    const std::vector<float> samples = decodeMono(output, 44100);
    EXPECT_EQ(samples.size(), 3u * 44100u);
    EXPECT_EQ(peak(samples), 0.0f);
}

// The volume is applied first: it changes the loudness measured, and the normalisation then
// decides the level written.
TEST(Loudness, VolumeComesFirstAndTheTargetDecides)
{
    const QString folder = freshFolder("loudness-volume");
    static const QRegularExpression input(QStringLiteral("loudness: input (-?\\d+\\.\\d) LUFS"));
    double measuredAt[2] = {};
    int i = 0;
    for (const char* volume : {"50", "200"}) {
        const QString output = folder + "/vol" + volume + ".wav";
        const RunResult r = normalise(quietSource(), {".wav", "pcm_s16le"}, "-23", output, {"-vol", volume});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const auto match = input.match(r.out);
        ASSERT_TRUE(match.hasMatch()) << r.out.toStdString();
        measuredAt[i++] = match.captured(1).toDouble();
        EXPECT_NEAR(measure(output).integrated, -23.0, 0.5);
    }
    EXPECT_NEAR(measuredAt[1] - measuredAt[0], 12.0, 0.3); // 200 % against 50 %
}

// The status lines' time= runs once from 0 to the cut's length over both passes.
TEST(Loudness, ProgressRunsOnceOverBothPasses)
{
    const QString output = freshFolder("loudness-progress") + "/out.wav";
    const RunResult r = normalise(Fixtures::instance().longWav(), {".wav", "pcm_s16le"}, "-16", output,
                                  {"-ac", "1", "-ar", "8000", "-t", "600"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    static const QRegularExpression time(QStringLiteral("time=(\\d+\\.\\d\\d)"));
    QList<double> times;
    for (auto it = time.globalMatch(r.out); it.hasNext();)
        times << it.next().captured(1).toDouble();
    ASSERT_FALSE(times.isEmpty());
    for (qsizetype i = 1; i < times.size(); ++i)
        EXPECT_GE(times[i], times[i - 1]) << "line " << i;
    EXPECT_NEAR(times.last(), 600.0, 0.05);
    const qsizetype loudnessAt = r.out.indexOf("loudness: input");
    ASSERT_GE(loudnessAt, 0);
    // Lines before the measurement ends stay within its share of the bar.
    for (auto it = time.globalMatch(r.out.left(loudnessAt)); it.hasNext();)
        EXPECT_LE(it.next().captured(1).toDouble(), 0.5 * 600 + 0.01); // a WAV's measuring share
}

TEST(Loudness, TargetsOutOfRangeAreRefusedAndWriteNothing)
{
    const QString folder = freshFolder("loudness-refused");
    for (const char* target : {"-32", "-4", "0", "loud", ""}) {
        SCOPED_TRACE(target);
        const RunResult r = normalise(quietSource(), {".wav", "pcm_s16le"}, target, folder + "/out.wav");
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.err.contains("-loudness") && r.err.contains("from -31 to -5 LUFS")) << r.err.toStdString();
        EXPECT_TRUE(entriesOf(folder).isEmpty()) << entriesOf(folder).join(' ').toStdString();
    }
}

} // namespace
