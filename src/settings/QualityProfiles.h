#pragma once
// Filling the option selectors from the built-in lists and applying a quality profile.
#include "settings/OptionSelectionModel.h"
#include "settings/OptionTables.h"

#include <functional>
#include <optional>

// Calls into the user settings and the custom profiles. Each defaults to "nothing stored".
struct SelectorHooks {
    // Names of the custom profiles, listed after the built-in qualities.
    std::function<QStringList()> customProfileNames = [] { return QStringList(); };
    // Loads the stored user settings after the selectors are filled.
    std::function<void()> loadUserSettings = [] {};
    // Selects custom profile `position` (0-based) and loads it into the selectors.
    std::function<void(int position)> loadCustomProfile = [](int) {};
    // A built-in quality is being applied: a custom profile chosen earlier no longer holds.
    std::function<void()> builtInQualityApplied = [] {};
};

// Puts the visible entries of `list` into the selector and selects its default index.
void FillSelector(OptionSelectionModel &model, Selector selector, const OptionList &list);

// Fills every selector (quality: built-in names, then custom profile names, default
// "Normal Quality"), then loads the user settings.
void FillAllSelectors(OptionSelectionModel &model, const SelectorHooks &hooks);

// Sets the selectors from the profile row of the selected output type and quality, and the
// enabled states of the quality selector and the Options button. A custom profile (quality 5
// and up) is loaded through the hooks and leaves the enabled states alone; a built-in one is
// announced to them first.
void ApplyQualityProfile(OptionSelectionModel &model, const SelectorHooks &hooks);

// The quality box's entry for option values that match no built-in quality. It follows the
// built-in qualities and the custom profiles, is selected while it names what will be used,
// and is never stored.
inline constexpr char CustomSettingsEntry[] = "Custom settings";

// The built-in quality (0 to 4) whose row for the selected output type the six profile
// selectors match (a field "none" matches anything); nullopt when none does.
std::optional<int> MatchingBuiltInQuality(const OptionSelectionModel &model);

// Makes the quality box name the built-in quality that the option values match, or else the
// "Custom settings" entry (added when missing). The entry is removed again when it is not
// needed. Selects from code: no profile is applied.
void NameQualityInUse(OptionSelectionModel &model);
