#include "LoudnessMeter.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace {

constexpr double AbsoluteGateLufs = -70.0;
constexpr double RelativeGateLu = -10.0;
constexpr int SubBlocksPerBlock = 4; // 400 ms blocks made of 100 ms steps

// 4x oversampling: three interpolated points between two samples, each from the 12 samples
// around them (windowed sinc, unity gain at DC).
constexpr int Taps = 12;
constexpr int TapsBefore = 5;                  // samples before the gap's left sample
constexpr int History = Taps - 1;              // samples kept from one call to the next
using Phase = std::array<float, Taps>;

const std::array<Phase, 3>& interpolationPhases()
{
    static const std::array<Phase, 3> phases = [] {
        std::array<Phase, 3> made{};
        for (int p = 1; p <= 3; ++p) {
            double sum = 0;
            std::array<double, Taps> taps{};
            for (int j = -TapsBefore; j < Taps - TapsBefore; ++j) {
                const double d = p / 4.0 - j;
                const double sinc = std::sin(M_PI * d) / (M_PI * d);
                const double window = 0.5 * (1 + std::cos(M_PI * d / (Taps / 2.0)));
                taps[j + TapsBefore] = sinc * window;
                sum += taps[j + TapsBefore];
            }
            for (int k = 0; k < Taps; ++k)
                made[p - 1][k] = static_cast<float>(taps[k] / sum);
        }
        return made;
    }();
    return phases;
}

// How much larger than the largest sample any interpolated point can be.
float interpolationBound()
{
    float bound = 1;
    for (const Phase& phase : interpolationPhases())
        bound = std::max(bound, std::accumulate(phase.begin(), phase.end(), 0.0f,
                                                [](float s, float h) { return s + std::fabs(h); }));
    return bound;
}

float largestMagnitude(const float* samples, size_t count)
{
    float largest = 0;
    for (size_t i = 0; i < count; ++i)
        largest = std::max(largest, std::fabs(samples[i]));
    return largest;
}

// The largest interpolated magnitude in the gaps that `buffer` (History samples before the new
// ones) holds completely: gap i lies between buffer[i + TapsBefore] and the sample after it. All
// three points of a gap are made from the same twelve samples at once. Stretches whose samples
// cannot give a point above `floor` are passed over.
float interpolatedPeak(const float* buffer, size_t length, float floor)
{
    if (length < Taps)
        return 0;
    static const float bound = interpolationBound();
    constexpr size_t Stretch = 32;
    const auto& [p1, p2, p3] = interpolationPhases();
    const size_t gaps = length - History;
    float largest = 0;
    for (size_t from = 0; from < gaps; from += Stretch) {
        const size_t to = std::min(gaps, from + Stretch);
        if (largestMagnitude(buffer + from, to - from + History) * bound <= std::max(floor, largest))
            continue;
        for (size_t i = from; i < to; ++i) {
            float a = 0, b = 0, c = 0;
            for (int k = 0; k < Taps; ++k) {
                const float x = buffer[i + k];
                a += p1[k] * x;
                b += p2[k] * x;
                c += p3[k] * x;
            }
            largest = std::max(largest, std::max(std::fabs(a), std::max(std::fabs(b), std::fabs(c))));
        }
    }
    return largest;
}

double decibels(double linear) { return linear > 0 ? 20 * std::log10(linear) : -HUGE_VAL; }

} // namespace

KWeighting kWeightingFor(int sampleRate)
{
    KWeighting k{};
    // Stage 1: the high shelf that models the head (+4 dB above about 1.7 kHz).
    {
        const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
        const double K = std::tan(M_PI * f0 / sampleRate);
        const double vh = std::pow(10.0, gainDb / 20.0);
        const double vb = std::pow(vh, 0.4996667741545416);
        const double a0 = 1.0 + K / q + K * K;
        k.shelf[0] = (vh + vb * K / q + K * K) / a0;
        k.shelf[1] = 2.0 * (K * K - vh) / a0;
        k.shelf[2] = (vh - vb * K / q + K * K) / a0;
        k.shelf[3] = 2.0 * (K * K - 1.0) / a0;
        k.shelf[4] = (1.0 - K / q + K * K) / a0;
    }
    // Stage 2: the high pass (RLB weighting) at about 38 Hz.
    {
        const double f0 = 38.13547087602444, q = 0.5003270373238773;
        const double K = std::tan(M_PI * f0 / sampleRate);
        const double a0 = 1.0 + K / q + K * K;
        k.highPass[0] = 1.0;
        k.highPass[1] = -2.0;
        k.highPass[2] = 1.0;
        k.highPass[3] = 2.0 * (K * K - 1.0) / a0;
        k.highPass[4] = (1.0 - K / q + K * K) / a0;
    }
    return k;
}

double loudnessOf(double meanSquare)
{
    return meanSquare > 0 ? -0.691 + 10 * std::log10(meanSquare) : -HUGE_VAL;
}

LoudnessMeter::LoudnessMeter(int sampleRate, std::vector<double> channelWeights)
    : subBlockLength_(std::max(1, static_cast<int>(std::lround(sampleRate * 0.1))))
{
    const KWeighting k = kWeightingFor(sampleRate);
    for (const double weight : channelWeights) {
        Channel channel{{k.shelf[0], k.shelf[1], k.shelf[2], k.shelf[3], k.shelf[4]},
                        {k.highPass[0], k.highPass[1], k.highPass[2], k.highPass[3], k.highPass[4]},
                        weight,
                        std::vector<float>(History, 0.0f)};
        channels_.push_back(std::move(channel));
    }
}

void LoudnessMeter::add(const float* const* planes, int count)
{
    if (count <= 0)
        return;
    findTruePeaks(planes, count);
    for (int done = 0; done < count;) {
        const int step = std::min(count - done, subBlockLength_ - subBlockFill_);
        weigh(planes, done, step);
        done += step;
        subBlockFill_ += step;
        if (subBlockFill_ == subBlockLength_)
            closeSubBlock();
    }
    samples_ += count;
}

void LoudnessMeter::weigh(const float* const* planes, int from, int count)
{
    for (size_t c = 0; c < channels_.size(); ++c) {
        Channel& channel = channels_[c];
        const float* x = planes[c] + from;
        double squares = 0;
        for (int i = 0; i < count; ++i) {
            const double y = channel.highPass.run(channel.shelf.run(x[i]));
            squares += y * y;
        }
        subBlockSum_ += channel.weight * squares;
    }
}

void LoudnessMeter::closeSubBlock()
{
    subBlocks_.push_back(subBlockSum_ / subBlockLength_);
    subBlockSum_ = 0;
    subBlockFill_ = 0;
    if (subBlocks_.size() < SubBlocksPerBlock)
        return;
    blockPowers_.push_back(std::accumulate(subBlocks_.begin(), subBlocks_.end(), 0.0) / SubBlocksPerBlock);
    subBlocks_.erase(subBlocks_.begin());
}

// Only stretches whose samples could give a point above the highest one found so far are
// interpolated, which spares most of the work on real programme material.
void LoudnessMeter::findTruePeaks(const float* const* planes, int count)
{
    for (size_t c = 0; c < channels_.size(); ++c) {
        std::vector<float>& window = channels_[c].window;
        window.insert(window.end(), planes[c], planes[c] + count);
        samplePeak_ = std::max<double>(samplePeak_, largestMagnitude(planes[c], static_cast<size_t>(count)));
        truePeak_ = std::max(truePeak_, samplePeak_);
        truePeak_ = std::max<double>(truePeak_, interpolatedPeak(window.data(), window.size(), float(truePeak_)));
        window.erase(window.begin(), window.end() - History);
    }
}

LoudnessMeasurement LoudnessMeter::result() const
{
    LoudnessMeasurement m;
    m.samples = samples_;
    double truePeak = truePeak_;
    for (const Channel& channel : channels_) { // the gaps after the last samples, against silence
        std::vector<float> tail = channel.window;
        tail.resize(tail.size() + Taps - TapsBefore, 0.0f);
        truePeak = std::max<double>(truePeak, interpolatedPeak(tail.data(), tail.size(), float(truePeak)));
    }
    m.truePeakDb = decibels(truePeak);
    m.samplePeakDb = decibels(samplePeak_);

    double gatedSum = 0;
    int gated = 0;
    for (const double power : blockPowers_)
        if (loudnessOf(power) > AbsoluteGateLufs) {
            gatedSum += power;
            ++gated;
        }
    if (gated == 0)
        return m;
    const double relativeGate = loudnessOf(gatedSum / gated) + RelativeGateLu;
    double sum = 0;
    int counted = 0;
    for (const double power : blockPowers_) {
        const double loudness = loudnessOf(power);
        if (loudness > AbsoluteGateLufs && loudness > relativeGate) {
            sum += power;
            ++counted;
        }
    }
    m.integratedLufs = loudnessOf(sum / counted);
    return m;
}
