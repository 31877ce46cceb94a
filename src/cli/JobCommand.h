#pragma once
// The encoder command of one file, built by the window's command-line builder from the run's
// encoder settings and the file's own source item. Every job gets its own conversion record, so
// jobs that run at once share no state; the output name is reserved until the job releases it,
// so two jobs never get the same one.
#include "engine/ConvertParameterBuilder.h"
#include "media/SourceItem.h"

class TAppFunc;
class TFileFunc;

struct JobCommandContext {
    QString programFolder;          // the encoders' folder, with its trailing separator
    EncoderSettings settings;       // the loudness target and keep-the-original included
    QString outputFolderText;       // as the user gave it
    const TAppFunc *log = nullptr;
    TFileFunc *fileFunc = nullptr;  // shared by the run: it holds the reserved names
};

struct JobCommand {
    ConvertResult result;
    TConvertParameterStruct parameter;
    QString outputPath;             // reserved in the context's TFileFunc when the build succeeded
};

// Builds the command of `item` and logs "parameter: " with it, as the window's batch run does.
// The "VideoFile.avs" that the builder writes goes into `scriptFolder` (made when missing), which
// must serve this job only: a RealMedia source reaches "revc" through a script of its own, so
// several convert at once, and the shared script a window may be using is never touched.
// Throws LogWriteError when the log can't be written.
JobCommand BuildJobCommand(const JobCommandContext &context, const SourceItem &item, const QString &scriptFolder);
