// Grow-only scratch slots.
#include "core/TempBuffer.h"

#include "core/System.h"

namespace {

struct Slot {
    uint64_t size;
    void* block;
};

Slot g_slots[kTempBufferSlots];

void* growSlot(uint32_t index, uint64_t size) {
    Slot& slot = g_slots[index];
    if (slot.size < size) {
        Sys_Free(slot.block);
        slot.block = Sys_Alloc(size);
        // A failed allocation leaves the slot empty rather than claiming a size it lacks.
        slot.size = slot.block ? size : 0;
    }
    return slot.block;
}

} // namespace

void* TempBuffer_GetSpace(uint32_t index, uint64_t size) {
    if (index >= kTempBufferPublicSlots) {
        Sys_Error("TempBuffer_GetSpace: invalid buffer index %i", static_cast<int32_t>(index));
        return nullptr;
    }
    if (size == 0) {
        Sys_Error("TempBuffer_GetSpace: invalid size %i", static_cast<int32_t>(size));
        return nullptr;
    }
    return growSlot(index, size);
}

void* TempBuffer_GetInternalSpace(uint32_t slot, uint64_t size) {
    if (slot < kTempBufferPublicSlots || slot >= kTempBufferSlots) {
        Sys_Error("TempBuffer_GetInternalSpace: invalid buffer index %i", static_cast<int32_t>(slot));
        return nullptr;
    }
    if (size == 0) {
        Sys_Error("TempBuffer_GetInternalSpace: invalid size %i", static_cast<int32_t>(size));
        return nullptr;
    }
    return growSlot(slot, size);
}

void TempBuffer_ReleaseAll() {
    for (Slot& slot : g_slots) {
        Sys_Free(slot.block);
        slot = Slot{0, nullptr};
    }
}
