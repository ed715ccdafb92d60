#include "core/SysHost.h"

#include "core/MainSettings.h"

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

const MainSettings& Sys_Settings() {
    static const MainSettings defaults;
    const MainSettings* settings = Sys_MutableSettings();
    return settings ? *settings : defaults;
}

MainSettings* Sys_MutableSettings() {
    SysHost* host = Sys_Host();
    return host ? host->settings() : nullptr;
}
