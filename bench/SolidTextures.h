// Textures of one solid colour for every texture name the faces and patches of a world use, so a
// map shows textured without a game configuration (mapshot and the frame benchmarks). Needs a
// current GL context for apply(); the world must be destroyed before this object.
#pragma once

#include <GL/gl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document/MapWorld.h"
#include "gamedata/TextureRecords.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/PatchRecord.h"

class cSolidTextures {
public:
    // The colour a name gets: a hash spread over bright, distinct hues.
    static void colourOf(const std::string& name, uint8_t rgb[3]) {
        uint32_t h = 2166136261u;
        for (char c : name)
            h = (h ^ uint8_t(c)) * 16777619u;
        rgb[0] = uint8_t(64 + (h & 0x7f) * 3 / 2);
        rgb[1] = uint8_t(64 + ((h >> 8) & 0x7f) * 3 / 2);
        rgb[2] = uint8_t(64 + ((h >> 16) & 0x7f) * 3 / 2);
    }

    // Binds every face and patch of the world to the solid texture of its texture name.
    void apply(MapWorld* world) {
        bindAll(world, [this](const char* name) { return find(name); });
    }
    // Binds every face and patch to one texture (as a map shows when no texture is found).
    static void applyOne(MapWorld* world, ShaderRecord* shader) {
        bindAll(world, [shader](const char*) { return shader; });
    }

private:
    template <class Find> static void bindAll(MapWorld* world, Find find) {
        for (EntityRecord* e = world->entities; e; e = e->next)
            for (BrushRecord* b = e->firstBrush; b; b = b->next) {
                for (FaceRecord* f = b->firstFace; f; f = f->next)
                    bind(&f->texture, find(f->texInfo.name));
                if (b->patch) bind(&b->patch->texture, find(b->patch->texInfo.name));
            }
    }
    static void bind(ShaderRecord** slot, ShaderRecord* shader) {
        if (*slot == shader) return;
        if (*slot && (*slot)->refCount > 0) --(*slot)->refCount;
        *slot = shader;
        ++shader->refCount;
    }
    ShaderRecord* find(const char* name) {
        auto it = m_byName.find(name);
        if (it != m_byName.end()) return it->second;
        uint8_t rgb[3];
        colourOf(name, rgb);
        std::vector<uint8_t> pixels(8 * 8 * 4);
        for (size_t i = 0; i < pixels.size(); i += 4) {
            // A darker checker square shows the texture's orientation and scale.
            const bool dark = ((i / 4) % 8 < 4) != ((i / 4) / 8 < 4);
            for (int k = 0; k < 3; ++k)
                pixels[i + k] = dark ? uint8_t(rgb[k] * 3 / 4) : rgb[k];
            pixels[i + 3] = 255;
        }
        auto image = std::make_unique<TextureImage>();
        image->width = image->height = 8;
        image->flags = IMAGE_NO_MIPMAPS;
        glGenTextures(1, &image->glName);
        glBindTexture(GL_TEXTURE_2D, image->glName);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        auto shader = std::make_unique<ShaderRecord>();
        std::snprintf(shader->name, sizeof shader->name, "%s", name);
        shader->width = shader->height = 64;
        shader->image = image.get();
        ShaderRecord* result = shader.get();
        m_byName[name] = result;
        m_images.push_back(std::move(image));
        m_shaders.push_back(std::move(shader));
        return result;
    }

    std::map<std::string, ShaderRecord*> m_byName;
    std::vector<std::unique_ptr<TextureImage>> m_images;
    std::vector<std::unique_ptr<ShaderRecord>> m_shaders;
};
