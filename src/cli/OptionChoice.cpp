#include "cli/OptionChoice.h"

#include "cli/ConvertRequest.h"
#include "settings/CustomProfiles.h"
#include "settings/OptionTables.h"

namespace {

QString unknownProfile(const QString &name, const QStringList &names)
{
    if (names.isEmpty())
        return QStringLiteral("there is no custom profile named '%1'; none are stored yet.").arg(name);
    return QStringLiteral("there is no custom profile named '%1'; the custom profiles are: %2.")
        .arg(name, names.join(QStringLiteral(", ")));
}

// The custom profile in place of a quality, as when it is picked in the window's quality list;
// an empty text when it was applied, else why not.
QString applyCustomProfile(OptionSelection &selection, const QString &name, const QString &configBase)
{
    try {
        if (!LoadCustomProfileByName(selection, configBase, name))
            return unknownProfile(name, CustomProfileNames(configBase));
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    }
    return {};
}

void setIfGiven(int &index, const std::optional<int> &given)
{
    if (given)
        index = *given;
}

QStringList warningsFor(const ConvertRequest &request)
{
    QStringList warnings;
    if (request.outputType == Amr && (request.sampleRate || request.channels))
        warnings << QStringLiteral("AMR is always mono at 8000 Hz; --rate and --channels do not apply to it.");
    return warnings;
}

} // namespace

OptionChoice ChooseOptions(const ConvertRequest &request, const QString &configBase)
{
    OptionSelection selection =
        BuiltInQualitySelection(request.outputType, request.quality.value_or(defaultIndex(OptionLists::QualityNames())));
    OptionChoice choice;
    if (!request.profileName.isEmpty())
        choice.error = applyCustomProfile(selection, request.profileName, configBase);
    if (!choice.error.isEmpty())
        return choice;
    setIfGiven(selection.audioBitrate, request.audioBitrate);
    setIfGiven(selection.sampleRate, request.sampleRate);
    setIfGiven(selection.channels, request.channels);
    setIfGiven(selection.volume, request.volume);
    choice.settings = EncoderSettingsFrom(selection);
    choice.settings.keepOriginal = request.keepOriginal;
    choice.settings.askedFormat = {request.audioBitrate.has_value(), request.sampleRate.has_value(),
                                   request.channels.has_value()};
    if (request.loudness)
        choice.settings.loudness = *request.loudness;
    choice.warnings = warningsFor(request);
    return choice;
}
