#pragma once
// "VideoFile.avs" in the program folder (in the user's state folder when the program folder is
// read-only): the one-line script through which "revc" reads RealMedia sources.
#include <QString>
#include <stdexcept>

// Raised when the script cannot be written.
class AvsWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// `folder` + "VideoFile.avs".
QString AvsScriptPath(const QString &folder);

// The script's one line, without its line end.
QString AvsScriptLine(const QString &inputPath);

// Replaces the script (atomically) with the line for `inputPath` and CR LF, in UTF-8.
// Throws AvsWriteError on failure.
void WriteAvsScript(const QString &folder, const QString &inputPath);
