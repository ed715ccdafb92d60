// Console capture for tests.
#include "ConsoleCapture.h"

#include "HeadlessLog.h"
#include "core/SysHost.h"

namespace {

cConsoleCapture::WindowBinder windowBinder = nullptr;

struct HostBinding final : cConsoleCapture::Binding {
    explicit HostBinding(cConsoleCapture& capture)
        : log([&capture](const QString& line) { capture.lines.append(line); }) {}
    cHeadlessLog log;
};

} // namespace

void cConsoleCapture::setWindowBinder(WindowBinder binder) {
    windowBinder = binder;
}

cConsoleCapture::cConsoleCapture() {
    if (windowBinder)
        m_binding = windowBinder(*this);
    else
        m_binding = std::make_unique<HostBinding>(*this);
}

cConsoleCapture::~cConsoleCapture() = default;

MainSettings& cConsoleCapture::settings() {
    return *Sys_MutableSettings();
}

bool cConsoleCapture::contains(const QString& message) const {
    const QString html = message.toHtmlEscaped();
    for (const QString& line : lines) {
        if (line.contains(html)) return true;
    }
    return false;
}
