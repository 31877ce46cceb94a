#include "settings/ConfigFiles.h"

#include "settings/IniFile32.h"
#include "support/Platform.h"

QString ConfigFolder(const QString &programFolder)
{
    return programFolder + QStringLiteral("Config") + QChar(Platform::PathSeparator);
}

QStringList ListConfigSections(const QString &programFolder, const QString &fileName)
{
    QStringList sections;
    TIniFile32(ConfigFolder(programFolder) + fileName).ReadSections(sections);
    return sections;
}

QString ReadConfigValue(const QString &programFolder, const QString &fileName, const QString &name)
{
    return TIniFile32(ConfigFolder(programFolder) + fileName).ReadString(name, name, QString());
}
