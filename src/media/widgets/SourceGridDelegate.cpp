#include "media/widgets/SourceGridDelegate.h"

#include "media/SourceListModel.h"
#include "media/widgets/AudioTrackBadge.h"
#include "media/widgets/TimeEditor.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <QPersistentModelIndex>
#include <QStyle>

#include <algorithm>

namespace {

int audioTrackCount(const QModelIndex &index)
{
    return index.column() == SourceRow::FileNameColumn ? index.data(SourceListModel::AudioTrackCountRole).toInt() : 0;
}

// The file name cell of a row with several audio tracks: the style keeps room for a decoration
// at the cell's right end (initStyleOption shortens the text before it) and the mark is drawn there.
void paintWithBadge(QPainter *painter, const QStyleOptionViewItem &option, int count)
{
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &option, painter, widget);
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, widget);
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    painter->save();
    painter->setFont(option.font);
    PaintAudioTrackBadge(*painter, area, count,
                         option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->restore();
}

} // namespace

QString ElideFolderPart(const QString &path, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(path) <= width)
        return path;
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString name = path.mid(slash + 1);
    const QString folder = path.left(slash + 1);
    // Text joined up may measure a pixel or two more than its parts: the folder gives way until
    // the whole fits.
    for (int room = width - metrics.horizontalAdvance(name); slash >= 0 && room > 0; room -= 2) {
        const QString shortFolder = metrics.elidedText(folder, Qt::ElideMiddle, room);
        if (shortFolder.isEmpty() || shortFolder == QStringLiteral("\u2026"))
            break;
        if (metrics.horizontalAdvance(shortFolder + name) <= width)
            return shortFolder + name;
    }
    const QString lead = slash >= 0 ? QStringLiteral("\u2026/") : QString();
    return lead + metrics.elidedText(name, Qt::ElideMiddle, width - metrics.horizontalAdvance(lead));
}

// The mark of a converted row: a small green disc with a white tick in the check cell's right
// bottom corner, beside the check box.
static void paintConvertedMark(QPainter &painter, const QRect &cell)
{
    const int size = std::max(7, cell.height() / 2 - 1);
    const QRectF disc(cell.right() - size - 1, cell.bottom() - size - 1, size, size);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2e, 0x9d, 0x4f));
    painter.drawEllipse(disc);
    QPen tick(Qt::white, std::max(1.2, size / 6.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(tick);
    const QPointF at = disc.topLeft();
    const qreal s = disc.width();
    painter.drawPolyline(QPolygonF{at + QPointF(s * 0.25, s * 0.52), at + QPointF(s * 0.43, s * 0.7),
                                   at + QPointF(s * 0.75, s * 0.32)});
    painter.restore();
}

void SourceGridDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(SourceListModel::MissingRole).toBool()) { // a row whose file is gone is greyed
        const QColor grey = option->palette.color(QPalette::Disabled, QPalette::Text);
        option->palette.setColor(QPalette::Text, grey);
        option->palette.setColor(QPalette::HighlightedText, grey);
        option->state &= ~QStyle::State_Enabled;
    }
    if (index.column() != SourceRow::FileNameColumn)
        return;
    const int count = audioTrackCount(index);
    if (count > 1) { // the style keeps room at the cell's right end for the audio track mark
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->decorationPosition = QStyleOptionViewItem::Right;
        option->decorationSize = AudioTrackBadgeSize(option->fontMetrics, count);
        option->icon = QIcon();
    }
    if (!option->widget)
        return;
    // The room for the text: the cell less the style's margins on both sides, and less the mark
    // with its own margin when the row has one.
    const int margin = option->widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget) + 1;
    const int badge = count > 1 ? option->decorationSize.width() + 2 * margin : 0;
    option->text = ElideFolderPart(option->text, option->fontMetrics, option->rect.width() - 2 * margin - badge);
}

void SourceGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (const int count = audioTrackCount(index); count > 1) {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        paintWithBadge(painter, cell, count);
    } else {
        QStyledItemDelegate::paint(painter, option, index);
    }
    if (index.data(SourceListModel::ConvertedRole).toBool())
        paintConvertedMark(*painter, option.rect);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Midlight));
    const QRect r = option.rect;
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
}

QWidget *SourceGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                          const QModelIndex &index) const
{
    const int column = index.column();
    if (column != SourceRow::StartTimeColumn && column != SourceRow::EndTimeColumn)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *editor = new TimeEditor(parent);
    editor->setFont(option.font);
    if (column == SourceRow::StartTimeColumn) {
        // Queued, so that the editor has finished with the key or wheel event that stepped it.
        // The editor stays open and shows the time as the check left it, so the next step goes
        // on from there. (The delegate's signals are not const; creating an editor is.)
        auto *self = const_cast<SourceGridDelegate *>(this);
        const QPersistentModelIndex cell(index);
        connect(editor, &TimeEditor::stepped, editor, [self, editor, cell] {
            Q_EMIT self->commitData(editor);
            if (cell.isValid())
                editor->showCheckedTime(cell.data(Qt::EditRole).toString());
        }, Qt::QueuedConnection);
    }
    return editor;
}

void SourceGridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *time = qobject_cast<TimeEditor *>(editor))
        time->setTime(index.data(Qt::EditRole).toString());
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void SourceGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *time = qobject_cast<TimeEditor *>(editor);
    if (!time) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    if (m_commit)
        m_commit(index.row(), index.column(), time->time());
    else
        model->setData(index, time->time(), Qt::EditRole);
}

QSize SourceGridDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), option.fontMetrics.height() + 6));
    return size;
}
