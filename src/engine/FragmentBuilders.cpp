#include "engine/FragmentBuilders.h"

#include "settings/OptionTables.h"

namespace {

Fragment optionOrDefault(const OptionSelectionModel &model, Selector selector, int index, const QString &option,
                         const QString &defaultValue)
{
    const QString text = model.entryText(selector, index);
    return Fragment::option(option, text.isEmpty() ? defaultValue : text);
}

} // namespace

Fragment MakeCodecArg(int outputTypeIndex)
{
    const OutputType *type = outputTypeAt(outputTypeIndex);
    if (!type || type->codecOption.isEmpty())
        return Fragment::words(QStringLiteral(" -vcodec xvid -acodec mp3"));
    return Fragment::words(QLatin1Char(' ') + type->codecOption);
}

Fragment MakeFormatArg(int outputTypeIndex)
{
    const OutputType *type = outputTypeAt(outputTypeIndex);
    if (!type || type->containerFormat == u"none")
        return {};
    return Fragment::option(QStringLiteral("-f"), type->containerFormat);
}

QString MakeOutputExtension(int outputTypeIndex)
{
    const OutputType *type = outputTypeAt(outputTypeIndex);
    return type && !type->extension.isEmpty() ? type->extension : QStringLiteral(".avi");
}

Fragment MakeVideoBitrateArg(const OptionSelectionModel &model, int index)
{
    return optionOrDefault(model, Selector::VideoBitrate, index, QStringLiteral("-b"), QStringLiteral("512"));
}

Fragment MakeVideoSizeArg(const OptionSelectionModel &model, int index)
{
    return optionOrDefault(model, Selector::VideoSize, index, QStringLiteral("-s"), QStringLiteral("320x240"));
}

Fragment MakeFrameRateArg(const OptionSelectionModel &model, int index)
{
    return optionOrDefault(model, Selector::FrameRate, index, QStringLiteral("-r"), QStringLiteral("25"));
}

Fragment MakeAspectArg(const OptionSelectionModel &model, int index)
{
    return optionOrDefault(model, Selector::AspectRatio, index, QStringLiteral("-aspect"), QStringLiteral("4:3"));
}

Fragment MakeAudioBitrateArg(const OptionSelectionModel &model, int index)
{
    return optionOrDefault(model, Selector::AudioBitrate, index, QStringLiteral("-ab"), QStringLiteral("64"));
}

Fragment MakeVolumeArg(const OptionSelectionModel &model, int index)
{
    const QString text = model.entryText(Selector::VolumeGain, index);
    // Without a volume the text keeps a lone blank; the argument list simply has no volume.
    if (text.isEmpty())
        return {QStringLiteral(" "), {}};
    return Fragment::option(QStringLiteral("-vol"), text);
}

Fragment MakeChannelsArg(const OptionSelectionModel &model, int index)
{
    const QString text = model.entryText(Selector::AudioChannels, index);
    return Fragment::option(QStringLiteral("-ac"), text.isEmpty() ? QStringLiteral("2") : text.left(1));
}

Fragment MakeSampleRateArg(const OptionSelectionModel &model, int index)
{
    return optionOrDefault(model, Selector::AudioSample, index, QStringLiteral("-ar"), QStringLiteral("44100"));
}

Fragment MakeLoudnessArg(LoudnessTarget target)
{
    if (!target)
        return {};
    return Fragment::option(QStringLiteral("-loudness"), QString::number(*target));
}
