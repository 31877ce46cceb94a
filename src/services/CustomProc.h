#pragma once
// The long-lived service object for conversion, selector, preview, settings and profile
// operations. It forwards to the per-topic classes; the batch run holds its own state.
#include "engine/BatchRun.h"
#include "engine/ConvertParameterBuilder.h"
#include "settings/CustomProfiles.h"
#include "settings/QualityProfiles.h"

class TCommonLib;
class OptionSelectionModel;
class SourceListModel;

class TCustomProc {
public:
    // Every collaborator must outlive this object.
    TCustomProc(TCommonLib &common, OptionSelectionModel &options, SourceListModel &sources);

    SourceListModel &sources() { return m_sources; }
    TCommonLib &common() { return m_common; }

    // Calls into the user settings and the custom profiles. The custom profile hooks are set to
    // this object's profile operations; loading the user settings does nothing until set.
    SelectorHooks &selectorHooks() { return m_selectorHooks; }
    // Replaces the profile load that every converted item runs (LoadSelectedCustomProfile).
    void setLoadSelectedCustomProfile(std::function<void()> hook);
    // The output folder text of the main window.
    void setOutputFolderText(const QString &text) { m_builder.setOutputFolderText(text); }
    QString outputFolderText() const { return m_builder.outputFolderText(); }
    // The loudness target of the Options dialog, for every item built after it is set.
    void setLoudnessTarget(LoudnessTarget target) { m_builder.setLoudnessTarget(target); }

    // The custom profiles and the Options dialog's name box.
    TCustomProfiles &customProfiles() { return m_profiles; }
    CustomProfileBox &customProfileBox() { return m_profileBox; }

    void FillAllSelectors() { ::FillAllSelectors(m_options, m_selectorHooks); }
    void ApplyQualityProfile() { ::ApplyQualityProfile(m_options, m_selectorHooks); }

    // See ConvertParameterBuilder::CreateConvertParameter; fills the common conversion record.
    ConvertResult CreateConvertParameter(const SourceItem &item);
    // What a batch run builds each item's command with, and where it records and reports.
    TBatchServices batchServices();
    QString PrepareOutputFolder() const;
    // The settings a window's item would be converted with now, with the output folder, as one
    // text (ConversionSettingsKey).
    QString conversionSettingsKey() const;

private:
    void bindCustomProfiles();

    TCommonLib &m_common;
    OptionSelectionModel &m_options;
    SourceListModel &m_sources;
    SelectorHooks m_selectorHooks;
    CustomProfileBox m_profileBox;
    TCustomProfiles m_profiles;
    std::function<void()> m_loadSelectedCustomProfile;
    ConvertParameterBuilder m_builder;
};
