#include "views/ViewHost.h"

#include "core/HostSlot.h"

namespace {
ContextMenuHook& menuHook() {
    static ContextMenuHook hook;
    return hook;
}
} // namespace

ViewHost* View_Host() {
    return Host_Slot<ViewHost>();
}

void View_SetHost(ViewHost* host) {
    Host_Slot<ViewHost>() = host;
}

cCanvas* View_FocusView() {
    const ViewHost* host = View_Host();
    return host ? host->focusView() : nullptr;
}

cAbstractTool* View_ActiveTool() {
    const ViewHost* host = View_Host();
    return host ? host->activeTool() : nullptr;
}

cAbstractTool* View_SecondaryTool() {
    const ViewHost* host = View_Host();
    return host ? host->secondaryTool() : nullptr;
}

bool View_SpaceHeld() {
    const ViewHost* host = View_Host();
    return host && (host->heldKeys() & HeldKey::Space);
}

void View_ShowMessage(const QString& text, int timeout) {
    if (ViewHost* host = View_Host()) host->showMessage(text, timeout);
}

void View_SetContextMenuHook(ContextMenuHook hook) {
    menuHook() = std::move(hook);
}

void View_ExecContextMenu(const QString& name, QPoint global) {
    if (menuHook()) {
        menuHook()(name, global);
        return;
    }
    if (ViewHost* host = View_Host()) host->execContextMenu(name, global);
}
