// Grow-only scratch buffers shared by per-frame and per-upload work, so that it reuses one block
// instead of allocating each time. Slots 0..5 are public (plugins too); 6 and 7 belong to the
// texture upload code.
#pragma once

#include <cstdint>

inline constexpr uint32_t kTempBufferPublicSlots = 6;
inline constexpr uint32_t kTempBufferSlots = 8;

// Slot index's block of at least size bytes. A block that is large enough comes back as the
// last user left it; a larger one is new and zero-filled. Null (with a console error) for a bad
// index, a size of 0 or a failed allocation.
void* TempBuffer_GetSpace(uint32_t index, uint64_t size);
// The same for the internal slots 6 and 7.
void* TempBuffer_GetInternalSpace(uint32_t slot, uint64_t size);
// Frees every slot's block so the next request allocates afresh.
void TempBuffer_ReleaseAll();
