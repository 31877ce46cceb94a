#pragma once
// Draws the source list's cells with grid lines on their right and bottom edges.
#include <QStyledItemDelegate>

class SourceGridDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
