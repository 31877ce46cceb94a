#include "media/widgets/MarkerSplitter.h"

#include "media/PreviewKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <utility>

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
    setFocusPolicy(Qt::ClickFocus);
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
    if (hasFocus()) {
        painter.setPen(palette().color(QPalette::Highlight));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void MarkerSplitter::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_dragging = true;
    m_moved = false;
    m_pressX = event->globalPosition().x();
    Q_EMIT pressed();
}

void MarkerSplitter::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    const int dx = static_cast<int>(std::lround(event->globalPosition().x() - m_pressX));
    m_moved = m_moved || std::abs(dx) >= QApplication::startDragDistance();
    if (m_moved)
        Q_EMIT dragged(dx);
}

void MarkerSplitter::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    if (std::exchange(m_moved, false))
        Q_EMIT released();
}

// Keys that don't move the marker go on to the timeline.
void MarkerSplitter::keyPressEvent(QKeyEvent *event)
{
    const int seconds = MarkerNudgeSeconds(event->key(), event->modifiers());
    if (seconds == 0) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT nudged(seconds);
}

void MarkerSplitter::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void MarkerSplitter::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}
