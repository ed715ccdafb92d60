#include "document/DocumentHost.h"

#include "core/HostSlot.h"

DocumentHost& Document_Host() {
    static DocumentHost headless;
    DocumentHost* host = Host_Slot<DocumentHost>();
    return host ? *host : headless;
}

void Document_SetHost(DocumentHost* host) {
    Host_Slot<DocumentHost>() = host;
}
