#pragma once
// The loudness every output is normalised to (EBU R128), or none: the sound is kept as recorded.
#include <QList>
#include <QString>

#include <optional>

// A target in LUFS; empty means "as recorded".
using LoudnessTarget = std::optional<int>;

inline constexpr int MinLoudnessLufs = -31;
inline constexpr int MaxLoudnessLufs = -5;

// A whole number of LUFS from -31 to -5 (blanks around it allowed); anything else gives nullopt.
std::optional<int> ParseLoudnessLufs(const QString &text);

// One entry of the Options dialog's Loudness selector.
struct LoudnessChoice {
    QString label;
    LoudnessTarget target;
};

// "As recorded", then the presets for speech, music streaming and broadcast; a target that is
// none of these (written into the settings by hand) is offered as one more entry.
QList<LoudnessChoice> LoudnessChoices(LoudnessTarget current);

// The entry of `choices` that holds `target`; -1 when none does.
int IndexOfLoudness(const QList<LoudnessChoice> &choices, LoudnessTarget target);
