// A listener that sees every line the console appends, exactly as appended (HTML). Tests capture
// log output with it; the console dock itself is fed by cMainWindow::printToConsole.
#pragma once

#include <QString>
#include <functional>

using ConsoleSink = std::function<void(const QString& line)>;

// Installs the listener (an empty one removes it) and returns the previous one.
ConsoleSink Console_SetSink(ConsoleSink sink);
// Hands one appended line to the listener, if any.
void Console_Feed(const QString& line);
