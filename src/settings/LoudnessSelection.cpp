#include "settings/LoudnessSelection.h"

#include "settings/UserSettings.h"

#include <stdexcept>

TLoudnessSelection::TLoudnessSelection(const TUserSettings &settings, std::function<void(LoudnessTarget)> apply)
    : m_settings(settings), m_apply(std::move(apply))
{
}

void TLoudnessSelection::load()
{
    m_target = m_settings.LoadLoudness();
    m_remembered = m_target;
    m_apply(m_target);
}

void TLoudnessSelection::choose(int index)
{
    const QList<LoudnessChoice> all = choices();
    if (index < 0 || index >= all.size())
        return;
    set(all.at(index).target);
}

void TLoudnessSelection::restore()
{
    if (m_remembered != m_target)
        set(m_remembered);
}

void TLoudnessSelection::set(LoudnessTarget target)
{
    m_target = target;
    m_apply(target);
    if (const auto failure = m_settings.SaveLoudness(target))
        throw std::runtime_error(
            QStringLiteral("The loudness choice applies until the program ends but could not be saved.\n%1")
                .arg(*failure)
                .toStdString());
}
