#include "cli/ConvertProgram.h"

#include "cli/AudioTrackChoice.h"
#include "cli/CommandLineOptions.h"
#include "cli/OptionChoice.h"
#include "cli/ParallelConversion.h"
#include "cli/SourceArguments.h"
#include "engine/OutputFolder.h"
#include "media/DurationProbe.h"
#include "media/ProbeGraph.h"
#include "settings/UserSettings.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Makes the output folder (and its parents) and checks that files can be written in it; an
// empty text when they can, else why not.
QString outputFolderProblem(const QString &folderText)
{
    const QString folder = QDir(folderText).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("the output folder '%1' cannot be made.").arg(folder);
    const QFileInfo info(folder);
    if (!info.isWritable() || !info.isExecutable())
        return QStringLiteral("files cannot be written in the output folder '%1'.").arg(folder);
    return {};
}

} // namespace

ConvertProgram::ConvertProgram(QStringList arguments, ConvertEnvironment environment, ConsoleReport &console,
                               QObject *parent)
    : QObject(parent), m_arguments(std::move(arguments)), m_environment(std::move(environment)), m_console(console),
      m_log(m_environment.locations.stateFolder, *m_environment.clock)
{
    connect(&m_progressTimer, &QTimer::timeout, this, [this] {
        if (m_conversion)
            m_console.progress(progress(), m_clock.elapsed());
    });
}

ConvertProgram::~ConvertProgram() = default;

void ConvertProgram::start()
{
    try {
        begin();
    } catch (const std::exception &e) {
        // Nothing may unwind into the event loop; what could not be handled ends the run.
        m_console.error(QString::fromLocal8Bit(e.what()));
        if (m_conversion)
            m_conversion->stop();
        else
            finish(ExitSomeFailed);
    }
}

void ConvertProgram::begin()
{
    m_clock.start();
    if (m_stopSignal != 0)
        return finish(ExitStoppedBy(m_stopSignal));
    const ParsedCommandLine parsed = ParseCommandLine(m_arguments);
    if (parsed.kind == ParsedCommandLine::Kind::Help) {
        m_console.text(HelpText(m_environment.cores));
        return finish(ExitConverted);
    }
    if (parsed.kind == ParsedCommandLine::Kind::Version) {
        m_console.text(VersionText());
        return finish(ExitConverted);
    }
    if (parsed.kind == ParsedCommandLine::Kind::UsageError) {
        m_console.usageError(parsed.message);
        return finish(ExitUsage);
    }
    m_console.setFormat(parsed.request.json, parsed.request.quiet);
    if (parsed.request.listTracks)
        return listTracks(parsed.request);
    if (!prepare(parsed.request))
        return;
    const SourceList sources = CollectSources(parsed.request.sources, m_environment.workingFolder);
    for (const RejectedSource &rejected : sources.rejected)
        itemOver(ItemReport::notConverted(rejected.path, ItemOutcome::Failed, rejected.reason));

    EncoderSettings encoderSettings = m_settings; // --loudness, else the window's setting
    if (!parsed.request.loudness)
        encoderSettings.loudness = TUserSettings(m_environment.locations.configBase).LoadLoudness();
    const ConversionSettings settings{
        JobCommandContext{m_environment.locations.programFolder, encoderSettings, m_outputFolder, &m_log, &m_fileFunc},
        parsed.request.jobs > 0 ? parsed.request.jobs : m_environment.cores, parsed.request.startSeconds,
        parsed.request.endSeconds, parsed.request.audioTrack};
    m_conversion = std::make_unique<ParallelConversion>(settings);
    connect(m_conversion.get(), &ParallelConversion::itemOver, this, &ConvertProgram::itemOver);
    connect(m_conversion.get(), &ParallelConversion::finished, this, &ConvertProgram::conversionOver);
    if (m_progressInterval > 0)
        m_progressTimer.start(m_progressInterval);
    m_conversion->start(sources.accepted);
}

// --list-tracks: each file's audio tracks on standard output, in the order given; a file that
// can't be read is named on standard error. Nothing is converted and no setting is read.
void ConvertProgram::listTracks(const ConvertRequest &request)
{
    const SourceList sources = CollectSources(request.sources, m_environment.workingFolder);
    bool allListed = sources.rejected.isEmpty();
    for (const RejectedSource &rejected : sources.rejected)
        m_console.error(QStringLiteral("%1: %2").arg(rejected.path, rejected.reason));
    for (const QString &path : sources.accepted) {
        ProbeGraph graph;
        const ProbeResult probe = ProbeDuration(graph, path);
        if (probe.refused()) {
            m_console.error(QStringLiteral("%1: it cannot be read as a video, or it lasts less than a second.").arg(path));
            allListed = false;
            continue;
        }
        m_console.text(AudioTrackListing(path, probe.audioTracks));
    }
    finish(allListed ? ExitConverted : ExitSomeFailed);
}

// The option selection and the output folder; false (and the program has finished) when the
// run cannot begin.
bool ConvertProgram::prepare(const ConvertRequest &request)
{
    const OptionChoice choice = ChooseOptions(request, m_environment.locations.configBase);
    if (!choice.error.isEmpty()) {
        m_console.error(choice.error);
        finish(ExitUsage);
        return false;
    }
    m_settings = choice.settings;
    for (const QString &warning : choice.warnings)
        m_console.warning(warning);
    m_outputFolder = QDir::cleanPath(QDir(m_environment.workingFolder).absoluteFilePath(outputFolderText(request)));
    if (const QString problem = outputFolderProblem(m_outputFolder); !problem.isEmpty()) {
        m_console.error(problem);
        finish(ExitSomeFailed);
        return false;
    }
    return true;
}

// --output, else the window's output folder from Config/UserSettings.ini, else its default;
// a relative folder is taken from the working folder.
QString ConvertProgram::outputFolderText(const ConvertRequest &request) const
{
    if (!request.outputFolder.isEmpty())
        return request.outputFolder;
    UserSettingsState state;
    state.outputFolder = DefaultOutputFolder();
    TUserSettings(m_environment.locations.configBase).LoadUserSettings(state);
    return state.outputFolder;
}

void ConvertProgram::stop(int signal)
{
    if (m_stopSignal == 0)
        m_stopSignal = signal;
    if (m_conversion)
        m_conversion->stop();
}

void ConvertProgram::itemOver(const ItemReport &report)
{
    m_counts.add(report.outcome);
    m_console.item(report);
    if (m_conversion)
        m_console.progress(progress(), m_clock.elapsed());
}

RunProgress ConvertProgram::progress() const
{
    RunProgress progress = m_conversion->progress();
    if (m_stopSignal != 0)
        progress.stopping = m_counts;
    return progress;
}

void ConvertProgram::conversionOver()
{
    m_progressTimer.stop();
    m_console.summary(m_counts, m_clock.elapsed(), m_stopSignal);
    if (m_stopSignal != 0)
        finish(ExitStoppedBy(m_stopSignal));
    else
        finish(m_counts.notConverted() > 0 ? ExitSomeFailed : ExitConverted);
}

void ConvertProgram::finish(int exitStatus)
{
    if (m_finished)
        return;
    m_finished = true;
    Q_EMIT finished(exitStatus);
}
