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

bool TGAImageLoader::decode(const uint8_t* data, uint32_t size, DecodedImage* out) const {
    if (!data || size < kHeaderSize)
        return Image_Refuse(out, "TGAImageLoader: file truncated (%u bytes)", size);
    const uint32_t idLength = data[0];
    const uint8_t colormapType = data[1];
    const uint8_t type = data[2];
    const int32_t w = data[12] | data[13] << 8;
    const int32_t h = data[14] | data[15] << 8;
    const int32_t bits = data[16];
    const uint8_t descriptor = data[17];

    if (type != 2 && type != 3 && type != 10)
        return Image_Refuse(out,
                            "TGAImageLoader: Only type 2 (RGB), 3 (gray), and 10 (RGB) TGA images supported");
    if (colormapType != 0) return Image_Refuse(out, "TGAImageLoader: colormaps not supported");
    if (type != 3 && bits != 24 && bits != 32)
        return Image_Refuse(out, "TGAImageLoader: Only 32 or 24 bit images supported (no colormaps)");
    if (type == 3 && bits != 8) return Image_Refuse(out, "TGAImageLoader: Only 8 bit gray images supported");
    if (w == 0 || h == 0) return Image_Refuse(out, "TGAImageLoader: image size %ix%i", w, h);
    const int32_t comp = bits / 8;
    const uint64_t rowBytes = static_cast<uint64_t>(w) * comp;
    const uint64_t imageBytes = rowBytes * h;
    if (imageBytes > kMaxImageBytes || w > kMaxSide || h > kMaxSide)
        return Image_Refuse(out, "TGAImageLoader: image of %ix%i too large", w, h);
    uint64_t in = kHeaderSize + idLength;
    if (in > size || (type != 10 && size - in < imageBytes))
        return Image_Refuse(out, "TGAImageLoader: file truncated (%u bytes)", size);
    out->pixels = static_cast<uint8_t*>(Eng_Alloc(imageBytes));
    if (!out->pixels)
        return Image_Refuse(out, "TGAImageLoader: memory allocation failure on %i bytes",
                            static_cast<int32_t>(imageBytes));
    uint8_t* pixels = out->pixels;

    if (type != 10) {
        std::memcpy(pixels, data + in, imageBytes);
        for (uint64_t p = 0; p < imageBytes; p += comp)
            swapRedBlue(pixels + p, comp);
    } else {
        uint64_t done = 0;
        while (done < imageBytes) {
            if (in >= size) return Image_Refuse(out, "TGAImageLoader: file truncated (%u bytes)", size);
            const uint8_t packet = data[in++];
            const uint64_t count = (packet & 127u) + 1u;
            // A packet reaching past the image is cut at its end.
            const uint64_t fit = std::min<uint64_t>(count, (imageBytes - done) / comp);
            const uint64_t need = (packet & 0x80) ? comp : count * comp;
            if (size - in < need) return Image_Refuse(out, "TGAImageLoader: file truncated (%u bytes)", size);
            for (uint64_t i = 0; i < fit; ++i) {
                const uint8_t* src = data + in + ((packet & 0x80) ? 0 : i * comp);
                std::memcpy(pixels + done, src, comp);
                swapRedBlue(pixels + done, comp);
                done += comp;
            }
            in += need;
        }
    }

    if (!(descriptor & 0x20) && h > 1) {
        for (int32_t top = 0, bottom = h - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(pixels + top * rowBytes, pixels + (top + 1) * rowBytes,
                             pixels + bottom * rowBytes);
    }
    out->width = w;
    out->height = h;
    out->components = comp;
    return true;
}
