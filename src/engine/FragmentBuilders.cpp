#include "engine/FragmentBuilders.h"

#include "media/SourceItem.h"
#include "settings/OptionTables.h"

namespace {

Fragment textOrDefault(const QString &option, const QString &value, const char *defaultValue)
{
    return Fragment::option(option, value.isEmpty() ? QString::fromLatin1(defaultValue) : value);
}

Fragment numberOrDefault(const QString &option, const std::optional<int> &value, const char *defaultValue)
{
    return textOrDefault(option, value ? QString::number(*value) : QString(), defaultValue);
}

Fragment volumeArg(const std::optional<int> &percent)
{
    // Without a volume the text keeps a lone blank; the argument list simply has no volume.
    if (!percent)
        return {QStringLiteral(" "), {}};
    return Fragment::option(QStringLiteral("-vol"), QString::number(*percent));
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

CommandFragments MakeOptionFragments(const EncoderSettings &s)
{
    CommandFragments f;
    f.codec = MakeCodecArg(s.outputType);
    f.videoBitrate = numberOrDefault(QStringLiteral("-b"), s.videoBitrateKbps, "512");
    f.videoSize = textOrDefault(QStringLiteral("-s"), s.videoSize, "320x240");
    f.frameRate = numberOrDefault(QStringLiteral("-r"), s.frameRate, "25");
    f.aspect = textOrDefault(QStringLiteral("-aspect"), s.aspectRatio, "4:3");
    f.audioBitrate = numberOrDefault(QStringLiteral("-ab"), s.audioBitrateKbps, "64");
    f.volume = volumeArg(s.volumePercent);
    f.channels = numberOrDefault(QStringLiteral("-ac"), s.channelCount, "2");
    f.sampleRate = numberOrDefault(QStringLiteral("-ar"), s.sampleRateHz, "44100");
    f.format = MakeFormatArg(s.outputType);
    f.loudness = MakeLoudnessArg(s.loudness);
    f.keepOriginal = MakeKeepOriginalArg(s);
    return f;
}

Fragment MakeKeepOriginalArg(const EncoderSettings &s)
{
    if (!s.keepOriginal)
        return {};
    Fragment fragment = Fragment::words(QStringLiteral(" -keeporiginal"));
    if (!s.askedFormat.any())
        return fragment;
    QStringList named;
    if (s.askedFormat.bitrate)
        named << QStringLiteral("ab");
    if (s.askedFormat.sampleRate)
        named << QStringLiteral("ar");
    if (s.askedFormat.channels)
        named << QStringLiteral("ac");
    const Fragment asked = Fragment::option(QStringLiteral("-explicit"), named.join(QLatin1Char(',')));
    fragment.text += asked.text;
    fragment.args += asked.args;
    return fragment;
}

Fragment MakeExtraEncoderArgs(const SourceItem &item, const EncoderSettings &)
{
    return MakeAudioTrackArg(item.audioTrack);
}

Fragment MakeLoudnessArg(LoudnessTarget target)
{
    if (!target)
        return {};
    return Fragment::option(QStringLiteral("-loudness"), QString::number(*target));
}

Fragment MakeAudioTrackArg(std::optional<int> chosenTrack)
{
    if (!chosenTrack)
        return {};
    return Fragment::option(QStringLiteral("-atrack"), QString::number(*chosenTrack));
}
