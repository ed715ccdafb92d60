// The command and tool icons. Each drawing says what its command does (a block for the block tool,
// scissors for the clipper, an eye for the display switches) in a few strong shapes that still read
// at 16 pixels; colours only help to tell related commands apart.
#include "CommandIcons.h"

#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace {

const QColor kInk(35, 35, 40);
const QColor kPaper(250, 250, 245);
const QColor kBlue(45, 100, 185);
const QColor kSky(165, 205, 240);
const QColor kRed(205, 40, 40);
const QColor kGreen(35, 145, 60);
const QColor kYellow(240, 190, 50);
const QColor kOrange(235, 130, 30);
const QColor kPurple(140, 70, 175);
const QColor kGrey(150, 150, 158);
const QColor kBrown(150, 95, 45);

QPen ink(qreal width = 1, const QColor& colour = kInk) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void shape(QPainter& p, const QPainterPath& path, const QColor& fill, qreal width = 1) {
    p.setPen(ink(width));
    p.setBrush(fill);
    p.drawPath(path);
}

void box(QPainter& p, const QRectF& r, const QColor& fill, qreal width = 1) {
    QPainterPath path;
    path.addRect(r);
    shape(p, path, fill, width);
}

void line(QPainter& p, QPointF a, QPointF b, const QColor& colour = kInk, qreal width = 1) {
    p.setPen(ink(width, colour));
    p.drawLine(a, b);
}

// A straight arrow ending in a filled head at b.
void arrow(QPainter& p, QPointF a, QPointF b, const QColor& colour, qreal width = 1.6, qreal head = 3.5) {
    const QPointF d = b - a;
    const qreal length = std::hypot(d.x(), d.y());
    const QPointF u = d / length, n(-u.y(), u.x());
    line(p, a, b - u * head * 0.6, colour, width);
    p.setPen(ink(0.8, colour));
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({b, b - u * head + n * head * 0.6, b - u * head - n * head * 0.6}));
}

// An arc about c from angle a0 turning by span degrees (positive: anticlockwise), with a head at its end.
void turnArrow(QPainter& p, QPointF c, qreal r, qreal a0, qreal span, const QColor& colour,
               qreal width = 1.6) {
    const QRectF ring(c.x() - r, c.y() - r, 2 * r, 2 * r);
    QPainterPath path;
    path.arcMoveTo(ring, a0);
    path.arcTo(ring, a0, span);
    p.setPen(ink(width, colour));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    const qreal end = (a0 + span) * M_PI / 180;
    const QPointF tip = c + QPointF(std::cos(end), -std::sin(end)) * r;
    const qreal s = span > 0 ? 1 : -1;
    const QPointF along(-std::sin(end) * s, -std::cos(end) * s); // direction of travel at the end
    const QPointF out(std::cos(end), -std::sin(end));
    p.setPen(ink(0.8, colour));
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({tip + along * 3, tip - out * 2.6, tip + out * 2.6}));
}

void plusBadge(QPainter& p, QPointF c, const QColor& colour = kGreen) {
    p.setPen(ink(2.4, Qt::white));
    p.drawLine(c - QPointF(3, 0), c + QPointF(3, 0));
    p.drawLine(c - QPointF(0, 3), c + QPointF(0, 3));
    line(p, c - QPointF(2.8, 0), c + QPointF(2.8, 0), colour, 1.6);
    line(p, c - QPointF(0, 2.8), c + QPointF(0, 2.8), colour, 1.6);
}

void minusBadge(QPainter& p, QPointF c, const QColor& colour = kRed) {
    p.setPen(ink(2.6, Qt::white));
    p.drawLine(c - QPointF(3, 0), c + QPointF(3, 0));
    line(p, c - QPointF(2.8, 0), c + QPointF(2.8, 0), colour, 1.8);
}

// The red bar of "not" across the whole square.
void slash(QPainter& p) {
    p.setPen(ink(3, Qt::white));
    p.drawLine(QPointF(2.5, 13.5), QPointF(13.5, 2.5));
    line(p, QPointF(2.5, 13.5), QPointF(13.5, 2.5), kRed, 1.8);
}

void page(QPainter& p, const QRectF& r = QRectF(2.5, 1.5, 10, 13)) {
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    shape(p, path, kPaper);
    line(p, QPointF(r.right() - 3, r.top()), QPointF(r.right() - 3, r.top() + 3));
    line(p, QPointF(r.right() - 3, r.top() + 3), QPointF(r.right(), r.top() + 3));
}

void floppy(QPainter& p, const QRectF& r = QRectF(1.5, 1.5, 13, 13)) {
    QPainterPath body;
    body.moveTo(r.topLeft());
    body.lineTo(r.right() - 2, r.top());
    body.lineTo(r.right(), r.top() + 2);
    body.lineTo(r.bottomRight());
    body.lineTo(r.bottomLeft());
    body.closeSubpath();
    shape(p, body, kBlue);
    const qreal w = r.width(), h = r.height();
    box(p, QRectF(r.left() + w * 0.22, r.top(), w * 0.5, h * 0.32), QColor(220, 220, 225), 0.8);
    box(p, QRectF(r.left() + w * 0.15, r.top() + h * 0.55, w * 0.7, h * 0.45), kPaper, 0.8);
}

void folder(QPainter& p, bool open) {
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(13.5, 5);
    back.lineTo(13.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    shape(p, back, QColor(200, 150, 60));
    QPainterPath front;
    if (open) {
        front.moveTo(3.5, 7.5);
        front.lineTo(15.5, 7.5);
        front.lineTo(13.5, 13.5);
        front.lineTo(1.5, 13.5);
    } else {
        front.addRect(QRectF(1.5, 6.5, 12, 7));
    }
    front.closeSubpath();
    shape(p, front, kYellow);
}

void grid(QPainter& p, const QRectF& r, int cells, const QColor& colour, qreal width = 1) {
    p.setPen(ink(width, colour));
    for (int i = 0; i <= cells; ++i) {
        const qreal f = qreal(i) / cells;
        p.drawLine(QPointF(r.left() + r.width() * f, r.top()), QPointF(r.left() + r.width() * f, r.bottom()));
        p.drawLine(QPointF(r.left(), r.top() + r.height() * f), QPointF(r.right(), r.top() + r.height() * f));
    }
}

void checker(QPainter& p, const QRectF& r, int cells, const QColor& a, const QColor& b) {
    const qreal w = r.width() / cells, h = r.height() / cells;
    p.setPen(Qt::NoPen);
    for (int y = 0; y < cells; ++y)
        for (int x = 0; x < cells; ++x)
            p.fillRect(QRectF(r.left() + x * w, r.top() + y * h, w, h), (x + y) % 2 ? a : b);
    p.setPen(ink(1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

// An isometric block: front square at (x, y) of size s, depth d up and to the right.
void cube(QPainter& p, qreal x, qreal y, qreal s, qreal d, const QColor& front, const QColor& top,
          const QColor& side) {
    p.setPen(ink(1));
    p.setBrush(top);
    p.drawPolygon(
        QPolygonF({QPointF(x, y), QPointF(x + d, y - d), QPointF(x + s + d, y - d), QPointF(x + s, y)}));
    p.setBrush(side);
    p.drawPolygon(QPolygonF({QPointF(x + s, y), QPointF(x + s + d, y - d), QPointF(x + s + d, y + s - d),
                             QPointF(x + s, y + s)}));
    p.setBrush(front);
    p.drawRect(QRectF(x, y, s, s));
}

void greyCube(QPainter& p, qreal x = 1.5, qreal y = 5.5, qreal s = 9, qreal d = 4) {
    cube(p, x, y, s, d, QColor(175, 175, 180), QColor(220, 220, 225), QColor(120, 120, 128));
}

void eye(QPainter& p, QPointF c, qreal w = 13) {
    QPainterPath lid;
    lid.moveTo(c.x() - w / 2, c.y());
    lid.quadTo(c.x(), c.y() - w * 0.55, c.x() + w / 2, c.y());
    lid.quadTo(c.x(), c.y() + w * 0.55, c.x() - w / 2, c.y());
    shape(p, lid, Qt::white);
    p.setBrush(kBlue);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, w * 0.2, w * 0.2);
    p.setBrush(kInk);
    p.drawEllipse(c, w * 0.09, w * 0.09);
}

void magnifier(QPainter& p, QPointF c, qreal r) {
    line(p, c + QPointF(r, r) * 0.7, c + QPointF(r, r) * 1.75, kBrown, r * 0.55);
    p.setPen(ink(r * 0.3));
    p.setBrush(QColor(200, 230, 255, 220));
    p.drawEllipse(c, r, r);
}

void scissors(QPainter& p, QPointF at, qreal scale) {
    p.save();
    p.translate(at);
    p.scale(scale, scale);
    line(p, QPointF(3, 0.5), QPointF(9.5, 10), kGrey, 1.6);
    line(p, QPointF(9, 0.5), QPointF(2.5, 10), kGrey, 1.6);
    p.setPen(ink(1.6, kRed));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(2.3, 12), 2, 2);
    p.drawEllipse(QPointF(9.7, 12), 2, 2);
    p.restore();
}

// Open: the shackle lifted out of the right side.
void padlock(QPainter& p, const QRectF& r, bool open = false) {
    const qreal w = r.width(), lift = open ? r.height() * 0.2 : 0;
    QPainterPath shackle;
    shackle.moveTo(r.left() + w * 0.22, r.top() + r.height() * 0.45);
    shackle.lineTo(r.left() + w * 0.22, r.top() + w * 0.3 - lift);
    shackle.arcTo(QRectF(r.left() + w * 0.22, r.top() - lift, w * 0.56, w * 0.56), 180, -180);
    shackle.lineTo(r.left() + w * 0.78, r.top() + r.height() * 0.45 - (open ? lift * 1.6 : 0));
    p.setPen(ink(1.4, kInk));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shackle);
    box(p, QRectF(r.left(), r.top() + r.height() * 0.45, w, r.height() * 0.55), kYellow);
}

// A small window: title bar and frame.
void window(QPainter& p, const QRectF& r, const QColor& bar = kBlue) {
    box(p, r, Qt::white);
    p.fillRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 1, 2.5), bar);
}

// Nodes joined by straight links.
void nodes(QPainter& p, const QPolygonF& points, const QColor& link, const QColor& node) {
    p.setPen(ink(1.4, link));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(points);
    p.setPen(ink(0.9));
    p.setBrush(node);
    for (const QPointF& pt : points)
        p.drawEllipse(pt, 1.9, 1.9);
}

const QPolygonF kPath({QPointF(2.5, 12.5), QPointF(6, 5), QPointF(10.5, 10), QPointF(13.5, 3.5)});

void hatch(QPainter& p, const QRectF& r, const QColor& fill, const QColor& stripes) {
    box(p, r, fill);
    p.save();
    p.setClipRect(r);
    p.setPen(ink(1.2, stripes));
    for (qreal x = r.left() - r.height(); x < r.right(); x += 3.5)
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
    p.restore();
    p.setPen(ink(1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

// Pixel-font capitals from strokes on a 4x6 cell at (x, y), for the few icons that name a letter.
void letter(QPainter& p, char c, qreal x, qreal y, const QColor& colour, qreal width = 1.4) {
    QPainterPath s;
    auto m = [&](qreal a, qreal b) { s.moveTo(x + a, y + b); };
    auto l = [&](qreal a, qreal b) { s.lineTo(x + a, y + b); };
    switch (c) {
    case 'H':
        m(0, 0), l(0, 6), m(4, 0), l(4, 6), m(0, 3), l(4, 3);
        break;
    case 'U':
        m(0, 0), l(0, 5), l(1, 6), l(3, 6), l(4, 5), l(4, 0);
        break;
    case 'V':
        m(0, 0), l(2, 6), l(4, 0);
        break;
    case 'I':
        m(2, 0), l(2, 6);
        break;
    case 'S':
        m(4, 0), l(1, 0), l(0, 1.5), l(4, 4.5), l(3, 6), l(0, 6);
        break;
    }
    p.setPen(ink(width, colour));
    p.setBrush(Qt::NoBrush);
    p.drawPath(s);
}

// A mouse pointer with its tip at (x, y).
void pointer(QPainter& p, qreal x, qreal y, qreal scale = 1) {
    QPainterPath a;
    a.moveTo(x, y);
    a.lineTo(x, y + 11 * scale);
    a.lineTo(x + 3 * scale, y + 8.3 * scale);
    a.lineTo(x + 5 * scale, y + 12.5 * scale);
    a.lineTo(x + 7 * scale, y + 11.5 * scale);
    a.lineTo(x + 5 * scale, y + 7.5 * scale);
    a.lineTo(x + 8.5 * scale, y + 7.5 * scale);
    a.closeSubpath();
    shape(p, a, Qt::white);
}

void handles(QPainter& p, const QPolygonF& corners, const QColor& fill, qreal half = 1.6) {
    p.setPen(ink(0.9));
    p.setBrush(fill);
    for (const QPointF& c : corners)
        p.drawRect(QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half));
}

void dashedRect(QPainter& p, const QRectF& r, const QColor& colour, qreal width = 1.2) {
    QPen pen = ink(width, colour);
    pen.setDashPattern({2, 1.5});
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

void terminal(QPainter& p) {
    box(p, QRectF(1.5, 2.5, 13, 11), QColor(40, 45, 55));
    p.setPen(ink(1.3, QColor(120, 230, 120)));
    p.drawPolyline(QPolygonF({QPointF(4, 6), QPointF(6.5, 8), QPointF(4, 10)}));
    p.drawLine(QPointF(8, 10.5), QPointF(11.5, 10.5));
}

// The axis pairs of the 2D views: horizontal and vertical axis in their axis colours.
void axes(QPainter& p, const QColor& horizontal, const QColor& vertical) {
    box(p, QRectF(1.5, 1.5, 13, 13), Qt::white);
    arrow(p, QPointF(4, 12), QPointF(14, 12), horizontal, 1.8, 3.5);
    arrow(p, QPointF(4, 12), QPointF(4, 2), vertical, 1.8, 3.5);
}

// The four 2D-align commands: a bar at one edge and two blocks pushed against it.
void alignTo(QPainter& p, int edge) {
    p.save();
    p.translate(8, 8);
    p.rotate(edge * 90);
    p.translate(-8, -8);
    line(p, QPointF(2, 1.5), QPointF(2, 14.5), kRed, 1.8);
    box(p, QRectF(3.5, 3, 10, 4), kSky);
    box(p, QRectF(3.5, 9, 6, 4), kBlue);
    p.restore();
}

void flip(QPainter& p, bool vertical) {
    p.save();
    if (vertical) {
        p.translate(8, 8);
        p.rotate(90);
        p.translate(-8, -8);
    }
    QPen dash = ink(1, kGrey);
    dash.setDashPattern({1.5, 1.5});
    p.setPen(dash);
    p.drawLine(QPointF(8, 0.5), QPointF(8, 15.5));
    shape(
        p,
        [] {
            QPainterPath t;
            t.addPolygon(QPolygonF({QPointF(6.5, 3), QPointF(6.5, 13), QPointF(1, 13)}));
            t.closeSubpath();
            return t;
        }(),
        kBlue);
    shape(
        p,
        [] {
            QPainterPath t;
            t.addPolygon(QPolygonF({QPointF(9.5, 3), QPointF(9.5, 13), QPointF(15, 13)}));
            t.closeSubpath();
            return t;
        }(),
        Qt::white);
    p.restore();
}

// A block with an arrow turning over its top, left (anticlockwise) or right (clockwise).
void rotateBox(QPainter& p, bool clockwise) {
    box(p, QRectF(4.5, 8.5, 7, 6), kSky);
    turnArrow(p, QPointF(8, 9), 6, clockwise ? 170 : 10, clockwise ? -150 : 150, kGreen, 1.8);
}

// The 3D view modes: a cube drawn as wire, flat, textured or shaded textured.
void viewCube(QPainter& p, int mode) {
    const qreal x = 1.5, y = 5.5, s = 9, d = 4;
    if (mode == 0) {
        p.setPen(ink(1, kBlue));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(x, y, s, s));
        p.drawRect(QRectF(x + d, y - d, s, s));
        for (const QPointF& c : {QPointF(0, 0), QPointF(s, 0), QPointF(0, s), QPointF(s, s)})
            p.drawLine(QPointF(x, y) + c, QPointF(x + d, y - d) + c);
        return;
    }
    if (mode == 1) {
        cube(p, x, y, s, d, QColor(90, 160, 90), QColor(140, 210, 140), QColor(50, 110, 50));
        return;
    }
    cube(p, x, y, s, d, Qt::white, QColor(230, 180, 90), QColor(150, 100, 40));
    checker(p, QRectF(x, y, s, s), 3, kBrown, QColor(235, 190, 110));
    if (mode == 3) {
        QLinearGradient shade(x, y, x + s, y + s);
        shade.setColorAt(0, QColor(255, 255, 255, 90));
        shade.setColorAt(1, QColor(0, 0, 0, 150));
        p.fillRect(QRectF(x + 0.5, y + 0.5, s - 1, s - 1), shade);
    }
}

void table(QPainter& p, const QColor& header) {
    box(p, QRectF(1.5, 2.5, 13, 11), kPaper);
    p.fillRect(QRectF(2, 3, 12, 3), header);
    line(p, QPointF(6, 6), QPointF(6, 13.5), kInk, 0.8);
    for (qreal y = 8.5; y < 13; y += 2.2)
        line(p, QPointF(2, y), QPointF(14, y), kGrey, 0.7);
}

// Three shapes whose frame marks a group.
void groupShapes(QPainter& p) {
    box(p, QRectF(3, 3, 5, 5), kSky);
    p.setPen(ink(1));
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(10.5, 10.5), 3, 3);
}

void drawNew(QPainter& p) {
    page(p);
    p.setPen(ink(1, kOrange));
    p.setBrush(kYellow);
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal r = i % 2 ? 1.8 : 4.2, a = i * M_PI / 5 - M_PI / 2;
        star << QPointF(12 + r * std::cos(a), 4.5 + r * std::sin(a));
    }
    p.drawPolygon(star);
}
void drawOpen(QPainter& p) {
    folder(p, true);
}
void drawSave(QPainter& p) {
    floppy(p);
}
void drawSaveAs(QPainter& p) {
    floppy(p, QRectF(0.5, 0.5, 12, 12));
    // A pencil: the new name.
    line(p, QPointF(8, 15), QPointF(15, 8), kInk, 3.4);
    line(p, QPointF(8.6, 14.4), QPointF(14.4, 8.6), kOrange, 2);
}
void drawSaveIncremental(QPainter& p) {
    floppy(p, QRectF(0.5, 0.5, 12, 12));
    plusBadge(p, QPointF(12, 12));
}
void drawExportAgain(QPainter& p) {
    floppy(p, QRectF(0.5, 0.5, 11, 11));
    arrow(p, QPointF(6, 13), QPointF(15.5, 13), kGreen, 1.8, 4);
}
void drawRun(QPainter& p) {
    QPainterPath play;
    play.addPolygon(QPolygonF({QPointF(3, 1.5), QPointF(14, 8), QPointF(3, 14.5)}));
    play.closeSubpath();
    shape(p, play, kGreen);
}
void drawUndo(QPainter& p) {
    turnArrow(p, QPointF(8, 9), 5, -60, 200, kBlue, 2);
}
void drawRedo(QPainter& p) {
    turnArrow(p, QPointF(8, 9), 5, 240, -200, kBlue, 2);
}
void drawCut(QPainter& p) {
    scissors(p, QPointF(2, 1), 1);
}
void drawCopy(QPainter& p) {
    page(p, QRectF(1.5, 0.5, 8, 10));
    page(p, QRectF(6.5, 5.5, 8, 10));
}
void drawPaste(QPainter& p) {
    box(p, QRectF(1.5, 2.5, 10, 12), kBrown);
    box(p, QRectF(4, 1, 5, 3), kGrey);
    page(p, QRectF(6.5, 6.5, 8, 9));
}
void drawDelete(QPainter& p) {
    line(p, QPointF(3, 3), QPointF(13, 13), kRed, 3);
    line(p, QPointF(13, 3), QPointF(3, 13), kRed, 3);
}
void drawSelectByHandles(QPainter& p) {
    box(p, QRectF(3, 3, 10, 10), kSky);
    handles(p, QPolygonF({QPointF(3, 3), QPointF(13, 3), QPointF(3, 13), QPointF(13, 13), QPointF(8, 8)}),
            kRed);
}
void drawAutoSelect2D(QPainter& p) {
    box(p, QRectF(3.5, 3.5, 4, 4), kBlue);
    dashedRect(p, QRectF(1.5, 1.5, 9, 9), kInk);
    pointer(p, 8, 6, 0.75);
}
void drawAutoSelect3D(QPainter& p) {
    greyCube(p, 1.5, 5.5, 7, 3);
    pointer(p, 7, 5, 0.8);
}
void drawProperties(QPainter& p) {
    table(p, kBlue);
}
void drawMapProperties(QPainter& p) {
    table(p, kGreen);
    p.setPen(ink(0.8));
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(11.5, 11.5), 3.2, 3.2);
}
void drawDeleteNodes(QPainter& p) {
    nodes(p, kPath, kGrey, kSky);
    minusBadge(p, QPointF(11.5, 12.5));
}
void drawAddNodes(QPainter& p) {
    nodes(p, kPath, kGrey, kSky);
    plusBadge(p, QPointF(11.5, 12.5));
}
void drawEditPath(QPainter& p) {
    nodes(p, kPath, kOrange, kYellow);
    line(p, QPointF(9, 15), QPointF(15, 9), kInk, 3.4);
    line(p, QPointF(9.6, 14.4), QPointF(14.4, 9.6), kBlue, 2);
}
void drawReversePath(QPainter& p) {
    nodes(p, QPolygonF({QPointF(2.5, 4), QPointF(8, 4), QPointF(13.5, 4)}), kOrange, kYellow);
    arrow(p, QPointF(13, 11), QPointF(2.5, 11), kBlue, 1.8, 4);
}
void drawSplitPath(QPainter& p) {
    nodes(p, QPolygonF({QPointF(2, 12), QPointF(6, 7)}), kOrange, kYellow);
    nodes(p, QPolygonF({QPointF(10, 9), QPointF(14, 4)}), kOrange, kYellow);
    line(p, QPointF(6.5, 13.5), QPointF(9.5, 2.5), kRed, 1.4);
}
void drawMergePaths(QPainter& p) {
    nodes(p, QPolygonF({QPointF(2, 3), QPointF(7, 8), QPointF(2, 13)}), kOrange, kYellow);
    nodes(p, QPolygonF({QPointF(7, 8), QPointF(14, 8)}), kOrange, kYellow);
}
void drawPathToEntities(QPainter& p) {
    nodes(p, QPolygonF({QPointF(2, 4), QPointF(7, 4)}), kOrange, kYellow);
    arrow(p, QPointF(4.5, 7), QPointF(4.5, 13.5), kInk, 1.3, 3);
    box(p, QRectF(8.5, 8.5, 6, 6), kPurple);
}
void drawGrid(QPainter& p) {
    grid(p, QRectF(1.5, 1.5, 13, 13), 3, kBlue, 1.2);
}
void drawGrid3D(QPainter& p) {
    p.setPen(ink(1.1, kBlue));
    const QPointF a(5, 3), b(11, 3), c(15, 14), d(1, 14);
    for (int i = 0; i <= 3; ++i) {
        const qreal f = i / 3.0;
        p.drawLine(a + (b - a) * f, d + (c - d) * f);
        p.drawLine(a + (d - a) * f, b + (c - b) * f);
    }
}
void drawGridSmaller(QPainter& p) {
    grid(p, QRectF(1.5, 1.5, 10, 10), 4, kBlue, 0.9);
    minusBadge(p, QPointF(12, 12.5));
}
void drawGridBigger(QPainter& p) {
    grid(p, QRectF(1.5, 1.5, 10, 10), 2, kBlue, 1.2);
    plusBadge(p, QPointF(12, 12));
}
void drawLoadWindowState(QPainter& p) {
    window(p, QRectF(1.5, 1.5, 13, 11));
    arrow(p, QPointF(8, 4), QPointF(8, 15), kGreen, 1.8, 4);
}
void drawSaveWindowState(QPainter& p) {
    window(p, QRectF(1.5, 1.5, 13, 11));
    floppy(p, QRectF(7.5, 7.5, 8, 8));
}
void drawInfo(QPainter& p) {
    p.setPen(ink(1));
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    line(p, QPointF(8, 7), QPointF(8, 12), Qt::white, 2);
    line(p, QPointF(8, 4.3), QPointF(8, 4.4), Qt::white, 2.2);
}
void drawEntityReport(QPainter& p) {
    page(p, QRectF(2.5, 0.5, 11, 15));
    for (int i = 0; i < 3; ++i) {
        box(p, QRectF(4, 4 + i * 3.5, 2, 2), i == 1 ? kPurple : kGreen, 0.6);
        line(p, QPointF(7.5, 5 + i * 3.5), QPointF(11.5, 5 + i * 3.5), kGrey, 1);
    }
}
void drawViewXY(QPainter& p) {
    axes(p, kRed, kGreen);
}
void drawViewYZ(QPainter& p) {
    axes(p, kGreen, kBlue);
}
void drawViewXZ(QPainter& p) {
    axes(p, kRed, kBlue);
}
void drawView3DWire(QPainter& p) {
    viewCube(p, 0);
}
void drawView3DFlat(QPainter& p) {
    viewCube(p, 1);
}
void drawView3DTextured(QPainter& p) {
    viewCube(p, 2);
}
void drawView3DShaded(QPainter& p) {
    viewCube(p, 3);
}
void drawSpecialTextures(QPainter& p) {
    checker(p, QRectF(1.5, 1.5, 9, 9), 3, kGrey, Qt::white);
    box(p, QRectF(5.5, 5.5, 9, 9), QColor(80, 140, 230, 120));
}
void drawEntitiesTranslucent(QPainter& p) {
    checker(p, QRectF(1.5, 1.5, 9, 9), 3, kGrey, Qt::white);
    box(p, QRectF(5.5, 5.5, 9, 9), QColor(150, 70, 180, 130));
    plusBadge(p, QPointF(10, 10), kPurple);
}
void drawConnections(QPainter& p) {
    arrow(p, QPointF(5, 11), QPointF(11.5, 4.5), kOrange, 1.4, 3.5);
    box(p, QRectF(1.5, 9.5, 5, 5), kPurple);
    box(p, QRectF(10.5, 1.5, 4, 4), kGreen);
}
void drawModels2D(QPainter& p) {
    grid(p, QRectF(0.5, 0.5, 15, 15), 3, QColor(190, 190, 200), 0.8);
    // A standing figure: the model.
    p.setPen(ink(1));
    p.setBrush(kOrange);
    p.drawEllipse(QPointF(8, 3.8), 2.2, 2.2);
    QPainterPath body;
    body.addRoundedRect(QRectF(5, 6.5, 6, 5), 1.5, 1.5);
    shape(p, body, kOrange);
    line(p, QPointF(6.5, 11.5), QPointF(6, 15), kInk, 1.5);
    line(p, QPointF(9.5, 11.5), QPointF(10, 15), kInk, 1.5);
}
void drawSky(QPainter& p) {
    box(p, QRectF(0.5, 1.5, 15, 13), QColor(110, 170, 235));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const QPointF& c : {QPointF(5, 9), QPointF(8, 7), QPointF(11, 9), QPointF(8, 10)})
        p.drawEllipse(c, 3, 2.4);
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(12, 4.5), 2, 2);
}
void drawAnimations(QPainter& p) {
    box(p, QRectF(1.5, 2.5, 13, 11), kInk);
    for (qreal x = 3; x < 14; x += 3) {
        p.fillRect(QRectF(x, 3.3, 1.5, 1.3), Qt::white);
        p.fillRect(QRectF(x, 11.4, 1.5, 1.3), Qt::white);
    }
    p.fillRect(QRectF(2.5, 5.5, 5, 5), kSky);
    p.fillRect(QRectF(8.5, 5.5, 5, 5), kYellow);
}
void drawNodraw(QPainter& p) {
    box(p, QRectF(1.5, 2.5, 13, 11), QColor(240, 220, 160));
    p.setPen(ink(1.6, kRed));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8, 8), 4, 4);
    p.drawLine(QPointF(5.2, 10.8), QPointF(10.8, 5.2));
}
void drawHint(QPainter& p) {
    box(p, QRectF(1.5, 2.5, 13, 11), QColor(250, 210, 240));
    letter(p, 'H', 6, 5, kPurple, 1.6);
}
void drawClipFaces(QPainter& p) {
    hatch(p, QRectF(1.5, 2.5, 13, 11), QColor(240, 200, 240), kPurple);
}
void drawTriggerFaces(QPainter& p) {
    hatch(p, QRectF(1.5, 2.5, 13, 11), QColor(255, 225, 180), kOrange);
    QPainterPath bolt;
    bolt.addPolygon(QPolygonF({QPointF(9, 1), QPointF(4.5, 9), QPointF(8, 9), QPointF(6.5, 15),
                               QPointF(12, 6.5), QPointF(8.5, 6.5), QPointF(10.5, 1)}));
    bolt.closeSubpath();
    shape(p, bolt, kYellow, 0.9);
}
void drawUVGrid(QPainter& p) {
    checker(p, QRectF(1.5, 1.5, 13, 13), 2, QColor(235, 190, 110), Qt::white);
    letter(p, 'U', 3, 4.5, kRed, 1.3);
    letter(p, 'V', 9, 4.5, kGreen, 1.3);
}
void drawHideSelected(QPainter& p) {
    box(p, QRectF(5.5, 6.5, 9, 8), QColor(230, 80, 80));
    eye(p, QPointF(6.5, 5.5), 12);
    slash(p);
}
void drawHideUnselected(QPainter& p) {
    box(p, QRectF(5.5, 6.5, 9, 8), kGrey);
    eye(p, QPointF(6.5, 5.5), 12);
    slash(p);
}
void drawShowHidden(QPainter& p) {
    eye(p, QPointF(8, 8), 15);
}
void drawCarve(QPainter& p) {
    QPainterPath block;
    block.addRect(QRectF(1.5, 3.5, 13, 10));
    QPainterPath bite;
    bite.addEllipse(QPointF(10, 3.5), 4.5, 4.5);
    shape(p, block.subtracted(bite), QColor(175, 175, 180));
    QPen dash = ink(1, kRed);
    dash.setDashPattern({1.5, 1.2});
    p.setPen(dash);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(10, 3.5), 4.5, 4.5);
}
void drawMerge(QPainter& p) {
    box(p, QRectF(1.5, 5.5, 7, 8), kSky);
    box(p, QRectF(8.5, 2.5, 6, 11), kSky);
    p.fillRect(QRectF(8, 6, 1, 7), kSky);
    arrow(p, QPointF(2, 2.5), QPointF(7, 2.5), kGreen, 1.4, 3);
}
void drawHollow(QPainter& p) {
    QPainterPath walls;
    walls.addRect(QRectF(1.5, 1.5, 13, 13));
    walls.addRect(QRectF(4.5, 4.5, 7, 7));
    walls.setFillRule(Qt::OddEvenFill);
    shape(p, walls, QColor(175, 175, 180));
}
void drawGroup(QPainter& p) {
    groupShapes(p);
    dashedRect(p, QRectF(1, 1, 14, 14), kBlue);
}
void drawUngroup(QPainter& p) {
    box(p, QRectF(1.5, 1.5, 5, 5), kSky);
    p.setPen(ink(1));
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(12, 12), 3, 3);
    arrow(p, QPointF(7, 7), QPointF(3, 13.5), kRed, 1.2, 2.8);
    arrow(p, QPointF(9, 9), QPointF(13.5, 3), kRed, 1.2, 2.8);
}
void drawGroupIgnore(QPainter& p) {
    groupShapes(p);
    dashedRect(p, QRectF(1, 1, 14, 14), kBlue);
    slash(p);
}
void drawTextureLock(QPainter& p) {
    checker(p, QRectF(0.5, 0.5, 10, 10), 2, kBrown, QColor(235, 190, 110));
    padlock(p, QRectF(8, 5.5, 7, 10));
}
void drawTextureLockScale(QPainter& p) {
    checker(p, QRectF(0.5, 0.5, 10, 10), 2, kBrown, QColor(235, 190, 110));
    arrow(p, QPointF(2, 8), QPointF(8.5, 1.5), kBlue, 1.3, 3);
    padlock(p, QRectF(8, 5.5, 7, 10));
}
void drawTextureLockUV(QPainter& p) {
    letter(p, 'U', 0.8, 1.5, kRed, 1.3);
    letter(p, 'V', 5.5, 1.5, kGreen, 1.3);
    padlock(p, QRectF(8, 5.5, 7, 10));
}
void drawTextureAlignment(QPainter& p) {
    checker(p, QRectF(4.5, 4.5, 10, 10), 2, kBrown, QColor(235, 190, 110));
    line(p, QPointF(1.5, 1), QPointF(1.5, 15), kBlue, 1.6);
    line(p, QPointF(1, 1.5), QPointF(15, 1.5), kBlue, 1.6);
}
void drawTransform(QPainter& p) {
    box(p, QRectF(4.5, 4.5, 7, 7), kSky);
    arrow(p, QPointF(8, 8), QPointF(15, 8), kRed, 1.3, 3);
    arrow(p, QPointF(8, 8), QPointF(8, 1), kGreen, 1.3, 3);
    arrow(p, QPointF(8, 8), QPointF(2, 14), kBlue, 1.3, 3);
}
void drawMorphFree(QPainter& p) {
    QPolygonF poly({QPointF(2, 13), QPointF(5, 3), QPointF(14, 5), QPointF(12, 13)});
    p.setPen(ink(1));
    p.setBrush(kSky);
    p.drawPolygon(poly);
    handles(p, poly, Qt::white, 1.4);
    // An open lock: no restrictions.
    padlock(p, QRectF(9, 8, 6, 8), true);
}
void drawMergeCoplanar(QPainter& p) {
    QPolygonF left({QPointF(1.5, 5), QPointF(8, 5), QPointF(8, 14), QPointF(1.5, 14)});
    QPolygonF right({QPointF(8, 5), QPointF(14.5, 5), QPointF(14.5, 14), QPointF(8, 14)});
    p.setPen(ink(1));
    p.setBrush(kSky);
    p.drawPolygon(left);
    p.drawPolygon(right);
    QPen dash = ink(1.2, kRed);
    dash.setDashPattern({1.2, 1.2});
    p.setPen(dash);
    p.drawLine(QPointF(8, 5), QPointF(8, 14));
    arrow(p, QPointF(3, 2), QPointF(7, 2), kGreen, 1.2, 2.5);
    arrow(p, QPointF(13, 2), QPointF(9, 2), kGreen, 1.2, 2.5);
}
void drawAlignLeft(QPainter& p) {
    alignTo(p, 0);
}
void drawAlignTop(QPainter& p) {
    alignTo(p, 1);
}
void drawAlignRight(QPainter& p) {
    alignTo(p, 2);
}
void drawAlignBottom(QPainter& p) {
    alignTo(p, 3);
}
void drawFlipH(QPainter& p) {
    flip(p, false);
}
void drawFlipV(QPainter& p) {
    flip(p, true);
}
void drawRotateAnticlockwise(QPainter& p) {
    rotateBox(p, false);
}
void drawRotateClockwise(QPainter& p) {
    rotateBox(p, true);
}
void drawCordon(QPainter& p) {
    p.fillRect(QRectF(0.5, 0.5, 15, 15), QColor(60, 60, 70));
    p.fillRect(QRectF(3.5, 3.5, 9, 9), QColor(200, 220, 240));
    dashedRect(p, QRectF(3.5, 3.5, 9, 9), kYellow, 1.5);
}
void drawCordonBounds(QPainter& p) {
    dashedRect(p, QRectF(3, 3, 10, 10), kOrange, 1.5);
    handles(p, QPolygonF({QPointF(3, 3), QPointF(13, 3), QPointF(3, 13), QPointF(13, 13)}), kYellow, 1.8);
    arrow(p, QPointF(9, 9), QPointF(15.5, 15.5), kInk, 1.1, 2.8);
}
void drawOptions(QPainter& p) {
    p.save();
    p.translate(8, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 100, 115));
    for (int i = 0; i < 8; ++i) {
        p.drawRect(QRectF(-1.5, -7.5, 3, 4));
        p.rotate(45);
    }
    p.drawEllipse(QPointF(0, 0), 5, 5);
    p.setBrush(QColor(235, 235, 240));
    p.drawEllipse(QPointF(0, 0), 2, 2);
    p.restore();
}
void drawNoCurveSelect(QPainter& p) {
    QPainterPath curve;
    curve.moveTo(1.5, 13);
    curve.cubicTo(4, 1, 12, 1, 14.5, 13);
    p.setPen(ink(2.2, kBlue));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    pointer(p, 6, 5, 0.65);
    slash(p);
}
void drawNewWindow(QPainter& p) {
    window(p, QRectF(0.5, 1.5, 12, 10));
    plusBadge(p, QPointF(12, 12));
}
void drawCascade(QPainter& p) {
    window(p, QRectF(0.5, 0.5, 9, 8));
    window(p, QRectF(3.5, 3.5, 9, 8));
    window(p, QRectF(6.5, 6.5, 9, 8));
}
void drawTile(QPainter& p) {
    window(p, QRectF(0.5, 0.5, 7, 7));
    window(p, QRectF(8.5, 0.5, 7, 7));
    window(p, QRectF(0.5, 8.5, 7, 7));
    window(p, QRectF(8.5, 8.5, 7, 7));
}
void drawNextWindow(QPainter& p) {
    window(p, QRectF(0.5, 1.5, 11, 10));
    arrow(p, QPointF(6, 12.5), QPointF(15.5, 12.5), kGreen, 1.8, 4);
}
void drawPreviousWindow(QPainter& p) {
    window(p, QRectF(4.5, 1.5, 11, 10));
    arrow(p, QPointF(10, 12.5), QPointF(0.5, 12.5), kGreen, 1.8, 4);
}
void drawConsole(QPainter& p) {
    terminal(p);
}
void drawExportMessages(QPainter& p) {
    terminal(p);
    floppy(p, QRectF(8.5, 8.5, 7, 7));
}
void drawHelp(QPainter& p) {
    p.setPen(ink(1));
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    QPainterPath mark;
    mark.moveTo(5.7, 6.2);
    mark.cubicTo(5.7, 3.2, 10.3, 3.2, 10.3, 6.2);
    mark.cubicTo(10.3, 8, 8, 8, 8, 10);
    p.setPen(ink(1.8, Qt::white));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    line(p, QPointF(8, 12.3), QPointF(8, 12.4), Qt::white, 2);
}
void drawSearch(QPainter& p) {
    magnifier(p, QPointF(6.5, 6.5), 4.5);
}
void drawSearchAxes(QPainter& p) {
    line(p, QPointF(1, 14.5), QPointF(15, 14.5), kRed, 1.5);
    line(p, QPointF(1.5, 1), QPointF(1.5, 15), kGreen, 1.5);
    magnifier(p, QPointF(7, 7), 4.2);
}

// The tools bar.
void drawSelectTool(QPainter& p) {
    pointer(p, 4, 1.5, 1.05);
}
void drawMagnifyTool(QPainter& p) {
    magnifier(p, QPointF(6.5, 6.5), 5);
    line(p, QPointF(4, 6.5), QPointF(9, 6.5), kInk, 1.3);
    line(p, QPointF(6.5, 4), QPointF(6.5, 9), kInk, 1.3);
}
void drawCameraTool(QPainter& p) {
    QPainterPath body;
    body.addRoundedRect(QRectF(1, 5.5, 10, 7.5), 1.5, 1.5);
    shape(p, body, QColor(70, 75, 85));
    QPainterPath lens;
    lens.addPolygon(QPolygonF({QPointF(11, 8), QPointF(15, 6), QPointF(15, 12.5), QPointF(11, 10.5)}));
    lens.closeSubpath();
    shape(p, lens, QColor(70, 75, 85));
    p.setPen(ink(1));
    p.setBrush(kSky);
    p.drawEllipse(QPointF(3.5, 3), 2.3, 2.3);
    p.drawEllipse(QPointF(8.5, 3), 2.3, 2.3);
}
void drawEntityTool(QPainter& p) {
    // A point entity: its box with the origin cross, and a light bulb's glow for "thing".
    box(p, QRectF(2.5, 4.5, 10, 10), kPurple, 1.2);
    line(p, QPointF(7.5, 6.5), QPointF(7.5, 12.5), Qt::white, 1.4);
    line(p, QPointF(4.5, 9.5), QPointF(10.5, 9.5), Qt::white, 1.4);
    plusBadge(p, QPointF(12.5, 3.5));
}
void drawBlockTool(QPainter& p) {
    greyCube(p, 1.5, 5.5, 9, 4.5);
}
void drawTextureApplicationTool(QPainter& p) {
    checker(p, QRectF(1.5, 1.5, 10, 10), 3, kBrown, QColor(235, 190, 110));
    pointer(p, 8, 6, 0.75);
}
void drawApplyTextureTool(QPainter& p) {
    greyCube(p, 1.5, 6.5, 8, 4);
    checker(p, QRectF(1.5, 6.5, 8, 8), 2, kBrown, QColor(235, 190, 110));
    arrow(p, QPointF(13.5, 1), QPointF(13.5, 12), kGreen, 1.8, 4);
}
void drawDecalTool(QPainter& p) {
    box(p, QRectF(1.5, 1.5, 13, 13), QColor(200, 200, 205));
    QPolygonF splat;
    for (int i = 0; i < 16; ++i) {
        const qreal r = i % 2 ? 3 : 5.5, a = i * M_PI / 8;
        splat << QPointF(8 + r * std::cos(a), 8 + r * std::sin(a));
    }
    p.setPen(ink(0.9));
    p.setBrush(kRed);
    p.drawPolygon(splat);
}
void drawClipTool(QPainter& p) {
    greyCube(p, 1.5, 7.5, 7, 3.5);
    QPen cut = ink(1.5, kRed);
    cut.setDashPattern({2, 1.2});
    p.setPen(cut);
    p.drawLine(QPointF(0.5, 15.5), QPointF(12, 4));
    scissors(p, QPointF(8, 0.3), 0.68);
}
void drawVertexTool(QPainter& p) {
    QPolygonF poly({QPointF(2, 13.5), QPointF(4, 3), QPointF(13.5, 2), QPointF(13, 13)});
    p.setPen(ink(1.2, kBlue));
    p.setBrush(QColor(200, 225, 250));
    p.drawPolygon(poly);
    handles(p, poly, Qt::white, 1.7);
    handles(p, QPolygonF({poly[2]}), kRed, 2);
}
void drawPathTool(QPainter& p) {
    QPainterPath curve;
    curve.moveTo(2, 13);
    curve.cubicTo(3, 4, 9, 13, 14, 3);
    p.setPen(ink(1.6, kOrange));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    p.setPen(ink(1));
    p.setBrush(kYellow);
    for (const QPointF& c : {QPointF(2, 13), QPointF(7.8, 8.6), QPointF(14, 3)})
        p.drawEllipse(c, 2.2, 2.2);
}

const CommandIcon kIcons[] = {
    {"ab", drawAlignBottom},
    {"addnode", drawAddNodes},
    {"al", drawAlignLeft},
    {"anim", drawAnimations},
    {"ar", drawAlignRight},
    {"at", drawAlignTop},
    {"carve", drawCarve},
    {"cascade", drawCascade},
    {"clip", drawClipFaces},
    {"cog", drawOptions},
    {"conn", drawConnections},
    {"consave", drawExportMessages},
    {"console", drawConsole},
    {"copy", drawCopy},
    {"cordon", drawCordon},
    {"cordonb", drawCordonBounds},
    {"cut", drawCut},
    {"del", drawDelete},
    {"delnode", drawDeleteNodes},
    {"editpath", drawEditPath},
    {"fh", drawFlipH},
    {"fv", drawFlipV},
    {"grid", drawGrid},
    {"grid3d", drawGrid3D},
    {"gridm", drawGridSmaller},
    {"gridp", drawGridBigger},
    {"griduv", drawUVGrid},
    {"group", drawGroup},
    {"help", drawHelp},
    {"hidesel", drawHideSelected},
    {"hideunsel", drawHideUnselected},
    {"hint", drawHint},
    {"hollow", drawHollow},
    {"ig", drawGroupIgnore},
    {"info", drawInfo},
    {"lws", drawLoadWindowState},
    {"merge", drawMerge},
    {"mod2d", drawModels2D},
    {"new", drawNew},
    {"neww", drawNewWindow},
    {"nextw", drawNextWindow},
    {"nodraw", drawNodraw},
    {"open", drawOpen},
    {"paste", drawPaste},
    {"path", drawMergePaths},
    {"pathent", drawPathToEntities},
    {"prevw", drawPreviousWindow},
    {"redo", drawRedo},
    {"report", drawEntityReport},
    {"rev", drawReversePath},
    {"rota", drawRotateAnticlockwise},
    {"rotc", drawRotateClockwise},
    {"run", drawRun},
    {"save", drawSave},
    {"save2", drawSaveAs},
    {"save3", drawSaveIncremental},
    {"savemap", drawExportAgain},
    {"search", drawSearch},
    {"search2", drawSearchAxes},
    {"sela", drawAutoSelect2D},
    {"selh", drawSelectByHandles},
    {"selmm", drawAutoSelect3D},
    {"selnc", drawNoCurveSelect},
    {"show", drawShowHidden},
    {"sky", drawSky},
    {"sl", drawTextureLockScale},
    {"splitpath", drawSplitPath},
    {"sws", drawSaveWindowState},
    {"ta", drawTextureAlignment},
    {"table", drawProperties},
    {"table3", drawMapProperties},
    {"threed1", drawView3DWire},
    {"threed2", drawView3DFlat},
    {"threed3", drawView3DTextured},
    {"threed4", drawView3DShaded},
    {"tile", drawTile},
    {"tl", drawTextureLock},
    {"tool1", drawSelectTool},
    {"tool10", drawVertexTool},
    {"tool11", drawPathTool},
    {"tool2", drawMagnifyTool},
    {"tool3", drawCameraTool},
    {"tool4", drawEntityTool},
    {"tool5", drawBlockTool},
    {"tool6", drawTextureApplicationTool},
    {"tool7", drawApplyTextureTool},
    {"tool8", drawDecalTool},
    {"tool9", drawClipTool},
    {"trans", drawSpecialTextures},
    {"trans2", drawEntitiesTranslucent},
    {"transf", drawTransform},
    {"trig", drawTriggerFaces},
    {"undo", drawUndo},
    {"ungroup", drawUngroup},
    {"uvl", drawTextureLockUV},
    {"vertexcm", drawMergeCoplanar},
    {"vertexres", drawMorphFree},
    {"xy", drawViewXY},
    {"xz", drawViewXZ},
    {"yz", drawViewYZ},
};

} // namespace

std::span<const CommandIcon> Art_CommandIcons() {
    return kIcons;
}
