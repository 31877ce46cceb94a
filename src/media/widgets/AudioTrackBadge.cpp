#include "media/widgets/AudioTrackBadge.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int Padding = 3;

// A speaker: a box and its cone, `height` pixels tall, with its left edge at `left`.
QPainterPath speaker(qreal left, qreal top, qreal height)
{
    const qreal box = height * 0.3;
    QPainterPath path;
    path.addRect(left, top + height * 0.35, box, height * 0.3);
    path.moveTo(left + box, top + height * 0.35);
    path.lineTo(left + box + height * 0.35, top + height * 0.08);
    path.lineTo(left + box + height * 0.35, top + height * 0.92);
    path.lineTo(left + box, top + height * 0.65);
    path.closeSubpath();
    return path;
}

} // namespace

QSize AudioTrackBadgeSize(const QFontMetrics &metrics, int count)
{
    const int height = metrics.height();
    const int speakerWidth = height * 2 / 3;
    return {Padding + speakerWidth + metrics.horizontalAdvance(QString::number(count)) + Padding + 1, height};
}

void PaintAudioTrackBadge(QPainter &painter, const QRect &area, int count, const QColor &colour)
{
    const QFontMetrics metrics(painter.font());
    const QSize size = AudioTrackBadgeSize(metrics, count);
    const QRect frame(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2,
                      size.width() - 1, size.height() - 1);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    const qreal iconHeight = frame.height() * 0.7;
    painter.fillPath(speaker(frame.x() + Padding, frame.y() + (frame.height() - iconHeight) / 2, iconHeight), colour);
    const QRect digits(frame.x() + Padding + metrics.height() * 2 / 3, frame.y(),
                       metrics.horizontalAdvance(QString::number(count)), frame.height());
    painter.drawText(digits, Qt::AlignCenter, QString::number(count));
    painter.restore();
}
