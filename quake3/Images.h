// TGA and JPEG decoding from a file image in memory, the texture gamma, and the step from pixels
// to an editor texture: an effect record with one stage showing the uploaded image. Shared by the
// texture format, the effect scripts and the model skins.
#pragma once

#include <cstdint>

struct ShaderRecord;
struct TextureImage;

// One decoding's own result: its pixels and, when refused, why. Nothing in it is shared with
// another decoding, so files may be decoded on several threads at once.
struct DecodedImage {
    uint8_t* pixels = nullptr; // an Eng_Alloc block, top row first; null when refused
    int32_t width = 0;
    int32_t height = 0;
    int32_t components = 0;
    char warning[256] = {}; // "TGAImageLoader: ..." without the file's name
};
// Frees the pixels and empties the result.
void Image_FreeDecoded(DecodedImage* image);

// Decodes a whole file image into 8-bit pixels, top row first. decode touches no editor state but
// the allocator; load is the form the console sees: its pixels in the editor's scratch buffer 0
// (valid until its next use; never freed here), or null with the warning naming the file (its
// path when given).
class ImageLoader {
public:
    virtual ~ImageLoader() = default;
    virtual bool decode(const uint8_t* data, uint32_t size, DecodedImage* out) const = 0;
    uint8_t* load(const uint8_t* data, uint32_t size, int32_t* width, int32_t* height, int32_t* components,
                  uint8_t* loaded, const char* path = nullptr) const;
};

class TGAImageLoader : public ImageLoader {
public:
    bool decode(const uint8_t* data, uint32_t size, DecodedImage* out) const override;
};

class JPGImageLoader : public ImageLoader {
public:
    bool decode(const uint8_t* data, uint32_t size, DecodedImage* out) const override;
};

// Writes the refusal into the result; always false, for "return Image_Refuse(...)".
bool Image_Refuse(DecodedImage* out, const char* format, ...) __attribute__((format(printf, 2, 3)));

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
// The plugin's table, built from the editor's texture gamma on first use and kept; safe to call
// from several threads.
const uint8_t* Image_GammaTable();
// The whole file decoded as a texture shows it: gamma and, with fixAlpha, the alpha fix applied.
// Touches no shared state; false for an unknown format or a refused file.
bool Image_Decode(int32_t fmt, const uint8_t* data, uint32_t size, bool fixAlpha, DecodedImage* out);
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
