// A headless world with a main window (settings, console), a game configuration with one
// entity-definition file that each test writes and loads through the real loader, and a map profile.
#pragma once

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

#include "document/MapWorld.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameData.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "mainwindow/ConsoleSink.h"
#include "mainwindow/MainWindow.h"
#include "map/MapEntity.h"

class EntityTestWorld : public ::testing::Test {
protected:
    void SetUp() override {
        config.Title = "test";
        config.MapProfile = "testprofile";
        definitionsPath = folder.filePath("test.fgd");
        config.GameData = {definitionsPath};
        config.precachedGameData = {definitionsPath};
        MapProfileRecord record{};
        std::strcpy(record.name, "testprofile");
        GameCfg_RegisterProfile(&window.gameConfigs, nullptr, &record);
        profile = GameCfg_FindProfile(&window.gameConfigs, "testprofile");
        window.gameConfigs.makeCurrent(&config);
        data = Fgd_Acquire(&window.gameData, definitionsPath);
        Map_InitWorld(&world, nullptr);
        Console_SetSink([this](const QString& line) { console << line; });
    }
    void TearDown() override {
        Map_DestroyWorld(&world);
        Console_SetSink({});
        Fgd_Release(&window.gameData, definitionsPath);
    }

    MapHandle map() { return Map_Handle(&world); }
    // Writes the definitions and loads them in place of the previous ones.
    void loadDefinitions(const char* fgd) {
        QFile file(definitionsPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(fgd);
        file.close();
        Fgd_ClearClasses(data);
        ASSERT_TRUE(Fgd_Load(data, false));
    }
    EntityClass* pointClass(const char* name) { return Fgd_FindClass(data, name, EntityClassKind::Point); }
    EntityRecord* create(const char* classname, float x = 0, float y = 0, float z = 0,
                         uint32_t flags = EntityFlag::Point) {
        const float origin[3] = {x, y, z};
        return Entity_Create(map(), classname, origin, flags);
    }
    static cMapEntity* E(EntityRecord* e) { return cMapEntity::fromRecord(e); }
    bool consoleHas(const char* text) const {
        for (const QString& line : console)
            if (line.contains(QLatin1String(text))) return true;
        return false;
    }

    QTemporaryDir folder;
    QString definitionsPath;
    cMainWindow window;
    GameConfig config;
    MapProfileRecord* profile = nullptr; // the manager's copy
    GameData* data = nullptr;
    MapWorld world{};
    QStringList console;
};
