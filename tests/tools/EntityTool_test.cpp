// The entity tool through a real map window: the placement point set and dragged in a 2D view,
// created with Return as one "Create Entity" level, and placed by a click on a surface in the
// camera view.
#include "ToolDriver.h"
#include "gamedata/EntityClass.h"
#include "kstdlib/krandom.h"
#include "map/MapEntity.h"
#include "tools/EntityTool.h"
#include "document/SelectionBox.h"

namespace {

class EntityToolTest : public ToolFixture {
public:
    void SetUp() override {
        ToolFixture::SetUp();
        eclass.name = "info_player_start";
        eclass.offset[2] = 24.0f;
        Tool_SetCurrentObjectClass(&eclass);
        Tool_SetRandomYaw(false);
        g_mainWindow->toolEntity();
        entityTool = tool<cEntityTool>(ToolId::Entity);
    }
    void TearDown() override {
        Tool_SetCurrentObjectClass(nullptr);
        Tool_SetRandomYaw(false);
        ToolFixture::TearDown();
    }
    SelectionBox& point() { return doc.selectionBoxes[2]; }
    std::vector<float> pointAt() const {
        const SelectionBox& b = doc.selectionBoxes[2];
        return {b.mins[0], b.mins[1], b.mins[2]};
    }
    EntityRecord* lastEntity() const {
        EntityRecord* e = w->entities;
        while (e && e->next)
            e = e->next;
        return e == worldspawn ? nullptr : e;
    }
    static std::vector<float> origin(const EntityRecord* e) {
        return {e->origin[0], e->origin[1], e->origin[2]};
    }

    EntityClass eclass;
    cEntityTool* entityTool = nullptr;
};

TEST_F(EntityToolTest, PointKeepsItsDepthAndReturnCreatesAtItPlusTheClassOffset) {
    driver.click(driver.at(32, 48));
    ASSERT_TRUE(point().valid);
    EXPECT_EQ(pointAt(), (std::vector<float>{32, 48, 0}));
    EXPECT_FALSE(status4().isEmpty());
    // A point set before keeps its depth through a new press and a drag.
    const float before[3] = {0, 0, 40};
    Select_BoxFromPoint(&point(), before);
    driver.drag(driver.at(16, 16), driver.at(64, -31));
    EXPECT_EQ(pointAt(), (std::vector<float>{64, -32, 40}));
    // Alt drags by whole units.
    driver.drag(driver.at(64, -32), driver.at(69, -27), Qt::AltModifier);
    EXPECT_EQ(pointAt(), (std::vector<float>{69, -27, 40}));

    doc.modified = false;
    const std::string dumpBefore = dump();
    // Alt+Return is the properties command, never a creation.
    driver.key(Qt::Key_Return, Qt::AltModifier);
    EXPECT_TRUE(commands.contains(QStringLiteral("editProperties")));
    EXPECT_EQ(lastEntity(), nullptr);
    ASSERT_TRUE(point().valid);
    driver.key(Qt::Key_Return);
    EntityRecord* e = lastEntity();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(origin(e), (std::vector<float>{69, -27, 64}));
    EXPECT_EQ(e->serial, 2);
    EXPECT_TRUE(console.contains("New entity: info_player_start"));
    EXPECT_FALSE(point().valid);
    EXPECT_TRUE(status4().isEmpty());
    expectUndoRedo("Create Entity", dumpBefore);
}

TEST_F(EntityToolTest, RandomYawFollowsTheSharedGeneratorAndNoClassCreatesNothing) {
    Tool_SetRandomYaw(true);
    K_SRand(7);
    const int expected = K_RandomLong(0, 359);
    K_SRand(7);
    // A serial counter at -1 restarts at 1.
    w->serials[int(SerialKind::Entity)] = -1;
    driver.click(driver.at(0, 0));
    driver.key(Qt::Key_Return);
    ASSERT_NE(lastEntity(), nullptr);
    EXPECT_EQ(lastEntity()->angles[1], float(expected));
    EXPECT_EQ(lastEntity()->serial, 1);

    Tool_SetCurrentObjectClass(nullptr);
    const UndoLevel* newest = Undo_NewestLevel(history);
    driver.click(driver.at(16, 0));
    driver.key(Qt::Key_Return);
    EXPECT_FALSE(point().valid);
    EXPECT_EQ(Undo_NewestLevel(history), newest);
}

TEST_F(EntityToolTest, NudgesAndEscape) {
    driver.click(driver.at(32, 32));
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        std::vector<float> expected;
    } cases[] = {
        {Qt::Key_Right, Qt::NoModifier, {48, 32, 0}},
        {Qt::Key_Up, Qt::ShiftModifier, {48, 32, 16}},
        {Qt::Key_Down, Qt::NoModifier, {48, 16, 16}},
    };
    for (const Case& k : cases) {
        driver.key(k.key, k.mods);
        EXPECT_EQ(pointAt(), k.expected) << k.key;
    }
    EXPECT_TRUE(driver.key(Qt::Key_Escape));
    EXPECT_FALSE(point().valid);
    // Nothing set and nothing selected: Escape is declined.
    EXPECT_FALSE(entityTool->keyPress(top, Qt::Key_Escape, 0));
}

TEST_F(EntityToolTest, CursorsAndTheCreateMenu) {
    top->setCursorForTool();
    EXPECT_EQ(top->cursor().hotSpot(), QPoint(6, 6));
    const QPoint p = driver.at(32, 32);
    driver.move(p);
    driver.press(p);
    EXPECT_EQ(top->cursor().hotSpot(), QPoint(16, 15)); // the cross over the point
    driver.release(p);
    driver.click(driver.at(32, 32), Qt::RightButton);
    EXPECT_EQ(menus, QStringList{QStringLiteral("Create")});
}

TEST_F(EntityToolTest, CameraClickOnASurfaceCreatesAtOnce) {
    const float lo[3] = {100, -64, 0}, hi[3] = {164, 64, 128};
    box(lo, hi);
    cCanvas* camera = viewOfType(ViewType::Camera);
    camera->grabFramebuffer();
    driver.setView(camera);
    const QPoint centre(camera->viewWidth / 2, camera->viewHeight / 2);
    // On empty space: nothing.
    driver.click(QPoint(2, 2));
    EXPECT_EQ(lastEntity(), nullptr);
    const std::string dumpBefore = dump();
    driver.click(centre);
    EntityRecord* e = lastEntity();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->origin[0], 100.0f);
    EXPECT_NEAR(e->origin[2], 64.0f + 24.0f, 1.0f);
    expectUndoRedo("Create Entity", dumpBefore);
}

} // namespace
