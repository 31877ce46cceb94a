#pragma once
// What the source grid's header shows: the list's captions with a small picture before each.
#include <QIdentityProxyModel>
#include <QPixmap>

class SourceGridHeaderModel final : public QIdentityProxyModel {
    Q_OBJECT
public:
    explicit SourceGridHeaderModel(QAbstractItemModel *source, QObject *parent = nullptr);
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<QPixmap> m_pictures; // one per column
};
