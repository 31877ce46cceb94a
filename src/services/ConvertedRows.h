#pragma once
// Knowing what was converted already. A converted row keeps a mark (in the source list model)
// of the output it gave and of the settings it was converted with; the settings are one text,
// the settings key, that changes whenever anything that would change the output does: the
// output type, its options, loudness, keeping the original sound, or the output folder.
//
// Before a run, PrepareRun looks at the checked rows: a row whose file is gone is left out
// with a line in the log, and when checked rows were converted already with the settings in
// force, one question asks what to do with them.
#include "media/SourceItem.h"
#include "settings/EncoderSettings.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class IMessageBoxes;
class SourceListModel;

// The settings key of `settings` writing into `outputFolder` (a folder path as the run uses it).
QString ConversionSettingsKey(const EncoderSettings &settings, const QString &outputFolder);

// The question about rows converted before: "3 checked rows were already converted with these
// settings into this folder", and its buttons.
QString AlreadyConvertedQuestion(int rows);
QStringList AlreadyConvertedButtons(); // "Convert again", "Skip them", "Cancel"

struct RunPreparation {
    bool go = true;              // false: no run (cancelled, or every checked row is left out)
    QSet<quint64> leaveOut;      // ids of checked items the run leaves out
    QString status;              // for the status line when there is no run; empty otherwise
};

// Refreshes which checked rows are missing, leaves those out (one log line each through `log`)
// and asks about the converted ones through `boxes`.
RunPreparation PrepareRun(SourceListModel &model, IMessageBoxes &boxes, const std::function<void(const QString &)> &log);
