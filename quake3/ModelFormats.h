// The plugin's model exports dispatched by format id: 0 MD3, 1 ASE, 2 LWO; other ids answer 0.
#pragma once

#include <cstdint>

#include "gamedata/PluginInterface.h"

inline constexpr int32_t kModelFormatMd3 = 0;
inline constexpr int32_t kModelFormatAse = 1;
inline constexpr int32_t kModelFormatLwo = 2;

int32_t Model_Load(int32_t fmt, const char* path, const uint8_t* data, uint32_t size, ModelCacheEntry* entry);
int32_t Model_Unload(int32_t fmt, ModelCacheEntry* entry);
int32_t Model_Render(int32_t fmt, int32_t flags, ModelCacheEntry* entry, EntityRecord* entity);
int32_t Model_Bounds(int32_t fmt, float* mins, float* maxs, int32_t flags, ModelCacheEntry* entry,
                     EntityRecord* entity);
