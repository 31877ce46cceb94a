#pragma once
// Reading kelvane-convert's arguments. Every value is checked here, against the same option
// lists the window offers, so that a mistake is reported before anything is converted.
#include "cli/ConvertRequest.h"

struct ParsedCommandLine {
    enum class Kind { Run, Help, Version, UsageError };
    Kind kind = Kind::Run;
    ConvertRequest request; // for Run
    QString message;        // for UsageError: what is wrong, in one sentence
};

// `arguments` without the program name.
ParsedCommandLine ParseCommandLine(const QStringList &arguments);

// The --help text; `cores` is shown as the default number of jobs.
QString HelpText(int cores);

// The --version text: "kelvane-convert 1.2.3".
QString VersionText();

// "hh:mm:ss" (hours of two to six digits, minutes and seconds below 60) in seconds; nullopt
// for any other text.
std::optional<qint64> ParseTimeText(const QString &text);
