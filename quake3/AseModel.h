// ASCII Scene Export models (format 1), read through the editor's tokenizer, which the caller
// has started on the file image.
#pragma once

#include <cstdint>

#include "gamedata/PluginInterface.h"

// Objects and materials are as many as the file holds.
inline constexpr int32_t kAseMaxVertices = 8192;
inline constexpr int32_t kAseMaxNormals = 8192;

// Reads the running script to its end and closes it; 1 with the model stored in the entry.
int32_t Ase_Load(const char* path, uint32_t size, ModelCacheEntry* entry);
