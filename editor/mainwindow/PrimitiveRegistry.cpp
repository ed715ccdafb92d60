// The registered primitive rows and the dock's choice among them. The list lives here until the
// main window's dock holds it; callers only see the functions.
#include "mainwindow/PrimitiveRegistry.h"

#include "core/System.h"
#include "document/Primitives.h"

namespace {
struct Registry {
    std::vector<PrimitiveEntry> rows;
    int32_t current = -1;
};

Registry& registry() {
    static Registry r;
    return r;
}
} // namespace

void registerPrimitive(cMainWindow* window, const PrimitiveEntry* entry) {
    (void)window;
    if (!entry || !entry->name) {
        Sys_Error("registerPrimitive: primitive name is NULL!");
        return;
    }
    if (!entry->create) {
        Sys_Error("registerPrimitive: dispatch function for \"%s\" is NULL!", entry->name);
        return;
    }
    PrimitiveEntry copy = *entry;
    if (!copy.category) copy.category = "(unknown)";
    registry().rows.push_back(copy);
}

void App_RegisterBuiltinPrimitives(cMainWindow* window) {
    for (const PrimitiveEntry& entry : kBuiltinPrimitives)
        registerPrimitive(window, &entry);
}

std::vector<PrimitiveEntry>& App_Primitives() {
    return registry().rows;
}

void App_ClearPrimitives() {
    registry().rows.clear();
    registry().current = -1;
}

bool App_PrimitiveOffered(const PrimitiveEntry* entry, uint32_t capabilities) {
    if (!entry) return false;
    return entry->capabilityMask == 0 || (uint32_t(entry->capabilityMask) & capabilities) != 0;
}

void App_SetCurrentPrimitive(int32_t index) {
    const int32_t count = int32_t(registry().rows.size());
    registry().current = index >= 0 && index < count ? index : -1;
}

PrimitiveEntry* App_CurrentPrimitive() {
    Registry& r = registry();
    return r.current >= 0 && r.current < int32_t(r.rows.size()) ? &r.rows[size_t(r.current)] : nullptr;
}
