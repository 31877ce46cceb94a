#pragma once
#include "media/SourceRefusal.h"

#include <QList>

// Tells the user which files an add operation left out, and why. The add operation calls it
// once, after its last file, when it refused any; the window version shows "Error Info"
// modally for a single file that no decoder reads (check the file or install a codec), and
// one window listing every file with its reason otherwise.
class ICodecErrorReporter {
public:
    virtual ~ICodecErrorReporter() = default;
    // Returns when the user has closed the report.
    virtual void ReportRefusedFiles(const QList<RefusedSourceFile> &files) = 0;
};
