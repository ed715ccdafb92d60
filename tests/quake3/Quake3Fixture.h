// The Quake III plugin as the tests meet it: the shipped module from the build's plugins folder,
// loaded once per test program and started with the editor's engine-function table, and helpers
// to import and export through its kpImport/kpExport.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QLibrary>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "document/MapWorld.h"
#include "document/WorldDump.h"
#include "core/Script.h"
#include "core/System.h"
#include "gamedata/PluginInterface.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapPatch.h"
#include "map/PatchRecord.h"

struct Quake3Module {
    QLibrary library;
    EngineFuncs engine{};
    int32_t mainResult = -1;
    kpImportFn import = nullptr;
    kpExportFn exportMap = nullptr;

    QFunctionPointer resolve(const char* name) { return library.resolve(name); }
};

inline QString Quake3_ModulePath() {
    return QStringLiteral(ZARV_BIN_DIR "/plugins/kpQuake3x64.so");
}

// The editor's table: every slot the plugin calls, filled with the editor's functions.
inline const EngineFuncs& Quake3_EngineTable() {
    static const EngineFuncs table = [] {
        EngineFuncs t{};
        t.size = KP_ENGINE_FUNCS_SIZE;
        t.Sys_Printf = Sys_Printf;
        t.Sys_Warning = Sys_Warning;
        t.Sys_Error = Sys_Error;
        t.Sys_Alloc = Sys_Alloc;
        t.Sys_Free = Sys_Free;
        t.Sys_StrDup = Sys_StrDup;
        t.Script_LoadFile = Script_LoadFile;
        t.Script_Token = Script_Token;
        t.Script_Line = Script_Line;
        t.Script_Error = Script_Error;
        t.Script_HasError = Script_HasError;
        t.Script_ClearError = Script_ClearError;
        t.Script_GetToken = Script_GetToken;
        t.Script_UngetToken = Script_UngetToken;
        t.Script_TokenAvailable = Script_TokenAvailable;
        t.Script_Close = Script_Close;
        t.Sys_NativePath = Sys_NativePath;
        t.Math_SnapFloats = Math_SnapFloats;
        t.Sys_SnapVector = Sys_SnapVector;
        t.App_GetVersionString = [] { return "Z.A.R.V. 1.1"; };
        t.Entity_Create = Entity_Create;
        t.Entity_Update = Entity_Update;
        t.Brush_Create = Brush_Create;
        t.Brush_Delete = Brush_Delete;
        t.Face_Create = Face_Create;
        t.Patch_Create = [](BrushRecord* b, const TextureInfo* i, int32_t c, int32_t r) {
            return Patch_Create(b, i, c, r);
        };
        return t;
    }();
    return table;
}

// Loaded and started once; later calls return the same module.
inline Quake3Module& Quake3() {
    static Quake3Module* module = [] {
        auto* m = new Quake3Module;
        m->library.setFileName(Quake3_ModulePath());
        m->library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (!m->library.load()) {
            ADD_FAILURE() << m->library.errorString().toStdString();
            return m;
        }
        auto main = reinterpret_cast<kpMainFn>(m->resolve("kpMain"));
        m->import = reinterpret_cast<kpImportFn>(m->resolve("kpImport"));
        m->exportMap = reinterpret_cast<kpExportFn>(m->resolve("kpExport"));
        m->engine = Quake3_EngineTable();
        m->mainResult = main ? main(&m->engine, KP_INTERFACE_VERSION) : -1;
        return m;
    }();
    return *module;
}

// A world of its own (no document), destroyed with the object.
class cImportedWorld {
public:
    cImportedWorld() { Map_InitWorld(&world, nullptr); }
    ~cImportedWorld() { Map_DestroyWorld(&world); }
    cImportedWorld(const cImportedWorld&) = delete;
    cImportedWorld& operator=(const cImportedWorld&) = delete;
    MapHandle handle() { return Map_Handle(&world); }
    MapWorld world{};
};

// Files in a temporary folder.
class cQuake3Files {
public:
    QString path(const QString& name) const { return dir.filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }
    QByteArray read(const QString& name) const {
        QFile file(name.startsWith('/') ? name : path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

// kpImport(1, path) into the world; the plugin's result.
inline int32_t Quake3_Import(const QString& path, MapWorld* world) {
    const QByteArray name = QFile::encodeName(path);
    return Quake3().import ? Quake3().import(1, name.constData(), Map_Handle(world)) : -1;
}
// kpExport(1, path) of the world; the plugin's result.
inline int32_t Quake3_Export(const QString& path, MapWorld* world) {
    const QByteArray name = QFile::encodeName(path);
    return Quake3().exportMap ? Quake3().exportMap(1, name.constData(), Map_Handle(world)) : -1;
}

// Counts of what a world holds.
struct WorldCounts {
    int entities = 0;
    int brushes = 0;
    int faces = 0;
    int patches = 0;
    bool operator==(const WorldCounts&) const = default;
};
inline WorldCounts Quake3_Count(const MapWorld* world) {
    WorldCounts c;
    for (const EntityRecord* e = world->entities; e; e = e->next) {
        ++c.entities;
        for (const BrushRecord* b = e->firstBrush; b; b = b->next) {
            ++c.brushes;
            if (b->patch) ++c.patches;
            for (const FaceRecord* f = b->firstFace; f; f = f->next)
                ++c.faces;
        }
    }
    return c;
}
inline void PrintTo(const WorldCounts& c, std::ostream* os) {
    *os << "{entities " << c.entities << ", brushes " << c.brushes << ", faces " << c.faces << ", patches "
        << c.patches << "}";
}

// The world's canonical dump without the brushes' display colours (a new brush gets a random
// one), for comparing two imports of the same text.
inline QByteArray Quake3_Dump(const MapWorld* world) {
    QByteArray dump = Map_DumpWorld(world);
    QList<QByteArray> lines = dump.split('\n');
    for (QByteArray& line : lines)
        if (line.trimmed().startsWith("brush ")) {
            const int at = line.indexOf(" color ");
            if (at >= 0) {
                const int end = line.indexOf(' ', at + 7);
                line.remove(at, (end < 0 ? line.size() : end) - at);
            }
        }
    return lines.join('\n');
}

// A fixture file of tests/quake3/data.
inline QByteArray Quake3_Fixture(const char* name) {
    QFile file(QStringLiteral(ZARV_TEST_DATA_DIR "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}
