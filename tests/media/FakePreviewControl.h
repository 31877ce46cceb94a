#pragma once
// A preview for the timeline's tests: it records seeks and stops and can refuse to seek.
#include "media/MediaGraph.h"
#include "media/PreviewPort.h"

#include <QList>

class FakePreviewControl final : public IPreviewControl {
public:
    QString file;      // the loaded file; empty when nothing is loaded
    bool open = false; // the graph is open
    bool seekFails = false;
    QList<qint64> seeks; // milliseconds asked for
    int stops = 0;

    QString previewFile() const override { return file; }
    bool isGraphOpen() const override { return open; }
    void seekMilliseconds(qint64 milliseconds) override
    {
        if (seekFails)
            throw MediaGraphError("The graph can't seek.");
        seeks << milliseconds;
    }
    void StopPreview() override
    {
        ++stops;
        file.clear();
        open = false;
    }
    // A file loaded and playing.
    void load(const QString &path)
    {
        file = path;
        open = true;
    }
};
