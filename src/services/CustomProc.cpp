#include "services/CustomProc.h"

#include "engine/CutTimes.h"
#include "engine/OutputFolder.h"
#include "services/CommonLib.h"

TCustomProc::TCustomProc(TCommonLib &common, OptionSelectionModel &options, SourceListModel &sources)
    : m_common(common), m_options(options), m_sources(sources),
      m_builder(common.programFolder(), options, sources, common.appFunc(), common.fileFunc())
{
    m_builder.setLoadSelectedCustomProfile(m_loadSelectedCustomProfile);
    m_builder.setScriptFolder(common.locations().stateFolder);
}

void TCustomProc::setLoadSelectedCustomProfile(std::function<void()> hook)
{
    m_loadSelectedCustomProfile = std::move(hook);
    m_builder.setLoadSelectedCustomProfile(m_loadSelectedCustomProfile);
}

ConvertResult TCustomProc::CreateConvertParameter(const QString &sourcePath)
{
    return m_builder.CreateConvertParameter(sourcePath, m_common.convertParameter(), m_runState);
}

QString TCustomProc::LookupStartTime(const QString &sourcePath)
{
    return ::LookupStartTime(m_sources, sourcePath, m_loadSelectedCustomProfile);
}

QString TCustomProc::LookupDuration(const QString &sourcePath) const
{
    return ::LookupDuration(m_sources, sourcePath);
}

QString TCustomProc::PrepareOutputFolder() const
{
    return ::PrepareOutputFolder(m_builder.outputFolderText(), m_common.appFunc());
}
