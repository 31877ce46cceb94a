#pragma once
// The part of each listed file that is converted, set with the timeline's two markers or by
// typing times into the list. This object holds the timeline's filler widths (the markers'
// places) and runs what the markers, the fillers and a committed time edit do to the selected
// rows and the preview. The timeline widget shows the widths and reports the user's moves.
//
// Whatever a user does here reports failures as values: nothing thrown leaves these handlers.
#include "media/PreviewPort.h"

#include <QList>
#include <QObject>
#include <functional>
#include <optional>

class SourceListModel;
struct SourceRow;

class SegmentSelection final : public QObject {
    Q_OBJECT
public:
    // The selected rows of the list, ascending.
    using SelectedRows = std::function<QList<int>()>;

    // Every collaborator must outlive this object.
    SegmentSelection(SourceListModel &sources, PreviewTimelineState &state, IPreviewControl &preview,
                     SelectedRows selectedRows, QObject *parent = nullptr);

    // Widths of the left filler (a) and the right filler (b).
    int leftFillerWidth() const { return m_left; }
    int rightFillerWidth() const { return m_right; }
    // Duration in seconds of the row laid out last; the markers' pixels are seconds of it.
    qint64 selectedDuration() const { return m_selectedDuration; }

    // Places the markers for the selected rows in turn, the last one deciding; the row of the
    // file being previewed is left alone, any other stops the preview first.
    void LayoutSegmentMarkers();
    // Start marker moved: the start time of every selected row from it; seeks the preview.
    void SetStartTimeAndPlay();
    // End marker moved: the end time of every selected row from it, never past the row's file.
    void Splitter2Moved();

    // A drag of the start marker asks for a left filler width; it is kept between 1 and what
    // leaves a span of 1 pixel. When the width changes, SetStartTimeAndPlay runs.
    void dragStartMarker(int leftFillerWidth);
    // The same for the end marker and the right filler; Splitter2Moved runs on a change.
    void dragEndMarker(int rightFillerWidth);

    // A mouse button pressed on the left or the right filler: moves that marker outwards.
    void Panel2MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void Panel3MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

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

    // End minus start in seconds of the last row holding `path` (letter case ignored); 0 when
    // no row holds it.
    qint64 CutSeconds(const QString &path) const;

Q_SIGNALS:
    // A filler width changed: the timeline places its markers again.
    void markersMoved();

private:
    void setFillers(int left, int right);
    void seekPreview(qint64 seconds);
    void layoutRow(int row);
    void placeMarkersFor(const SourceRow &row);

    SourceListModel &m_sources;
    PreviewTimelineState &m_state;
    IPreviewControl &m_preview;
    SelectedRows m_selectedRows;
    int m_left = 1;
    int m_right = 1;
    qint64 m_selectedDuration = 0;
};
