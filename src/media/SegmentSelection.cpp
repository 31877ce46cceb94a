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
    const SourceItem item = m_sources.item(index);
    if (m_preview.previewFile() == item.path)
        return; // the markers of the file being previewed stay as they are
    m_preview.StopPreview();
    placeMarkersFor(item);
}

void SegmentSelection::placeMarkersFor(const SourceItem &item)
{
    const qint64 duration = DurationSeconds(item);
    m_selectedDuration = duration;
    m_state.markersReady = false;
    int left = m_left;
    int right = m_right;
    const int a = StartFillerWidth(StartSeconds(item), duration);
    if (std::abs(a - left) > 1)
        left = a;
    const int b = EndFillerWidth(EndSeconds(item), duration);
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
    for (int index : rows) {
        SourceItem item = m_sources.item(index);
        item.startMs = qint64(m_state.previewStart) * 1000;
        writeChecked(item); // within the row's own length, never past its end
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
        SourceItem item = m_sources.item(index);
        item.endMs = EndAtSeconds(item, end);
        writeChecked(item);
        m_state.endMarkerText = FormatTimeText(end);
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

// The check of a typed time: the start within the file, the end not before the start.
void SegmentSelection::writeChecked(SourceItem item)
{
    const SourceItem checked = CheckEditedTimes(item);
    m_sources.setTimes(checked.id, checked.startMs, checked.endMs);
}

// Exact places for the row's times, also for the row being previewed: a step of a second
// moves a marker even where a layout would keep it.
void SegmentSelection::placeMarkersExactly(const SourceItem &item)
{
    m_selectedDuration = DurationSeconds(item);
    setFillers(StartFillerWidth(StartSeconds(item), m_selectedDuration),
               EndFillerWidth(EndSeconds(item), m_selectedDuration));
}

std::optional<SourceItem> SegmentSelection::lastSelectedItem() const
{
    const QList<int> rows = m_selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return m_sources.item(rows.last());
}

void SegmentSelection::setSelectedStart(qint64 seconds)
{
    for (int index : m_selectedRows()) {
        SourceItem item = m_sources.item(index);
        item.startMs = std::max<qint64>(0, seconds) * 1000;
        writeChecked(item);
    }
    if (const std::optional<SourceItem> last = lastSelectedItem())
        placeMarkersExactly(*last);
}

void SegmentSelection::setSelectedEnd(qint64 seconds)
{
    for (int index : m_selectedRows()) {
        SourceItem item = m_sources.item(index);
        item.endMs = EndAtSeconds(item, std::max<qint64>(0, seconds));
        writeChecked(item);
    }
    if (const std::optional<SourceItem> last = lastSelectedItem())
        placeMarkersExactly(*last);
}

void SegmentSelection::nudgeStartMarker(int seconds)
{
    const std::optional<SourceItem> last = lastSelectedItem();
    if (!last)
        return;
    const qint64 latest = std::min(EndSeconds(*last), DurationSeconds(*last));
    const qint64 start = std::clamp<qint64>(StartSeconds(*last) + seconds, 0, std::max<qint64>(0, latest));
    setSelectedStart(start);
    seekPreview(start);
}

void SegmentSelection::nudgeEndMarker(int seconds)
{
    const std::optional<SourceItem> last = lastSelectedItem();
    if (!last)
        return;
    const qint64 duration = DurationSeconds(*last);
    const qint64 end = std::clamp<qint64>(EndSeconds(*last) + seconds, std::min(StartSeconds(*last), duration), duration);
    setSelectedEnd(end);
}

void SegmentSelection::SetFillerWidths(int width) { setFillers(width, width); }

std::optional<QString> SegmentSelection::commitTypedTime(int row, int column, const QString &text)
{
    const bool timeColumn = column == SourceRow::StartTimeColumn || column == SourceRow::EndTimeColumn;
    if (!timeColumn || row < 0 || row >= m_sources.rowCount())
        return std::nullopt;
    const std::optional<qint64> seconds = ReadTypedTime(text);
    if (!text.isEmpty() && !seconds)
        return UnreadableTimeMessage(text);
    const TypedCell cell = column == SourceRow::StartTimeColumn ? TypedCell::Start : TypedCell::End;
    const SourceItem typed = WithTypedTime(m_sources.item(row), cell, seconds);
    m_sources.setTimes(typed.id, typed.startMs, typed.endMs);
    QList<int> rows = m_selectedRows();
    if (!rows.contains(row)) {
        rows << row;
        std::sort(rows.begin(), rows.end());
    }
    dxTreeSourceFileInfoEdited(rows);
    // The markers follow the committed times at once, also those of the file being previewed
    // (which keeps playing); the last selected row decides, as in a layout.
    if (const QList<int> selected = m_selectedRows(); !selected.isEmpty())
        placeMarkersFor(m_sources.item(selected.last()));
    return std::nullopt;
}

void SegmentSelection::dxTreeSourceFileInfoEdited(const QList<int> &rows)
{
    for (int index : rows) {
        const SourceItem checked = CheckEditedTimes(m_sources.item(index));
        if (!checked.id.isValid())
            continue;
        m_sources.setTimes(checked.id, checked.startMs, checked.endMs);
        seekPreview(StartSeconds(checked));
    }
}
