#include "media/widgets/SourceGridDelegate.h"

#include "media/SourceRow.h"
#include "media/widgets/TimeEditor.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPersistentModelIndex>
#include <QStyle>

#include <algorithm>

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

void SourceGridDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() != SourceRow::FileNameColumn || !option->widget)
        return;
    // The room for the text: the cell less the style's margins on both sides.
    const int margin = option->widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget) + 1;
    option->text = ElideFolderPart(option->text, option->fontMetrics, option->rect.width() - 2 * margin);
}

void SourceGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
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
