// Reference counting of effects, stages and images. The upload stores the pixels it was given
// instead of making a GL texture; the GL side replaces that step alone.
#include "gamedata/TextureManager.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <utility>
#include <cstring>

#include "core/System.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/DecodePool.h"
#include "gamedata/TexturePackage.h"
#include "gamedata/TextureUpload.h"

namespace {

TextureManager* manager() {
    return GameData_Textures();
}

bool isNoTextureImage(const TextureImage* image) {
    return image && image == Tex_CreateNoTexture()->image;
}

// The shared white or black image: 8x8 RGBA, never released.
TextureImage* sharedImage(TextureManager* m, TextureImage** slot, uint8_t value) {
    if (!*slot) {
        auto* image = new TextureImage{};
        image->refCount = 1;
        image->width = image->height = 8;
        image->bytesPerPixel = 4;
        image->flags = IMAGE_STATIC | IMAGE_UNNAMED;
        image->format = image->compressedFormat = 0x1908; // RGBA
        QByteArray pixels(8 * 8 * 4, static_cast<char>(value));
        for (int i = 3; i < pixels.size(); i += 4)
            pixels[i] = char(255);
        m->pixels.insert(image, pixels);
        Tex_UploadImageData(image, pixels.constData());
        *slot = image;
    }
    return *slot;
}

// The texture format of the file's suffix that decodes on request; null when none does.
const TextureFormatEntry* decoderOf(const TextureManager* m, const char* name) {
    const char* dot = std::strrchr(name, '.');
    if (!dot || std::strchr(dot, '/')) return nullptr;
    const QString suffix = QString::fromUtf8(dot);
    for (const TextureFormatEntry& format : m->textureFormats)
        if (format.decodeTexture && format.extension.compare(suffix, Qt::CaseInsensitive) == 0)
            return &format;
    return nullptr;
}

void removeEffect(TextureManager* m, ShaderRecord* shader) {
    const auto found = m->effectKeys.find(shader);
    if (found == m->effectKeys.end()) return;
    if (m->effects.value(found.value(), nullptr) == shader) m->effects.remove(found.value());
    m->effectKeys.erase(found);
}

// The effect table and its reverse index, so releasing an effect finds its key at once.
void storeEffect(TextureManager* m, const QByteArray& key, ShaderRecord* shader) {
    if (ShaderRecord* previous = m->effects.value(key, nullptr); previous && previous != shader)
        m->effectKeys.remove(previous);
    removeEffect(m, shader);
    m->effects.insert(key, shader);
    m->effectKeys.insert(shader, key);
}

// Releases a frame chain from its head; borrowed chains hold a reference on the head alone.
void releaseChain(TextureManager* m, ShaderStage* stage) {
    TextureImage* head = stage->frameChain;
    if (!head) return;
    if (!(stage->stageFlags & STAGE_BORROWED_FRAMES)) {
        TextureImage* frame = head->next;
        while (frame && frame != head) {
            TextureImage* next = frame->next;
            Tex_ReleaseImage(m, frame);
            frame = next;
        }
    }
    Tex_ReleaseImage(m, head);
    stage->frameChain = nullptr;
}

} // namespace

int32_t Tex_ReleaseAll(TextureManager* m) {
    // Packages first (their effects released), then palettes, then placeholders nobody took over;
    // what is left after that was not given back and is reported.
    for (TexturePackage* package : std::as_const(m->packages))
        Tex_DeletePackage(m, package);
    m->packages.clear();
    m->palettes.clear();
    while (!m->placeholders.isEmpty()) {
        ShaderRecord* shader = m->placeholders.first();
        m->placeholders.erase(m->placeholders.begin());
        shader->flags &= ~SHADER_NO_SHIFT_WRAP;
        shader->refCount = 1;
        Tex_ReleaseShader(m, shader, false);
    }
    return Tex_ReportLeaks(m);
}

TextureManager::TextureManager() = default;

TextureManager::~TextureManager() {
    Tex_ReleaseAll(this);
    // Whatever is left goes with the manager; references into it end here.
    for (ShaderRecord* shader : effects) {
        while (ShaderStage* stage = shader->stages) {
            shader->stages = stage->next;
            delete stage;
        }
        std::free(shader->pluginData);
        delete shader;
    }
    for (TextureImage* image : images) {
        Tex_DeleteImageData(image);
        delete image;
    }
    for (TextureImage* shared : {white, black}) {
        Tex_DeleteImageData(shared);
        delete shared;
    }
}

ShaderRecord* Tex_CreateNoTexture(bool upload) {
    static ShaderRecord* noTexture = nullptr;
    if (!noTexture) {
        // A 32x32 checkerboard: magenta in the top-left and bottom-right quadrants, black elsewhere.
        static TextureImage image{};
        image.refCount = 1;
        image.width = image.height = kNoTextureSize;
        image.bytesPerPixel = 4;
        image.flags = IMAGE_STATIC | IMAGE_UNNAMED;
        image.format = image.compressedFormat = 0x1908; // GL_RGBA
        static ShaderStage stage{};
        stage.frames[0] = &image;
        stage.frameCount = 1;
        stage.stateBits = 256;
        static ShaderRecord record;
        std::strncpy(record.name, "notexture", sizeof record.name - 1);
        record.refCount = 1;
        record.width = kNoTextureSize;
        record.height = kNoTextureSize;
        record.opacity = 1.0f;
        record.image = &image;
        record.stages = &stage;
        noTexture = &record;
    }
    // A GL view asking gets the GL texture too, so every view draws it alike whichever came first.
    if (upload && !noTexture->image->glName)
        Tex_UploadImageData(noTexture->image, Tex_NoTexturePixels().constData());
    return noTexture;
}

const QByteArray& Tex_NoTexturePixels() {
    static const QByteArray pixels = [] {
        QByteArray p(kNoTextureSize * kNoTextureSize * 4, '\0');
        for (int y = 0; y < kNoTextureSize; ++y) {
            for (int x = 0; x < kNoTextureSize; ++x) {
                const bool magenta = (x < kNoTextureSize / 2) == (y < kNoTextureSize / 2);
                char* px = p.data() + (y * kNoTextureSize + x) * 4;
                px[0] = px[2] = magenta ? char(255) : char(0);
                px[3] = char(255);
            }
        }
        return p;
    }();
    return pixels;
}

ShaderRecord* Tex_CreateShader(TextureManager* m, const char* key, const char* name, int32_t flags) {
    if (!m) return nullptr;
    if (key && name && !(flags & SHADER_NO_SHIFT_WRAP)) {
        const auto found = m->placeholders.find(QByteArray(name).toUpper());
        if (found != m->placeholders.end()) {
            // A definition for a name asked for earlier: the placeholder becomes the real effect
            // in place, so whatever holds it sees the definition.
            ShaderRecord* shader = found.value();
            m->placeholders.erase(found);
            if (shader->flags & SHADER_TAKE_OVER_REFERENCE) ++shader->refCount;
            shader->width = shader->height = 0;
            shader->takeOverWord = 0;
            shader->captionWidth = 0;
            shader->flags = (shader->flags & ~(SHADER_NO_SHIFT_WRAP | SHADER_PLACEHOLDER)) | flags | 0x80c;
            // Its "notexture" editor image is not its own: the definition's first stage shows.
            shader->image = nullptr;
            shader->flags &= ~SHADER_PLACEHOLDER;
            removeEffect(m, shader);
            storeEffect(m, QByteArray(key), shader);
            Tex_AddToLoadingPackage(m, shader);
            return shader;
        }
    }
    auto* shader = new ShaderRecord{};
    shader->refCount = 1;
    shader->opacity = 1.0f;
    shader->flags = flags | SHADER_NEW;
    if (name) {
        std::strncpy(shader->name, name, sizeof shader->name - 1);
    } else {
        m->unnamedCount = m->unnamedCount == -1 ? 1 : m->unnamedCount + 1;
        std::snprintf(shader->name, sizeof shader->name, "*internal%i", m->unnamedCount);
    }
    Tex_AddToLoadingPackage(m, shader);
    if (key) {
        storeEffect(m, QByteArray(key), shader);
    } else if ((flags & SHADER_NO_SHIFT_WRAP) && name) {
        const QByteArray upper = QByteArray(name).toUpper();
        storeEffect(m, upper, shader);
        m->placeholders.insert(upper, shader);
    }
    return shader;
}

ShaderRecord* Tex_FindShaderByKey(const TextureManager* m, const char* key) {
    if (!m || !key) return nullptr;
    return m->effects.value(QByteArray(key), nullptr);
}

ShaderRecord* Tex_FindShader(const TextureManager* m, const char* name) {
    if (!m || !name) return nullptr;
    for (ShaderRecord* shader : m->effects)
        if (qstricmp(shader->name, name) == 0) return shader;
    return nullptr;
}

bool Tex_AddToLoadingPackage(TextureManager* m, ShaderRecord* shader) {
    if (!m || !m->loading || !shader) return true;
    if (shader->package == m->loading) return false;
    if (shader->package) shader->package->shaders.removeOne(shader);
    m->loading->shaders.append(shader);
    shader->package = m->loading;
    return true;
}

void Tex_ReleaseShader(TextureManager* m, ShaderRecord* shader, bool unlink) {
    // The shared "notexture" record is never released (plugins get it for unknown names).
    if (!m || !shader || shader == Tex_CreateNoTexture() || --shader->refCount > 0) return;
    if (unlink && shader->package) shader->package->shaders.removeOne(shader);
    if (!(shader->flags & SHADER_PLACEHOLDER)) Tex_ReleaseImage(m, shader->image);
    for (TextureImage* image : shader->box)
        Tex_ReleaseImage(m, image);
    while (ShaderStage* stage = shader->stages) {
        shader->stages = stage->next;
        Tex_FreeShaderStage(m, stage);
    }
    if (unlink && (shader->flags & SHADER_NO_SHIFT_WRAP)) {
        for (auto it = m->placeholders.begin(); it != m->placeholders.end();)
            it = it.value() == shader ? m->placeholders.erase(it) : std::next(it);
    }
    removeEffect(m, shader);
    std::free(shader->pluginData);
    delete shader;
}

void Tex_AddShaderStage(ShaderRecord* shader, const ShaderStage* stage) {
    if (!shader || !stage) return;
    auto* copy = new ShaderStage(*stage);
    copy->next = nullptr;
    copy->frameCount = 0;
    while (copy->frameCount < kStageFrames && copy->frames[copy->frameCount])
        ++copy->frameCount;
    ShaderStage** tail = &shader->stages;
    while (*tail)
        tail = &(*tail)->next;
    *tail = copy;
}

void Tex_FreeShaderStage(TextureManager* m, ShaderStage* stage) {
    if (!stage) return;
    releaseChain(m, stage);
    for (TextureImage* image : stage->frames)
        Tex_ReleaseImage(m, image);
    delete stage;
}

void Tex_FinishShader(ShaderRecord* shader) {
    if (!shader) return;
    const ShaderRecord* noTexture = Tex_CreateNoTexture();
    shader->flags &= ~(SHADER_STAGE_WITHOUT_IMAGE | SHADER_PLACEHOLDER);
    bool vertexColoured = false;
    for (ShaderStage* s = shader->stages; s; s = s->next) {
        if (s->colorKind == 0) s->colorKind = 2;
        if (s->alphaKind == 0) s->alphaKind = 1;
        if (s->stageFlags & 0x1) s->colorKind = 9;
        if (s->texCoordKind == 0) s->texCoordKind = 3;
        if (!s->frames[0] || isNoTextureImage(s->frames[0])) {
            shader->flags |= SHADER_STAGE_WITHOUT_IMAGE;
            if (!s->frames[0]) s->frames[0] = noTexture->image;
        }
        if (s->colorKind == 5 || s->colorKind == 6 || s->colorKind == 9) vertexColoured = true;
    }
    if (!vertexColoured) {
        for (ShaderStage* s = shader->stages; s; s = s->next) {
            const int32_t blend = s->stateBits & 0xF;
            const int32_t kind = s->colorKind;
            if ((blend == 0 || blend == 2 || blend == 5) && kind != 4 && kind != 7 && kind != 8 &&
                kind != 10) {
                s->colorKind = 5;
                vertexColoured = true; // warn only about effects no stage of which can be lit this way
            }
        }
    }
    if (!shader->image) {
        TextureImage* first = shader->stages ? shader->stages->frames[0] : nullptr;
        if (first && !isNoTextureImage(first)) {
            shader->image = first;
            ++first->refCount;
        } else {
            shader->image = noTexture->image;
            shader->flags |= SHADER_PLACEHOLDER | SHADER_STAGE_WITHOUT_IMAGE;
        }
    }
    if (shader->width == 0) shader->width = shader->image ? shader->image->width : noTexture->width;
    if (shader->height == 0) shader->height = shader->image ? shader->image->height : noTexture->height;
    if (!(shader->flags & (SHADER_NO_CARVE | SHADER_STAGE_WITHOUT_IMAGE)) && !vertexColoured &&
        shader->stages)
        Sys_Warning("shader `%s' has no appropriate stages for vertex coloring mode", shader->name);
}

TextureImage* Tex_FindImage(const TextureManager* m, const char* name) {
    if (!m || !name) return nullptr;
    return m->images.value(QByteArray(name), nullptr);
}

TextureImage* Tex_UploadImage(TextureManager* m, ShaderRecord* shader, const char* name, int32_t format,
                              int32_t compressedFormat, int32_t bytesPerPixel, int32_t width, int32_t height,
                              int32_t mipmaps, const void* pixels) {
    if (!m) return nullptr;
    TextureImage* image = Tex_FindImage(m, name);
    // An image already uploaded is shared as it is.
    if (image && (image->glName || m->pixels.contains(image) || m->pending.contains(image))) {
        ++image->refCount;
        return image;
    }
    if (!image) {
        image = new TextureImage{};
        image->refCount = 1;
    }
    if (width) image->width = width;
    if (height) image->height = height;
    if (bytesPerPixel) image->bytesPerPixel = static_cast<uint16_t>(bytesPerPixel);
    if (shader && (shader->width == 0 || shader->height == 0)) {
        shader->width = image->width;
        shader->height = image->height;
    }
    if (!mipmaps) image->flags |= IMAGE_NO_MIPMAPS;
    if (pixels && (image->width <= 0 || image->height <= 0 || image->bytesPerPixel <= 0)) {
        // A plugin's wrong size would divide by zero in the resamplers.
        Sys_Warning("texture of %i x %i pixels refused", image->width, image->height);
    } else if (pixels) {
        image->format = format;
        image->compressedFormat = compressedFormat;
        const qsizetype size = qsizetype(image->width) * image->height * image->bytesPerPixel;
        m->pixels.insert(image, QByteArray(static_cast<const char*>(pixels), size));
        Tex_UploadImageData(image, pixels);
    } else if (name && image->width > 0 && image->height > 0) {
        // Size only: the file's format decodes it when the image first shows.
        if (const TextureFormatEntry* decoder = decoderOf(m, name)) {
            image->format = format;
            image->compressedFormat = compressedFormat;
            m->pending.insert(image, {decoder->decodeTexture, decoder->decodeJob, decoder->id});
        }
    }
    if (name) {
        const QByteArray key(name);
        if (TextureImage* previous = m->images.value(key, nullptr); previous && previous != image)
            m->imageNames.remove(previous);
        m->images.insert(key, image);
        m->imageNames.insert(image, key);
    } else
        image->flags |= IMAGE_UNNAMED;
    return image;
}

void Tex_ReleaseImage(TextureManager* m, TextureImage* image) {
    if (!m || !image || (image->flags & IMAGE_STATIC) || isNoTextureImage(image)) return;
    if (--image->refCount > 0) return;
    if (!(image->flags & IMAGE_UNNAMED)) {
        const auto found = m->imageNames.find(image);
        if (found != m->imageNames.end()) {
            if (m->images.value(found.value(), nullptr) == image) m->images.remove(found.value());
            m->imageNames.erase(found);
        }
    }
    m->pixels.remove(image);
    m->pending.remove(image);
    Tex_DeleteImageData(image);
    delete image;
}

// ---- First shows on the main window's manager ----------------------------------------------

void Tex_RealizeShader(ShaderRecord* shader) {
    Tex_RealizeShader(manager(), shader);
}

void Tex_RealizeImage(TextureImage* image) {
    Tex_RealizeImage(manager(), image);
}

bool Tex_AnyWaiting() {
    const TextureManager* m = manager();
    return m && !m->pending.isEmpty();
}

void Tex_RealizeShaders(const QList<ShaderRecord*>& shaders) {
    TextureManager* m = manager();
    if (!m || m->pending.isEmpty()) return;
    QList<TextureImage*> images;
    for (const ShaderRecord* shader : shaders)
        Tex_CollectPending(m, shader, &images);
    Tex_RealizeImages(m, images);
}

void Tex_LinkNewShaders(TextureManager* m) {
    if (!m) return;
    QList<TextureImage*> shown;
    for (ShaderRecord* shader : std::as_const(m->effects)) {
        if (!(shader->flags & SHADER_NEW)) continue;
        shader->flags &= ~SHADER_NEW;
        // A placeholder that faces held before its definition came shows now.
        if (shader->flags & SHADER_TAKEN_OVER) Tex_CollectPending(m, shader, &shown);
        for (ShaderStage* stage = shader->stages; stage; stage = stage->next) {
            TextureImage* head = stage->frameChain;
            if (!head) continue;
            stage->frameCount = 1;
            ++head->refCount;
            const bool counted =
                !(stage->stageFlags & STAGE_BORROWED_FRAMES) && !(head->flags & IMAGE_UNCOUNTED_FRAME);
            // The chain is a ring: it ends where it started.
            for (TextureImage* frame = head->next; frame && frame != head; frame = frame->next) {
                if (counted) ++frame->refCount;
                ++stage->frameCount;
            }
        }
    }
    Tex_RealizeImages(m, shown);
}

void Tex_ClearChangedMarks(TextureManager* m) {
    if (!m) return;
    for (ShaderRecord* shader : std::as_const(m->effects))
        shader->flags &= ~SHADER_RELOADED;
}

int32_t Tex_ReportLeaks(const TextureManager* m) {
    if (!m) return 0;
    const int32_t leaks = static_cast<int32_t>(m->effects.size() + m->images.size());
    if (leaks == 0) {
        Sys_DebugPrintf("Texture manager: no memory leaks detected");
        return 0;
    }
    Sys_DebugPrintf("Texture manager: %i memory leaks detected", leaks);
    Sys_DebugPrintf("-------------------------------------------");
    for (const ShaderRecord* shader : m->effects)
        Sys_DebugPrintf("Shader `%s': %i reference(s)", shader->name, shader->refCount);
    for (auto it = m->images.cbegin(); it != m->images.cend(); ++it)
        Sys_DebugPrintf("Texture `%s': %i reference(s)", it.key().constData(), it.value()->refCount);
    return leaks;
}

ShaderRecord* Tex_AcquireShaderByName(const char* name) {
    TextureManager* m = manager();
    if (!m) return Tex_CreateNoTexture();
    if (ShaderRecord* found = Tex_FindShader(m, name)) {
        if (Tex_AddToLoadingPackage(m, found)) ++found->refCount;
        return found;
    }
    // A placeholder showing "notexture" until a package defines the name.
    ShaderRecord* shader = Tex_CreateShader(m, nullptr, name, SHADER_NO_SHIFT_WRAP);
    const ShaderRecord* noTexture = Tex_CreateNoTexture();
    shader->width = noTexture->width;
    shader->height = noTexture->height;
    shader->image = noTexture->image;
    shader->flags |= SHADER_PLACEHOLDER;
    return shader;
}

ShaderRecord* Tex_FindOrCreateShader(const char* key, const char* name, int32_t flags) {
    TextureManager* m = manager();
    if (ShaderRecord* found = Tex_FindShaderByKey(m, key)) {
        if (Tex_AddToLoadingPackage(m, found)) ++found->refCount;
        return found;
    }
    return Tex_CreateShader(m, key, name, flags);
}

void Plugin_ReleaseShader(ShaderRecord* shader) {
    Tex_ReleaseShader(manager(), shader);
}
void Plugin_AddShaderStage(ShaderRecord* shader, const ShaderStage* stage) {
    Tex_AddShaderStage(shader, stage);
}
void Plugin_FreeShaderData(ShaderStage* stage) {
    Tex_FreeShaderStage(manager(), stage);
}
void Plugin_FinishShader(ShaderRecord* shader) {
    Tex_FinishShader(shader);
}
TextureImage* Plugin_FindImage(const char* name) {
    return Tex_FindImage(manager(), name);
}

TextureImage* Plugin_WhiteImage() {
    TextureManager* m = manager();
    return m ? sharedImage(m, &m->white, 255) : nullptr;
}

TextureImage* Plugin_BlackImage() {
    TextureManager* m = manager();
    return m ? sharedImage(m, &m->black, 0) : nullptr;
}

TextureImage* Plugin_UploadImage(ShaderRecord* shader, const char* name, int32_t format,
                                 int32_t compressedFormat, int32_t bytesPerPixel, int32_t width,
                                 int32_t height, bool mipmaps, const void* pixels) {
    return Tex_UploadImage(manager(), shader, name, format, compressedFormat, bytesPerPixel, width, height,
                           mipmaps ? 1 : 0, pixels);
}

void Plugin_FreeImage(TextureImage* image) {
    Tex_ReleaseImage(manager(), image);
}
