#include "media/widgets/SourceGridHeaderModel.h"

#include "media/SourceRow.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int pictureSize = 12;
const QColor ink(0x8d, 0x97, 0xa6); // light enough for the dark header, dark enough for a light one

QPixmap blankPicture()
{
    QPixmap picture(pictureSize, pictureSize);
    picture.fill(Qt::transparent);
    return picture;
}

// A box, ticked for every row checked, with a dash for some, empty for none.
QPixmap checkPicture(Qt::CheckState state)
{
    QPixmap picture = blankPicture();
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 1));
    p.drawRect(QRectF(0.5, 0.5, pictureSize - 1, pictureSize - 1));
    p.setPen(QPen(ink, 2));
    if (state == Qt::PartiallyChecked) {
        p.drawLine(QPointF(3, 6), QPointF(9, 6));
    } else if (state == Qt::Checked) {
        QPainterPath tick;
        tick.moveTo(2.5, 6);
        tick.lineTo(5, 9);
        tick.lineTo(9.5, 3);
        p.drawPath(tick);
    }
    return picture;
}

QPixmap pagePicture()
{
    QPixmap picture = blankPicture();
    QPainter p(&picture);
    p.setPen(ink);
    p.drawPolygon(QPolygon({QPoint(2, 0), QPoint(7, 0), QPoint(10, 3), QPoint(10, 11), QPoint(2, 11)}));
    p.drawLine(4, 5, 8, 5);
    p.drawLine(4, 8, 8, 8);
    return picture;
}

QPixmap sizePicture()
{
    QPixmap picture = blankPicture();
    QPainter p(&picture);
    for (int bar = 0; bar < 3; ++bar)
        p.fillRect(1 + bar * 4, 10 - bar * 4, 3, 2 + bar * 4, ink);
    return picture;
}

QPixmap clockPicture()
{
    QPixmap picture = blankPicture();
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 1));
    p.drawEllipse(QRectF(0.5, 0.5, pictureSize - 1, pictureSize - 1));
    p.drawLine(QPointF(6, 6), QPointF(6, 2.5));
    p.drawLine(QPointF(6, 6), QPointF(8.5, 7.5));
    return picture;
}

} // namespace

SourceGridHeaderModel::SourceGridHeaderModel(QAbstractItemModel *source, QObject *parent)
    : QIdentityProxyModel(parent)
{
    setSourceModel(source);
    const QPixmap clock = clockPicture();
    m_pictures = {checkPicture(Qt::Checked), pagePicture(), sizePicture(), clock, clock, clock, clock};
    m_checkPictures = {checkPicture(Qt::Unchecked), checkPicture(Qt::PartiallyChecked), checkPicture(Qt::Checked)};
    Q_ASSERT(m_pictures.size() == SourceRow::ColumnCount);
    const auto rowsChanged = [this] { Q_EMIT headerDataChanged(Qt::Horizontal, SourceRow::CheckColumn, SourceRow::CheckColumn); };
    connect(source, &QAbstractItemModel::dataChanged, this, rowsChanged);
    connect(source, &QAbstractItemModel::rowsInserted, this, rowsChanged);
    connect(source, &QAbstractItemModel::rowsRemoved, this, rowsChanged);
    connect(source, &QAbstractItemModel::modelReset, this, rowsChanged);
}

Qt::CheckState SourceGridHeaderModel::rowsCheckState() const
{
    const QAbstractItemModel *source = sourceModel();
    int checked = 0;
    const int rows = source ? source->rowCount() : 0;
    for (int row = 0; row < rows; ++row)
        checked += source->index(row, SourceRow::CheckColumn).data(Qt::CheckStateRole) == Qt::Checked ? 1 : 0;
    if (rows > 0 && checked == rows)
        return Qt::Checked;
    return checked > 0 ? Qt::PartiallyChecked : Qt::Unchecked;
}

QVariant SourceGridHeaderModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const bool checkHeader = orientation == Qt::Horizontal && section == SourceRow::CheckColumn;
    if (checkHeader && role == Qt::CheckStateRole)
        return rowsCheckState();
    if (checkHeader && role == Qt::DecorationRole)
        return m_checkPictures.at(rowsCheckState());
    if (role == Qt::DecorationRole && orientation == Qt::Horizontal && section >= 0 && section < m_pictures.size())
        return m_pictures.at(section);
    return QIdentityProxyModel::headerData(section, orientation, role);
}
