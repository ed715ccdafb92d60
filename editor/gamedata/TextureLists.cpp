// The texture lists: name index, groups and recent names.
#include "gamedata/TextureLists.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"

namespace {
// ShaderRecord::flags read only here.
constexpr int32_t SHADER_NEVER_MISSING = 0x2000; // never listed as missing
} // namespace

ShaderRecord* TexList_FindShader(const TextureLists* lists, const QString& name) {
    if (!lists) return nullptr;
    const QString key = name.toUpper();
    const auto found = lists->entries.constFind(key);
    if (found != lists->entries.constEnd()) return found->shader;
    return lists->unlisted.value(key, nullptr);
}

ShaderRecord* TexList_CreateMissing(TextureLists* lists, const QString& name) {
    // Without lists (or a manager) nothing could own a new record: the shared one serves instead.
    TextureManager* m = GameData_Textures();
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
    TextureManager* m = GameData_Textures();
    if (!lists || !m) return;
    for (ShaderRecord* shader : std::as_const(m->effects)) {
        if (shader->flags & (SHADER_NO_CARVE | SHADER_NEVER_MISSING)) continue;
        const QString key = Text_FromWindows1251(QByteArray(shader->name)).toUpper();
        if (lists->entries.contains(key)) continue;
        lists->entries.insert(key, {QString::fromLatin1(kMissingTexturesGroup), nullptr, shader});
        ++lists->missingCount;
    }
}

void TexList_Clear(TextureLists* lists) {
    if (!lists) return;
    lists->groupPackages.clear();
    lists->entries.clear();
    lists->unlisted.clear();
    lists->groups.clear();
    lists->recent.clear();
    lists->recentShown = 0;
}

void TexList_Destroy(TextureLists* lists) {
    if (!lists) return;
    TexList_Clear(lists);
    lists->groupPackages = {};
    lists->entries = {};
    lists->unlisted = {};
    lists->groups = {};
    lists->recent = {};
}

QIcon TexList_GroupIcon(const QString& group, const TexturePackage* package) {
    enum { All, Effects, Wad, Folder };
    int icon = All;
    if (!group.startsWith(u'(') && package) {
        if (package->kind == kPackageFormat)
            icon = Effects;
        else if (package->kind == kPackageWad)
            icon = Wad;
        else if (package->kind != kPackageFile)
            icon = Folder;
    }
    // Made once: an icon made from a file reads the image to learn its sizes, which costs more
    // than the rest of a rebuild. Kept to the end of the process (the icons are shared copies).
    static const QIcon* const icons =
        new QIcon[4]{QIcon(QStringLiteral(":/qrc/l_all.png")), QIcon(QStringLiteral(":/qrc/l_shd.png")),
                     QIcon(QStringLiteral(":/qrc/l_wad.png")), QIcon(QStringLiteral(":/qrc/l_dir.png"))};
    return icons[icon];
}

namespace {

// The index key of a record's name: upper-cased text; plain ASCII names skip the codec.
QString keyOf(const char* name) {
    const qsizetype length = qsizetype(strnlen(name, sizeof ShaderRecord::name));
    bool ascii = true;
    for (qsizetype i = 0; i < length && ascii; ++i)
        ascii = static_cast<unsigned char>(name[i]) < 0x80;
    return (ascii ? QString::fromLatin1(name, length) : Text_FromWindows1251(name, length)).toUpper();
}

} // namespace

void TexList_Rebuild(TextureLists* lists, const GameConfig* config) {
    TexList_Clear(lists);
    TextureManager* m = GameData_Textures();
    if (!lists || !config || !m) return;
    const bool hideIncomplete = Sys_Settings().HideIncompleteShaders;
    for (const QString& path : config->Parcel) {
        TexturePackage* package = Tex_FindPackage(path);
        if (!package || Tex_GetPackageInfo(m, package).count == 0) continue;
        const QString group = package->kind == kPackageFile
                                  ? QString::fromLatin1(kMiscellaneousGroup)
                                  : Sys_MakeRelativePath(config->GameBasedir, package->path);
        lists->groupPackages.insert(QString::fromLatin1(kAllTexturesGroup), package);
        lists->groupPackages.insert(group, package);
        for (ShaderRecord* shader : std::as_const(package->shaders)) {
            if (shader->flags & SHADER_NO_CARVE) continue;
            const QString key = keyOf(shader->name);
            // Hidden from view only: a map naming it still gets the defined effect.
            if ((shader->flags & SHADER_STAGE_WITHOUT_IMAGE) && hideIncomplete) {
                if (!lists->unlisted.contains(key)) lists->unlisted.insert(key, shader);
                continue;
            }
            // A name an earlier package listed keeps its first entry (one search: the hint).
            const auto at = lists->entries.lowerBound(key);
            if (at == lists->entries.end() || at.key() != key)
                lists->entries.insert(at, key, {group, package, shader});
        }
    }
    for (auto it = lists->groupPackages.constBegin(); it != lists->groupPackages.constEnd(); ++it)
        lists->groups.append({it.key(), TexList_GroupIcon(it.key(), it.value())});
}

bool TexList_AddRecent(TextureLists* lists, const QString& name) {
    if (!lists) return false;
    const qsizetype at = lists->recent.indexOf(name);
    if (at == 0) return false;
    if (at > 0)
        lists->recent.removeAt(at);
    else if (lists->recent.size() >= kRecentTextureCount)
        lists->recent.removeLast();
    lists->recent.prepend(name);
    return true;
}

QString TexList_FindGroup(const TextureLists* lists, const QString& name) {
    if (lists) {
        const auto found = lists->entries.constFind(name.toUpper());
        if (found != lists->entries.constEnd() && !found->group.isEmpty()) return found->group;
    }
    return QString::fromLatin1(kAllTexturesGroup);
}

QString TexList_FindDecalGroup(const TextureLists* lists) {
    if (lists)
        for (const TextureGroupItem& group : lists->groups)
            if (group.name.contains(QLatin1String("decals"))) return group.name;
    return QString::fromLatin1(kAllTexturesGroup);
}
