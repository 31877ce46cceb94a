#pragma once
// The long-lived service object for conversion, selector, preview, settings and profile
// operations. It holds the batch run state and forwards to the per-topic classes.
#include "engine/ConvertParameterBuilder.h"
#include "settings/QualityProfiles.h"

class TCommonLib;
class OptionSelectionModel;
class SourceListModel;

class TCustomProc {
public:
    // Every collaborator must outlive this object.
    TCustomProc(TCommonLib &common, OptionSelectionModel &options, SourceListModel &sources);

    ConversionRunState &runState() { return m_runState; }
    const ConversionRunState &runState() const { return m_runState; }
    OptionSelectionModel &options() { return m_options; }
    SourceListModel &sources() { return m_sources; }
    TCommonLib &common() { return m_common; }

    // Calls into the user settings and the custom profiles; they do nothing until set.
    SelectorHooks &selectorHooks() { return m_selectorHooks; }
    void setLoadSelectedCustomProfile(std::function<void()> hook);
    // The output folder text of the main window.
    void setOutputFolderText(const QString &text) { m_builder.setOutputFolderText(text); }
    QString outputFolderText() const { return m_builder.outputFolderText(); }

    void FillAllSelectors() { ::FillAllSelectors(m_options, m_selectorHooks); }
    void ApplyQualityProfile() { ::ApplyQualityProfile(m_options, m_selectorHooks); }

    // See ConvertParameterBuilder::CreateConvertParameter; fills the common conversion record.
    ConvertResult CreateConvertParameter(const QString &sourcePath);
    QString LookupStartTime(const QString &sourcePath);
    QString LookupDuration(const QString &sourcePath) const;
    QString PrepareOutputFolder() const;

private:
    TCommonLib &m_common;
    OptionSelectionModel &m_options;
    SourceListModel &m_sources;
    ConversionRunState m_runState;
    SelectorHooks m_selectorHooks;
    std::function<void()> m_loadSelectedCustomProfile = [] {};
    ConvertParameterBuilder m_builder;
};
