// The command and tool icons. Each drawing says what its command does (a block for the block tool,
// scissors for the clipper, an eye for the display switches) in a few strong shapes that still read
// at 16 pixels; colours only help to tell related commands apart.
#include "CommandIcons.h"

#include "CommandIconShapes.h"

#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace {

using namespace art;

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
