#pragma once
// Tells the user that a file could not be read and a codec may be missing. The add operation
// calls it once for every file it refuses; the window version shows "Error Info" modally.
class ICodecErrorReporter {
public:
    virtual ~ICodecErrorReporter() = default;
    // Returns when the user has closed the report.
    virtual void ShowReadErrorWindow() = 0;
};
