// libFuzzer harness of the effect-script parser through a whole package load: the input is a
// script text. Every effect it registers is released again with its package, so the texture
// manager must end empty.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"
#include "FuzzSupport.h"
#include "quake3/ShaderPackage.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Fuzz_StartMainWindow("shader_fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    TextureManager& textures = g_mainWindow->textures;
    TexturePackage* package = Tex_AcquirePackage(&textures, "/game/scripts/fuzz.shader");
    package->loaded = true;
    textures.loading = package;
    ShaderPackage_LoadText("/game/scripts/fuzz.shader", text.c_str(), uint32_t(text.size() + 1));
    textures.loading = nullptr;
    Tex_FreePackages(&textures);
    if (!textures.effects.isEmpty() || !textures.images.isEmpty()) std::abort();
    return 0;
}
