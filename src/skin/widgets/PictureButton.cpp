#include "skin/widgets/PictureButton.h"

#include "skin/widgets/SkinPictures.h"

#include <QEnterEvent>
#include <QPainter>

PictureButton::PictureButton(const QString &pictureName, QWidget *parent)
    : QAbstractButton(parent), m_pictureName(pictureName)
{
    setObjectName(pictureName);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    resize(sizeHint());
}

void PictureButton::setHint(const QString &hint, bool shown)
{
    m_hint = hint;
    m_hintShown = shown;
    setToolTip(shown ? hint : QString());
}

QSize PictureButton::sizeHint() const
{
    const QPixmap up = SkinPictures::load(m_pictureName + QStringLiteral("_up"));
    return up.isNull() ? QSize(25, 25) : up.size();
}

QString PictureButton::stateName() const
{
    if (isEnabled() && isDown())
        return QStringLiteral("_down");
    if (isEnabled() && m_hot)
        return QStringLiteral("_hot");
    return QStringLiteral("_up");
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!isEnabled())
        painter.setOpacity(0.45);
    const QPixmap picture = SkinPictures::load(m_pictureName + stateName(), devicePixelRatioF());
    painter.drawPixmap(rect(), picture);
}

void PictureButton::enterEvent(QEnterEvent *event)
{
    m_hot = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent *event)
{
    m_hot = false;
    update();
    QAbstractButton::leaveEvent(event);
}
