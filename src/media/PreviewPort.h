#pragma once
// What the timeline and the preview share. The preview player owns the loaded file and the
// graph and plays each row from its own start to its own end; the timeline seeks a loaded
// preview and keeps the markers' last times here. One PreviewTimelineState lives for the program.
#include <QString>
#include <QtGlobal>

struct PreviewTimelineState {
    // The start the start marker set last, in whole seconds.
    int previewStart = 0;
    // False until the markers have been laid out once; false while a layout runs.
    bool markersReady = false;
    // The end the end marker set last, as hh:mm:ss; empty until the end marker is first moved.
    QString endMarkerText;
};

// The preview operations the timeline calls.
class IPreviewControl {
public:
    virtual ~IPreviewControl() = default;
    // Path of the loaded file; empty when nothing is loaded.
    virtual QString previewFile() const = 0;
    // True while the preview graph is open (a file is loaded).
    virtual bool isGraphOpen() const = 0;
    // Seeks the loaded preview to `milliseconds`; throws MediaGraphError when it can't.
    virtual void seekMilliseconds(qint64 milliseconds) = 0;
    // Stops the preview and lets go of its file; does nothing when nothing is loaded.
    virtual void StopPreview() = 0;
};
