#include "engine/ConvertParameterBuilder.h"

#include "engine/AvsScript.h"
#include "engine/FragmentBuilders.h"
#include "engine/OutputFolder.h"
#include "media/SourceItem.h"
#include "media/TimeText.h"
#include "settings/OptionSelectionModel.h"
#include "support/AppFunc.h"
#include "support/FileFunc.h"
#include "support/Platform.h"

namespace {

Fragment timeRangeFragment(const QString &startText, const QString &durationText)
{
    return {QStringLiteral(" -ss ") + startText + QStringLiteral(" -t ") + durationText,
            {QStringLiteral("-ss"), startText, QStringLiteral("-t"), durationText}};
}

} // namespace

bool IsRealMediaPath(const QString &path)
{
    // The text from the last dot on, exactly as spelled.
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QString extension = path.mid(dot);
    return extension == u".rm" || extension == u".rmvb";
}

ConvertParameterBuilder::ConvertParameterBuilder(QString programFolder, const OptionSelectionModel *options,
                                                 const TAppFunc &log, TFileFunc &fileFunc)
    : m_programFolder(std::move(programFolder)), m_scriptFolder(m_programFolder), m_options(options), m_log(log),
      m_fileFunc(fileFunc), m_outputFolderText(DefaultOutputFolder())
{
}

CommandFragments ConvertParameterBuilder::readFragments(const EncoderSettings &settings, TConvertParameterStruct &p)
{
    const CommandFragments f = MakeOptionFragments(settings);
    p.codecArg = f.codec.text;
    p.videoBitrateArg = f.videoBitrate.text;
    p.videoSizeArg = f.videoSize.text;
    p.frameRateArg = f.frameRate.text;
    p.aspectArg = f.aspect.text;
    p.audioBitrateArg = f.audioBitrate.text;
    p.volumeArg = f.volume.text;
    p.channelsArg = f.channels.text;
    p.sampleRateArg = f.sampleRate.text;
    p.formatArg = f.format.text;
    p.loudnessArg = f.loudness.text;
    return f;
}

ConvertResult ConvertParameterBuilder::fail(const QString &sourcePath, const QString &reason) const
{
    const QString message = QStringLiteral("Cannot convert '%1': %2").arg(sourcePath, reason);
    m_log.WriteLog(message);
    ConvertResult failed;
    failed.error = message;
    return failed;
}

// The command worked out from the item and the settings alone: making it touches no
// file and writes no log line.
struct ConvertParameterBuilder::Plan {
    QString startText;
    QString durationText;
    TConvertParameterStruct parameter;
    CommandFragments fragments;
    CommandTemplate chosen = CommandTemplate::Unknown;
};

ConvertParameterBuilder::Plan ConvertParameterBuilder::makePlan(const SourceItem &item,
                                                                const EncoderSettings &settings) const
{
    const QString &sourcePath = item.path;
    const ConversionRange range = ConversionRangeOf(item);
    Plan plan;
    plan.startText = FormatTimeText(range.startSeconds);
    plan.durationText = QString::number(range.lengthSeconds);
    TConvertParameterStruct &p = plan.parameter;
    plan.fragments = readFragments(settings, p);
    plan.fragments.timeRange = timeRangeFragment(plan.startText, plan.durationText);
    plan.fragments.extra = MakeExtraEncoderArgs(item, settings);
    p.timeRangeArg = plan.fragments.timeRange.text;
    const int outputType = settings.outputType;
    p.outputFolder = OutputFolderPath(m_outputFolderText);
    p.baseName = TFileFunc::FileBaseName(sourcePath);
    p.outputExtension = MakeOutputExtension(outputType);
    const bool realMedia = IsRealMediaPath(sourcePath);
    p.encoderPath = m_programFolder + (realMedia ? QStringLiteral("revc") : QStringLiteral("evc")) + Platform::exeSuffix();
    p.inputPath = realMedia ? AvsScriptPath(m_scriptFolder) : sourcePath;
    plan.chosen = ChooseTemplate(p.codecArg, p.outputExtension);
    return plan;
}

ConvertResult ConvertParameterBuilder::CreateConvertParameter(const SourceItem &item, TConvertParameterStruct &p)
{
    if (m_loadSelectedCustomProfile)
        m_loadSelectedCustomProfile();
    EncoderSettings settings = m_options ? EncoderSettingsFrom(m_options->selection()) : EncoderSettings();
    settings.loudness = m_loudness;
    settings.keepOriginal = m_options && m_options->keepOriginal();
    return CreateConvertParameter(item, settings, p);
}

ConvertResult ConvertParameterBuilder::CreateConvertParameter(const SourceItem &item, const EncoderSettings &settings,
                                                              TConvertParameterStruct &p)
{
    const QString &sourcePath = item.path;
    const Plan plan = makePlan(item, settings);
    p = plan.parameter;
    if (plan.chosen == CommandTemplate::NoneCodec) {
        m_log.WriteLog(QStringLiteral("Create convert parameter failure."));
        return {{}, QStringLiteral("Create convert parameter failure."), plan.startText, plan.durationText};
    }
    if (plan.chosen == CommandTemplate::Unknown)
        return fail(sourcePath,
                    QStringLiteral("No encoder command is known for the codec option '%1'.").arg(p.codecArg.trimmed()));
    return carryOut(sourcePath, plan, p);
}

// What the plan needs done before the encoder can start: the output folder created (and
// logged), "VideoFile.avs" rewritten, and a name in the folder that no file has yet.
ConvertResult ConvertParameterBuilder::carryOut(const QString &sourcePath, const Plan &plan, TConvertParameterStruct &p)
{
    p.outputFolder = PrepareOutputFolder(m_outputFolderText, m_log);
    try {
        WriteAvsScript(m_scriptFolder, sourcePath);
    } catch (const AvsWriteError &e) {
        return fail(sourcePath, QString::fromStdString(e.what()));
    }
    const QString outputPath = m_fileFunc.UniqueFileName(p.outputFolder + p.baseName + p.outputExtension);
    return {AssembleCommand(plan.chosen, p.encoderPath, p.inputPath, plan.fragments, outputPath), {}, plan.startText,
            plan.durationText};
}
