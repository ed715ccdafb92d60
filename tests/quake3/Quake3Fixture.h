// The Quake III plugin as the tests meet it: the shipped module from the build's plugins folder,
// loaded once per test program and started with the editor's engine-function table, and helpers
// to import and export through its kpImport/kpExport.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QLibrary>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <vector>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "document/MapWorld.h"
#include "document/WorldDump.h"
#include "core/Script.h"
#include "core/System.h"
#include "gamedata/PluginInterface.h"
#include "gamedata/PluginManager.h"
#include "mainwindow/MainWindow.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapPatch.h"
#include "map/PatchRecord.h"

// The shipped module as the plugin host loaded it into the test program's main window, which
// lives from the first test to the last (a global test environment).
struct Quake3Module {
    QLibrary* library = nullptr; // the host's handle
    bool loaded = false;
    QStringList loadLines;          // the console while the host loaded it
    kpMapFormatFn import = nullptr; // as registered with the host
    kpMapFormatFn exportMap = nullptr;

    QFunctionPointer resolve(const char* name) { return library ? library->resolve(name) : nullptr; }
};

inline QString Quake3_ModulePath() {
    return QStringLiteral(ZARV_BIN_DIR "/plugins/kpQuake3x64.so");
}

inline Quake3Module& Quake3() {
    static Quake3Module module;
    return module;
}

class cQuake3Environment : public ::testing::Environment {
public:
    void SetUp() override {
        window = std::make_unique<cMainWindow>();
        Quake3Module& m = Quake3();
        {
            cConsoleCapture capture;
            m.loaded = Plugin_Load(&window->plugins, Quake3_ModulePath());
            m.loadLines = capture.lines;
        }
        if (!m.loaded) return;
        m.library = window->plugins.libraries.last();
        for (const MapFormatEntry& entry : window->plugins.importFormats)
            if (entry.plugin == m.library && entry.id == 1) m.import = entry.function;
        for (const MapFormatEntry& entry : window->plugins.exportFormats)
            if (entry.plugin == m.library && entry.id == 1) m.exportMap = entry.function;
    }
    void TearDown() override { window.reset(); }
    std::unique_ptr<cMainWindow> window;
};

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
// one), every block's children sorted again by their text, for comparing two imports.
inline QByteArray Quake3_Dump(const MapWorld* world) {
    struct Node {
        QByteArray text;
        std::vector<Node> children;
        QByteArray flat() const {
            std::vector<QByteArray> parts;
            for (const Node& child : children)
                parts.push_back(child.flat());
            std::sort(parts.begin(), parts.end());
            QByteArray out = text + '\n';
            for (const QByteArray& part : parts)
                out += part;
            return out;
        }
    };
    Node root;
    std::vector<std::pair<int, Node*>> open{{-1, &root}};
    for (QByteArray line : Map_DumpWorld(world).split('\n')) {
        if (line.trimmed().isEmpty()) continue;
        int indent = 0;
        while (indent < line.size() && line[indent] == ' ')
            ++indent;
        if (line.mid(indent).startsWith("brush ")) {
            const int at = line.indexOf(" color ");
            if (at >= 0) {
                const int end = line.indexOf(' ', at + 7);
                line.remove(at, (end < 0 ? line.size() : end) - at);
            }
        }
        while (open.back().first >= indent)
            open.pop_back();
        open.back().second->children.push_back({line, {}});
        open.push_back({indent, &open.back().second->children.back()});
    }
    return root.flat();
}

// A fixture file of tests/quake3/data.
inline QByteArray Quake3_Fixture(const char* name) {
    QFile file(QStringLiteral(ZARV_TEST_DATA_DIR "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}
