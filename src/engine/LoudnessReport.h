#pragma once
// What the encoder says about a normalised item: the line
//   loudness: input -35.2 LUFS, true peak -20.1 dBTP, gain +19.2 dB[, limited to -1.0 dBTP]
// or, for silence, "loudness: input silent (below -70 LUFS), gain +0.0 dB".
#include <QString>

#include <optional>

struct LoudnessReport {
    std::optional<double> inputLufs; // none: silent (below the measurement gate)
    double gainDb = 0;
    bool limited = false;            // a true-peak limiter was needed
};

// The last such line among the complete lines of `chunk`; none when it holds no such line.
std::optional<LoudnessReport> FindLoudnessReport(const QString &chunk);

// "input -35.2 LUFS, gain +19.2 dB" (", peaks limited" when they were), or
// "input silent, gain +0.0 dB": for log lines and messages.
QString LoudnessReportText(const LoudnessReport &report);
