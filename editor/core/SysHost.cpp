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

MapPreferences Sys_MapPreferences() {
    const SysHost* host = Sys_Host();
    return host ? host->mapPreferences() : MapPreferences{};
}

int32_t Sys_MaxWorldSize() {
    const SysHost* host = Sys_Host();
    return host ? host->maxWorldSize() : kDefaultMaxWorldSize;
}
