#include "settings/CustomProfiles.h"

#include "settings/QualityProfiles.h"

#include "settings/CustomProfileValue.h"
#include "settings/OptionTables.h"
#include "support/MessageBoxHelpers.h"

TCustomProfiles::TCustomProfiles(QString programFolder, OptionSelectionModel &options, CustomProfileBox &box,
                                 IMessageBoxes &boxes)
    : m_store(std::move(programFolder)), m_options(options), m_box(box), m_boxes(boxes)
{
}

void TCustomProfiles::FillProfileSelector()
{
    const OptionList &qualities = OptionLists::QualityNames();
    const QStringList names = m_store.names();
    m_options.setEntries(Selector::Quality, visibleEntries(qualities) + names);
    // The box names what a conversion will use: the custom profile in force (its stored values
    // are loaded again for every file), else what the values match.
    const std::optional<QString> stored = m_inForce.isEmpty() ? std::nullopt : m_store.storedName(m_inForce);
    const qsizetype chosen = stored ? names.indexOf(*stored) : -1;
    if (chosen >= 0)
        m_options.setSelectedIndex(Selector::Quality, BuiltInQualityCount + static_cast<int>(chosen));
    else
        NameQualityInUse(m_options);
}

void TCustomProfiles::LoadSelectedCustomProfile()
{
    const QString name = m_box.selectedName();
    if (name.isEmpty())
        return;
    ApplyProfileValue(m_options, m_store.value(name), name);
    m_inForce = name;
}

void TCustomProfiles::ReloadProfileInForce()
{
    if (m_inForce.isEmpty())
        return;
    if (const std::optional<QString> stored = m_store.storedName(m_inForce))
        ApplyProfileValue(m_options, m_store.value(*stored), *stored);
}

void TCustomProfiles::storeInForce(const QString &name)
{
    m_store.store(name, ProfileValueOf(m_options));
    m_inForce = m_store.storedName(name).value_or(name);
}

bool TCustomProfiles::acceptable(const QString &name)
{
    const std::optional<QString> problem = ProfileNameProblem(name);
    if (problem)
        ShowMessageBox(m_boxes, *problem, MessageKind::Warning);
    return !problem;
}

void TCustomProfiles::AddCustomProfile()
{
    const int count = m_store.countAdd();
    const std::optional<QString> typed =
        m_boxes.askText(QStringLiteral("Please input a name"), QStringLiteral("UserProfileInfo%1").arg(count));
    if (!typed)
        return;
    const QString name = ListedProfileName(*typed);
    if (acceptable(name))
        storeInForce(name);
}

bool TCustomProfiles::SaveCustomProfile()
{
    const QString name = ListedProfileName(m_box.text());
    if (name.isEmpty())
        return true;
    if (!acceptable(name))
        return false;
    storeInForce(name);
    return true;
}

void TCustomProfiles::DeleteCustomProfile()
{
    if (m_box.entries().isEmpty())
        return;
    const QString name = ListedProfileName(m_box.text());
    m_store.erase(name);
    if (m_inForce.compare(name, Qt::CaseInsensitive) == 0)
        m_inForce.clear();
}

void TCustomProfiles::ChooseCustomProfile(const QString &name)
{
    m_box.setEntries(m_store.names());
    m_box.select(m_box.indexOf(name));
    m_inForce.clear();
    LoadSelectedCustomProfile();
}

void TCustomProfiles::ChooseBuiltInQuality()
{
    m_box.select(-1);
    m_inForce.clear();
}

QStringList CustomProfileNames(const QString &programFolder)
{
    return TCustomProfileStore(programFolder).names();
}

namespace {

template <typename Selection>
bool loadByName(Selection &selection, const QString &programFolder, const QString &name)
{
    const TCustomProfileStore store(programFolder);
    const std::optional<QString> stored = store.storedName(ListedProfileName(name));
    if (!stored)
        return false;
    ApplyProfileValue(selection, store.value(*stored), *stored);
    return true;
}

} // namespace

bool LoadCustomProfileByName(OptionSelectionModel &options, const QString &programFolder, const QString &name)
{
    return loadByName(options, programFolder, name);
}

bool LoadCustomProfileByName(OptionSelection &selection, const QString &programFolder, const QString &name)
{
    return loadByName(selection, programFolder, name);
}
