// Reference counting of effects, stages and images. The upload stores the pixels it was given
// instead of making a GL texture; the GL side replaces that step alone.
#include "gamedata/TextureManager.h"

#include <cstdlib>
#include <cstring>

#include "core/System.h"
#include "mainwindow/MainWindow.h"

namespace {

TextureManager* manager() {
    return g_mainWindow ? &g_mainWindow->textures : nullptr;
}

bool isNoTextureImage(const TextureImage* image) {
    return image && image == Tex_CreateNoTexture()->image;
}

TextureImage* sharedImage(TextureManager* m, TextureImage** slot, uint8_t value) {
    if (!*slot) {
        auto* image = new TextureImage{};
        image->refCount = 1;
        image->width = image->height = 1;
        image->bytesPerPixel = 4;
        image->flags = IMAGE_STATIC | IMAGE_UNNAMED;
        image->format = image->compressedFormat = 0x1908; // RGBA
        m->pixels.insert(image, QByteArray(4, static_cast<char>(value)).replace(3, 1, "\xff"));
        *slot = image;
    }
    return *slot;
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

TextureManager::~TextureManager() {
    Tex_ReportLeaks(this);
    // Whatever is left goes with the manager; references into it end here.
    for (ShaderRecord* shader : effects) {
        while (ShaderStage* stage = shader->stages) {
            shader->stages = stage->next;
            delete stage;
        }
        std::free(shader->pluginData);
        delete shader;
    }
    for (TextureImage* image : images)
        delete image;
    delete white;
    delete black;
}

ShaderRecord* Tex_CreateNoTexture(QWidget* glWidget) {
    static ShaderRecord* noTexture = nullptr;
    if (!noTexture) {
        static ShaderRecord record;
        std::strncpy(record.name, "notexture", sizeof record.name - 1);
        record.width = kNoTextureSize;
        record.height = kNoTextureSize;
        noTexture = &record;
    }
    return noTexture;
}

ShaderRecord* Tex_CreateShader(TextureManager* m, const char* key, const char* name, int32_t flags) {
    if (!m) return nullptr;
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
    if (key) m->effects.insert(QByteArray(key), shader);
    return shader;
}

ShaderRecord* Tex_FindShaderByKey(const TextureManager* m, const char* key) {
    if (!m || !key) return nullptr;
    return m->effects.value(QByteArray(key), nullptr);
}

void Tex_ReleaseShader(TextureManager* m, ShaderRecord* shader) {
    // The shared "notexture" record is never released (plugins get it for unknown names).
    if (!m || !shader || shader == Tex_CreateNoTexture() || --shader->refCount > 0) return;
    if (!(shader->flags & SHADER_PLACEHOLDER)) Tex_ReleaseImage(m, shader->image);
    for (TextureImage* image : shader->box)
        Tex_ReleaseImage(m, image);
    while (ShaderStage* stage = shader->stages) {
        shader->stages = stage->next;
        Tex_FreeShaderStage(m, stage);
    }
    for (auto it = m->effects.begin(); it != m->effects.end();) {
        if (it.value() == shader)
            it = m->effects.erase(it);
        else
            ++it;
    }
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
    if (image && m->pixels.contains(image)) {
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
    if (pixels && image->width > 0 && image->height > 0 && image->bytesPerPixel > 0) {
        image->format = format;
        image->compressedFormat = compressedFormat;
        const qsizetype size = qsizetype(image->width) * image->height * image->bytesPerPixel;
        m->pixels.insert(image, QByteArray(static_cast<const char*>(pixels), size));
    }
    if (name)
        m->images.insert(QByteArray(name), image);
    else
        image->flags |= IMAGE_UNNAMED;
    return image;
}

void Tex_ReleaseImage(TextureManager* m, TextureImage* image) {
    if (!m || !image || (image->flags & IMAGE_STATIC) || isNoTextureImage(image)) return;
    if (--image->refCount > 0) return;
    if (!(image->flags & IMAGE_UNNAMED)) {
        for (auto it = m->images.begin(); it != m->images.end();) {
            if (it.value() == image)
                it = m->images.erase(it);
            else
                ++it;
        }
    }
    m->pixels.remove(image);
    delete image;
}

int32_t Tex_ReportLeaks(const TextureManager* m) {
    if (!m) return 0;
    const int32_t leaks = static_cast<int32_t>(m->effects.size() + m->images.size());
    if (leaks == 0) {
        Sys_DebugPrintf("Texture manager: no memory leaks detected\n");
        return 0;
    }
    Sys_DebugPrintf("Texture manager: %i memory leaks detected\n", leaks);
    Sys_DebugPrintf("-------------------------------------------\n");
    for (const ShaderRecord* shader : m->effects)
        Sys_DebugPrintf("Shader `%s': %i reference(s)\n", shader->name, shader->refCount);
    for (auto it = m->images.cbegin(); it != m->images.cend(); ++it)
        Sys_DebugPrintf("Texture `%s': %i reference(s)\n", it.key().constData(), it.value()->refCount);
    return leaks;
}

ShaderRecord* Tex_FindOrCreateShader(const char* key, const char* name, int32_t flags) {
    TextureManager* m = manager();
    if (ShaderRecord* found = Tex_FindShaderByKey(m, key)) {
        ++found->refCount;
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
