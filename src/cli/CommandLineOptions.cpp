#include "cli/CommandLineOptions.h"

#include "cli/AudioTrackChoice.h"
#include "media/TimeText.h"
#include "settings/OptionTables.h"

#include <QRegularExpression>

#include <functional>
#include <vector>

namespace {

using Setter = std::function<QString(ConvertRequest &, const QString &value)>; // empty: accepted

// The short names of the output types: their extensions without the dot ("mp3").
QStringList typeNames()
{
    QStringList names;
    for (const OutputType &type : OutputTypes())
        names << type.extension.mid(1);
    return names;
}

// The first word of each quality name in lower case ("Low Quality" gives "low").
QStringList qualityNames()
{
    QStringList names;
    for (const QString &name : visibleEntries(OptionLists::QualityNames()))
        names << name.section(u' ', 0, 0).toLower();
    return names;
}

QString choices(const QStringList &names)
{
    return names.join(QStringLiteral(", "));
}

QString notOneOf(const QString &value, const QString &what, const QString &valid)
{
    return QStringLiteral("'%1' is not %2; choose one of %3.").arg(value, what, valid);
}

// The index of `value` among `names` (exact, or ignoring case when `anyCase`); -1 when absent.
int indexIn(const QStringList &names, const QString &value, bool anyCase = false)
{
    return static_cast<int>(names.indexOf(anyCase ? value.toLower() : value));
}

Setter listSetter(std::optional<int> ConvertRequest::*field, const OptionList &list, const QString &what,
                  const QString &unit)
{
    return [=](ConvertRequest &request, const QString &value) {
        const QStringList entries = visibleEntries(list);
        const int index = indexIn(entries, value);
        if (index < 0)
            return notOneOf(value, what, choices(entries) + QLatin1Char(' ') + unit);
        request.*field = index;
        return QString();
    };
}

// Channels by count ("1", "2") or by name ("mono", "stereo"), from "1 channel, Mono".
QString setChannels(ConvertRequest &request, const QString &value)
{
    const QStringList entries = visibleEntries(OptionLists::AudioChannelModes());
    QStringList valid;
    for (int i = 0; i < entries.size(); ++i) {
        const QString count = entries.at(i).left(1);
        const QString name = entries.at(i).section(u' ', -1).toLower();
        valid << QStringLiteral("%1 (%2)").arg(count, name);
        if (value == count || value.toLower() == name) {
            request.channels = i;
            return QString();
        }
    }
    return notOneOf(value, QStringLiteral("a number of channels"), valid.join(QStringLiteral(" or ")));
}

QString setType(ConvertRequest &request, const QString &value)
{
    const int index = indexIn(typeNames(), value, true);
    if (index < 0)
        return notOneOf(value, QStringLiteral("an output type"), choices(typeNames()));
    request.outputType = index;
    return {};
}

QString setQuality(ConvertRequest &request, const QString &value)
{
    const int index = indexIn(qualityNames(), value, true);
    if (index < 0)
        return notOneOf(value, QStringLiteral("a quality"), choices(qualityNames()));
    request.quality = index;
    return {};
}

QString setProfile(ConvertRequest &request, const QString &value)
{
    if (value.isEmpty())
        return QStringLiteral("--profile needs the name of a custom profile.");
    request.profileName = value;
    return {};
}

Setter timeSetter(std::optional<qint64> ConvertRequest::*field, const QString &option)
{
    return [=](ConvertRequest &request, const QString &value) {
        const std::optional<qint64> seconds = ParseTimeText(value);
        if (!seconds)
            return QStringLiteral("%1 '%2' is not a time; write it as hh:mm:ss (for example 00:01:30).")
                .arg(option, value);
        request.*field = seconds;
        return QString();
    };
}

QString setAudioTrack(ConvertRequest &request, const QString &value)
{
    request.audioTrack = ParseAudioTrackWish(value);
    if (!request.audioTrack)
        return QStringLiteral("'%1' is not an audio track; give its number from 1 on, or a language tag such as "
                              "eng or fre.")
            .arg(value);
    return {};
}

QString setOutput(ConvertRequest &request, const QString &value)
{
    if (value.isEmpty())
        return QStringLiteral("--output needs a folder.");
    request.outputFolder = value;
    return {};
}

QString setJobs(ConvertRequest &request, const QString &value)
{
    bool ok = false;
    const int jobs = value.toInt(&ok);
    if (!ok || jobs < 1)
        return QStringLiteral("'%1' is not a number of jobs; give a whole number from 1 on.").arg(value);
    request.jobs = jobs;
    return {};
}

QString setLoudness(ConvertRequest &request, const QString &value)
{
    if (value == u"off") {
        request.loudness = LoudnessTarget{};
        return {};
    }
    const std::optional<int> lufs = ParseLoudnessLufs(value);
    if (!lufs)
        return QStringLiteral("'%1' is not a loudness; give a target from %2 to %3 LUFS (for example -16), or off.")
            .arg(value)
            .arg(MinLoudnessLufs)
            .arg(MaxLoudnessLufs);
    request.loudness = LoudnessTarget{*lufs};
    return {};
}

struct ValueOption {
    const char *name;
    Setter set;
};

const std::vector<ValueOption> &valueOptions()
{
    static const std::vector<ValueOption> options = {
        {"--type", setType},
        {"--quality", setQuality},
        {"--profile", setProfile},
        {"--bitrate", listSetter(&ConvertRequest::audioBitrate, OptionLists::AudioBitrates(),
                                 QStringLiteral("an audio bitrate"), QStringLiteral("(kbit/s)"))},
        {"--rate", listSetter(&ConvertRequest::sampleRate, OptionLists::AudioSampleRates(),
                              QStringLiteral("a sample rate"), QStringLiteral("(Hz)"))},
        {"--channels", setChannels},
        {"--volume", listSetter(&ConvertRequest::volume, OptionLists::VolumeGains(), QStringLiteral("a volume"),
                                QStringLiteral("(percent)"))},
        {"--start", timeSetter(&ConvertRequest::startSeconds, QStringLiteral("--start"))},
        {"--end", timeSetter(&ConvertRequest::endSeconds, QStringLiteral("--end"))},
        {"--loudness", setLoudness},
        {"--audio-track", setAudioTrack},
        {"--output", setOutput},
        {"--jobs", setJobs},
    };
    return options;
}

const ValueOption *findValueOption(const QString &name)
{
    for (const ValueOption &option : valueOptions()) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

ParsedCommandLine usageError(const QString &message)
{
    ParsedCommandLine parsed;
    parsed.kind = ParsedCommandLine::Kind::UsageError;
    parsed.message = message;
    return parsed;
}

// Rules between options, once all are read.
QString crossCheck(const ConvertRequest &request)
{
    if (request.quality && !request.profileName.isEmpty())
        return QStringLiteral("--quality and --profile exclude each other; give one of them.");
    if (request.endSeconds && *request.endSeconds <= request.startSeconds.value_or(0))
        return request.startSeconds ? QStringLiteral("--start must come before --end.")
                                    : QStringLiteral("--end must come after 00:00:00.");
    if (request.sources.isEmpty())
        return QStringLiteral("no files given.");
    return {};
}

} // namespace

std::optional<qint64> ParseTimeText(const QString &text)
{
    return ReadWrittenTime(text, 6);
}

namespace {

bool isFlag(const QString &name)
{
    return name == u"--json" || name == u"--quiet" || name == u"--keep-original" || name == u"--help" || name == u"-h" ||
           name == u"--version" || name == u"--list-tracks";
}

// Reads the option at `i` ("--name value" or "--name=value"), moving `i` past its value;
// returns what is wrong with it, or an empty text.
QString readValueOption(const QStringList &arguments, qsizetype &i, ConvertRequest &request)
{
    const QString &argument = arguments.at(i);
    const qsizetype equals = argument.indexOf(u'=');
    const QString name = equals < 0 ? argument : argument.left(equals);
    const ValueOption *option = findValueOption(name);
    if (!option)
        return isFlag(name) ? QStringLiteral("%1 takes no value.").arg(name)
                            : QStringLiteral("unknown option '%1'.").arg(name);
    if (equals >= 0)
        return option->set(request, argument.mid(equals + 1));
    if (i + 1 >= arguments.size())
        return QStringLiteral("%1 needs a value.").arg(name);
    return option->set(request, arguments.at(++i));
}

} // namespace

ParsedCommandLine ParseCommandLine(const QStringList &arguments)
{
    ParsedCommandLine parsed;
    ConvertRequest &request = parsed.request;
    bool optionsOver = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsOver || !argument.startsWith(u'-') || argument == u"-") {
            request.sources << argument;
        } else if (argument == u"--") {
            optionsOver = true;
        } else if (argument == u"--help" || argument == u"-h") {
            parsed.kind = ParsedCommandLine::Kind::Help;
            return parsed;
        } else if (argument == u"--version") {
            parsed.kind = ParsedCommandLine::Kind::Version;
            return parsed;
        } else if (argument == u"--keep-original") {
            request.keepOriginal = true;
        } else if (argument == u"--json" || argument == u"--quiet") {
            (argument == u"--json" ? request.json : request.quiet) = true;
        } else if (argument == u"--list-tracks") {
            request.listTracks = true;
        } else if (const QString problem = readValueOption(arguments, i, request); !problem.isEmpty()) {
            return usageError(problem);
        }
    }
    if (const QString problem = crossCheck(request); !problem.isEmpty())
        return usageError(problem);
    return parsed;
}

QString VersionText()
{
    return QStringLiteral("kelvane-convert " KELVANE_VERSION_TEXT "\n");
}

QString HelpText(int cores)
{
    const auto list = [](const OptionList &option) { return visibleEntries(option).join(u' '); };
    return QStringLiteral(
               "Usage: kelvane-convert [options] FILE|FOLDER...\n"
               "Turns the sound of video files into audio files, several files at once, with the same\n"
               "encoder, command lines and output names as the Kelvane window. A folder stands for the\n"
               "video files in it.\n"
               "\n"
               "Options:\n"
               "  --type TYPE        %1 (default: amr)\n"
               "  --quality LEVEL    %2 (default: normal)\n"
               "  --profile NAME     a custom profile of the Options dialog, instead of --quality\n"
               "  --bitrate KBPS     audio bitrate: %3\n"
               "  --rate HZ          sample rate: %4\n"
               "  --channels N       1 (mono) or 2 (stereo)\n"
               "  --volume PERCENT   0 to 500 in steps of 25; 100 keeps the loudness\n"
               "  --start hh:mm:ss   convert every file from this time on\n"
               "  --end hh:mm:ss     convert every file up to this time\n"
               "  --loudness LUFS    bring every file to this loudness (EBU R128), -31 to -5, for example\n"
               "                     -16 (speech), -14 (music streaming), -23 (broadcast); the volume is\n"
               "                     applied first. off keeps the sound as recorded (default: the window's)\n"
               "  --keep-original    copy the sound as it is when it already has the type (AAC to\n"
               "                     aac/m4a, MP3, AC3, Vorbis to ogg, PCM to wav); the quality's or\n"
               "                     profile's bitrate, rate and channels do not stop that, but\n"
               "                     --volume other than 100, --loudness, --bitrate, --rate and\n"
               "                     --channels do. A copied cut holds all of the part asked, on\n"
               "                     whole packets of the sound (m4a: exact)\n"
               "  --audio-track N|LANG  the audio track to convert: its number (1 = the first), or a\n"
               "                     language tag such as fre (the first track in that language); a\n"
               "                     file without it is named and skipped (default: each file's\n"
               "                     default track)\n"
               "  --list-tracks      list the audio tracks of the files given, and convert nothing\n"
               "  --output DIR       output folder (default: the window's, else ~/Kelvane)\n"
               "  --jobs N           encoders at once (default: one per core, here %5)\n"
               "  --json             one JSON object per file on standard output, then a summary\n"
               "  --quiet            print errors only\n"
               "  --help             show this text\n"
               "  --version          show the program's version\n"
               "\n"
               "--bitrate, --rate, --channels and --volume change one option after the quality or\n"
               "profile has set them all. Existing files are never overwritten: a taken name gets _1, _2.\n"
               "\n"
               "Examples:\n"
               "  kelvane-convert --type mp3 clip.avi\n"
               "  kelvane-convert --type mp3 --quality excellent --jobs 4 --output ~/Music ~/Videos\n"
               "  kelvane-convert --type wav --start 00:01:00 --end 00:02:30 talk.mp4\n"
               "  kelvane-convert --list-tracks film.mp4\n"
               "  kelvane-convert --type mp3 --audio-track fre film.mp4\n"
               "\n"
               "Exit status: 0 when every file was converted, 1 when some were not, 2 for a usage\n"
               "error, 128 + the signal number when stopped by Ctrl+C (130) or SIGTERM (143).\n")
        .arg(typeNames().join(u' '), qualityNames().join(u' '), list(OptionLists::AudioBitrates()),
             list(OptionLists::AudioSampleRates()), QString::number(cores));
}
