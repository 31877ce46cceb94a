#pragma once
// Builds the encoder command for one source file from the option selection and the source
// row's cut times, filling the record of the current conversion on the way.
#include "engine/CommandTemplates.h"
#include "engine/ConvertParameter.h"
#include "settings/LoudnessTarget.h"

#include <functional>

class OptionSelectionModel;
class SourceListModel;
class TAppFunc;
class TFileFunc;

// What one call gives: the command, or (when `error` is set) why this item cannot be converted;
// and the item's cut as it was read. An empty command without an error does not happen; a
// failed item always carries a message.
struct ConvertResult {
    EncoderCommand command;
    QString error;
    QString startText;    // the item's start time, hh:mm:ss; empty when it has no row
    QString durationText; // the item's length in whole seconds; empty when it has no row
    bool ok() const { return error.isEmpty(); }
};

class ConvertParameterBuilder {
public:
    // All collaborators must outlive the builder. `programFolder` ends with the separator.
    ConvertParameterBuilder(QString programFolder, const OptionSelectionModel &options, const SourceListModel &sources,
                            const TAppFunc &log, TFileFunc &fileFunc);

    // Where "VideoFile.avs" is written (ends with the separator); the program folder unless set.
    void setScriptFolder(const QString &folder) { m_scriptFolder = folder; }

    // The output folder text the user chose (default: home + "/Kelvane").
    void setOutputFolderText(const QString &text) { m_outputFolderText = text; }
    const QString &outputFolderText() const { return m_outputFolderText; }

    // The loudness every item built from now on is normalised to; none keeps it as recorded.
    void setLoudnessTarget(LoudnessTarget target) { m_loudness = target; }
    LoudnessTarget loudnessTarget() const { return m_loudness; }

    // Called once for every source row that holds the item, before the selectors are read
    // (loads the custom profile selected in the Options dialog). Does nothing by default.
    void setLoadSelectedCustomProfile(std::function<void()> hook) { m_loadSelectedCustomProfile = std::move(hook); }

    // Runs the custom-profile hook, works out the whole command from the source list and the
    // selectors, and only then acts on it: creates the output folder, rewrites "VideoFile.avs",
    // picks a free output name and logs. Overwrites every field of `parameter`. Every failure of
    // this item (a time that is not a number, a codec that allows no command, an unwritable
    // script) comes back as ConvertResult::error and is logged; it never throws, except when
    // the log itself fails.
    ConvertResult CreateConvertParameter(const QString &sourcePath, TConvertParameterStruct &parameter);

private:
    struct Plan;

    void loadCustomProfiles(const QString &sourcePath) const;
    Plan makePlan(const QString &sourcePath) const;
    CommandFragments readFragments(TConvertParameterStruct &parameter) const;
    ConvertResult carryOut(const QString &sourcePath, const Plan &plan, TConvertParameterStruct &parameter);
    ConvertResult fail(const QString &sourcePath, const QString &reason) const;

    QString m_programFolder;
    QString m_scriptFolder;
    const OptionSelectionModel &m_options;
    const SourceListModel &m_sources;
    const TAppFunc &m_log;
    TFileFunc &m_fileFunc;
    QString m_outputFolderText;
    std::function<void()> m_loadSelectedCustomProfile;
    LoudnessTarget m_loudness;
};

// True for the RealMedia extensions ".rm" and ".rmvb" spelled exactly so (case-sensitive).
bool IsRealMediaPath(const QString &path);
