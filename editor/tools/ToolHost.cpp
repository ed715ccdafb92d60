#include "tools/ToolHost.h"

namespace {
ToolHost*& installedHost() {
    static ToolHost* host = nullptr;
    return host;
}
} // namespace

ToolHost* Tool_Host() {
    return installedHost();
}

void Tool_SetHost(ToolHost* host) {
    installedHost() = host;
}
