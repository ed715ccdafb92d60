#include "views/PaintHold.h"

#include <QWidget>

cPaintHold::cPaintHold(QWidget* widget, int intervalMs) : QObject(widget), m_widget(widget) {
    m_hold.setSingleShot(true);
    m_hold.setInterval(intervalMs);
    // Turning painting back on asks for one paint of everything changed meanwhile.
    connect(&m_hold, &QTimer::timeout, this, [this] { m_widget->setUpdatesEnabled(true); });
}

bool cPaintHold::open() {
    if (m_hold.isActive()) {
        m_widget->setUpdatesEnabled(false);
        return false;
    }
    m_hold.start();
    return true;
}
