#pragma once
// What the source grid's header shows: the list's captions with a small picture before each.
// The check column's picture is a box that shows the rows' state: ticked when every row is
// checked, a dash when some are, empty when none is (also its CheckStateRole).
#include <QIdentityProxyModel>
#include <QPixmap>

class SourceGridHeaderModel final : public QIdentityProxyModel {
    Q_OBJECT
public:
    explicit SourceGridHeaderModel(QAbstractItemModel *source, QObject *parent = nullptr);
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    Qt::CheckState rowsCheckState() const;

private:
    QList<QPixmap> m_pictures; // one per column
    QList<QPixmap> m_checkPictures; // by Qt::CheckState
};
