#include "services/ConvertedRows.h"

#include "media/SourceListModel.h"
#include "platform/ChoiceBox.h"

#include <QFileInfo>

namespace {

QString optionalText(const std::optional<int> &value) { return value ? QString::number(*value) : QStringLiteral("-"); }

enum Choice { ConvertAgain = 0, SkipThem = 1, Cancel = 2 };

} // namespace

QString ConversionSettingsKey(const EncoderSettings &settings, const QString &outputFolder)
{
    const QStringList fields{QString::number(settings.outputType),
                             optionalText(settings.audioBitrateKbps),
                             optionalText(settings.sampleRateHz),
                             optionalText(settings.channelCount),
                             optionalText(settings.volumePercent),
                             settings.videoSize,
                             optionalText(settings.videoBitrateKbps),
                             optionalText(settings.frameRate),
                             settings.aspectRatio,
                             optionalText(settings.loudness),
                             settings.keepOriginal ? QStringLiteral("keep") : QStringLiteral("encode"),
                             QStringLiteral("%1%2%3")
                                 .arg(int(settings.askedFormat.bitrate))
                                 .arg(int(settings.askedFormat.sampleRate))
                                 .arg(int(settings.askedFormat.channels)),
                             outputFolder};
    return fields.join(u'|');
}

QString AlreadyConvertedQuestion(int rows)
{
    if (rows == 1)
        return QStringLiteral("1 checked row was already converted with these settings into this folder");
    return QStringLiteral("%1 checked rows were already converted with these settings into this folder").arg(rows);
}

QStringList AlreadyConvertedButtons()
{
    return {QStringLiteral("Convert again"), QStringLiteral("Skip them"), QStringLiteral("Cancel")};
}

RunPreparation PrepareRun(SourceListModel &model, IMessageBoxes &boxes, const std::function<void(const QString &)> &log)
{
    RunPreparation preparation;
    QList<SourceItemId> converted;
    int checked = 0;
    for (const SourceItem &item : QList<SourceItem>(model.items())) {
        if (!item.checked)
            continue;
        ++checked;
        const bool missing = !QFileInfo::exists(item.path);
        model.setMissing(item.id, missing);
        if (missing) {
            preparation.leaveOut.insert(item.id.value);
            log(QStringLiteral("Skipped: %1 (the file is missing)").arg(item.path));
        } else if (model.convertedMark(item.id)) {
            converted << item.id;
        }
    }
    if (!converted.isEmpty()) {
        switch (ChooseAmong(boxes, AlreadyConvertedQuestion(static_cast<int>(converted.size())), MessageIcon::Question,
                            AlreadyConvertedButtons())) {
        case ConvertAgain: break;
        case SkipThem:
            for (SourceItemId id : std::as_const(converted))
                preparation.leaveOut.insert(id.value);
            break;
        default:
            preparation.go = false;
            return preparation;
        }
    }
    if (checked > 0 && preparation.leaveOut.size() == checked) {
        preparation.go = false;
        preparation.status = QStringLiteral("Nothing to convert: the checked rows are missing or converted already.");
    }
    return preparation;
}
