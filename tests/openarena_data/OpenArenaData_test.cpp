// Real Quake III content, when present: every PK3 of Debian's openarena-data opened through the
// archive registry and the shipped plugin, every member loaded (CRC-32 checked) and every ".tga"
// and ".jpg" decoded into a texture. Prints the counts and each refusal; fails on an archive that
// does not open (a crash or sanitizer report fails it anyway). Data: ZARV_OPENARENA_DIR (a folder
// of PK3s, searched with its sub-folders), else the folders `dpkg -L openarena-data` lists PK3s
// in; skipped when neither gives any.
#include <QDir>
#include <cstdio>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "OpenArenaData.h"
#include "core/System.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginManager.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MainWindow.h"

namespace {

const TextureFormatEntry* textureFormat(const QString& name) {
    for (const TextureFormatEntry& f : g_mainWindow->textures.textureFormats)
        if (name.endsWith(f.extension, Qt::CaseInsensitive)) return &f;
    return nullptr;
}

TEST(OpenArenaData, EveryArchiveOpensAndEveryMemberLoads) {
    const QStringList folders = OpenArena_DataFolders();
    if (folders.isEmpty())
        GTEST_SKIP() << "no openarena-data (set ZARV_OPENARENA_DIR or install the package)";
    cConsoleCapture console;
    ASSERT_NO_FATAL_FAILURE(OpenArena_LoadPlugin());
    ArchiveRegistry& registry = g_mainWindow->archives;

    int archives = 0, members = 0, loaded = 0, images = 0, decoded = 0;
    qint64 bytes = 0;
    QStringList refusals;
    for (const QString& folder : folders) {
        GameConfig config;
        config.MapProfile = "kpQuake3";
        config.GameBasedir = folder;
        console.clear();
        Archive_LoadForConfig(&registry, &config);
        const QStringList files = QDir(folder).entryList({"*.pk3"}, QDir::Files, QDir::Name);
        for (const QString& file : files) {
            const ArchiveHandle* handle = registry.open.value(QDir(folder).filePath(file), nullptr);
            EXPECT_TRUE(handle && handle->loaded)
                << "not opened: " << QDir(folder).filePath(file).toStdString();
        }
        for (ArchiveHandle* h : registry.baseArchives.values(&config)) {
            ++archives;
            char** names = nullptr;
            if (h->listFiles(h->formatId, h, "*", &names) <= 0) continue;
            for (char** name = names; *name; ++name) {
                ++members;
                void* data = nullptr;
                const int32_t size = h->loadFile(h->formatId, h, *name, &data);
                if (size > 0) {
                    ++loaded;
                    bytes += size;
                    if (const TextureFormatEntry* format = textureFormat(*name)) {
                        ++images;
                        const QByteArray key = QFile::encodeName(QDir(folder).filePath(*name));
                        if (format->loadTexture(format->id, key.constData(),
                                                static_cast<const uint8_t*>(data), uint32_t(size))) {
                            ShaderRecord* effect = g_mainWindow->textures.effects.value(key);
                            if (effect && effect->image) ++decoded;
                            Plugin_ReleaseShader(effect);
                        }
                    }
                    Sys_Free(data);
                }
                Sys_Free(*name);
            }
            Sys_Free(names);
        }
        for (const QString& line : console.lines)
            if (line.contains("Warning")) refusals << line;
        Archive_ReleaseByOwner(&registry, &config);
    }
    EXPECT_TRUE(g_mainWindow->textures.effects.isEmpty());
    EXPECT_TRUE(g_mainWindow->textures.images.isEmpty());
    std::printf("openarena-data: %d folders, %d archives, %d members, %d loaded (%lld bytes), "
                "%d images, %d decoded, %d warnings\n",
                int(folders.size()), archives, members, loaded, static_cast<long long>(bytes), images,
                decoded, int(refusals.size()));
    for (const QString& line : refusals)
        std::printf("  %s\n", qPrintable(line));
    EXPECT_GT(archives, 0);
}

} // namespace
