#include "skin/widgets/SkinnedWindow.h"

#include "skin/widgets/SkinPictures.h"

#include <QApplication>
#include <QMouseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>

SkinnedWindow::SkinnedWindow(const QString &backgroundName, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_backgroundName(backgroundName),
      m_background(SkinPictures::image(backgroundName)),
      m_moveGesture(QApplication::startDragDistance())
{
    setAttribute(Qt::WA_TranslucentBackground, false);
    if (!m_background.isNull()) {
        resize(m_background.size());
        setMask(outlineOf(m_background));
    }
    centreOnScreen();
}

void SkinnedWindow::centreOnScreen()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QBitmap SkinnedWindow::outlineOf(const QImage &picture)
{
    if (picture.isNull())
        return {};
    // createMaskFromColor marks the matching pixels; as a bitmap those are the clear ones.
    const QRgb key = picture.pixel(0, picture.height() - 1);
    return QBitmap::fromImage(picture.createMaskFromColor(key, Qt::MaskInColor));
}

void SkinnedWindow::addMoveHandle(QWidget *handle)
{
    m_moveHandles << handle;
    handle->installEventFilter(this);
}

void SkinnedWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, SkinPictures::load(m_backgroundName, devicePixelRatioF()));
}

// Presses that a child widget leaves (labels, pictures, disabled controls) arrive here too:
// only one on the bare background may start a move.
void SkinnedWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !childAt(event->position().toPoint()))
        m_moveGesture.press(event->globalPosition().toPoint());
    QWidget::mousePressEvent(event);
}

void SkinnedWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_moveGesture.move(event->globalPosition().toPoint(), event->buttons()))
        startMove();
    QWidget::mouseMoveEvent(event);
}

void SkinnedWindow::mouseReleaseEvent(QMouseEvent *event)
{
    m_moveGesture.release();
    QWidget::mouseReleaseEvent(event);
}

bool SkinnedWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_moveHandles.contains(watched))
        return QWidget::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::LeftButton)
            m_moveGesture.press(mouse->globalPosition().toPoint());
        break;
    case QEvent::MouseMove:
        if (m_moveGesture.move(mouse->globalPosition().toPoint(), mouse->buttons()))
            startMove();
        break;
    case QEvent::MouseButtonRelease:
        m_moveGesture.release();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void SkinnedWindow::startMove()
{
    if (m_startMove) {
        m_startMove();
        return;
    }
    if (QWindow *handle = window()->windowHandle())
        handle->startSystemMove();
}
