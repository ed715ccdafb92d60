// The status bar's seven labels, the snap and grid text, and the View menu's toggles kept in step
// with the docks, tool bars and status bar.
#include <QDockWidget>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

#include "mainwindow/MainWindow.h"
#include "dialogs/application/QCustomAction.h"

void cMainWindow::createStatusBar() {
    // Label 1 is written by others; 2 selection, 3 mouse position, 4 tool, 5 zoom, 6 snap and grid.
    static const int kMinimumWidths[7] = {0, 220, 200, 120, 190, 120, 120};
    for (int i = 0; i < 7; ++i) {
        auto* label = new QLabel(this);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (kMinimumWidths[i]) label->setMinimumWidth(kMinimumWidths[i]);
        statusBar()->addPermanentWidget(label, i == 0 ? 1 : 0);
        statusLabels[i] = label;
    }
    connect(statusBar(), SIGNAL(messageChanged(QString)), this, SLOT(updateStatusBar(QString)));
}

void App_SetStatusText(cMainWindow* window, const QString& text, int n) {
    if (!window || n < 0 || n >= int(window->statusLabels.size()) || !window->statusLabels[n]) return;
    // A repaint flushes the whole window (its GL views composed again): only for a new text.
    if (window->statusLabels[n]->text() == text) return;
    window->statusLabels[n]->setText(text);
    window->statusLabels[n]->repaint();
}

void cMainWindow::updateSnapGridStatus() {
    if (!statusLabels[6]) return;
    QString status;
    if (activeChildWindow())
        status = tr("Snap: %1 Grid: %2")
                     .arg(settings.SnapToGrid ? tr("On") : tr("Off"))
                     .arg(settings.CurrentGridSize);
    statusLabels[6]->setText(status);
}

void cMainWindow::toggleDockWidget() {
    auto* action = qobject_cast<QCustomAction*>(sender());
    if (!action || action->data.isEmpty()) return;
    if (auto* dock = findChild<QDockWidget*>(action->data)) dock->setVisible(action->isChecked());
}

void cMainWindow::updateScreenElements() {
    for (QAction* entry : std::as_const(actionList)) {
        auto* action = qobject_cast<QCustomAction*>(entry);
        if (!action || !action->isCheckable()) continue;
        QWidget* widget = nullptr;
        if (action->objectName() == QLatin1String("WindowMsg"))
            widget = findChild<QDockWidget*>(QStringLiteral("console"));
        else if (action->data == QLatin1String("statusbar"))
            widget = statusBar();
        else if (action->data == QLatin1String("newobjects") || action->data == QLatin1String("textures") ||
                 action->data == QLatin1String("visgroups"))
            widget = findChild<QDockWidget*>(action->data);
        else if (!action->data.isEmpty())
            widget = findChild<QToolBar*>(action->data);
        // Shown with the window, so that it also holds before the window is first shown.
        if (widget) action->setChecked(widget->isVisibleTo(this));
    }
}
