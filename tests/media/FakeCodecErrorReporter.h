#pragma once
// Counts the "Error Info" windows an add operation would have shown.
#include "media/CodecErrorReporter.h"

#include <QStringList>

class FakeCodecErrorReporter final : public ICodecErrorReporter {
public:
    int shown = 0;
    QStringList paths;   // the files named, in order
    void ShowReadErrorWindow(const QString &path) override
    {
        ++shown;
        paths << path;
    }
};
