#pragma once
// The part of each listed file that is converted, set with the timeline's two markers or by
// typing times into the list. This object holds where the markers stand, as times of the
// selected file, and runs what the markers, the fillers and a committed time edit do to the
// selected rows and the preview. The timeline widget lays the markers out from those times and
// reports the user's moves.
//
// Whatever a user does here reports failures as values: nothing thrown leaves these handlers.
#include "media/PreviewPort.h"
#include "media/SegmentMarkers.h"
#include "media/SourceItem.h"

#include <QList>
#include <QObject>
#include <functional>
#include <optional>

class SourceListModel;
struct SourceItem;

class SegmentSelection final : public QObject {
    Q_OBJECT
public:
    // The selected rows of the list, ascending.
    using SelectedRows = std::function<QList<int>()>;

    // Every collaborator must outlive this object.
    SegmentSelection(SourceListModel &sources, PreviewTimelineState &state, IPreviewControl &preview,
                     SelectedRows selectedRows, QObject *parent = nullptr);

    // Where the markers stand; the timeline lays them out with SegmentMarkers::LayOutTimeline.
    const SegmentMarkers::MarkerTimes &markers() const { return m_markers; }
    // Widths of the left filler (a) and the right filler (b) at those times.
    int leftFillerWidth() const { return layout().leftFiller; }
    int rightFillerWidth() const { return layout().rightFiller; }
    // Duration in whole seconds of the row laid out last; the markers stand at times of it.
    qint64 selectedDuration() const { return m_markers.lengthMs / 1000; }

    // Places the markers for the selected rows in turn, the last one deciding; the row of the
    // file being previewed is left alone, any other stops the preview first.
    void LayoutSegmentMarkers();
    // Start marker moved: the start time of every selected row from it, each checked as a typed
    // time is (within the row's own length, the end not before it); seeks the preview.
    void SetStartTimeAndPlay();
    // End marker moved: the end time of every selected row from it, never past the row's file
    // and never before its start.
    void Splitter2Moved();

    // A drag of the start marker asks for a left filler width; it is kept between 1 and what
    // leaves a span of 1 pixel. When the width changes, SetStartTimeAndPlay runs.
    void dragStartMarker(int leftFillerWidth);
    // The same for the end marker and the right filler; Splitter2Moved runs on a change.
    void dragEndMarker(int rightFillerWidth);

    // A mouse button pressed on the left or the right filler: moves that marker outwards.
    void Panel2MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void Panel3MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

    // The start (or end) of every selected row set to `seconds` exactly, each row then checked
    // as a typed time is, so a row shorter than that keeps its start within its own length and
    // no start is left past its end; the markers are placed for the last selected row. The
    // preview is left where it is.
    void setSelectedStart(qint64 seconds);
    void setSelectedEnd(qint64 seconds);
    // A focused marker moved by keys: the last selected row's start (or end) moved by
    // `seconds`, kept between the file's beginning, the other end of the cut and the file's
    // end, and written into every selected row as above. Moving the start seeks the preview.
    void nudgeStartMarker(int seconds);
    void nudgeEndMarker(int seconds);

    // Both fillers to `width` (2 puts the markers at the ends once the list is empty).
    void SetFillerWidths(int width);

    // A time typed into the start or end cell of `row` was committed. A text that can't be
    // read changes nothing and gives the message for the user; otherwise it is written and
    // the selected rows (and `row`) are checked as dxTreeSourceFileInfoEdited describes, and
    // the markers move to the times of the last selected row at once (a preview goes on).
    std::optional<QString> commitTypedTime(int row, int column, const QString &text);
    // After a committed edit, for every row given (in order): see CheckEditedTimes; a loaded
    // preview goes to the checked start. The markers stay where they are.
    void dxTreeSourceFileInfoEdited(const QList<int> &rows);

Q_SIGNALS:
    // The markers' times changed: the timeline places its markers again.
    void markersMoved();

private:
    SegmentMarkers::TimelineLayout layout() const { return SegmentMarkers::LayOutTimeline(m_markers); }
    // The markers to where the filler widths `left` and `right` put them on a strip of
    // `lengthMs` (the current one when not given).
    void setFillers(int left, int right) { setFillers(m_markers.lengthMs, left, right); }
    void setFillers(qint64 lengthMs, int left, int right);
    void seekPreview(qint64 seconds);
    void layoutRow(int row);
    void writeChecked(SourceItem item);
    void placeMarkersFor(const SourceItem &item);
    void placeMarkersExactly(const SourceItem &item);
    std::optional<SourceItem> lastSelectedItem() const;

    SourceListModel &m_sources;
    PreviewTimelineState &m_state;
    IPreviewControl &m_preview;
    SelectedRows m_selectedRows;
    SegmentMarkers::MarkerTimes m_markers = SegmentMarkers::StartUpMarkers();
};
