// Shapes the command icons are drawn from, on the 16-unit square of CommandIcons.cpp: the palette,
// pens and the small pictures (pages, folders, cubes, eyes, arrows) several icons share.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

namespace art {

inline const QColor kInk(35, 35, 40);
inline const QColor kPaper(250, 250, 245);
inline const QColor kBlue(45, 100, 185);
inline const QColor kSky(165, 205, 240);
inline const QColor kRed(205, 40, 40);
inline const QColor kGreen(35, 145, 60);
inline const QColor kYellow(240, 190, 50);
inline const QColor kOrange(235, 130, 30);
inline const QColor kPurple(140, 70, 175);
inline const QColor kGrey(150, 150, 158);
inline const QColor kBrown(150, 95, 45);
QPen ink(qreal width = 1, const QColor& colour = kInk);
void shape(QPainter& p, const QPainterPath& path, const QColor& fill, qreal width = 1);
void box(QPainter& p, const QRectF& r, const QColor& fill, qreal width = 1);
void line(QPainter& p, QPointF a, QPointF b, const QColor& colour = kInk, qreal width = 1);
void arrow(QPainter& p, QPointF a, QPointF b, const QColor& colour, qreal width = 1.6, qreal head = 3.5);
void turnArrow(QPainter& p, QPointF c, qreal r, qreal a0, qreal span, const QColor& colour,
               qreal width = 1.6);
void plusBadge(QPainter& p, QPointF c, const QColor& colour = kGreen);
void minusBadge(QPainter& p, QPointF c, const QColor& colour = kRed);
void slash(QPainter& p);
void page(QPainter& p, const QRectF& r = QRectF(2.5, 1.5, 10, 13));
void floppy(QPainter& p, const QRectF& r = QRectF(1.5, 1.5, 13, 13));
void folder(QPainter& p, bool open);
void grid(QPainter& p, const QRectF& r, int cells, const QColor& colour, qreal width = 1);
void checker(QPainter& p, const QRectF& r, int cells, const QColor& a, const QColor& b);
void greyCube(QPainter& p, qreal x = 1.5, qreal y = 5.5, qreal s = 9, qreal d = 4);
void eye(QPainter& p, QPointF c, qreal w = 13);
void magnifier(QPainter& p, QPointF c, qreal r);
void scissors(QPainter& p, QPointF at, qreal scale);
void padlock(QPainter& p, const QRectF& r, bool open = false);
void window(QPainter& p, const QRectF& r, const QColor& bar = kBlue);
void nodes(QPainter& p, const QPolygonF& points, const QColor& link, const QColor& node);
// An isometric block: front square at (x, y) of size s, depth d up and to the right.
void cube(QPainter& p, qreal x, qreal y, qreal s, qreal d, const QColor& front, const QColor& top,
          const QColor& side);
inline const QPolygonF kPath({QPointF(2.5, 12.5), QPointF(6, 5), QPointF(10.5, 10), QPointF(13.5, 3.5)});
void hatch(QPainter& p, const QRectF& r, const QColor& fill, const QColor& stripes);
void letter(QPainter& p, char c, qreal x, qreal y, const QColor& colour, qreal width = 1.4);
void pointer(QPainter& p, qreal x, qreal y, qreal scale = 1);
void handles(QPainter& p, const QPolygonF& corners, const QColor& fill, qreal half = 1.6);
void dashedRect(QPainter& p, const QRectF& r, const QColor& colour, qreal width = 1.2);
void terminal(QPainter& p);
void axes(QPainter& p, const QColor& horizontal, const QColor& vertical);
void alignTo(QPainter& p, int edge);
void flip(QPainter& p, bool vertical);
void rotateBox(QPainter& p, bool clockwise);
void viewCube(QPainter& p, int mode);
void table(QPainter& p, const QColor& header);
void groupShapes(QPainter& p);

} // namespace art
