#include "settings/OptionDialogHandlers.h"

#include "settings/CustomProfiles.h"
#include "settings/OptionTables.h"

TOptionDialogHandlers::TOptionDialogHandlers(TCustomProfiles &profiles, OptionSelectionModel &options)
    : m_profiles(profiles), m_options(options)
{
}

void TOptionDialogHandlers::FormShow()
{
    CustomProfileBox &box = m_profiles.box();
    box.setEntries(m_profiles.store().names());
    if (box.text().isEmpty() && m_options.selectedIndex(Selector::Quality) >= BuiltInQualityCount)
        box.select(box.indexOf(m_options.selectedText(Selector::Quality)));
    for (size_t i = 0; i < RememberedSelectors.size(); ++i)
        m_rememberedOptions[i] = m_options.selectedIndex(RememberedSelectors[i]);
    m_rememberedName = box.selectedIndex();
}

void TOptionDialogHandlers::cbbCustomProfileChange()
{
    m_profiles.LoadSelectedCustomProfile();
}

void TOptionDialogHandlers::reloadNamesSelectingLast()
{
    CustomProfileBox &box = m_profiles.box();
    box.setEntries(m_profiles.store().names());
    box.select(int(box.entries().size()) - 1);
}

void TOptionDialogHandlers::btnAddClick()
{
    m_profiles.AddCustomProfile();
    reloadNamesSelectingLast();
}

void TOptionDialogHandlers::btnSaveClick()
{
    if (m_profiles.SaveCustomProfile())
        reloadNamesSelectingLast();
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
}
