#include "media/AudioTrackText.h"

#include <QLocale>

QString LanguageName(const QString &tag)
{
    if (tag.isEmpty())
        return {};
    const QLocale::Language language = QLocale::codeToLanguage(tag.toLower(), QLocale::AnyLanguageCode);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return tag;
    return QLocale::languageToString(language);
}

QString CodecName(const QString &codec)
{
    static const QList<std::pair<QString, QString>> names{
        {QStringLiteral("eac3"), QStringLiteral("E-AC3")},   {QStringLiteral("opus"), QStringLiteral("Opus")},
        {QStringLiteral("vorbis"), QStringLiteral("Vorbis")}, {QStringLiteral("truehd"), QStringLiteral("TrueHD")},
        {QStringLiteral("wmav1"), QStringLiteral("WMA")},    {QStringLiteral("wmav2"), QStringLiteral("WMA")},
        {QStringLiteral("amr_nb"), QStringLiteral("AMR")},   {QStringLiteral("amr_wb"), QStringLiteral("AMR-WB")},
    };
    for (const auto &[name, shown] : names) {
        if (codec == name)
            return shown;
    }
    if (codec.startsWith(u"pcm_"))
        return QStringLiteral("PCM");
    return codec.toUpper();
}

QString ChannelsName(int channels)
{
    switch (channels) {
    case 0: return {};
    case 1: return QStringLiteral("mono");
    case 2: return QStringLiteral("stereo");
    case 6: return QStringLiteral("5.1");
    case 8: return QStringLiteral("7.1");
    default: return QStringLiteral("%1 channels").arg(channels);
    }
}

namespace {

constexpr qsizetype LongestTitle = 60;

// The track's title on one line, cut to a length a menu can show; empty when it says no more
// than the language does.
QString shownTitle(const AudioTrack &track, const QString &languageName)
{
    QString title = track.title.simplified();
    if (title.compare(languageName, Qt::CaseInsensitive) == 0 || title.compare(track.language, Qt::CaseInsensitive) == 0)
        return {};
    if (title.size() > LongestTitle)
        title = title.left(LongestTitle - 1).trimmed() + QChar(0x2026);
    return title;
}

} // namespace

QString AudioTrackLabel(const AudioTrack &track)
{
    QString label = QString::number(track.number) + QStringLiteral(": ");
    const QString language = LanguageName(track.language);
    const QString title = shownTitle(track, language);
    const QString name = language.isEmpty() || title.isEmpty() ? language + title : language + QStringLiteral(", ") + title;
    if (!name.isEmpty())
        label += name + QStringLiteral(" - ");
    label += CodecName(track.codec);
    if (const QString channels = ChannelsName(track.channels); !channels.isEmpty())
        label += u' ' + channels;
    if (track.isDefault)
        label += QStringLiteral(" (default)");
    return label;
}
