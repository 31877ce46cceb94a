#include "Options.h"
#include "Failure.h"
#include "LoudnessPass.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <utility>

namespace {

bool isBlank(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isspace(c); });
}

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

std::optional<double> parseNumber(const std::string& text)
{
    const std::string t = trimmed(text);
    double value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int parseWholeNumber(const std::string& option, const std::string& text, int low, int high)
{
    const auto value = parseNumber(text);
    if (!value || *value < low || *value > high)
        throw Failure("Bad value for " + option + ": \"" + text + "\" (expected a number from " +
                      std::to_string(low) + " to " + std::to_string(high) + ")");
    return static_cast<int>(std::lround(*value));
}

// A track is counted, never rounded: "1.5" is refused rather than read as track 2.
int parseTrackNumber(const std::string& text)
{
    const auto value = parseNumber(text);
    if (!value || *value < 1 || *value > MaxAudioTrack || *value != std::floor(*value))
        throw Failure("Bad value for -atrack: \"" + text + "\" (expected a whole number from 1 to " +
                      std::to_string(MaxAudioTrack) + ": the audio track, counted in file order)");
    return static_cast<int>(*value);
}

const std::vector<std::string>& knownCodecs()
{
    static const std::vector<std::string> names{"amr_nb", "aac", "mp3", "ac3", "vorbis", "pcm_s16le",
                                                "libmp3lame", "libvorbis", "libopencore_amrnb"};
    return names;
}

using Setter = std::function<void(Options&, const std::string&)>;

// "ab,ar": the options named, each at most once.
Options::Explicit parseExplicit(const std::string& text)
{
    Options::Explicit named;
    std::string rest = text + ",";
    for (size_t comma; (comma = rest.find(',')) != std::string::npos; rest.erase(0, comma + 1)) {
        const std::string name = trimmed(rest.substr(0, comma));
        bool* flag = name == "ab" ? &named.bitrate : name == "ar" ? &named.sampleRate : name == "ac" ? &named.channels : nullptr;
        if (!flag || *flag)
            throw Failure("Bad value for -explicit: \"" + text + "\" (expected ab, ar or ac, separated by commas)");
        *flag = true;
    }
    return named;
}

void checkExplicitGiven(const Options& options)
{
    const std::pair<bool, const char*> named[] = {
        {options.explicitly.bitrate && options.bitrateKbps == 0, "-ab"},
        {options.explicitly.sampleRate && options.sampleRate == 0, "-ar"},
        {options.explicitly.channels && options.channels == 0, "-ac"}};
    for (const auto& [missing, option] : named)
        if (missing)
            throw Failure(std::string("-explicit names ") + option + ", which is not given");
}

// Options that take a value; the video ones are accepted and have no effect.
const std::map<std::string, Setter>& valueOptions()
{
    static const std::map<std::string, Setter> table{
        {"-i", [](Options& o, const std::string& v) { o.input = v; }},
        {"-acodec",
         [](Options& o, const std::string& v) {
             const auto& codecs = knownCodecs();
             if (std::find(codecs.begin(), codecs.end(), trimmed(v)) == codecs.end())
                 throw Failure("Unsupported audio codec: \"" + v + "\"");
             o.codec = trimmed(v);
         }},
        {"-ab", [](Options& o, const std::string& v) { o.bitrateKbps = parseWholeNumber("-ab", v, 1, 10000); }},
        {"-vol", [](Options& o, const std::string& v) { o.volumePercent = parseWholeNumber("-vol", v, 0, 1000); }},
        {"-ac", [](Options& o, const std::string& v) { o.channels = parseWholeNumber("-ac", v, 1, 8); }},
        {"-ar", [](Options& o, const std::string& v) { o.sampleRate = parseWholeNumber("-ar", v, MinSampleRate, MaxSampleRate); }},
        {"-atrack", [](Options& o, const std::string& v) { o.audioTrack = parseTrackNumber(v); }},
        {"-explicit", [](Options& o, const std::string& v) { o.explicitly = parseExplicit(v); }},
        {"-f", [](Options& o, const std::string& v) { o.format = trimmed(v); }},
        {"-ss",
         [](Options& o, const std::string& v) {
             o.startSeconds = parseClockTime(v);
             if (!o.startSeconds || *o.startSeconds < 0)
                 throw Failure("Bad value for -ss: \"" + v + "\" (expected hh:mm:ss)");
         }},
        {"-t",
         [](Options& o, const std::string& v) {
             o.durationSeconds = parseNumber(v);
             if (!o.durationSeconds)
                 o.durationSeconds = parseClockTime(v);
             if (!o.durationSeconds)
                 throw Failure("Bad value for -t: \"" + v + "\" (expected seconds)");
             if (*o.durationSeconds <= 0)
                 throw Failure("The length given with -t must be more than 0 seconds (got \"" + v + "\")");
         }},
        {"-loudness",
         [](Options& o, const std::string& v) {
             o.loudnessTarget = parseNumber(v);
             if (!o.loudnessTarget || *o.loudnessTarget < MinLoudnessTarget || *o.loudnessTarget > MaxLoudnessTarget)
                 throw Failure("Bad value for -loudness: \"" + v +
                               "\" (expected a target loudness from -31 to -5 LUFS)");
         }},
        {"-s", [](Options&, const std::string&) {}},
        {"-b", [](Options&, const std::string&) {}},
        {"-r", [](Options&, const std::string&) {}},
        {"-aspect", [](Options&, const std::string&) {}},
    };
    return table;
}

} // namespace

std::optional<double> parseClockTime(const std::string& text)
{
    double total = 0;
    std::string rest = trimmed(text);
    int pieces = 0;
    while (true) {
        const auto colon = rest.find(':');
        const auto piece = parseNumber(rest.substr(0, colon));
        if (!piece || *piece < 0 || ++pieces > 3)
            return std::nullopt;
        total = total * 60 + *piece;
        if (colon == std::string::npos)
            return total;
        rest = rest.substr(colon + 1);
    }
}

Options parseOptions(const std::vector<std::string>& args)
{
    Options options;
    bool haveOutput = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (isBlank(arg))
            continue;
        if (arg == "-y") {
            options.overwrite = true;
        } else if (arg == "-keeporiginal") {
            options.keepOriginal = true;
        } else if (arg == "-vn") {
        } else if (arg == "-vcodec" || arg == "-target") {
            throw Failure("Option " + arg + " is not supported: this encoder writes audio only");
        } else if (const auto it = valueOptions().find(arg); it != valueOptions().end()) {
            if (i + 1 >= args.size())
                throw Failure("Option " + arg + " needs a value");
            it->second(options, args[++i]);
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw Failure("Unknown option: " + arg);
        } else if (haveOutput) {
            throw Failure("Unexpected argument: \"" + arg + "\" (the output file is already \"" + options.output + "\")");
        } else {
            options.output = arg;
            haveOutput = true;
        }
    }
    if (options.input.empty())
        throw Failure("No input file given (-i PATH)");
    if (options.output.empty())
        throw Failure("No output file given");
    checkExplicitGiven(options);
    return options;
}
