#pragma once
// The encoder command of one file, built by the window's command-line builder from the run's
// option selection and the file's own source row. Every job gets its own conversion record and
// its own one-row source list, so jobs that run at once share no state; the output name is
// reserved until the job releases it, so two jobs never get the same one.
#include "engine/ConvertParameterBuilder.h"
#include "media/SourceRow.h"

class OptionSelectionModel;
class TAppFunc;
class TFileFunc;

struct JobCommandContext {
    QString programFolder;          // the encoders' folder, with its trailing separator
    const OptionSelectionModel *options = nullptr;
    QString outputFolderText;       // as the user gave it
    const TAppFunc *log = nullptr;
    TFileFunc *fileFunc = nullptr;  // shared by the run: it holds the reserved names
    LoudnessTarget loudness;        // every file's loudness target; none: as recorded
};

struct JobCommand {
    ConvertResult result;
    TConvertParameterStruct parameter;
    QString outputPath;             // reserved in the context's TFileFunc when the build succeeded
};

// Builds the command of `row` and logs "parameter: " with it, as the window's batch run does.
// The "VideoFile.avs" that the builder writes goes into `scriptFolder` (made when missing), which
// must serve this job only: a RealMedia source reaches "revc" through a script of its own, so
// several convert at once, and the shared script a window may be using is never touched.
// Throws LogWriteError when the log can't be written.
JobCommand BuildJobCommand(const JobCommandContext &context, const SourceRow &row, const QString &scriptFolder);
