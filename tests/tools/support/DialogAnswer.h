// Answers the next modal dialog in place of the user: while an answer lives, a timer waits for a
// modal dialog, lets the test fill it in and accepts (or rejects) it. The answer dies with the
// scope, so a dialog that never opened cannot be answered by a later test. A fill may drive the
// dialog with real events, open dialogs over it (answered by answers of their own) or close it.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

class cDialogAnswer {
public:
    using Fill = std::function<void(QDialog*)>;

    explicit cDialogAnswer(Fill fill = {}, bool accept = true) : m_fill(std::move(fill)), m_accept(accept) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start();
    }
    cDialogAnswer(const cDialogAnswer&) = delete;
    cDialogAnswer& operator=(const cDialogAnswer&) = delete;

    // Whether a dialog was answered.
    bool answered = false;

private:
    void answer() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        m_timer.stop();
        answered = true;
        if (m_fill) m_fill(dialog);
        // A fill that closed the dialog itself (a double-click that chooses) decided already.
        if (!dialog->isVisible()) return;
        if (m_accept)
            dialog->accept();
        else
            dialog->reject();
    }

    QTimer m_timer;
    Fill m_fill;
    bool m_accept;
};
