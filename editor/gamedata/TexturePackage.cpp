// Texture packages and palettes of the texture manager.
#include "gamedata/TexturePackage.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/FileLookup.h"
#include "core/Platform.h"
#include "core/System.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/TextureManager.h"
#include "kstdlib/kstring.h"

namespace {

TextureManager* manager() {
    return GameData_Textures();
}

QString suffixOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix.isEmpty() ? QString() : "." + suffix;
}

// The folder below the configuration's mod (mod set) or game folder, '/'-separated; empty when the
// path is under neither.
QString folderInGame(const QString& path, bool* mod) {
    const GameFolders* config = Sys_FileLookupConfig();
    if (!config) return QString();
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    for (const bool inMod : {true, false}) {
        const QString root =
            QDir::cleanPath(QDir::fromNativeSeparators(inMod ? config->GameModdir : config->GameBasedir));
        if (root.isEmpty() || root == QLatin1String(".")) continue;
        if (!clean.startsWith(root + '/', Qt::CaseInsensitive)) continue;
        *mod = inMod;
        return clean.mid(root.size() + 1);
    }
    return QString();
}

struct PackageMember {
    QString path;
    qint64 size = 0; // of an archive member, as its format tells (0 when it cannot)
};

// The files of a directory package matching its filters, in name order (as the original platform
// listed them); filters ignore case. After the disk files come the archive members directly in
// the folder (game data often exists only inside archives), each name once; their sizes are asked
// for only with sizes (loading needs none).
QList<PackageMember> matchingFiles(const TexturePackage* package, bool sizes = false) {
    QList<PackageMember> members;
    QDir dir(package->path);
    const QStringList filters = package->filter.split(';', Qt::SkipEmptyParts);
    QSet<QString> seen;
    for (const QFileInfo& file :
         dir.entryInfoList(filters, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase)) {
        members.append({QDir::fromNativeSeparators(file.absoluteFilePath()), file.size()});
        seen.insert(file.fileName().toCaseFolded());
    }
    bool mod = false;
    const QString folder = folderInGame(package->path, &mod);
    ArchiveRegistry* archives = GameData_Archives();
    if (folder.isEmpty() || !archives) return members;
    QStringList names;
    for (const QString& filter : filters) {
        const QByteArray pattern = (folder + '/' + filter).toUtf8();
        for (const QString& member : Archive_ListFiles(archives, pattern.constData(), mod)) {
            // The pattern's '*' also crosses folders: only members directly in this one.
            const qsizetype slash = member.lastIndexOf('/');
            if (slash < 0 || member.left(slash).compare(folder, Qt::CaseInsensitive) != 0) continue;
            const QString name = member.mid(slash + 1);
            if (seen.contains(name.toCaseFolded())) continue;
            seen.insert(name.toCaseFolded());
            names.append(name);
        }
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    const QString base = QDir::cleanPath(QDir::fromNativeSeparators(package->path));
    for (const QString& name : std::as_const(names)) {
        const QString path = base + '/' + name;
        const int64_t size = sizes ? Archive_FileSize(archives, QFile::encodeName(path).constData()) : 0;
        members.append({path, std::max<int64_t>(size, 0)});
    }
    return members;
}

// Formats of the suffix; the plugin's own first, then (second pass) every plugin's.
template <typename Entry, typename Try>
bool tryFormats(QList<Entry>& formats, const QString& suffix, const void* plugin, bool* extensionMatched,
                Try&& attempt) {
    for (int pass = plugin ? 0 : 1; pass < 2; ++pass) {
        for (Entry& format : formats) {
            if (format.extension.compare(suffix, Qt::CaseInsensitive) != 0) continue;
            *extensionMatched = true;
            if (pass == 0 && format.library != plugin) continue;
            if (attempt(format)) return true;
        }
    }
    return false;
}

template <typename Entry> void handPalette(Entry& format, const uint8_t* palette) {
    if (format.setPalette && format.palette != palette) {
        format.setPalette(palette);
        format.palette = palette;
    }
}

void reportFailure(const QString& path, bool extensionMatched) {
    Sys_Error(extensionMatched ? "couldn't load textures from \"%s\" (unsupported format)"
                               : "couldn't load textures from \"%s\" (unknown format)",
              QFile::encodeName(path).constData());
}

bool isPackageFormat(const TextureManager* m, const QString& path) {
    const QString suffix = suffixOf(path);
    for (const PackageFormatEntry& format : m->packageFormats)
        if (!suffix.isEmpty() && format.extension.compare(suffix, Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool decodesLater(const TextureManager* m, const QString& path) {
    const QString suffix = suffixOf(path);
    for (const TextureFormatEntry& format : m->textureFormats)
        if (format.decodeTexture && format.extension.compare(suffix, Qt::CaseInsensitive) == 0) return true;
    return false;
}

} // namespace

char* Tex_LoadFileHead(const char* path, uint32_t maxBytes, uint32_t* size) {
    if (!path || !size || maxBytes == 0) return nullptr;
    // As the whole file would be found (Sys_LoadFile): on disk in any case, else in the archives.
    // Within a look-up pass the folders' answer is known already, and most heads are in archives.
    const QString onDisk = Plat_FindFileNoCase(QFile::decodeName(path));
    QFile file(onDisk);
    if (!onDisk.isEmpty() && file.open(QIODevice::ReadOnly)) {
        const QByteArray head = file.read(maxBytes);
        auto* block = static_cast<char*>(Sys_Alloc(uint64_t(head.size()) + 1));
        if (!block) return nullptr;
        std::memcpy(block, head.constData(), size_t(head.size()));
        block[head.size()] = 0;
        *size = uint32_t(head.size());
        return block;
    }
    void* data = nullptr;
    ArchiveRegistry* archives = GameData_Archives();
    if (!archives || !Archive_LoadFileHead(archives, path, maxBytes, &data, size)) return nullptr;
    return static_cast<char*>(data);
}

namespace {

// A package-format file's count through its format's kpGetPackageInfo; 0 when none answers.
int32_t packageFormatCount(TextureManager* m, const QString& path) {
    const QString suffix = suffixOf(path);
    for (const PackageFormatEntry& format : std::as_const(m->packageFormats)) {
        if (format.extension.compare(suffix, Qt::CaseInsensitive) != 0) continue;
        if (!format.getPackageInfo) return 0;
        int32_t info[8] = {};
        return format.getPackageInfo(format.id, QFile::encodeName(path).constData(), info) ? info[0] : 0;
    }
    return 0;
}

} // namespace

TexturePackage* Tex_AcquirePackage(const QString& path) {
    return Tex_AcquirePackage(manager(), path);
}

TexturePackage* Tex_AcquirePackage(TextureManager* m, const QString& path) {
    if (!m) return nullptr;
    if (TexturePackage* package = m->packages.value(path, nullptr)) {
        ++package->refCount;
        return package;
    }
    auto* package = new TexturePackage;
    const qsizetype split = path.lastIndexOf("::");
    package->path = split < 0 ? path : path.left(split);
    package->filter = split < 0 ? QString() : path.mid(split + 2);
    bool mod = false;
    const QFileInfo onDisk(package->path);
    if (onDisk.isDir() || (split >= 0 && !onDisk.exists() && !folderInGame(package->path, &mod).isEmpty())) {
        // A filtered folder of the game data may exist only inside its archives.
        package->kind = kPackageDirectory;
    } else {
        const QString suffix = suffixOf(package->path);
        package->kind = kPackageFile;
        for (const PackageFormatEntry& format : std::as_const(m->packageFormats)) {
            if (!suffix.isEmpty() && format.extension.compare(suffix, Qt::CaseInsensitive) == 0) {
                package->kind = suffix == ".wad" ? kPackageWad : kPackageFormat;
                break;
            }
        }
    }
    m->packages.insert(path, package);
    return package;
}

void Tex_ReleasePackage(const QString& path) {
    TextureManager* m = manager();
    if (!m) return;
    TexturePackage* package = m->packages.value(path, nullptr);
    if (!package || --package->refCount > 0) return;
    m->packages.remove(path);
    Tex_DeletePackage(m, package);
}

TexturePackage* Tex_FindPackage(const QString& path) {
    TextureManager* m = manager();
    return m ? m->packages.value(path, nullptr) : nullptr;
}

void Tex_ReleasePackageTextures(TextureManager* m, TexturePackage* package) {
    if (!package) return;
    const QList<ShaderRecord*> shaders = std::exchange(package->shaders, {});
    for (ShaderRecord* shader : shaders) {
        if (shader->package == package) shader->package = nullptr;
        Tex_ReleaseShader(m, shader, false);
    }
}

void Tex_DeletePackage(TextureManager* m, TexturePackage* package) {
    if (!package) return;
    if (package->loaded) Tex_ReleasePackageTextures(m, package);
    // Effects that joined without the package being marked loaded still point at it.
    for (ShaderRecord* shader : std::as_const(package->shaders))
        if (shader->package == package) shader->package = nullptr;
    delete package;
}

void Tex_FreePackages(TextureManager* m) {
    if (!m) return;
    for (TexturePackage* package : std::as_const(m->packages))
        Tex_DeletePackage(m, package);
    m->packages.clear();
}

TexturePackageInfo Tex_GetPackageInfo(TextureManager* m, TexturePackage* package) {
    if (!package) return {0, 0, 0};
    if (!package->infoCached && m) {
        package->size = 0;
        package->count = 0;
        if (package->kind == kPackageDirectory) {
            for (const PackageMember& file : matchingFiles(package, true)) {
                package->size += file.size;
                ++package->count;
            }
        } else {
            package->size = QFileInfo(package->path).size();
            package->count = package->kind == kPackageFile ? 1 : packageFormatCount(m, package->path);
        }
        package->infoCached = true;
    }
    return {package->kind, package->size, package->count};
}

QString Tex_PackageRelativePath(const TexturePackage* package, const QString& gameDir) {
    return package ? Sys_MakeRelativePath(gameDir, package->path) : QString();
}

bool Tex_LoadPackage(TexturePackage* package, const MapProfileRecord* profile, const QString& gameDir,
                     const QString& paletteName) {
    return Tex_LoadPackage(manager(), package, profile ? profile->owner : nullptr, gameDir, paletteName);
}

bool Tex_LoadPackage(TextureManager* m, TexturePackage* package, const void* plugin, const QString& gameDir,
                     const QString& paletteName) {
    if (!m || !package) return false;
    if (package->loaded) return true;
    // Events processed during uploads must not paint views half-built.
    struct SuspendDrawing {
        GameDataHost* host = GameData_Host();
        bool saved = host && host->holdDrawing(true);
        ~SuspendDrawing() {
            if (host) host->holdDrawing(saved);
        }
    } suspend;
    // Image names are looked up many times over in the same folders, most of them missing.
    const cLookupPass lookupPass;
    // Package members are files the manager can read again: their images wait for their first show.
    struct DeferDecoding {
        TextureManager* m;
        explicit DeferDecoding(TextureManager* manager) : m(manager) { set(true); }
        ~DeferDecoding() { set(false); }
        void set(bool on) const {
            m->deferringDecode = on;
            for (const TextureFormatEntry& format : std::as_const(m->textureFormats))
                if (format.decodeTexture && format.deferDecoding) format.deferDecoding(on ? 1 : 0);
        }
    } deferDecoding(m);
    const uint8_t* palette = paletteName.isEmpty() ? nullptr : Tex_FindPalette(m, paletteName);
    Sys_Printf("Loading textures from \"%s\"...", QFile::encodeName(package->path).constData());
    if (package->kind != kPackageDirectory) {
        const QString path = QDir::fromNativeSeparators(package->path);
        GameData_ShowProgress(QString("Precaching: %1").arg(Sys_MakeRelativePath(gameDir, path)));
        if (package->kind == kPackageFile) {
            package->shaders.reserve(1);
            package->loaded = Tex_LoadTextureFile(m, path, plugin, palette, package);
        } else {
            const TexturePackageInfo info = Tex_GetPackageInfo(m, package);
            if (info.count <= 0) {
                Sys_Warning("no supported texture formats found in \"%s\"",
                            QFile::encodeName(path).constData());
                package->loaded = true;
            } else {
                package->shaders.reserve(info.count);
                package->loaded = Tex_LoadPackageFile(m, path, plugin, palette, package);
            }
        }
        return package->loaded;
    }
    for (const PackageMember& file : matchingFiles(package)) {
        const QString& path = file.path;
        if (!Tex_TextureNameAccepted(m, path)) continue;
        GameData_ShowProgress(QString("Precaching: %1").arg(Sys_MakeRelativePath(gameDir, path)));
        // A member of a package format ("scripts::*.shader") loads as that package would.
        const bool packageFile = isPackageFormat(m, path);
        if (packageFile ? Tex_LoadPackageFile(m, path, plugin, palette, package)
                        : Tex_LoadTextureFile(m, path, plugin, palette, package))
            package->loaded = true;
    }
    return package->loaded;
}

bool Tex_TextureNameAccepted(const TextureManager* m, const QString& path) {
    if (!m) return true;
    const QString suffix = suffixOf(path);
    const QByteArray native = QFile::encodeName(path);
    for (const TextureFormatEntry& format : m->textureFormats) {
        if (format.extension.compare(suffix, Qt::CaseInsensitive) != 0 || !format.filterTextureName) continue;
        if (format.filterTextureName(format.id, native.constData()) == 0) return false;
    }
    return true;
}

bool Tex_LoadTextureFile(TextureManager* m, const QString& path, const void* plugin, const uint8_t* palette,
                         TexturePackage* package) {
    if (!m) return false;
    const QByteArray native = QFile::encodeName(path);
    if (ShaderRecord* shader = Tex_FindShaderByKey(m, native.constData())) {
        // Loaded by another package already: this one holds its own reference.
        ++shader->refCount;
        if (package) package->shaders.append(shader);
        return true;
    }
    uint32_t size = 0;
    // An image's header lies in its first bytes: reading (and inflating) the rest waits for its first
    // show; the format asks for more where its header lies further in.
    constexpr uint32_t kHeadBytes = 4096;
    char* data = m->deferringDecode && decodesLater(m, path)
                     ? Tex_LoadFileHead(native.constData(), kHeadBytes, &size)
                     : nullptr;
    if (!data) data = Sys_LoadFile(native.constData(), &size);
    if (!data) return false;
    m->loading = package;
    bool matched = false;
    const bool loaded =
        tryFormats(m->textureFormats, suffixOf(path), plugin, &matched, [&](TextureFormatEntry& f) {
            handPalette(f, palette);
            return f.loadTexture &&
                   f.loadTexture(f.id, native.constData(), reinterpret_cast<const uint8_t*>(data), size) != 0;
        });
    Sys_Free(data);
    if (!loaded) reportFailure(path, matched);
    m->loading = nullptr;
    return loaded;
}

bool Tex_LoadPackageFile(TextureManager* m, const QString& path, const void* plugin, const uint8_t* palette,
                         TexturePackage* package) {
    if (!m) return false;
    const QByteArray native = QFile::encodeName(path);
    m->loading = package;
    m->processEventsOnUpload = true;
    bool matched = false;
    const bool loaded =
        tryFormats(m->packageFormats, suffixOf(path), plugin, &matched, [&](PackageFormatEntry& f) {
            handPalette(f, palette);
            return f.loadPackage && f.loadPackage(f.id, native.constData()) != 0;
        });
    if (!loaded) reportFailure(path, matched);
    m->loading = nullptr;
    m->processEventsOnUpload = false;
    if (package && !package->unlitEffects.isEmpty()) {
        const QStringList& names = package->unlitEffects;
        Sys_Warning("%s: %i effects have no appropriate stages for vertex coloring mode (%s%s)",
                    native.constData(), int(names.size()),
                    names.mid(0, 4).join(QStringLiteral(", ")).toUtf8().constData(),
                    names.size() > 4 ? ", ..." : "");
        package->unlitEffects.clear();
    }
    return loaded;
}

void Tex_LinkNewShaders() {
    Tex_LinkNewShaders(manager());
}

void Tex_ClearChangedMarks() {
    Tex_ClearChangedMarks(manager());
}

// ---- Palettes ------------------------------------------------------------------------------

bool Tex_LoadPalette(const QString& gameDir, const QString& path) {
    return Tex_LoadPalette(manager(), gameDir, path);
}

bool Tex_LoadPalette(TextureManager* m, const QString& gameDir, const QString& path) {
    if (!m) return false;
    if (m->palettes.contains(path)) return true;
    GameData_ShowProgress(QString("Precaching: %1").arg(Sys_MakeRelativePath(gameDir, path)));
    // Stored before reading: a failed load leaves white entries, and is not repeated.
    QByteArray& table = m->palettes[path];
    table = QByteArray(kPaletteSize, char(0xFF));
    uint32_t size = 0;
    char* data = Sys_LoadFile(QFile::encodeName(path).constData(), &size);
    if (!data) return false;
    bool ok = false;
    const QByteArray shown = QFile::encodeName(path);
    if (size >= 8 && std::memcmp(data, "JASC-PAL", 8) == 0) {
        ok = Tex_ParseJascPalette(reinterpret_cast<uint8_t*>(table.data()), data, int32_t(size),
                                  shown.constData());
    } else if (size == kPaletteSize) {
        std::memcpy(table.data(), data, kPaletteSize);
        ok = true;
    } else {
        Sys_Warning("%s: palette must contain exactly 256 colors", shown.constData());
    }
    Sys_Free(data);
    return ok;
}

const uint8_t* Tex_FindPalette(const QString& path) {
    return Tex_FindPalette(manager(), path);
}

const uint8_t* Tex_FindPalette(const TextureManager* m, const QString& path) {
    if (!m) return nullptr;
    const auto found = m->palettes.constFind(path);
    return found == m->palettes.constEnd() ? nullptr : reinterpret_cast<const uint8_t*>(found->constData());
}

bool Tex_ParseJascPalette(uint8_t* out, const char* text, int32_t size, const char* fileName) {
    if (!out || !text) return false;
    const char* file = fileName ? fileName : "";
    const char* colon = fileName ? ": " : "";
    int position = 0;
    char line[1024];
    auto next = [&] { return K_MemFgets(text, size, &position, line, sizeof line) != nullptr; };
    if (!next() || std::strncmp(line, "JASC-PAL", 8) != 0) {
        Sys_Warning("%s%snot a JASC palette", file, colon);
        return false;
    }
    if (!next() || std::strncmp(line, "0100", 4) != 0) {
        line[std::strcspn(line, "\r\n")] = '\0';
        Sys_Warning("%s%sbad JASC palette version (%s)", file, colon, line);
        return false;
    }
    if (!next() || std::atoi(line) != 256) {
        Sys_Warning("%s%spalette must contain exactly 256 colors", file, colon);
        return false;
    }
    int values[3] = {0, 0, 0}; // fields missing from a line keep the previous line's
    for (int entry = 0; entry < 256; ++entry) {
        if (!next()) {
            Sys_Warning("%s%spalette is incomplete (stopped at color entry #%i)", file, colon, entry);
            return false;
        }
        // Decimal always: "010" is ten, not octal eight.
        std::sscanf(line, "%d %d %d", &values[0], &values[1], &values[2]);
        for (int c = 0; c < 3; ++c)
            out[entry * 3 + c] = static_cast<uint8_t>(std::clamp(values[c], 0, 255));
    }
    return true;
}
