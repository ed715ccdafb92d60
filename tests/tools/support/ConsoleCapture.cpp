// Console capture for tests.
#include "ConsoleCapture.h"

#include "mainwindow/MainWindow.h"

cConsoleCapture::cConsoleCapture() {
    if (!g_mainWindow) m_ownWindow = std::make_unique<cMainWindow>();
    m_previous = Console_SetSink([this](const QString& line) { lines.append(line); });
}

cConsoleCapture::~cConsoleCapture() {
    Console_SetSink(std::move(m_previous));
}

bool cConsoleCapture::contains(const QString& message) const {
    const QString html = message.toHtmlEscaped();
    for (const QString& line : lines) {
        if (line.contains(html)) return true;
    }
    return false;
}
