// A map window over a new document, shown, its 2D views at zoom 1 around the origin, for tests
// that draw map objects through the real views and read the pixels back.
#pragma once

#include <QApplication>
#include <QImage>

#include <cmath>
#include <functional>

#include "ViewFixture.h"
#include "document/MapWorld.h"
#include "views/AbstractTool.h"
#include "render/RenderContext.h"

// A tool that does nothing but carry an id, so that views set the bits of that tool.
class cIdTool : public cAbstractTool {
public:
    explicit cIdTool(int32_t toolId) { setId(toolId); }
};

// A tool whose drawing, in the views' own pass (real context, frustum and state cache), is the
// test's: it draws objects the way the world renderer hands them their view.
class cDrawHookTool : public cAbstractTool {
public:
    void draw(cCanvas* view, RenderContext* context, RenderCounters* counters) override {
        if (hook) hook(view, context, counters);
    }
    std::function<void(cCanvas*, RenderContext*, RenderCounters*)> hook;
};

class ObjectViewFixture : public ViewSettingsFixture {
protected:
    void SetUp() override {
        ViewSettingsFixture::SetUp();
        settings().CurrentGridSize = 32;
        settings().CanvasConfig = 0;
        settings().EnableGrid2D = false; // grid lines would be taken for drawn objects
        settings().UseCullTree = false;
        settings().ShowConnections = false;
        settings().DrawCamera = false;
        settings().HideMask = 0;
    }
    void TearDown() override {
        g_mainWindow->activeTool = nullptr;
        g_mainWindow->secondaryTool = nullptr;
        closeMapWindow(window, &doc);
        ViewSettingsFixture::TearDown();
    }
    void open() {
        worldspawn = Test_NewDocument(&doc);
        window = showMapWindow(&doc);
    }
    MapHandle map() { return Map_Handle(doc.world); }
    cCanvas* camera() const { return window->views[0]; }
    cCanvas* top() const { return window->views[1]; }
    QList<cCanvas*> views2D() const {
        QList<cCanvas*> list;
        for (cCanvas* v : window->views)
            if (!v->is3D()) list.append(v);
        return list;
    }
    // The window pixel a world point lands on.
    static QPoint screen(cCanvas* view, const float p[3]) {
        float s[3];
        view->worldToScreen(p, s);
        return QPoint(int(std::floor(s[0])), int(std::floor(s[1])));
    }
    static QColor rgb(const QImage& image, QPoint p) {
        return image.valid(p) ? QColor(image.pixel(p)) : QColor();
    }
    // Whether some pixel within `radius` of p has the colour.
    static bool near(const QImage& image, QPoint p, const QColor& colour, int radius = 1) {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx)
                if (rgb(image, p + QPoint(dx, dy)) == colour) return true;
        return false;
    }
    static QColor bytes(const uint8_t* rgba) { return QColor(rgba[0], rgba[1], rgba[2]); }
    static QColor color(ObjectColor c) {
        uint8_t rgba[4];
        Color_ToBytes(c, rgba);
        return bytes(rgba);
    }
    static QColor scheme(int32_t key) { return Color_GetQColor(key).toRgb(); }
    int pick(cCanvas* view, const float p[3], int argument = 0x2) {
        const QPoint s = screen(view, p);
        return view->renderForPick(s.x(), s.y(), argument);
    }

    // Draws in every view after the world (as a secondary tool, so the active tool may be any).
    void hook(std::function<void(cCanvas*, RenderContext*, RenderCounters*)> f) {
        hookTool.hook = std::move(f);
        g_mainWindow->secondaryTool = &hookTool;
    }

    MapDocument doc;
    EntityRecord* worldspawn = nullptr;
    cChildWindow* window = nullptr;
    cDrawHookTool hookTool;
};
