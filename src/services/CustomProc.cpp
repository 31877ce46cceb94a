#include "services/CustomProc.h"

#include "engine/OutputFolder.h"
#include "services/CommonLib.h"
#include "services/ConvertedRows.h"
#include "settings/IniFile32.h"

TCustomProc::TCustomProc(TCommonLib &common, OptionSelectionModel &options, SourceListModel &sources)
    : m_common(common), m_options(options), m_sources(sources),
      m_profiles(common.locations().configBase, options, m_profileBox, common.messageBoxes()),
      m_builder(common.programFolder(), &options, common.appFunc(), common.fileFunc())
{
    m_builder.setScriptFolder(common.locations().stateFolder);
    bindCustomProfiles();
}

// The main window finds a custom profile by its name, so the choice holds whether or not the
// Options dialog has listed the names yet.
void TCustomProc::bindCustomProfiles()
{
    m_selectorHooks.customProfileNames = [this] {
        try {
            return m_profiles.store().names();
        } catch (const IniFileError &e) {
            m_common.WriteLog(QString::fromStdString(e.what()));
            return QStringList();
        }
    };
    m_selectorHooks.loadCustomProfile = [this](int position) {
        m_profiles.ChooseCustomProfile(m_options.entryText(Selector::Quality, BuiltInQualityCount + position));
    };
    m_selectorHooks.builtInQualityApplied = [this] { m_profiles.ChooseBuiltInQuality(); };
    setLoadSelectedCustomProfile([this] { m_profiles.LoadSelectedCustomProfile(); });
}

void TCustomProc::setLoadSelectedCustomProfile(std::function<void()> hook)
{
    m_loadSelectedCustomProfile = std::move(hook);
    m_builder.setLoadSelectedCustomProfile(m_loadSelectedCustomProfile);
}

ConvertResult TCustomProc::CreateConvertParameter(const SourceItem &item)
{
    return m_builder.CreateConvertParameter(item, m_common.convertParameter());
}

TBatchServices TCustomProc::batchServices()
{
    return {m_builder, m_common.convertParameter(), m_common.appFunc(), m_common.messageBoxes()};
}

QString TCustomProc::PrepareOutputFolder() const
{
    return ::PrepareOutputFolder(m_builder.outputFolderText(), m_common.appFunc());
}

QString TCustomProc::conversionSettingsKey() const
{
    EncoderSettings settings = EncoderSettingsFrom(m_options.selection());
    settings.loudness = m_builder.loudnessTarget();
    settings.keepOriginal = m_options.keepOriginal();
    return ConversionSettingsKey(settings, OutputFolderPath(m_builder.outputFolderText()));
}
