#pragma once
// The record of the current conversion and the command built from it.
#include <QString>
#include <QStringList>

// The sixteen texts of the current conversion, rewritten for every item. Option fragments
// carry their own leading blank (" -ab 64") and join by plain concatenation.
struct TConvertParameterStruct {
    QString encoderPath;     // program folder + "evc" or "revc", never quoted
    QString inputPath;       // path after "-i": the source, or the script for RealMedia
    QString codecArg;        // " -acodec mp3 -vn"
    QString videoBitrateArg; // " -b 128"
    QString videoSizeArg;    // " -s 176x144"
    QString frameRateArg;    // " -r 15"
    QString aspectArg;       // " -aspect 4:3"
    QString audioBitrateArg; // " -ab 64"
    QString volumeArg;       // " -vol 100", or a lone blank
    QString channelsArg;     // " -ac 2"
    QString sampleRateArg;   // " -ar 44100"
    QString formatArg;       // " -f fmt" or empty
    QString timeRangeArg;    // " -ss 00:00:10 -t 90" or empty
    QString loudnessArg;     // " -loudness -16" or empty (as recorded)
    QString outputFolder;    // ends with the path separator
    QString baseName;        // source file name without its last extension
    QString outputExtension; // ".mp3"
};

// The plan of one encoder run: the invocation in both forms, built from the same pieces (the
// text that is logged and shown, and the program with its argument vector that is started,
// never through a shell), and the file it is to write.
struct EncoderCommand {
    QString commandLine;
    QString program;
    QStringList arguments;
    QString outputPath;

    bool isEmpty() const { return commandLine.isEmpty(); }
};
