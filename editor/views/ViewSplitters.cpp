#include "views/ViewSplitters.h"

#include <QMouseEvent>

void QCrossSplitter::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    grabX = (width() + 1) / 2 - p.x();
    grabY = (height() + 1) / 2 - p.y();
}

void QCrossSplitter::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint() + QPoint(grabX, grabY);
    const QPoint inParent = parentWidget() ? mapToParent(p) : p;
    emit crossMovedX(inParent.x());
    emit crossMovedY(inParent.y());
}
