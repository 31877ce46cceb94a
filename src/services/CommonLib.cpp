#include "services/CommonLib.h"

#include "settings/ConfigFiles.h"
#include "support/MessageBoxHelpers.h"
#include "support/StrFunc.h"

TCommonLib::TCommonLib(QString programFolder, const IClock &clock, IMessageBoxes &boxes)
    : TCommonLib(FileLocations::portableIn(programFolder), clock, boxes)
{
}

TCommonLib::TCommonLib(FileLocations locations, const IClock &clock, IMessageBoxes &boxes)
    : m_locations(std::move(locations)), m_appFunc(m_locations.stateFolder, clock), m_boxes(boxes)
{
}

QStringList TCommonLib::SplitByChar(const QString &text, QChar separator) const
{
    return ::SplitByChar(text, separator);
}

double TCommonLib::NumericPart(const QString &text) const
{
    return ::NumericPart(text);
}

bool TCommonLib::ShowMessageBox(const QString &text, int kind)
{
    return ::ShowMessageBox(m_boxes, text, kind);
}

QStringList TCommonLib::ListConfigSections(const QString &fileName) const
{
    return ::ListConfigSections(m_locations.configBase, fileName);
}

QString TCommonLib::ReadConfigValue(const QString &fileName, const QString &name) const
{
    return ::ReadConfigValue(m_locations.configBase, fileName, name);
}
