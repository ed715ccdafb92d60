// The vertex tool through a real map window: handles picked and dragged in the top view, picked in
// the camera view and nudged, rotated by a right drag, scaled, welded and split by keys; every
// morph one undo level "Morphing" that the clean-up closes.
#include <QApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <cmath>

#include "ToolDriver.h"
#include "core/Prompt.h"
#include "dialogs/application/ScaleVertexDialog.h"
#include "core/Winding.h"
#include "document/MapSelection.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "tools/VertexHandles.h"
#include "tools/VertexTool.h"

namespace {

class VertexToolTest : public ToolFixture {
public:
    void SetUp() override {
        ToolFixture::SetUp();
        settings().VertexToolRestrict = true;
        settings().VertexToolCoplanarMerge = true;
    }
    // A selected brush and the tool switched on.
    BrushRecord* startOn(BrushRecord* b) {
        Map_SelectObject(w, b);
        g_mainWindow->toolVertexManipulation();
        vertex = tool<cVertexTool>(ToolId::Vertex);
        return b;
    }
    BrushRecord* cube() {
        const float lo[3] = {0, 0, 0}, hi[3] = {64, 64, 64};
        return box(lo, hi);
    }
    void leave() { g_mainWindow->toolSelect(); }
    static bool planar(const BrushRecord* b) {
        for (const FaceRecord* f = b->firstFace; f; f = f->next)
            if (!f->handle->isPlanar(nullptr)) return false;
        return true;
    }
    static int faceCount(const BrushRecord* b) {
        int n = 0;
        for (const FaceRecord* f = b->firstFace; f; f = f->next)
            ++n;
        return n;
    }
    // Every edge has its reverse in another face: the brush is closed.
    static bool closed(const BrushRecord* b) {
        auto same = [](const float* a, const float* c) {
            return std::fabs(a[0] - c[0]) < 0.02f && std::fabs(a[1] - c[1]) < 0.02f &&
                   std::fabs(a[2] - c[2]) < 0.02f;
        };
        for (const FaceRecord* f = b->firstFace; f; f = f->next)
            for (int i = 0; i < f->vertexCount; ++i) {
                const float* s = f->vertices[i].xyz;
                const float* e = f->vertices[(i + 1) % f->vertexCount].xyz;
                bool found = false;
                for (const FaceRecord* g = b->firstFace; g && !found; g = g->next)
                    for (int k = 0; g != f && k < g->vertexCount && !found; ++k)
                        found =
                            same(g->vertices[k].xyz, e) && same(g->vertices[(k + 1) % g->vertexCount].xyz, s);
                if (!found) return false;
            }
        return true;
    }
    // Picks the column at (i, j) of the top view, Ctrl adds.
    void pick(float i, float j, bool add = false) {
        driver.setView(top);
        driver.click(driver.at(i, j), Qt::LeftButton, add ? Qt::ControlModifier : Qt::NoModifier);
    }

    cVertexTool* vertex = nullptr;
};

TEST_F(VertexToolTest, CornerDraggedInTheTopViewShearsOneFace) {
    BrushRecord* b = startOn(cube());
    std::vector<std::vector<float>> planes;
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        planes.push_back({f->normal[0], f->normal[1], f->normal[2], f->dist});
    const std::string before = dump();
    driver.drag(driver.at(64, 64), driver.at(80, 64));
    EXPECT_TRUE(vertex->morphing);
    leave();
    EXPECT_FALSE(vertex->morphing);
    int changed = 0;
    const float root17 = std::sqrt(17.0f);
    for (FaceRecord* f = b->firstFace; f; f = f->next) {
        const std::vector<float> plane = {f->normal[0], f->normal[1], f->normal[2], f->dist};
        if (std::find(planes.begin(), planes.end(), plane) != planes.end()) continue;
        ++changed;
        EXPECT_NEAR(f->normal[0], 4 / root17, 1e-5f);
        EXPECT_NEAR(f->normal[1], -1 / root17, 1e-5f);
        EXPECT_NEAR(f->normal[2], 0, 1e-5f);
        EXPECT_NEAR(f->dist, 256 / root17, 1e-3f);
    }
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(faceCount(b), 6);
    EXPECT_TRUE(
        console.contains(QStringLiteral("Morphing complete: 0 tiny faces removed, 0 tiny brushes removed")));
    expectUndoRedo("Morphing", before);
}

TEST_F(VertexToolTest, CameraPickedCornerNudgedIsRefusedWithRestrictionsAndFixedWithout) {
    const float lo[3] = {100, -32, -32}, hi[3] = {164, 32, 32};
    BrushRecord* b = startOn(box(lo, hi));
    cCanvas* camera = viewOfType(ViewType::Camera);
    camera->grabFramebuffer();
    const float corner[3] = {100, 32, 32};
    float s[3];
    ASSERT_TRUE(camera->worldToScreen(corner, s));
    driver.setView(camera);
    const std::string before = dump();
    driver.click(QPoint(int(std::lround(s[0])), int(std::lround(s[1]))));
    int selected = 0;
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        for (int i = 0; i < f->vertexCount; ++i)
            selected += (f->vertices[i].flags & HandleFlags::Vertex) != 0;
    EXPECT_EQ(selected, 3); // the corner's copy in each of its three faces
    // Refused: the three faces would bend.
    const std::string picked = dump();
    driver.key(Qt::Key_PageUp);
    EXPECT_EQ(dump(), picked);
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        for (int i = 0; i < f->vertexCount; ++i)
            EXPECT_LE(f->vertices[i].xyz[2], 32.0f);
    EXPECT_TRUE(planar(b));
    // Without restrictions the faces bend, and Ctrl+Alt+T splits them flat again.
    settings().VertexToolRestrict = false;
    driver.key(Qt::Key_PageUp);
    EXPECT_FALSE(planar(b));
    driver.key(Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(planar(b));
    EXPECT_GT(faceCount(b), 6);
    EXPECT_TRUE(closed(b));
    leave();
    expectUndoRedo("Morphing", before);
}

TEST_F(VertexToolTest, RefusedStepLeavesTheGeometryBitIdentical) {
    // A turned cube: no plane is axial, so arithmetic take-back would drift.
    const float a = 0.4f, c = 0.3f;
    const float axes[3][3] = {{std::cos(a), std::sin(a), 0},
                              {-std::sin(a) * std::cos(c), std::cos(a) * std::cos(c), std::sin(c)},
                              {std::sin(a) * std::sin(c), -std::cos(a) * std::sin(c), std::cos(c)}};
    std::vector<std::vector<float>> planes;
    for (const auto& n : axes)
        for (float sign : {1.0f, -1.0f})
            planes.push_back({sign * n[0], sign * n[1], sign * n[2], 32});
    BrushRecord* b = startOn(brush(worldspawn, planes));
    // One corner with its copies in its three faces, as a pick selects them.
    const float p[3] = {b->firstFace->vertices[0].xyz[0], b->firstFace->vertices[0].xyz[1],
                        b->firstFace->vertices[0].xyz[2]};
    int copies = 0;
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        for (int k = 0; k < f->vertexCount; ++k)
            if (std::fabs(f->vertices[k].xyz[0] - p[0]) < 0.02f &&
                std::fabs(f->vertices[k].xyz[1] - p[1]) < 0.02f &&
                std::fabs(f->vertices[k].xyz[2] - p[2]) < 0.02f) {
                f->vertices[k].flags |= HandleFlags::Vertex;
                ++copies;
            }
    ASSERT_EQ(copies, 3);
    vertex->view = top;
    const std::string before = dump();
    for (float d : {3.7f, -5.3f, 11.1f})
        EXPECT_EQ(vertex->moveElements(top, 2, cVertexTool::kNoAxis, d, 0.0f) & 1, 0);
    vertex->pivot[0] = 13.3f;
    EXPECT_EQ(vertex->rotateElements(top, 0.3f), 0);
    EXPECT_EQ(vertex->scaleElements(top, 5, 1.37f), 0);
    EXPECT_EQ(dump(), before);
}

TEST_F(VertexToolTest, ShortRightDragOpensTheMenuLongerOneRotates) {
    BrushRecord* b = startOn(cube());
    pick(64, 64);
    const QPoint centre = driver.at(32, 32);
    driver.press(centre, Qt::RightButton);
    driver.move(centre + QPoint(6, 0), Qt::RightButton);
    driver.move(centre + QPoint(10, 0), Qt::RightButton);
    driver.release(centre + QPoint(10, 0), Qt::RightButton);
    EXPECT_EQ(menus, QStringList{QStringLiteral("Vertex")});
    EXPECT_FALSE(vertex->morphing);
    menus.clear();
    driver.press(centre, Qt::RightButton);
    driver.move(centre + QPoint(1, 0), Qt::RightButton);
    driver.move(centre + QPoint(20, 0), Qt::RightButton);
    driver.move(centre + QPoint(20, 20), Qt::RightButton);
    driver.release(centre + QPoint(20, 20), Qt::RightButton);
    EXPECT_TRUE(menus.isEmpty());
    EXPECT_TRUE(vertex->morphing);
    // 45 degrees about (32, 32): the corner (64, 64) goes to (32 + 32·√2, 32).
    bool found = false;
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        for (int i = 0; i < f->vertexCount; ++i)
            if (std::fabs(f->vertices[i].xyz[0] - (32 + 32 * std::sqrt(2.0f))) < 0.01f &&
                std::fabs(f->vertices[i].xyz[1] - 32) < 0.01f)
                found = true;
    EXPECT_TRUE(found);
    leave();
}

TEST_F(VertexToolTest, RefusedScaleFactorAnswersThePreviousOne) {
    startOn(cube());
    pick(64, 64);
    driver.setView(top);
    EXPECT_FALSE(driver.key(Qt::Key_E, Qt::AltModifier)); // acted on, answered as not handled
    ASSERT_TRUE(vertex->scaleMode);
    const std::string before = dump();
    // Along z about the corner column's middle: its faces would bend.
    EXPECT_EQ(vertex->changeScale(4, 2.0), 1.0);
    EXPECT_EQ(dump(), before);
    settings().VertexToolRestrict = false;
    EXPECT_EQ(vertex->changeScale(4, 2.0), 2.0);
    EXPECT_NE(dump(), before);
    driver.key(Qt::Key_E, Qt::AltModifier);
    EXPECT_FALSE(vertex->scaleMode);
    leave();
}

TEST_F(VertexToolTest, WeldInTheTopViewKeepsDepthAndReportsFailures) {
    BrushRecord* b = startOn(cube());
    const std::string before = dump();
    pick(64, 64);
    pick(64, 0, true);
    driver.key(Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        for (int i = 0; i < f->vertexCount; ++i) {
            const float z = f->vertices[i].xyz[2];
            EXPECT_TRUE(z == 0.0f || z == 64.0f) << z;
        }
    leave();
    EXPECT_TRUE(console.contains(QStringLiteral(
        "Morphing complete: 1 tiny faces removed, 0 tiny brushes removed, 2 vertices welded")));
    EXPECT_EQ(faceCount(b), 5);
    expectUndoRedo("Morphing", before);

    // Three columns of the cube into one: no solid is left, the brush stays as it was.
    ASSERT_TRUE(Undo_StepUndo(history));
    b = w->selectedBrushes ? w->selectedBrushes : worldspawn->firstBrush;
    Map_SelectNone(w);
    startOn(b);
    pick(0, 0);
    pick(64, 0, true);
    pick(64, 64, true);
    const std::string held = Map_DumpWorld(w, WorldDumpFlag::Serials).toStdString();
    driver.key(Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(console.contains(
        QStringLiteral("can't weld vertices in 1 brushes - resulting solids will be invalid")));
    EXPECT_EQ(Map_DumpWorld(w, WorldDumpFlag::Serials).toStdString(), held);
    leave();
}

TEST_F(VertexToolTest, SplitsAndTheirMessages) {
    struct Case {
        std::vector<std::pair<float, float>> columns;
        const char* message; // null: the split happens
    };
    const Case cases[] = {
        {{{0, 0}, {64, 0}, {64, 64}}, "can't split, more than 2 vertices selected on a face"},
        {{{0, 0}}, "can't split, you must have 2 non-adjacent vertices or edges selected on a face"},
        {{{0, 0}, {64, 64}}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message ? c.message : "split");
        BrushRecord* b = startOn(cube());
        bool first = true;
        for (auto [i, j] : c.columns) {
            pick(i, j, !first);
            first = false;
        }
        driver.key(Qt::Key_F, Qt::ControlModifier);
        if (c.message) {
            EXPECT_TRUE(console.contains(QString::fromLatin1(c.message)));
            EXPECT_EQ(faceCount(b), 6);
        } else {
            EXPECT_EQ(faceCount(b), 7);
            EXPECT_TRUE(planar(b));
            EXPECT_TRUE(closed(b));
        }
        leave();
        Map_SelectNone(w);
        Map_DeleteBrush(w, b, false);
    }
}

TEST_F(VertexToolTest, EdgeSplitKeepsTheBrushClosedAndTheNeighboursMidpointsSelected) {
    BrushRecord* b = startOn(cube());
    g_mainWindow->toolVertexManipulation(); // vertices only
    g_mainWindow->toolVertexManipulation(); // edges only
    ASSERT_EQ(vertex->mode, VertexMode::Edges);
    pick(32, 0);
    pick(32, 64, true);
    driver.key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(faceCount(b), 7);
    EXPECT_TRUE(closed(b));
    // Every copy of the two midpoints is selected, in the new faces and in their neighbours.
    g_mainWindow->toolVertexManipulation(); // both
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        for (int i = 0; i < f->vertexCount; ++i) {
            const float* p = f->vertices[i].xyz;
            const bool midpoint = p[0] == 32.0f && (p[1] == 0.0f || p[1] == 64.0f);
            EXPECT_EQ((f->vertices[i].flags & HandleFlags::Vertex) != 0, midpoint);
        }
    // So a drag of them moves the brush's every copy: it stays closed.
    settings().VertexToolRestrict = false;
    driver.setView(viewOfType(ViewType::Front));
    vertex->moveElements(driver.view(), 2, cVertexTool::kNoAxis, 16.0f, 0.0f);
    EXPECT_TRUE(closed(b));
    leave();
}

TEST_F(VertexToolTest, CollapsedBrushRemovesItsEntityButNeverTheWorld) {
    settings().VertexToolRestrict = false;
    for (bool world : {false, true}) {
        SCOPED_TRACE(world ? "world" : "func_wall");
        EntityRecord* owner = world ? worldspawn : brushEntity("func_wall");
        const float lo[3] = {0, 0, 0}, hi[3] = {64, 64, 64};
        BrushRecord* b = box(owner, lo, hi);
        startOn(b);
        driver.setView(top);
        driver.drag(driver.at(-16, -16), driver.at(80, 80));
        driver.key(Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
        leave();
        EXPECT_TRUE(console.contains(QStringLiteral("tiny brushes removed")));
        EXPECT_EQ(worldspawn->firstBrush, nullptr);
        bool found = false;
        for (EntityRecord* e = w->entities; e; e = e->next)
            found = found || e == owner;
        EXPECT_EQ(found, world);
        EXPECT_EQ(console.contains(QStringLiteral("removing the whole entity: func_wall")), true);
    }
}

TEST_F(VertexToolTest, KeysAnswerOnlyToTheirExactModifiersAndCyrillicTwins) {
    BrushRecord* b = startOn(cube());
    pick(0, 0);
    pick(64, 64, true);
    driver.setView(top);
    driver.key(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(faceCount(b), 6);
    driver.key(0x410, Qt::ControlModifier); // the Cyrillic layout's F
    EXPECT_EQ(faceCount(b), 7);
    // Escape drops the handle selection.
    EXPECT_TRUE(vertex->hasSelection());
    EXPECT_TRUE(driver.key(Qt::Key_Escape));
    EXPECT_FALSE(vertex->hasSelection());
    leave();
}

TEST_F(VertexToolTest, BoxDragSelectsTheColumnsInsideAndShowsItsSize) {
    BrushRecord* b = startOn(cube());
    driver.setView(top);
    driver.move(driver.at(48, -16));
    driver.press(driver.at(48, -16));
    driver.move(driver.at(56, 0), Qt::LeftButton);
    driver.move(driver.at(80, 80), Qt::LeftButton);
    EXPECT_EQ(status4(), QStringLiteral("32 x 96"));
    driver.release(driver.at(80, 80));
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        for (int i = 0; i < f->vertexCount; ++i)
            EXPECT_EQ((f->vertices[i].flags & HandleFlags::Vertex) != 0, f->vertices[i].xyz[0] == 64.0f);
    leave();
}

TEST_F(VertexToolTest, MorphModeQuestionStopsOrEndsMorphMode) {
    startOn(cube());
    {
        // For the commands the vertex tool in use is morph mode, before any change too.
        cPromptScript script;
        script.answerButton(PromptButton::No);
        EXPECT_FALSE(g_mainWindow->confirmExitMorphMode());
        EXPECT_EQ(script.asked.size(), 1);
        EXPECT_EQ(Tool_Id(g_mainWindow->activeTool), ToolId::Vertex);
    }
    const std::string before = dump();
    pick(64, 64);
    vertex->moveElements(top, 0, 1, 16, 0);
    ASSERT_TRUE(vertex->morphing);
    {
        cPromptScript script;
        script.answerButton(PromptButton::No);
        EXPECT_FALSE(g_mainWindow->confirmExitMorphMode());
        ASSERT_EQ(script.asked.size(), 1);
        EXPECT_EQ(script.asked[0].text,
                  QStringLiteral(
                      "You must exit morph mode to perform this operation.\nDo you want to do this now?"));
        EXPECT_TRUE(vertex->morphing);
    }
    {
        cPromptScript script;
        script.answerButton(PromptButton::Yes);
        EXPECT_TRUE(g_mainWindow->confirmExitMorphMode());
        EXPECT_FALSE(vertex->morphing);
        EXPECT_EQ(Tool_Id(g_mainWindow->activeTool), ToolId::Selection);
        EXPECT_FALSE(history->recording);
    }
    expectUndoRedo("Morphing", before);
}

TEST_F(VertexToolTest, ClosingTheDocumentEndsMorphModeQuietly) {
    startOn(cube());
    pick(64, 64);
    vertex->moveElements(top, 0, 1, 16, 0);
    ASSERT_TRUE(history->recording);
    g_mainWindow->endMorphModeFor(&doc);
    EXPECT_FALSE(vertex->morphing);
    EXPECT_FALSE(history->recording);
    EXPECT_EQ(vertex->view, nullptr);
    EXPECT_EQ(newestLevelName(), "Morphing");
}

TEST_F(VertexToolTest, ScaleWindowScalesThroughTheTool) {
    std::unique_ptr<cScaleVertexDialog> own;
    if (!g_mainWindow->scaleVertexDialog) {
        own = std::make_unique<cScaleVertexDialog>([] { return (*g_mainWindow->toolSet)[ToolId::Vertex]; },
                                                   g_mainWindow);
        g_mainWindow->scaleVertexDialog = own.get();
    }
    cScaleVertexDialog* dialog = g_mainWindow->scaleVertexDialog;
    BrushRecord* b = startOn(cube());
    driver.setView(top);
    driver.drag(driver.at(-16, -16), driver.at(80, 80)); // every corner
    driver.key(Qt::Key_E, Qt::AltModifier);
    ASSERT_TRUE(dialog->isVisible());
    auto* factor = dialog->findChild<QDoubleSpinBox*>(QStringLiteral("sbScale"));
    ASSERT_NE(factor, nullptr);
    auto type = [&](const QString& text) {
        factor->selectAll();
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, ch.unicode(), Qt::NoModifier, QString(ch));
            QApplication::sendEvent(factor, &press);
        }
    };
    auto extent = [&] {
        float lo = 1e9f, hi = -1e9f;
        for (FaceRecord* f = b->firstFace; f; f = f->next)
            for (int i = 0; i < f->vertexCount; ++i) {
                lo = std::min(lo, f->vertices[i].xyz[0]);
                hi = std::max(hi, f->vertices[i].xyz[0]);
            }
        return std::make_pair(lo, hi);
    };
    type(QStringLiteral("2"));
    EXPECT_EQ(extent(), std::make_pair(-32.0f, 96.0f));
    type(QStringLiteral("0.5")); // against the size when scale mode began
    EXPECT_EQ(extent(), std::make_pair(16.0f, 48.0f));
    EXPECT_EQ(factor->value(), 0.5);
    driver.key(Qt::Key_E, Qt::AltModifier);
    EXPECT_FALSE(dialog->isVisible());
    leave();
    if (own) g_mainWindow->scaleVertexDialog = nullptr;
}

TEST_F(VertexToolTest, PatchPointsAndOverlayCornersMoveAndUndoExactly) {
    BrushRecord* carrier = Brush_Create(map(), worldspawn);
    PatchRecord* patch = Patch_Create(carrier, nullptr, 3, 3);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r) {
            float* p = patch->points[c][r].xyz;
            p[0] = 200.0f + 32.0f * float(c);
            p[1] = 32.0f * float(r);
            p[2] = 0;
        }
    patch->flags |= PatchFlags::NeedsUpdate;
    carrier->handle->update(BrushUpdate::TessellatePatch);
    BrushRecord* plate = Brush_Create(map(), worldspawn);
    const TextureInfo poster = texture("decals/poster");
    OverlayRecord* o = Overlay_Create(plate, &poster);
    const float corners[4][2] = {{-200, 0}, {-168, 0}, {-168, 32}, {-200, 32}};
    for (int i = 0; i < 4; ++i) {
        o->corners[i].xyz[0] = corners[i][0];
        o->corners[i].xyz[1] = corners[i][1];
        o->corners[i].xyz[2] = 0;
    }
    o->handle->update(OverlayUpdate::Geometry);
    plate->handle->update(0);
    Map_SelectObject(w, carrier);
    startOn(plate);
    const std::string before = dump();
    pick(232, 0);         // an edge-kind control point
    pick(264, 64, true);  // a vertex-kind one
    pick(-168, 32, true); // an overlay corner
    EXPECT_NE(patch->points[1][0].flags & HandleFlags::Vertex, 0);
    EXPECT_NE(patch->points[2][2].flags & HandleFlags::Vertex, 0);
    EXPECT_NE(o->handle->cornerFlags[2] & HandleFlags::Vertex, 0);
    driver.setView(top);
    driver.key(Qt::Key_Right);
    EXPECT_EQ(patch->points[1][0].xyz[0], 248.0f);
    EXPECT_EQ(patch->points[2][2].xyz[0], 280.0f);
    EXPECT_EQ(patch->points[0][0].xyz[0], 200.0f);
    EXPECT_EQ(o->corners[2].xyz[0], -152.0f);
    EXPECT_EQ(o->corners[1].xyz[0], -168.0f);
    leave();
    vertex->clearSelection();
    expectUndoRedo("Morphing", before);
}

TEST_F(VertexToolTest, CtrlBSnapsTheSelectionByTheChosenCorner) {
    const float lo[3] = {5, 5, 0}, hi[3] = {69, 69, 64};
    BrushRecord* b = startOn(box(lo, hi));
    const std::string before = dump();
    pick(69, 69);
    driver.setView(top);
    EXPECT_TRUE(driver.key(Qt::Key_B, Qt::ControlModifier));
    EXPECT_FALSE(vertex->morphing);
    // The brush moved as a whole by less than a grid step, so one of its corners is on the grid.
    float mins[3] = {1e9f, 1e9f, 1e9f}, maxs[3] = {-1e9f, -1e9f, -1e9f};
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        for (int i = 0; i < f->vertexCount; ++i)
            for (int k = 0; k < 3; ++k) {
                mins[k] = std::min(mins[k], f->vertices[i].xyz[k]);
                maxs[k] = std::max(maxs[k], f->vertices[i].xyz[k]);
            }
    EXPECT_EQ(maxs[0] - mins[0], 64.0f);
    EXPECT_EQ(std::fmod(mins[0], 16.0f), 0.0f);
    EXPECT_EQ(std::fmod(mins[1], 16.0f), 0.0f);
    vertex->clearSelection();
    expectUndoRedo("Snap to Grid", before);
}

TEST_F(VertexToolTest, InwardDragOfACylinderColumnIsRefused) {
    // Eight sides: a column dragged inwards dents the brush while both its side faces stay flat,
    // so only a test of every vertex against every face plane refuses it.
    std::vector<std::vector<float>> planes;
    for (int k = 0; k < 8; ++k) {
        const float a = 0.78539816f * float(k);
        planes.push_back({std::cos(a), std::sin(a), 0, 64});
    }
    planes.push_back({0, 0, 1, 32});
    planes.push_back({0, 0, -1, 32});
    BrushRecord* b = startOn(brush(worldspawn, planes));
    const float corner = 64.0f * std::tan(0.39269908f); // the column at 22.5 degrees: (64, 26.5)
    driver.setView(top);
    driver.drag(driver.at(64, corner), driver.at(32, corner), Qt::NoModifier, Qt::KeyboardModifiers(-1), 6);
    // It follows the mouse while the brush stays convex (x 48: the chord between its neighbours
    // lies at x 39.8) and stops there; the other axis still follows.
    int column = 0;
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        for (int i = 0; i < f->vertexCount; ++i) {
            const float* p = f->vertices[i].xyz;
            if (p[1] <= 0 || p[0] <= 30) continue;
            EXPECT_EQ(p[0], 48.0f);
            EXPECT_NEAR(p[1], 32.0f, 1e-3f);
            ++column;
        }
    EXPECT_EQ(column, 6);
    vertex->clearSelection();
    leave();
    EXPECT_EQ(faceCount(b), 10);
}

// ---- Bullets ------------------------------------------------------------------------------------

// Square bullets of the bullet size with a one-pixel border; vertices over the edges at the same
// spot, the selected ones over everything, partly visible ones cut at the view's edge, and in the
// camera view at the projected handles.
class VertexBulletTest : public VertexToolTest {
public:
    void SetUp() override {
        VertexToolTest::SetUp();
        settings().EnableGrid2D = false;
        settings().VertexToolBulletSize = kSize;
        Color_Table()[COLOR_BULLET_BORDER].colour = kBorder;
        Color_Table()[COLOR_BULLET_VERTEX].colour = kVertex;
        Color_Table()[COLOR_BULLET_EDGE].colour = kEdge;
        Color_Table()[COLOR_BULLET_SELECTED].colour = kSelected;
    }
    static QImage shot(cCanvas* v) {
        v->needsFullRedraw = true;
        return v->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    }
    // Pixels of colour c within radius of p (the default: one bullet and a pixel around it).
    static int count(const QImage& image, QPoint p, const QColor& c, int radius = kSize / 2 + 1) {
        int n = 0;
        for (int y = p.y() - radius; y <= p.y() + radius; ++y)
            for (int x = p.x() - radius; x <= p.x() + radius; ++x)
                n += image.valid(x, y) && image.pixel(x, y) == c.rgb();
        return n;
    }
    // One whole bullet of fill colour c around p.
    void expectBullet(const QImage& image, QPoint p, const QColor& c, const char* where) {
        EXPECT_EQ(count(image, p, c), (kSize - 2) * (kSize - 2)) << where;
        EXPECT_EQ(count(image, p, kBorder), kSize * kSize - (kSize - 2) * (kSize - 2)) << where;
    }
    static QPoint screenOf(cCanvas* v, float x, float y, float z) {
        const float p[3] = {x, y, z};
        float s[3];
        EXPECT_TRUE(v->worldToScreen(p, s));
        return {int(std::lround(s[0])), int(std::lround(s[1]))};
    }

    static constexpr int kSize = 8;
    const QColor kBorder{250, 250, 0}, kVertex{250, 0, 120}, kEdge{0, 0, 250}, kSelected{0, 250, 250};
};

TEST_F(VertexBulletTest, TopViewBulletsBySizeKindAndSelection) {
    startOn(cube());
    for (float zoom : {1.0f, 2.0f}) {
        top->zoom = zoom;
        QImage image = shot(top);
        // The corner also hides the vertical edge's midpoint drawn before it.
        expectBullet(image, driver.at(0, 0), kVertex, "corner");
        expectBullet(image, driver.at(32, 0), kEdge, "edge midpoint");
        pick(0, 0);
        image = shot(top);
        expectBullet(image, driver.at(0, 0), kSelected, "selected corner");
        expectBullet(image, driver.at(64, 0), kVertex, "other corner");
        vertex->clearSelection();
    }
    // Zoomed out until the cube is one bullet wide, the corners' bullets hide the midpoint's
    // between them; a little closer they only touch it.
    top->zoom = 0.125f;
    QImage image = shot(top);
    EXPECT_EQ(count(image, driver.at(32, 0), kEdge, kSize), 0);
    EXPECT_EQ(count(image, driver.at(0, 0), kVertex, 0), 1);
    top->zoom = 0.25f;
    image = shot(top);
    EXPECT_EQ(count(image, driver.at(32, 0), kEdge), (kSize - 2) * (kSize - 2));
}

TEST_F(VertexBulletTest, BulletsAcrossTheViewEdgeShowTheirInsidePart) {
    startOn(cube());
    QImage image = shot(top);
    const QPoint corner = driver.at(0, 0);
    // Scrolled until the corner lies one pixel inside the left edge, then one outside.
    for (int inside : {1, -1}) {
        top->scrollX += float(corner.x() - inside);
        top->needsFullRedraw = true;
        image = shot(top);
        const QPoint now = driver.at(0, 0);
        ASSERT_EQ(now.x(), inside);
        int border = 0, fill = 0;
        for (int y = now.y() - kSize; y <= now.y() + kSize; ++y) {
            border += image.pixel(0, y) == kBorder.rgb();
            fill += image.pixel(0, y) == kVertex.rgb();
        }
        EXPECT_EQ(fill, kSize - 2) << inside;
        EXPECT_EQ(border, 2) << inside;
        top->scrollX -= float(corner.x() - inside);
    }
}

// Bullets crowded so that later ones cover earlier ones wholly, their borders or their insides, or
// only touch them: every bullet pixel is that of the last bullet drawn over it, as painting every
// square in drawing order (edges, vertices, selected edges, selected vertices) gives it. The handles
// lie off pixel edges, so each square's pixels are clear.
TEST_F(VertexBulletTest, CrowdedBulletsShowTheLastOneDrawnOnEachPixel) {
    const float thinLo[3] = {0.3f, 0.7f, 0.2f}, thinHi[3] = {6.3f, 40.7f, 64.2f};
    const float flatLo[3] = {5.1f, 20.2f, 0.3f}, flatHi[3] = {45.1f, 23.2f, 8.3f};
    BrushRecord* thin = box(thinLo, thinHi);
    BrushRecord* flat = box(flatLo, flatHi);
    Map_SelectObject(w, thin);
    startOn(flat);
    thin->firstFace->vertices[1].flags |= HandleFlags::Edge;
    flat->firstFace->next->vertices[2].flags |= HandleFlags::Vertex;
    for (int type : {ViewType::Top, ViewType::Front})
        for (float zoom : {0.5f, 1.0f, 2.0f}) {
            cCanvas* v = viewOfType(type);
            v->zoom = zoom;
            const QImage image = shot(v);
            QImage expected(image.size(), QImage::Format_ARGB32);
            expected.fill(Qt::transparent);
            auto paint = [&](const float p[3], const QColor& fill) {
                float s[3];
                ASSERT_TRUE(v->worldToScreen(p, s));
                const float h = kSize / 2.0f;
                for (int y = int(std::floor(s[1] - h)); y <= int(std::ceil(s[1] + h)); ++y)
                    for (int x = int(std::floor(s[0] - h)); x <= int(std::ceil(s[0] + h)); ++x) {
                        const float cx = float(x) + 0.5f - s[0], cy = float(y) + 0.5f - s[1];
                        if (!expected.valid(x, y) || std::fabs(cx) > h || std::fabs(cy) > h) continue;
                        const bool inside = std::fabs(cx) < h - 1 && std::fabs(cy) < h - 1;
                        expected.setPixel(x, y, (inside ? fill : kBorder).rgb());
                    }
            };
            for (bool chosen : {false, true}) {
                auto edge = [&](const float p[3], int32_t* flags, int) {
                    if (bool(*flags & HandleFlags::Edge) == chosen) paint(p, chosen ? kSelected : kEdge);
                    return true;
                };
                auto corner = [&](const float p[3], int32_t* flags, int) {
                    if (bool(*flags & HandleFlags::Vertex) == chosen) paint(p, chosen ? kSelected : kVertex);
                    return true;
                };
                Handles_ForEachEdge(w, edge);
                Handles_ForEachVertex(w, corner);
            }
            int pixels = 0, wrong = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    if (qAlpha(expected.pixel(x, y)) == 0) continue;
                    ++pixels;
                    if (image.pixel(x, y) != expected.pixel(x, y) && wrong++ == 0)
                        ADD_FAILURE()
                            << "view " << type << " zoom " << zoom << ": first wrong pixel " << x << "," << y;
                }
            EXPECT_EQ(wrong, 0) << "view " << type << " zoom " << zoom;
            EXPECT_GT(pixels, 6 * kSize * kSize) << "view " << type << " zoom " << zoom;
        }
    vertex->clearSelection();
}

TEST_F(VertexBulletTest, CameraBulletsAtTheProjectedHandles) {
    const float lo[3] = {100, -32, -32}, hi[3] = {164, 32, 32};
    startOn(box(lo, hi));
    cCanvas* camera = viewOfType(ViewType::Camera);
    const QImage image = shot(camera);
    expectBullet(image, screenOf(camera, 100, 32, 32), kVertex, "near corner");
    expectBullet(image, screenOf(camera, 100, 0, 32), kEdge, "near edge midpoint");
}

} // namespace
