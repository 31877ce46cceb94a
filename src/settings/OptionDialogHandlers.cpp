#include "settings/OptionDialogHandlers.h"

#include "settings/CustomProfiles.h"
#include "settings/OptionTables.h"

TOptionDialogHandlers::TOptionDialogHandlers(TCustomProfiles &profiles, OptionSelectionModel &options)
    : m_profiles(profiles), m_options(options)
{
}

// The indexes are remembered before the names are read: when the profile file cannot be read,
// Cancel still gives back what the selectors showed, not indexes of an earlier showing.
void TOptionDialogHandlers::FormShow()
{
    for (size_t i = 0; i < RememberedSelectors.size(); ++i)
        m_rememberedOptions[i] = m_options.selectedIndex(RememberedSelectors[i]);
    CustomProfileBox &box = m_profiles.box();
    m_rememberedName = box.selectedIndex();
    box.setEntries(m_profiles.store().names());
    if (box.text().isEmpty() && m_options.selectedIndex(Selector::Quality) >= BuiltInQualityCount)
        box.select(box.indexOf(m_options.selectedText(Selector::Quality)));
    m_rememberedName = box.selectedIndex();
    m_rememberedInForce = m_profiles.profileInForce();
}

void TOptionDialogHandlers::cbbCustomProfileChange()
{
    m_profiles.LoadSelectedCustomProfile();
}

void TOptionDialogHandlers::ProfileOptionChange()
{
    m_profiles.LeaveProfileInForce();
}

CustomProfileBox &TOptionDialogHandlers::reloadNames()
{
    CustomProfileBox &box = m_profiles.box();
    box.setEntries(m_profiles.store().names());
    return box;
}

void TOptionDialogHandlers::reloadNamesSelectingLast()
{
    CustomProfileBox &box = reloadNames();
    box.select(int(box.entries().size()) - 1);
}

void TOptionDialogHandlers::btnAddClick()
{
    m_profiles.AddCustomProfile();
    reloadNamesSelectingLast();
}

// The saved profile stays selected, so that a second Save writes to it again and to no other.
void TOptionDialogHandlers::btnSaveClick()
{
    const QString name = ListedProfileName(m_profiles.box().text());
    if (!m_profiles.SaveCustomProfile())
        return;
    CustomProfileBox &box = reloadNames();
    box.select(box.indexOf(name));
}

void TOptionDialogHandlers::btnDelClick()
{
    m_profiles.DeleteCustomProfile();
    reloadNamesSelectingLast();
}

void TOptionDialogHandlers::btnApplyClick()
{
    m_profiles.FillProfileSelector();
}

void TOptionDialogHandlers::btnCancelClick()
{
    for (size_t i = 0; i < RememberedSelectors.size(); ++i)
        m_options.setSelectedIndex(RememberedSelectors[i], m_rememberedOptions[i]);
    m_profiles.box().select(m_rememberedName);
    m_profiles.RestoreProfileInForce(m_rememberedInForce);
}
