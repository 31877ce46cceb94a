#pragma once
// Why an encoder run did not convert its file, in the words the window and kelvane-convert both
// use; the one place these texts live.
#include "engine/ExitStatus.h"

#include <QString>

// The last non-empty line of a chunk of encoder output, trimmed; empty when there is none.
QString LastOutputLine(const QString &chunk);

// How far an encoder got before it ended.
struct TEncoderReach {
    qint64 writtenSeconds = -1; // the sound its newest status line said it had written; -1: none said
    qint64 lengthSeconds = 0;   // the sound it was to write; 0: not known
};

// Why the run of `encoderPath` that was to write `outputPath` failed, as a sentence; empty when it
// converted. `lastLine` is the encoder's last line of output: its own error message ("evc: the
// disk is full") is the reason; a status line or any other output is not shown, only logged (see
// EncoderOutputForLog). For example "the encoder was ended by signal 9 (killed) after 19:40 of 20:00".
QString EncoderFailure(const QString &encoderPath, const QString &outputPath, const QString &lastLine, bool started,
                       const TExitStatus &status, const TEncoderReach &reach = {});

// The encoder's last line when the failure's `reason` leaves it out: for the log only. Empty when
// the reason says it already, or there was none.
QString EncoderOutputForLog(const QString &encoderPath, const QString &lastLine, const QString &reason);

// What ended a process by `signal`, in a word or two: "killed", "terminated", "segmentation fault".
QString SignalText(int signal);

// The log lines of an item that was not converted; `encoderOutput` (the encoder's last line, when
// the reason leaves it out) follows the reason.
QString ConversionFailedLine(const QString &sourcePath, const QString &reason, const QString &encoderOutput = {});
QString ConversionStoppedLine(const QString &sourcePath);
