// Storage of the console listener.
#include "mainwindow/ConsoleSink.h"

#include <utility>

namespace {

ConsoleSink& currentSink() {
    static ConsoleSink sink;
    return sink;
}

} // namespace

ConsoleSink Console_SetSink(ConsoleSink sink) {
    return std::exchange(currentSink(), std::move(sink));
}

void Console_Feed(const QString& line) {
    if (currentSink()) currentSink()(line);
}
