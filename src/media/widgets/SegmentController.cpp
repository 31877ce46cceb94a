#include "media/widgets/SegmentController.h"

#include "media/SegmentSelection.h"
#include "media/widgets/SourceListController.h"
#include "media/widgets/SourceListView.h"
#include "media/widgets/TimelinePanel.h"
#include "support/MessageBoxHelpers.h"

#include <QTreeView>

SegmentController::SegmentController(TimelinePanel &timeline, SourceListController &sources, IMessageBoxes &boxes,
                                     PreviewTimelineState &state, IPreviewControl &preview, QObject *parent)
    : QObject(parent), m_timeline(timeline), m_boxes(boxes)
{
    SourceListView &view = sources.view();
    m_selection = new SegmentSelection(view.model(), state, preview,
                                       [&view] { return view.selectedRows(); }, this);
    sources.setHooks({[&preview] { preview.StopPreview(); }, [this] { m_selection->LayoutSegmentMarkers(); },
                      [this](int width) { m_selection->SetFillerWidths(width); }});
    view.setTimeCommit([this](int row, int column, const QString &text) { timeCommitted(row, column, text); });
    connect(view.grid(), &QAbstractItemView::clicked, this, &SegmentController::actDxTreeListOnClickExecute);
    connectTimeline();
    showMarkers();
}

SegmentController::~SegmentController() = default;

void SegmentController::connectTimeline()
{
    SegmentSelection *s = m_selection;
    connect(s, &SegmentSelection::markersMoved, this, &SegmentController::showMarkers);
    connect(&m_timeline, &TimelinePanel::startMarkerDragged, s, &SegmentSelection::dragStartMarker);
    connect(&m_timeline, &TimelinePanel::startMarkerReleased, s, &SegmentSelection::SetStartTimeAndPlay);
    connect(&m_timeline, &TimelinePanel::endMarkerDragged, s, &SegmentSelection::dragEndMarker);
    connect(&m_timeline, &TimelinePanel::endMarkerReleased, s, &SegmentSelection::Splitter2Moved);
    connect(&m_timeline, &TimelinePanel::leftFillerPressed, s, &SegmentSelection::Panel2MouseDown);
    connect(&m_timeline, &TimelinePanel::rightFillerPressed, s, &SegmentSelection::Panel3MouseDown);
    connect(&m_timeline, &TimelinePanel::startMarkerNudged, s, &SegmentSelection::nudgeStartMarker);
    connect(&m_timeline, &TimelinePanel::endMarkerNudged, s, &SegmentSelection::nudgeEndMarker);
}

void SegmentController::showMarkers()
{
    m_timeline.setMarkers(m_selection->markers());
}

void SegmentController::actDxTreeListOnClickExecute() { m_selection->LayoutSegmentMarkers(); }

// The message waits until the editor has closed and the grid has finished committing.
void SegmentController::timeCommitted(int row, int column, const QString &text)
{
    const std::optional<QString> error = m_selection->commitTypedTime(row, column, text);
    if (!error)
        return;
    QMetaObject::invokeMethod(this, [this, message = *error] { ShowMessageBox(m_boxes, message, MessageKind::Warning); },
                              Qt::QueuedConnection);
}
