#include "core/WaitScope.h"

cWaitScope* g_waitScope = nullptr;

namespace {
WaitWindowFactory s_factory = nullptr;
} // namespace

void Wait_SetWindowFactory(WaitWindowFactory factory) {
    s_factory = factory;
}

cWaitScope::cWaitScope(const QString& title) : text(title) {
    g_waitScope = this;
    if (s_factory) m_window = s_factory(title);
}

cWaitScope::~cWaitScope() {
    if (g_waitScope == this) g_waitScope = nullptr;
    m_window.reset();
}

void cWaitScope::setText(const QString& status) {
    text = status;
    if (m_window) m_window->setStatus(status);
}
