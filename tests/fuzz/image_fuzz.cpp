// libFuzzer harness of the TGA and JPEG decoders through kpLoadTexture: byte 0 picks the format
// (even TGA, odd JPEG), the rest is the file. The effect made for it is released again, so the
// texture manager must end empty; a refused image must come with a warning, never a crash.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "gamedata/TextureManager.h"
#include "FuzzSupport.h"
#include "quake3/Images.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Fuzz_StartMainWindow("image_fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 0x7FFFFFFF) return 0;
    const int32_t fmt = data[0] & 1;
    const char* path = fmt ? "/game/textures/fuzz/image.jpg" : "/game/textures/fuzz/image.tga";
    if (Image_LoadTexture(fmt, path, data + 1, int32_t(size - 1)) != 1) std::abort();
    TextureManager& textures = g_mainWindow->textures;
    ShaderRecord* effect = textures.effects.value(path);
    if (!effect) std::abort();
    Plugin_ReleaseShader(effect);
    if (!textures.effects.isEmpty() || !textures.images.isEmpty()) std::abort();
    return 0;
}
