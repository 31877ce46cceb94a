#pragma once
// The four command-line templates and the choice between them.
#include "engine/ConvertParameter.h"
#include "engine/Fragment.h"

// The option fragments of one item, in the form the templates join them.
struct CommandFragments {
    Fragment codec, videoBitrate, videoSize, frameRate, aspect, audioBitrate, volume, channels, sampleRate, format,
        timeRange;
    Fragment extra; // MakeExtraEncoderArgs: after the template's pieces, before the output path
    Fragment loudness; // last, after the time range; empty when the sound is kept as recorded
    Fragment keepOriginal; // " -keeporiginal" when the sound is to be copied where it can be
};

enum class CommandTemplate {
    Video,          // codec begins with "-vcodec": every option
    Target,         // "-target": codec and time range only
    AudioFixedMono, // "-acodec" for .3gp/.3g2/.amr: one channel at 8000 Hz
    Audio,          // "-acodec" for every other extension
    NoneCodec,      // "-none": no command, a logged failure
    Unknown,        // anything else: no command
};

// By the trimmed codec fragment's first seven characters ("-vcodec", "-target", "-acodec"),
// then its first five ("-none"); the extension splits the two audio templates.
CommandTemplate ChooseTemplate(const QString &codecArg, const QString &outputExtension);

// encoderPath -y -i "inputPath" <fragments of the template> <extra> "outputPath", and the same as
// a program with arguments. Empty for NoneCodec and Unknown.
EncoderCommand AssembleCommand(CommandTemplate chosen, const QString &encoderPath, const QString &inputPath,
                               const CommandFragments &fragments, const QString &outputPath);
