// A headless world with a system host (settings, console), the game-data managers, a game
// configuration with one entity-definition file that each test writes and loads through the real
// loader, and a map profile.
#pragma once

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

#include "HeadlessLog.h"
#include "core/MainSettings.h"
#include "document/MapWorld.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameData.h"
#include "gamedata/GameConfig.h"
#include "document/GameDataServices.h"
#include "gamedata/MapProfile.h"
#include "map/MapEntity.h"

// The game-data managers, and the map a change of configurations refreshes (as the window's
// active map).
class cTestGameData final : public cGameDataServices {
public:
    MapWorld** activeMap() override { return active; }
    MapWorld** active = nullptr;
};

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
        GameCfg_RegisterProfile(&services.configs, nullptr, &record);
        profile = GameCfg_FindProfile(&services.configs, "testprofile");
        services.configs.makeCurrent(&config);
        data = Fgd_Acquire(&services.registry, definitionsPath);
        Map_InitWorld(&world, nullptr);
    }
    void TearDown() override {
        Map_DestroyWorld(&world);
        Fgd_Release(&services.registry, definitionsPath);
    }

    MapHandle map() { return Map_Handle(&world); }
    MainSettings& settings() { return *log.settings(); }
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
    QStringList console;
    cHeadlessLog log{[this](const QString& line) { console << line; }};
    cTestGameData services;
    GameConfig config;
    MapProfileRecord* profile = nullptr; // the manager's copy
    GameData* data = nullptr;
    MapWorld world{};
};
