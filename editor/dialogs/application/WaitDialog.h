// The modeless wait dialog shown while a game configuration is precached. While one exists the
// verbose log lines are dropped. The window itself comes with the dialog code.
#pragma once

#include <QString>

class cWaitDialog {
public:
    explicit cWaitDialog(const QString& text);
    ~cWaitDialog();
    cWaitDialog(const cWaitDialog&) = delete;
    cWaitDialog& operator=(const cWaitDialog&) = delete;

    QString text;
};

// The wait dialog while one exists, else null.
extern cWaitDialog* g_waitDialog;
