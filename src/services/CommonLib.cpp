#include "services/CommonLib.h"

#include "settings/ConfigFiles.h"
#include "support/MessageBoxHelpers.h"
#include "support/StrFunc.h"
#include "support/WorkingSet.h"

TCommonLib::TCommonLib(QString programFolder, const IClock &clock, IMessageBoxes &boxes)
    : m_programFolder(std::move(programFolder)), m_appFunc(m_programFolder, clock), m_boxes(boxes)
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

qint64 TCommonLib::FileSizeOf(const QString &path) const
{
    return ::FileSizeOf(path);
}

bool TCommonLib::ShowMessageBox(const QString &text, int kind)
{
    return ::ShowMessageBox(m_boxes, text, kind);
}

QStringList TCommonLib::ListConfigSections(const QString &fileName) const
{
    return ::ListConfigSections(m_programFolder, fileName);
}

QString TCommonLib::ReadConfigValue(const QString &fileName, const QString &name) const
{
    return ::ReadConfigValue(m_programFolder, fileName, name);
}

void TCommonLib::TrimWorkingSet()
{
    ::TrimWorkingSet();
}
