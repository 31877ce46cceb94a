#pragma once
// Joins the timeline, the source list and SegmentSelection: marker drags and filler clicks go
// to the selection's handlers, its marker times come back to the timeline, a click in the grid
// (and the list's keys, additions and removals) lays the markers out, and a committed start or
// end time is checked. A time that can't be read is reported in a message box once the editor
// has closed.
//
// Wiring in the main window:
//
//   auto *segments = new SegmentController(*form->Panel1(), *sourceListController, boxes,
//                                          timelineState, preview, form);
//
// The source list's hooks (StopPreview, LayoutSegmentMarkers, SetFillerWidths) are set here;
// StopPreview goes to `preview`.
#include <QObject>

class IMessageBoxes;
class IPreviewControl;
class SegmentSelection;
class SourceListController;
class TimelinePanel;
struct PreviewTimelineState;

class SegmentController final : public QObject {
    Q_OBJECT
public:
    // Nothing handed in is owned; all of it must outlive this object.
    SegmentController(TimelinePanel &timeline, SourceListController &sources, IMessageBoxes &boxes,
                      PreviewTimelineState &state, IPreviewControl &preview, QObject *parent = nullptr);
    ~SegmentController() override;

    SegmentSelection &selection() { return *m_selection; }

    // A click in the grid: the markers follow the selected row.
    void actDxTreeListOnClickExecute();

private:
    void connectTimeline();
    void showMarkers();
    void timeCommitted(int row, int column, const QString &text);

    TimelinePanel &m_timeline;
    IMessageBoxes &m_boxes;
    SegmentSelection *m_selection;
};
