#include "map/TextureBinding.h"

#include <cstring>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/TextEncoding.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "gamedata/TextureManager.h"
#include "map/MapObject.h"
#include "map/TextureInfo.h"

namespace {

QString nameOf(const char* name) {
    return Text_FromWindows1251(name, qsizetype(strnlen(name, sizeof(TextureInfo::name) - 1)));
}

// The match, or a placeholder named after the missing texture.
ShaderRecord* matchOrPlaceholder(ShaderRecord* match, const char* name) {
    if (match) return match;
    return GameCfg_CreateMissingShader(nameOf(name));
}

void updateBlended(const ShaderRecord* texture, uint32_t* flags) {
    const bool transparency = Sys_Settings().TextureTransparency;
    if (transparency && texture && (texture->flags & SHADER_TRANSPARENT))
        *flags |= RecordFlag::Blended;
    else
        *flags &= ~RecordFlag::Blended;
}

void take(ShaderRecord** texture, ShaderRecord* next, uint32_t* flags) {
    *texture = next;
    if (next) ++next->refCount;
    updateBlended(next, flags);
}

} // namespace

ShaderRecord* Texture_Find(const char* name) {
    if (!name) return nullptr;
    return GameCfg_FindShader(nameOf(name).toUpper());
}

void Texture_Release(ShaderRecord** texture) {
    if (*texture && (*texture)->refCount > 0) --(*texture)->refCount;
    *texture = nullptr;
}

void Texture_BindInfo(ShaderRecord** texture, TextureInfo* texInfo, uint32_t* flags,
                      const TextureInfo* block) {
    TextureInfo copy{};
    if (block) std::memcpy(&copy, block, sizeof(copy));
    copy.name[sizeof(copy.name) - 1] = '\0';
    ShaderRecord* match = Texture_Find(copy.name);
    const bool same = match && match == *texture;
    if (!same) Texture_Release(texture);
    *texInfo = copy;
    if (same) return;
    take(texture, matchOrPlaceholder(match, texInfo->name), flags);
}

void Texture_BindName(ShaderRecord** texture, TextureInfo* texInfo, uint32_t* flags, const char* name) {
    if (!name) name = "";
    ShaderRecord* match = Texture_Find(name);
    if (match && match == *texture) return;
    const int32_t mask = GameCfg_CurrentProfile()->contentMask;
    const int32_t oldContents = texInfo->contents;
    Texture_Release(texture);
    const size_t length = strnlen(name, kTextureNameMax);
    std::memset(texInfo->name, 0, sizeof(texInfo->name));
    std::memcpy(texInfo->name, name, length);
    ShaderRecord* bound = matchOrPlaceholder(match, texInfo->name);
    if (bound) {
        texInfo->surfaceFlags = bound->surfaceFlags;
        texInfo->contents = (mask & oldContents) | (~mask & bound->contents);
        texInfo->value = bound->value;
    }
    take(texture, bound, flags);
}
