/* Record sizes of the plugin interface as a C translation unit sees them. */
#pragma once

#include <stdint.h>

#define PLUGIN_INTERFACE_RECORD_COUNT 10

#ifdef __cplusplus
extern "C" {
#endif
void PluginInterface_SizesInC(uint64_t sizes[PLUGIN_INTERFACE_RECORD_COUNT]);
#ifdef __cplusplus
}
#endif
