// The small tool window shown while a game configuration is precached: an animated drum, a bold
// title and the current status line, centred over the main window.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <memory>

#include "core/WaitScope.h"

namespace Ui {
class cWaitDialog;
}

class cWaitDialog : public QDialog, public cWaitWindow {
    Q_OBJECT
public:
    explicit cWaitDialog(const QString& title);
    ~cWaitDialog() override;

    void setStatus(const QString& text) override;

    std::unique_ptr<Ui::cWaitDialog> form;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Since the status line was last painted at once.
    QElapsedTimer m_sincePaint;
};

// The wait dialog shown now, else null.
extern cWaitDialog* g_currentWaitDialog;

// The main window's wait-window factory: creates, shows and paints a wait dialog; null without
// widgets.
std::unique_ptr<cWaitWindow> App_OpenWaitDialog(const QString& title);
