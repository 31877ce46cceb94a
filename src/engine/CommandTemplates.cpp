#include "engine/CommandTemplates.h"

#include <initializer_list>

CommandTemplate ChooseTemplate(const QString &codecArg, const QString &outputExtension)
{
    const QString codec = codecArg.trimmed();
    const QString head = codec.left(7);
    if (head == u"-vcodec")
        return CommandTemplate::Video;
    if (head == u"-target")
        return CommandTemplate::Target;
    if (head == u"-acodec") {
        const bool fixedMono = outputExtension == u".3gp" || outputExtension == u".3g2" || outputExtension == u".amr";
        return fixedMono ? CommandTemplate::AudioFixedMono : CommandTemplate::Audio;
    }
    if (codec.left(5) == u"-none")
        return CommandTemplate::NoneCodec;
    return CommandTemplate::Unknown;
}

namespace {

QList<const Fragment *> templatePieces(CommandTemplate chosen, const CommandFragments &f)
{
    static const Fragment fixedMono = Fragment::words(QStringLiteral(" -ac 1 -ar 8000"));
    switch (chosen) {
    case CommandTemplate::Video:
        return {&f.codec,        &f.videoBitrate, &f.videoSize,  &f.frameRate, &f.aspect,   &f.audioBitrate,
                &f.volume,       &f.channels,     &f.sampleRate, &f.format,    &f.timeRange, &f.loudness};
    case CommandTemplate::Target: return {&f.codec, &f.timeRange};
    case CommandTemplate::AudioFixedMono:
        return {&f.codec, &f.videoSize, &f.videoBitrate, &f.audioBitrate, &f.volume, &fixedMono, &f.format,
                &f.timeRange, &f.loudness};
    case CommandTemplate::Audio:
        return {&f.codec,    &f.keepOriginal, &f.audioBitrate, &f.volume,   &f.channels,
                &f.sampleRate, &f.format,      &f.timeRange,    &f.loudness};
    default: return {};
    }
}

} // namespace

EncoderCommand AssembleCommand(CommandTemplate chosen, const QString &encoderPath, const QString &inputPath,
                               const CommandFragments &fragments, const QString &outputPath)
{
    if (chosen == CommandTemplate::NoneCodec || chosen == CommandTemplate::Unknown)
        return {};
    const QChar quote(u'"');
    EncoderCommand command;
    command.program = encoderPath;
    command.commandLine = encoderPath + QStringLiteral(" -y -i ") + quote + inputPath + quote;
    command.arguments = {QStringLiteral("-y"), QStringLiteral("-i"), inputPath};
    QList<const Fragment *> pieces = templatePieces(chosen, fragments);
    pieces << &fragments.extra;
    for (const Fragment *piece : pieces) {
        command.commandLine += piece->text;
        command.arguments += piece->args;
    }
    command.commandLine += QLatin1Char(' ') + quote + outputPath + quote;
    command.arguments << outputPath;
    command.outputPath = outputPath;
    return command;
}
