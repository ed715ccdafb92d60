// A headless world with a main window (settings, console), a game configuration whose one
// definition file the test fills with classes, and a map profile.
#pragma once

#include <QStringList>
#include <cstring>
#include <gtest/gtest.h>

#include "document/MapWorld.h"
#include "gamedata/EntityClass.h"
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
        config.entityDefinitionFiles = {kDefinitions};
        MapProfileRecord record{};
        std::strcpy(record.name, "testprofile");
        GameCfg_RegisterProfile(&window.gameConfigs, nullptr, &record);
        profile = GameCfg_FindProfile(&window.gameConfigs, "testprofile");
        window.gameConfigs.makeCurrent(&config);
        data = GameData_Registry().open(kDefinitions);
        Map_InitWorld(&world, nullptr);
        Console_SetSink([this](const QString& line) { console << line; });
    }
    void TearDown() override {
        Map_DestroyWorld(&world);
        Console_SetSink({});
        GameData_Registry().remove(kDefinitions);
    }

    MapHandle map() { return Map_Handle(&world); }
    EntityClass* addClass(const char* name, int32_t kind) { return data->addClass(name, kind); }
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

    static constexpr const char* kDefinitions = "test.fgd";
    cMainWindow window;
    GameConfig config;
    MapProfileRecord* profile = nullptr; // the manager's copy
    GameData* data = nullptr;
    MapWorld world{};
    QStringList console;
};
