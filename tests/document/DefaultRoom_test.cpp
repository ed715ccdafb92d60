#include "document/DefaultRoom.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include <string>

#include "DocumentFixture.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "mainwindow/MainWindow.h"

namespace {

DefaultRoomParameters room() {
    DefaultRoomParameters p;
    p.width = 512;
    p.length = 512;
    p.height = 160;
    p.wallTexture = "base/wall";
    p.ceilingTexture = "base/ceiling";
    p.floorTexture = "base/floor";
    p.nullTexture = "common/caulk";
    p.playerStartClass = "info_player_start";
    p.lightClass = "light";
    return p;
}

std::string key(const EntityRecord* e, const char* name) {
    const EPair* pair = e->handle->findKey(name);
    return pair && pair->value ? pair->value : "<none>";
}

int countFaces(const BrushRecord* b, const char* texture) {
    int n = 0;
    for (const FaceRecord* f = b->firstFace; f; f = f->next)
        n += !std::strcmp(f->texInfo.name, texture);
    return n;
}

class DefaultRoomTest : public DocumentFixture {
protected:
    void TearDown() override {
        g_mainWindow->gameConfigs.makeCurrent(nullptr);
        DocumentFixture::TearDown();
        for (const QString& path : config.GameData)
            Fgd_Release(&g_mainWindow->gameData, path);
    }
    // A definition file loaded into the registry and listed last in the configuration.
    GameData* addDefinitions(const char* name, const QByteArray& text) {
        const QString path = folder.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        GameData* data = Fgd_Acquire(&g_mainWindow->gameData, path);
        EXPECT_TRUE(Fgd_Load(data, false));
        config.GameData.append(path);
        return data;
    }
    // A fresh world entity for each case of a table.
    void restart() {
        Map_DeleteAllObjects(w);
        const float origin[3] = {0, 0, 0};
        worldspawn = Entity_Create(map(), "worldspawn", origin, EntityFlag::World);
    }

    QTemporaryDir folder;
    GameConfig config;
};

TEST_F(DefaultRoomTest, SixWallsAroundTheInsideWithNullOnTheOuterFaces) {
    Map_CreateDefaultRoom(map(), nullptr, room());
    const std::vector<BrushRecord*> b = brushesOf(worldspawn);
    ASSERT_EQ(b.size(), 6u);
    const struct {
        float mins[3], maxs[3];
        const char* texture;
    } expected[6] = {
        {{256, -256, 0}, {288, 256, 160}, "base/wall"},
        {{-288, -256, 0}, {-256, 256, 160}, "base/wall"},
        {{-256, 256, 0}, {256, 288, 160}, "base/wall"},
        {{-256, -288, 0}, {256, -256, 160}, "base/wall"},
        {{-256, -256, 160}, {256, 256, 192}, "base/ceiling"},
        {{-256, -256, -32}, {256, 256, 0}, "base/floor"},
    };
    for (int i = 0; i < 6; ++i) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(b[i]->mins[k], expected[i].mins[k]) << "wall " << i << " axis " << k;
            EXPECT_EQ(b[i]->maxs[k], expected[i].maxs[k]) << "wall " << i << " axis " << k;
        }
        EXPECT_EQ(countFaces(b[i], expected[i].texture), 1) << "wall " << i;
        EXPECT_EQ(countFaces(b[i], "common/caulk"), 5) << "wall " << i;
    }
    // The floor's room face is its top, with the axes of the face table (the brush sorts its faces).
    const FaceRecord* top = nullptr;
    for (const FaceRecord* f = b[5]->firstFace; f; f = f->next)
        if (f->normal[2] == 1.0f) top = f;
    ASSERT_NE(top, nullptr);
    EXPECT_STREQ(top->texInfo.name, "base/floor");
    EXPECT_EQ(top->texInfo.sAxis[0], 1.0f);
    EXPECT_EQ(top->texInfo.tAxis[1], -1.0f);
    // Nothing selected, no entities without a configuration, no undo level.
    EXPECT_EQ(w->selectedBrushes, nullptr);
    EXPECT_EQ(worldspawn->next, nullptr);
    EXPECT_EQ(history->undoChain, nullptr);
}

TEST_F(DefaultRoomTest, TextureNamesAndScales) {
    cConsoleCapture console;
    const QString seventy(70, QLatin1Char('n'));
    const struct {
        QString wall;
        QString null;
        float scale; // the current configuration's; 0: none current
        std::string wallFaces;
        int nullFaces;
        bool warned;
    } cases[] = {
        {"", "common/caulk", 0, "notexture", 5, false},
        {"base/wall", "", 0.5f, "base/wall", 0, false},
        {seventy, "", 0, std::string(63, 'n'), 0, true},
    };
    for (const auto& c : cases) {
        restart();
        console.clear();
        config.DefaultTextureScale = c.scale;
        g_mainWindow->gameConfigs.makeCurrent(c.scale ? &config : nullptr);
        DefaultRoomParameters p = room();
        p.wallTexture = c.wall;
        p.nullTexture = c.null;
        Map_CreateDefaultRoom(map(), nullptr, p);
        const BrushRecord* first = worldspawn->firstBrush;
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(countFaces(first, c.wallFaces.c_str()), 6 - c.nullFaces) << c.wall.toStdString();
        EXPECT_EQ(countFaces(first, "common/caulk"), c.nullFaces) << c.wall.toStdString();
        for (const FaceRecord* f = first->firstFace; f; f = f->next) {
            const bool null = !std::strcmp(f->texInfo.name, "common/caulk");
            EXPECT_EQ(f->texInfo.sScale, null || !c.scale ? 1.0f : c.scale);
        }
        EXPECT_EQ(
            console.contains(
                QStringLiteral("default room: texture name \"%1\" is longer than 63 bytes, cut").arg(c.wall)),
            c.warned)
            << console.lines.join('\n').toStdString();
    }
}

// The classes come from the last listed file that has them, though precaching kept another
// order; the light's key depends on the profile and the class name.
TEST_F(DefaultRoomTest, PlayerStartAndLight) {
    GameData* first =
        addDefinitions("a.fgd", "@PointClass size(-16 -16 -24, 16 16 32) = info_player_start : \"A\" []\n"
                                "@PointClass size(-8 -8 -8, 8 8 8) offset(0 0 8) = light : \"\" [\n"
                                "\tlight(integer) : \"Brightness\" : \"300\"\n]\n"
                                "@PointClass = dynamic_light : \"\" []\n");
    GameData* second =
        addDefinitions("b.fgd", "@PointClass size(-16 -16 -40, 16 16 40) = info_player_start : \"B\" []\n");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    config.precachedGameData = config.GameData; // the first listed file searched first
    g_mainWindow->gameConfigs.makeCurrent(&config);

    const struct {
        const char* lightClass;
        int32_t profileFlags;
        float lightZ;
        const char* light;
    } cases[] = {
        {"light", 0, 136, "255 255 128 200"},
        {"light", 0x2000, 136, "400"},
        {"dynamic_light", 0, 128, "255 255 128"},
        {"Dynamic_light", 0, 128, "255 255 128 200"},
    };
    for (const auto& c : cases) {
        restart();
        DefaultRoomParameters p = room();
        p.lightClass = c.lightClass;
        p.profileFlags = c.profileFlags;
        Map_CreateDefaultRoom(map(), &config, p);
        EntityRecord* start = worldspawn->next;
        ASSERT_NE(start, nullptr);
        EntityRecord* light = start->next;
        ASSERT_NE(light, nullptr);
        EXPECT_EQ(light->next, nullptr);
        EXPECT_STREQ(start->classname, "info_player_start");
        EXPECT_EQ(start->handle->entityClass,
                  Fgd_FindClass(second, "info_player_start", EntityClassKind::Point));
        EXPECT_EQ(start->origin[0], -192.0f);
        EXPECT_EQ(start->origin[1], 0.0f);
        EXPECT_EQ(start->origin[2], 41.0f); // the class box rests one unit above the floor
        EXPECT_STREQ(light->classname, c.lightClass);
        EXPECT_EQ(light->origin[2], c.lightZ) << c.lightClass;
        EXPECT_EQ(key(light, "light"), c.light) << c.lightClass << " " << c.profileFlags;
        EXPECT_LT(start->serial, light->serial);
        EXPECT_EQ(w->selectedEntities, nullptr);
    }
}

TEST_F(DefaultRoomTest, ClassesNoFileDefinesStandAtTheFallbackOrigins) {
    g_mainWindow->gameConfigs.makeCurrent(&config);
    DefaultRoomParameters p = room();
    p.playerStartClass = "info_nowhere";
    p.lightClass = "";
    Map_CreateDefaultRoom(map(), &config, p);
    EntityRecord* start = worldspawn->next;
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->next, nullptr); // no light class, no light
    EXPECT_EQ(start->origin[0], -192.0f);
    EXPECT_EQ(start->origin[2], 0.0f);
    EXPECT_STREQ(start->classname, "info_nowhere");
}

} // namespace
