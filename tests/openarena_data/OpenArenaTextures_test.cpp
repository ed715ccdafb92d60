// Real Quake III content, when present: each data folder of Debian's openarena-data as the game
// folder of a configuration, its PK3s opened, every "scripts/*.shader" in them loaded as a package
// through the shipped plugin and every image its effects name looked up. Prints scripts, effects,
// warnings (file:line), images loaded and the effects whose images are missing from the data; fails on a
// count mismatch or a named image that the data holds but that does not load (a crash or sanitizer report
// fails it anyway). Skipped without the data (see OpenArenaData.h).
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "OpenArenaData.h"
#include "core/System.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginManager.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"
#include "mainwindow/MainWindow.h"

namespace {

QString plainText(QString html) {
    html.remove(QRegularExpression("<[^>]*>"));
    return html.replace("&quot;", "\"").replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&");
}

TEST(OpenArenaData, EveryEffectScriptLoadsWithItsImages) {
    const QStringList folders = OpenArena_DataFolders();
    if (folders.isEmpty())
        GTEST_SKIP() << "no openarena-data (set ZARV_OPENARENA_DIR or install the package)";
    const QString plugin = QStringLiteral(ZARV_BIN_DIR) + "/plugins/kpQuake3x64.so";
    ASSERT_TRUE(QFileInfo::exists(plugin)) << "the Quake III plugin is not built";
    cConsoleCapture console;
    if (g_mainWindow->archives.formats.isEmpty()) ASSERT_TRUE(Plugin_Load(&g_mainWindow->plugins, plugin));
    ArchiveRegistry& registry = g_mainWindow->archives;
    TextureManager& m = g_mainWindow->textures;

    int scripts = 0, counted = 0, effects = 0, imagesLoaded = 0;
    QStringList warnings, missing, unloadable;
    for (const QString& folder : folders) {
        GameConfig config;
        config.MapProfile = "kpQuake3";
        config.GameBasedir = folder;
        Archive_LoadForConfig(&registry, &config);
        g_mainWindow->gameConfigs.makeCurrent(&config);
        QStringList names = Archive_ListFiles(&registry, "scripts/*.shader", false);
        names.sort(Qt::CaseInsensitive);
        for (const QString& name : std::as_const(names)) {
            ++scripts;
            const QString path = QDir(folder).filePath(name);
            TexturePackage* package = Tex_AcquirePackage(&m, path);
            EXPECT_EQ(package->kind, kPackageFormat) << path.toStdString();
            const int32_t count = Tex_GetPackageInfo(&m, package).count;
            counted += count;
            console.clear();
            EXPECT_TRUE(Tex_LoadPackage(&m, package, nullptr, folder, QString())) << path.toStdString();
            // A name defined again by a later script moves there: never more than counted.
            EXPECT_LE(package->shaders.size(), count) << path.toStdString();
            for (const QString& html : std::as_const(console.lines)) {
                const QString line = plainText(html).trimmed();
                // Files the data lists but that cannot be read.
                if (line.startsWith("can't open")) {
                    const QRegularExpressionMatch quoted = QRegularExpression("\"([^\"]*)\"").match(line);
                    const QByteArray file = quoted.captured(1).toUtf8();
                    if (Sys_FileExists(file.constData()))
                        unloadable << file;
                    else
                        missing << QDir(folder).relativeFilePath(QString::fromUtf8(file));
                } else if (line.contains("Line ") || line.contains("WARNING", Qt::CaseInsensitive) ||
                           line.contains("ERROR", Qt::CaseInsensitive)) {
                    warnings << name + ": " + line;
                }
            }
        }
        for (TexturePackage* package : std::as_const(m.packages)) {
            effects += int(package->shaders.size());
            // Neither an editor image nor a stage image found: what the effect names is missing.
            for (const ShaderRecord* effect : std::as_const(package->shaders))
                if (!effect->image) missing << QString::fromUtf8(effect->name) + " (no image)";
        }
        imagesLoaded += int(m.images.size());
        Tex_FreePackages(&m);
        g_mainWindow->gameConfigs.makeCurrent(nullptr);
        Archive_ReleaseByOwner(&registry, &config);
    }
    missing.removeDuplicates();
    missing.sort();
    std::printf("openarena-data textures: %d folders, %d scripts, %d effects counted, %d effects loaded, "
                "%d warnings, %d images loaded, %d effects showing no image\n",
                int(folders.size()), scripts, counted, effects, int(warnings.size()), imagesLoaded,
                int(missing.size()));
    for (const QString& line : std::as_const(warnings))
        std::printf("  warning %s\n", qPrintable(line));
    for (const QString& name : std::as_const(missing))
        std::printf("  missing %s\n", qPrintable(name));
    EXPECT_TRUE(unloadable.isEmpty()) << qPrintable(unloadable.join('\n'));
    EXPECT_GT(scripts, 0);
    EXPECT_EQ(Tex_ReportLeaks(&m), 0);
}

} // namespace
