#pragma once
// Why an encoder run did not convert its file, in the words the window and kelvane-convert both
// use; the one place these texts live.
#include "engine/ExitStatus.h"

#include <QString>

// The last non-empty line of a chunk of encoder output, trimmed; empty when there is none.
QString LastOutputLine(const QString &chunk);

// Why the run of `encoderPath` that was to write `outputPath` failed; empty when it converted.
// `lastLine` is the encoder's last line of output (its own error message, when it failed).
QString EncoderFailure(const QString &encoderPath, const QString &outputPath, const QString &lastLine, bool started,
                       const TExitStatus &status);

// The log lines of an item that was not converted.
QString ConversionFailedLine(const QString &sourcePath, const QString &reason);
QString ConversionStoppedLine(const QString &sourcePath);
