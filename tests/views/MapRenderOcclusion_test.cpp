// Objects behind a wall in real camera views, where nothing that could show may be left out.
#include <gtest/gtest.h>

#include "MapRenderFixture.h"
#include "gamedata/EntityClass.h"
#include "map/MapEntity.h"

namespace {

// ---- In the camera view ---------------------------------------------------------------------------

class OcclusionRenderTest : public MapRenderTest {};

// The eye (-16, 0, 64) looks along +x at a low wall; beyond it one brush lies wholly behind the
// wall and one rises above it.
TEST_F(OcclusionRenderTest, WhatRisesAboveAWallAndSelectedOutlinesStillShow) {
    open();
    camera()->renderMode = 1;
    const float wallLo[3] = {100, -400, -100}, wallHi[3] = {116, 400, 100};
    colour(box(wallLo, wallHi), 40, 40, 200);
    const float lowLo[3] = {380, -20, 40}, lowHi[3] = {420, 20, 120};
    BrushRecord* low = box(lowLo, lowHi);
    colour(low, 200, 30, 30);
    const float tallLo[3] = {380, 40, 40}, tallHi[3] = {420, 80, 400};
    BrushRecord* tall = box(tallLo, tallHi);
    colour(tall, 30, 200, 30);
    const float top[3] = {380, 60, 300}; // above the wall's edge as the eye sees it
    auto green = [](const QColor& c) { return c.green() > 100 && c.red() < 80 && c.blue() < 80; };
    for (bool tree : {false, true}) {
        settings().UseCullTree = tree;
        if (tree) Map_CreateCullTree(doc.world);
        const QPoint p = screen(camera(), top);
        EXPECT_TRUE(green(rgb(paint(camera()), p.x(), p.y()))) << tree;
    }

    // A selected face of the hidden brush keeps its outline through the wall.
    settings().SelOverlaySkipDepth = true;
    FaceRecord* facing = nullptr;
    for (FaceRecord* f = low->firstFace; f; f = f->next)
        if (f->normal[0] < -0.5f) facing = f;
    ASSERT_NE(facing, nullptr);
    facing->flags |= FaceFlags::Selected;
    const float edge[3] = {380, -20, 80};
    const QPoint e = screen(camera(), edge);
    uint8_t rgba[4];
    Color_FillRGBA(rgba, COLOR_SELECTED_FILL); // a face's own selection outlines in its fill colour
    EXPECT_TRUE(near(paint(camera()), e.x(), e.y(), QColor(rgba[0], rgba[1], rgba[2]), 2));
}

// Entities behind the low wall (the eye sees over it above z = 187 at x = 380): what lies wholly
// behind it is left out, what rises above it shows, a point entity's angle arrow included.
TEST_F(OcclusionRenderTest, EntitiesBehindAWallAreLeftOutUnlessAnyPartRisesAboveIt) {
    open();
    camera()->renderMode = 1;
    const float wallLo[3] = {100, -400, -100}, wallHi[3] = {116, 400, 100};
    colour(box(wallLo, wallHi), 40, 40, 200);
    const MapHandle map = Map_Handle(doc.world);
    auto pointEntity = [&](float x, float y, float z) {
        const float origin[3] = {x, y, z};
        EntityRecord* e = Test_Entity(map, "info_thing", origin, EntityFlag::Point);
        Entity_SetColor(e, 10, 200, 30, 255);
        return e;
    };
    EntityRecord* hidden = pointEntity(400, -100, 150);
    EntityRecord* above = pointEntity(400, 100, 260);
    // A 128-unit box pointing up: the box lies behind the wall, its arrow's tip (z = 266) above.
    EntityClass pointer;
    pointer.kind = EntityClassKind::Point;
    pointer.name = "test_pointer";
    pointer.helpers = EntityClassHelper::Angle;
    EntityRecord* arrow = pointEntity(520, 0, 106);
    arrow->handle->setClass(&pointer);
    for (int k = 0; k < 3; ++k) {
        arrow->mins[k] = arrow->origin[k] - 64;
        arrow->maxs[k] = arrow->origin[k] + 64;
    }
    arrow->angles[0] = -90;
    // A brush entity with one brush behind the wall and one rising above it.
    const float origin[3] = {0, 0, 0};
    EntityRecord* door = Test_Entity(map, "func_wall", origin, 0);
    Entity_SetColor(door, 200, 30, 30, 255);
    const float lowLo[3] = {380, -200, 40}, lowHi[3] = {420, -160, 120};
    const float tallLo[3] = {380, 160, 40}, tallHi[3] = {420, 200, 300};
    colour(box(lowLo, lowHi, door), 200, 30, 30);
    colour(box(tallLo, tallHi, door), 200, 30, 30);

    auto green = [](const QColor& c) { return c.green() > 100 && c.red() < 80 && c.blue() < 80; };
    auto red = [](const QColor& c) { return c.red() > 100 && c.green() < 80 && c.blue() < 80; };
    const float aboveTop[3] = {392, 100, 262}, tip[3] = {520, 0, 256}, tallTop[3] = {380, 180, 240};
    for (bool tree : {false, true}) {
        settings().UseCullTree = tree;
        if (tree) Map_CreateCullTree(doc.world);
        const QImage image = paint(camera());
        const QPoint a = screen(camera(), aboveTop), t = screen(camera(), tip), d = screen(camera(), tallTop);
        EXPECT_TRUE(green(rgb(image, a.x(), a.y()))) << tree;
        EXPECT_TRUE(near(image, t.x(), t.y(), QColor(255, 255, 255), 1)) << tree;
        EXPECT_TRUE(red(rgb(image, d.x(), d.y()))) << tree;
        // Drawn this frame: the entity above the wall and the arrow's; not the one behind it.
        EXPECT_NE(hidden->frameStamp, above->frameStamp) << tree;
        EXPECT_EQ(arrow->frameStamp, above->frameStamp) << tree;
    }
}

} // namespace
