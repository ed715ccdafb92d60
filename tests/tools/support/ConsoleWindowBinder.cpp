#include "ConsoleWindowBinder.h"

#include "mainwindow/ConsoleSink.h"
#include "mainwindow/MainWindow.h"

namespace {

struct WindowBinding final : cConsoleCapture::Binding {
    explicit WindowBinding(cConsoleCapture& capture) {
        if (!g_mainWindow) ownWindow = std::make_unique<cMainWindow>();
        previous = Console_SetSink([&capture](const QString& line) { capture.lines.append(line); });
    }
    ~WindowBinding() override { Console_SetSink(std::move(previous)); }

    std::unique_ptr<cMainWindow> ownWindow;
    ConsoleSink previous;
};

} // namespace

std::unique_ptr<cConsoleCapture::Binding> Console_BindToWindow(cConsoleCapture& capture) {
    return std::make_unique<WindowBinding>(capture);
}
