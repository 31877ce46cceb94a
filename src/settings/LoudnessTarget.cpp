#include "settings/LoudnessTarget.h"

std::optional<int> ParseLoudnessLufs(const QString &text)
{
    bool ok = false;
    const int lufs = text.trimmed().toInt(&ok);
    if (!ok || lufs < MinLoudnessLufs || lufs > MaxLoudnessLufs)
        return std::nullopt;
    return lufs;
}

QList<LoudnessChoice> LoudnessChoices(LoudnessTarget current)
{
    QList<LoudnessChoice> choices{
        {QStringLiteral("As recorded"), std::nullopt},
        {QStringLiteral("Speech and podcasts (-16 LUFS)"), -16},
        {QStringLiteral("Music streaming (-14 LUFS)"), -14},
        {QStringLiteral("Broadcast, EBU R128 (-23 LUFS)"), -23},
    };
    if (IndexOfLoudness(choices, current) < 0)
        choices.append({QStringLiteral("Other (%1 LUFS)").arg(*current), current});
    return choices;
}

int IndexOfLoudness(const QList<LoudnessChoice> &choices, LoudnessTarget target)
{
    for (qsizetype i = 0; i < choices.size(); ++i) {
        if (choices.at(i).target == target)
            return static_cast<int>(i);
    }
    return -1;
}
