// The effect editor's tool-bar icons, drawn like the command icons: the preview's shapes and display
// switches, and the script's file, check and editing commands.
#include "CommandIcons.h"

#include "CommandIconShapes.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>

namespace {

using namespace art;

const QColor kShapeLight(200, 225, 250);

// A small landscape picture: the image an effect is made from.
void picture(QPainter& p, const QRectF& r) {
    box(p, r, QColor(150, 200, 245));
    QPainterPath hill;
    hill.moveTo(r.left() + 0.5, r.bottom() - 0.5);
    hill.lineTo(r.left() + r.width() * 0.4, r.top() + r.height() * 0.45);
    hill.lineTo(r.left() + r.width() * 0.65, r.top() + r.height() * 0.7);
    hill.lineTo(r.left() + r.width() * 0.8, r.top() + r.height() * 0.55);
    hill.lineTo(r.right() - 0.5, r.bottom() - 0.5);
    hill.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawPath(hill);
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(r.right() - r.width() * 0.25, r.top() + r.height() * 0.28), r.width() * 0.1,
                  r.width() * 0.1);
}

// Lines of script text, each starting at its indent (in units) and as long as given.
void textLines(QPainter& p, qreal top, std::initializer_list<QPointF> indentAndLength,
               const QColor& colour = kInk) {
    qreal y = top;
    for (const QPointF& l : indentAndLength) {
        line(p, QPointF(l.x(), y), QPointF(l.x() + l.y(), y), colour, 1.3);
        y += 3;
    }
}

void drawPlane(QPainter& p) {
    const QPolygonF plane({QPointF(4.5, 4.5), QPointF(15, 4.5), QPointF(11.5, 12.5), QPointF(1, 12.5)});
    p.setPen(ink(1));
    p.setBrush(kShapeLight);
    p.drawPolygon(plane);
    p.setPen(ink(0.7, kBlue));
    p.drawLine(QPointF(9.75, 4.5), QPointF(6.25, 12.5));
    p.drawLine(QPointF(2.75, 8.5), QPointF(13.25, 8.5));
}
void drawBox(QPainter& p) {
    cube(p, 2, 5.5, 9, 4, QColor(120, 170, 230), QColor(200, 225, 250), QColor(60, 110, 185));
}
void drawCylinder(QPainter& p) {
    QLinearGradient shade(2.5, 0, 13.5, 0);
    shade.setColorAt(0, kShapeLight);
    shade.setColorAt(1, kBlue);
    QPainterPath body;
    body.moveTo(2.5, 3.5);
    body.lineTo(2.5, 12.5);
    body.arcTo(QRectF(2.5, 10.5, 11, 4), 180, 180);
    body.lineTo(13.5, 3.5);
    body.closeSubpath();
    p.setPen(ink(1));
    p.setBrush(shade);
    p.drawPath(body);
    p.setBrush(kShapeLight);
    p.drawEllipse(QRectF(2.5, 1.5, 11, 4));
}
void drawSphere(QPainter& p) {
    QRadialGradient shade(QPointF(6, 5.5), 8.5);
    shade.setColorAt(0, Qt::white);
    shade.setColorAt(0.35, kShapeLight);
    shade.setColorAt(1, kBlue);
    p.setPen(ink(1));
    p.setBrush(shade);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
}
void drawTeapot(QPainter& p) {
    p.setPen(ink(1.4));
    p.setBrush(Qt::NoBrush);
    // The handle, then the spout, behind the body.
    p.drawArc(QRectF(11, 6, 4.2, 5.5), -90 * 16, 180 * 16);
    QPainterPath spout;
    spout.moveTo(4, 11);
    spout.quadTo(1.5, 10.5, 0.8, 6.5);
    p.drawPath(spout);
    QRadialGradient shade(QPointF(6, 7.5), 7);
    shade.setColorAt(0, kShapeLight);
    shade.setColorAt(1, kBlue);
    p.setPen(ink(1));
    p.setBrush(shade);
    p.drawEllipse(QRectF(3, 5.5, 9.5, 8.5));
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(5.5, 3.5, 4.5, 2.5));
    p.drawEllipse(QPointF(7.75, 2.8), 0.9, 0.9);
    line(p, QPointF(3.5, 14), QPointF(12, 14), kInk, 1);
}
void drawWireframe(QPainter& p) {
    p.setPen(ink(1, kBlue));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i <= 3; ++i) {
        const qreal t = 1.5 + i * 13.0 / 3;
        p.drawLine(QPointF(t, 1.5), QPointF(t, 14.5));
        p.drawLine(QPointF(1.5, t), QPointF(14.5, t));
    }
    p.setPen(ink(0.8, kInk));
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k) {
            const qreal x = 1.5 + i * 13.0 / 3, y = 1.5 + k * 13.0 / 3;
            p.drawLine(QPointF(x, y + 13.0 / 3), QPointF(x + 13.0 / 3, y));
        }
}
void drawNormals(QPainter& p) {
    // A curved surface with a normal standing on it at three points.
    QPainterPath surface;
    surface.moveTo(1, 14);
    surface.quadTo(8, 7, 15, 14);
    p.setPen(ink(1.6, kInk));
    p.setBrush(Qt::NoBrush);
    p.drawPath(surface);
    arrow(p, QPointF(4, 12), QPointF(1.5, 5), kRed, 1.3, 3);
    arrow(p, QPointF(8, 10.5), QPointF(8, 2), kRed, 1.3, 3);
    arrow(p, QPointF(12, 12), QPointF(14.5, 5), kRed, 1.3, 3);
}
void drawAutoRotation(QPainter& p) {
    drawSphere(p);
    turnArrow(p, QPointF(8, 8), 6.2, 200, -230, kGreen, 1.8);
}
void drawNewFromImage(QPainter& p) {
    picture(p, QRectF(1.5, 4.5, 11, 10));
    plusBadge(p, QPointF(12.5, 3.5));
}
void drawScriptFromImage(QPainter& p) {
    folder(p, false);
    picture(p, QRectF(6.5, 7.5, 9, 8));
}
void drawSaveToNewFile(QPainter& p) {
    floppy(p, QRectF(0.5, 0.5, 12, 12));
    plusBadge(p, QPointF(12.5, 12.5));
}
void drawCheckScript(QPainter& p) {
    page(p, QRectF(1.5, 0.5, 11, 14));
    textLines(p, 4, {QPointF(3.5, 5), QPointF(5.5, 4), QPointF(3.5, 6)}, kGrey);
    p.setPen(ink(3.2, Qt::white));
    p.setBrush(Qt::NoBrush);
    const QPolygonF tick({QPointF(6, 10.5), QPointF(9, 13.5), QPointF(15, 6.5)});
    p.drawPolyline(tick);
    p.setPen(ink(2, kGreen));
    p.drawPolyline(tick);
}
void drawBuildScript(QPainter& p) {
    // A hammer: the script built into the effect.
    line(p, QPointF(2, 14.5), QPointF(9.5, 7), kInk, 3.2);
    line(p, QPointF(2.3, 14.2), QPointF(9.5, 7), kBrown, 1.8);
    p.save();
    p.translate(10.5, 5.5);
    p.rotate(45);
    box(p, QRectF(-5.5, -2, 10, 4), kGrey);
    p.restore();
}
void drawAutoIndent(QPainter& p) {
    textLines(p, 2.5, {QPointF(1.5, 9), QPointF(7, 7.5), QPointF(7, 6), QPointF(7, 7.5), QPointF(1.5, 4)});
    arrow(p, QPointF(1.5, 8.5), QPointF(5.8, 8.5), kBlue, 1.5, 3.2);
}
void drawAutoComplete(QPainter& p) {
    line(p, QPointF(1, 3), QPointF(6, 3), kInk, 1.3);
    line(p, QPointF(7, 1), QPointF(7, 5), kInk, 0.9); // the text cursor
    box(p, QRectF(4.5, 6.5, 10.5, 8.5), kPaper);
    p.fillRect(QRectF(5, 9.2, 9.5, 2.6), kSky);
    for (qreal y = 8; y < 15; y += 2.8)
        line(p, QPointF(6.5, y + 0.5), QPointF(12.5, y + 0.5), kBlue, 1.1);
}
void drawReformat(QPainter& p) {
    textLines(p, 2.5, {QPointF(1.5, 8), QPointF(4.5, 8), QPointF(4.5, 6), QPointF(1.5, 3)});
    // A brush tidying the lines.
    p.save();
    p.translate(12.5, 11);
    p.rotate(-35);
    box(p, QRectF(-1.2, -6, 2.4, 6), kBrown, 0.8);
    box(p, QRectF(-2.2, 0, 4.4, 4.5), kYellow, 0.9);
    p.restore();
}

const CommandIcon kIcons[] = {
    {"autocomp", drawAutoComplete}, {"build", drawBuildScript},      {"compile", drawCheckScript},
    {"fmt", drawReformat},          {"indent", drawAutoIndent},      {"newi", drawNewFromImage},
    {"openi", drawScriptFromImage}, {"save_new", drawSaveToNewFile}, {"sp_ar", drawAutoRotation},
    {"sp_cube", drawBox},           {"sp_cyl", drawCylinder},        {"sp_n", drawNormals},
    {"sp_plane", drawPlane},        {"sp_sph", drawSphere},          {"sp_teap", drawTeapot},
    {"sp_tris", drawWireframe},
};

} // namespace

std::span<const CommandIcon> Art_EffectEditorIcons() {
    return kIcons;
}
