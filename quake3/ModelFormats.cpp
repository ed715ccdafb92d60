#include "ModelFormats.h"

#include "AseModel.h"
#include "LwoModel.h"
#include "Md3Model.h"
#include "MeshModel.h"
#include "ModelCommon.h"

namespace {

bool known(int32_t fmt) {
    return fmt == kModelFormatMd3 || fmt == kModelFormatAse || fmt == kModelFormatLwo;
}

} // namespace

int32_t Model_Load(int32_t fmt, const char* path, const uint8_t* data, uint32_t size,
                   ModelCacheEntry* entry) {
    if (!entry || !data) return 0;
    switch (fmt) {
    case kModelFormatMd3:
        return Md3_Load(path, data, size, entry);
    case kModelFormatAse:
        if (!Model::Table().Script_LoadMemory(reinterpret_cast<const char*>(data), size, 0)) return 0;
        return Ase_Load(path, size, entry);
    case kModelFormatLwo:
        return Lwo_Load(path, data, size, entry);
    default:
        return 0;
    }
}

int32_t Model_Unload(int32_t fmt, ModelCacheEntry* entry) {
    if (!entry || !entry->data || !known(fmt)) return 0;
    if (fmt == kModelFormatMd3)
        Md3_Free(entry->data);
    else
        Mesh_Free(static_cast<MeshModel*>(entry->data));
    entry->data = nullptr;
    return 1;
}

int32_t Model_Render(int32_t fmt, int32_t flags, ModelCacheEntry* entry, EntityRecord* entity) {
    if (!entry || !entry->data || !known(fmt)) return 0;
    if (fmt == kModelFormatMd3)
        Md3_Render(entry->data, flags, entry, entity);
    else
        Mesh_Render(static_cast<const MeshModel*>(entry->data), flags, entry, entity);
    return 1;
}

int32_t Model_Bounds(int32_t fmt, float* mins, float* maxs, int32_t flags, ModelCacheEntry* entry,
                     EntityRecord* entity) {
    if (!entry || !entry->data || !mins || !maxs || !known(fmt)) return 0;
    if (fmt == kModelFormatMd3)
        Md3_Bounds(entry->data, flags, entity, mins, maxs);
    else
        Mesh_Bounds(static_cast<const MeshModel*>(entry->data), flags, entity, mins, maxs);
    return 1;
}
