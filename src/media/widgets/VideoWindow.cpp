#include "media/widgets/VideoWindow.h"

#include "media/FilterGraph.h"
#include "media/PictureTurn.h"

#include <QImage>
#include <QPainter>
#include <QScreen>
#include <chrono>

VideoWindow::VideoWindow(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VideoWindow::setSource(FilterGraph *graph)
{
    if (m_graph)
        disconnect(m_graph, nullptr, this, nullptr);
    m_graph = graph;
    if (graph) {
        connect(graph, &FilterGraph::frameDrawn, this, qOverload<>(&QWidget::update));
        tellScreen();
    }
    update();
}

void VideoWindow::tellScreen()
{
    if (!m_graph)
        return;
    m_graph->setVideoSize((QSizeF(size()) * devicePixelRatioF()).toSize());
    const qreal hertz = screen() ? screen()->refreshRate() : 0;
    using Interval = std::chrono::duration<double>;
    m_graph->setRefreshInterval(
        hertz > 0 ? std::chrono::duration_cast<std::chrono::microseconds>(Interval(1 / hertz))
                  : std::chrono::microseconds(0));
}

void VideoWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const VideoFrameBuffer *frame = m_graph ? &m_graph->videoFrame() : nullptr;
    if (!frame || frame->isEmpty()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // The buffer is the graph's; the picture only borrows it while it is painted.
    // It covers the whole window once turned (the graph draws the black bars), so nothing is
    // painted under it.
    const QImage picture(frame->bits(), frame->size().width(), frame->size().height(), frame->bytesPerLine(),
                         QImage::Format_RGB32);
    const int turns = m_graph->pictureTurns();
    const QSizeF turned = TurnedSize(size(), turns);
    painter.translate(width() / 2.0, height() / 2.0);
    painter.rotate(90.0 * turns);
    painter.drawImage(QRectF(QPointF(-turned.width() / 2, -turned.height() / 2), turned), picture);
}

void VideoWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    tellScreen();
}

void VideoWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    tellScreen(); // the screen, and with it the pixel ratio and refresh rate, is known now
}
