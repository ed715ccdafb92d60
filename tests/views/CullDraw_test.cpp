// Drawing through the cull tree in the real views: the same picture as drawing every object, for a
// ring of eyes inside, outside and in corners of a generated map, and with a frustum of no planes;
// the cell boxes of the visible nodes.
#include "ObjectViewFixture.h"
#include "document/CullTree.h"
#include "core/System.h"
#include "map/Decal.h"
#include "map/MapBrush.h"
#include "render/ViewFrustum.h"

namespace {

enum class Walk { List, Tree, NoPlanes };

class CullDraw : public ObjectViewFixture {
protected:
    void SetUp() override {
        ObjectViewFixture::SetUp();
        settings().MaxWorldSize = 4096;
    }
    // Clears what the world renderer drew and draws the world's objects again the chosen way.
    void openDrawing() {
        open();
        hook([this](cCanvas*, RenderContext* context, RenderCounters* counters) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            RenderContext c = *context;
            ViewFrustum none{};
            if (walk == Walk::NoPlanes) c.frustum = &none;
            c.frameStamp = ++g_renderFrameStamp; // objects the renderer stamped are drawn again
            if (walk == Walk::List) {
                for (BrushRecord* b = worldspawn->firstBrush; b; b = b->next)
                    Entity_DrawBrush(b, &c, counters, 0x3);
                for (EntityRecord* e = worldspawn->next; e; e = e->next)
                    e->handle->draw(&c, counters, 0x3);
            } else {
                CullTree* tree = Cull_TreeOf(doc.world);
                Cull_BeginFrame(tree, &c);
                Cull_Draw(tree, tree->root, &c, counters, 0x1, -1);
                Cull_Draw(tree, tree->root, &c, counters, 0xA, -1);
                if (boxes) {
                    glColor4ub(0, 255, 200, 255);
                    Cull_DrawBoxes(tree, tree->root, &c);
                }
            }
            context->frameStamp = c.frameStamp;
        });
    }
    // A grid of boxes and point entities, one selected entity, a brush outside the root box.
    void generate() {
        int k = 0;
        for (int x = -1600; x <= 1600; x += 400)
            for (int y = -1600; y <= 1600; y += 400) {
                const float lo[3] = {float(x), float(y), float(-32 + (k % 3) * 40)};
                const float hi[3] = {lo[0] + 96, lo[1] + 64, lo[2] + 48};
                Test_Box(map(), worldspawn, lo, hi);
                const float origin[3] = {float(x + 200), float(y + 200), 16};
                EntityRecord* e = Test_Entity(map(), "info_thing", origin, EntityFlag::Point);
                Entity_SetColor(e, uint8_t(40 + k % 200), 200, uint8_t(k * 7 % 255), 255);
                if (k == 17) Map_SelectObject(doc.world, e);
                ++k;
            }
        const float farLo[3] = {2500, -40, 0}, farHi[3] = {2600, 40, 80}; // outside the root (±2048)
        Test_Box(map(), worldspawn, farLo, farHi);
        Map_CreateCullTree(doc.world);
    }

    Walk walk = Walk::List;
    bool boxes = false;
};

TEST_F(CullDraw, CullingDropsNothing) {
    openDrawing();
    generate();
    cCanvas* view = camera();
    struct Eye {
        float eye[3];
        float angles[3];
    } eyes[] = {
        {{0, 0, 64}, {0, 0, 0}},
        {{0, 0, 64}, {0, 135, 0}},
        {{-1900, -1900, 300}, {20, 45, 0}},
        {{1900, 1900, 40}, {0, 225, 0}},
        {{3000, 0, 64}, {0, 180, 0}},
        {{0, -3500, 900}, {30, 90, 0}},
        {{2300, 0, 40}, {0, 0, 0}},
        {{-1580, 1620, 10}, {-10, -60, 0}},
    };
    for (const Eye& e : eyes) {
        window->setCameraOrigin(e.eye);
        window->setCameraAngles(e.angles);
        walk = Walk::List;
        const QImage list = view->grabFramebuffer();
        walk = Walk::Tree;
        const QImage tree = view->grabFramebuffer();
        walk = Walk::NoPlanes;
        const QImage noPlanes = view->grabFramebuffer();
        EXPECT_EQ(tree, list) << e.eye[0] << "," << e.eye[1];
        EXPECT_EQ(noPlanes, list) << e.eye[0] << "," << e.eye[1];
    }
    // The top view too, zoomed out to the whole map (no two objects overlap there, so the order
    // of drawing does not show).
    cCanvas* v = top();
    v->zoom = 0.08f;
    v->needsFullRedraw = true;
    walk = Walk::List;
    const QImage list = v->grabFramebuffer();
    walk = Walk::Tree;
    EXPECT_EQ(v->grabFramebuffer(), list);
}

TEST_F(CullDraw, VisibleCellsOutlinedInTheBoxColour) {
    openDrawing();
    generate();
    walk = Walk::Tree;
    boxes = true;
    cCanvas* view = top();
    view->zoom = 0.08f;
    view->needsFullRedraw = true;
    const QImage image = view->grabFramebuffer();
    // The root's left side at x = -2048 and a first-level cell border at x = 0, off the boxes.
    const float rootSide[3] = {-2048, 300, 0}, border[3] = {0, 300, 0};
    EXPECT_TRUE(near(image, screen(view, rootSide), QColor(0, 255, 200)));
    EXPECT_TRUE(near(image, screen(view, border), QColor(0, 255, 200)));
}

TEST_F(CullDraw, DecalShowsWhenTheCellOfItsOriginIsCulled) {
    open();
    settings().UseCullTree = true;
    // Enough entities around the decal's origin that the tree splits down to 512-unit cells
    // there, out of the camera's sight (it looks along +x from near the origin).
    for (int k = 0; k < 10; ++k) {
        const float p[3] = {float(260 + 8 * k), float(1390 + 4 * k), 64};
        Test_Entity(map(), "info_thing", p, EntityFlag::Point);
    }
    const float origin[3] = {300, 1400, 64};
    EntityRecord* decal = Test_Entity(map(), "info_decal", origin, EntityFlag::Point);
    Entity_SetColor(decal, 250, 40, 40, 255);
    auto* model = static_cast<EntityModel*>(Sys_Alloc(sizeof(EntityModel)));
    // The decal's square reaches from its origin down to the fragment in front of the camera.
    const float mins[3] = {-1120, -20, -1356}, maxs[3] = {1720, 2820, 1484};
    std::memcpy(model->mins, mins, sizeof mins);
    std::memcpy(model->maxs, maxs, sizeof maxs);
    DecalFragment fragment{};
    fragment.entity = decal;
    fragment.primitive = DecalPrimitive::Polygon;
    fragment.vertexCount = 4;
    const float corners[4][3] = {{300, -20, 44}, {300, 20, 44}, {300, 20, 84}, {300, -20, 84}};
    for (int i = 0; i < 4; ++i)
        std::memcpy(fragment.vertices[i].xyz, corners[i], sizeof corners[i]);
    model->fragments = &fragment;
    decal->model = model;
    decal->modelKind = EntityModelKind::Decal;
    Map_CreateCullTree(doc.world);

    const QPoint centre(camera()->viewWidth / 2, camera()->viewHeight / 2);
    EXPECT_EQ(rgb(camera()->grabFramebuffer(), centre), QColor(250, 40, 40));
    settings().UseCullTree = false;
    EXPECT_EQ(rgb(camera()->grabFramebuffer(), centre), QColor(250, 40, 40));
    model->fragments = nullptr; // the fragment is the test's, not the pool's
}

} // namespace
