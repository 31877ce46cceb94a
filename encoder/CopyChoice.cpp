#include "CopyChoice.h"
#include "EncodePlan.h"

#include <cmath>
#include <optional>

namespace {

// Each output type that takes a codec's packets as they are: one row per container and codec.
const CopyableType copyableTypes[] = {
    {"adts", AV_CODEC_ID_AAC, Preroll::OnePacket, CutEdges::Packets},
    {"ipod", AV_CODEC_ID_AAC, Preroll::OnePacket, CutEdges::EditList},
    {"mp4", AV_CODEC_ID_AAC, Preroll::OnePacket, CutEdges::EditList},
    {"mp3", AV_CODEC_ID_MP3, Preroll::Mp3Reservoir, CutEdges::LameTag},
    {"ac3", AV_CODEC_ID_AC3, Preroll::OnePacket, CutEdges::Packets},
    {"ogg", AV_CODEC_ID_VORBIS, Preroll::OnePacket, CutEdges::Granules},
    {"wav", AV_CODEC_ID_PCM_S16LE, Preroll::None, CutEdges::Samples},
};

const CopyableType* findType(const std::string& muxer, AVCodecID codec)
{
    for (const CopyableType& type : copyableTypes)
        if (muxer == type.muxer && (codec == type.codec || codec == AV_CODEC_ID_NONE))
            return &type;
    return nullptr;
}

std::optional<std::string> soundChange(const Options& options)
{
    if (options.volumePercent != 100)
        return "volume " + std::to_string(options.volumePercent) + "%";
    if (options.loudnessTarget)
        return "loudness normalised to " + std::to_string(static_cast<int>(std::lround(*options.loudnessTarget))) +
               " LUFS";
    if (options.explicitly.bitrate)
        return std::to_string(options.bitrateKbps) + " kbit/s asked";
    if (options.explicitly.sampleRate)
        return std::to_string(options.sampleRate) + " Hz asked";
    if (options.explicitly.channels)
        return std::to_string(options.channels) + " channel(s) asked";
    return std::nullopt;
}

} // namespace

CopyChoice chooseCopy(const Options& options, const InputSource& input)
{
    const OutputChoice output = chooseOutput(options);
    const CopyableType* anyOfMuxer = findType(output.muxer, AV_CODEC_ID_NONE);
    if (!anyOfMuxer)
        return {false, output.muxer + " output is always encoded"};
    const AVCodecID source = input.stream().codecpar->codec_id;
    const AVCodec* encoder = avcodec_find_encoder_by_name(output.encoder.c_str());
    const AVCodecID wanted = encoder ? encoder->id : anyOfMuxer->codec;
    const CopyableType* type = findType(output.muxer, source);
    if (source != wanted || !type)
        return {false, std::string("the source's sound is ") + avcodec_get_name(source) + ", the output holds " +
                           avcodec_get_name(wanted)};
    if (const auto change = soundChange(options))
        return {false, *change};
    if (input.sampleRate() <= 0 || input.channels() <= 0)
        return {false, "the source's sound format is not known"};
    return {true, avcodec_get_name(source), type};
}

std::string routeLine(const CopyChoice& choice)
{
    return std::string("audio: ") + (choice.copy ? "copied (" : "re-encoded (") + choice.reason + ")";
}
