#pragma once
// The option selection of a kelvane-convert run, made the way the window makes it: the
// selectors filled as at start-up, the output type and the quality (or a custom profile)
// applied, then the single options the command line sets.
#include <QString>
#include <QStringList>

class OptionSelectionModel;
struct ConvertRequest;

struct OptionChoice {
    QString error;        // the custom profile is unknown or unusable; nothing may be converted
    QStringList warnings; // options that have no effect on the chosen output type
};

// `configBase` is the folder that holds Config/ with the custom profiles.
OptionChoice ChooseOptions(OptionSelectionModel &model, const ConvertRequest &request, const QString &configBase);
