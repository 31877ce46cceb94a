#pragma once
// Builds the encoder command (the plan: program, arguments, command line, output path) for one
// source item from the encoder settings and the item's own cut, filling the record of the
// current conversion on the way.
#include "engine/CommandTemplates.h"
#include "engine/ConvertParameter.h"
#include "settings/EncoderSettings.h"
#include "settings/LoudnessTarget.h"

#include <functional>

class OptionSelectionModel;
struct SourceItem;
class TAppFunc;
class TFileFunc;

// What one call gives: the command, or (when `error` is set) why this item cannot be converted;
// and the item's cut as it was read. An empty command without an error does not happen; a
// failed item always carries a message.
struct ConvertResult {
    EncoderCommand command;
    QString error;
    QString startText;    // the item's start time, hh:mm:ss
    QString durationText; // the item's length in whole seconds
    bool ok() const { return error.isEmpty(); }
};

class ConvertParameterBuilder {
public:
    // All collaborators must outlive the builder. `programFolder` ends with the separator.
    // `options` are the window's selectors (nothing for a program without them).
    ConvertParameterBuilder(QString programFolder, const OptionSelectionModel *options, const TAppFunc &log,
                            TFileFunc &fileFunc);

    // Where "VideoFile.avs" is written (ends with the separator); the program folder unless set.
    void setScriptFolder(const QString &folder) { m_scriptFolder = folder; }
    const QString &scriptFolder() const { return m_scriptFolder; }
    // Where the output names are picked; it also holds the names promised to running encoders.
    TFileFunc &fileFunc() const { return m_fileFunc; }

    // The output folder text the user chose (default: home + "/Kelvane").
    void setOutputFolderText(const QString &text) { m_outputFolderText = text; }
    const QString &outputFolderText() const { return m_outputFolderText; }

    // The loudness the window's items built from now on are normalised to; none keeps it as
    // recorded. (Settings handed in whole carry their own.)
    void setLoudnessTarget(LoudnessTarget target) { m_loudness = target; }
    LoudnessTarget loudnessTarget() const { return m_loudness; }

    // Called once for every item the window converts, before the selectors are read (loads the
    // custom profile selected in the Options dialog). Does nothing by default.
    void setLoadSelectedCustomProfile(std::function<void()> hook) { m_loadSelectedCustomProfile = std::move(hook); }

    // Works out the whole command from the item and the settings, and only then acts on it: creates the output folder, rewrites "VideoFile.avs",
    // picks a free output name and logs. Overwrites every field of `parameter`. Every failure of
    // this item (a codec that allows no command, an unwritable script) comes back as
    // ConvertResult::error and is logged; it never throws, except when the log itself fails.
    ConvertResult CreateConvertParameter(const SourceItem &item, const EncoderSettings &settings,
                                         TConvertParameterStruct &parameter);
    // The window's item: the custom-profile hook, then the settings of its selectors.
    ConvertResult CreateConvertParameter(const SourceItem &item, TConvertParameterStruct &parameter);

private:
    struct Plan;

    Plan makePlan(const SourceItem &item, const EncoderSettings &settings) const;
    static CommandFragments readFragments(const EncoderSettings &settings, TConvertParameterStruct &parameter);
    ConvertResult carryOut(const QString &sourcePath, const Plan &plan, TConvertParameterStruct &parameter);
    ConvertResult fail(const QString &sourcePath, const QString &reason) const;

    QString m_programFolder;
    QString m_scriptFolder;
    const OptionSelectionModel *m_options;
    const TAppFunc &m_log;
    TFileFunc &m_fileFunc;
    QString m_outputFolderText;
    std::function<void()> m_loadSelectedCustomProfile;
    LoudnessTarget m_loudness;
};

// True for the RealMedia extensions ".rm" and ".rmvb" spelled exactly so (case-sensitive).
bool IsRealMediaPath(const QString &path);
