#pragma once
// The encoder settings of a kelvane-convert run, made from its options directly: the window's
// start-up selection, the output type at the chosen quality (or a custom profile), then the
// single options the command line sets (the loudness only when --loudness is given).
#include "settings/EncoderSettings.h"

#include <QString>
#include <QStringList>

struct ConvertRequest;

struct OptionChoice {
    EncoderSettings settings;
    QString error;        // the custom profile is unknown or unusable; nothing may be converted
    QStringList warnings; // options that have no effect on the chosen output type
};

// `configBase` is the folder that holds Config/ with the custom profiles.
OptionChoice ChooseOptions(const ConvertRequest &request, const QString &configBase);
