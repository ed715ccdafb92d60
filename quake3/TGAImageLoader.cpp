// TGA decoding: true colour (2), grey (3) and run-length true colour (10). Every size comes from
// the file, so the image size is checked in 64 bits and every read and write against its end.
#include <algorithm>
#include <cstring>
#include <utility>

#include "EngineServices.h"
#include "Images.h"

namespace {

constexpr uint32_t kHeaderSize = 18;
// Pixels are handed to the editor with int sizes.
constexpr uint64_t kMaxImageBytes = 0x7FFFFFFF;
// Larger sides are no texture any card takes; a short damaged file could claim one.
constexpr int32_t kMaxSide = 16384;

void swapRedBlue(uint8_t* pixel, int32_t components) {
    if (components >= 3) std::swap(pixel[0], pixel[2]);
}

} // namespace

uint8_t* TGAImageLoader::load(const uint8_t* data, uint32_t size, int32_t* width, int32_t* height,
                              int32_t* components, uint8_t* loaded, const char* path) {
    if (!data || size < kHeaderSize) {
        Eng_FileWarning(path, "TGAImageLoader: file truncated (%u bytes)", size);
        return nullptr;
    }
    const uint32_t idLength = data[0];
    const uint8_t colormapType = data[1];
    const uint8_t type = data[2];
    const int32_t w = data[12] | data[13] << 8;
    const int32_t h = data[14] | data[15] << 8;
    const int32_t bits = data[16];
    const uint8_t descriptor = data[17];

    if (type != 2 && type != 3 && type != 10) {
        Eng_FileWarning(path,
                        "TGAImageLoader: Only type 2 (RGB), 3 (gray), and 10 (RGB) TGA images supported");
        return nullptr;
    }
    if (colormapType != 0) {
        Eng_FileWarning(path, "TGAImageLoader: colormaps not supported");
        return nullptr;
    }
    if (type != 3 && bits != 24 && bits != 32) {
        Eng_FileWarning(path, "TGAImageLoader: Only 32 or 24 bit images supported (no colormaps)");
        return nullptr;
    }
    if (type == 3 && bits != 8) {
        Eng_FileWarning(path, "TGAImageLoader: Only 8 bit gray images supported");
        return nullptr;
    }
    if (w == 0 || h == 0) {
        Eng_FileWarning(path, "TGAImageLoader: image size %ix%i", w, h);
        return nullptr;
    }
    const int32_t comp = bits / 8;
    const uint64_t rowBytes = static_cast<uint64_t>(w) * comp;
    const uint64_t imageBytes = rowBytes * h;
    if (imageBytes > kMaxImageBytes || w > kMaxSide || h > kMaxSide) {
        Eng_FileWarning(path, "TGAImageLoader: image of %ix%i too large", w, h);
        return nullptr;
    }
    auto* pixels = static_cast<uint8_t*>(Eng_TempBuffer(0, imageBytes));
    if (!pixels) {
        Eng_FileWarning(path, "TGAImageLoader: memory allocation failure on %i bytes",
                        static_cast<int32_t>(imageBytes));
        return nullptr;
    }

    uint64_t in = kHeaderSize + idLength;
    if (in > size) {
        Eng_FileWarning(path, "TGAImageLoader: file truncated (%u bytes)", size);
        return nullptr;
    }
    if (type != 10) {
        if (size - in < imageBytes) {
            Eng_FileWarning(path, "TGAImageLoader: file truncated (%u bytes)", size);
            return nullptr;
        }
        std::memcpy(pixels, data + in, imageBytes);
        for (uint64_t p = 0; p < imageBytes; p += comp)
            swapRedBlue(pixels + p, comp);
    } else {
        uint64_t out = 0;
        while (out < imageBytes) {
            if (in >= size) {
                Eng_FileWarning(path, "TGAImageLoader: file truncated (%u bytes)", size);
                return nullptr;
            }
            const uint8_t packet = data[in++];
            const uint64_t count = (packet & 127u) + 1u;
            // A packet reaching past the image is cut at its end.
            const uint64_t fit = std::min<uint64_t>(count, (imageBytes - out) / comp);
            const uint64_t need = (packet & 0x80) ? comp : count * comp;
            if (size - in < need) {
                Eng_FileWarning(path, "TGAImageLoader: file truncated (%u bytes)", size);
                return nullptr;
            }
            for (uint64_t i = 0; i < fit; ++i) {
                const uint8_t* src = data + in + ((packet & 0x80) ? 0 : i * comp);
                std::memcpy(pixels + out, src, comp);
                swapRedBlue(pixels + out, comp);
                out += comp;
            }
            in += need;
        }
    }

    if (!(descriptor & 0x20) && h > 1) {
        auto* row = static_cast<uint8_t*>(Eng_TempBuffer(1, rowBytes));
        if (!row) {
            Eng_FileWarning(path, "TGAImageLoader: memory allocation failure on %i bytes",
                            static_cast<int32_t>(rowBytes));
            return nullptr;
        }
        for (int32_t top = 0, bottom = h - 1; top < bottom; ++top, --bottom) {
            std::memcpy(row, pixels + top * rowBytes, rowBytes);
            std::memcpy(pixels + top * rowBytes, pixels + bottom * rowBytes, rowBytes);
            std::memcpy(pixels + bottom * rowBytes, row, rowBytes);
        }
    }
    *width = w;
    *height = h;
    *components = comp;
    if (loaded) *loaded = 1;
    return pixels;
}
