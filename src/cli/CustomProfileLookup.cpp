#include "cli/CustomProfileLookup.h"

#include "settings/IniFile32.h"
#include "support/Platform.h"

CustomProfileLookup LookUpCustomProfile(const QString &programFolder, const QString &name)
{
    CustomProfileLookup lookup;
    const QString fileName = programFolder + QStringLiteral("Config") + QChar(Platform::PathSeparator)
                             + QStringLiteral("UserProfileInfo.ini");
    try {
        const TIniFile32 ini(fileName);
        ini.ReadSections(lookup.names);
        if (lookup.names.contains(name))
            lookup.value = ini.ReadString(name, name, QString());
    } catch (const IniFileError &e) {
        lookup.error = QString::fromStdString(e.what());
    }
    return lookup;
}
