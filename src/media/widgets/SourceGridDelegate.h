#pragma once
// Draws the source list's cells with grid lines on their right and bottom edges, in rows tall
// enough for the font (the grid line must not cover an underscore).
#include <QStyledItemDelegate>

class SourceGridDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
