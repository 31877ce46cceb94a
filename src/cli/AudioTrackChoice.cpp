#include "cli/AudioTrackChoice.h"

#include "media/AudioTrackText.h"

#include <QRegularExpression>

std::optional<AudioTrackWish> ParseAudioTrackWish(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[0-9]{1,4}$"));
    static const QRegularExpression language(QStringLiteral("^[A-Za-z]{2,8}(-[A-Za-z0-9]{1,8})*$"));
    if (number.match(text).hasMatch()) {
        const int track = text.toInt();
        return track >= 1 ? std::optional<AudioTrackWish>(AudioTrackWish{track, {}}) : std::nullopt;
    }
    if (language.match(text).hasMatch())
        return AudioTrackWish{std::nullopt, text};
    return std::nullopt;
}

namespace {

QString tracksText(qsizetype count)
{
    if (count == 0)
        return QStringLiteral("it has no audio track");
    return count == 1 ? QStringLiteral("it has 1 audio track") : QStringLiteral("it has %1 audio tracks").arg(count);
}

QString missingTrack(const AudioTrackList &tracks, const AudioTrackWish &wish)
{
    if (wish.number)
        return QStringLiteral("it has no audio track %1 (%2).").arg(*wish.number).arg(tracksText(tracks.size()));
    QStringList languages;
    for (const AudioTrack &track : tracks)
        languages << (track.language.isEmpty() ? QStringLiteral("none") : track.language);
    const QString known = tracks.isEmpty() ? tracksText(0) : QStringLiteral("its tracks' languages: ") + languages.join(u", ");
    return QStringLiteral("it has no audio track in the language '%1' (%2).").arg(wish.language, known);
}

} // namespace

QString ChooseAudioTrack(SourceItem &item, const std::optional<AudioTrackWish> &wish)
{
    if (!wish)
        return {};
    const std::optional<int> track = FindAudioTrack(item.audioTracks, *wish);
    if (!track)
        return missingTrack(item.audioTracks, *wish);
    item.audioTrack = track;
    return {};
}

QString AudioTrackListing(const QString &path, const AudioTrackList &tracks)
{
    QString text = path + u'\n';
    if (tracks.isEmpty())
        return text + QStringLiteral("  no audio tracks\n");
    for (const AudioTrack &track : tracks) {
        QStringList details;
        if (!track.language.isEmpty())
            details << QStringLiteral("language ") + track.language;
        if (!track.title.isEmpty())
            details << QStringLiteral("title \"%1\"").arg(track.title);
        if (track.sampleRate > 0)
            details << QStringLiteral("%1 Hz").arg(track.sampleRate);
        text += QStringLiteral("  ") + AudioTrackLabel(track);
        if (!details.isEmpty())
            text += QStringLiteral("; ") + details.join(QStringLiteral(", "));
        text += u'\n';
    }
    return text;
}
