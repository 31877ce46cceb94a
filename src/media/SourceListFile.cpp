#include "media/SourceListFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <stdexcept>

namespace {

const QString FormatName = QStringLiteral("kelvane-source-list");

// A field that is missing or of the wrong type: the document is damaged.
struct Damage : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void damaged(const QString &what) { throw Damage(what.toStdString()); }

QJsonValue field(const QJsonObject &object, const char *name)
{
    const QJsonValue value = object.value(QLatin1String(name));
    if (value.isUndefined())
        damaged(QStringLiteral("no \"%1\"").arg(QLatin1String(name)));
    return value;
}

qint64 wholeNumber(const QJsonObject &object, const char *name, qint64 least = 0)
{
    const QJsonValue value = field(object, name);
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number != static_cast<double>(static_cast<qint64>(number)) || number < least ||
        number > 9.0e15)
        damaged(QStringLiteral("\"%1\" is not a whole number from %2").arg(QLatin1String(name)).arg(least));
    return static_cast<qint64>(number);
}

QString text(const QJsonObject &object, const char *name)
{
    const QJsonValue value = field(object, name);
    if (!value.isString())
        damaged(QStringLiteral("\"%1\" is not a text").arg(QLatin1String(name)));
    return value.toString();
}

bool flag(const QJsonObject &object, const char *name)
{
    const QJsonValue value = field(object, name);
    if (!value.isBool())
        damaged(QStringLiteral("\"%1\" is not true or false").arg(QLatin1String(name)));
    return value.toBool();
}

std::optional<int> optionalTrack(const QJsonObject &object)
{
    if (!object.contains(QLatin1String("audioTrack")))
        return std::nullopt;
    return static_cast<int>(wholeNumber(object, "audioTrack", 1));
}

QJsonObject objectAt(const QJsonValue &value, const QString &what)
{
    if (!value.isObject())
        damaged(what + QStringLiteral(" is not an object"));
    return value.toObject();
}

QJsonArray arrayIn(const QJsonObject &object, const char *name)
{
    const QJsonValue value = field(object, name);
    if (!value.isArray())
        damaged(QStringLiteral("\"%1\" is not a list").arg(QLatin1String(name)));
    return value.toArray();
}

QJsonObject trackObject(const AudioTrack &track)
{
    return {{"number", track.number},         {"language", track.language}, {"title", track.title},
            {"codec", track.codec},           {"channels", track.channels}, {"sampleRate", track.sampleRate},
            {"isDefault", track.isDefault}};
}

AudioTrack readTrack(const QJsonObject &object)
{
    AudioTrack track;
    track.number = static_cast<int>(wholeNumber(object, "number", 1));
    track.language = text(object, "language");
    track.title = text(object, "title");
    track.codec = text(object, "codec");
    track.channels = static_cast<int>(wholeNumber(object, "channels"));
    track.sampleRate = static_cast<int>(wholeNumber(object, "sampleRate"));
    track.isDefault = flag(object, "isDefault");
    return track;
}

QJsonObject markObject(const ConvertedMark &mark)
{
    QJsonObject object{{"outputPath", mark.outputPath}, {"settingsKey", mark.settingsKey},
                       {"startMs", mark.startMs},       {"endMs", mark.endMs}};
    if (mark.audioTrack)
        object.insert(QStringLiteral("audioTrack"), *mark.audioTrack);
    return object;
}

ConvertedMark readMark(const QJsonObject &object)
{
    ConvertedMark mark;
    mark.outputPath = text(object, "outputPath");
    mark.settingsKey = text(object, "settingsKey");
    mark.startMs = wholeNumber(object, "startMs");
    mark.endMs = wholeNumber(object, "endMs");
    mark.audioTrack = optionalTrack(object);
    return mark;
}

QJsonObject itemObject(const SourceItem &item, const ConvertedMark *mark)
{
    QJsonArray tracks;
    for (const AudioTrack &track : item.audioTracks)
        tracks.append(trackObject(track));
    QJsonObject object{{"id", static_cast<qint64>(item.id.value)},
                       {"path", item.path},
                       {"sizeBytes", item.sizeBytes},
                       {"durationMs", item.durationMs},
                       {"startMs", item.startMs},
                       {"endMs", item.endMs},
                       {"checked", item.checked},
                       {"hasSound", item.hasSound},
                       {"audioTracks", tracks}};
    if (item.audioTrack)
        object.insert(QStringLiteral("audioTrack"), *item.audioTrack);
    if (mark)
        object.insert(QStringLiteral("converted"), markObject(*mark));
    return object;
}

SourceItem readItem(const QJsonObject &object)
{
    SourceItem item;
    item.id = SourceItemId{static_cast<quint64>(wholeNumber(object, "id", 1))};
    item.path = text(object, "path");
    if (item.path.isEmpty())
        damaged(QStringLiteral("an empty path"));
    item.sizeBytes = wholeNumber(object, "sizeBytes");
    item.durationMs = wholeNumber(object, "durationMs");
    item.startMs = wholeNumber(object, "startMs");
    item.endMs = wholeNumber(object, "endMs");
    item.checked = flag(object, "checked");
    item.hasSound = flag(object, "hasSound");
    item.audioTrack = optionalTrack(object);
    for (const QJsonValue &track : arrayIn(object, "audioTracks"))
        item.audioTracks << readTrack(objectAt(track, QStringLiteral("an audio track")));
    return item;
}

SavedSourceList readItems(const QJsonObject &root)
{
    SavedSourceList list;
    QSet<quint64> ids;
    for (const QJsonValue &value : arrayIn(root, "items")) {
        const QJsonObject object = objectAt(value, QStringLiteral("an item"));
        const SourceItem item = readItem(object);
        if (ids.contains(item.id.value))
            damaged(QStringLiteral("the id %1 twice").arg(item.id.value));
        ids.insert(item.id.value);
        if (object.contains(QLatin1String("converted")))
            list.marks.insert(item.id.value, readMark(objectAt(object.value(QLatin1String("converted")),
                                                               QStringLiteral("\"converted\""))));
        list.items << item;
    }
    return list;
}

} // namespace

QByteArray SourceListDocument(const SavedSourceList &list)
{
    QJsonArray items;
    for (const SourceItem &item : list.items) {
        const auto mark = list.marks.constFind(item.id.value);
        items.append(itemObject(item, mark == list.marks.cend() ? nullptr : &*mark));
    }
    const QJsonObject root{{"format", FormatName}, {"version", SourceListFileVersion}, {"items", items}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

SourceListReading ReadSourceListDocument(const QByteArray &document)
{
    SourceListReading reading;
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(document, &error);
    try {
        if (error.error != QJsonParseError::NoError)
            damaged(error.errorString());
        if (!json.isObject())
            damaged(QStringLiteral("not an object"));
        const QJsonObject root = json.object();
        if (root.value(QLatin1String("format")).toString() != FormatName)
            damaged(QStringLiteral("not a source list"));
        const qint64 version = wholeNumber(root, "version", 1);
        if (version > SourceListFileVersion) {
            reading.outcome = SourceListReading::Outcome::Newer;
            reading.problem = QStringLiteral("version %1, newer than this program's %2").arg(version).arg(SourceListFileVersion);
            return reading;
        }
        reading.list = readItems(root);
    } catch (const Damage &damage) {
        reading = SourceListReading{};
        reading.outcome = SourceListReading::Outcome::Damaged;
        reading.problem = QString::fromStdString(damage.what());
    }
    return reading;
}
