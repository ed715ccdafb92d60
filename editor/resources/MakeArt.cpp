// makeart OUTDIR: draws the program's splash screen, window icon and tool cursors into PNG files,
// the dialogs' small icons (the ones zarv.qrc lists) and the command and effect-editor icons
// (icons/, 16 and 32 pixels, listed in icons.qrc). Run by hand after changing a drawing; the PNGs are
// kept in the repository so a build needs no display.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <algorithm>
#include <vector>

#include "CommandIcons.h"

namespace {

// One command icon at SIZE pixels: the drawing is made on a 16-unit square.
QImage renderCommandIcon(const CommandIcon& icon, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    icon.draw(p);
    return image;
}

// The command icons at 16 pixels (icons/NAME.png) and 32 (icons/32/NAME.png), and the resource
// file that lists both under the names the command table uses.
bool writeCommandIcons(const QString& out) {
    QDir().mkpath(out + QStringLiteral("/icons/32"));
    QByteArray qrc = "<RCC>\n  <qresource prefix=\"/qrc\">\n";
    std::vector<CommandIcon> icons(Art_CommandIcons().begin(), Art_CommandIcons().end());
    icons.insert(icons.end(), Art_EffectEditorIcons().begin(), Art_EffectEditorIcons().end());
    std::sort(icons.begin(), icons.end(),
              [](const CommandIcon& a, const CommandIcon& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const CommandIcon& icon : icons) {
        const QString name = QLatin1String(icon.name) + QStringLiteral(".png");
        for (const int size : {16, 32}) {
            const QImage image = renderCommandIcon(icon, size);
            const QString file =
                size == 16 ? QStringLiteral("icons/") + name : QStringLiteral("icons/32/") + name;
            if (!image.save(out + QLatin1Char('/') + file)) {
                std::fprintf(stderr, "makeart: cannot write %s\n", qPrintable(file));
                return false;
            }
            const QString alias = size == 16 ? name : QStringLiteral("32/") + name;
            qrc += QStringLiteral("    <file alias=\"%1\">%2</file>\n").arg(alias, file).toUtf8();
        }
    }
    qrc += "  </qresource>\n</RCC>\n";
    QFile file(out + QStringLiteral("/icons.qrc"));
    return file.open(QIODevice::WriteOnly) && file.write(qrc) == qrc.size();
}

QImage canvas(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Black strokes with a white rim, so a cursor reads on dark and light views alike.
void outlined(QPainter& p, const QPainterPath& path, qreal width = 1.5) {
    p.setRenderHint(QPainter::Antialiasing);
    p.strokePath(path, QPen(Qt::white, width + 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.strokePath(path, QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// A small cross whose centre is the hot spot.
QPainterPath hotCross(qreal x, qreal y, qreal r = 5) {
    QPainterPath path;
    path.moveTo(x - r, y);
    path.lineTo(x + r, y);
    path.moveTo(x, y - r);
    path.lineTo(x, y + r);
    return path;
}

QImage drawMove() {
    QImage image = canvas(32, 32);
    QPainter p(&image);
    QPainterPath path;
    path.moveTo(16, 3);
    path.lineTo(16, 29);
    path.moveTo(3, 16);
    path.lineTo(29, 16);
    for (const QPointF& d : {QPointF(0, -1), QPointF(0, 1), QPointF(-1, 0), QPointF(1, 0)}) {
        const QPointF tip = QPointF(16, 16) + d * 13;
        const QPointF side(d.y(), d.x());
        path.moveTo(tip - d * 5 + side * 4);
        path.lineTo(tip);
        path.lineTo(tip - d * 5 - side * 4);
    }
    outlined(p, path, 2.0);
    return image;
}

QImage drawCamera() {
    QImage image = canvas(32, 32);
    QPainter p(&image);
    QPainterPath path;
    path.addRoundedRect(QRectF(3, 10, 19, 14), 2, 2);
    path.moveTo(22, 14);
    path.lineTo(29, 10);
    path.lineTo(29, 24);
    path.lineTo(22, 20);
    path.addEllipse(QPointF(8, 7), 3, 3);
    path.addEllipse(QPointF(16, 7), 3, 3);
    outlined(p, path, 2.0);
    return image;
}

QImage drawMagnify() {
    QImage image = canvas(32, 32);
    QPainter p(&image);
    QPainterPath path;
    path.addEllipse(QPointF(9, 9), 7, 7);
    path.moveTo(14, 14);
    path.lineTo(26, 26);
    outlined(p, path, 2.5);
    outlined(p, hotCross(9, 9, 3), 1.0);
    return image;
}

// The go-to dialogs' icons: a magnifying glass, and one over a small axis cross.
QImage drawSearch(bool axes) {
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (axes) {
        p.setPen(QPen(QColor(200, 40, 40), 1.5));
        p.drawLine(QPointF(1, 14.5), QPointF(15, 14.5));
        p.setPen(QPen(QColor(40, 140, 40), 1.5));
        p.drawLine(QPointF(1.5, 1), QPointF(1.5, 15));
    }
    p.setBrush(QColor(180, 220, 255, 200));
    p.setPen(QPen(QColor(30, 30, 30), 1.6));
    p.drawEllipse(QPointF(7, 7), 4.5, 4.5);
    p.setPen(QPen(QColor(90, 60, 20), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 10.5), QPointF(14, 14));
    return image;
}
QImage drawSearchPlain() {
    return drawSearch(false);
}
QImage drawSearchAxes() {
    return drawSearch(true);
}

QImage drawCross() {
    QImage image = canvas(32, 32);
    QPainter p(&image);
    QPainterPath path;
    path.moveTo(16, 2);
    path.lineTo(16, 11);
    path.moveTo(16, 19);
    path.lineTo(16, 28);
    path.moveTo(2, 15);
    path.lineTo(11, 15);
    path.moveTo(21, 15);
    path.lineTo(30, 15);
    outlined(p, path);
    p.fillRect(QRectF(15.5, 14.5, 1, 1), Qt::black);
    return image;
}

QImage drawTexture() {
    QImage image = canvas(32, 32);
    QPainter p(&image);
    QPainterPath arrow;
    arrow.moveTo(0, 0);
    arrow.lineTo(0, 15);
    arrow.lineTo(4, 11);
    arrow.lineTo(8, 18);
    arrow.lineTo(10, 17);
    arrow.lineTo(6, 10);
    arrow.lineTo(11, 10);
    arrow.closeSubpath();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(arrow, Qt::white);
    p.strokePath(arrow, QPen(Qt::black, 1));
    // A checkered swatch: the texture being applied.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            p.fillRect(QRectF(14 + x * 4, 16 + y * 4, 4, 4),
                       (x + y) % 2 ? QColor(200, 120, 40) : QColor(90, 60, 30));
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(QRectF(13.5, 15.5, 17, 17));
    return image;
}

// A cross at (6, 6) with a badge that names the tool.
QImage drawBadged(const std::function<void(QPainter&)>& badge) {
    QImage image = canvas(32, 32);
    QPainter p(&image);
    outlined(p, hotCross(6, 6, 6));
    p.setRenderHint(QPainter::Antialiasing);
    badge(p);
    return image;
}

QImage drawDecal() {
    return drawBadged([](QPainter& p) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(230, 200, 60));
        p.drawEllipse(QRectF(13, 13, 15, 15));
        p.setBrush(QColor(120, 60, 20));
        p.drawEllipse(QRectF(17.5, 17.5, 6, 6));
    });
}

QImage drawEntity() {
    return drawBadged([](QPainter& p) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(90, 170, 240));
        p.drawRect(QRectF(14.5, 14.5, 13, 13));
        p.drawLine(QPointF(21, 17), QPointF(21, 25));
        p.drawLine(QPointF(17, 21), QPointF(25, 21));
    });
}

QImage drawBrush() {
    return drawBadged([](QPainter& p) {
        p.setPen(QPen(Qt::black, 1));
        const QPolygonF front({QPointF(13, 18), QPointF(23, 18), QPointF(23, 28), QPointF(13, 28)});
        const QPolygonF top({QPointF(13, 18), QPointF(18, 13), QPointF(28, 13), QPointF(23, 18)});
        const QPolygonF side({QPointF(23, 18), QPointF(28, 13), QPointF(28, 23), QPointF(23, 28)});
        p.setBrush(QColor(170, 170, 170));
        p.drawPolygon(front);
        p.setBrush(QColor(220, 220, 220));
        p.drawPolygon(top);
        p.setBrush(QColor(120, 120, 120));
        p.drawPolygon(side);
    });
}

QImage drawRotate() {
    QImage image = canvas(32, 32);
    QPainter p(&image);
    QPainterPath path;
    const QRectF ring(5, 5, 20, 20);
    path.arcMoveTo(ring, 100);
    path.arcTo(ring, 100, 150);
    path.arcMoveTo(ring, 280);
    path.arcTo(ring, 280, 150);
    // Arrow heads at the arcs' ends.
    path.moveTo(13, 24);
    path.lineTo(10, 24);
    path.lineTo(12, 27);
    path.moveTo(17, 6);
    path.lineTo(20, 6);
    path.lineTo(18, 3);
    outlined(p, path, 2.0);
    outlined(p, hotCross(15, 15, 2), 1.0);
    return image;
}

QImage drawIcon() {
    QImage image = canvas(32, 32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 32);
    fill.setColorAt(0, QColor(70, 110, 170));
    fill.setColorAt(1, QColor(25, 40, 70));
    p.setBrush(fill);
    p.setPen(QPen(QColor(10, 15, 30), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
    QPainterPath z;
    z.moveTo(8, 8);
    z.lineTo(24, 8);
    z.lineTo(8, 24);
    z.lineTo(24, 24);
    p.strokePath(z, QPen(QColor(240, 200, 80), 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    return image;
}

// A key/value table: a header row and two columns of lines, for the object properties dialog.
QImage drawTable() {
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.fillRect(QRect(1, 2, 14, 12), QColor(250, 250, 250));
    p.fillRect(QRect(1, 2, 14, 3), QColor(70, 110, 170));
    p.setPen(QColor(60, 60, 70));
    p.drawRect(QRect(1, 2, 13, 11));
    p.drawLine(6, 5, 6, 13);
    p.setPen(QColor(150, 150, 160));
    for (int y = 7; y <= 11; y += 2)
        p.drawLine(2, y, 13, y);
    return image;
}

// The class table with a blue question mark in its corner, for the entity help window.
QImage drawTableHelp() {
    QImage image = drawTable();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(40, 90, 200));
    p.setPen(QPen(QColor(250, 250, 250), 1));
    p.drawEllipse(QRectF(7.5, 7.5, 8, 8));
    p.setPen(QPen(QColor(255, 255, 255), 1.4));
    QPainterPath mark;
    mark.moveTo(10.3, 10.3);
    mark.cubicTo(10.3, 8.8, 13.2, 8.8, 13.2, 10.3);
    mark.cubicTo(13.2, 11.4, 11.7, 11.4, 11.7, 12.6);
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.drawPoint(QPointF(11.7, 14.2));
    return image;
}

QImage drawSplash() {
    QImage image(480, 280, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 280);
    fill.setColorAt(0, QColor(32, 44, 66));
    fill.setColorAt(1, QColor(8, 10, 16));
    p.fillRect(image.rect(), fill);
    // A faint floor grid in perspective.
    p.setPen(QPen(QColor(70, 90, 120, 120), 1));
    for (int i = -10; i <= 10; ++i)
        p.drawLine(QPointF(240 + i * 12, 170), QPointF(240 + i * 60, 280));
    for (int j = 0; j < 6; ++j) {
        const qreal y = 170 + j * j * 4.0 + j * 2;
        p.drawLine(QPointF(0, y), QPointF(480, y));
    }
    // A wire cube standing on it.
    const QPointF a(330, 95), b(400, 95), c(400, 165), d(330, 165), o(25, -22);
    p.setPen(QPen(QColor(240, 200, 80), 2));
    p.drawPolygon(QPolygonF({a, b, c, d}));
    p.drawPolygon(QPolygonF({a + o, b + o, c + o, d + o}));
    for (const QPointF& v : {a, b, c, d})
        p.drawLine(v, v + o);
    QFont title(QStringLiteral("DejaVu Sans"), 38, QFont::Bold);
    p.setFont(title);
    p.setPen(QColor(235, 235, 240));
    p.drawText(QPointF(32, 110), QStringLiteral("Z.A.R.V."));
    QFont sub(QStringLiteral("DejaVu Sans"), 11);
    p.setFont(sub);
    p.setPen(QColor(190, 200, 215));
    p.drawText(QPointF(34, 138), QStringLiteral("Kelvane Development Kit"));
    p.drawText(QPointF(34, 158), QStringLiteral("A level editor for Quake-family games"));
    return image;
}

// The visgroup row icon: an open eye for a shown set, a shut one struck through for a hidden one.
QImage drawVisGroup(bool shown) {
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath lid;
    lid.moveTo(1.5, 8);
    lid.quadTo(8, shown ? 1 : 5, 14.5, 8);
    lid.quadTo(8, shown ? 15 : 11, 1.5, 8);
    p.setPen(QPen(shown ? QColor(20, 60, 120) : QColor(110, 110, 110), 1.3));
    p.setBrush(shown ? QColor(235, 242, 255) : QColor(220, 220, 220));
    p.drawPath(lid);
    if (shown) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 110, 200));
        p.drawEllipse(QPointF(8, 8), 3, 3);
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(8, 8), 1.3, 1.3);
    } else {
        p.setPen(QPen(QColor(190, 30, 30), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3, 13), QPointF(13, 3));
    }
    return image;
}

// The about dialog's banner: the splash screen's cube and title on a strip as wide as the dialog.
QImage drawAbout() {
    QImage image(418, 150, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 150);
    fill.setColorAt(0, QColor(32, 44, 66));
    fill.setColorAt(1, QColor(8, 10, 16));
    p.fillRect(image.rect(), fill);
    p.setPen(QPen(QColor(70, 90, 120, 120), 1));
    for (int i = -10; i <= 10; ++i)
        p.drawLine(QPointF(209 + i * 10, 95), QPointF(209 + i * 45, 150));
    const QPointF a(300, 40), b(350, 40), c(350, 90), d(300, 90), o(18, -16);
    p.setPen(QPen(QColor(240, 200, 80), 2));
    p.drawPolygon(QPolygonF({a, b, c, d}));
    p.drawPolygon(QPolygonF({a + o, b + o, c + o, d + o}));
    for (const QPointF& v : {a, b, c, d})
        p.drawLine(v, v + o);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 30, QFont::Bold));
    p.setPen(QColor(235, 235, 240));
    p.drawText(QPointF(24, 78), QStringLiteral("Z.A.R.V."));
    return image;
}

// The donation picture: a gold coin with a heart.
QImage drawDonate() {
    QImage image = canvas(80, 60);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 110, 20), 2));
    p.setBrush(QColor(240, 200, 80));
    p.drawEllipse(QPointF(40, 30), 26, 26);
    QPainterPath heart;
    heart.moveTo(40, 44);
    heart.cubicTo(22, 32, 28, 14, 40, 24);
    heart.cubicTo(52, 14, 58, 32, 40, 44);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 50));
    p.drawPath(heart);
    return image;
}

// The welcome dialog's picture: the kit's name over a stack of brushes.
QImage drawAdvert() {
    QImage image(360, 280, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 280);
    fill.setColorAt(0, QColor(40, 56, 84));
    fill.setColorAt(1, QColor(10, 12, 20));
    p.fillRect(image.rect(), fill);
    const QColor faces[3] = {QColor(240, 200, 80), QColor(200, 150, 50), QColor(150, 110, 30)};
    for (int i = 0; i < 3; ++i) {
        const QPointF base(90 + i * 50, 240 - i * 40);
        const QPointF o(30, -20);
        QPolygonF front({base, base + QPointF(80, 0), base + QPointF(80, -50), base + QPointF(0, -50)});
        QPolygonF top({base + QPointF(0, -50), base + QPointF(80, -50), base + QPointF(80, -50) + o,
                       base + QPointF(0, -50) + o});
        QPolygonF side({base + QPointF(80, 0), base + QPointF(80, 0) + o, base + QPointF(80, -50) + o,
                        base + QPointF(80, -50)});
        p.setPen(QPen(QColor(20, 20, 20), 1.5));
        p.setBrush(faces[0]);
        p.drawPolygon(top);
        p.setBrush(faces[1]);
        p.drawPolygon(front);
        p.setBrush(faces[2]);
        p.drawPolygon(side);
    }
    p.setPen(QColor(235, 235, 240));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 16, QFont::Bold));
    p.drawText(QRectF(0, 16, 360, 30), Qt::AlignCenter, QStringLiteral("Kelvane Development Kit"));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    p.setPen(QColor(190, 200, 215));
    p.drawText(QRectF(0, 48, 360, 22), Qt::AlignCenter,
               QStringLiteral("Editor, compilers and game data in one box"));
    return image;
}

// Small icons of the options dialog (preferences.qrc): a cog, two arrows and the package kinds.
QImage drawCog() {
    for (const CommandIcon& icon : Art_CommandIcons())
        if (std::strcmp(icon.name, "cog") == 0) return renderCommandIcon(icon, 16);
    return canvas(16, 16);
}

QImage drawArrow(bool up) {
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    const qreal tip = up ? 3 : 13, base = up ? 9 : 7, tail = up ? 13 : 3;
    path.moveTo(8, tip);
    path.lineTo(13, base);
    path.lineTo(10, base);
    path.lineTo(10, tail);
    path.lineTo(6, tail);
    path.lineTo(6, base);
    path.lineTo(3, base);
    path.closeSubpath();
    p.fillPath(path, QColor(40, 110, 200));
    p.strokePath(path, QPen(QColor(20, 50, 110), 1));
    return image;
}

// A page with a coloured band and a letter: the package kinds of the texture table.
QImage drawKind(QColor band, char letter) {
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setPen(QColor(80, 80, 80));
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 11, 14);
    p.fillRect(3, 2, 10, 4, band);
    QFont font;
    font.setPixelSize(8);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(2, 6, 12, 9), Qt::AlignCenter, QString(QLatin1Char(letter)));
    return image;
}

QImage drawArrowUp() {
    return drawArrow(true);
}
QImage drawArrowDown() {
    return drawArrow(false);
}
QImage drawKindDirectory() {
    return drawKind(QColor(230, 180, 40), 'D');
}
QImage drawKindTexture() {
    return drawKind(QColor(60, 170, 80), 'T');
}
QImage drawKindWad() {
    return drawKind(QColor(170, 90, 40), 'W');
}
QImage drawKindEffect() {
    return drawKind(QColor(90, 90, 200), 'S');
}

// Group icons of the texture lists (texturelists.qrc): a fan of tiles for the fixed groups, a
// script page, a crate and a folder for the package kinds.
QImage drawGroupAll() {
    QImage image = canvas(16, 16);
    QPainter p(&image);
    const QColor tiles[] = {QColor(200, 70, 60), QColor(60, 150, 80), QColor(50, 100, 200)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QColor(40, 40, 40));
        p.setBrush(tiles[i]);
        p.drawRect(1 + i * 3, 1 + i * 3, 8, 8);
    }
    return image;
}

QImage drawGroupEffect() {
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(70, 70, 90));
    p.setBrush(QColor(245, 245, 235));
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
    QPainterPath wave;
    wave.moveTo(4, 8);
    wave.cubicTo(6, 4, 8, 12, 12, 7);
    p.strokePath(wave, QPen(QColor(90, 90, 200), 1.5));
    p.fillRect(QRectF(4, 3, 6, 1), QColor(120, 120, 140));
    p.fillRect(QRectF(4, 11, 8, 1), QColor(120, 120, 140));
    return image;
}

QImage drawGroupWad() {
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setPen(QColor(90, 50, 20));
    p.setBrush(QColor(190, 120, 60));
    p.drawRect(1, 3, 13, 11);
    p.drawLine(1, 3, 14, 14);
    p.drawLine(14, 3, 1, 14);
    p.fillRect(2, 7, 12, 2, QColor(120, 70, 30));
    return image;
}

QImage drawGroupFolder() {
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setPen(QColor(120, 90, 20));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(1, 2, 6, 3);
    p.drawRect(1, 4, 14, 10);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeart OUTDIR\n");
        return 64;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const struct {
        const char* name;
        QImage (*draw)();
    } art[] = {{"splash.png", drawSplash},
               {"zarv32.png", drawIcon},
               {"c_move.png", drawMove},
               {"c_camera.png", drawCamera},
               {"c_magnify.png", drawMagnify},
               {"c_cross.png", drawCross},
               {"c_texture.png", drawTexture},
               {"c_decal.png", drawDecal},
               {"c_entity.png", drawEntity},
               {"c_brush.png", drawBrush},
               {"c_rotate.png", drawRotate},
               {"search.png", drawSearchPlain},
               {"search2.png", drawSearchAxes},
               {"table.png", drawTable},
               {"table2.png", drawTableHelp},
               {"vg_on.png", [] { return drawVisGroup(true); }},
               {"vg_off.png", [] { return drawVisGroup(false); }},
               {"about.png", drawAbout},
               {"donate.png", drawDonate},
               {"adv.png", drawAdvert},
               {"cog.png", drawCog},
               {"up0.png", drawArrowUp},
               {"down0.png", drawArrowDown},
               {"i_dir.png", drawKindDirectory},
               {"i_tex.png", drawKindTexture},
               {"i_wad.png", drawKindWad},
               {"i_shd.png", drawKindEffect},
               {"l_all.png", drawGroupAll},
               {"l_shd.png", drawGroupEffect},
               {"l_wad.png", drawGroupWad},
               {"l_dir.png", drawGroupFolder}};
    for (const auto& item : art) {
        const QString path = out + QLatin1Char('/') + QLatin1String(item.name);
        if (!item.draw().save(path)) {
            std::fprintf(stderr, "makeart: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return writeCommandIcons(out) ? 0 : 1;
}
