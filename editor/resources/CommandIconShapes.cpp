#include "CommandIconShapes.h"

#include <cmath>

namespace art {

QPen ink(qreal width, const QColor& colour) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void shape(QPainter& p, const QPainterPath& path, const QColor& fill, qreal width) {
    p.setPen(ink(width));
    p.setBrush(fill);
    p.drawPath(path);
}

void box(QPainter& p, const QRectF& r, const QColor& fill, qreal width) {
    QPainterPath path;
    path.addRect(r);
    shape(p, path, fill, width);
}

void line(QPainter& p, QPointF a, QPointF b, const QColor& colour, qreal width) {
    p.setPen(ink(width, colour));
    p.drawLine(a, b);
}

// A straight arrow ending in a filled head at b.
void arrow(QPainter& p, QPointF a, QPointF b, const QColor& colour, qreal width, qreal head) {
    const QPointF d = b - a;
    const qreal length = std::hypot(d.x(), d.y());
    const QPointF u = d / length, n(-u.y(), u.x());
    line(p, a, b - u * head * 0.6, colour, width);
    p.setPen(ink(0.8, colour));
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({b, b - u * head + n * head * 0.6, b - u * head - n * head * 0.6}));
}

// An arc about c from angle a0 turning by span degrees (positive: anticlockwise), with a head at its end.
void turnArrow(QPainter& p, QPointF c, qreal r, qreal a0, qreal span, const QColor& colour, qreal width) {
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

void plusBadge(QPainter& p, QPointF c, const QColor& colour) {
    p.setPen(ink(2.4, Qt::white));
    p.drawLine(c - QPointF(3, 0), c + QPointF(3, 0));
    p.drawLine(c - QPointF(0, 3), c + QPointF(0, 3));
    line(p, c - QPointF(2.8, 0), c + QPointF(2.8, 0), colour, 1.6);
    line(p, c - QPointF(0, 2.8), c + QPointF(0, 2.8), colour, 1.6);
}

void minusBadge(QPainter& p, QPointF c, const QColor& colour) {
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

void page(QPainter& p, const QRectF& r) {
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

void floppy(QPainter& p, const QRectF& r) {
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

void grid(QPainter& p, const QRectF& r, int cells, const QColor& colour, qreal width) {
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

void greyCube(QPainter& p, qreal x, qreal y, qreal s, qreal d) {
    cube(p, x, y, s, d, QColor(175, 175, 180), QColor(220, 220, 225), QColor(120, 120, 128));
}

void eye(QPainter& p, QPointF c, qreal w) {
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
void padlock(QPainter& p, const QRectF& r, bool open) {
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
void window(QPainter& p, const QRectF& r, const QColor& bar) {
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
void letter(QPainter& p, char c, qreal x, qreal y, const QColor& colour, qreal width) {
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
void pointer(QPainter& p, qreal x, qreal y, qreal scale) {
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

void handles(QPainter& p, const QPolygonF& corners, const QColor& fill, qreal half) {
    p.setPen(ink(0.9));
    p.setBrush(fill);
    for (const QPointF& c : corners)
        p.drawRect(QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half));
}

void dashedRect(QPainter& p, const QRectF& r, const QColor& colour, qreal width) {
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

} // namespace art
