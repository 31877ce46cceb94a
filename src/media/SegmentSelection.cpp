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
void SegmentSelection::setFillers(qint64 lengthMs, int left, int right)
{
    const MarkerTimes markers = MarkersAtFillers(lengthMs, left, right);
    if (markers == m_markers)
        return;
    m_markers = markers;
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
    m_state.markersReady = false;
    const TimelineLayout now = layout();
    int left = now.leftFiller;
    int right = now.rightFiller;
    const int a = StartFillerWidth(StartSeconds(item), duration);
    if (std::abs(a - left) > 1)
        left = a;
    const int b = EndFillerWidth(EndSeconds(item), duration);
    if (std::abs(b - right) > 2)
        right = b;
    setFillers(duration * 1000, left, right);
    m_state.markersReady = true;
}

void SegmentSelection::SetStartTimeAndPlay()
{
    if (const TimelineLayout now = layout(); MarkersTouch(now.leftFiller, now.rightFiller))
        setFillers(now.leftFiller - 1, now.rightFiller);
    m_state.previewStart = static_cast<int>(SecondsAtPercent(StartPercent(leftFillerWidth()), selectedDuration()));
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
    if (const TimelineLayout now = layout(); MarkersTouch(now.leftFiller, now.rightFiller))
        setFillers(now.leftFiller, now.rightFiller - 1);
    const qint64 duration = selectedDuration();
    const qint64 end = std::min(SecondsAtPercent(EndPercent(rightFillerWidth()), duration), duration);
    for (int index : m_selectedRows()) {
        SourceItem item = m_sources.item(index);
        item.endMs = EndAtSeconds(item, end);
        writeChecked(item);
        m_state.endMarkerText = FormatTimeText(end);
    }
}

void SegmentSelection::dragStartMarker(int leftFillerWidth)
{
    const TimelineLayout now = layout();
    const int widest = std::max(MinimumFillerWidth, FillersAndSpan - now.rightFiller - 1);
    const int left = std::clamp(leftFillerWidth, MinimumFillerWidth, widest);
    if (left == now.leftFiller)
        return;
    setFillers(left, now.rightFiller);
    SetStartTimeAndPlay();
}

void SegmentSelection::dragEndMarker(int rightFillerWidth)
{
    const TimelineLayout now = layout();
    const int widest = std::max(MinimumFillerWidth, FillersAndSpan - now.leftFiller - 1);
    const int right = std::clamp(rightFillerWidth, MinimumFillerWidth, widest);
    if (right == now.rightFiller)
        return;
    setFillers(now.leftFiller, right);
    Splitter2Moved();
}

void SegmentSelection::Panel2MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    const TimelineLayout now = layout();
    const int step = FillerClickStep(modifiers);
    if (button != Qt::LeftButton || !FillerClickMoves(now.leftFiller, step, now.leftFiller, now.rightFiller))
        return;
    setFillers(now.leftFiller - step, now.rightFiller);
    SetStartTimeAndPlay();
}

void SegmentSelection::Panel3MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    const TimelineLayout now = layout();
    const int step = FillerClickStep(modifiers);
    if (button != Qt::LeftButton || !FillerClickMoves(now.rightFiller, step, now.leftFiller, now.rightFiller))
        return;
    setFillers(now.leftFiller, now.rightFiller - step);
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
    const qint64 duration = DurationSeconds(item);
    setFillers(duration * 1000, StartFillerWidth(StartSeconds(item), duration),
               EndFillerWidth(EndSeconds(item), duration));
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
