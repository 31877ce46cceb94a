#pragma once
// Makes a QTreeView the source list grid: seven columns whose relative widths fill the grid,
// a check column, grid lines, a horizontal scroll bar when the user widens columns beyond the grid, several rows selectable at once, the time editors opening on the
// first click, the selection kept visible when the grid loses the focus, and rows that can be
// dragged out of the grid. The view reports keys and rows dragged out; what they do is left to
// its owner (SourceListController).
#include "media/GridLayoutKeys.h"
#include "media/widgets/SourceGridDelegate.h"

#include <QList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPoint>
#include <optional>

class QKeyEvent;
class QTreeView;
class SourceListModel;

// Widths for columns of relative `weights` that together fill `total` pixels; the last column
// takes what rounding leaves. A `total` too small to share gives the weights themselves.
// A column narrower than its entry in `minimums` (its caption's width) is widened at the cost
// of the columns with the most room to spare, as far as they have it.
QList<int> FitColumnWidths(const QList<int> &weights, int total, const QList<int> &minimums = {});

// The columns' `widths` after the user has dragged column `section` to `newSize`. A wider column
// takes its room from the column after it (the last one from the column before) as far as that
// one keeps its entry in `minimums`, and makes the grid wider for the rest (it scrolls then). A
// narrower one makes a grid wider than `viewWidth` narrower, and gives what the grid would then
// lack of `viewWidth` to that same column, so the columns keep filling the view.
QList<int> ResizeColumnWidths(QList<int> widths, int section, int newSize, int viewWidth, const QList<int> &minimums);

class SourceListView final : public QObject {
    Q_OBJECT
public:
    // MIME type of a drag of rows out of the grid; other widgets don't take it.
    static const char *const RowDragMimeType;

    // Sets `grid` up over `model`. Neither is owned; both must outlive this object, which
    // becomes a child of the grid unless given another parent.
    SourceListView(QTreeView *grid, SourceListModel &model, QObject *parent = nullptr);

    QTreeView *grid() const { return m_grid; }
    SourceListModel &model() const { return m_model; }
    // Where committed start and end times go (default: straight into the model).
    void setTimeCommit(SourceGridDelegate::TimeCommit commit) { m_delegate->setTimeCommit(std::move(commit)); }

    // The keys the window runs as commands: keyPressed and keyReleased leave them out.
    void setCommandKeys(GridLayoutKeys::IsCommand isCommand) { m_layoutKeys.setCommands(std::move(isCommand)); }

    // Rows selected now, ascending.
    QList<int> selectedRows() const;
    // The focused row; nothing when no row has the focus.
    std::optional<int> focusedRow() const;
    // Makes `row` the focused and only selected row; nothing clears the focus and selection.
    void focusAndSelect(std::optional<int> row);
    // Adds the first row to the selection (rows already selected stay so).
    void selectFirstRow();
    // Makes `rows` the selection, the first of them focused; none clears it.
    void selectRows(const QList<int> &rows);

    // A drag of rows that began in the grid ended; `target` took the drop (null: nothing did,
    // or it was dropped outside the program). Rows released anywhere but on the grid itself
    // are reported through rowsDraggedOut.
    void dxTreeSourceFileInfoEndDrag(const QObject *target);

Q_SIGNALS:
    // Keys for the grid: neither the window's commands nor bare modifier keys (GridLayoutKeys).
    void keyPressed(int key);
    void keyReleased(int key);
    void rowsDraggedOut();
    // The row's context menu is asked for at `globalPos`: by the right mouse button on `row`
    // (which is then selected, alone when it was not selected before), or by the Menu key or
    // Shift+F10 for the focused row.
    void rowMenuRequested(int row, QPoint globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpLook();
    void setUpColumns();
    void setUpDragging();
    void fitColumns();
    QList<int> captionWidths() const;
    void columnResized(int section, int oldSize, int newSize);
    void openTimeEditor(const QModelIndex &index);
    bool filterMouse(QEvent *event);
    bool filterDrag(QEvent *event);
    bool filterContextMenu(QObject *watched, QEvent *event);
    void requestKeyboardMenu();
    void startRowDrag();
    bool isGrid(const QObject *object) const;
    void reportKey(const QKeyEvent &key);

    QTreeView *m_grid;
    SourceListModel &m_model;
    SourceGridDelegate *m_delegate;
    QList<int> m_weights;
    bool m_widerThanView = false; // the user made the columns wider than the grid: they keep their widths
    bool m_fitting = false;
    struct Press {
        QPoint at;
        bool draggable; // a press into a time editor starts no drag
    };
    std::optional<Press> m_press; // the left button went down on a row and is still held
    QPersistentModelIndex m_editOnPress; // a plain left press into a time cell opens its editor
    bool m_droppedOnGrid = false;
    GridLayoutKeys m_layoutKeys;
};
