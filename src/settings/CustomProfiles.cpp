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
    // The box names what a conversion will use: the custom profile chosen in the name box
    // (its stored values are loaded again for every file), else what the values match.
    const qsizetype chosen = names.indexOf(m_box.selectedName());
    if (!m_box.selectedName().isEmpty() && chosen >= 0)
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
        m_store.store(name, ProfileValueOf(m_options));
}

bool TCustomProfiles::SaveCustomProfile()
{
    const QString name = ListedProfileName(m_box.text());
    if (name.isEmpty())
        return true;
    if (!acceptable(name))
        return false;
    m_store.store(name, ProfileValueOf(m_options));
    return true;
}

void TCustomProfiles::DeleteCustomProfile()
{
    if (!m_box.entries().isEmpty())
        m_store.erase(ListedProfileName(m_box.text()));
}

void TCustomProfiles::ChooseCustomProfile(const QString &name)
{
    m_box.setEntries(m_store.names());
    m_box.select(m_box.indexOf(name));
    LoadSelectedCustomProfile();
}

void TCustomProfiles::ChooseBuiltInQuality()
{
    m_box.select(-1);
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
