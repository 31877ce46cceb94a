#pragma once
// What the timeline and the preview player share. The preview player owns the loaded file and
// the graph; the timeline sets where playback starts and where it pauses, and seeks a loaded
// preview. One PreviewTimelineState lives for the program and is handed to both.
#include <QString>
#include <QtGlobal>

struct PreviewTimelineState {
    // Where playback starts after loading, in whole seconds; set only by the start marker.
    int previewStart = 0;
    // False until the markers have been laid out once; false while a layout runs.
    bool markersReady = false;
    // The end marker's time as hh:mm:ss; empty until the end marker is first moved.
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
