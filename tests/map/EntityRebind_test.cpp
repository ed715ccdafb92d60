// Entities of an open document re-bind by class name when their entity-definition file is
// reloaded: the new box and key names take effect, the map's key/values and modified mark do not
// change, and nothing keeps pointing at the freed classes (AddressSanitizer).
#include "EntityTestWorld.h"
#include "document/MapDocument.h"
#include "document/WorldRefresh.h"
#include "gamedata/GameConfig.h"
#include "map/EPair.h"

namespace {

class EntityRebindTest : public EntityTestWorld {
protected:
    void SetUp() override {
        EntityTestWorld::SetUp();
        Project_Construct(&doc);
        services.registry.rebindClassUsers = [this] { Map_RebindEntityClasses(doc.world); };
    }
    void TearDown() override {
        services.registry.rebindClassUsers = nullptr;
        Project_Destroy(&doc);
        EntityTestWorld::TearDown();
    }
    void rewrite(const char* fgd) {
        QFile out(definitionsPath);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(fgd);
    }
    QStringList pairs(const EntityRecord* e) const {
        QStringList list;
        for (const EPair* p = e->epairs; p; p = p->next)
            list << QString("%1=%2").arg(p->key, p->value);
        return list;
    }
    MapDocument doc;
};

TEST_F(EntityRebindTest, ReloadedClassesReachTheEntitiesAndLeaveTheirKeys) {
    loadDefinitions("@PointClass size(8 8 8) color(1 2 3) = lamp [ mdl(studio) : \"Model\" : \"a.md3\" ]");
    const float origin[3] = {0, 0, 0};
    EntityRecord* e = Entity_Create(Map_Handle(doc.world), "lamp", origin, EntityFlag::Point);
    EntityRecord* stray = Entity_Create(Map_Handle(doc.world), "gone", origin, EntityFlag::Point);
    E(e)->appendKeyValue("mdl", "a.md3");
    E(e)->appendKeyValue("spawnflags", "1");
    ASSERT_NE(E(e)->entityClass, nullptr);
    E(e)->refreshKeyNames(false);
    EXPECT_STREQ(E(e)->keyName(KEY_STUDIO_MODEL), "mdl");
    EXPECT_FLOAT_EQ(e->maxs[0], 4.0f);
    const QStringList before = pairs(e);

    struct Step {
        const char* name;
        std::function<void()> reload;
    } steps[] = {
        {"clear and load",
         [&] {
             Fgd_ClearClasses(data);
             ASSERT_TRUE(Fgd_Load(data, false));
         }},
        {"full load over headers only",
         [&] {
             Fgd_ClearClasses(data);
             ASSERT_TRUE(Fgd_Load(data, true));
             ASSERT_TRUE(Fgd_Load(data, false));
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        rewrite("@PointClass size(8 8 8) = lamp [ mdl(studio) ]");
        step.reload();
        rewrite("@PointClass size(32 32 32) color(9 9 9) = lamp [ mdl(string) ]\n@PointClass = gone []");
        for (bool modified : {false, true}) {
            doc.modified = modified;
            step.reload();
            EXPECT_EQ(doc.modified, modified);
        }
        ASSERT_EQ(E(e)->entityClass, pointClass("lamp"));
        EXPECT_FLOAT_EQ(e->maxs[0], 16.0f);
        EXPECT_STREQ(E(e)->keyName(KEY_STUDIO_MODEL), "model");
        EXPECT_EQ(pairs(e), before);
        EXPECT_EQ(E(stray)->entityClass, pointClass("gone"));
    }

    // Cleared, and then the last release: every entity ends unbound, with its keys.
    Fgd_ClearClasses(data);
    EXPECT_EQ(E(e)->entityClass, nullptr);
    EXPECT_EQ(pairs(e), before);
    ASSERT_TRUE(Fgd_Load(data, false));
    EXPECT_NE(E(e)->entityClass, nullptr);
    Fgd_Acquire(&services.registry, definitionsPath);
    Fgd_Release(&services.registry, definitionsPath);
    EXPECT_NE(E(e)->entityClass, nullptr); // still held
}

// The preferences dialog clears the file on its copy of the configurations; assigning the copy back
// precaches the configuration in use, and the entities take the new classes.
TEST_F(EntityRebindTest, AssigningConfigurationsReloadsAndRebinds) {
    loadDefinitions("@PointClass size(8 8 8) = lamp [ mdl(studio) ]");
    const float origin[3] = {0, 0, 0};
    EntityRecord* e = Entity_Create(Map_Handle(doc.world), "lamp", origin, EntityFlag::Point);
    E(e)->appendKeyValue("mdl", "a.md3");
    E(e)->refreshKeyNames(false);
    doc.modified = true;
    const QStringList before = pairs(e);

    GameConfigManager copy;
    GameCfg_RegisterProfile(&copy, nullptr, profile);
    GameConfig* edited = GameCfg_AddConfig(&copy, "test");
    edited->MapProfile = "testprofile";
    edited->GameData = {definitionsPath};
    Fgd_Acquire(&services.registry, definitionsPath);
    edited->inUseCount = 1;
    GameCfg_Select(&copy, edited);
    Fgd_ClearClasses(data);
    EXPECT_EQ(E(e)->entityClass, nullptr);
    rewrite("@PointClass size(32 32 32) = lamp [ mdl(string) ]");

    MapWorld* active = doc.world;
    services.active = &active;
    GameCfg_Assign(&services.configs, copy, true);
    services.active = nullptr;

    GameConfig* assigned = services.configs.current;
    ASSERT_NE(assigned, nullptr);
    EXPECT_EQ(assigned->Title, QStringLiteral("test"));
    EXPECT_EQ(assigned->precachedGameData, QStringList{definitionsPath});
    ASSERT_NE(E(e)->entityClass, nullptr);
    EXPECT_EQ(E(e)->entityClass, pointClass("lamp"));
    EXPECT_FLOAT_EQ(e->maxs[0], 16.0f);
    EXPECT_STREQ(E(e)->keyName(KEY_STUDIO_MODEL), "model");
    EXPECT_EQ(pairs(e), before);
    EXPECT_TRUE(doc.modified);
    // The class tree lists the new class.
    ASSERT_EQ(assigned->pointClassTree.children.size(), 1u);
    EXPECT_EQ(assigned->pointClassTree.children[0].eclass, pointClass("lamp"));
}

} // namespace
