// Captures what the log functions send to the console. In a program with the window (its test main
// installs a window binder) the lines come through the main window's console, and one is made when
// there is none, so what reads the window finds it. Without the window the capture installs a system
// host of its own for its lifetime: its settings are the defaults, which tests may change.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

struct MainSettings;

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
    // The preferences the system layer reads while the capture lives (the window's or the capture's
    // own host's).
    MainSettings& settings();

    // What keeps the lines flowing into `lines`; ends the capture when destroyed.
    struct Binding {
        virtual ~Binding() = default;
    };
    using WindowBinder = std::unique_ptr<Binding> (*)(cConsoleCapture& capture);
    // Set once by the main of the programs that link the window; null in headless programs.
    static void setWindowBinder(WindowBinder binder);

private:
    std::unique_ptr<Binding> m_binding;
};
