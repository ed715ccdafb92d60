#include "tools/ToolHost.h"

#include "core/HostSlot.h"

ToolHost* Tool_Host() {
    return Host_Slot<ToolHost>();
}

void Tool_SetHost(ToolHost* host) {
    Host_Slot<ToolHost>() = host;
}
