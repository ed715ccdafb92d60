// Real Quake III models, when present: every ".md3" and ".ase" member of every PK3 of the
// openarena-data folders through the shipped plugin's model exports, as the host registered them:
// loaded, asked for bounds under each flag, drawn into the recording engine table and unloaded.
// Prints each refusal with its message and the totals; a crash or sanitizer report fails it.
#include <QDir>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "ModelRecorder.h"
#include "OpenArenaData.h"
#include "core/System.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginManager.h"
#include "mainwindow/MainWindow.h"

namespace {

TEST(OpenArenaData, EveryModelLoadsMeasuresDrawsAndUnloads) {
    const QStringList folders = OpenArena_DataFolders();
    if (folders.isEmpty())
        GTEST_SKIP() << "no openarena-data (set ZARV_OPENARENA_DIR or install the package)";
    cConsoleCapture console;
    ASSERT_NO_FATAL_FAILURE(OpenArena_LoadPlugin());
    auto kpMain = reinterpret_cast<kpMainFn>(g_mainWindow->plugins.libraries.last()->resolve("kpMain"));
    ASSERT_NE(kpMain, nullptr);
    ASSERT_EQ(kpMain(ModelRecorder::Table(), KP_INTERFACE_VERSION), 0);
    ArchiveRegistry& registry = g_mainWindow->archives;
    int counts[2] = {}, loadedCounts[2] = {};
    QStringList refusals;
    for (const QString& folder : folders) {
        GameConfig config;
        config.MapProfile = "kpQuake3";
        config.GameBasedir = folder;
        g_mainWindow->gameConfigs.makeCurrent(&config);
        Archive_LoadForConfig(&registry, &config);
        for (ArchiveHandle* h : registry.baseArchives.values(&config)) {
            char** names = nullptr;
            if (h->listFiles(h->formatId, h, "*", &names) <= 0) continue;
            for (char** name = names; *name; ++name) {
                const QString member = QString::fromUtf8(*name);
                const ModelFormatEntry* format = nullptr;
                for (const ModelFormatEntry& f : g_mainWindow->models.modelFormats)
                    if (f.loadModel && member.endsWith(f.extension, Qt::CaseInsensitive)) format = &f;
                const int kind = member.endsWith(".md3", Qt::CaseInsensitive)   ? 0
                                 : member.endsWith(".ase", Qt::CaseInsensitive) ? 1
                                                                                : -1;
                void* data = nullptr;
                const int32_t size = kind >= 0 && format ? h->loadFile(h->formatId, h, *name, &data) : 0;
                if (size > 0) {
                    ++counts[kind];
                    console.clear();
                    ModelCacheEntry entry{};
                    entry.formatId = format->id;
                    if (format->loadModel(format->id, *name, static_cast<const uint8_t*>(data),
                                          uint32_t(size), &entry)) {
                        ++loadedCounts[kind];
                        float mins[3], maxs[3];
                        for (int32_t flags : {0, 0x10, 0x20}) {
                            EXPECT_EQ(format->getBounds(format->id, mins, maxs, flags, &entry, nullptr), 1);
                            for (int i = 0; i < 3; ++i)
                                EXPECT_TRUE(std::isfinite(mins[i]) && std::isfinite(maxs[i])) << *name;
                        }
                        for (int32_t flags : {0x1, 0x0, 0x2}) {
                            ModelRecorder::Get().clear();
                            EXPECT_EQ(format->render(format->id, flags, &entry, nullptr), 1);
                        }
                        ModelRecorder::Get().clear();
                        EXPECT_EQ(format->unloadModel(format->id, &entry), 1);
                    } else {
                        refusals << member + ": " + console.lines.join(" | ");
                    }
                }
                Sys_Free(data);
                Sys_Free(*name);
            }
            Sys_Free(names);
        }
        Archive_ReleaseByOwner(&registry, &config);
        g_mainWindow->gameConfigs.makeCurrent(nullptr);
    }
    kpMain(Plugin_EngineFuncs(), KP_INTERFACE_VERSION);
    std::printf("openarena-data models: %d md3 (%d loaded), %d ase (%d loaded), %d refused\n", counts[0],
                loadedCounts[0], counts[1], loadedCounts[1], int(refusals.size()));
    for (const QString& line : refusals)
        std::printf("  %s\n", qPrintable(line));
    EXPECT_GT(counts[0], 0);
}

} // namespace
