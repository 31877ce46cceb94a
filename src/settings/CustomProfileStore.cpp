#include "settings/CustomProfileStore.h"

#include "settings/ConfigFiles.h"
#include "settings/IniFile32.h"
#include "support/StrFunc.h"

#include <QDir>
#include <algorithm>
#include <climits>

namespace {

const QString CountSection = QStringLiteral("count");
const QString CountKey = QStringLiteral("count");

// Characters that would make the section or key line read back as something else.
bool breaksTheFile(QChar c)
{
    return c == u'=' || c == u'[' || c == u']' || (c.unicode() < 32 && c != u'\t') || c.unicode() == 127;
}

// The stored spelling of `name` among `stored`: the same, else one differing in letter case.
std::optional<QString> spellingIn(const QStringList &stored, const QString &name)
{
    if (stored.contains(name))
        return name;
    for (const QString &candidate : stored) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return std::nullopt;
}

} // namespace

QString ProfileInfoFileName() { return QStringLiteral("UserProfileInfo.ini"); }
QString ProfileCountFileName() { return QStringLiteral("UserProfileCount.ini"); }

QString ListedProfileName(const QString &typed) { return TrimControls(typed); }

std::optional<QString> ProfileNameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("Please input a name for the profile.");
    if (std::any_of(name.begin(), name.end(), breaksTheFile))
        return QStringLiteral("\"%1\" cannot be used as a profile name: a name may not contain \"=\", \"[\", \"]\" "
                              "or a line break.")
            .arg(name.simplified());
    return std::nullopt;
}

TCustomProfileStore::TCustomProfileStore(QString programFolder) : m_programFolder(std::move(programFolder)) {}

QString TCustomProfileStore::infoFile() const { return ConfigFolder(m_programFolder) + ProfileInfoFileName(); }

QString TCustomProfileStore::countFile() const { return ConfigFolder(m_programFolder) + ProfileCountFileName(); }

void TCustomProfileStore::ensureConfigFolder() const
{
    // A failure shows as the write error of the file itself.
    QDir().mkpath(ConfigFolder(m_programFolder));
}

QStringList TCustomProfileStore::names() const
{
    return ListConfigSections(m_programFolder, ProfileInfoFileName());
}

QString TCustomProfileStore::value(const QString &name) const
{
    return ReadConfigValue(m_programFolder, ProfileInfoFileName(), name);
}

std::optional<QString> TCustomProfileStore::storedName(const QString &name) const
{
    return spellingIn(names(), name);
}

int TCustomProfileStore::countAdd() const
{
    ensureConfigFolder();
    TIniFile32 ini(countFile());
    const int stored = ini.ReadInteger(CountSection, CountKey, 0);
    const int count = stored < INT_MAX ? stored + 1 : stored;
    ini.WriteInteger(CountSection, CountKey, count);
    return count;
}

void TCustomProfileStore::store(const QString &name, const QString &value) const
{
    ensureConfigFolder();
    TIniFile32 ini(infoFile());
    QStringList stored;
    ini.ReadSections(stored);
    const QString spelling = spellingIn(stored, name).value_or(name);
    ini.WriteString(spelling, spelling, value);
}

void TCustomProfileStore::erase(const QString &name) const
{
    TIniFile32 ini(infoFile());
    ini.EraseSection(name);
}
