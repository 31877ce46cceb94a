#include "media/SegmentSelection.h"

#include "media/MediaGraph.h"
#include "media/SegmentMarkers.h"
#include "media/SourceListModel.h"
#include "media/TimeText.h"
#include "media/TypedTimes.h"

#include <algorithm>
#include <cstdlib>

using namespace SegmentMarkers;

SegmentSelection::SegmentSelection(SourceListModel &sources, PreviewTimelineState &state, IPreviewControl &preview,
                                   SelectedRows selectedRows, QObject *parent)
    : QObject(parent), m_sources(sources), m_state(state), m_preview(preview),
      m_selectedRows(std::move(selectedRows))
{
}

// The strip always holds both markers: a filler keeps at least a pixel and the span never
// goes below nothing, whatever times a row holds.
void SegmentSelection::setFillers(int left, int right)
{
    left = std::clamp(left, MinimumFillerWidth, FillersAndSpan - MinimumFillerWidth);
    right = std::clamp(right, MinimumFillerWidth, FillersAndSpan - left);
    if (left == m_left && right == m_right)
        return;
    m_left = left;
    m_right = right;
    Q_EMIT markersMoved();
}

// A seek that fails leaves the preview where it is.
void SegmentSelection::seekPreview(qint64 seconds)
{
    if (!m_state.markersReady || !m_preview.isGraphOpen())
        return;
    try {
        m_preview.seekMilliseconds(seconds * 1000);
    } catch (const MediaGraphError &) {
    }
}

void SegmentSelection::LayoutSegmentMarkers()
{
    for (int row : m_selectedRows())
        layoutRow(row);
}

void SegmentSelection::layoutRow(int index)
{
    const SourceRow row = m_sources.row(index);
    if (m_preview.previewFile() == row.fileName)
        return; // the markers of the file being previewed stay as they are
    m_preview.StopPreview();
    placeMarkersFor(row);
}

void SegmentSelection::placeMarkersFor(const SourceRow &row)
{
    const qint64 duration = TimeTextToSeconds(row.duration);
    m_selectedDuration = duration;
    m_state.markersReady = false;
    int left = m_left;
    int right = m_right;
    const int a = StartFillerWidth(TimeTextToSeconds(row.startTime), duration);
    if (std::abs(a - left) > 1)
        left = a;
    const int b = EndFillerWidth(TimeTextToSeconds(row.endTime), duration);
    if (std::abs(b - right) > 2)
        right = b;
    setFillers(left, right);
    m_state.markersReady = true;
}

void SegmentSelection::SetStartTimeAndPlay()
{
    if (MarkersTouch(m_left, m_right))
        setFillers(m_left - 1, m_right);
    m_state.previewStart = static_cast<int>(SecondsAtPercent(StartPercent(m_left), m_selectedDuration));
    const QList<int> rows = m_selectedRows();
    const QString start = FormatTimeText(m_state.previewStart);
    for (int index : rows) {
        m_sources.setField(index, SourceRow::StartTimeColumn, start);
        const QString path = m_sources.row(index).fileName;
        m_sources.setField(index, SourceRow::CutTimeColumn, FormatTimeText(CutSeconds(path)));
    }
    if (!rows.isEmpty())
        seekPreview(m_state.previewStart);
}

// At its rightmost place the end marker stands for 101 % of the duration; no end is let past
// the end of its own file.
void SegmentSelection::Splitter2Moved()
{
    if (MarkersTouch(m_left, m_right))
        setFillers(m_left, m_right - 1);
    const qint64 end = std::min(SecondsAtPercent(EndPercent(m_right), m_selectedDuration), m_selectedDuration);
    for (int index : m_selectedRows()) {
        const qint64 fileEnd = TimeTextToSeconds(m_sources.row(index).duration);
        m_sources.setField(index, SourceRow::EndTimeColumn, FormatTimeText(std::min(end, fileEnd)));
        m_state.endMarkerText = FormatTimeText(end);
        const QString path = m_sources.row(index).fileName;
        m_sources.setField(index, SourceRow::CutTimeColumn, FormatTimeText(CutSeconds(path)));
    }
}

void SegmentSelection::dragStartMarker(int leftFillerWidth)
{
    const int widest = std::max(MinimumFillerWidth, FillersAndSpan - m_right - 1);
    const int left = std::clamp(leftFillerWidth, MinimumFillerWidth, widest);
    if (left == m_left)
        return;
    setFillers(left, m_right);
    SetStartTimeAndPlay();
}

void SegmentSelection::dragEndMarker(int rightFillerWidth)
{
    const int widest = std::max(MinimumFillerWidth, FillersAndSpan - m_left - 1);
    const int right = std::clamp(rightFillerWidth, MinimumFillerWidth, widest);
    if (right == m_right)
        return;
    setFillers(m_left, right);
    Splitter2Moved();
}

void SegmentSelection::Panel2MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    const int step = FillerClickStep(modifiers);
    if (button != Qt::LeftButton || !FillerClickMoves(m_left, step, m_left, m_right))
        return;
    setFillers(m_left - step, m_right);
    SetStartTimeAndPlay();
}

void SegmentSelection::Panel3MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    const int step = FillerClickStep(modifiers);
    if (button != Qt::LeftButton || !FillerClickMoves(m_right, step, m_left, m_right))
        return;
    setFillers(m_left, m_right - step);
    Splitter2Moved();
}

void SegmentSelection::SetFillerWidths(int width) { setFillers(width, width); }

std::optional<QString> SegmentSelection::commitTypedTime(int row, int column, const QString &text)
{
    const bool timeColumn = column == SourceRow::StartTimeColumn || column == SourceRow::EndTimeColumn;
    if (!timeColumn || row < 0 || row >= m_sources.rowCount())
        return std::nullopt;
    if (!text.isEmpty() && !IsTypedTimeReadable(text))
        return UnreadableTimeMessage(text);
    m_sources.setField(row, column, text);
    QList<int> rows = m_selectedRows();
    if (!rows.contains(row)) {
        rows << row;
        std::sort(rows.begin(), rows.end());
    }
    dxTreeSourceFileInfoEdited(rows);
    // The markers follow the committed times at once, also those of the file being previewed
    // (which keeps playing); the last selected row decides, as in a layout.
    if (const QList<int> selected = m_selectedRows(); !selected.isEmpty())
        placeMarkersFor(m_sources.row(selected.last()));
    return std::nullopt;
}

void SegmentSelection::dxTreeSourceFileInfoEdited(const QList<int> &rows)
{
    for (int index : rows) {
        const std::optional<CheckedTimes> checked = CheckEditedTimes(m_sources.row(index));
        if (!checked)
            continue; // only typed times are checked, and those were read before they went in
        for (int column : {SourceRow::StartTimeColumn, SourceRow::EndTimeColumn, SourceRow::CutTimeColumn}) {
            if (m_sources.row(index).field(column) != checked->row.field(column))
                m_sources.setField(index, column, checked->row.field(column));
        }
        seekPreview(checked->startSeconds);
    }
}

qint64 SegmentSelection::CutSeconds(const QString &path) const
{
    qint64 seconds = 0;
    for (const SourceRow &row : m_sources.rows()) {
        if (row.fileName.compare(path, Qt::CaseInsensitive) == 0)
            seconds = qint64(TimeTextToSeconds(row.endTime)) - TimeTextToSeconds(row.startTime);
    }
    return seconds;
}
