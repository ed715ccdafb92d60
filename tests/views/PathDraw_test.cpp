// Paths in the views: node circles and spheres in the path's or the selection colours, links with
// their direction heads, node pick ids, culling by the path's bounds.
#include "ObjectViewFixture.h"
#include "map/MapPath.h"

namespace {

class PathDraw : public ObjectViewFixture {
protected:
    PathRecord* path(std::initializer_list<std::array<float, 3>> points, int32_t type = PathType::OneWay) {
        PathRecord* p = Path_Create(map());
        p->type = type;
        for (const auto& point : points) {
            NodeRecord* n = Node_Append(map(), p);
            std::memcpy(n->origin, point.data(), sizeof n->origin);
        }
        p->handle->update();
        return p;
    }
};

TEST_F(PathDraw, NodesAndLinksInThePathColour) {
    open();
    Color_Table()[COLOR_SELECTED_LINE].colour = QColor(255, 0, 0);
    PathRecord* p = path({{{-200, 100, 0}}, {{100, 100, 0}}});
    const QColor magenta(220, 30, 220); // no class: the default path colour
    const float circle[3] = {-200 + 8, 100, 0};
    const float link[3] = {-50 + 40, 100, 0};
    QImage image = top()->grabFramebuffer();
    EXPECT_TRUE(near(image, screen(top(), circle), magenta));
    EXPECT_FALSE(near(image, screen(top(), link), magenta)); // links only with ShowConnections
    settings().ShowConnections = true;
    image = top()->grabFramebuffer();
    EXPECT_TRUE(near(image, screen(top(), link), magenta));
    // A 300-unit one-way segment has two heads, at 75 and 225, pointing forward (+x).
    const float arm[3] = {-200 + 75 - 8, 100 + 6, 0};
    EXPECT_TRUE(near(image, screen(top(), arm), magenta, 2));
    Map_SelectObject(doc.world, p->firstNode);
    image = top()->grabFramebuffer();
    EXPECT_TRUE(near(image, screen(top(), circle), QColor(255, 0, 0)));
}

TEST_F(PathDraw, PingPongHeadsAlternate) {
    open();
    settings().ShowConnections = true;
    path({{{-150, -100, 0}}, {{150, -100, 0}}}, PathType::PingPong);
    const QImage image = top()->grabFramebuffer();
    const QColor magenta(220, 30, 220);
    // Heads at 50 (forward), 150 (backward), 250 (forward) along +x from -150.
    const float forwardArm[3] = {-150 + 50 - 8, -100 + 6, 0};
    const float backwardArm[3] = {-150 + 150 + 8, -100 + 6, 0};
    const float wrongWay[3] = {-150 + 50 + 8, -100 + 6, 0};
    EXPECT_TRUE(near(image, screen(top(), forwardArm), magenta, 2));
    EXPECT_TRUE(near(image, screen(top(), backwardArm), magenta, 2));
    EXPECT_FALSE(near(image, screen(top(), wrongWay), magenta, 1));
}

TEST_F(PathDraw, NodesPickAndPathsOutsideTheViewAreCulled) {
    open();
    PathRecord* p = path({{{40, 40, 0}}, {{5000, 5000, 0}}});
    cCanvas* view = top();
    const float node[3] = {40, 40, 0};
    pick(view, node);
    view->makeCurrent();
    RenderContext context = view->context;
    RenderCounters counters{};
    context.pickBase = 2;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_TRUE(p->handle->draw(&context, &counters));
    glFinish();
    const QPoint s = screen(view, node);
    GLubyte pixel[4] = {};
    glReadPixels(s.x() + 5, view->viewHeight - 1 - s.y(), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0] | pixel[1] << 8 | pixel[2] << 16, p->firstNode->handle->id);
    EXPECT_EQ(counters.nodes, 1); // the far node is culled by itself

    PathRecord* far = path({{{9000, 9000, 0}}, {{9100, 9000, 0}}});
    counters = {};
    EXPECT_FALSE(far->handle->draw(&context, &counters));
    EXPECT_EQ(counters.nodes, 0);
    EXPECT_EQ(counters.culls, 1);
    GL_ResyncStateCache(view->stateCache);
    view->doneCurrent();
}

} // namespace
