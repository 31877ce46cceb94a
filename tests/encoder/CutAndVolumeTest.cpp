// The -ss/-t cut is sample-accurate; -vol scales loudness and never clips.
#include "EncoderHarness.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>

namespace {

std::vector<float> convert(const QString& output, const QStringList& options)
{
    QStringList args{"-y", "-i", Fixtures::instance().silenceThenTone(), "-acodec", "pcm_s16le", "-vn", "-ac", "1",
                     "-ar", "44100"};
    args << options << output;
    const RunResult r = runProgram(evcPath(), args);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return decodeMono(output, 44100);
}

} // namespace

TEST(EncoderCut, StartsExactlyWhereAsked)
{
    const QString folder = freshFolder("cut");
    // The tone begins at 10 s: a cut from there starts loud in its first 5 ms...
    const auto atTone = convert(folder + "/at-tone.wav", {"-ss", "00:00:10", "-t", "2"});
    EXPECT_EQ(atTone.size(), 2u * 44100u);
    EXPECT_NEAR(rmsDb(atTone, 0, 220), -23.0, 1.5);
    // ...and a cut that ends there holds (nearly) nothing of it.
    const auto beforeTone = convert(folder + "/before-tone.wav", {"-ss", "00:00:08", "-t", "2"});
    EXPECT_EQ(beforeTone.size(), 2u * 44100u);
    EXPECT_LT(rmsDb(beforeTone, 0, beforeTone.size() - 441), -60.0);
    // A cut to the end of the file stops at the end.
    const auto tail = convert(folder + "/tail.wav", {"-ss", "00:00:12", "-t", "30"});
    EXPECT_NEAR(double(tail.size()) / 44100, 3.0, 0.001);
}

TEST(EncoderVolume, ScalesLoudnessAndLimitsPeaks)
{
    const QString folder = freshFolder("volume");
    const QStringList cut{"-ss", "00:00:11", "-t", "2"};
    const double reference = rmsDb(convert(folder + "/v100.wav", cut + QStringList{"-vol", "100"}));
    const auto silent = convert(folder + "/v0.wav", cut + QStringList{"-vol", "0"});
    EXPECT_EQ(peak(silent), 0.0f);
    EXPECT_NEAR(rmsDb(convert(folder + "/v50.wav", cut + QStringList{"-vol", "50"})) - reference, -6.02, 0.3);
    EXPECT_NEAR(rmsDb(convert(folder + "/v200.wav", cut + QStringList{"-vol", "200"})) - reference, 6.02, 0.3);
    // 20 dB of gain on a -20 dBFS peak would reach full scale: the limiter keeps it below.
    const auto loud = convert(folder + "/v1000.wav", cut + QStringList{"-vol", "1000"});
    EXPECT_LT(peak(loud), 0.99f);
    EXPECT_GT(peak(loud), 0.8f);
}

// A file cut off after its header (which still promises the whole length) converts what it
// holds and says that the sound ended before the end asked; a whole file says nothing of it.
TEST(EncoderCut, SaysWhenTheSoundEndsBeforeTheEndAsked)
{
    const QString whole = Fixtures::instance().make(
        "six_seconds_faststart.mp4", {"-f", "lavfi", "-i", "sine=frequency=440:duration=6", "-c:a", "aac",
                                      "-movflags", "+faststart"});
    const QString cut = Fixtures::instance().dir() + "/cut_off.mp4";
    {
        QFile in(whole);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        QFile out(cut);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(in.read(in.size() / 2));
    }
    const QString folder = freshFolder("early_end");
    const QRegularExpression notice(R"(Notice: the sound ends at ([0-9.]+) s, before the end asked \(6 s\))");
    for (const QStringList &cutOptions : {QStringList{"-ss", "00:00:00", "-t", "6"}, QStringList{}}) {
        const RunResult r = runProgram(evcPath(), QStringList{"-y", "-i", cut, "-acodec", "pcm_s16le", "-vn"} + cutOptions +
                                                      QStringList{folder + "/cut.wav"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QRegularExpressionMatch match = notice.match(r.out);
        ASSERT_TRUE(match.hasMatch()) << r.out.toStdString();
        EXPECT_GT(match.captured(1).toDouble(), 1.0);
        EXPECT_LT(match.captured(1).toDouble(), 5.0);
    }
    const RunResult full = runProgram(evcPath(), {"-y", "-i", whole, "-acodec", "pcm_s16le", "-vn", "-ss", "00:00:00",
                                                  "-t", "6", folder + "/whole.wav"});
    ASSERT_EQ(full.exitCode, 0) << full.err.toStdString();
    EXPECT_FALSE(full.out.contains("sound ends")) << full.out.toStdString();
    // The list's end of an uncut row is the length rounded up to a whole second: asking past the
    // end the header gives is no missing part either.
    const RunResult roundedUp = runProgram(evcPath(), {"-y", "-i", whole, "-acodec", "pcm_s16le", "-vn", "-ss",
                                                       "00:00:00", "-t", "7", folder + "/rounded.wav"});
    ASSERT_EQ(roundedUp.exitCode, 0) << roundedUp.err.toStdString();
    EXPECT_FALSE(roundedUp.out.contains("sound ends")) << roundedUp.out.toStdString();
}
