// The map views the world-renderer tests draw in: one map window over a document of their own,
// with helpers to add brushes, patches and textures and to read pixels back.
#pragma once

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "ViewFixture.h"
#include "document/CullTree.h"
#include "document/MapRender.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/VisGroup.h"
#include "gamedata/EffectBatch.h"
#include "gamedata/TextureRecords.h"
#include "map/MapGroup.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "map/ObjectDraw.h"
#include "views/AbstractTool.h"

namespace {

// Brush lo/hi used by most cases: in front of the camera view's eye (-16, 0, 64), which looks
// along +x, so the centre pixel shows its x = 100 face.
const float kLo[3] = {100, -64, 0}, kHi[3] = {164, 64, 128};

class cIdTool : public cAbstractTool {
public:
    explicit cIdTool(int32_t toolId) { setId(toolId); }
};

// Draws one brush through the selection tool's transform preview.
class cPreviewTool : public cAbstractTool {
public:
    void draw(cCanvas*, RenderContext* context, RenderCounters* counters) override {
        brush->handle->drawTransformed(context, counters, &preview);
    }
    BrushRecord* brush = nullptr;
    TransformPreview preview{};
};

inline bool anyPixel(const QImage& image, const QColor& c) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)) == c) return true;
    return false;
}

class MapRenderTest : public ViewSettingsFixture {
protected:
    void SetUp() override {
        ViewSettingsFixture::SetUp();
        settings().CurrentGridSize = 32;
        plainMapViews();
    }
    void TearDown() override {
        if (window) {
            window->views[0]->makeCurrent();
            for (GLuint name : glNames)
                glDeleteTextures(1, &name);
            window->views[0]->doneCurrent();
        }
        closeMapWindow(window, &doc);
        ViewSettingsFixture::TearDown();
    }
    void open() {
        worldspawn = Test_NewDocument(&doc);
        window = showMapWindow(&doc);
    }
    cCanvas* camera() const { return window->views[0]; }
    QList<cCanvas*> views2D() const {
        QList<cCanvas*> list;
        for (cCanvas* v : window->views)
            if (!v->is3D()) list.append(v);
        return list;
    }
    static QImage paint(cCanvas* view) {
        view->needsFullRedraw = true;
        return view->grabFramebuffer();
    }
    BrushRecord* box(const float lo[3], const float hi[3], EntityRecord* owner = nullptr) {
        return Test_Box(Map_Handle(doc.world), owner ? owner : worldspawn, lo, hi);
    }
    static void colour(BrushRecord* brush, int r, int g, int b) {
        brush->handle->displayColor = Color_FromBytes(uint8_t(r), uint8_t(g), uint8_t(b), 255);
    }
    // A texture of one colour, uploaded in the camera view's context.
    ShaderRecord* solid(int r, int g, int b) {
        cCanvas* view = camera();
        view->makeCurrent();
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        std::vector<uint8_t> pixels(4 * 4 * 4);
        for (size_t i = 0; i < pixels.size(); i += 4) {
            pixels[i] = uint8_t(r), pixels[i + 1] = uint8_t(g), pixels[i + 2] = uint8_t(b),
            pixels[i + 3] = 255;
        }
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        view->doneCurrent();
        GL_ResyncStateCache(view->stateCache);
        glNames.push_back(name);
        images.push_back(std::make_unique<TextureImage>());
        TextureImage* image = images.back().get();
        image->width = image->height = 4;
        image->glName = name;
        image->flags = IMAGE_NO_MIPMAPS;
        shaders.push_back(std::make_unique<ShaderRecord>());
        ShaderRecord* shader = shaders.back().get();
        std::snprintf(shader->name, sizeof shader->name, "test/solid%zu", shaders.size());
        shader->width = shader->height = 64;
        shader->image = image;
        return shader;
    }
    static void texture(BrushRecord* brush, ShaderRecord* shader) {
        for (FaceRecord* f = brush->firstFace; f; f = f->next) {
            f->texture = shader;
            ++shader->refCount;
        }
    }
    // A carrier brush of the world entity with a patch (3 x 3, flat) or an overlay, both upright
    // at x = 90 facing the camera view's eye and covering the probe point.
    BrushRecord* carrier(bool patch) {
        BrushRecord* brush = Brush_Create(Map_Handle(doc.world), worldspawn);
        const TextureInfo info = Test_TextureInfo();
        if (patch) {
            PatchRecord* p = Patch_Create(brush, &info, 3, 3);
            for (int c = 0; c < 3; ++c)
                for (int r = 0; r < 3; ++r) {
                    p->points[c][r].xyz[0] = 90;
                    p->points[c][r].xyz[1] = 40 - 40.0f * c;
                    p->points[c][r].xyz[2] = 20 + 40.0f * r;
                }
            brush->handle->update(BrushUpdate::TessellatePatch);
        } else {
            OverlayRecord* o = Overlay_Create(brush, &info);
            const float corners[4][2] = {{40, 20}, {-40, 20}, {-40, 100}, {40, 100}};
            for (int i = 0; i < 4; ++i) {
                o->corners[i].xyz[0] = 90;
                o->corners[i].xyz[1] = corners[i][0];
                o->corners[i].xyz[2] = corners[i][1];
            }
            o->normal[0] = -1;
            o->dist = -90;
            brush->handle->update(0);
        }
        return brush;
    }
    static QColor rgb(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }
    static bool close(const QColor& a, const QColor& b, int tolerance = 3) {
        return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
               std::abs(a.blue() - b.blue()) <= tolerance;
    }
    static bool near(const QImage& image, int x, int y, const QColor& c, int radius = 1) {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx)
                if (x + dx >= 0 && y + dy >= 0 && x + dx < image.width() && y + dy < image.height() &&
                    close(rgb(image, x + dx, y + dy), c, 2))
                    return true;
        return false;
    }
    // A point of the x = 100 face off the centre column, where the view's axis lines run.
    static QPoint probe(cCanvas* view) { return QPoint(view->viewWidth / 2 + 30, view->viewHeight / 2 + 20); }
    QColor centre(cCanvas* view) {
        const QImage image = paint(view);
        return rgb(image, probe(view).x(), probe(view).y());
    }
    int pickCentre(cCanvas* view) { return view->renderForPick(probe(view).x(), probe(view).y(), 0); }
    // The screen point of a world point in a view.
    static QPoint screen(cCanvas* view, const float p[3]) {
        float s[3];
        view->worldToScreen(p, s);
        return QPoint(int(std::lround(s[0])), int(std::lround(s[1])));
    }

    MapDocument doc;
    EntityRecord* worldspawn = nullptr;
    cChildWindow* window = nullptr;
    std::vector<GLuint> glNames;
    std::vector<std::unique_ptr<TextureImage>> images;
    std::vector<std::unique_ptr<ShaderRecord>> shaders;
};

inline int32_t idOf(const void* record) {
    return (*static_cast<cMapObject* const*>(record))->id;
}

} // namespace
