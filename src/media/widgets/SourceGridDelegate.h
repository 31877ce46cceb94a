#pragma once
// Draws the source list's cells with grid lines on their right and bottom edges, in rows tall
// enough for the font (the grid line must not cover an underscore), and edits the "Start Time"
// and "End Time" cells with a TimeEditor. A step of the start time's editor (arrow key, mouse
// wheel) commits it at once and the editor stays open with the checked time, so the next Up or
// Down steps again; typed digits commit with Enter or when the cell is left.
#include <QStyledItemDelegate>
#include <functional>

class QFontMetrics;

// A path for a cell `width` pixels wide: whole when it fits; otherwise the folder part is
// shortened in its middle and the file name stays whole; a name too long on its own follows
// "…/" and is itself shortened in its middle (its extension stays).
QString ElideFolderPart(const QString &path, const QFontMetrics &metrics, int width);

class SourceGridDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Receives a committed time instead of the model: the row, the column and the text.
    using TimeCommit = std::function<void(int row, int column, const QString &text)>;

    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    // Without a commit function a committed time is written into the model as it is.
    void setTimeCommit(TimeCommit commit) { m_commit = std::move(commit); }

protected:
    // The "File Name" cell keeps its file name in view (ElideFolderPart).
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    TimeCommit m_commit;
};
