#include "gamedata/SkyManager.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>
#include <cstring>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/MapProfile.h"
#include "gamedata/SkyMesh.h"
#include "gamedata/TextureManager.h"

namespace {

TextureManager* textures() {
    return GameData_Textures();
}

QString profileText(const char* field, size_t size) {
    return Text_FromWindows1251(field, qsizetype(strnlen(field, size)));
}

// The name without its trailing '_', first character upper-cased ("city_" shows as "City").
QString displayNameOf(const QString& name) {
    QString shown = name;
    while (shown.endsWith(QLatin1Char('_')))
        shown.chop(1);
    if (!shown.isEmpty()) shown[0] = shown[0].toUpper();
    return shown;
}

bool listsName(const SkyManager* manager, const GameConfig* config, const QString& name) {
    for (auto it = manager->lists.constFind(config); it != manager->lists.cend() && it.key() == config; ++it)
        if (it.value()->name.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

// The sky formats of the extension ("." included), the profile's plugin's first.
QList<const SkyFormatEntry*> formatsFor(const SkyManager* manager, const QString& extension,
                                        const MapProfileRecord* profile) {
    QList<const SkyFormatEntry*> own, others;
    for (const SkyFormatEntry& format : manager->formats) {
        if (format.extension.compare(extension, Qt::CaseInsensitive) != 0) continue;
        const bool ofProfile = profile && profile->owner && format.library == profile->owner;
        (ofProfile ? own : others).append(&format);
    }
    return own + others;
}

void consider(SkyManager* manager, const GameConfig* config, const MapProfileRecord* profile,
              const QString& path) {
    const QString key = path.toLower();
    if (SkyEntry* entry = manager->entries.value(key, nullptr)) {
        if (listsName(manager, config, entry->name)) return;
        ++entry->refCount;
        manager->lists.insert(config, entry);
        return;
    }
    if (SkyEntry* entry = Sky_LoadFromPath(manager, config, path, profile))
        manager->lists.insert(config, entry);
}

void scanDirectory(SkyManager* manager, const GameConfig* config, const MapProfileRecord* profile,
                   const QString& dir) {
    Sys_VerbosePrintf("Loading skies from: \"%s\"", QFile::encodeName(dir).constData());
    const QDir folder(dir);
    const QStringList names = folder.entryList(manager->filters, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : names)
        consider(manager, config, profile, folder.absoluteFilePath(name));
}

void scanArchives(SkyManager* manager, const GameConfig* config, const MapProfileRecord* profile, bool mod) {
    Sys_VerbosePrintf("Loading skies from archives (moddir = %s)", mod ? "true" : "false");
    ArchiveRegistry* archives = GameData_Archives();
    if (!archives) return;
    for (const QString& filter : std::as_const(manager->filters)) {
        const QByteArray pattern = QFile::encodeName(manager->skyFolder + QLatin1Char('/') + filter);
        const QStringList names = Archive_ListFiles(archives, pattern.constData(), mod);
        for (const QString& name : names)
            consider(manager, config, profile, manager->baseDir + QLatin1Char('/') + name);
    }
}

} // namespace

SkyManager::SkyManager() = default;

SkyManager::~SkyManager() {
    // Entries left here were not released through the texture manager; their memory goes.
    for (SkyEntry* entry : std::as_const(entries))
        delete entry;
}

SkyManager* Sky_Manager() {
    GameDataHost* host = GameData_Host();
    return host ? &host->skies() : nullptr;
}

void Sky_LoadForConfig(SkyManager* manager, GameConfig* config) {
    if (!manager || !config) return;
    GameConfigManager* configs = GameCfg_Manager();
    const MapProfileRecord* profile =
        configs ? GameCfg_FindProfile(configs, Text_ToWindows1251(config->MapProfile).constData()) : nullptr;
    if (!profile) return;
    const QString extensions = profileText(profile->skyExtensions, sizeof profile->skyExtensions);
    const QString suffixText = profileText(profile->skySuffixes, sizeof profile->skySuffixes);
    const QString folder = profileText(profile->skyFolder, sizeof profile->skyFolder);
    if (extensions.isEmpty() || suffixText.isEmpty() || folder.isEmpty()) return;

    manager->skyFolder = folder;
    manager->suffixes = suffixText.split(QLatin1Char(';'));
    if (manager->suffixes.size() != 6) {
        Sys_Error("invalid sky suffix list \"%s\" in profile \"%s\"!",
                  Text_ToWindows1251(suffixText).constData(), profile->name);
        return;
    }
    manager->filters.clear();
    for (QString filter : extensions.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        manager->filters.append(
            filter.replace(QLatin1Char('.'), QLatin1Char('*') + manager->suffixes[0] + QLatin1Char('.')));

    for (const QString* dir : {&config->GameModdir, &config->GameBasedir}) {
        if (dir->isEmpty()) continue;
        manager->baseDir = *dir;
        scanDirectory(manager, config, profile, *dir + QLatin1Char('/') + folder);
    }
    manager->baseDir = config->GameModdir;
    scanArchives(manager, config, profile, true);
    manager->baseDir = config->GameBasedir;
    scanArchives(manager, config, profile, false);
}

SkyEntry* Sky_LoadFromPath(SkyManager* manager, const GameConfig* config, const QString& path,
                           const MapProfileRecord* profile) {
    if (!manager || manager->suffixes.size() != 6) return nullptr;
    // Folder and suffix are profile text, not patterns: escaped, so "." or "+" in them match as such.
    const QRegularExpression pattern(QStringLiteral("^(.*%1[/\\\\])(.*)%2\\.(.*)$")
                                         .arg(QRegularExpression::escape(manager->skyFolder),
                                              QRegularExpression::escape(manager->suffixes[0])),
                                     QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(path);
    if (!match.hasMatch()) return nullptr;
    const QString dir = match.captured(1);
    const QString name = match.captured(2);
    const QString extension = match.captured(3);
    if (listsName(manager, config, name)) return nullptr;
    const QList<const SkyFormatEntry*> formats = formatsFor(manager, QLatin1Char('.') + extension, profile);
    if (formats.isEmpty()) return nullptr;
    QStringList faces;
    for (const QString& suffix : std::as_const(manager->suffixes)) {
        faces.append(dir + name + suffix + QLatin1Char('.') + extension);
        if (!Sys_FileExists(QFile::encodeName(faces.last()).constData())) return nullptr;
    }

    auto* shader = new ShaderRecord{};
    shader->refCount = 1;
    shader->opacity = 1.0f;
    shader->category = EFFECT_SKY_BOX;
    const QByteArray shaderName = Text_ToWindows1251(name).left(int(sizeof shader->name) - 1);
    std::memcpy(shader->name, shaderName.constData(), size_t(shaderName.size()));
    GameData_ShowProgress(
        QStringLiteral("Precaching: %1")
            .arg(Sys_MakeRelativePath(manager->baseDir, dir + name + QLatin1Char('.') + extension)));

    for (int face = 0; face < 6; ++face) {
        uint32_t size = 0;
        char* data = Sys_LoadFile(QFile::encodeName(faces[face]).constData(), &size);
        if (!data) continue;
        for (const SkyFormatEntry* format : formats)
            if (format->loadSky &&
                format->loadSky(format->id, reinterpret_cast<const uint8_t*>(data), size, shader, face))
                break;
        Sys_Free(data);
    }
    for (TextureImage*& image : shader->box)
        if (!image) image = Plugin_WhiteImage();

    auto* entry = new SkyEntry;
    entry->name = name;
    entry->displayName = displayNameOf(name);
    entry->key = path.toLower();
    entry->refCount = 1;
    entry->shader = shader;
    manager->entries.insert(entry->key, entry);
    return entry;
}

void Sky_ReleaseForConfig(SkyManager* manager, const GameConfig* config) {
    if (!manager || !config) return;
    const QList<SkyEntry*> listed = manager->lists.values(config);
    manager->lists.remove(config);
    for (SkyEntry* entry : listed)
        if (--entry->refCount <= 0) Sky_Free(manager, entry, true);
}

void Sky_CopyListForConfig(SkyManager* manager, const GameConfig* from, const GameConfig* to) {
    if (!manager || !from || !to || from == to) return;
    const QList<SkyEntry*> listed = manager->lists.values(from);
    // values() gives the newest first: inserting from the back keeps the copy in the same order.
    for (auto it = listed.crbegin(); it != listed.crend(); ++it) {
        if (listsName(manager, to, (*it)->name)) continue;
        ++(*it)->refCount;
        manager->lists.insert(to, *it);
    }
}

SkyEntry* Sky_FindForConfig(const SkyManager* manager, const GameConfig* config, const QString& name) {
    if (!manager || !config || name.isEmpty()) return nullptr;
    for (auto it = manager->lists.constFind(config); it != manager->lists.cend() && it.key() == config; ++it)
        if (it.value()->name.compare(name, Qt::CaseInsensitive) == 0) return it.value();
    return nullptr;
}

QList<const SkyEntry*> Sky_SortedForConfig(const SkyManager* manager, const GameConfig* config) {
    QList<const SkyEntry*> sorted;
    if (manager && config)
        for (auto it = manager->lists.constFind(config); it != manager->lists.cend() && it.key() == config;
             ++it)
            sorted.append(it.value());
    std::sort(sorted.begin(), sorted.end(),
              [](const SkyEntry* a, const SkyEntry* b) { return a->displayName < b->displayName; });
    return sorted;
}

void Sky_Free(SkyManager* manager, SkyEntry* entry, bool unlink) {
    if (!entry) return;
    if (ShaderRecord* shader = entry->shader) {
        // The record is the sky's own: whatever a plugin did to its count, this is the last holder.
        shader->refCount = 1;
        if (TextureManager* m = textures())
            Tex_ReleaseShader(m, shader, false);
        else
            delete shader;
    }
    if (unlink && manager) {
        const auto found = manager->entries.find(entry->key);
        if (found != manager->entries.end() && found.value() == entry) manager->entries.erase(found);
    }
    delete entry;
}

void Sky_FreeAll(SkyManager* manager) {
    if (!manager) return;
    for (SkyEntry* entry : std::as_const(manager->entries))
        Sky_Free(manager, entry, false);
    manager->entries.clear();
    manager->lists.clear();
    manager->baseDir.clear();
    manager->skyFolder.clear();
    manager->filters.clear();
    manager->suffixes.clear();
}
