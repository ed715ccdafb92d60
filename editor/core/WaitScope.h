// The span of a long piece of work (precaching a game configuration) behind a wait window. The
// headless layers open one; the main window supplies the window through a factory, and without
// one (tools, document tests) the scope only holds the status text.
#pragma once

#include <QString>
#include <memory>

// What the window of a wait scope shows.
class cWaitWindow {
public:
    virtual ~cWaitWindow() = default;
    virtual void setStatus(const QString& text) = 0;
};

using WaitWindowFactory = std::unique_ptr<cWaitWindow> (*)(const QString& title);
void Wait_SetWindowFactory(WaitWindowFactory factory);

class cWaitScope {
public:
    explicit cWaitScope(const QString& title);
    ~cWaitScope();
    cWaitScope(const cWaitScope&) = delete;
    cWaitScope& operator=(const cWaitScope&) = delete;

    // The title at first, then the status line; shown in the window when there is one.
    void setText(const QString& status);
    QString text;

private:
    std::unique_ptr<cWaitWindow> m_window;
};

// The open wait scope, else null. Verbose log lines are dropped while one exists.
extern cWaitScope* g_waitScope;
