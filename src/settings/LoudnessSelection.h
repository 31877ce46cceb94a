#pragma once
// The Options dialog's Loudness selector without its window: the choice is stored in the user
// settings at once and handed to the command builder, so it applies to every item converted
// after it is chosen. Cancel gives back the choice the dialog was shown with.
#include "settings/LoudnessTarget.h"

#include <functional>

class TUserSettings;

class TLoudnessSelection {
public:
    // `settings` must outlive this object; `apply` receives every target chosen or loaded.
    TLoudnessSelection(const TUserSettings &settings, std::function<void(LoudnessTarget)> apply);

    // Reads the stored target (unreadable means as recorded) and applies it.
    void load();
    LoudnessTarget target() const { return m_target; }
    QList<LoudnessChoice> choices() const { return LoudnessChoices(m_target); }
    int selectedIndex() const { return IndexOfLoudness(choices(), m_target); }

    // The user's pick among choices(): stored and applied. Throws std::runtime_error when the
    // settings file cannot be written; the target is applied all the same.
    void choose(int index);
    // The dialog is shown: the choice to give back on Cancel.
    void remember() { m_remembered = m_target; }
    // Cancel: the remembered choice comes back (stored and applied) when it changed.
    void restore();

private:
    void set(LoudnessTarget target);

    const TUserSettings &m_settings;
    std::function<void(LoudnessTarget)> m_apply;
    LoudnessTarget m_target;
    LoudnessTarget m_remembered;
};
