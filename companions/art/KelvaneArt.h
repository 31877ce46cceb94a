#pragma once
// Drawing of the product's logo mark and sound-wave motif, shared by the splash picture
// and the About box so that both show the same brand.
#include <QColor>
#include <QRectF>

class QPainter;

namespace KelvaneArt {

const QColor Background(0x1e, 0x22, 0x30);
const QColor BackgroundDeep(0x12, 0x15, 0x1e);
const QColor Accent(0x2e, 0xd3, 0xc6);      // teal
const QColor AccentLight(0x6c, 0xe8, 0xff); // cyan
const QColor TextMain(0xf2, 0xf5, 0xfa);
const QColor TextSoft(0x9a, 0xa5, 0xb8);

// The logo mark: a rounded tile holding a play sign that runs out into sound bars.
void paintLogo(QPainter &painter, const QRectF &box);

// A row of rounded level bars shaped like a sound wave, filling `box`; `seed` varies the shape.
void paintWaveBars(QPainter &painter, const QRectF &box, int barCount, double opacity, int seed = 0);

// Thin sine-like wave lines across `box`.
void paintWaveLines(QPainter &painter, const QRectF &box, int lineCount);

} // namespace KelvaneArt
