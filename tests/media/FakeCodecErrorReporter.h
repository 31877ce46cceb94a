#pragma once
// Notes the reports an add operation would have shown.
#include "media/CodecErrorReporter.h"

#include <QStringList>

class FakeCodecErrorReporter final : public ICodecErrorReporter {
public:
    int shown = 0;                     // reports (windows) shown
    QStringList paths;                 // the files named, in order
    QList<RefusedSourceFile> refused;  // the same with their reasons
    void ReportRefusedFiles(const QList<RefusedSourceFile> &files) override
    {
        ++shown;
        for (const RefusedSourceFile &file : files)
            paths << file.path;
        refused << files;
    }
};
