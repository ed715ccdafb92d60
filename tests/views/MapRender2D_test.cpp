// The world renderer in the flat views: where a brush lands at each zoom, patch meshes near and
// far, and the brushes' centre marks (pixels read back).
#include "MapRenderFixture.h"

namespace {

// Its own name: a test suite's fixture is one class in the whole program.
class MapRender2DTest : public MapRenderTest {};

// ---- 2D placement -------------------------------------------------------------------------------

TEST_F(MapRender2DTest, BrushLandsWhereWorldToScreenPutsItsEdgesAtEachZoom) {
    open();
    const float lo[3] = {40, -120, 24}, hi[3] = {104, -56, 88};
    colour(box(lo, hi), 30, 200, 90);
    const QColor c(30, 200, 90);
    for (float zoom : {1.0f, 0.25f}) {
        for (cCanvas* view : views2D()) {
            view->zoom = zoom;
            const QImage image = paint(view);
            const int H = view->hAxis, V = view->vAxis;
            float left[3] = {0, 0, 0}, top[3] = {0, 0, 0}, mirrored[3] = {0, 0, 0};
            left[H] = lo[H], left[V] = (lo[V] + hi[V]) / 2;
            top[H] = (lo[H] + hi[H]) / 2, top[V] = hi[V];
            mirrored[H] = -lo[H], mirrored[V] = -(lo[V] + hi[V]) / 2;
            const QPoint a = screen(view, left), b = screen(view, top), m = screen(view, mirrored);
            EXPECT_TRUE(near(image, a.x(), a.y(), c)) << view->viewType << " zoom " << zoom;
            EXPECT_TRUE(near(image, b.x(), b.y(), c)) << view->viewType << " zoom " << zoom;
            EXPECT_FALSE(near(image, m.x(), m.y(), c)) << view->viewType << " zoom " << zoom;
        }
    }
}

// ---- 2D patches and centre marks ----------------------------------------------------------------

// A patch in z = 0 of the world entity: columns along +x, rows along +y, spacing apart, centred on
// the origin; every other column shifted by wave along y, so the mesh lines bend.
BrushRecord* flatPatch(MapDocument* doc, EntityRecord* worldspawn, int lines, float spacing, float wave) {
    BrushRecord* brush = Brush_Create(Map_Handle(doc->world), worldspawn);
    const TextureInfo info = Test_TextureInfo();
    PatchRecord* p = Patch_Create(brush, &info, lines, lines);
    const float half = spacing * float(lines - 1) / 2;
    for (int c = 0; c < lines; ++c)
        for (int r = 0; r < lines; ++r) {
            p->points[c][r].xyz[0] = spacing * float(c) - half;
            p->points[c][r].xyz[1] = spacing * float(r) - half + float(c % 2) * wave;
            p->points[c][r].xyz[2] = 0;
        }
    brush->handle->update(BrushUpdate::TessellatePatch);
    return brush;
}

TEST_F(MapRender2DTest, PatchInTopViewShowsEveryMeshEdgeAndVertex) {
    settings().IgnoreGroups = true;
    open();
    BrushRecord* brush = flatPatch(&doc, worldspawn, 5, 50, 10); // cells about 20 pixels
    colour(brush, 30, 200, 90);
    const PatchRecord* patch = brush->patch;
    cCanvas* top = window->views[1];
    const QColor line(30, 200, 90), vertex(255, 255, 255);
    auto at = [&](int32_t index) { return patch->vertices[patch->indices[index]].xyz; };
    for (bool points : {false, true}) {
        settings().DrawVertices = points;
        const QImage image = paint(top);
        int missing = 0, filled = 0;
        for (int32_t q = 0; q + 3 < patch->indexCount; q += 4) {
            float middle[3] = {0, 0, 0};
            for (int e = 0; e < 4; ++e) {
                const float *a = at(q + e), *b = at(q + (e + 1) % 4);
                const float edge[3] = {(a[0] + b[0]) / 2, (a[1] + b[1]) / 2, 0};
                const QPoint p = screen(top, edge);
                if (!near(image, p.x(), p.y(), line)) ++missing;
                for (int k = 0; k < 2; ++k)
                    middle[k] += a[k] / 4;
            }
            const QPoint m = screen(top, middle);
            if (near(image, m.x(), m.y(), line, 2) || near(image, m.x(), m.y(), vertex, 2)) ++filled;
        }
        EXPECT_EQ(missing, 0) << "edges not drawn, points " << points;
        EXPECT_EQ(filled, 0) << "cells drawn over, points " << points;
        int pointsShown = 0;
        for (int32_t i = 0; i < patch->vertexCount; ++i) {
            const QPoint p = screen(top, patch->vertices[i].xyz);
            if (near(image, p.x(), p.y(), vertex, 0)) ++pointsShown;
        }
        EXPECT_EQ(pointsShown, points ? patch->vertexCount : 0);
    }
}

// Cells under a pixel: fewer lines and points, but the patch still covers its whole footprint,
// its outline included, and nothing beyond.
TEST_F(MapRender2DTest, FarPatchInTopViewStillCoversItsFootprint) {
    settings().IgnoreGroups = true;
    open();
    BrushRecord* brush = flatPatch(&doc, worldspawn, 31, 12, 0); // 360 units, cells of 4.8
    colour(brush, 30, 200, 90);
    cCanvas* top = window->views[1];
    top->zoom = 1.0f / 16; // cells of 0.3 pixels, the patch 22.5 pixels wide
    const float corner[3] = {-180, -180, 0}, opposite[3] = {180, 180, 0}, middle[3] = {0, 0, 0};
    const QPoint a = screen(top, corner), b = screen(top, opposite), c = screen(top, middle);
    const QRect footprint(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                          QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
    ASSERT_GE(footprint.width(), 20);
    for (bool points : {false, true}) {
        settings().DrawVertices = points;
        const QImage image = paint(top);
        const QColor colour = points ? QColor(255, 255, 255) : QColor(30, 200, 90);
        const int margin = points ? 1 : 0; // the 3-pixel points reach one pixel out
        int gaps = 0, spills = 0;
        for (int y = footprint.top() - 4; y <= footprint.bottom() + 4; ++y)
            for (int x = footprint.left() - 4; x <= footprint.right() + 4; ++x) {
                if (std::abs(x - c.x()) <= 4 && std::abs(y - c.y()) <= 4) continue; // centre mark
                const QRect inner = footprint.adjusted(1 - margin, 1 - margin, margin - 1, margin - 1);
                const QRect outer = footprint.adjusted(-1 - margin, -1 - margin, margin + 1, margin + 1);
                const bool shown = close(rgb(image, x, y), colour, 2);
                if (inner.contains(x, y) && !shown) ++gaps;
                if (!outer.contains(x, y) && shown) ++spills;
            }
        EXPECT_EQ(gaps, 0) << "points " << points;
        EXPECT_EQ(spills, 0) << "points " << points;
        // The outline's four sides.
        for (const QPoint& side : {QPoint(footprint.left(), c.y() + 8), QPoint(footprint.right(), c.y() + 8),
                                   QPoint(c.x() + 8, footprint.top()), QPoint(c.x() + 8, footprint.bottom())})
            EXPECT_TRUE(near(image, side.x(), side.y(), colour)) << side.x() << "," << side.y();
    }
}

// The marks of one pass go out together after the faces: with an entity among the brushes (the
// cull tree walks them in between) and in the selection pass, every brush still shows its own.
TEST_F(MapRender2DTest, CentreMarksShowForEveryBrushInTheirColours) {
    open();
    const float lo[3] = {-120, -40, 0}, hi[3] = {-40, 40, 64};
    const float lo2[3] = {40, -40, 0}, hi2[3] = {120, 40, 64};
    box(lo, hi);
    const float origin[3] = {0, 100, 0};
    Test_Entity(Map_Handle(doc.world), "info_player_start", origin, EntityFlag::Point);
    BrushRecord* second = box(lo2, hi2);
    cCanvas* top = window->views[1];
    const QColor handle(150, 150, 150), selectedFill(255, 0, 0);
    const float c1[3] = {-80, 0, 32}, c2[3] = {80, 0, 32};
    const QPoint p1 = screen(top, c1), p2 = screen(top, c2);
    for (bool tree : {false, true}) {
        settings().UseCullTree = tree;
        if (tree) Map_CreateCullTree(doc.world);
        QImage image = paint(top);
        for (const QPoint& p : {p1, p2}) {
            EXPECT_TRUE(near(image, p.x() + 3, p.y(), handle)) << p.x() << " tree " << tree;
            EXPECT_TRUE(near(image, p.x() - 3, p.y(), handle)) << p.x() << " tree " << tree;
            EXPECT_TRUE(near(image, p.x(), p.y() - 3, handle)) << p.x() << " tree " << tree;
            EXPECT_FALSE(near(image, p.x() + 7, p.y(), handle)) << p.x() << " tree " << tree;
        }
        Map_SelectObject(doc.world, second);
        image = paint(top);
        EXPECT_TRUE(near(image, p1.x() + 3, p1.y(), handle)) << tree;
        EXPECT_TRUE(near(image, p2.x() + 3, p2.y(), selectedFill)) << tree;
        Map_DeselectObject(doc.world, second);
    }
}

// ---- Camera view modes --------------------------------------------------------------------------

} // namespace
