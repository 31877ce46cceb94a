// The BS.1770 meter on signals whose loudness and true peak are known exactly, and the gain
// decisions made from its figures.
#include "LoudnessMeter.h"
#include "LoudnessPass.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// `seconds` of a sine in every one of `channels`, at `amplitude` (linear) and `phase` (radians).
LoudnessMeasurement measureSine(int rate, int channels, double frequency, double amplitude, double seconds,
                                double phase = 0, double silenceAfter = 0)
{
    std::vector<double> weights(static_cast<size_t>(channels), 1.0);
    LoudnessMeter meter(rate, weights);
    const int total = static_cast<int>(std::lround((seconds + silenceAfter) * rate));
    std::vector<float> samples(static_cast<size_t>(total));
    for (int i = 0; i < total; ++i)
        samples[i] = i < seconds * rate ? float(amplitude * std::sin(2 * M_PI * frequency * i / rate + phase)) : 0.0f;
    std::vector<const float*> planes(static_cast<size_t>(channels), samples.data());
    for (int at = 0; at < total; at += 1000) // in uneven pieces, as frames come
        meter.add(planes.data(), std::min(1000, total - at));
    return meter.result();
}

TEST(LoudnessMeter, KWeightingAt48kHzIsTheStandardsFilter)
{
    const KWeighting k = kWeightingFor(48000);
    const double shelf[] = {1.53512485958697, -2.69169618940638, 1.19839281085285, -1.69065929318241,
                            0.73248077421585};
    const double highPass[] = {1.0, -2.0, 1.0, -1.99004745483398, 0.99007225036621};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(k.shelf[i], shelf[i], 1e-8) << i;
        EXPECT_NEAR(k.highPass[i], highPass[i], 1e-8) << i;
    }
}

TEST(LoudnessMeter, StereoSineAtMinus23DbfsIsMinus23Lufs)
{
    for (const int rate : {48000, 44100, 8000}) {
        SCOPED_TRACE(rate);
        const LoudnessMeasurement m = measureSine(rate, 2, 1000, std::pow(10.0, -23 / 20.0), 5);
        ASSERT_TRUE(m.integratedLufs);
        EXPECT_NEAR(*m.integratedLufs, -23.0, 0.1);
        EXPECT_NEAR(m.samplePeakDb, -23.0, 0.05);
    }
}

// Sampled at a quarter of the rate with a phase of 45 degrees, a sine's samples reach only 71 % of
// its amplitude: the true peak is 3 dB above the sample peak.
TEST(LoudnessMeter, TruePeakFindsPeaksBetweenSamples)
{
    const LoudnessMeasurement m = measureSine(44100, 1, 44100 / 4.0, 0.5, 2, M_PI / 4);
    EXPECT_NEAR(m.samplePeakDb, -9.03, 0.05);
    EXPECT_NEAR(m.truePeakDb, -6.02, 0.3);
}

TEST(LoudnessMeter, GatesSilenceAndReportsNoLoudnessForIt)
{
    const LoudnessMeasurement toneThenSilence = measureSine(48000, 2, 1000, std::pow(10.0, -23 / 20.0), 5, 0, 5);
    ASSERT_TRUE(toneThenSilence.integratedLufs);
    EXPECT_NEAR(*toneThenSilence.integratedLufs, -23.0, 0.1);
    const LoudnessMeasurement silence = measureSine(48000, 2, 1000, 0, 0, 0, 3);
    EXPECT_FALSE(silence.integratedLufs);
    EXPECT_EQ(silence.truePeakDb, -HUGE_VAL);
    // Below the absolute gate (-70 LUFS) counts as silence too.
    EXPECT_FALSE(measureSine(48000, 2, 1000, std::pow(10.0, -75 / 20.0), 3).integratedLufs);
}

TEST(LoudnessPlan, OneGainToTheTargetAndTheLimiterOnlyWhenThePeakWouldPassTheCeiling)
{
    struct Case {
        std::optional<double> integrated;
        double truePeak;
        double target;
        double gain;
        bool limiter;
    };
    const Case cases[] = {
        {-35.0, -25.0, -16.0, 19.0, false}, // quiet, room to spare
        {-35.0, -18.0, -16.0, 19.0, true},  // quiet, with peaks that would pass -1 dBTP
        {-3.0, 1.5, -23.0, -20.0, false},   // loud and clipped: turned down
        {std::nullopt, -HUGE_VAL, -14.0, 0.0, false}, // silence: no gain, no error
    };
    for (const Case& c : cases) {
        LoudnessMeasurement m;
        m.integratedLufs = c.integrated;
        m.truePeakDb = c.truePeak;
        const LoudnessPlan plan = planLoudness(c.target, m, TruePeakCeiling);
        EXPECT_NEAR(plan.gainDb, c.gain, 1e-9);
        EXPECT_EQ(plan.limiter, c.limiter);
        EXPECT_EQ(loudnessFilters(plan, 44100).empty(), c.gain == 0 && !c.limiter);
        EXPECT_EQ(loudnessFilters(plan, 44100).find("alimiter") != std::string::npos, c.limiter);
    }
}

} // namespace
