#pragma once
// Programme loudness and true peak as ITU-R BS.1770 defines them: K-weighted mean square in
// 400 ms blocks (75 % overlap), an absolute gate at -70 LUFS and a relative gate 10 LU below the
// loudness of the blocks above it; the true peak on a 4x oversampled signal.
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

struct LoudnessMeasurement {
    std::optional<double> integratedLufs; // none when no block is above the absolute gate
    double truePeakDb = -HUGE_VAL;        // dBTP; -inf for digital silence
    double samplePeakDb = -HUGE_VAL;      // dBFS
    int64_t samples = 0;                  // per channel
};

class LoudnessMeter {
public:
    // `channelWeights`: BS.1770's weight per channel (1 for front channels, about 1.41 for
    // surround channels, 0 for low-frequency effects).
    LoudnessMeter(int sampleRate, std::vector<double> channelWeights);

    // Takes `count` samples of every channel; `planes[c]` holds channel c.
    void add(const float* const* planes, int count);
    // Everything added so far.
    LoudnessMeasurement result() const;

private:
    struct Biquad {
        double b0, b1, b2, a1, a2;
        double z1 = 0, z2 = 0;
        double run(double x)
        {
            const double y = b0 * x + z1;
            z1 = b1 * x - a1 * y + z2;
            z2 = b2 * x - a2 * y;
            return y;
        }
    };
    struct Channel {
        Biquad shelf;
        Biquad highPass;
        double weight = 1;
        std::vector<float> window; // the last samples, for the oversampling filter
    };

    void weigh(const float* const* planes, int from, int count);
    void closeSubBlock();
    void findTruePeaks(const float* const* planes, int count);

    int subBlockLength_;              // 100 ms in samples
    std::vector<Channel> channels_;
    double subBlockSum_ = 0;          // weighted sum of squares in the open sub-block
    int subBlockFill_ = 0;
    std::vector<double> subBlocks_;   // the last three closed sub-blocks' mean squares
    std::vector<double> blockPowers_; // every 400 ms block's weighted mean square
    double truePeak_ = 0;             // linear
    double samplePeak_ = 0;
    int64_t samples_ = 0;
};

// The K-weighting filter's two stages for `sampleRate` (high shelf, then high pass), as
// {b0, b1, b2, a1, a2} each.
struct KWeighting {
    double shelf[5];
    double highPass[5];
};
KWeighting kWeightingFor(int sampleRate);

// 10 * log10 of a mean square turned into LUFS (the -0.691 of BS.1770).
double loudnessOf(double meanSquare);
