// Renders every picture of the Kelvane skin with QPainter, at 1x and 2x.
// Usage: skingen <output folder>
#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <functional>

namespace {

// The palette, shared with the windows (src/skin/widgets/SkinPalette.h).
const QColor kKey(255, 0, 255);          // cut-out colour of shaped backgrounds
const QColor kRim(14, 16, 22);
const QColor kBase(36, 40, 51);
const QColor kBaseTop(46, 52, 66);
const QColor kCard(61, 65, 77);          // panels, check-box and timeline background
const QColor kCardLine(78, 84, 99);
const QColor kAccent(38, 198, 204);
const QColor kAccentDark(22, 128, 134);
const QColor kText(236, 240, 245);
const QColor kTextDim(160, 170, 185);

enum class State { Up, Hot, Down };

QString outDir;

QFont uiFont(double px, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(qRound(px));
    f.setBold(bold);
    return f;
}

using Painter = std::function<void(QPainter &, QSizeF)>;

void save(const QString &name, QSize size, const Painter &paint,
          const std::function<void(QImage &, int)> &post = {})
{
    for (int scale : {1, 2}) {
        QImage img(size * scale, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        {
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::TextAntialiasing);
            p.scale(scale, scale);
            paint(p, QSizeF(size));
        }
        if (post)
            post(img, scale);
        const QString file = outDir + "/" + name + (scale == 2 ? "@2x.png" : ".png");
        img.convertToFormat(QImage::Format_ARGB32).save(file);
    }
}

// A shaped background: everything outside a rounded outline gets the key colour, decided on the
// 1x grid so that the 2x picture has exactly the same outline as the window mask.
void saveShaped(const QString &name, QSize size, qreal radius, const Painter &paint)
{
    QImage shape(size, QImage::Format_ARGB32);
    shape.fill(kKey);
    {
        QPainter p(&shape);
        p.setPen(Qt::NoPen);
        p.setBrush(kRim);
        p.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), radius, radius);
    }
    save(name, size,
         [&](QPainter &p, QSizeF s) {
             p.fillRect(QRectF(QPointF(0, 0), s), kRim);
             paint(p, s);
         },
         [&](QImage &img, int scale) {
             for (int y = 0; y < img.height(); ++y)
                 for (int x = 0; x < img.width(); ++x)
                     if (shape.pixelColor(x / scale, y / scale) == kKey)
                         img.setPixelColor(x, y, kKey);
         });
}

void body(QPainter &p, QSizeF s, qreal radius)
{
    QRectF r(QPointF(1, 1), s - QSizeF(2, 2));
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0, kBaseTop);
    g.setColorAt(0.16, kBase);
    g.setColorAt(1, kBase.darker(112));
    p.setPen(QPen(kAccentDark, 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius - 1, radius - 1);
}

void card(QPainter &p, QRectF r, qreal radius = 6)
{
    p.setPen(QPen(kCardLine, 1));
    p.setBrush(kCard);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void well(QPainter &p, QRectF r, qreal radius = 4)
{
    p.setPen(QPen(kRim, 1));
    p.setBrush(QColor(20, 23, 30));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

// The program's emblem: a film frame turning into a sound wave.
void emblem(QPainter &p, QRectF r)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRoundedRect(r, r.width() * 0.22, r.width() * 0.22);
    p.setBrush(kBase);
    const qreal w = r.width();
    const qreal bars[] = {0.35, 0.65, 0.9, 0.55, 0.3};
    for (int i = 0; i < 5; ++i) {
        const qreal h = bars[i] * r.height() * 0.7;
        QRectF b(r.left() + w * (0.16 + i * 0.145), r.center().y() - h / 2, w * 0.09, h);
        p.drawRoundedRect(b, w * 0.045, w * 0.045);
    }
    p.restore();
}

void mainBackground()
{
    saveShaped("main_background", {692, 456}, 16, [](QPainter &p, QSizeF s) {
        body(p, s, 16);
        // title band
        p.setPen(QPen(QColor(255, 255, 255, 18), 1));
        p.drawLine(QPointF(18, 66.5), QPointF(s.width() - 18, 66.5));
        emblem(p, QRectF(26, 28, 28, 28));
        // preview card: video, timeline and transport
        card(p, QRectF(16, 70, 272, 218), 8);
        well(p, QRectF(24, 74, 257, 156), 3);
        // settings card: output type, profile, folder, check boxes, link
        card(p, QRectF(292, 128, 382, 158), 8);
        // source list frame and the file buttons column
        well(p, QRectF(20, 290, 529, 142), 3);
        // link buttons tray
        card(p, QRectF(398, 69, 276, 56), 8);
        p.setPen(QPen(QColor(255, 255, 255, 22), 1));
        p.drawLine(QPointF(536.5, 78), QPointF(536.5, 116));
        // footer line
        p.setPen(kTextDim);
        p.setFont(uiFont(9));
        p.drawText(QRectF(24, 436, 400, 16), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Video to audio converter"));
    });
}

void progressBackground()
{
    saveShaped("progress_background", {435, 222}, 14, [](QPainter &p, QSizeF s) {
        body(p, s, 14);
        emblem(p, QRectF(16, 14, 22, 22));
        p.setPen(QPen(QColor(255, 255, 255, 18), 1));
        p.drawLine(QPointF(14, 46.5), QPointF(s.width() - 14, 46.5));
        card(p, QRectF(12, 54, s.width() - 24, 122), 8);
    });
}

void busyBackground()
{
    save("busy_background", {273, 45}, [](QPainter &p, QSizeF s) {
        p.fillRect(QRectF(QPointF(0, 0), s), kRim);
        QLinearGradient g(0, 0, 0, s.height());
        g.setColorAt(0, kBaseTop);
        g.setColorAt(1, kBase);
        p.setPen(QPen(kAccentDark, 1));
        p.setBrush(g);
        p.drawRect(QRectF(0.5, 0.5, s.width() - 1, s.height() - 1));
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRect(QRectF(1, s.height() - 3, s.width() - 2, 2));
    });
}

void logo()
{
    save("logo", {253, 152}, [](QPainter &p, QSizeF s) {
        QRadialGradient g(s.width() / 2, s.height() * 0.45, s.width() * 0.7);
        g.setColorAt(0, QColor(34, 44, 58));
        g.setColorAt(1, QColor(12, 14, 19));
        p.fillRect(QRectF(QPointF(0, 0), s), g);
        emblem(p, QRectF(s.width() / 2 - 26, 30, 52, 52));
        p.setPen(kText);
        p.setFont(uiFont(20, true));
        p.drawText(QRectF(0, 88, s.width(), 28), Qt::AlignCenter, QStringLiteral("Kelvane"));
        p.setPen(kTextDim);
        p.setFont(uiFont(10));
        p.drawText(QRectF(0, 116, s.width(), 18), Qt::AlignCenter,
                   QStringLiteral("Select a file and press play"));
    });
}

void divider()
{
    save("divider", {379, 5}, [](QPainter &p, QSizeF s) {
        QLinearGradient g(0, 0, s.width(), 0);
        g.setColorAt(0, QColor(38, 198, 204, 0));
        g.setColorAt(0.5, kAccent);
        g.setColorAt(1, QColor(38, 198, 204, 0));
        p.fillRect(QRectF(0, 2, s.width(), 1), g);
    });
}

void timeDisplay()
{
    save("time_display", {136, 38}, [](QPainter &p, QSizeF s) {
        p.setPen(QPen(kCardLine, 1));
        p.setBrush(QColor(8, 9, 12));
        p.drawRoundedRect(QRectF(0.5, 4.5, s.width() - 1, s.height() - 9), 5, 5);
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawEllipse(QRectF(10, s.height() / 2 - 3, 6, 6));
    });
}

// Small pictures for the widgets Qt draws: the drop-down arrow and the check mark.
void indicators()
{
    save("combo_arrow", {9, 6}, [](QPainter &p, QSizeF s) {
        QPainterPath t;
        t.moveTo(0.5, 0.5);
        t.lineTo(s.width() - 0.5, 0.5);
        t.lineTo(s.width() / 2, s.height() - 0.5);
        t.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawPath(t);
    });
    save("check_mark", {13, 13}, [](QPainter &p, QSizeF) {
        p.setPen(QPen(QColor(10, 24, 28), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(3, 6.5), QPointF(5.5, 9), QPointF(10, 3.5)}));
    });
}

void markers()
{
    for (bool left : {true, false}) {
        save(left ? "marker_start" : "marker_end", {17, 19}, [left](QPainter &p, QSizeF s) {
            QPainterPath path;
            // a flag on a pole, pointing into the selected span
            const qreal pole = left ? 3 : s.width() - 3;
            path.moveTo(pole, 1);
            path.lineTo(left ? s.width() - 2 : 2, 5.5);
            path.lineTo(pole, 10);
            path.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(kAccent);
            p.drawPath(path);
            p.fillRect(QRectF(pole - 1, 1, 2, s.height() - 1), kText);
        });
    }
    save("segment_filler", {8, 19}, [](QPainter &p, QSizeF s) {
        p.fillRect(QRectF(0, 7, s.width(), 5), QColor(28, 31, 40));
    });
    save("segment_span", {8, 19}, [](QPainter &p, QSizeF s) {
        p.fillRect(QRectF(0, 7, s.width(), 5), kAccent);
    });
}

// ---- picture buttons ---------------------------------------------------------------------

QColor faceTop(State st) { return st == State::Down ? QColor(34, 38, 48) : st == State::Hot ? QColor(78, 86, 104) : QColor(66, 72, 88); }
QColor faceBottom(State st) { return st == State::Down ? QColor(44, 49, 61) : st == State::Hot ? QColor(56, 63, 78) : QColor(48, 53, 66); }
QColor glyphColour(State st) { return st == State::Up ? kText : kAccent; }

void face(QPainter &p, QRectF r, State st, qreal radius, bool accent = false)
{
    QLinearGradient g(0, r.top(), 0, r.bottom());
    if (accent) {
        g.setColorAt(0, st == State::Down ? kAccentDark : st == State::Hot ? kAccent.lighter(118) : kAccent);
        g.setColorAt(1, st == State::Down ? kAccentDark.darker(115) : kAccentDark);
    } else {
        g.setColorAt(0, faceTop(st));
        g.setColorAt(1, faceBottom(st));
    }
    p.setPen(QPen(st == State::Hot ? kAccent : kRim, 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    if (st != State::Down) {
        p.setPen(QPen(QColor(255, 255, 255, accent ? 60 : 28), 1));
        p.drawLine(QPointF(r.left() + radius, r.top() + 1.5), QPointF(r.right() - radius, r.top() + 1.5));
    }
}

void saveButton(const QString &name, QSize size, qreal radius,
                const std::function<void(QPainter &, QRectF, State)> &glyph, bool accent = false)
{
    const std::pair<State, const char *> states[] = {
        {State::Up, "_up"}, {State::Hot, "_hot"}, {State::Down, "_down"}};
    for (const auto &[st, suffix] : states) {
        save(name + suffix, size, [&](QPainter &p, QSizeF s) {
            QRectF r(QPointF(0, 0), s);
            face(p, r, st, radius, accent);
            if (st == State::Down)
                r.translate(0, 1);
            glyph(p, r, st);
        });
    }
}

void textGlyph(QPainter &p, QRectF r, State st, const QString &text, qreal px, bool onAccent = false)
{
    p.setPen(onAccent ? QColor(10, 24, 28) : glyphColour(st));
    p.setFont(uiFont(px, true));
    p.drawText(r, Qt::AlignCenter, text);
}

void iconButtons()
{
    const QSize small(25, 25);
    saveButton("minimize", small, 5, [](QPainter &p, QRectF r, State st) {
        p.setPen(QPen(glyphColour(st), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(r.left() + 7.5, r.top() + 16), QPointF(r.right() - 7.5, r.top() + 16));
    });
    saveButton("close", small, 5, [](QPainter &p, QRectF r, State st) {
        p.setPen(QPen(st == State::Up ? kText : QColor(255, 110, 110), 2, Qt::SolidLine, Qt::RoundCap));
        const QRectF c = r.adjusted(8, 8, -8, -8);
        p.drawLine(c.topLeft(), c.bottomRight());
        p.drawLine(c.topRight(), c.bottomLeft());
    });
    saveButton("play", small, 12.5, [](QPainter &p, QRectF r, State st) {
        QPainterPath t;
        t.moveTo(r.left() + 9.5, r.top() + 7);
        t.lineTo(r.left() + 18, r.center().y());
        t.lineTo(r.left() + 9.5, r.bottom() - 7);
        t.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(glyphColour(st));
        p.drawPath(t);
    });
    saveButton("pause", small, 12.5, [](QPainter &p, QRectF r, State st) {
        p.setPen(Qt::NoPen);
        p.setBrush(glyphColour(st));
        p.drawRoundedRect(QRectF(r.left() + 8, r.top() + 7.5, 3.5, 10), 1, 1);
        p.drawRoundedRect(QRectF(r.right() - 11.5, r.top() + 7.5, 3.5, 10), 1, 1);
    });
    saveButton("stop", small, 12.5, [](QPainter &p, QRectF r, State st) {
        p.setPen(Qt::NoPen);
        p.setBrush(glyphColour(st));
        p.drawRoundedRect(QRectF(r.left() + 8, r.top() + 8, 9, 9), 1.5, 1.5);
    });

    const QSize big(48, 48);
    saveButton("homepage", big, 10, [](QPainter &p, QRectF r, State st) {
        QPainterPath h;
        const QPointF c = r.center();
        h.moveTo(c.x() - 12, c.y() - 1);
        h.lineTo(c.x(), c.y() - 12);
        h.lineTo(c.x() + 12, c.y() - 1);
        p.setPen(QPen(glyphColour(st), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(h);
        p.drawRect(QRectF(c.x() - 8, c.y() - 3, 16, 14));
        p.fillRect(QRectF(c.x() - 2.5, c.y() + 4, 5, 7), glyphColour(st));
    });
    saveButton("email", big, 10, [](QPainter &p, QRectF r, State st) {
        const QRectF e(r.center().x() - 13, r.center().y() - 9, 26, 18);
        p.setPen(QPen(glyphColour(st), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(e, 2, 2);
        p.drawLine(e.topLeft() + QPointF(1, 1), QPointF(e.center().x(), e.center().y() + 1));
        p.drawLine(e.topRight() + QPointF(-1, 1), QPointF(e.center().x(), e.center().y() + 1));
    });
    auto circled = [](const QString &t) {
        return [t](QPainter &p, QRectF r, State st) {
            p.setPen(QPen(glyphColour(st), 2));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(r.center().x() - 14, r.center().y() - 14, 28, 28));
            p.setFont(uiFont(18, true));
            p.drawText(r, Qt::AlignCenter, t);
        };
    };
    saveButton("help", big, 10, circled(QStringLiteral("?")));
    saveButton("about", big, 10, circled(QStringLiteral("i")));
    saveButton("folder", {29, 26}, 5, [](QPainter &p, QRectF r, State st) {
        p.setPen(Qt::NoPen);
        p.setBrush(glyphColour(st));
        p.drawRoundedRect(QRectF(r.left() + 6, r.top() + 7, 8, 4), 1, 1);
        p.drawRoundedRect(QRectF(r.left() + 6, r.top() + 9, 17, 11), 1.5, 1.5);
    });
}

void textButtons()
{
    auto labelled = [](const QString &t, qreal px) {
        return [t, px](QPainter &p, QRectF r, State st) { textGlyph(p, r, st, t, px); };
    };
    saveButton("options", {70, 20}, 4, labelled(QStringLiteral("Options"), 10));
    saveButton("browse", {70, 20}, 4, labelled(QStringLiteral("Browse..."), 10));
    saveButton("open_files", {110, 30}, 6, labelled(QStringLiteral("Add Files"), 11));
    saveButton("remove_files", {110, 30}, 6, labelled(QStringLiteral("Remove"), 11));
    saveButton("clear_files", {110, 30}, 6, labelled(QStringLiteral("Clear List"), 11));
    saveButton("convert", {110, 40}, 8, [](QPainter &p, QRectF r, State st) {
        textGlyph(p, r, st, QStringLiteral("Convert"), 14, true);
    }, true);
    saveButton("progress_stop", {80, 26}, 6, labelled(QStringLiteral("Stop"), 11));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);
    mainBackground();
    progressBackground();
    busyBackground();
    logo();
    divider();
    timeDisplay();
    markers();
    indicators();
    iconButtons();
    textButtons();
    return 0;
}
