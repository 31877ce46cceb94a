#include "media/widgets/MarkerSplitter.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

QImage WithBlackAs(const QImage &picture, const QColor &background)
{
    QImage shown = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb black = qRgba(0, 0, 0, 255);
    const QRgb replacement = background.rgba();
    for (int y = 0; y < shown.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(shown.scanLine(y));
        for (int x = 0; x < shown.width(); ++x) {
            if (line[x] == black)
                line[x] = replacement;
        }
    }
    shown.setDevicePixelRatio(picture.devicePixelRatio());
    return shown;
}

MarkerSplitter::MarkerSplitter(QWidget *parent) : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MarkerSplitter::setPicture(const QImage &picture, const QColor &background)
{
    m_background = background;
    m_shown = WithBlackAs(picture, background);
    update();
}

void MarkerSplitter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    if (!m_shown.isNull())
        painter.drawImage(rect(), m_shown);
}

void MarkerSplitter::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_dragging = true;
    m_pressX = event->globalPosition().x();
    Q_EMIT pressed();
}

void MarkerSplitter::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    Q_EMIT dragged(static_cast<int>(std::lround(event->globalPosition().x() - m_pressX)));
}

void MarkerSplitter::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    Q_EMIT released();
}
