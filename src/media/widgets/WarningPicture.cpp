#include "media/widgets/WarningPicture.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QPainterPath roundedTriangle()
{
    QPainterPath path;
    path.moveTo(16, 3);
    path.lineTo(30, 28);
    path.lineTo(2, 28);
    path.closeSubpath();
    return path;
}

void drawMark(QPainter &painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x26, 0x26, 0x2b));
    painter.drawRoundedRect(QRectF(14.5, 10, 3, 11), 1.5, 1.5);
    painter.drawEllipse(QRectF(14.3, 22.5, 3.4, 3.4));
}

} // namespace

QPixmap WarningPicture()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient amber(0, 3, 0, 28);
    amber.setColorAt(0, QColor(0xff, 0xc8, 0x4a));
    amber.setColorAt(1, QColor(0xe8, 0x8a, 0x12));
    painter.setPen(QPen(QColor(0x9a, 0x5a, 0x08), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(amber);
    painter.drawPath(roundedTriangle());
    drawMark(painter);
    return picture;
}
