#pragma once
// Loudness normalisation (-loudness): a first pass measures the part that will be written, after
// the cut, the rate and channel conversion and the volume; the output then gets one constant gain
// that brings it to the target, and a true-peak limiter only where that gain would lift the
// true peak above the ceiling.
#include "LoudnessMeter.h"
#include "Options.h"

#include <functional>
#include <string>

class InputSource;

constexpr double MinLoudnessTarget = -31.0; // LUFS
constexpr double MaxLoudnessTarget = -5.0;
constexpr double TruePeakCeiling = -1.0;    // dBTP
constexpr double LossyHeadroom = 1.5;       // dB below the ceiling for lossy outputs

struct LoudnessPlan {
    LoudnessMeasurement measured;
    double gainDb = 0;
    bool limiter = false;
    double limitDb = TruePeakCeiling; // the limiter's ceiling, when it is on
};

// The gain that takes `measured` to `targetLufs`: none for silence or sound below the gate. The
// limiter is planned when the gained true peak would pass `ceilingDb`.
LoudnessPlan planLoudness(double targetLufs, const LoudnessMeasurement& measured, double ceilingDb);

// The filters that apply `plan` to audio at `sampleRate` (a chain description for AudioChain),
// or "" when it changes nothing.
std::string loudnessFilters(const LoudnessPlan& plan, int sampleRate);

// Decodes the cut of `input` as the output will hold it (`sampleRate`, `channels`) and measures it;
// nothing is encoded or written. `progress` gets the seconds measured so far now and then.
LoudnessMeasurement measureLoudness(const Options& options, InputSource& input, int sampleRate, int channels,
                                    const std::function<void(double seconds)>& progress);

// The line the encoder prints about it, for instance
// "loudness: input -35.2 LUFS, true peak -20.1 dBTP, gain +19.2 dB" (", limited to -1.0 dBTP" when
// the limiter is on); for silence "loudness: input silent (below -70 LUFS), gain +0.0 dB".
std::string loudnessLine(const LoudnessPlan& plan);
