#include "EncodePlan.h"
#include "Failure.h"
#include "StatusLine.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

constexpr int64_t defaultBitRate = 128000;

const std::map<std::string, std::string>& muxerForExtension()
{
    static const std::map<std::string, std::string> table{
        {".amr", "amr"}, {".aac", "adts"}, {".mp3", "mp3"}, {".ac3", "ac3"}, {".m4a", "ipod"},
        {".mp4", "mp4"}, {".ogg", "ogg"},  {".oga", "ogg"}, {".wav", "wav"}};
    return table;
}

const std::map<std::string, std::string>& codecForMuxer()
{
    static const std::map<std::string, std::string> table{
        {"amr", "amr_nb"}, {"adts", "aac"}, {"mp3", "mp3"}, {"ac3", "ac3"}, {"ipod", "aac"},
        {"mp4", "aac"},    {"ogg", "vorbis"}, {"wav", "pcm_s16le"}};
    return table;
}

std::string encoderFor(const std::string& codec)
{
    static const std::map<std::string, std::string> table{
        {"amr_nb", "amr"},         {"libopencore_amrnb", "amr"}, {"aac", "aac"}, {"mp3", "libmp3lame"},
        {"libmp3lame", "libmp3lame"}, {"ac3", "ac3"}, {"vorbis", "libvorbis"}, {"libvorbis", "libvorbis"},
        {"pcm_s16le", "pcm_s16le"}};
    return table.at(codec);
}

std::string chooseMuxer(const Options& options)
{
    if (!options.format.empty()) {
        if (options.format == "amr" || av_guess_format(options.format.c_str(), nullptr, nullptr))
            return options.format;
        throw Failure("Unknown output format: -f " + options.format);
    }
    const auto it = muxerForExtension().find(extensionOf(options.output));
    if (it == muxerForExtension().end())
        throw Failure("Unsupported output file type: \"" + extensionOf(options.output) +
                      "\" (use .amr, .aac, .mp3, .ac3, .m4a, .ogg or .wav)");
    return it->second;
}

std::string chooseCodec(const Options& options, const std::string& muxer)
{
    if (!options.codec.empty())
        return options.codec;
    const auto it = codecForMuxer().find(muxer);
    if (it == codecForMuxer().end())
        throw Failure("No audio codec given (-acodec NAME)");
    return it->second;
}

int nearestRate(const AVCodec& codec, int wanted)
{
    if (!codec.supported_samplerates)
        return wanted;
    int best = codec.supported_samplerates[0];
    for (const int* r = codec.supported_samplerates; *r; ++r)
        if (std::abs(*r - wanted) < std::abs(best - wanted) ||
            (std::abs(*r - wanted) == std::abs(best - wanted) && *r > best))
            best = *r;
    return best;
}

int nearestChannels(const AVCodec& codec, int wanted)
{
    if (!codec.ch_layouts)
        return std::clamp(wanted, 1, 8);
    int best = 0;
    for (const AVChannelLayout* l = codec.ch_layouts; l->nb_channels; ++l)
        if (best == 0 || std::abs(l->nb_channels - wanted) < std::abs(best - wanted))
            best = l->nb_channels;
    return best;
}

int64_t nearestOf(const std::vector<int>& kbps, int64_t wanted)
{
    int best = kbps.front();
    for (int k : kbps)
        if (std::llabs(k * 1000LL - wanted) < std::llabs(best * 1000LL - wanted))
            best = k;
    return best * 1000LL;
}

int64_t fitBitRate(const std::string& encoder, int rate, int channels, int64_t wanted)
{
    if (encoder == "aac") {
        const int64_t most = 6144LL * channels * rate / 1024 / 1000 * 1000;
        return std::min(wanted, most);
    }
    if (encoder == "libmp3lame") {
        if (rate >= 32000)
            return nearestOf({32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}, wanted);
        if (rate >= 16000)
            return nearestOf({8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}, wanted);
        return nearestOf({8, 16, 24, 32, 40, 48, 56, 64}, wanted);
    }
    if (encoder == "ac3")
        return nearestOf({32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448, 512, 576, 640},
                         wanted);
    return wanted;
}

std::string kbps(int64_t bitRate) { return std::to_string(bitRate / 1000) + " kbit/s"; }

EncodePlan planAmr(const Options& options)
{
    // opencore modes MR475 ... MR122 and their bit rates
    static const int modeRates[] = {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};
    EncodePlan plan;
    plan.amr = true;
    plan.sampleRate = 8000;
    plan.channels = 1;
    const int64_t wanted = options.bitrateKbps > 0 ? options.bitrateKbps * 1000LL : 12200;
    plan.amrMode = 0;
    for (int mode = 0; mode < 8; ++mode)
        if (modeRates[mode] <= wanted)
            plan.amrMode = mode;
    plan.bitRate = modeRates[plan.amrMode];
    const bool changed = (options.sampleRate && options.sampleRate != 8000) ||
                         (options.channels && options.channels != 1) ||
                         (options.bitrateKbps && options.bitrateKbps * 1000LL != plan.bitRate);
    if (changed) {
        char rate[16];
        std::snprintf(rate, sizeof rate, "%.2f", plan.bitRate / 1000.0);
        printNotice(std::string("AMR-NB is written at 8000 Hz mono, ") + rate + " kbit/s");
    }
    return plan;
}

void checkContainerTakes(const std::string& muxer, const AVCodec& codec)
{
    const AVOutputFormat* format = av_guess_format(muxer.c_str(), nullptr, nullptr);
    if (!format)
        throw Failure("Unknown output format: " + muxer);
    if (avformat_query_codec(format, codec.id, FF_COMPLIANCE_NORMAL) == 0)
        throw Failure(std::string("The ") + muxer + " format cannot hold " + avcodec_get_name(codec.id) + " audio");
}

} // namespace

std::string extensionOf(const std::string& path)
{
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot);
    for (auto& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

OutputChoice chooseOutput(const Options& options)
{
    const std::string muxer = chooseMuxer(options);
    return {muxer, encoderFor(chooseCodec(options, muxer))};
}

EncodePlan planEncoding(const Options& options, int sourceRate, int sourceChannels)
{
    const auto [muxer, encoder] = chooseOutput(options);
    if ((encoder == "amr") != (muxer == "amr"))
        throw Failure("AMR-NB audio is written to .amr files only, and .amr files hold only AMR-NB audio");
    if (encoder == "amr")
        return planAmr(options);

    const AVCodec* codec = avcodec_find_encoder_by_name(encoder.c_str());
    if (!codec)
        throw Failure("This build has no " + encoder + " encoder");
    checkContainerTakes(muxer, *codec);
    EncodePlan plan;
    plan.encoderName = encoder;
    plan.muxerName = muxer;
    const std::string name = avcodec_get_name(codec->id);

    const int wantedRate = options.sampleRate ? options.sampleRate : sourceRate;
    // A damaged input may claim any rate; the output keeps to the range -ar accepts.
    plan.sampleRate = nearestRate(*codec, std::clamp(wantedRate, MinSampleRate, MaxSampleRate));
    if (plan.sampleRate != wantedRate)
        printNotice(name + " cannot use " + std::to_string(wantedRate) + " Hz; using " +
                    std::to_string(plan.sampleRate) + " Hz");

    const int wantedChannels = options.channels ? options.channels : sourceChannels;
    plan.channels = nearestChannels(*codec, wantedChannels);
    if (plan.channels != wantedChannels)
        printNotice(name + " cannot hold " + std::to_string(wantedChannels) + " channels; using " +
                    std::to_string(plan.channels));

    const int64_t wantedRateBits = options.bitrateKbps ? options.bitrateKbps * 1000LL : defaultBitRate;
    plan.bitRate = fitBitRate(encoder, plan.sampleRate, plan.channels, wantedRateBits);
    if (plan.bitRate != wantedRateBits && options.bitrateKbps)
        printNotice(name + " at " + std::to_string(plan.sampleRate) + " Hz, " + std::to_string(plan.channels) +
                    " channel(s) cannot use " + kbps(wantedRateBits) + "; using " + kbps(plan.bitRate));
    return plan;
}
