#include "engine/ConvertParameterBuilder.h"

#include "engine/AvsScript.h"
#include "engine/CutTimes.h"
#include "engine/FragmentBuilders.h"
#include "engine/OutputFolder.h"
#include "media/SourceListModel.h"
#include "settings/OptionSelectionModel.h"
#include "support/AppFunc.h"
#include "support/FileFunc.h"
#include "support/Platform.h"
#include "support/StrFunc.h"

namespace {

Fragment timeRangeFragment(const QString &startText, const QString &durationText)
{
    if (startText.isEmpty() || durationText.isEmpty())
        return {};
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

ConvertParameterBuilder::ConvertParameterBuilder(QString programFolder, const OptionSelectionModel &options,
                                                 const SourceListModel &sources, const TAppFunc &log,
                                                 TFileFunc &fileFunc)
    : m_programFolder(std::move(programFolder)), m_scriptFolder(m_programFolder), m_options(options),
      m_sources(sources), m_log(log), m_fileFunc(fileFunc), m_outputFolderText(DefaultOutputFolder())
{
}

CommandFragments ConvertParameterBuilder::readFragments(TConvertParameterStruct &p) const
{
    const auto index = [this](Selector s) { return m_options.selectedIndex(s); };
    const int outputType = index(Selector::OutputType);
    CommandFragments f;
    f.codec = MakeCodecArg(outputType);
    f.videoBitrate = MakeVideoBitrateArg(m_options, index(Selector::VideoBitrate));
    f.videoSize = MakeVideoSizeArg(m_options, index(Selector::VideoSize));
    f.frameRate = MakeFrameRateArg(m_options, index(Selector::FrameRate));
    f.aspect = MakeAspectArg(m_options, index(Selector::AspectRatio));
    f.audioBitrate = MakeAudioBitrateArg(m_options, index(Selector::AudioBitrate));
    f.volume = MakeVolumeArg(m_options, index(Selector::VolumeGain));
    f.channels = MakeChannelsArg(m_options, index(Selector::AudioChannels));
    f.sampleRate = MakeSampleRateArg(m_options, index(Selector::AudioSample));
    f.format = MakeFormatArg(outputType);
    f.loudness = MakeLoudnessArg(m_loudness);
    if (m_options.keepOriginal())
        f.keepOriginal = Fragment::words(QStringLiteral(" -keeporiginal"));
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

// The command worked out from the source list and the selectors alone: making it touches no
// file and writes no log line.
struct ConvertParameterBuilder::Plan {
    QString startText;
    QString durationText;
    TConvertParameterStruct parameter;
    CommandFragments fragments;
    CommandTemplate chosen = CommandTemplate::Unknown;
};

// The selected custom profile is loaded once for every row that holds the item, before the
// selectors are read.
void ConvertParameterBuilder::loadCustomProfiles(const QString &sourcePath) const
{
    if (!m_loadSelectedCustomProfile)
        return;
    for (int rows = CountRowsHolding(m_sources, sourcePath); rows > 0; --rows)
        m_loadSelectedCustomProfile();
}

// Throws TimeTextError when a cut time is not a number.
ConvertParameterBuilder::Plan ConvertParameterBuilder::makePlan(const QString &sourcePath) const
{
    Plan plan;
    plan.startText = LookupStartTime(m_sources, sourcePath);
    plan.durationText = LookupDuration(m_sources, sourcePath);
    TConvertParameterStruct &p = plan.parameter;
    plan.fragments = readFragments(p);
    plan.fragments.timeRange = timeRangeFragment(plan.startText, plan.durationText);
    p.timeRangeArg = plan.fragments.timeRange.text;
    const int outputType = m_options.selectedIndex(Selector::OutputType);
    p.outputFolder = OutputFolderPath(m_outputFolderText);
    p.baseName = TFileFunc::FileBaseName(sourcePath);
    p.outputExtension = MakeOutputExtension(outputType);
    const bool realMedia = IsRealMediaPath(sourcePath);
    p.encoderPath = m_programFolder + (realMedia ? QStringLiteral("revc") : QStringLiteral("evc")) + Platform::exeSuffix();
    p.inputPath = realMedia ? AvsScriptPath(m_scriptFolder) : sourcePath;
    plan.chosen = ChooseTemplate(p.codecArg, p.outputExtension);
    return plan;
}

ConvertResult ConvertParameterBuilder::CreateConvertParameter(const QString &sourcePath, TConvertParameterStruct &p)
{
    loadCustomProfiles(sourcePath);
    Plan plan;
    try {
        plan = makePlan(sourcePath);
    } catch (const TimeTextError &e) {
        return fail(sourcePath, QString::fromStdString(e.what()));
    }
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
