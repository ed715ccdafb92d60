// The map information dialog, opened by its command in the program's window on the sample game.
#include "dialogs/editing/MapInfoDialog.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QTranslator>
#include <gtest/gtest.h>

#include "../mainwindow/WindowFixture.h"
#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "WidgetInput.h"
#include "gamedata/TextureLists.h"
#include "document/MapDocument.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TexturePackage.h"
#include "gamedata/TextureRecords.h"
#include "document/MapWorld.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"

namespace {

struct Shown {
    QString title;
    QSize size;
    QStringList values; // solids, faces, point entities, solid entities, unique textures, memory
    QStringList packages;
};

class MapInfoWindowTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        QFile shipped(QStringLiteral(ZARV_BIN_DIR "/KDKGameCfg.ini"));
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
        writeFile("base/KDKGameCfg.ini", shipped.readAll());
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
    }
    void TearDown() override {
        window.reset();
        cWindowFixture::TearDown();
    }
    MapDocument* open(const QByteArray& text) {
        writeFile("maps/info.map", text);
        MapDocument* document = window->openFile(path("maps/info.map"));
        // The shipped configuration's packages (found in its game folder), then one that does not
        // exist: configured, never loaded.
        if (document && document->gameConfig && !shippedPackages) {
            shippedPackages = int(document->gameConfig->Parcel.size());
            document->gameConfig->Parcel.append(path("nowhere.pk3"));
            Tex_AcquirePackage(path("nowhere.pk3"));
        }
        return document;
    }
    Shown show() {
        Shown shown;
        QAction* command = Window_Action(*window, "MapInfo");
        EXPECT_NE(command, nullptr);
        if (!command) return shown;
        cDialogAnswer answer([&](QDialog* d) {
            shown.title = d->windowTitle();
            shown.size = d->size();
            for (const char* name :
                 {"lblSolids", "lblFaces", "lblPointEnts", "lblSolidEnts", "lblUniqueTextures", "lblTexMem"})
                shown.values << Widget_Find<QLabel>(d, name)->text();
            auto* list = Widget_Find<QListWidget>(d, "lstTextureFiles");
            for (int i = 0; i < list->count(); ++i)
                shown.packages << list->item(i)->text();
        });
        command->trigger();
        EXPECT_TRUE(answer.answered);
        return shown;
    }

    cConsoleCapture console;
    std::unique_ptr<cMainWindow> window;
    int shippedPackages = 0; // the shipped configuration's packages, before the missing one
};

TEST_F(MapInfoWindowTest, EmptyWorldCountsNothing) {
    ASSERT_NE(open("{\n\"classname\" \"worldspawn\"\n}\n"), nullptr);
    const Shown shown = show();
    EXPECT_EQ(shown.title, "Map Information");
    EXPECT_EQ(shown.size, QSize(301, 305));
    EXPECT_EQ(shown.values, (QStringList{"0", "0", "0", "0", "0", "0 bytes (0.00 Mb)"}));
}

// Six faces, five sharing one texture and one missing: one unique texture and its memory once;
// the configured package that never loaded is not listed.
TEST_F(MapInfoWindowTest, CountsFacesTexturesAndLoadedPackages) {
    const QByteArray brush = "{\n"
                             "( 0 0 64 ) ( 0 0 0 ) ( 0 64 0 ) common/caulk 0 0 0 0.5 0.5 0 0 0\n"
                             "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) common/caulk 0 0 0 0.5 0.5 0 0 0\n"
                             "( 64 0 0 ) ( 0 0 0 ) ( 0 0 64 ) common/caulk 0 0 0 0.5 0.5 0 0 0\n"
                             "( 0 64 64 ) ( 0 64 0 ) ( 64 64 0 ) common/caulk 0 0 0 0.5 0.5 0 0 0\n"
                             "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 ) common/caulk 0 0 0 0.5 0.5 0 0 0\n"
                             "( 64 0 64 ) ( 0 0 64 ) ( 0 64 64 ) sample/nosuchtexture 0 0 0 0.5 0.5 0 0 0\n"
                             "}\n";
    MapDocument* d = open("{\n\"classname\" \"worldspawn\"\n" + brush + "}\n" +
                          "{\n\"classname\" \"func_door\"\n" + brush + brush + "}\n" +
                          "{\n\"classname\" \"info_player_deathmatch\"\n\"origin\" \"128 0 32\"\n}\n");
    ASSERT_NE(d, nullptr);
    const ShaderRecord* wall = TexList_FindShader(GameCfg_CurrentTextureLists(), "common/caulk");
    ASSERT_TRUE(wall && wall->image);
    const uint64_t bytes = uint64_t(wall->image->width) * wall->image->height * wall->image->bytesPerPixel;
    const Shown shown = show();
    EXPECT_EQ(shown.values, (QStringList{"3", "18", "1", "1", "1", MapInfo_MemoryText(bytes)}));
    ASSERT_EQ(d->gameConfig->Parcel.size(), shippedPackages + 1);
    // A folder package is shown by its folder, without its filters.
    QStringList loaded = d->gameConfig->Parcel.first(shippedPackages);
    for (QString& entry : loaded)
        if (entry.contains("::")) entry.truncate(entry.lastIndexOf("::"));
    EXPECT_EQ(shown.packages, loaded) << shown.packages.join(" | ").toStdString();
}

TEST_F(MapInfoWindowTest, RussianTitle) {
    ASSERT_NE(open("{\n\"classname\" \"worldspawn\"\n}\n"), nullptr);
    QTranslator russian;
    ASSERT_TRUE(russian.load(QStringLiteral(ZARV_BIN_DIR "/local/zarv_ru.qm")));
    QCoreApplication::installTranslator(&russian);
    const Shown shown = show();
    QCoreApplication::removeTranslator(&russian);
    EXPECT_EQ(shown.title, QString::fromUtf8("Сведения о карте"));
    EXPECT_EQ(shown.values.last(), QString::fromUtf8("0 байт (0.00 Мб)"));
}

TEST(MapInfoText, MemoryInBytesAndMegabytes) {
    const struct {
        uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0 bytes (0.00 Mb)"},
        {1572864, "1572864 bytes (1.50 Mb)"},
        {5368709120ull, "5368709120 bytes (5120.00 Mb)"}, // past 32 bits
    };
    for (const auto& c : cases)
        EXPECT_EQ(MapInfo_MemoryText(c.bytes), c.text);
}

} // namespace
