// libFuzzer harness of the TGA and JPEG decoders through kpLoadTexture: byte 0 picks the format
// (bit 0: TGA or JPEG) and whether loading reads the header alone (bit 1, as package loads do;
// the on-request decoders then get the file too, and the worker-thread one must agree with the
// other), the rest is the file. The effect made for it is released
// again, so the texture manager must end empty; a refused image must come with a warning, never a crash.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "gamedata/TextureManager.h"
#include "FuzzSupport.h"
#include "core/System.h"
#include "quake3/Images.h"

extern "C" uint8_t* kpDecodeTexture(int32_t fmt, const char* path, const uint8_t* data, uint32_t size,
                                    int32_t* width, int32_t* height, int32_t* components);
extern "C" void kpDeferTextureDecoding(int32_t on);
extern "C" int32_t kpDecodeTextureJob(TextureDecodeJob* job);

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Fuzz_StartMainWindow("image_fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 0x7FFFFFFF) return 0;
    const int32_t fmt = data[0] & 1;
    const bool headerOnly = data[0] & 2;
    const char* path = fmt ? "/game/textures/fuzz/image.jpg" : "/game/textures/fuzz/image.tga";
    kpDeferTextureDecoding(headerOnly ? 1 : 0);
    const int32_t loaded = Image_LoadTexture(fmt, path, data + 1, int32_t(size - 1));
    kpDeferTextureDecoding(0);
    if (loaded != 1) std::abort();
    if (headerOnly) {
        int32_t width = 0, height = 0, components = 0;
        uint8_t* pixels =
            kpDecodeTexture(fmt, "fuzz.img", data + 1, uint32_t(size - 1), &width, &height, &components);
        TextureDecodeJob job{};
        job.size = int32_t(sizeof job);
        job.formatId = fmt;
        job.path = "fuzz.img";
        job.data = data + 1;
        job.dataSize = uint32_t(size - 1);
        const int32_t decoded = kpDecodeTextureJob(&job);
        if ((decoded != 0) != (pixels != nullptr) || (decoded != 0) != (job.pixels != nullptr)) std::abort();
        if (pixels) {
            if (width <= 0 || height <= 0 || components < 1 || components > 4) std::abort();
            if (job.width != width || job.height != height || job.components != components) std::abort();
            if (std::memcmp(job.pixels, pixels, size_t(width) * height * components) != 0) std::abort();
        } else if (!job.message[0] || !std::memchr(job.message, 0, sizeof job.message)) {
            std::abort(); // a refusal always says why
        }
        Sys_Free(pixels);
        Sys_Free(job.pixels);
    }
    TextureManager& textures = g_mainWindow->textures;
    ShaderRecord* effect = textures.effects.value(path);
    if (!effect) std::abort();
    Plugin_ReleaseShader(effect);
    if (!textures.effects.isEmpty() || !textures.images.isEmpty()) std::abort();
    return 0;
}
