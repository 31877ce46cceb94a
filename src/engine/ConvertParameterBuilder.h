#pragma once
// Builds the encoder command for one source file from the option selection and the source
// row's cut times, filling the record of the current conversion on the way.
#include "engine/CommandTemplates.h"
#include "engine/ConvertParameter.h"

#include <functional>

class OptionSelectionModel;
class SourceListModel;
class TAppFunc;
class TFileFunc;

// What one call gives: the command, or (when `error` is set) why this item cannot be converted.
// An empty command without an error does not happen; a failed item always carries a message.
struct ConvertResult {
    EncoderCommand command;
    QString error;
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

    // Called for every source row that matches the item, before the selectors are read
    // (loads the custom profile selected in the Options dialog). Does nothing by default.
    void setLoadSelectedCustomProfile(std::function<void()> hook) { m_loadSelectedCustomProfile = std::move(hook); }

    // Overwrites every field of `parameter` and the start/duration texts of `state`, creates the
    // output folder, rewrites "VideoFile.avs" and logs. A failure of this item (unwritable
    // script, a time that is not a number, a codec that allows no command) comes back as
    // ConvertResult::error and is logged; it never throws, except when the log itself fails.
    ConvertResult CreateConvertParameter(const QString &sourcePath, TConvertParameterStruct &parameter,
                                         ConversionRunState &state);

private:
    CommandFragments readFragments(TConvertParameterStruct &parameter) const;
    ConvertResult fail(const QString &sourcePath, const QString &reason) const;

    QString m_programFolder;
    QString m_scriptFolder;
    const OptionSelectionModel &m_options;
    const SourceListModel &m_sources;
    const TAppFunc &m_log;
    TFileFunc &m_fileFunc;
    QString m_outputFolderText;
    std::function<void()> m_loadSelectedCustomProfile;
};

// True for the RealMedia extensions ".rm" and ".rmvb" spelled exactly so (case-sensitive).
bool IsRealMediaPath(const QString &path);
