#include "skin/widgets/MessageIconPicture.h"

#include "skin/widgets/SkinPalette.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

constexpr int side = 32;
const QColor amber{240, 176, 48};
const QColor red{222, 74, 74};

QPen strokePen(const QColor &colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawDisc(QPainter &painter, const QColor &colour)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(1, 1, side - 2, side - 2));
}

void drawDot(QPainter &painter, const QColor &colour, QPointF centre)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(centre, 1.9, 1.9);
}

void drawQuestion(QPainter &painter)
{
    drawDisc(painter, SkinPalette::accent);
    QPainterPath hook;
    hook.moveTo(11.5, 12.5);
    hook.cubicTo(11.5, 6.5, 20.5, 6.5, 20.5, 12.0);
    hook.cubicTo(20.5, 15.5, 16.0, 15.5, 16.0, 19.0);
    painter.setPen(strokePen(SkinPalette::well, 3.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(hook);
    drawDot(painter, SkinPalette::well, {16.0, 24.0});
}

void drawInformation(QPainter &painter)
{
    drawDisc(painter, SkinPalette::accent);
    drawDot(painter, SkinPalette::well, {16.0, 9.5});
    painter.setPen(strokePen(SkinPalette::well, 3.4));
    painter.drawLine(QPointF(16.0, 14.5), QPointF(16.0, 23.5));
}

void drawWarning(QPainter &painter)
{
    QPainterPath triangle;
    triangle.moveTo(16.0, 3.0);
    triangle.lineTo(30.0, 28.5);
    triangle.lineTo(2.0, 28.5);
    triangle.closeSubpath();
    painter.setPen(strokePen(amber, 2.5));
    painter.setBrush(amber);
    painter.drawPath(triangle);
    painter.setPen(strokePen(SkinPalette::well, 3.2));
    painter.drawLine(QPointF(16.0, 11.5), QPointF(16.0, 19.0));
    drawDot(painter, SkinPalette::well, {16.0, 24.0});
}

void drawError(QPainter &painter)
{
    drawDisc(painter, red);
    painter.setPen(strokePen(SkinPalette::text, 3.2));
    painter.drawLine(QPointF(11.0, 11.0), QPointF(21.0, 21.0));
    painter.drawLine(QPointF(21.0, 11.0), QPointF(11.0, 21.0));
}

} // namespace

QPixmap MessageIconPicture(MessageIcon icon, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const int pixels = static_cast<int>(std::ceil(side * ratio));
    QPixmap picture(pixels, pixels);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
    case MessageIcon::Question: drawQuestion(painter); break;
    case MessageIcon::Information: drawInformation(painter); break;
    case MessageIcon::Warning: drawWarning(painter); break;
    case MessageIcon::Error: drawError(painter); break;
    }
    return picture;
}
