#include "cli/JobCommand.h"

#include "media/SourceListModel.h"
#include "support/AppFunc.h"
#include "support/FileFunc.h"
#include "support/Platform.h"

#include <QDir>

JobCommand BuildJobCommand(const JobCommandContext &context, const SourceRow &row, const QString &scriptFolder)
{
    JobCommand job;
    SourceListModel rows;
    rows.appendRow(row);
    ConvertParameterBuilder builder(context.programFolder, *context.options, rows, *context.log, *context.fileFunc);
    builder.setOutputFolderText(context.outputFolderText);
    builder.setLoudnessTarget(context.loudness);
    if (scriptFolder.isEmpty() || !QDir().mkpath(scriptFolder)) {
        job.result.error = QStringLiteral("The folder for its script cannot be made: ") + scriptFolder;
    } else {
        builder.setScriptFolder(Platform::withTrailingSeparator(scriptFolder));
        job.result = builder.CreateConvertParameter(row.fileName, job.parameter);
        if (job.result.ok() && job.result.command.isEmpty())
            job.result.error = QStringLiteral("No encoder command could be built.");
    }
    context.log->WriteLog(QStringLiteral("parameter: ") + job.result.command.commandLine);
    if (job.result.ok()) {
        job.outputPath = job.result.command.arguments.last();
        context.fileFunc->reserveName(job.outputPath);
    }
    return job;
}
