// Name index of the texture lists.
#include "dialogs/editing/TextureLists.h"

#include <cstring>

#include "core/TextEncoding.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MainWindow.h"

ShaderRecord* TexList_FindShader(const TextureLists* lists, const QString& name) {
    if (!lists) return nullptr;
    const auto found = lists->entries.constFind(name.toUpper());
    return found == lists->entries.constEnd() ? nullptr : found->shader;
}

ShaderRecord* TexList_CreateMissing(TextureLists* lists, const QString& name) {
    // Without lists (or a manager) nothing could own a new record: the shared one serves instead.
    TextureManager* m = g_mainWindow ? &g_mainWindow->textures : nullptr;
    if (!lists || !m) return Tex_CreateNoTexture();
    const QByteArray bytes = Text_ToWindows1251(name).left(63);
    // The manager's placeholder for the name, shared by every configuration's lists; its
    // reference goes to the package that defines the name, which takes it over in place.
    ShaderRecord* result = m->placeholders.value(bytes.toUpper(), nullptr);
    if (!result) {
        result = Tex_CreateShader(m, nullptr, bytes.constData(), SHADER_NO_SHIFT_WRAP);
        result->takeOverWord = 16;
        const ShaderRecord* noTexture = Tex_CreateNoTexture();
        result->width = noTexture->width;
        result->height = noTexture->height;
        result->image = noTexture->image;
        result->flags |= SHADER_PLACEHOLDER;
    }
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
