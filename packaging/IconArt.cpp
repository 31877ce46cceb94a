// Build-time tool: paints Kelvane's application icon (the logo mark of the splash and the About
// box) as PNG files for the hicolor icon theme.
// Usage: kelvane_icon_art <hicolor folder> <icon name> <size>...
// Writes <hicolor folder>/<size>x<size>/apps/<icon name>.png for every size.
#include "KelvaneArt.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

// Below 24 pixels the logo's three thin bars run together: the tile and the play sign stay, and
// two bars are drawn on whole pixels.
void paintSmallLogo(QPainter &painter, int size)
{
    const QRectF box(0, 0, size, size);
    QLinearGradient gradient(box.topLeft(), box.bottomRight());
    gradient.setColorAt(0.0, KelvaneArt::Accent);
    gradient.setColorAt(1.0, KelvaneArt::AccentLight);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRoundedRect(box, size * 0.24, size * 0.24);
    painter.setBrush(KelvaneArt::Background);
    const qreal u = size / 16.0;
    QPainterPath play;
    play.moveTo(3 * u, 4 * u);
    play.lineTo(9 * u, 8 * u);
    play.lineTo(3 * u, 12 * u);
    play.closeSubpath();
    painter.drawPath(play);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int bar = qMax(1, qRound(1.5 * u));
    const int gap = qMax(1, qRound(u));
    const int x = qRound(10 * u);
    for (const auto &[left, height] : {std::pair{x, 2 * qRound(3.5 * u)}, std::pair{x + bar + gap, 2 * qRound(2 * u)}})
        painter.drawRect(QRect(left, (size - height) / 2, bar, height));
}

QImage paintIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (size < 24) {
        paintSmallLogo(painter, size);
        return image;
    }
    // A small margin, as the icons around it have.
    const qreal margin = size / 16.0;
    KelvaneArt::paintLogo(painter, QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: kelvane_icon_art <hicolor folder> <icon name> <size>...\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (size <= 0 || !QDir().mkpath(folder) || !paintIcon(size).convertToFormat(QImage::Format_ARGB32).save(file)) {
            std::fprintf(stderr, "cannot write the %s pixel icon to %s\n", argv[i], qPrintable(file));
            return 1;
        }
    }
    return 0;
}
