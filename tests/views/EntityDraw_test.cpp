// Entities drawn through the real views: colours, filters, models through a model format the
// test registers, target links, pick ids and the guard around plugin drawing.
#include <QTemporaryDir>

#include <GL/gl.h>

#include "ObjectViewFixture.h"
#include "document/VisGroup.h"
#include "gamedata/EntityClass.h"
#include "gamedata/ModelCache.h"
#include "map/MapGroup.h"
#include "map/ObjectDraw.h"
#include "map/PointDraw.h"
#include "render/GLStateCache.h"

namespace {

// ---- The test model format: a cross of two lines 64 units long, or a filled square -------------

struct TestModelFormat {
    static inline int32_t answer = 1;       // what the render function answers
    static inline bool messUpState = false; // leave GL state behind as a careless plugin would
    static inline bool filled = false;      // a filled square in place of the cross
    static inline int32_t calls = 0;
    static inline int32_t lastFlags = 0;
    static inline GLuint junkTexture = 0;

    static int32_t load(int32_t, const char*, const uint8_t*, uint32_t, ModelCacheEntry* entry) {
        for (int i = 0; i < 3; ++i) {
            entry->mins[i] = -32.0f;
            entry->maxs[i] = 32.0f;
        }
        return 1;
    }
    static int32_t render(int32_t, int32_t flags, ModelCacheEntry*, EntityRecord* e) {
        ++calls;
        lastFlags = flags;
        const float* o = e->origin;
        if (filled) {
            glBegin(GL_QUADS);
            glVertex3f(o[0] - 32, o[1] - 32, o[2]);
            glVertex3f(o[0] + 32, o[1] - 32, o[2]);
            glVertex3f(o[0] + 32, o[1] + 32, o[2]);
            glVertex3f(o[0] - 32, o[1] + 32, o[2]);
            glEnd();
        } else {
            glBegin(GL_LINES);
            glVertex3f(o[0] - 32, o[1], o[2]);
            glVertex3f(o[0] + 32, o[1], o[2]);
            glVertex3f(o[0], o[1] - 32, o[2]);
            glVertex3f(o[0], o[1] + 32, o[2]);
            glEnd();
        }
        if (messUpState) {
            static const float junk[12] = {1e6f, 1e6f, 1e6f, -1e6f, 0, 0, 0, 1e6f, 0, 0, 0, -1e6f};
            glEnable(GL_BLEND);
            glBlendFunc(GL_ZERO, GL_ONE); // everything drawn next would vanish
            glDepthMask(GL_FALSE);
            if (!junkTexture) glGenTextures(1, &junkTexture);
            glBindTexture(GL_TEXTURE_2D, junkTexture);
            glEnable(GL_TEXTURE_2D);
            glVertexPointer(3, GL_FLOAT, 0, junk);
            glColorPointer(4, GL_UNSIGNED_BYTE, 0, junk);
            glEnableClientState(GL_COLOR_ARRAY);
            glColor4ub(1, 2, 3, 4);
            glLineWidth(9.0f);
        }
        return answer;
    }
};

class EntityDraw : public ObjectViewFixture {
protected:
    void SetUp() override {
        ObjectViewFixture::SetUp();
        TestModelFormat::answer = 1;
        TestModelFormat::messUpState = false;
        TestModelFormat::filled = false;
        TestModelFormat::calls = 0;
        ModelFormatEntry format;
        format.id = 77;
        format.name = QStringLiteral("test model");
        format.extension = QStringLiteral(".tmdl");
        format.loadModel = &TestModelFormat::load;
        format.render = &TestModelFormat::render;
        g_mainWindow->models.modelFormats.append(format);
        modelPath = folder.filePath(QStringLiteral("cross.tmdl"));
        QFile file(modelPath);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("model");
        file.close();
        modelClass.kind = EntityClassKind::Point;
        modelClass.name = "test_model";
        modelClass.helpers = EntityClassHelper::Studio;
        modelClass.model = modelPath.toLocal8Bit();
        settings().ModelRenderDistance = 8192;
        settings().DrawModels = true;
    }
    void TearDown() override {
        ObjectViewFixture::TearDown();
        if (TestModelFormat::junkTexture && window == nullptr) {
            // The texture went with the context; only forget the name.
            TestModelFormat::junkTexture = 0;
        }
        Model_PurgeUnused(&g_mainWindow->models);
        g_mainWindow->models.modelFormats.removeIf([](const ModelFormatEntry& f) { return f.id == 77; });
    }
    // A point entity without a class: a 16-unit box around the origin.
    EntityRecord* boxEntity(float x, float y, float z, const char* classname = "info_thing") {
        const float origin[3] = {x, y, z};
        EntityRecord* e = Test_Entity(map(), classname, origin, EntityFlag::Point);
        Entity_SetColor(e, 10, 200, 30, 255);
        return e;
    }
    EntityRecord* modelEntity(float x, float y, float z) {
        EntityRecord* e = boxEntity(x, y, z, "test_model");
        e->handle->setClass(&modelClass);
        e->handle->rebuildModel(false);
        Entity_SetColor(e, 250, 120, 10, 255);
        return e;
    }
    // The middle of the left edge of a 16-unit entity box in the top view.
    QPoint leftEdge(const EntityRecord* e) {
        const float p[3] = {e->mins[0], e->origin[1], e->origin[2]};
        return screen(top(), p);
    }

    QTemporaryDir folder;
    QString modelPath;
    EntityClass modelClass;
};

TEST_F(EntityDraw, ColourBySelectionVisgroupGroupAndOwn) {
    open();
    Color_Table()[COLOR_SELECTED_LINE].colour = QColor(255, 0, 0);
    Color_Table()[COLOR_SELECTED_FILL].colour = QColor(200, 0, 0);
    EntityRecord* own = boxEntity(-150, 0, 0);
    EntityRecord* inSet = boxEntity(-75, 0, 0);
    EntityRecord* grouped = boxEntity(0, 0, 0);
    EntityRecord* selected = boxEntity(75, 0, 0);
    VisGroup* set = Map_CreateVisGroup(doc.world, "set");
    const uint8_t setColour[4] = {40, 60, 250, 255};
    std::memcpy(set->color, setColour, 4);
    inSet->handle->addVisGroup(set);
    GroupRecord* group = Group_Create(map());
    ASSERT_EQ(Group_AddEntity(group, grouped), nullptr);
    Map_SelectObject(doc.world, selected);

    struct Case {
        EntityRecord* entity;
        QColor expected;
    } cases[] = {
        {own, QColor(10, 200, 30)},
        {inSet, QColor(40, 60, 250)},
        {grouped, color(group->handle->displayColor)},
        {selected, QColor(255, 0, 0)},
    };
    QImage image = top()->grabFramebuffer();
    for (const Case& c : cases)
        EXPECT_TRUE(near(image, leftEdge(c.entity), c.expected)) << c.entity->origin[0];
    // 2D views colour by sets only with UseVisgroupColors.
    settings().UseVisgroupColors = false;
    image = top()->grabFramebuffer();
    EXPECT_TRUE(near(image, leftEdge(inSet), QColor(10, 200, 30)));
    EXPECT_TRUE(near(image, leftEdge(grouped), QColor(10, 200, 30)));
}

TEST_F(EntityDraw, HiddenAndFilteredEntitiesAreNeitherDrawnNorPicked) {
    open();
    settings().IgnoreGroups = true;
    struct Case {
        const char* name;
        const char* classname;
        int32_t hideMask;
        bool hideFlag;
        bool hiddenSet;
    } cases[] = {
        {"hidden flag", "info_thing", 0, true, false},
        {"hidden visgroup", "info_thing", 0, false, true},
        {"no class (0x40)", "info_thing", 0x40, false, false},
        {"items and weapons (0x1)", "weapon_rocket", 0x1, false, false},
        {"path-like (0x2)", "path_corner", 0x2, false, false},
    };
    float x = 30; // in front of the camera too
    for (const Case& c : cases) {
        EntityRecord* e = boxEntity(x, 40, 64, c.classname);
        x += 35;
        const float centre[3] = {e->origin[0], e->origin[1], 0};
        const QPoint edge = leftEdge(e);
        // Shown and picked while nothing hides it.
        ASSERT_TRUE(near(top()->grabFramebuffer(), edge, QColor(10, 200, 30))) << c.name;
        EXPECT_EQ(pick(top(), centre), e->handle->id) << c.name;
        camera()->grabFramebuffer();
        EXPECT_EQ(e->frameStamp, camera()->context.frameStamp) << c.name;
        VisGroup* set = nullptr;
        if (c.hideFlag) e->flags |= EntityFlag::Hidden;
        if (c.hiddenSet) {
            set = Map_CreateVisGroup(doc.world, "hidden");
            e->handle->addVisGroup(set);
            Map_SetVisGroupVisible(doc.world, set);
        }
        settings().HideMask = c.hideMask;
        EXPECT_FALSE(near(top()->grabFramebuffer(), edge, QColor(10, 200, 30))) << c.name;
        camera()->grabFramebuffer();
        EXPECT_NE(e->frameStamp, camera()->context.frameStamp) << c.name; // not drawn in 3D either
        EXPECT_EQ(pick(top(), centre), 0) << c.name;
        settings().HideMask = 0;
        e->flags |= EntityFlag::Hidden; // out of the way of the next case
    }
}

TEST_F(EntityDraw, ModelsIn2DOnlyWithDrawModels) {
    open();
    EntityRecord* e = modelEntity(160, 0, 0);
    const float armPoint[3] = {160 + 24, 0, 0}; // on the cross, inside the model's box
    const QPoint arm = screen(top(), armPoint);
    const QColor orange(250, 120, 10);
    EXPECT_TRUE(near(top()->grabFramebuffer(), arm, orange));
    EXPECT_EQ(TestModelFormat::lastFlags & 0x3, 3); // wireframe without shading in 2D

    settings().DrawModels = false;
    const QImage image = top()->grabFramebuffer();
    EXPECT_FALSE(near(image, arm, orange));
    // Without the model the entity shows its box, which the model's bounds size.
    const float boxEdge[3] = {e->mins[0], 0, 0};
    EXPECT_EQ(e->mins[0], 160 - 32.0f);
    EXPECT_TRUE(near(image, screen(top(), boxEdge), orange));
}

TEST_F(EntityDraw, ModelFormatDrawingNothingLeavesTheBox) {
    open();
    EntityRecord* e = modelEntity(160, 0, 0);
    TestModelFormat::answer = 0;
    const float boxEdge[3] = {e->mins[0], 0, 0};
    const QImage image = top()->grabFramebuffer();
    EXPECT_GT(TestModelFormat::calls, 0);
    EXPECT_TRUE(near(image, screen(top(), boxEdge), QColor(250, 120, 10)));
}

TEST_F(EntityDraw, PluginStateDoesNotLeakIntoTheNextBrush) {
    open();
    TestModelFormat::messUpState = true;
    TestModelFormat::filled = true;
    EntityRecord* model = modelEntity(160, -100, 64);
    const float zero[3] = {0, 0, 0};
    EntityRecord* wall = Test_Entity(map(), "func_wall", zero, 0);
    const float lo[3] = {100, -32, 32}, hi[3] = {164, 32, 96};
    Test_Box(map(), wall, lo, hi);
    wall->handle->update(0);
    // The model, then the wall drawn again right after it, then the rest of the paint.
    hook([&](cCanvas*, RenderContext* context, RenderCounters* counters) {
        model->handle->draw(context, counters, 0x3);
        for (BrushRecord* b = wall->firstBrush; b; b = b->next)
            b->frameStamp = 0;
        wall->handle->draw(context, counters, 0x3);
    });
    for (cCanvas* view : {camera(), top()}) {
        model->flags |= EntityFlag::Hidden;
        const QImage without = view->grabFramebuffer();
        model->flags &= ~EntityFlag::Hidden;
        TestModelFormat::calls = 0;
        const QImage with = view->grabFramebuffer();
        ASSERT_GT(TestModelFormat::calls, 0) << view->viewType;
        // Around the wall (the camera looks straight at it), and the caption corner drawn last.
        const float wallCentre[3] = {132, 0, 64};
        const QPoint c =
            view->is3D() ? QPoint(view->viewWidth / 2, view->viewHeight / 2) : screen(view, wallCentre);
        int differing = 0;
        for (int dy = -20; dy <= 20; dy += 2)
            for (int dx = -36; dx <= 36; dx += 2)
                if (with.pixel(c + QPoint(dx, dy)) != without.pixel(c + QPoint(dx, dy))) ++differing;
        if (with.pixel(2, 2) != without.pixel(2, 2)) ++differing;
        EXPECT_EQ(differing, 0) << view->viewType;
    }
}

TEST_F(EntityDraw, ShowConnectionsDrawsTargetLinksInTheTargetsColour) {
    open();
    const float a[3] = {-150, -100, 0}, b[3] = {150, -100, 0};
    EntityRecord* from = Test_Entity(map(), "info_thing", a, EntityFlag::Point, {{"target", "t1"}});
    EntityRecord* to = Test_Entity(map(), "info_thing", b, EntityFlag::Point, {{"targetname", "t1"}});
    Entity_SetColor(from, 10, 200, 30, 255);
    Entity_SetColor(to, 60, 90, 250, 255);
    const float quarter[3] = {-75, -100, 0}; // on the link, away from its one arrow head
    const QColor blue(60, 90, 250);
    EXPECT_FALSE(near(top()->grabFramebuffer(), screen(top(), quarter), blue));
    settings().ShowConnections = true;
    const QImage image = top()->grabFramebuffer();
    EXPECT_TRUE(near(image, screen(top(), quarter), blue));
    // A link of 300 units has two heads, at 75 and 225: their arms reach 6 units to each side.
    const float arm[3] = {-150 + 75 - 8, -100 + 6, 0};
    EXPECT_TRUE(near(image, screen(top(), arm), blue, 2));
    // Hidden targets get no link.
    to->flags |= EntityFlag::Hidden;
    EXPECT_FALSE(near(top()->grabFramebuffer(), screen(top(), quarter), blue));
}

TEST_F(EntityDraw, LinkArrowsOfAnyLengthAreDrawnInChunks) {
    open();
    cCanvas* view = top();
    view->makeCurrent();
    const RenderContext& context = view->context;
    const float from[3] = {0, 0, 0};
    struct Case {
        float to;
        int32_t heads;
    } cases[] = {{100, 1}, {300, 2}, {256 * 700, 701}, {1e30f, kLinkArrowLimit}};
    for (const Case& c : cases) {
        const float to[3] = {c.to, 0, 0};
        EXPECT_EQ(PointDraw_LinkArrows(&context, from, to, 256.0f, 1, false), c.heads) << c.to;
    }
    const float inf[3] = {INFINITY, 0, 0};
    EXPECT_EQ(PointDraw_LinkArrows(&context, from, inf, 256.0f, 1, false), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    view->doneCurrent();
}

TEST_F(EntityDraw, PickIdsUnderEachPickBase) {
    open();
    EntityRecord* e = boxEntity(100, 100, 0);
    GroupRecord* inner = Group_Create(map());
    GroupRecord* outer = Group_Create(map());
    Group_SetParent(outer, inner);
    ASSERT_EQ(Group_AddEntity(inner, e), nullptr);
    ASSERT_EQ(e->outerGroup, outer);
    const float centre[3] = {100, 100, 0};
    settings().IgnoreGroups = false; // pick base 1: whole groups
    EXPECT_EQ(pick(top(), centre), outer->handle->id);
    settings().IgnoreGroups = true; // pick base 2: objects
    EXPECT_EQ(pick(top(), centre), e->handle->id);

    // Pick base 3 (faces) takes an entity box by the entity's own id: drawn straight into the view
    // with the matrices the last pick pass set.
    cCanvas* view = top();
    pick(view, centre);
    view->makeCurrent();
    RenderContext context = view->context;
    for (int32_t base : {1, 2, 3}) {
        context.pickBase = base;
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        ASSERT_TRUE(e->handle->draw(&context, nullptr, 0x3));
        glFinish();
        const QPoint s = screen(view, centre);
        GLubyte pixel[4] = {};
        glReadPixels(s.x(), view->viewHeight - 1 - s.y(), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        const int id = pixel[0] | pixel[1] << 8 | pixel[2] << 16;
        EXPECT_EQ(id, base == 1 ? outer->handle->id : e->handle->id) << base;
    }
    GL_ResyncStateCache(view->stateCache);
    view->doneCurrent();
}

// The pass hands unselected boxes and light diamonds to its draw queue, which draws runs of them
// at once. Each one drawn on its own after the pass (the queue closed), in the same order over the
// same brushes, must give the same pixels in every view and camera mode.
TEST_F(EntityDraw, QueuedBoxesDrawTheSamePixelsAsBoxesDrawnOneByOne) {
    open();
    settings().HideMask = 0x10; // no titles: hidden entities have none
    EntityClass lightClass;
    lightClass.name = "light";
    lightClass.helpers = EntityClassHelper::Light;
    // Brushes between the entities in the list and in depth: boxes behind, in front and beside.
    const float wallLo[3] = {150, -40, 0}, wallHi[3] = {160, 10, 90};
    Test_Box(map(), worldspawn, wallLo, wallHi);
    std::vector<EntityRecord*> entities;
    for (int i = 0; i < 24; ++i) {
        const float x = 60.0f + 13.0f * float(i), y = -90.0f + 7.5f * float(i), z = float((i * 37) % 120);
        EntityRecord* e = boxEntity(x, y, z, i % 3 == 2 ? "info_thing" : "light");
        if (i % 3 != 2) {
            e->handle->setClass(&lightClass);
            const uint8_t colour[4] = {uint8_t(40 + 9 * i), uint8_t(250 - 7 * i), uint8_t(90 + 5 * i), 255};
            std::memcpy(e->renderColor, colour, 4);
        }
        entities.push_back(e);
        if (i == 11) {
            const float lo[3] = {200, 30, 20}, hi[3] = {230, 70, 60};
            Test_Box(map(), worldspawn, lo, hi);
        }
    }
    struct Case {
        const char* name;
        cCanvas* view;
        int32_t mode; // camera render mode
    } cases[] = {
        {"top view", top(), 0},         {"camera wireframe", camera(), 0}, {"camera flat", camera(), 1},
        {"camera shaded", camera(), 2}, {"camera textured", camera(), 3},
    };
    for (const Case& c : cases) {
        if (c.view == camera()) camera()->renderMode = c.mode;
        for (EntityRecord* e : entities)
            e->flags &= ~EntityFlag::Hidden;
        hook(nullptr);
        const QImage queued = c.view->grabFramebuffer();
        // The reference: the entities hidden from the pass and drawn by the hook one by one, in the
        // state the pass draws its objects in.
        for (EntityRecord* e : entities)
            e->flags |= EntityFlag::Hidden;
        hook([&](cCanvas*, RenderContext* context, RenderCounters* counters) {
            GL_State(context->stateCache, context->is3D ? Draw_SolidState(context) : GLS::Opaque | 0x100000);
            for (EntityRecord* e : entities) {
                e->flags &= ~EntityFlag::Hidden;
                e->handle->draw(context, counters, 0x1);
                e->flags |= EntityFlag::Hidden;
            }
        });
        const QImage oneByOne = c.view->grabFramebuffer();
        EXPECT_TRUE(queued == oneByOne) << c.name;
        int differing = 0;
        for (int y = 0; y < queued.height(); ++y)
            for (int x = 0; x < queued.width(); ++x)
                differing += queued.pixel(x, y) != oneByOne.pixel(x, y);
        EXPECT_EQ(differing, 0) << c.name;
        hook(nullptr);
        EXPECT_TRUE(queued != c.view->grabFramebuffer()) << c.name; // the entities showed at all
    }
    hook(nullptr);
}

TEST_F(EntityDraw, RadiusRingPointsStayWithinBounds) {
    struct Case {
        float radius;
        int32_t points;
    } cases[] = {{50, 16}, {300, 30}, {2000, 64}, {-5, 16}, {NAN, 16}, {1e30f, 64}};
    for (const Case& c : cases)
        EXPECT_EQ(Entity_RadiusPoints(c.radius), c.points) << c.radius;
}

} // namespace
