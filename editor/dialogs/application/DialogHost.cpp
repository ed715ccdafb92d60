#include "dialogs/application/DialogHost.h"

#include "core/HostSlot.h"

DialogHost* Dialog_Host() {
    return Host_Slot<DialogHost>();
}

void Dialog_SetHost(DialogHost* host) {
    Host_Slot<DialogHost>() = host;
}

QWidget* Dialog_Window() {
    DialogHost* host = Dialog_Host();
    return host ? host->window() : nullptr;
}
