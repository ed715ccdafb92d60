// Captures what the log functions send to the console. While a capture lives, a main window
// exists (one is made when there is none), so Sys_Printf and friends are live.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "mainwindow/ConsoleSink.h"

class cMainWindow;

class cConsoleCapture {
public:
    cConsoleCapture();
    ~cConsoleCapture();
    cConsoleCapture(const cConsoleCapture&) = delete;
    cConsoleCapture& operator=(const cConsoleCapture&) = delete;

    // Every console line since construction (or the last clear), as appended (HTML).
    QStringList lines;
    void clear() { lines.clear(); }
    // True when some line shows the plain message (log text reaches the console HTML-escaped).
    bool contains(const QString& message) const;

private:
    std::unique_ptr<cMainWindow> m_ownWindow;
    ConsoleSink m_previous;
};
