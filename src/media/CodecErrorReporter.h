#pragma once
#include <QString>

// Tells the user that a file could not be read and a codec may be missing. The add operation
// calls it once for every file it refuses; the window version shows "Error Info" modally.
class ICodecErrorReporter {
public:
    virtual ~ICodecErrorReporter() = default;
    // Names the refused file `path`; returns when the user has closed the report.
    virtual void ShowReadErrorWindow(const QString &path) = 0;
};
