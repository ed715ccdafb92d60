// The decal tool through a real map window: a click on a surface in the camera view makes a decal
// entity or an overlay as the current map profile allows, one undo level each.
#include <cstring>

#include "ToolDriver.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "gamedata/TextureRecords.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapOverlay.h"
#include "map/OverlayRecord.h"
#include "tools/BrushTool.h"
#include "tools/DecalTool.h"

namespace {

class DecalToolTest : public ToolFixture {
public:
    void SetUp() override {
        ToolFixture::SetUp();
        std::strcpy(texture.name, "decals/splash");
        // First: a tool switch makes the active map's own configuration current again.
        g_mainWindow->toolApplyDecals();
        GameConfigManager* configs = &g_mainWindow->gameConfigs;
        formerConfig = configs->current;
        config = GameCfg_AddConfig(configs, QStringLiteral("decal test"));
        config->MapProfile = QStringLiteral("kpDecalTest");
        configs->current = config;
        const float lo[3] = {100, -64, 0}, hi[3] = {164, 64, 128};
        wall = box(lo, hi);
        camera = viewOfType(ViewType::Camera);
        camera->grabFramebuffer();
        driver.setView(camera);
    }
    void TearDown() override {
        GameConfigManager* configs = &g_mainWindow->gameConfigs;
        configs->current = formerConfig;
        configs->profiles.erase(QByteArray("kpDecalTest"));
        ToolFixture::TearDown();
    }
    void useProfile(uint32_t capabilities, const char* decalClass) {
        GameConfigManager* configs = &g_mainWindow->gameConfigs;
        configs->profiles.erase(QByteArray("kpDecalTest"));
        MapProfileRecord record{};
        std::strcpy(record.name, "kpDecalTest");
        std::strcpy(record.decalClass, decalClass);
        record.capabilities = capabilities;
        GameCfg_RegisterProfile(configs, this, &record);
    }
    QPoint centre() const { return {camera->viewWidth / 2, camera->viewHeight / 2}; }

    GameConfig* formerConfig = nullptr;
    GameConfig* config = nullptr;
    ShaderRecord texture;
    cCurrentTextureScope currentTexture;
    BrushRecord* wall = nullptr;
    cCanvas* camera = nullptr;
};

TEST_F(DecalToolTest, TheProfileChoosesDecalEntityOrOverlay) {
    enum Made { Nothing, Decal, Overlay };
    struct Case {
        uint32_t capabilities;
        const char* decalClass;
        bool withTexture;
        Made made;
    } cases[] = {
        {MAP_PROFILE_DECAL_CLASS, "infodecal", true, Decal},
        {kProfileOverlays, "", true, Overlay},
        {MAP_PROFILE_DECAL_CLASS | kProfileOverlays, "infodecal", true, Decal},
        {MAP_PROFILE_DECAL_CLASS, "", true, Nothing},
        {MAP_PROFILE_DECAL_CLASS | kProfileOverlays, "infodecal", false, Nothing},
    };
    for (const Case& k : cases) {
        useProfile(k.capabilities, k.decalClass);
        currentTexture.set(k.withTexture ? "decals/splash" : "", k.withTexture ? &texture : nullptr);
        doc.modified = false;
        const std::string before = dump();
        const UndoLevel* newest = Undo_NewestLevel(history);
        driver.click(centre());
        EntityRecord* last = w->entities;
        while (last->next)
            last = last->next;
        switch (k.made) {
        case Nothing:
            EXPECT_EQ(dump(), before) << k.capabilities;
            EXPECT_EQ(Undo_NewestLevel(history), newest);
            break;
        case Decal: {
            ASSERT_NE(last, worldspawn);
            EXPECT_STREQ(last->classname, "infodecal");
            EXPECT_EQ(last->origin[0], 100.0f);
            const char* key = last->handle->keyName(KEY_TEXTURE);
            ASSERT_NE(key, nullptr);
            const EPair* pair = last->handle->findKey(key);
            ASSERT_NE(pair, nullptr);
            EXPECT_STREQ(pair->value, "decals/splash");
            expectUndoRedo("Create Decal", before);
            ASSERT_TRUE(Undo_StepUndo(history));
            break;
        }
        case Overlay: {
            EXPECT_EQ(last, worldspawn);
            BrushRecord* b = worldspawn->lastBrush;
            ASSERT_NE(b, wall);
            EXPECT_EQ(b->kind, BrushKind::Overlay);
            ASSERT_NE(b->overlay, nullptr);
            EXPECT_STREQ(b->overlay->texInfo.name, "decals/splash");
            // Laid on the face the camera sees (x = 100, facing -x).
            EXPECT_NEAR(b->overlay->normal[0], -1.0f, 1e-5f);
            expectUndoRedo("Create Overlay", before);
            ASSERT_TRUE(Undo_StepUndo(history));
            break;
        }
        }
        camera->grabFramebuffer();
    }
}

TEST_F(DecalToolTest, CursorInTheCameraViewOnlyAndEmptySpaceMakesNothing) {
    useProfile(MAP_PROFILE_DECAL_CLASS, "infodecal");
    camera->setCursorForTool();
    EXPECT_EQ(camera->cursor().hotSpot(), QPoint(6, 6));
    EXPECT_FALSE(camera->cursor().pixmap().isNull());
    top->setCursorForTool();
    EXPECT_TRUE(top->cursor().pixmap().isNull());
    const std::string before = dump();
    driver.click(QPoint(2, 2));
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(tool<cDecalTool>(ToolId::Decal)->mousePress(top, 10, 10, Qt::LeftButton, 0));
}

} // namespace
