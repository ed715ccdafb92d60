// libFuzzer harness of one model format of the Quake III plugin (MODEL_FORMAT: 0 MD3, 1 ASE,
// 2 LWO): each input goes through kpLoadModel and, when loaded, kpGetModelBounds under several
// flags with and without an entity, kpRenderModel into the recording table (wire frame, shaded,
// no colours), and kpUnloadModel. The plugin's sources are compiled in; kpMain receives the
// recording copy of the editor's table. Every effect the model took must be given back.
#include <QApplication>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "ModelRecorder.h"
#include "kstdlib/kstdlib.h"
#include "document/EngineTable.h"
#include "mainwindow/ConsoleSink.h"
#include "mainwindow/MainWindow.h"
#include "map/ObjectRecords.h"

extern "C" int32_t kpMain(const EngineFuncs* table, int32_t version);
extern "C" int32_t kpLoadModel(int32_t id, const char* path, const uint8_t* data, uint32_t size,
                               ModelCacheEntry* entry);
extern "C" int32_t kpUnloadModel(int32_t id, ModelCacheEntry* entry);
extern "C" int32_t kpRenderModel(int32_t id, int32_t flags, ModelCacheEntry* entry, EntityRecord* entity);
extern "C" int32_t kpGetModelBounds(int32_t id, float* mins, float* maxs, int32_t flags,
                                    ModelCacheEntry* entry, EntityRecord* entity);

namespace {

void startOnce() {
    // The main window holds the texture manager the effects live in; it and the application stay
    // to the end of the process, so what they hold is no leak.
    Fuzz_StartMainWindow("model_fuzz");
    Console_SetSink([](const QString&) {}); // refusals are expected by the thousand
    Plugin_FillEngineFuncs(Plugin_EngineFuncs());
    if (kpMain(ModelRecorder::Table(), KP_INTERFACE_VERSION) != 0) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    startOnce();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 22)) return 0;
    // The ASE tokenizer reads the block as text: give it a copy of its own.
    std::vector<uint8_t> copy(data, data + size);
    ModelCacheEntry entry{};
    entry.formatId = MODEL_FORMAT;
    if (!kpLoadModel(MODEL_FORMAT, "models/fuzz/input", copy.data(), uint32_t(copy.size()), &entry)) {
        if (entry.data) std::abort();
        return 0;
    }
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(entry.mins[i]) || !std::isfinite(entry.maxs[i])) std::abort();
    EntityRecord entity{};
    unsigned char attached[88] = {};
    const ModelCacheEntry* main = &entry;
    std::memcpy(attached, &main, sizeof main);
    const float motion[6] = {90, 4, 2, 45, 1, -3};
    std::memcpy(attached + 60, motion, sizeof motion);
    entity.model = reinterpret_cast<EntityModel*>(attached);
    entity.scale = 0.0f;
    entity.sequence = int32_t(size % 7) - 2;
    entity.skin = int16_t(size % 5) - 1;
    entity.flags = 0x10;
    entity.angles[1] = 30.0f;
    float mins[3], maxs[3];
    for (int32_t flags : {0, 0x10, 0x20, 0x30})
        for (EntityRecord* e : {static_cast<EntityRecord*>(nullptr), &entity})
            if (!kpGetModelBounds(MODEL_FORMAT, mins, maxs, flags, &entry, e)) std::abort();
    for (int32_t flags : {0x1, 0x0, 0x2, 0x38})
        for (EntityRecord* e : {static_cast<EntityRecord*>(nullptr), &entity}) {
            ModelRecorder::Get().clear();
            if (!kpRenderModel(MODEL_FORMAT, flags, &entry, e)) std::abort();
        }
    ModelRecorder::Get().clear();
    if (!kpUnloadModel(MODEL_FORMAT, &entry) || entry.data) std::abort();
    // Models hold their effects only while loaded; nothing else holds one here.
    for (ShaderRecord* effect : g_mainWindow->textures.effects)
        if (effect->refCount > 0) std::abort();
    return 0;
}
