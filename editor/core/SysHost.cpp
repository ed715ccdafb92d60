#include "core/SysHost.h"

#include <algorithm>

#include "core/HostSlot.h"
#include "core/MainSettings.h"

SysHost* Sys_Host() {
    return Host_Slot<SysHost>();
}

void Sys_SetHost(SysHost* host) {
    Host_Slot<SysHost>() = host;
}

int32_t Sys_SnapGrid() {
    const MainSettings* settings = Sys_MutableSettings();
    return settings && settings->SnapToGrid ? std::max(1, settings->CurrentGridSize) : 0;
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
