#include "KelvaneArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace KelvaneArt {

namespace {

QLinearGradient accentGradient(const QRectF &box)
{
    QLinearGradient gradient(box.topLeft(), box.bottomRight());
    gradient.setColorAt(0.0, Accent);
    gradient.setColorAt(1.0, AccentLight);
    return gradient;
}

// Smooth bar height in 0..1 for position t in 0..1: a few sines under a bell-shaped envelope.
double waveHeight(double t, int seed)
{
    const double envelope = 0.25 + 0.75 * qExp(-qPow((t - 0.5) / 0.28, 2.0));
    const double wave = 0.55 + 0.25 * qSin(t * 19.0 + seed) + 0.2 * qSin(t * 47.0 + 2.0 * seed);
    return qBound(0.08, envelope * wave, 1.0);
}

} // namespace

void paintLogo(QPainter &painter, const QRectF &box)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double radius = box.width() * 0.24;
    painter.setPen(Qt::NoPen);
    painter.setBrush(accentGradient(box));
    painter.drawRoundedRect(box, radius, radius);

    const double unit = box.width() / 10.0;
    QPainterPath play;
    play.moveTo(box.left() + 2.2 * unit, box.top() + 2.8 * unit);
    play.lineTo(box.left() + 5.2 * unit, box.center().y());
    play.lineTo(box.left() + 2.2 * unit, box.bottom() - 2.8 * unit);
    play.closeSubpath();
    painter.setBrush(Background);
    painter.drawPath(play);

    const double heights[] = {2.2, 4.4, 3.0};
    for (int i = 0; i < 3; ++i) {
        const double h = heights[i] * unit;
        const QRectF bar(box.left() + (5.9 + 1.2 * i) * unit, box.center().y() - h / 2, 0.7 * unit, h);
        painter.drawRoundedRect(bar, 0.35 * unit, 0.35 * unit);
    }
    painter.restore();
}

void paintWaveBars(QPainter &painter, const QRectF &box, int barCount, double opacity, int seed)
{
    if (barCount < 1)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(opacity);
    painter.setPen(Qt::NoPen);
    painter.setBrush(accentGradient(box));
    const double pitch = box.width() / barCount;
    const double barWidth = pitch * 0.55;
    for (int i = 0; i < barCount; ++i) {
        const double t = (i + 0.5) / barCount;
        const double h = box.height() * waveHeight(t, seed);
        const QRectF bar(box.left() + i * pitch + (pitch - barWidth) / 2, box.center().y() - h / 2, barWidth, h);
        painter.drawRoundedRect(bar, barWidth / 2, barWidth / 2);
    }
    painter.restore();
}

void paintWaveLines(QPainter &painter, const QRectF &box, int lineCount)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    for (int line = 0; line < lineCount; ++line) {
        QColor colour = line % 2 ? AccentLight : Accent;
        colour.setAlphaF(0.10 + 0.06 * line);
        painter.setPen(QPen(colour, 1.2));
        QPainterPath path;
        const int steps = 160;
        for (int s = 0; s <= steps; ++s) {
            const double t = double(s) / steps;
            const double amplitude = box.height() / 2 * (0.35 + 0.15 * line) * qSin(M_PI * t);
            const double y = box.center().y() + amplitude * qSin(t * (9.0 + 2.5 * line) + line * 0.9);
            const QPointF point(box.left() + t * box.width(), y);
            if (s == 0)
                path.moveTo(point);
            else
                path.lineTo(point);
        }
        painter.drawPath(path);
    }
    painter.restore();
}

} // namespace KelvaneArt
