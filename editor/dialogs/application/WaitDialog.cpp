// The wait dialog keeps the global pointer for its lifetime.
#include "dialogs/application/WaitDialog.h"

cWaitDialog* g_waitDialog = nullptr;

cWaitDialog::cWaitDialog(const QString& text) : text(text) {
    g_waitDialog = this;
}

cWaitDialog::~cWaitDialog() {
    if (g_waitDialog == this) g_waitDialog = nullptr;
}
