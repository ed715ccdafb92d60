// Name index of the texture lists.
#include "dialogs/editing/TextureLists.h"

#include <cstring>

#include "core/TextEncoding.h"
#include "gamedata/TextureManager.h"

ShaderRecord* TexList_FindShader(const TextureLists* lists, const QString& name) {
    if (!lists) return nullptr;
    const auto found = lists->entries.constFind(name.toUpper());
    return found == lists->entries.constEnd() ? nullptr : found->shader;
}

ShaderRecord* TexList_CreateMissing(TextureLists* lists, const QString& name) {
    // Without lists nothing could own a new record: the shared one serves instead.
    if (!lists) return Tex_CreateNoTexture();
    auto record = std::make_unique<ShaderRecord>();
    const QByteArray bytes = Text_ToWindows1251(name);
    std::strncpy(record->name, bytes.constData(), sizeof record->name - 1);
    const ShaderRecord* noTexture = Tex_CreateNoTexture();
    record->width = noTexture->width;
    record->height = noTexture->height;
    record->image = noTexture->image;
    record->flags = SHADER_PLACEHOLDER;
    ShaderRecord* result = record.get();
    lists->placeholders.push_back(std::move(record));
    TextureListEntry& entry = lists->entries[name.toUpper()];
    entry.group = QString::fromLatin1(kMissingTexturesGroup);
    entry.package = nullptr;
    entry.shader = result;
    ++lists->missingCount;
    return result;
}

void TexList_RemoveUngrouped(TextureLists* lists) {
    if (!lists) return;
    for (auto it = lists->entries.begin(); it != lists->entries.end();) {
        if (it->group == QLatin1String(kMissingTexturesGroup))
            it = lists->entries.erase(it);
        else
            ++it;
    }
    lists->missingCount = 0;
}

void TexList_AddUngrouped(TextureLists* lists) {
    // No textures are loaded before the texture manager exists.
}

void TexList_Rebuild(TextureLists* lists, const GameConfig* config) {
    // Packages list no textures until they are read through the package formats.
    (void)lists, (void)config;
}
