// Real mouse clicks on a dialog's controls, the way a user gives them.
#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QRadioButton>
#include <QWidget>
#include <gtest/gtest.h>

// The control of that object name under the parent; a missing one fails the test.
template <class W> W* Widget_Find(QWidget* parent, const char* name) {
    W* w = parent->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

inline void Widget_ClickAt(QWidget* w, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

// A left click in the middle of the control, or on the mark of a check box or radio button (wide
// ones take clicks on their mark and text only). A box answered as soon as it is modal may not be
// laid out yet, and a press on a button of no size is no click: wait (bounded) for its size first.
inline void Widget_Click(QWidget* w) {
    QElapsedTimer shown;
    shown.start();
    while ((!w->isVisible() || w->rect().isEmpty()) && shown.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    const bool marked = qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w);
    Widget_ClickAt(w, marked ? QPoint(8, w->height() / 2) : w->rect().center());
}
