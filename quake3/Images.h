// TGA and JPEG decoding from a file image in memory, the texture gamma, and the step from pixels
// to an editor texture: an effect record with one stage showing the uploaded image. Shared by the
// texture format, the effect scripts and the model skins.
#pragma once

#include <cstdint>

struct ShaderRecord;
struct TextureImage;

// Decodes a whole file image into 8-bit pixels, top row first, in the editor's scratch buffer 0
// (valid until its next use; never freed here). Null, with a warning naming the file (its path when
// given), when the file is refused.
class ImageLoader {
public:
    virtual ~ImageLoader() = default;
    virtual uint8_t* load(const uint8_t* data, uint32_t size, int32_t* width, int32_t* height,
                          int32_t* components, uint8_t* loaded, const char* path = nullptr) = 0;
};

class TGAImageLoader : public ImageLoader {
public:
    uint8_t* load(const uint8_t* data, uint32_t size, int32_t* width, int32_t* height, int32_t* components,
                  uint8_t* loaded, const char* path = nullptr) override;
};

class JPGImageLoader : public ImageLoader {
public:
    uint8_t* load(const uint8_t* data, uint32_t size, int32_t* width, int32_t* height, int32_t* components,
                  uint8_t* loaded, const char* path = nullptr) override;
};

// Texture format ids.
inline constexpr int32_t kTextureFormatTGA = 0;
inline constexpr int32_t kTextureFormatJPG = 1;

// GL pixel format and compressed internal format for a component count.
struct ImageFormats {
    int32_t format;
    int32_t compressedFormat;
};
ImageFormats Image_Formats(int32_t components);

// The 256-entry table for a gamma (clamped to 0.5..3.0).
void Image_BuildGammaTable(float gamma, uint8_t table[256]);
// The plugin's table, built from the editor's texture gamma on first use and kept.
const uint8_t* Image_GammaTable();
// Four components whose alphas are all below 8 become fully opaque.
void Image_FixAlpha(uint8_t* pixels, int32_t width, int32_t height, int32_t components);
// The texture name of a file path: the part after "/textures/" (any case, either separator),
// without extension, at most 63 characters, '/' separators.
void Image_TextureName(const char* path, char name[64]);

// kpLoadTexture: 1 when the texture exists afterwards, 0 for an unknown format or a refused effect.
int32_t Image_LoadTexture(int32_t fmt, const char* path, const uint8_t* data, int32_t size);
// The editor image of a ".tga" or ".jpg" file, decoded and uploaded when not held yet; the
// caller takes its own reference. Null when missing, of another kind or not decodable.
TextureImage* LoadImageFile(ShaderRecord* effect, const char* path, bool mipmaps);
// ".tga" is tried for a name without extension, then the ".jpg" of the name.
TextureImage* LoadImageByName(ShaderRecord* effect, const char* name, bool mipmaps);
// "NAME.tga", else "NAME.jpg", resolved and existing; false when neither exists.
bool FindImageFile(const char* name, char* path, uint32_t size);
// The effect of a model skin named `name`, made from its ".tga" or ".jpg" file; null when
// neither file exists or the editor refuses the effect.
ShaderRecord* LoadSkinTexture(const char* name);
