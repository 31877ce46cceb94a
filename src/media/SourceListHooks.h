#pragma once
// What the source list tells the preview and the timeline when it changes. Each hook does
// nothing until the part that provides it is attached.
#include <functional>

struct SourceListHooks {
    // Stops the preview player and lets go of its file.
    std::function<void()> StopPreview = [] {};
    // Places the start and end markers for the selected row.
    std::function<void()> LayoutSegmentMarkers = [] {};
    // Sets the widths of the timeline's left and right marker fillers (2 puts the markers at the ends).
    std::function<void(int width)> SetFillerWidths = [](int) {};
};
