// The world renderer and the drawing of brushes, faces, patches and overlays, in real views under
// the test display (pixels read back), and its draw lists headless. The flat views' placement,
// patch meshes and centre marks are in MapRender2D_test.cpp.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include "MapRenderFixture.h"
#include "gamedata/PluginManager.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"

namespace {

TEST_F(MapRenderTest, CameraViewModesShowEdgesFlatTexturedAndShaded) {
    open();
    BrushRecord* brush = box(kLo, kHi);
    colour(brush, 100, 200, 50);
    texture(brush, solid(200, 40, 40));
    const float shade =
        Face_ShadeForNormal(brush->firstFace->normal) * 0 + 0.8f - 0.13363062f; // x = 100 face
    struct Case {
        int mode;
        QColor expected;
    } cases[] = {
        {1, QColor(int(100 * shade), int(200 * shade), int(50 * shade))},
        {2, QColor(200, 40, 40)},
        {3, QColor(int(200 * shade), int(40 * shade), int(40 * shade))},
    };
    for (const Case& c : cases) {
        camera()->renderMode = c.mode;
        EXPECT_TRUE(close(centre(camera()), c.expected))
            << "mode " << c.mode << " got " << centre(camera()).name().toStdString();
    }
    camera()->renderMode = 0;
    const QImage image = paint(camera());
    const QColor middle = rgb(image, probe(camera()).x(), probe(camera()).y());
    EXPECT_FALSE(close(middle, QColor(200, 40, 40), 20));
    EXPECT_FALSE(close(middle, QColor(100, 200, 50), 20));
    const float edge[3] = {100, -64, 64};
    const QPoint e = screen(camera(), edge);
    EXPECT_TRUE(near(image, e.x(), e.y(), QColor(100, 200, 50), 2));
}

// Textures whose pixels wait for their first show are decoded when the camera view draws faces of
// them, together on the worker pool before the frame's first face; one whose faces no view shows
// stays undecoded.
TEST_F(MapRenderTest, WaitingTexturesAreDecodedWhenTheCameraDrawsThem) {
    const QString plugin = QStringLiteral(ZARV_BIN_DIR) + "/plugins/kpQuake3x64.so";
    if (!QFileInfo::exists(plugin)) GTEST_SKIP() << "the Quake III plugin is not built";
    open();
    TextureManager& m = *GameData_Textures();
    if (m.textureFormats.isEmpty()) ASSERT_TRUE(Plugin_Load(GameData_Plugins(), plugin));
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("textures/wait"));
    for (const auto& [name, r, g, b] : {std::tuple{"red", 220, 30, 30}, std::tuple{"green", 30, 220, 30},
                                        std::tuple{"blue", 30, 30, 220}}) {
        // An uncompressed 24-bit TGA of 8 x 8, BGR.
        QByteArray tga(18, '\0');
        tga[2] = 2, tga[12] = 8, tga[14] = 8, tga[16] = 24;
        for (int i = 0; i < 64; ++i)
            tga += QByteArray(1, char(b)) + char(g) + char(r);
        QFile file(dir.filePath(QStringLiteral("textures/wait/%1.tga").arg(QLatin1String(name))));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(tga);
    }
    const QString path = dir.filePath("textures/wait::*.tga");
    ASSERT_TRUE(Tex_LoadPackage(Tex_AcquirePackage(path), nullptr, dir.path(), QString()));
    ShaderRecord* red = Tex_FindShader(&m, "wait/red");
    ShaderRecord* green = Tex_FindShader(&m, "wait/green");
    ShaderRecord* blue = Tex_FindShader(&m, "wait/blue");
    ASSERT_TRUE(red && green && blue && red->image && green->image && blue->image);
    ASSERT_TRUE(m.pending.contains(red->image) && m.pending.contains(green->image) &&
                m.pending.contains(blue->image));
    if (!m.textureFormats.front().decodeJob) GTEST_SKIP() << "the module does not decode on workers";

    BrushRecord* front = box(kLo, kHi);
    texture(front, red);
    // A floor below and beyond it, wider than it: its top face shows blue around the box.
    const float flo[3] = {100, -400, -64}, fhi[3] = {600, 400, -32};
    BrushRecord* floor = box(flo, fhi);
    texture(floor, blue);
    const float lo[3] = {-400, -64, 0}, hi[3] = {-336, 64, 128}; // behind the eye
    BrushRecord* behind = box(lo, hi);
    texture(behind, green);
    camera()->renderMode = 2;
    const int32_t pooledBefore = m.pooledCount;
    const QColor shown = centre(camera());
    EXPECT_TRUE(shown.red() > 150 && shown.green() < 90) << shown.name().toStdString();
    EXPECT_FALSE(m.pending.contains(red->image));
    EXPECT_NE(red->image->glName, 0u);
    EXPECT_FALSE(m.pending.contains(blue->image));
    EXPECT_EQ(m.pooledCount - pooledBefore, 2) << "the frame's textures decoded together on the pool";
    EXPECT_TRUE(m.pending.contains(green->image)) << "decoded without being drawn";

    for (BrushRecord* brush : {front, floor, behind})
        for (FaceRecord* f = brush->firstFace; f; f = f->next) {
            --f->texture->refCount;
            f->texture = nullptr;
        }
    Tex_ReleasePackage(path);
}

TEST_F(MapRenderTest, AnimatedEffectAddsItsAdditiveStage) {
    settings().AnimateShaders = true;
    open();
    BrushRecord* brush = box(kLo, kHi);
    ShaderRecord* base = solid(100, 20, 0);
    ShaderRecord* glow = solid(50, 60, 70);
    ShaderRecord* effect = solid(255, 255, 255);
    ShaderStage first{}, second{};
    for (ShaderStage* stage : {&first, &second}) {
        stage->colorKind = ColorKind::Identity;
        stage->texCoordKind = TexCoordKind::Base;
    }
    first.frames[0] = base->image;
    first.stateBits = 0x100;
    second.frames[0] = glow->image;
    second.stateBits = 0x22; // ONE, ONE
    first.next = &second;
    effect->stages = &first;
    texture(brush, effect);
    camera()->renderMode = 2;
    EXPECT_TRUE(close(centre(camera()), QColor(150, 80, 70))) << centre(camera()).name().toStdString();
    settings().AnimateShaders = false;
    EXPECT_TRUE(close(centre(camera()), QColor(255, 255, 255)));
    effect->stages = nullptr;
}

// Faces of several textures interleaved brush by brush, and one brush untextured: each face
// keeps its own texture and shade however the faces are gathered for drawing. The untextured
// brush shows the built-in "notexture" checker, magenta where it is looked at.
TEST_F(MapRenderTest, InterleavedTexturesEachKeepTheirOwnFaces) {
    open();
    ShaderRecord* red = solid(200, 40, 40);
    ShaderRecord* green = solid(40, 200, 40);
    const float shade = 0.8f - 0.13363062f; // the x = 100 faces
    struct Brush {
        float y;
        ShaderRecord* shader;
        QColor textured;
    } brushes[] = {{-100, red, QColor(200, 40, 40)},
                   {-50, green, QColor(40, 200, 40)},
                   {0, red, QColor(200, 40, 40)},
                   {50, nullptr, QColor(255, 0, 255)}};
    for (const Brush& b : brushes) {
        const float lo[3] = {100, b.y, 0}, hi[3] = {164, b.y + 40, 128};
        BrushRecord* brush = box(lo, hi);
        colour(brush, 60, 90, 250);
        if (b.shader) texture(brush, b.shader);
    }
    auto shaded = [&](const QColor& c) {
        return QColor(int(c.red() * shade), int(c.green() * shade), int(c.blue() * shade));
    };
    for (int mode : {1, 2, 3}) {
        camera()->renderMode = mode;
        const QImage image = paint(camera());
        for (const Brush& b : brushes) {
            QColor expected = shaded(QColor(60, 90, 250));
            if (mode == 2) expected = b.textured;
            if (mode == 3) expected = shaded(b.textured);
            const float point[3] = {100, b.y + 20, 90};
            const QPoint p = screen(camera(), point);
            EXPECT_TRUE(close(rgb(image, p.x(), p.y()), expected))
                << "mode " << mode << " brush at y " << b.y << " got "
                << rgb(image, p.x(), p.y()).name().toStdString() << " expected "
                << expected.name().toStdString();
        }
    }
}

// ---- Colours ------------------------------------------------------------------------------------

TEST_F(MapRenderTest, SelectedBrushInSelectionColoursOthersInVisgroupGroupAndOwnColour) {
    open();
    BrushRecord* selected = box(kLo, kHi);
    texture(selected, solid(200, 40, 40));
    Map_SelectObject(doc.world, selected);
    camera()->renderMode = 2;
    const QImage image = paint(camera());
    EXPECT_TRUE(close(rgb(image, probe(camera()).x(), probe(camera()).y()), QColor(200, 0, 0)));
    const float edge[3] = {100, -64, 64};
    const QPoint e = screen(camera(), edge);
    EXPECT_TRUE(near(image, e.x(), e.y(), QColor(255, 255, 0), 2));

    // 2D: selected red, visgroup, group and own colours.
    const float lo2[3] = {-180, -130, 0}, hi2[3] = {-150, -100, 64};
    const float lo3[3] = {-120, -130, 0}, hi3[3] = {-90, -100, 64};
    const float lo4[3] = {-60, -130, 0}, hi4[3] = {-30, -100, 64};
    BrushRecord* inSet = box(lo2, hi2);
    BrushRecord* grouped = box(lo3, hi3);
    BrushRecord* own = box(lo4, hi4);
    colour(inSet, 1, 2, 3);
    colour(own, 40, 90, 160);
    VisGroup* set = Map_CreateVisGroup(doc.world, "set");
    set->color[0] = 10, set->color[1] = 20, set->color[2] = 250, set->color[3] = 255;
    inSet->handle->addVisGroup(set);
    GroupRecord* group = Group_Create(Map_Handle(doc.world));
    group->handle->displayColor = Color_FromBytes(220, 120, 20, 255);
    Group_AddBrush(group, grouped);
    cCanvas* top = window->views[1];
    const QImage plan = paint(top);
    struct Case {
        const float* lo;
        const float* hi;
        QColor expected;
    } cases[] = {{kLo, kHi, QColor(255, 0, 0)},
                 {lo2, hi2, QColor(10, 20, 250)},
                 {lo3, hi3, QColor(220, 120, 20)},
                 {lo4, hi4, QColor(40, 90, 160)}};
    for (const Case& c : cases) {
        const float left[3] = {c.lo[0], (c.lo[1] + c.hi[1]) / 2, 0};
        const QPoint p = screen(top, left);
        EXPECT_TRUE(near(plan, p.x(), p.y(), c.expected)) << c.expected.name().toStdString();
    }
}

// ---- Hidden and filtered --------------------------------------------------------------------------

TEST_F(MapRenderTest, HiddenAndFilteredObjectsAreNeitherDrawnNorPicked) {
    open();
    BrushRecord* brush = box(kLo, kHi);
    colour(brush, 30, 200, 90);
    camera()->renderMode = 1;
    const QColor shown = centre(camera());
    ASSERT_EQ(pickCentre(camera()), idOf(brush));
    cCanvas* top = window->views[1];
    const float left[3] = {kLo[0], 0, 0};
    const QPoint p = screen(top, left);
    ASSERT_TRUE(near(paint(top), p.x(), p.y(), QColor(30, 200, 90)));

    brush->flags |= BrushFlags::Hidden;
    EXPECT_NE(centre(camera()), shown);
    EXPECT_EQ(pickCentre(camera()), 0);
    EXPECT_FALSE(near(paint(top), p.x(), p.y(), QColor(30, 200, 90)));
    EXPECT_EQ(top->renderForPick(p.x() + 2, p.y(), 0), 0);
    brush->flags &= ~BrushFlags::Hidden;

    // A hidden visgroup hides its members.
    VisGroup* set = Map_CreateVisGroup(doc.world, "set");
    brush->handle->addVisGroup(set);
    Map_SetVisGroupVisible(doc.world, set);
    EXPECT_EQ(pickCentre(camera()), 0);
    Map_SetVisGroupVisible(doc.world, set);
    EXPECT_EQ(pickCentre(camera()), idOf(brush));

    // An entity without a class under HideMask 0x40; a patch under 0x20.
    EntityRecord* unknown = Test_Entity(Map_Handle(doc.world), "no_such_class", kLo, 0);
    const float lo[3] = {90, -40, 20}, hi[3] = {96, 40, 100};
    box(lo, hi, unknown);
    unknown->handle->update(0);
    EXPECT_EQ(pickCentre(camera()), idOf(unknown));
    settings().HideMask = 0x40;
    EXPECT_EQ(pickCentre(camera()), idOf(brush));
    settings().HideMask = 0;

    BrushRecord* carrier = Brush_Create(Map_Handle(doc.world), worldspawn);
    const TextureInfo info = Test_TextureInfo();
    PatchRecord* patch = Patch_Create(carrier, &info, 3, 3);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r) {
            PatchPoint& point = patch->points[c][r];
            point.xyz[0] = 80;
            point.xyz[1] = -32 + 32 * c;
            point.xyz[2] = 32 + 32 * r;
        }
    carrier->handle->update(BrushUpdate::TessellatePatch);
    EXPECT_EQ(pickCentre(camera()), idOf(carrier));
    settings().HideMask = 0x20;
    EXPECT_EQ(pickCentre(camera()), idOf(unknown));
}

TEST_F(MapRenderTest, TextureCategoryFiltersFollowTheViewFlags) {
    open();
    BrushRecord* brush = box(kLo, kHi);
    ShaderRecord* shader = solid(200, 40, 40);
    texture(brush, shader);
    camera()->renderMode = 2;
    struct Case {
        int32_t category;
        bool MainSettings::*setting;
    } cases[] = {{0x1, &MainSettings::DrawNoDraw},
                 {0x4, &MainSettings::DrawHint},
                 {0x2, &MainSettings::DrawClip},
                 {0x8, &MainSettings::DrawTrigger}};
    for (const Case& c : cases) {
        shader->category = c.category;
        settings().*c.setting = true;
        EXPECT_TRUE(close(centre(camera()), QColor(200, 40, 40))) << c.category;
        settings().*c.setting = false;
        EXPECT_FALSE(close(centre(camera()), QColor(200, 40, 40))) << c.category;
        EXPECT_EQ(pickCentre(camera()), 0) << c.category;
        // The 2D views draw every category.
        cCanvas* top = window->views[1];
        const float left[3] = {kLo[0], 0, 0};
        const QPoint p = screen(top, left);
        EXPECT_EQ(top->renderForPick(p.x() + 3, p.y(), 0), idOf(brush)) << c.category;
    }
}

TEST_F(MapRenderTest, SkyFacesShowTheSkyThroughTheStencil) {
    settings().DrawSky = true;
    open();
    BrushRecord* brush = box(kLo, kHi);
    ShaderRecord* sky = solid(90, 90, 90);
    ShaderRecord* box = solid(20, 200, 220);
    sky->category = 0x600;
    for (TextureImage*& face : sky->box)
        face = box->image;
    texture(brush, sky);
    camera()->renderMode = 3;
    ASSERT_TRUE(camera()->format().stencilBufferSize() > 0);
    EXPECT_TRUE(close(centre(camera()), QColor(20, 200, 220))) << centre(camera()).name().toStdString();
    // Without the sky pass the face shows its own image, shaded.
    settings().DrawSky = false;
    const int grey = int(90 * (0.8f - 0.13363062f));
    EXPECT_TRUE(close(centre(camera()), QColor(grey, grey, grey))) << centre(camera()).name().toStdString();
}

TEST_F(MapRenderTest, PatchesAndOverlaysTakeTheirCarriersColoursAndIds) {
    settings().IgnoreGroups = true;
    open();
    cCanvas* top = window->views[1];
    const float edge[3] = {90, 20, 0}; // off the centre marker
    for (bool patch : {true, false}) {
        BrushRecord* brush = carrier(patch);
        colour(brush, 30, 200, 90);
        camera()->renderMode = 1;
        const QColor flat = centre(camera());
        EXPECT_TRUE(close(flat, QColor(int(30 * 0.666f), int(200 * 0.666f), int(90 * 0.666f)), 4))
            << patch << " " << flat.name().toStdString();
        EXPECT_EQ(pickCentre(camera()), idOf(brush)) << patch;
        const QPoint p = screen(top, edge);
        EXPECT_EQ(top->renderForPick(p.x(), p.y(), 0), idOf(brush)) << patch;
        EXPECT_TRUE(near(paint(top), p.x(), p.y(), QColor(30, 200, 90))) << patch;
        VisGroup* set = Map_CreateVisGroup(doc.world, "set");
        set->color[0] = 10, set->color[1] = 20, set->color[2] = 250, set->color[3] = 255;
        brush->handle->addVisGroup(set);
        EXPECT_TRUE(near(paint(top), p.x(), p.y(), QColor(10, 20, 250))) << patch;
        Map_SelectObject(doc.world, brush);
        EXPECT_TRUE(near(paint(top), p.x(), p.y(), QColor(255, 0, 0))) << patch;
        // Under pick base 3 (faces) the carrier's id, as the face of a brush would give its own.
        cIdTool textureTool(kTextureToolId);
        g_mainWindow->activeTool = &textureTool;
        EXPECT_EQ(pickCentre(camera()), idOf(brush)) << patch;
        g_mainWindow->activeTool = nullptr;
        Map_DeselectObject(doc.world, brush);
        brush->flags |= BrushFlags::Hidden;
    }
}

TEST_F(MapRenderTest, TransformPreviewDrawsWhereTheBrushWillBe) {
    open();
    BrushRecord* brush = box(kLo, kHi);
    colour(brush, 30, 200, 90);
    cPreviewTool tool;
    tool.brush = brush;
    const float move[12] = {1, 0, 0, -200, 0, 1, 0, 0, 0, 0, 1, 0};
    std::memcpy(tool.preview.matrix, move, sizeof move);
    g_mainWindow->activeTool = &tool;
    cCanvas* top = window->views[1];
    const float movedEdge[3] = {kHi[0] - 200, 20, 0}, oldEdge[3] = {kHi[0], 20, 0};
    const QImage image = paint(top);
    const QPoint a = screen(top, movedEdge), b = screen(top, oldEdge);
    EXPECT_TRUE(near(image, a.x(), a.y(), QColor(255, 0, 0)));
    EXPECT_TRUE(near(image, b.x(), b.y(), QColor(30, 200, 90))); // the brush itself stays
    EXPECT_FLOAT_EQ(tool.preview.mins[0], kLo[0] - 200);
    EXPECT_FLOAT_EQ(tool.preview.maxs[0], kHi[0] - 200);
    // Keep bits hold the +x side: the brush stretches instead of moving.
    tool.preview.keepBits = 0x1;
    tool.preview.origin[0] = 132;
    paint(top);
    EXPECT_FLOAT_EQ(tool.preview.maxs[0], kHi[0]);
    EXPECT_FLOAT_EQ(tool.preview.mins[0], kLo[0] - 200);
    g_mainWindow->activeTool = nullptr;
}

TEST_F(MapRenderTest, ViewFlagsShowTheEyeTheCellsAndOutlinesThroughOccluders) {
    open();
    BrushRecord* selected = box(kLo, kHi);
    const float lo[3] = {40, -120, -20}, hi[3] = {50, 120, 150};
    box(lo, hi); // between the eye and the selected brush
    Map_SelectObject(doc.world, selected);
    camera()->renderMode = 1;
    const float edge[3] = {100, -64, 64};
    const QPoint e = screen(camera(), edge);
    const QColor yellow(255, 255, 0);
    EXPECT_FALSE(near(paint(camera()), e.x(), e.y(), yellow, 2));
    settings().SelOverlaySkipDepth = true;
    EXPECT_TRUE(near(paint(camera()), e.x(), e.y(), yellow, 2));

    // The camera view's eye in the 2D views.
    cCanvas* top = window->views[1];
    const QColor eyeColour(0, 50, 255);
    EXPECT_FALSE(anyPixel(paint(top), eyeColour));
    settings().DrawCamera = true;
    EXPECT_TRUE(anyPixel(paint(top), eyeColour));

    // The cull tree's cells, seen from far enough back to show the root box's edges.
    const float back[3] = {-600, 0, 64};
    window->setCameraOrigin(back);
    Map_CreateCullTree(doc.world);
    settings().UseCullTree = true;
    const QColor cells(0, 255, 200);
    EXPECT_FALSE(anyPixel(paint(camera()), cells));
    settings().DrawCullTree = true;
    EXPECT_TRUE(anyPixel(paint(camera()), cells));
}

TEST_F(MapRenderTest, GridLinesOnFacesAreBoundedPerFace) {
    open();
    camera()->renderMode = 1;
    settings().EnableGrid3D = true;
    const QColor yLines(0, 255, 0); // lines of constant y on the x = 100 face
    BrushRecord* small = box(kLo, kHi);
    EXPECT_TRUE(anyPixel(paint(camera()), yLines));
    // A face 60,000 units wide at grid 1 would take 60,000 lines an axis: it draws none (they would
    // lie closer than a pixel) and the frame ends.
    small->flags |= BrushFlags::Hidden;
    const float lo[3] = {300, -30000, -30000}, hi[3] = {364, 30000, 30000};
    box(lo, hi);
    settings().CurrentGridSize = 1;
    EXPECT_FALSE(anyPixel(paint(camera()), yLines));
    // 235 lines an axis are drawn; those at y = +-256 lie in view (the one at 0 hides behind the
    // view's z axis).
    settings().CurrentGridSize = 256;
    EXPECT_TRUE(anyPixel(paint(camera()), yLines));
}

// ---- Picking --------------------------------------------------------------------------------------

TEST_F(MapRenderTest, PickBasesGiveGroupObjectAndFaceIds) {
    open();
    BrushRecord* brush = box(kLo, kHi);
    GroupRecord* group = Group_Create(Map_Handle(doc.world));
    Group_AddBrush(group, brush);
    EntityRecord* door = Test_Entity(Map_Handle(doc.world), "func_door", kLo, 0);
    const float lo[3] = {-180, -130, 0}, hi[3] = {-120, -100, 64};
    box(lo, hi, door);
    door->handle->update(0);
    cCanvas* top = window->views[1];
    const float inside[3] = {kLo[0] + 8, 0, 0}, doorInside[3] = {lo[0] + 8, -115, 0};
    const QPoint a = screen(top, inside), b = screen(top, doorInside);
    FaceRecord* seen = nullptr; // the x = 100 face the camera looks at
    for (FaceRecord* f = brush->firstFace; f; f = f->next)
        if (f->normal[0] < -0.5f) seen = f;
    FaceRecord* upward = nullptr; // the z = 128 face the top view looks at
    for (FaceRecord* f = brush->firstFace; f; f = f->next)
        if (f->normal[2] > 0.5f) upward = f;
    ASSERT_TRUE(seen && upward);

    settings().IgnoreGroups = false;
    EXPECT_EQ(pickCentre(camera()), idOf(group));
    EXPECT_EQ(top->renderForPick(a.x(), a.y(), 0), idOf(group));
    EXPECT_EQ(top->renderForPick(b.x(), b.y(), 0), idOf(door));
    settings().IgnoreGroups = true;
    EXPECT_EQ(pickCentre(camera()), idOf(brush));
    EXPECT_EQ(top->renderForPick(a.x(), a.y(), 0), idOf(brush));
    EXPECT_EQ(top->renderForPick(b.x(), b.y(), 0), idOf(door->firstBrush));
    cIdTool textureTool(kTextureToolId);
    g_mainWindow->activeTool = &textureTool;
    EXPECT_EQ(pickCentre(camera()), idOf(seen));
    EXPECT_EQ(top->renderForPick(a.x(), a.y(), 0), idOf(upward));
}

TEST_F(MapRenderTest, BlendedSkyAndEffectFacesPick) {
    settings().AnimateShaders = true;
    settings().DrawSky = true;
    settings().Transparency = true;
    open();
    BrushRecord* brush = box(kLo, kHi);
    ShaderRecord* shader = solid(200, 40, 40);
    texture(brush, shader);
    camera()->renderMode = 3;
    struct Case {
        const char* what;
        int32_t category;
        uint32_t faceFlags;
        int32_t stageBits;
    } cases[] = {{"sky", 0x400, 0, 0}, {"blended", 0, FaceFlags::Blended, 0}, {"effect", 0, 0, 0x65}};
    ShaderStage stage{};
    stage.frames[0] = shader->image;
    for (const Case& c : cases) {
        shader->category = c.category;
        stage.stateBits = c.stageBits;
        shader->stages = c.stageBits ? &stage : nullptr;
        for (FaceRecord* f = brush->firstFace; f; f = f->next)
            f->flags = (f->flags & ~FaceFlags::Blended) | c.faceFlags;
        centre(camera());
        EXPECT_EQ(pickCentre(camera()), idOf(brush)) << c.what;
    }
    shader->stages = nullptr;
}

// ---- Passes and queues ----------------------------------------------------------------------------

TEST_F(MapRenderTest, SelectedBrushIsDrawnOnceAfterTheOthers) {
    open();
    const float lo[3] = {0, 0, 0}, hi[3] = {64, 64, 64};
    BrushRecord* under = box(lo, hi);
    BrushRecord* over = box(lo, hi);
    colour(under, 30, 200, 90);
    colour(over, 30, 200, 90);
    cCanvas* top = window->views[1];
    const float left[3] = {0, 32, 0};
    const QPoint p = screen(top, left);
    Map_SelectObject(doc.world, under); // first in the list, but drawn in the selection pass
    const QImage image = paint(top);
    EXPECT_TRUE(near(image, p.x(), p.y(), QColor(255, 0, 0)));
    EXPECT_EQ(top->counters.brushes, 2);
    Map_DeselectObject(doc.world, under);
    EXPECT_FALSE(near(paint(top), p.x(), p.y(), QColor(255, 0, 0)));
    EXPECT_EQ(top->counters.brushes, 2);
    (void)over;
}

// The camera view sends the world's brushes nearest first, in bands. Two pairs, one made near
// brush first and one far brush first: with or without the cull tree, flat or textured, each near
// brush stays in front, each far one shows beside it, and every brush is drawn once.
TEST_F(MapRenderTest, NearerBrushStaysInFrontWhateverTheMapOrder) {
    open();
    ShaderRecord* nearTexture = solid(200, 40, 40);
    ShaderRecord* farTexture = solid(40, 200, 40);
    for (float side : {-1.0f, 1.0f}) {
        const float nearLo[3] = {100, side < 0 ? -70.0f : 30.0f, 44},
                    nearHi[3] = {116, side < 0 ? -30.0f : 70.0f, 84};
        const float farLo[3] = {300, side < 0 ? -200.0f : 20.0f, 0},
                    farHi[3] = {340, side < 0 ? -20.0f : 200.0f, 128};
        BrushRecord* pair[2];
        pair[side < 0 ? 0 : 1] = box(nearLo, nearHi);
        pair[side < 0 ? 1 : 0] = box(farLo, farHi);
        BrushRecord* nearBrush = side < 0 ? pair[0] : pair[1];
        BrushRecord* farBrush = side < 0 ? pair[1] : pair[0];
        colour(nearBrush, 200, 30, 30);
        colour(farBrush, 30, 200, 30);
        texture(nearBrush, nearTexture);
        texture(farBrush, farTexture);
    }
    auto red = [](const QColor& c) { return c.red() > 100 && c.green() < 80 && c.blue() < 80; };
    auto green = [](const QColor& c) { return c.green() > 100 && c.red() < 80 && c.blue() < 80; };
    for (bool tree : {false, true}) {
        settings().UseCullTree = tree;
        if (tree) Map_CreateCullTree(doc.world);
        for (int mode : {1, 3}) {
            camera()->renderMode = mode;
            const QImage image = paint(camera());
            for (float side : {-1.0f, 1.0f}) {
                const float inFront[3] = {100, 50 * side, 64}, beside[3] = {300, 40 * side, 64};
                const QPoint n = screen(camera(), inFront), f = screen(camera(), beside);
                EXPECT_TRUE(red(rgb(image, n.x(), n.y())))
                    << "tree " << tree << " mode " << mode << " side " << side << " got "
                    << rgb(image, n.x(), n.y()).name().toStdString();
                EXPECT_TRUE(green(rgb(image, f.x(), f.y())))
                    << "tree " << tree << " mode " << mode << " side " << side << " got "
                    << rgb(image, f.x(), f.y()).name().toStdString();
            }
            EXPECT_EQ(camera()->counters.brushes, 4) << "tree " << tree << " mode " << mode;
        }
    }
}

// A patch shows its front filled and its back as the lines of its mesh, whichever way round it
// stands and in each solid mode; a wall far behind shows through the back.
TEST_F(MapRenderTest, PatchFillsItsFrontAndOutlinesItsBack) {
    open();
    const float wallLo[3] = {300, -200, -100}, wallHi[3] = {340, 200, 200};
    BrushRecord* wall = box(wallLo, wallHi);
    colour(wall, 30, 200, 30);
    texture(wall, solid(30, 200, 30));
    BrushRecord* brush = carrier(true);
    colour(brush, 200, 30, 30);
    ShaderRecord* shader = solid(200, 30, 30);
    auto red = [](const QColor& c) { return c.red() > 100 && c.green() < 80 && c.blue() < 80; };
    auto green = [](const QColor& c) { return c.green() > 100 && c.red() < 80 && c.blue() < 80; };
    auto reddish = [&](const QImage& image, const QPoint& p) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (red(rgb(image, p.x() + dx, p.y() + dy))) return true;
        return false;
    };
    PatchRecord* patch = brush->patch;
    ASSERT_NE(patch, nullptr);
    patch->texture = shader;
    ++shader->refCount;
    const float bottomEdge[3] = {90, 0, 20};
    for (bool turned : {false, true}) {
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 3; ++r)
                patch->points[c][r].xyz[1] = (turned ? -1.0f : 1.0f) * (40 - 40.0f * c);
        patch->flags |= PatchFlags::NeedsUpdate;
        brush->handle->update(BrushUpdate::TessellatePatch);
        for (int mode : {1, 3}) {
            camera()->renderMode = mode;
            const QImage image = paint(camera());
            const QColor inside = rgb(image, probe(camera()).x(), probe(camera()).y());
            EXPECT_TRUE(turned ? green(inside) : red(inside))
                << "turned " << turned << " mode " << mode << " got " << inside.name().toStdString();
            EXPECT_TRUE(reddish(image, screen(camera(), bottomEdge)))
                << "turned " << turned << " mode " << mode;
        }
    }
}

TEST_F(MapRenderTest, BlendedSurfacesAreLaidFarToNear) {
    settings().Transparency = true;
    settings().TransparentSort = true;
    open();
    const float nearLo[3] = {100, -64, 0}, nearHi[3] = {110, 64, 128};
    const float farLo[3] = {300, -256, -128}, farHi[3] = {310, 256, 256};
    BrushRecord* nearBrush = box(nearLo, nearHi);
    BrushRecord* farBrush = box(farLo, farHi);
    colour(nearBrush, 250, 0, 0);
    colour(farBrush, 0, 0, 250);
    ShaderRecord* glass = solid(255, 255, 255);
    glass->opacity = 0.5f;
    glass->image = nullptr; // drawn flat
    for (BrushRecord* b : {nearBrush, farBrush}) {
        texture(b, glass);
        for (FaceRecord* f = b->firstFace; f; f = f->next)
            f->flags |= FaceFlags::Blended;
    }
    camera()->renderMode = 1;
    Color_Table()[COLOR_3D_BACKGROUND].colour = QColor(0, 0, 0);
    const float shade = 0.8f - 0.13363062f;
    // Far first: near over (far over background) = 0.5 near + 0.25 far.
    const QColor expected(int(0.5f * 250 * shade), 0, int(0.25f * 250 * shade));
    const QColor got = centre(camera());
    EXPECT_TRUE(close(got, expected, 4)) << got.name().toStdString();
}

TEST_F(MapRenderTest, CullTreeDropsNothingFromAnyEye) {
    open();
    std::srand(7);
    // One box per cell of a 6 x 6 x 5 lattice of 512 units, so no two overlap (coplanar
    // overlaps would make the drawing order show).
    for (int i = 0; i < 180; ++i) {
        const int cell[3] = {i % 6, (i / 6) % 6, i / 36};
        float lo[3], hi[3];
        for (int k = 0; k < 3; ++k) {
            lo[k] = float((cell[k] - 3) * 512 + std::rand() % 200);
            hi[k] = lo[k] + float(16 + std::rand() % 280);
        }
        colour(box(lo, hi), 40 + i, 255 - i, (i * 37) % 256);
    }
    Map_CreateCullTree(doc.world);
    const float farLo[3] = {60000, 0, 0}, farHi[3] = {60064, 64, 64}; // outside the root box
    box(farLo, farHi);
    camera()->renderMode = 1;
    const float eyes[][3] = {
        {0, 0, 0}, {-3000, -3000, 500}, {3000, 3000, -500}, {-2100, 2100, 0}, {59000, 32, 32}};
    const float angles[][3] = {{0, 0, 0}, {20, 45, 0}, {-20, 225, 0}, {0, -45, 0}, {0, 0, 0}};
    for (size_t i = 0; i < std::size(eyes); ++i) {
        window->setCameraOrigin(eyes[i]);
        window->setCameraAngles(angles[i]);
        settings().UseCullTree = false;
        const QImage plain = paint(camera());
        settings().UseCullTree = true;
        const QImage culled = paint(camera());
        EXPECT_TRUE(plain == culled) << "eye " << i;
    }
}

TEST_F(MapRenderTest, FrameStampWrapLeavesNothingUndrawn) {
    open();
    BrushRecord* brush = box(kLo, kHi);
    camera()->renderMode = 1;
    const QColor shown = centre(camera());
    g_renderFrameStamp = 0x7ffffff0;
    brush->frameStamp = 5; // a stamp from before the wrap
    centre(camera());
    g_renderFrameStamp = 0x7fffffff;
    EXPECT_EQ(centre(camera()), shown);
    EXPECT_LT(g_renderFrameStamp, 100);
}

// ---- Headless ---------------------------------------------------------------------------------------

class DrawLists : public ::testing::Test {
protected:
    void SetUp() override { Map_InitWorld(&world, nullptr); }
    void TearDown() override { Map_DestroyWorld(&world); }
    MapWorld world{};
};

TEST_F(DrawLists, NodesAreRecycledNotReallocated) {
    std::vector<DrawNode*> first;
    for (int i = 0; i < 5; ++i)
        first.push_back(DrawQueue_Blended(Map_DrawQueue(&world)));
    first.push_back(DrawQueue_Sky(Map_DrawQueue(&world)));
    EXPECT_EQ(DrawList_Length(world.blendedList), 5);
    EXPECT_EQ(DrawList_Length(world.skyList), 1);
    Map_RecycleDrawLists(&world);
    EXPECT_EQ(world.blendedList, nullptr);
    EXPECT_EQ(DrawList_Length(world.blendedNodePool), 5);
    std::vector<DrawNode*> second;
    for (int i = 0; i < 5; ++i)
        second.push_back(DrawQueue_Blended(Map_DrawQueue(&world)));
    second.push_back(DrawQueue_Sky(Map_DrawQueue(&world)));
    std::sort(first.begin(), first.end());
    std::sort(second.begin(), second.end());
    EXPECT_EQ(first, second);
    // A clear frees lists and pools (the leak check sees any node left).
    DrawQueue_Blended(Map_DrawQueue(&world));
    Map_ClearWorld(&world);
    EXPECT_EQ(world.blendedList, nullptr);
    EXPECT_EQ(world.blendedNodePool, nullptr);
    EXPECT_EQ(world.skyNodePool, nullptr);
}

} // namespace
