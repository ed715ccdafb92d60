#include "views/DialogParent.h"

#include <QApplication>
#include <QWidget>

QWidget* App_DialogParent(QWidget* w) {
    if (!w) return w;
    const QPoint middle = w->mapToGlobal(w->rect().center());
    QWidget* top = QApplication::topLevelAt(middle);
    if (top && top->isVisible() && (top->windowFlags() & Qt::WindowStaysOnTopHint)) return top;
    return w;
}
