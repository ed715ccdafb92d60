/* Compiled as C: the interface header must stand alone in a C11 plugin, and the records must
 * come out with the sizes the C++ side sees. */
#include "gamedata/PluginInterface.h"

#include "PluginInterfaceSizes.h"

void PluginInterface_SizesInC(uint64_t sizes[PLUGIN_INTERFACE_RECORD_COUNT]) {
    sizes[0] = sizeof(EngineFuncs);
    sizes[1] = sizeof(PluginAction);
    sizes[2] = sizeof(MapProfileRecord);
    sizes[3] = sizeof(ProfileFuncs);
    sizes[4] = sizeof(PrimitiveEntry);
    sizes[5] = sizeof(ArchiveHandle);
    sizes[6] = sizeof(SpriteCacheEntry);
    sizes[7] = sizeof(ModelCacheEntry);
    sizes[8] = offsetof(EngineFuncs, App_EndWaitCursor);
    sizes[9] = sizeof(TextureDecodeJob);
}
