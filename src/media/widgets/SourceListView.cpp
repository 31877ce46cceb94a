#include "media/widgets/SourceListView.h"

#include "media/SourceListEditing.h"
#include "media/SourceListModel.h"
#include "media/widgets/SourceGridDelegate.h"
#include "media/widgets/SourceGridHeaderModel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTreeView>
#include <algorithm>
#include <numeric>

const char *const SourceListView::RowDragMimeType = "application/x-kelvane-source-rows";

namespace {

const QList<int> columnWeights{10, 74, 28, 28, 28, 28, 28};

bool isTimeColumn(int column)
{
    return column == SourceRow::StartTimeColumn || column == SourceRow::EndTimeColumn;
}

// Shift+F10 opens the focused row's menu; the Menu key reaches the grid as a context menu event.
bool isMenuShortcut(const QKeyEvent &key)
{
    return key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier;
}

bool isRowDrag(const QEvent *event)
{
    const auto *drag = static_cast<const QDropEvent *>(event);
    return drag->mimeData() && drag->mimeData()->hasFormat(QString::fromLatin1(SourceListView::RowDragMimeType));
}

} // namespace

namespace {

// Widens the columns below their minimum, taking the pixels from the column with the most room
// above its own minimum, one pixel at a time (columns are few and narrow).
void raiseToMinimums(QList<int> &widths, const QList<int> &minimums)
{
    int deficit = 0;
    for (qsizetype i = 0; i < widths.size() && i < minimums.size(); ++i) {
        if (widths[i] < minimums[i]) {
            deficit += minimums[i] - widths[i];
            widths[i] = minimums[i];
        }
    }
    const auto room = [&](qsizetype i) { return widths[i] - (i < minimums.size() ? minimums[i] : 0); };
    while (deficit > 0) {
        qsizetype widest = 0;
        for (qsizetype i = 1; i < widths.size(); ++i)
            widest = room(i) > room(widest) ? i : widest;
        if (room(widest) <= 0)
            return;
        --widths[widest];
        --deficit;
    }
}

} // namespace

QList<int> FitColumnWidths(const QList<int> &weights, int total, const QList<int> &minimums)
{
    const int sum = std::accumulate(weights.cbegin(), weights.cend(), 0);
    if (weights.isEmpty() || sum <= 0 || total < weights.size())
        return weights;
    QList<int> widths;
    int used = 0;
    for (qsizetype i = 0; i + 1 < weights.size(); ++i) {
        const int width = static_cast<int>(qint64(weights.at(i)) * total / sum);
        widths << width;
        used += width;
    }
    widths << total - used;
    raiseToMinimums(widths, minimums);
    return widths;
}

QList<int> ResizeColumnWidths(QList<int> widths, int section, int newSize, int viewWidth, const QList<int> &minimums)
{
    const qsizetype count = widths.size();
    if (section < 0 || section >= count)
        return widths;
    const int neighbour = section + 1 < count ? section + 1 : section - 1;
    const int growth = newSize - widths[section];
    widths[section] = newSize;
    if (neighbour < 0)
        return widths;
    if (growth > 0) {
        const int floor = neighbour < minimums.size() ? minimums[neighbour] : 0;
        widths[neighbour] -= std::clamp(widths[neighbour] - floor, 0, growth);
    } else if (const int total = std::accumulate(widths.cbegin(), widths.cend(), 0); total < viewWidth) {
        widths[neighbour] += viewWidth - total;
    }
    return widths;
}

SourceListView::SourceListView(QTreeView *grid, SourceListModel &model, QObject *parent)
    : QObject(parent ? parent : grid), m_grid(grid), m_model(model), m_delegate(new SourceGridDelegate(grid)),
      m_weights(columnWeights)
{
    m_grid->setModel(&m_model);
    setUpLook();
    setUpColumns();
    setUpDragging();
    m_grid->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);
    connect(m_grid, &QAbstractItemView::pressed, this, &SourceListView::openTimeEditor);
}

void SourceListView::setUpLook()
{
    m_grid->setRootIsDecorated(false);
    m_grid->setItemsExpandable(false);
    m_grid->setUniformRowHeights(true);
    m_grid->setAllColumnsShowFocus(true);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_grid->setFrameShape(QFrame::Box);
    m_grid->setFrameShadow(QFrame::Plain);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded); // columns widened beyond the grid scroll
    m_grid->setTextElideMode(Qt::ElideMiddle); // a long path keeps its file name in view
    m_grid->setItemDelegate(m_delegate);

    // The selection stays as visible as with the focus when the focus goes elsewhere.
    QPalette palette = m_grid->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    m_grid->setPalette(palette);
}

void SourceListView::setUpColumns()
{
    QHeaderView *header = m_grid->header();
    header->setModel(new SourceGridHeaderModel(&m_model, this)); // captions with their pictures
    QFont narrow = header->font(); // short captions in narrow columns: a narrow face
    narrow.setStretch(QFont::SemiCondensed);
    header->setFont(narrow);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMinimumSectionSize(8);
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionResized, this, &SourceListView::columnResized);
    // The check column's picture ticks or clears every row.
    connect(header, &QHeaderView::sectionClicked, this, [this](int section) {
        if (section == SourceRow::CheckColumn)
            ToggleAllChecked(m_model);
    });
    fitColumns();
}

void SourceListView::setUpDragging()
{
    // Drags are started here, so that a drag released anywhere but on the grid can be told.
    m_grid->setDragEnabled(true); // keeps a multi-row selection when a selected row is pressed
    m_grid->setAcceptDrops(true);
    m_grid->viewport()->setAcceptDrops(true);
    m_grid->setDropIndicatorShown(false);
}

void SourceListView::fitColumns()
{
    const QScopedValueRollback<bool> fitting(m_fitting, true);
    const int view = m_grid->viewport()->width();
    const int total = m_widerThanView ? std::max(view, std::accumulate(m_weights.cbegin(), m_weights.cend(), 0)) : view;
    const QList<int> widths = FitColumnWidths(m_weights, total, captionWidths());
    for (int column = 0; column < widths.size(); ++column)
        m_grid->header()->resizeSection(column, widths.at(column));
}

// What each caption needs with its picture, its padding and the column's edge, in the header's
// font (the sections draw a little smaller).
QList<int> SourceListView::captionWidths() const
{
    constexpr int pictureAndPadding = 24;
    const QHeaderView *header = m_grid->header();
    const QFontMetrics metrics(header->font());
    QList<int> widths;
    for (int column = 0; column < SourceRow::ColumnCount; ++column)
        widths << metrics.horizontalAdvance(m_model.headerData(column, Qt::Horizontal).toString()) + pictureAndPadding;
    return widths;
}

// A column the user resizes takes its room from the column after it (the last one from the
// column before) while that one keeps its caption, and widens the grid beyond the view for the
// rest; the new widths are the shares from now on.
void SourceListView::columnResized(int section, int oldSize, int newSize)
{
    if (m_fitting)
        return;
    const QScopedValueRollback<bool> fitting(m_fitting, true);
    QHeaderView *header = m_grid->header();
    QList<int> widths;
    for (int column = 0; column < SourceRow::ColumnCount; ++column)
        widths << (column == section ? oldSize : header->sectionSize(column));
    const int view = m_grid->viewport()->width();
    widths = ResizeColumnWidths(widths, section, newSize, view, captionWidths());
    for (int column = 0; column < SourceRow::ColumnCount; ++column)
        header->resizeSection(column, widths.at(column));
    m_weights = widths;
    m_widerThanView = std::accumulate(widths.cbegin(), widths.cend(), 0) > view;
}

// Called once the grid has handled the press, so the editor opens over the new selection.
void SourceListView::openTimeEditor(const QModelIndex &index)
{
    if (index.isValid() && m_editOnPress == index)
        m_grid->edit(index);
    m_editOnPress = QPersistentModelIndex();
}

QList<int> SourceListView::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::optional<int> SourceListView::focusedRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? std::optional<int>(current.row()) : std::nullopt;
}

void SourceListView::focusAndSelect(std::optional<int> row)
{
    QItemSelectionModel *selection = m_grid->selectionModel();
    if (!row || *row < 0 || *row >= m_model.rowCount()) {
        selection->clear();
        return;
    }
    selection->setCurrentIndex(m_model.index(*row, 0),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void SourceListView::selectFirstRow()
{
    if (m_model.rowCount() > 0)
        m_grid->selectionModel()->select(m_model.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void SourceListView::selectRows(const QList<int> &rows)
{
    QItemSelectionModel *selection = m_grid->selectionModel();
    selection->clear();
    for (int row : rows) {
        if (row < 0 || row >= m_model.rowCount())
            continue;
        const QModelIndex at = m_model.index(row, 0);
        if (!selection->currentIndex().isValid() || row == rows.first())
            selection->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
        selection->select(at, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

bool SourceListView::isGrid(const QObject *object) const
{
    return object && (object == m_grid || object == m_grid->viewport());
}

void SourceListView::dxTreeSourceFileInfoEndDrag(const QObject *target)
{
    if (!isGrid(target))
        Q_EMIT rowsDraggedOut();
}

// Keys for the grid go on to the owner; the window's commands and bare modifier keys do not.
void SourceListView::reportKey(const QKeyEvent &key)
{
    if (key.type() == QEvent::KeyPress) {
        if (m_layoutKeys.pressLaysOut(key.key(), key.modifiers()))
            Q_EMIT keyPressed(key.key());
    } else if (m_layoutKeys.releaseLaysOut(key.key())) {
        Q_EMIT keyReleased(key.key());
    }
}

bool SourceListView::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == m_grid->viewport())
            fitColumns();
        return false;
    case QEvent::KeyPress:
        if (watched == m_grid && isMenuShortcut(*static_cast<QKeyEvent *>(event))) {
            requestKeyboardMenu();
            return true;
        }
        [[fallthrough]];
    case QEvent::KeyRelease:
        if (watched == m_grid)
            reportKey(*static_cast<QKeyEvent *>(event));
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return watched == m_grid->viewport() && filterMouse(event);
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return filterDrag(event);
    case QEvent::ContextMenu:
        return filterContextMenu(watched, event);
    default:
        return false;
    }
}

// A left press on a row, other than into a time editor, may begin a drag of the selected rows.
// While the button is held after a press on a row the grid itself sees no moves, so it neither
// starts a drag of its own nor leaves an editor that the press opened.
bool SourceListView::filterMouse(QEvent *event)
{
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint at = mouse->position().toPoint();
    if (event->type() == QEvent::MouseButtonPress) {
        const QModelIndex index = m_grid->indexAt(at);
        const bool plainLeft = mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::NoModifier;
        const bool intoEditor = plainLeft && isTimeColumn(index.column()) && (index.flags() & Qt::ItemIsEditable);
        m_editOnPress = intoEditor ? QPersistentModelIndex(index) : QPersistentModelIndex();
        m_press.reset();
        if (mouse->button() == Qt::LeftButton && index.isValid())
            m_press = Press{at, !intoEditor};
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        m_press.reset();
        return false;
    }
    if (!m_press || !(mouse->buttons() & Qt::LeftButton))
        return false;
    if (m_press->draggable && (at - m_press->at).manhattanLength() >= QApplication::startDragDistance()) {
        m_press.reset();
        startRowDrag();
    }
    return true;
}

// A right click on a row selects it (alone, unless it is selected already) and opens its menu
// where it was clicked; the Menu key opens the focused row's menu under that row.
bool SourceListView::filterContextMenu(QObject *watched, QEvent *event)
{
    if (!isGrid(watched))
        return false;
    const auto *menu = static_cast<QContextMenuEvent *>(event);
    if (menu->reason() != QContextMenuEvent::Mouse) {
        requestKeyboardMenu();
        return true;
    }
    const QPoint at = watched == m_grid ? m_grid->viewport()->mapFrom(m_grid, menu->pos()) : menu->pos();
    const QModelIndex index = m_grid->indexAt(at);
    if (!index.isValid())
        return true;
    if (!m_grid->selectionModel()->isRowSelected(index.row(), QModelIndex()))
        focusAndSelect(index.row());
    else
        m_grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    Q_EMIT rowMenuRequested(index.row(), menu->globalPos());
    return true;
}

void SourceListView::requestKeyboardMenu()
{
    std::optional<int> row = focusedRow();
    if (!row) {
        const QList<int> selected = selectedRows();
        if (selected.isEmpty())
            return;
        row = selected.first();
    }
    const QRect cell = m_grid->visualRect(m_model.index(*row, SourceRow::FileNameColumn));
    Q_EMIT rowMenuRequested(*row, m_grid->viewport()->mapToGlobal(cell.bottomLeft()));
}

void SourceListView::startRowDrag()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    QStringList numbers;
    for (int row : rows)
        numbers << QString::number(row);
    auto *mime = new QMimeData;
    mime->setData(QString::fromLatin1(RowDragMimeType), numbers.join(u',').toLatin1());

    auto *drag = new QDrag(m_grid); // the drag system deletes it when the drag is over
    drag->setMimeData(mime);
    const QRect rowRect = m_grid->visualRect(m_model.index(rows.first(), SourceRow::FileNameColumn));
    drag->setPixmap(m_grid->viewport()->grab(rowRect));
    m_droppedOnGrid = false;
    drag->exec(Qt::MoveAction, Qt::MoveAction);
    dxTreeSourceFileInfoEndDrag(m_droppedOnGrid ? m_grid->viewport() : drag->target());
}

// The grid takes its own rows back (which does nothing) and leaves every other drag, such as
// files from the desktop, to the window around it.
bool SourceListView::filterDrag(QEvent *event)
{
    auto *drop = static_cast<QDropEvent *>(event);
    if (!isRowDrag(event)) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::MoveAction);
    drop->accept();
    if (event->type() == QEvent::Drop)
        m_droppedOnGrid = true;
    return true;
}
