#include "cli/JobCommand.h"

#include "engine/AvsScript.h"
#include "media/SourceListModel.h"
#include "support/AppFunc.h"
#include "support/FileFunc.h"
#include "support/Platform.h"

#include <QDir>

namespace {

// Points the command at `script` where it named the shared script: the input after "-i" and
// the same text in the logged line.
void useOwnScript(JobCommand &job, const QString &script)
{
    const QString shared = job.parameter.inputPath;
    const QString quoted = QStringLiteral(" -y -i \"%1\"");
    EncoderCommand &command = job.result.command;
    command.commandLine.replace(command.program.size(), quoted.arg(shared).size(), quoted.arg(script));
    command.arguments[2] = script;
    job.parameter.inputPath = script;
}

void writeOwnScript(JobCommand &job, const QString &sourcePath, const QString &scriptFolder)
{
    if (scriptFolder.isEmpty()) {
        job.result = {{}, QStringLiteral("No folder was given for its script.")};
        return;
    }
    const QString folder = Platform::withTrailingSeparator(scriptFolder);
    try {
        QDir().mkpath(folder);
        WriteAvsScript(folder, sourcePath);
        useOwnScript(job, AvsScriptPath(folder));
    } catch (const AvsWriteError &e) {
        job.result = {{}, QString::fromStdString(e.what())};
    }
}

} // namespace

JobCommand BuildJobCommand(const JobCommandContext &context, const SourceRow &row, const QString &scriptFolder)
{
    SourceListModel rows;
    rows.appendRow(row);
    ConvertParameterBuilder builder(context.programFolder, *context.options, rows, *context.log, *context.fileFunc);
    builder.setOutputFolderText(context.outputFolderText);

    JobCommand job;
    job.result = builder.CreateConvertParameter(row.fileName, job.parameter, job.state);
    if (job.result.ok() && !job.result.command.isEmpty() && IsRealMediaPath(row.fileName))
        writeOwnScript(job, row.fileName, scriptFolder);
    if (job.result.ok() && job.result.command.isEmpty())
        job.result.error = QStringLiteral("No encoder command could be built.");
    job.state.commandLine = job.result.command.commandLine;
    context.log->WriteLog(QStringLiteral("parameter: ") + job.state.commandLine);
    if (job.result.ok()) {
        job.outputPath = job.result.command.arguments.last();
        context.fileFunc->reserveName(job.outputPath);
    }
    return job;
}
