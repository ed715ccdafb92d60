// Painting of a widget that takes many small changes in bursts (log lines): a paint can cost
// milliseconds, far more than a line, so the first change of a burst is painted at once and the
// changes of the following moment together when that hold ends.
#pragma once

#include <QObject>
#include <QTimer>

class QWidget;

class cPaintHold final : public QObject {
public:
    // Lives as a child of the widget it holds.
    explicit cPaintHold(QWidget* widget, int intervalMs = 100);

    // Call before each change. Returns true when the change opens a burst: painting stays on and
    // the caller may paint at once. Otherwise painting is off until the hold ends.
    bool open();

private:
    QWidget* m_widget;
    QTimer m_hold;
};
