// Build-time tool: paints Kelvane's splash picture and writes it as a JPEG to the path given,
// at the scale given (1 for normal screens, 2 for high-density ones).
#include "KelvaneArt.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Width = 420;
constexpr int Height = 260;

void paintBackground(QPainter &painter)
{
    QLinearGradient base(0, 0, Width, Height);
    base.setColorAt(0.0, KelvaneArt::Background);
    base.setColorAt(1.0, KelvaneArt::BackgroundDeep);
    painter.fillRect(0, 0, Width, Height, base);

    QColor glow = KelvaneArt::Accent;
    glow.setAlphaF(0.18);
    QRadialGradient halo(QPointF(95, 95), 170);
    halo.setColorAt(0.0, glow);
    halo.setColorAt(1.0, Qt::transparent);
    painter.fillRect(0, 0, Width, Height, halo);
}

void paintText(QPainter &painter)
{
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(46);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    painter.setFont(title);
    painter.setPen(KelvaneArt::TextMain);
    painter.drawText(QRectF(128, 50, 280, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kelvane"));

    QFont tagline(QStringLiteral("DejaVu Sans"));
    tagline.setPixelSize(13);
    painter.setFont(tagline);
    painter.setPen(KelvaneArt::AccentLight);
    painter.drawText(QRectF(130, 104, 280, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("The sound of your videos, as audio files"));

    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(11);
    painter.setFont(small);
    painter.setPen(KelvaneArt::TextSoft);
    painter.drawText(QRectF(24, Height - 30, 200, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Starting..."));
    painter.drawText(QRectF(Width - 224, Height - 30, 200, 18), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Brask Soft"));
}

QImage paintSplash(int scale)
{
    QImage image(Width * scale, Height * scale, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintBackground(painter);
    KelvaneArt::paintWaveLines(painter, QRectF(0, 140, Width, 80), 4);
    KelvaneArt::paintWaveBars(painter, QRectF(24, 150, Width - 48, 64), 48, 0.9, 3);
    KelvaneArt::paintLogo(painter, QRectF(40, 46, 72, 72));
    painter.setPen(QColor(255, 255, 255, 22));
    painter.drawRect(QRectF(0.5, 0.5, Width - 1, Height - 1));
    paintText(painter);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    const int scale = argc == 3 ? std::atoi(argv[2]) : 0;
    if (scale < 1 || scale > 4) {
        std::fprintf(stderr, "usage: %s output.jpg scale(1-4)\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QImageWriter writer(QString::fromLocal8Bit(argv[1]), "jpeg");
    writer.setQuality(92);
    if (!writer.write(paintSplash(scale))) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[1], qPrintable(writer.errorString()));
        return 1;
    }
    return 0;
}
