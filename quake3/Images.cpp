// From decoded pixels to editor textures: gamma, alpha fix, upload formats, and the effect with
// one stage that shows the image.
#include "Images.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <unordered_set>
#include <cstring>

#include "EngineServices.h"
#include "gamedata/PluginInterface.h"
#include "gamedata/TextureRecords.h"
#include "kstdlib/kstring.h"

namespace {

constexpr uint32_t kPathSize = 1024;

const ImageLoader* loaderFor(int32_t fmt) {
    static const TGAImageLoader tga;
    static const JPGImageLoader jpg;
    if (fmt == kTextureFormatTGA) return &tga;
    if (fmt == kTextureFormatJPG) return &jpg;
    return nullptr;
}

// ".tga" → TGA, ".jpg" → JPEG, anything else -1.
int32_t formatOfPath(const char* path) {
    const size_t length = std::strlen(path);
    if (length < 4) return -1;
    const char* ext = path + length - 4;
    if (K_Pathcmp(ext, ".tga") == 0) return kTextureFormatTGA;
    if (K_Pathcmp(ext, ".jpg") == 0) return kTextureFormatJPG;
    return -1;
}

// Decodes on the calling thread and prints a refusal, naming the file, to the console.
bool decodeLogged(int32_t fmt, const char* path, const uint8_t* file, uint32_t size, bool fixAlpha,
                  DecodedImage* out) {
    if (Image_Decode(fmt, file, size, fixAlpha, out)) return true;
    if (out->warning[0]) Eng_FileWarning(path, "%s", out->warning);
    return false;
}

// Set by the editor when it decodes images itself the first time they show.
bool g_deferDecoding = false;
// The editor has deferred decoding once: it decodes an image uploaded without pixels when the image
// first shows, at any time, so model skins loaded outside package loads wait too.
bool g_editorDecodes = false;
// The editor's reader of a file's first bytes; null reads whole files.
kpReadFileHeadFn g_readHead = nullptr;

uint32_t be16(const uint8_t* p) {
    return uint32_t(p[0]) << 8 | p[1];
}

// Size and component count from the file's header alone; false when the header is not one the
// decoder takes (the decoder then tells why).
bool readInfo(int32_t fmt, const uint8_t* data, uint32_t size, DecodedImage* out) {
    if (!data) return false;
    if (fmt == kTextureFormatTGA) {
        if (size < 18 || data[1] != 0) return false;
        const int32_t type = data[2], bits = data[16];
        out->width = data[12] | data[13] << 8;
        out->height = data[14] | data[15] << 8;
        if (type == 3 && bits == 8)
            out->components = 1;
        else if ((type == 2 || type == 10) && (bits == 24 || bits == 32))
            out->components = bits / 8;
        else
            return false;
        return out->width > 0 && out->height > 0;
    }
    if (fmt != kTextureFormatJPG || size < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
    for (uint32_t at = 2; at + 4 <= size;) {
        if (data[at] != 0xFF) return false;
        const uint8_t marker = data[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        const uint32_t length = be16(data + at + 2);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 10 > size || length < 8) return false;
            out->height = int32_t(be16(data + at + 5));
            out->width = int32_t(be16(data + at + 7));
            out->components = data[at + 9];
            return out->width > 0 && out->height > 0 && (out->components == 1 || out->components == 3);
        }
        if (marker == 0xDA || length < 2) return false;
        at += 2 + length;
    }
    return false;
}

// The image named path with its size known and its pixels still in the file: the editor decodes
// them the first time the image shows. Null when the header is not readable.
TextureImage* uploadDeferred(ShaderRecord* effect, const char* path, int32_t fmt, const uint8_t* file,
                             uint32_t size, bool mipmaps) {
    DecodedImage info;
    if (!g_deferDecoding || !readInfo(fmt, file, size, &info)) return nullptr;
    const ImageFormats f = Image_Formats(info.components);
    return Eng_UploadImage(effect, path, f.format, f.compressedFormat, info.components, info.width,
                           info.height, mipmaps ? 1 : 0, nullptr);
}

// The image sized from the file's first bytes through the editor's reader: a TGA's header is its
// first 18 bytes, a JPEG's frame header mostly lies within 4 KiB and seldom past 64 KiB. Null when
// those bytes do not tell (the caller reads the whole file).
TextureImage* uploadFromHead(ShaderRecord* effect, const char* path, int32_t fmt, uint32_t knownBytes,
                             bool mipmaps) {
    if (!g_deferDecoding || !g_readHead) return nullptr;
    for (const uint32_t want : {fmt == kTextureFormatTGA ? 64u : 4096u, 65536u}) {
        if (want <= knownBytes) continue;
        uint32_t size = 0;
        char* head = g_readHead(path, want, &size);
        if (!head) return nullptr;
        TextureImage* image =
            uploadDeferred(effect, path, fmt, reinterpret_cast<const uint8_t*>(head), size, mipmaps);
        Eng_Free(head);
        if (image || size < want) return image; // the whole file was read: it does not tell
    }
    return nullptr;
}

// The images first named as model skins while decoding waits: skins keep the file's alpha, so
// their first-show decode leaves out the alpha fix. Written on the editor's thread while it loads
// models; read by decodes, which run while that thread waits for them.
std::unordered_set<std::string>& skinPaths() {
    static std::unordered_set<std::string> paths;
    return paths;
}

bool fixesAlpha(const char* path) {
    return !path || skinPaths().empty() || !skinPaths().count(path);
}

// A model skin's size from the file's first bytes, so that its pixels wait for its first show.
// False when it is decoded now.
bool skinWaits(const char* path, int32_t fmt, DecodedImage* info) {
    if (!g_editorDecodes || !g_readHead || fmt < 0) return false;
    for (const uint32_t want : {fmt == kTextureFormatTGA ? 64u : 4096u, 65536u}) {
        uint32_t size = 0;
        char* head = g_readHead(path, want, &size);
        if (!head) return false;
        const bool known = readInfo(fmt, reinterpret_cast<const uint8_t*>(head), size, info);
        Eng_Free(head);
        if (known) return true;
        if (size < want) return false; // the whole file was read: it does not tell
    }
    return false;
}

TextureImage* upload(ShaderRecord* effect, const char* path, const DecodedImage& p, bool mipmaps) {
    const ImageFormats f = Image_Formats(p.components);
    return Eng_UploadImage(effect, path, f.format, f.compressedFormat, p.components, p.width, p.height,
                           mipmaps ? 1 : 0, p.pixels);
}

// One zeroed stage showing the image, then the effect completed.
void addStage(ShaderRecord* effect, TextureImage* image) {
    ShaderStage stage;
    std::memset(&stage, 0, sizeof stage);
    stage.frames[0] = image;
    Eng_AddShaderStage(effect, &stage);
    Eng_FinishShader(effect);
}

} // namespace

ImageFormats Image_Formats(int32_t components) {
    if (components == 3) return {0x1907, 0x84ED};
    if (components == 4) return {0x1908, 0x84EE};
    return {0x1909, 0x84EA};
}

void Image_BuildGammaTable(float gamma, uint8_t table[256]) {
    const float g = std::fmin(std::fmax(gamma, 0.5f), 3.0f);
    const float p = 1.0f / g;
    for (int i = 0; i < 256; ++i) {
        if (p == 1.0f) {
            table[i] = static_cast<uint8_t>(i);
            continue;
        }
        const int v = static_cast<int>(0.5f + 255.0f * std::pow((i + 0.5f) / 255.5f, p));
        table[i] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
}

// The texture gamma is fixed for the plugin's lifetime once the first image needs it.
const uint8_t* Image_GammaTable() {
    struct Table {
        uint8_t values[256];
    };
    static const Table table = [] {
        Table t;
        Image_BuildGammaTable(Eng_TextureGamma(), t.values);
        return t;
    }();
    return table.values;
}

bool Image_Refuse(DecodedImage* out, const char* format, ...) {
    Image_FreeDecoded(out);
    va_list args;
    va_start(args, format);
    std::vsnprintf(out->warning, sizeof out->warning, format, args);
    va_end(args);
    return false;
}

void Image_FreeDecoded(DecodedImage* image) {
    Eng_Free(image->pixels);
    image->pixels = nullptr;
    image->width = image->height = image->components = 0;
}

uint8_t* ImageLoader::load(const uint8_t* data, uint32_t size, int32_t* width, int32_t* height,
                           int32_t* components, uint8_t* loaded, const char* path) const {
    DecodedImage d;
    if (!decode(data, size, &d)) {
        Eng_FileWarning(path, "%s", d.warning);
        return nullptr;
    }
    const uint64_t bytes = static_cast<uint64_t>(d.width) * d.height * d.components;
    auto* pixels = static_cast<uint8_t*>(Eng_TempBuffer(0, bytes));
    if (pixels) {
        std::memcpy(pixels, d.pixels, bytes);
        *width = d.width;
        *height = d.height;
        *components = d.components;
        if (loaded) *loaded = 1;
    }
    Image_FreeDecoded(&d);
    return pixels;
}

bool Image_Decode(int32_t fmt, const uint8_t* data, uint32_t size, bool fixAlpha, DecodedImage* out) {
    const ImageLoader* loader = loaderFor(fmt);
    if (!loader) return false;
    if (!loader->decode(data, size, out)) return false;
    const uint8_t* gamma = Image_GammaTable();
    const uint64_t bytes = static_cast<uint64_t>(out->width) * out->height * out->components;
    for (uint64_t i = 0; i < bytes; ++i)
        out->pixels[i] = gamma[out->pixels[i]];
    if (fixAlpha) Image_FixAlpha(out->pixels, out->width, out->height, out->components);
    return true;
}

void Image_FixAlpha(uint8_t* pixels, int32_t width, int32_t height, int32_t components) {
    if (!pixels || components != 4) return;
    const uint64_t count = static_cast<uint64_t>(width) * height;
    for (uint64_t i = 0; i < count; ++i)
        if (pixels[i * 4 + 3] >= 8) return;
    for (uint64_t i = 0; i < count; ++i)
        pixels[i * 4 + 3] = 255;
}

void Image_TextureName(const char* path, char name[64]) {
    const char* start = path;
    const char* a = K_Stristr(path, "\\textures\\");
    const char* b = K_Stristr(path, "/textures/");
    const char* first = a && (!b || a < b) ? a : b;
    if (first) start = first + 10;
    char buffer[kPathSize];
    std::strncpy(buffer, start, sizeof buffer - 1);
    buffer[sizeof buffer - 1] = 0;
    K_StripExtension(buffer);
    std::strncpy(name, buffer, 63);
    name[63] = 0;
    for (char* c = name; *c; ++c)
        if (*c == '\\') *c = '/';
}

int32_t Image_LoadTexture(int32_t fmt, const char* path, const uint8_t* data, int32_t size) {
    if (!loaderFor(fmt) || !path) return 0;
    char name[64];
    Image_TextureName(path, name);
    ShaderRecord* effect = Eng_FindOrCreateShader(path, name, 0);
    if (!effect) return 0;
    if (effect->stages) return 1;
    TextureImage* image = Eng_FindImage(path);
    const uint32_t bytes = size > 0 ? static_cast<uint32_t>(size) : 0;
    if (image) {
        ++image->refCount;
    } else if (!(image = uploadDeferred(effect, path, fmt, data, bytes, true)) &&
               !(image = uploadFromHead(effect, path, fmt, bytes, true))) {
        // While decoding waits, data may be the file's beginning alone, short of a header that
        // lies further in (a JPEG's frame after large metadata): the whole file tells, and is
        // decoded only when its header is not one the sizes can be read from.
        uint32_t wholeSize = 0;
        void* whole = g_deferDecoding ? Eng_LoadFile(path, &wholeSize) : nullptr;
        if (whole)
            image = uploadDeferred(effect, path, fmt, static_cast<const uint8_t*>(whole), wholeSize, true);
        if (!image) {
            DecodedImage p;
            if (whole ? decodeLogged(fmt, path, static_cast<const uint8_t*>(whole), wholeSize, true, &p)
                      : decodeLogged(fmt, path, data, bytes, true, &p))
                image = upload(effect, path, p, true);
            Image_FreeDecoded(&p);
        }
        Eng_Free(whole);
    }
    if (image) {
        effect->image = image;
        ++image->refCount;
    }
    addStage(effect, image);
    return 1;
}

TextureImage* LoadImageFile(ShaderRecord* effect, const char* path, bool mipmaps) {
    if (!path || !*path) return nullptr;
    if (TextureImage* found = Eng_FindImage(path)) return found;
    const int32_t fmt = formatOfPath(path);
    if (fmt < 0 || !Eng_FileExists(path)) return nullptr;
    Eng_VerbosePrintf("Loading: \"%s\"\n", path);
    // The size is in the header: the rest of the file waits for the image's first show.
    if (TextureImage* image = uploadFromHead(effect, path, fmt, 0, mipmaps)) {
        --image->refCount;
        return image;
    }
    uint32_t size = 0;
    void* file = Eng_LoadFile(path, &size);
    if (!file) return nullptr;
    TextureImage* image = uploadDeferred(effect, path, fmt, static_cast<const uint8_t*>(file), size, mipmaps);
    if (image) {
        Eng_Free(file);
        --image->refCount;
        return image;
    }
    DecodedImage p;
    const bool decoded = decodeLogged(fmt, path, static_cast<const uint8_t*>(file), size, true, &p);
    Eng_Free(file);
    if (!decoded) return nullptr;
    image = upload(effect, path, p, mipmaps);
    Image_FreeDecoded(&p);
    if (image) --image->refCount;
    return image;
}

TextureImage* LoadImageByName(ShaderRecord* effect, const char* name, bool mipmaps) {
    if (!name || !*name) return nullptr;
    char base[kPathSize];
    std::strncpy(base, name, sizeof base - 5);
    base[sizeof base - 5] = 0;
    char candidate[kPathSize];
    std::strcpy(candidate, base);
    K_DefaultExtension(candidate, sizeof candidate, ".tga");
    char resolved[kPathSize];
    if (!Eng_FindFile(candidate, resolved, sizeof resolved)) {
        K_StripExtension(base);
        std::strcat(base, ".jpg");
        Eng_FindFile(base, resolved, sizeof resolved);
    }
    return LoadImageFile(effect, resolved, mipmaps);
}

bool FindImageFile(const char* name, char* path, uint32_t size) {
    if (!name || !path || size == 0) return false;
    for (const char* ext : {".tga", ".jpg"}) {
        char candidate[kPathSize];
        std::snprintf(candidate, sizeof candidate, "%s%s", name, ext);
        if (Eng_FindFile(candidate, path, size) && Eng_FileExists(path)) return true;
    }
    path[0] = 0;
    return false;
}

ShaderRecord* LoadSkinTexture(const char* name) {
    char path[kPathSize];
    if (!FindImageFile(name, path, sizeof path)) return nullptr;
    DecodedImage info;
    const bool waits = skinWaits(path, formatOfPath(path), &info);
    uint32_t size = 0;
    void* file = waits ? nullptr : Eng_LoadFile(path, &size);
    if (!waits && !file) return nullptr;
    ShaderRecord* effect = Eng_FindOrCreateShader(path, name, 0);
    if (!effect) {
        Eng_Free(file);
        return nullptr;
    }
    effect->flags |= SHADER_MODEL_SKIN;
    --effect->refCount;
    if (!effect->stages && waits) {
        // An image already known under the name is shared as it is, decoded as it was named first.
        if (!Eng_FindImage(path)) skinPaths().insert(path);
        const ImageFormats f = Image_Formats(info.components);
        addStage(effect, Eng_UploadImage(effect, path, f.format, f.compressedFormat, info.components,
                                         info.width, info.height, 1, nullptr));
    } else if (!effect->stages) {
        DecodedImage p;
        const bool decoded =
            decodeLogged(formatOfPath(path), path, static_cast<const uint8_t*>(file), size, false, &p);
        // The upload's reference is the stage's; finishing takes the editor image's.
        addStage(effect, decoded ? upload(effect, path, p, true) : nullptr);
        Image_FreeDecoded(&p);
    }
    Eng_Free(file);
    return effect;
}

// ---- Export of the texture formats "TGA" (id 0) and "JPG" (id 1) --------------------------------

extern "C" __attribute__((visibility("default"))) int32_t kpLoadTexture(int32_t fmt, const char* path,
                                                                        const uint8_t* data, uint32_t size) {
    return Image_LoadTexture(fmt, path, data, size > 0x7FFFFFFF ? 0 : static_cast<int32_t>(size));
}

// kpDecodeTexture: the file's pixels as the texture format gives them (gamma and alpha applied) in
// a new editor block (free with the editor's allocator); null, with the decoder's warning, when the
// file is refused.
extern "C" __attribute__((visibility("default"))) uint8_t* kpDecodeTexture(int32_t fmt, const char* path,
                                                                           const uint8_t* data, uint32_t size,
                                                                           int32_t* width, int32_t* height,
                                                                           int32_t* components) {
    if (!data || !width || !height || !components) return nullptr;
    DecodedImage p;
    if (!decodeLogged(fmt, path, data, size, fixesAlpha(path), &p)) return nullptr;
    *width = p.width;
    *height = p.height;
    *components = p.components;
    return p.pixels;
}

// kpDecodeTextureJob: kpDecodeTexture with its result and its warning in the record; the editor
// runs several at once on worker threads. Needs nothing from the editor but its allocator: the
// gamma table was built when decoding was deferred, on the editor's thread. libjpeg's own
// warnings still go to standard output, as on every path.
extern "C" __attribute__((visibility("default"))) int32_t kpDecodeTextureJob(TextureDecodeJob* job) {
    if (!job || job->size != int32_t(sizeof(TextureDecodeJob))) return 0;
    job->pixels = nullptr;
    job->width = job->height = job->components = 0;
    job->message[0] = 0;
    if (!job->data) return 0;
    DecodedImage p;
    if (!Image_Decode(job->formatId, job->data, job->dataSize, fixesAlpha(job->path), &p)) {
        std::snprintf(job->message, sizeof job->message, "%s",
                      p.warning[0] ? p.warning : "unknown texture format");
        return 0;
    }
    job->pixels = p.pixels;
    job->width = p.width;
    job->height = p.height;
    job->components = p.components;
    return 1;
}

// kpDeferTextureDecoding: non-zero makes texture loads read sizes only and leave decoding to
// kpDecodeTexture; kpLoadTexture's data may then be the file's beginning alone (the path is read
// in full where the header does not tell the size).
extern "C" __attribute__((visibility("default"))) void kpDeferTextureDecoding(int32_t on) {
    g_deferDecoding = on != 0;
    if (g_deferDecoding) g_editorDecodes = true;
    // Later decodings may run on worker threads: the one editor call they would make is made here.
    if (g_deferDecoding) Image_GammaTable();
}

// kpSetFileHeadReader: the editor's reader of a file's first bytes, used while decoding waits.
extern "C" __attribute__((visibility("default"))) void kpSetFileHeadReader(kpReadFileHeadFn reader) {
    g_readHead = reader;
}
