#include "core/SysHost.h"

namespace {
SysHost*& installedHost() {
    static SysHost* host = nullptr;
    return host;
}
} // namespace

SysHost* Sys_Host() {
    return installedHost();
}

void Sys_SetHost(SysHost* host) {
    installedHost() = host;
}
