// LightWave LWO2 objects (format 2): the IFF reader, smoothing, texture maps and assembly into
// a drawable mesh.
#pragma once

#include <cstdint>

#include "gamedata/PluginInterface.h"

// 1 with the model stored in the entry; 0 (with a message) when the image is refused.
int32_t Lwo_Load(const char* path, const uint8_t* data, uint32_t size, ModelCacheEntry* entry);
