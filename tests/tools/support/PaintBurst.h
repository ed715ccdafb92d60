// Checks for widgets that show log lines: a burst of lines is painted together, not once a line
// (a window paint costs milliseconds), and the last line still reaches the screen afterwards.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTextCursor>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

// Counts the paint events of the widget it watches.
class cPaintCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++count;
        return QObject::eventFilter(watched, e);
    }
};

// Prints 200 lines into the shown pane (a QTextEdit or QPlainTextEdit) through print(i), then lets
// the events run until the pane paints again (at most half a second).
template <class Pane>
void Paint_ExpectBurstPaintedTogether(Pane* pane, const std::function<void(int)>& print) {
    // A burst starts on a pane at rest: its window mapped by the display server (which answers a
    // show later) and no hold left from lines printed before (while the window was made).
    QElapsedTimer settling;
    settling.start();
    auto atRest = [&] {
        const QWindow* window = pane->window()->windowHandle();
        return window && window->isExposed() && pane->updatesEnabled();
    };
    while (!atRest() && settling.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(atRest()) << "the pane's window is not on screen or its painting stays held";
    cPaintCounter paints;
    pane->viewport()->installEventFilter(&paints);
    QElapsedTimer clock;
    clock.start();
    const int lines = 200;
    print(0);
    EXPECT_GE(paints.count, 1) << "the first line of a burst shows at once";
    for (int i = 1; i < lines; ++i)
        print(i);
    // At most one paint at the start and one for each hold that ended during the burst.
    EXPECT_LE(paints.count, 2 + int(clock.elapsed() / 100)) << "in " << clock.elapsed() << " ms";

    const int during = paints.count;
    for (int i = 0; i < 50 && paints.count == during; ++i) {
        QThread::msleep(10);
        QCoreApplication::processEvents();
    }
    EXPECT_GT(paints.count, during);
    EXPECT_TRUE(pane->updatesEnabled());
    QTextCursor end(pane->document());
    end.movePosition(QTextCursor::End);
    EXPECT_TRUE(pane->viewport()->rect().contains(pane->cursorRect(end)))
        << "the last line is scrolled into view";
    pane->viewport()->removeEventFilter(&paints);
}
