#include "media/AudioTracks.h"

#include "media/DurationProbe.h"
#include "media/ProbeGraph.h"

#include <QLocale>
#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

namespace {

QString tagOf(const AVStream &stream, const char *key)
{
    const AVDictionaryEntry *entry = av_dict_get(stream.metadata, key, nullptr, 0);
    return entry ? QString::fromUtf8(entry->value).trimmed() : QString();
}

AudioTrack trackOf(const AVStream &stream, int number)
{
    AudioTrack track;
    track.number = number;
    track.language = tagOf(stream, "language");
    if (track.language == u"und") // "undetermined" says nothing
        track.language.clear();
    track.title = tagOf(stream, "title");
    track.codec = QString::fromLatin1(avcodec_get_name(stream.codecpar->codec_id));
    track.channels = std::max(0, stream.codecpar->ch_layout.nb_channels);
    track.sampleRate = std::max(0, stream.codecpar->sample_rate);
    track.isDefault = (stream.disposition & AV_DISPOSITION_DEFAULT) != 0;
    return track;
}

// The language a tag names; AnyLanguage when it names none that is known.
QLocale::Language languageOf(const QString &tag)
{
    return QLocale::codeToLanguage(tag, QLocale::AnyLanguageCode);
}

bool sameLanguage(const QString &tag, const QString &wished)
{
    if (tag.isEmpty())
        return false;
    if (tag.compare(wished, Qt::CaseInsensitive) == 0)
        return true;
    const QLocale::Language language = languageOf(tag.toLower());
    return language != QLocale::AnyLanguage && language == languageOf(wished.toLower());
}

} // namespace

AudioTrackList AudioTracksOf(const AVFormatContext &format)
{
    AudioTrackList tracks;
    for (unsigned i = 0; i < format.nb_streams; ++i) {
        const AVStream &stream = *format.streams[i];
        if (stream.codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
            tracks << trackOf(stream, static_cast<int>(tracks.size()) + 1);
    }
    return tracks;
}

AudioTrackList ProbeAudioTracks(const QString &path)
{
    ProbeGraph graph;
    return ProbeDuration(graph, path).audioTracks;
}

std::optional<int> DefaultAudioTrack(const AudioTrackList &tracks)
{
    if (tracks.isEmpty())
        return std::nullopt;
    const auto marked = std::find_if(tracks.cbegin(), tracks.cend(), [](const AudioTrack &t) { return t.isDefault; });
    return marked != tracks.cend() ? marked->number : tracks.first().number;
}

std::optional<int> EffectiveAudioTrack(const AudioTrackList &tracks, std::optional<int> chosen)
{
    return chosen ? chosen : DefaultAudioTrack(tracks);
}

bool HasAudioTrack(const AudioTrackList &tracks, int number)
{
    return std::any_of(tracks.cbegin(), tracks.cend(), [number](const AudioTrack &t) { return t.number == number; });
}

std::optional<int> FindAudioTrack(const AudioTrackList &tracks, const AudioTrackWish &wish)
{
    if (wish.number)
        return HasAudioTrack(tracks, *wish.number) ? wish.number : std::nullopt;
    if (wish.language.isEmpty())
        return std::nullopt;
    for (const AudioTrack &track : tracks) {
        if (sameLanguage(track.language, wish.language))
            return track.number;
    }
    return std::nullopt;
}
