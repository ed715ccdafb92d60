// How a view draws a frame: GL start-up state, the render context, the 2D and 3D passes in their
// fixed order, the grid, object titles, the caption, the statistics and the pick render.
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "core/SysHost.h"
#include "document/MapDocument.h"
#include "document/MapRender.h"
#include "document/MapWorld.h"
#include "gamedata/TextureManager.h"
#include "core/MainSettings.h"
#include "map/MapEntity.h"
#include "views/AbstractTool.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "render/ColorScheme.h"
#include "views/GlyphText.h"
#include "views/ViewHost.h"
#include "views/ViewState.h"

namespace {

const MainSettings& settings() {
    return Sys_Settings();
}

void setColor(const QColor& c) {
    glColor4ub(GLubyte(c.red()), GLubyte(c.green()), GLubyte(c.blue()), GLubyte(c.alpha()));
}

void clearColor(const QColor& c) {
    glClearColor(float(c.redF()), float(c.greenF()), float(c.blueF()), float(c.alphaF()));
}

bool toolActive(int id, bool orSecondary) {
    return Tool_Id(View_ActiveTool()) == id || (orSecondary && Tool_Id(View_SecondaryTool()) == id);
}

} // namespace

void cCanvas::updateRenderState() {
    const MainSettings& s = settings();
    RenderContext& c = context;
    int32_t f = 0;
    if (s.DrawCamera) f |= RenderBit::DrawCamera;
    if (s.ShowConnections) f |= RenderBit::ShowConnections;
    if (s.EnableGrid3D) f |= RenderBit::Grid3D;
    if (s.EnableGridUV) f |= RenderBit::GridUV;
    if (s.SelectByHandles) f |= RenderBit::SelectByHandles;
    if (toolActive(ToolId::Vertex, true)) f |= RenderBit::VertexTool;
    if (s.Transparency && renderMode != 0) f |= RenderBit::Transparency;
    if (s.TransparentSort) f |= RenderBit::TransparentSort;
    if (s.UseCullTree) {
        f |= RenderBit::UseCullTree;
        if (s.DrawCullTree) f |= RenderBit::DrawCullTree;
    }
    if (s.DrawNoDraw) f |= RenderBit::DrawNoDraw;
    if (s.DrawHint) f |= RenderBit::DrawHint;
    if (s.DrawClip) f |= RenderBit::DrawClip;
    if (s.DrawTrigger) f |= RenderBit::DrawTrigger;
    f |= RenderBit::Curves | RenderBit::Always8000 | RenderBit::Models;
    if (s.DrawSky && hasStencilBuffer) f |= RenderBit::DrawSky;
    if (s.AnimateModels) f |= RenderBit::AnimateModels | RenderBit::AnimateModels2;
    if (s.AnimateShaders) f |= RenderBit::AnimateShaders;
    if (s.NoPolyOffset) f |= RenderBit::NoPolyOffset;
    if (s.SelOverlaySkipDepth && is3D()) f |= RenderBit::SelOverlaySkipDepth;
    if (toolActive(ToolId::Texture, true)) f |= RenderBit::TextureTool;
    if (toolActive(ToolId::Camera, false)) f |= RenderBit::CameraTool;
    if (toolActive(ToolId::Path, true)) f |= RenderBit::PathTool;
    c.renderFlags = f | (c.renderFlags & RenderBit::FastRedraw);

    ViewHost* host = View_Host();
    if (host && host->textureFilterWord() < 0)
        host->setTextureFilterWord((s.TextureFilter ? 5 : 4) | (s.AnisotropicFilter ? 2 : 0));
    c.textureFilter = host ? host->textureFilterWord() : 5;
    c.hideMask = s.HideMask;
    c.renderMode = renderMode;
    c.backFaceCull = is3D() && renderMode >= 1;
    c.hAxis = hAxis;
    c.vAxis = vAxis;
    c.dAxis = dAxis;
    c.depthSign = depthSign;
    // The current map profile's detail-content mask comes with the game-configuration code.
    c.detailContentMask = 0;
    c.time = View_ShaderSeconds();
    c.minAlpha = s.MinAlphaValue;
    c.invZoom = 1.0f / zoom;
    c.gridSize = std::max(1, s.CurrentGridSize);
    c.majorGridStep = std::clamp(c.gridSize * 16, 64, 2048);
    c.distanceGridUV = int32_t(s.DistanceGridUV);
    c.modelRenderDistance = s.ModelRenderDistance;
    c.selectionBulletSize = s.SelectionBulletSize;
    c.vertexToolBulletSize = s.VertexToolBulletSize;
    c.frustum = frustum;
    c.stateCache = stateCache;
}

void cCanvas::restoreGLState() {
    glShadeModel(GL_SMOOTH);
    for (GLenum cap :
         {GLenum(GL_POLYGON_SMOOTH), GLenum(GL_POLYGON_STIPPLE), GLenum(GL_LINE_STIPPLE), GLenum(GL_DITHER),
          GLenum(GL_COLOR_LOGIC_OP), GLenum(GL_LIGHTING), GLenum(GL_TEXTURE_2D), GLenum(GL_MULTISAMPLE)})
        glDisable(cap);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glFrontFace(GL_CCW);
    glPolygonOffset(-1.0f, -2.0f);
    glPointSize(3.0f);
    glLineWidth(1.0f);
    glLineStipple(2, 0x9999);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnableClientState(GL_VERTEX_ARRAY);
    GL_SetStartFunctions();
    glCullFace(GL_BACK);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    // The cache's record no longer matches what GL holds.
    GL_ResyncStateCache(stateCache);
}

void cCanvas::initializeGL() {
    restoreGLState();
    // The swap interval is 0 through the surface format.
    glClearColor(0, 0, 0, 0);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    Render_InitAnisotropy();
    // Faces without a texture of their own show "notexture": its GL texture must exist before the
    // first frame, not only once a texture view or browser has drawn it.
    Tex_CreateNoTexture(true);
    glReady = true;
}

void cCanvas::redrawNow() {
    if (View_Suspended()) return;
    // Under a maximised map window nothing shows it: it paints once it is uncovered.
    if (childWindow && childWindow->isCovered()) {
        m_stale = true;
        return;
    }
    repaint();
}

void cCanvas::repaintIfStale() {
    if (!m_stale || (childWindow && childWindow->isCovered())) return;
    m_stale = false;
    update();
}

void cCanvas::paintNow() {
    if (!glReady) return;
    makeCurrent();
    paintGL();
    glFinish();
    doneCurrent();
}

void cCanvas::paintGL() {
    MapDocument* doc = document();
    if (!doc || viewWidth <= 0 || viewHeight <= 0 || View_Suspended()) return;
    if (m_paintHeld) {
        m_stale = true;
        return;
    }
    m_stale = false;
    View_Painting = 1;
    GL_ResyncStateCache(stateCache);
    glEnableClientState(GL_VERTEX_ARRAY);
    counters = RenderCounters{};
    updateRenderState();
    glViewport(0, 0, viewWidth, viewHeight);
    // A one-shot partial redraw keeps its rectangle but paints the whole view: the widget's
    // framebuffer is presented as a whole.
    if (is3D()) {
        setup3D();
        pass3D(false);
    } else {
        setup2D();
        pass2D(false);
    }
    if (partialMode == 2) {
        partialMode = 0;
        needsFullRedraw = true;
    }
    stateCache->boundFilter = -1;
    View_Painting = 0;
}

// ---- Setups ---------------------------------------------------------------------------------------

void cCanvas::setup2D() {
    const float lowest = minimumZoom();
    const float clamped = std::clamp(std::isfinite(zoom) ? zoom : 1.0f, lowest, maxZoom);
    if (clamped != zoom) {
        zoom = clamped;
        needsFullRedraw = true;
    }
    clampScroll();
    const double e = double(halfWorldSize) * zoom;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-viewWidth / 2.0, viewWidth / 2.0, -viewHeight / 2.0, viewHeight / 2.0, -e, e);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(-scrollX, scrollY, 0.0f);
    glScalef(zoom, zoom, zoom);
    if (needsFullRedraw) {
        const float scroll[2] = {scrollX, scrollY};
        Render_SetupFrustum2D(frustum, hAxis, vAxis, scroll, zoom, -viewWidth / 2.0f, viewWidth / 2.0f,
                              -viewHeight / 2.0f, viewHeight / 2.0f);
        context.invZoom = 1.0f / zoom;
        for (int k = 0; k < 3; ++k)
            context.origin[k] = 0.0f;
        context.origin[hAxis] = scrollX / zoom;
        context.origin[vAxis] = scrollY / zoom;
        context.origin[dAxis] = halfWorldSize;
        if (!(context.renderFlags & RenderBit::FastRedraw)) needsFullRedraw = false;
    }
    int32_t& f = context.renderFlags;
    f &= ~(RenderBit::Transparency | RenderBit::UseCullTree | RenderBit::DrawSky | RenderBit::AnimateModels |
           RenderBit::AnimateShaders | RenderBit::AnimateModels2);
    if (!settings().DrawModels) f &= ~RenderBit::Models;
    f |= RenderBit::DrawNoDraw | RenderBit::DrawHint | RenderBit::DrawClip | RenderBit::DrawTrigger;
    context.frameStamp = Render_NextFrameStamp();
}

void cCanvas::setup3D() {
    if (projectionDirty) setupProjection();
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection);
    if (cameraMoved) setupModelview();
    if (cameraSyncPending) {
        cameraSyncPending = false;
        const MainSettings& s = settings();
        if (s.CenterOnCamera) {
            if (MapDocument* doc = document()) Project_CenterViewsOn(doc, eye, 1);
        } else if (s.DrawCamera && s.FastCamera) {
            broadcastCameraMove();
        }
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelview);
    if (needsFullRedraw) {
        Render_SetupFrustum3D(frustum, eye, forward, right, up, fovH, fovV, farDistance());
        context.invZoom = 1.0f / zoom;
        for (int k = 0; k < 3; ++k) {
            context.origin[k] = eye[k];
            context.forward[k] = forward[k];
            context.right[k] = right[k];
            context.up[k] = up[k];
        }
        if (!(context.renderFlags & RenderBit::FastRedraw)) needsFullRedraw = false;
    }
    if (settings().ModelRenderDistance == 0) context.renderFlags &= ~RenderBit::Models;
    context.frameStamp = Render_NextFrameStamp();
}

// ---- Passes ---------------------------------------------------------------------------------------

void cCanvas::drawWorld() {
    GL_State(stateCache, GLS::Opaque);
    MapDocument* doc = document();
    Map_Render(doc ? doc->world : nullptr, &context, &counters);
}

void cCanvas::drawTools() {
    cAbstractTool* active = View_ActiveTool();
    cAbstractTool* secondary = View_SecondaryTool();
    if (secondary) secondary->draw(this, &context, &counters);
    if (active) active->draw(this, &context, &counters);
}

// Window pixels, origin top left, for the titles, overlays and captions drawn over the view.
void cCanvas::setPixelProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, viewWidth, viewHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void cCanvas::drawOverlays() {
    const ViewHost* host = View_Host();
    cAbstractTool* active = View_ActiveTool();
    cAbstractTool* secondary = View_SecondaryTool();
    const bool spaceHeld = View_SpaceHeld();
    cAbstractTool* camera = host ? host->cameraTool() : nullptr;
    if ((freeLook || spaceHeld) && camera) camera->drawOverlay(this, &context);
    if (secondary) secondary->drawOverlay(this, &context);
    if (active) active->drawOverlay(this, &context);
    if (showStatistics) drawStatistics();
    drawCaption();
}

void cCanvas::pass2D(bool picking) {
    if (hasSampleBuffers) glDisable(GL_MULTISAMPLE);
    glDisable(GL_DEPTH_TEST);
    clearColor(picking ? QColor(0, 0, 0, 255) : Color_GetQColor(COLOR_2D_BACKGROUND));
    glClear(GL_COLOR_BUFFER_BIT);
    if (!picking && settings().EnableGrid2D) drawGrid();
    if (viewType == ViewType::Side) {
        glRotatef(-90.0f, 1, 0, 0);
    } else if (viewType == ViewType::Front) {
        glRotatef(-90.0f, 0, 0, 1);
        glRotatef(-90.0f, 0, 1, 0);
    }
    drawWorld();
    if (picking) return;
    drawTools();
    drawCordon(false);

    setPixelProjection();
    if (!(settings().HideMask & 0x10)) drawTitles();
    drawOverlays();
    // The pan icon is a texture of the main window's shared GL widget, which has none yet.
}

void cCanvas::pass3D(bool picking) {
    clearColor(picking ? QColor(0, 0, 0, 255) : Color_GetQColor(COLOR_3D_BACKGROUND));
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    const bool multisample = !picking && hasSampleBuffers && settings().Antialiasing;
    if (multisample) glEnable(GL_MULTISAMPLE);
    drawWorld();
    if (picking) return;
    drawTools();
    drawCordon(true);
    drawAxes();
    if (multisample) glDisable(GL_MULTISAMPLE);

    setPixelProjection();
    glDisable(GL_DEPTH_TEST);
    drawOverlays();
    glEnable(GL_DEPTH_TEST);
    ++framesCounted;
}

void cCanvas::drawCordon(bool filled) {
    MapDocument* doc = document();
    if (!settings().EnableCordon || !doc || !doc->world || toolActive(ToolId::Cordon, true)) return;
    MapWorld* world = doc->world;
    if (!Map_CordonSet(world)) return;
    uint8_t rgba[4];
    Color_FillRGBA(rgba, COLOR_CORDON_LINE);
    if (filled) {
        const uint32_t word = stateCache->state;
        GL_State(stateCache, (word & ~GLS::DepthWrite) | GLS::Translucent);
        glColor4ub(rgba[0], rgba[1], rgba[2], GLubyte(rgba[3] >> 1));
        drawFilledBox(world->cordonMins, world->cordonMaxs);
        GL_State(stateCache, word);
    }
    glColor4ub(rgba[0], rgba[1], rgba[2], 255);
    glLineWidth(2.0f);
    drawBoxLines(world->cordonMins, world->cordonMaxs);
    glLineWidth(1.0f);
}

// ---- Grid -----------------------------------------------------------------------------------------

void cCanvas::drawGrid() {
    const MainSettings& s = settings();
    float g = float(std::max(1, s.CurrentGridSize));
    if (s.HideSmallGrid && g * zoom < 4.0f) {
        do {
            g *= 8.0f;
        } while (g < halfWorldSize / 4.0f && g * zoom < 4.0f);
    }
    // Never finer than a pixel: otherwise a far zoom draws a line (or dot) per pixel, or more.
    while (g * zoom < 1.0f)
        g *= 2.0f;
    float left = (scrollX - viewWidth / 2.0f) / zoom, right = (scrollX + viewWidth / 2.0f) / zoom;
    float bottom = -(scrollY + viewHeight / 2.0f) / zoom, top = -(scrollY - viewHeight / 2.0f) / zoom;
    // The whole view, a partial redraw too: every frame clears and presents the whole view.
    const float half = halfWorldSize;
    const int n = int(2.0f * half / g);
    const int step = std::max(1, s.GridHighlightStep);
    const QColor& major = Color_GetQColor(COLOR_2D_GRID_MAJOR);
    const QColor& minor = Color_GetQColor(COLOR_2D_GRID_MINOR);
    auto isMajor = [&](int i) { return s.GridHighlight && i % step == 0; };
    // The visible index range of one axis (index 0 at -half).
    auto range = [&](float lo, float hi, int& first, int& last) {
        first = std::max(0, int(std::ceil((lo + half) / g)));
        last = std::min(n, int(std::floor((hi + half) / g)));
    };
    int x0, x1, y0, y1;
    range(left, right, x0, x1);
    range(bottom, top, y0, y1);
    if (s.DottedGrid) {
        glPointSize(1.0f);
        glBegin(GL_POINTS);
        for (int i = x0; i <= x1; ++i)
            for (int j = y0; j <= y1; ++j) {
                setColor(isMajor(i) || isMajor(j) ? major : minor);
                glVertex2f(-half + float(i) * g, -half + float(j) * g);
            }
        glEnd();
        glPointSize(3.0f);
    } else {
        glBegin(GL_LINES);
        for (int i = x0; i <= x1; ++i) {
            const float x = -half + float(i) * g;
            if (x == 0.0f) continue;
            setColor(isMajor(i) ? major : minor);
            glVertex2f(x, -half);
            glVertex2f(x, half);
        }
        for (int j = y0; j <= y1; ++j) {
            const float y = -half + float(j) * g;
            if (y == 0.0f) continue;
            setColor(isMajor(j) ? major : minor);
            glVertex2f(-half, y);
            glVertex2f(half, y);
        }
        glEnd();
    }
    setColor(Color_GetQColor(COLOR_2D_GRID_AXIS));
    glBegin(GL_LINES);
    glVertex2f(0.0f, -half);
    glVertex2f(0.0f, half);
    glVertex2f(-half, 0.0f);
    glVertex2f(half, 0.0f);
    glEnd();
}

// ---- Titles, caption, statistics ------------------------------------------------------------------

void cCanvas::drawTitles() {
    MapDocument* doc = document();
    if (!doc || !doc->world) return;
    GL_State(stateCache, GLS::Translucent);
    for (const MapTitle& t : Map_TitleList(doc->world)) {
        EntityRecord* e = t.entity;
        if ((e->flags & EntityFlag::Hidden) || t.name.isEmpty() || e->frameStamp < g_renderFrameStamp)
            continue;
        const float size = std::max(e->maxs[hAxis] - e->mins[hAxis], e->maxs[vAxis] - e->mins[vAxis]) * zoom;
        if (size <= 8.0f) continue;
        float anchor[3];
        anchor[hAxis] = e->mins[hAxis];
        anchor[vAxis] = e->mins[vAxis] - 12.0f / zoom;
        anchor[dAxis] = e->maxs[dAxis];
        float screen[3];
        worldToScreen(anchor, screen);
        if (screen[0] > float(viewWidth) || screen[1] < 0.0f || screen[1] > float(viewHeight) + 12.0f)
            continue;
        const int alpha = std::clamp(int((size - 8.0f) * 15.9375f), 0, 255);
        if (e->handle) e->handle->applyDrawColor(alpha);
        renderText(int(screen[0]), int(screen[1]),
                   t.label.isEmpty() ? t.name : QStringLiteral("%1 (%2)").arg(t.name, t.label), smallFont);
        ++counters.titles;
    }
    GL_State(stateCache, GLS::Opaque);
}

void cCanvas::drawCaption() {
    setColor(Color_GetQColor(COLOR_CAPTION));
    glBegin(GL_QUADS);
    glVertex2i(titleRect[0], titleRect[1]);
    glVertex2i(titleRect[0], titleRect[3]);
    glVertex2i(titleRect[2], titleRect[3]);
    glVertex2i(titleRect[2], titleRect[1]);
    glEnd();
    const bool focus = View_Host() && View_FocusView() == this;
    const QColor& colour = Color_GetQColor(focus ? COLOR_ACTIVE_TEXT : COLOR_TEXT);
    setColor(mouseOverTitle ? colour : colour.darker(128));
    renderText(titleRect[0] + 2, titleRect[3] - 5, title, mouseOverTitle ? boldFont : normalFont);
}

void cCanvas::drawStatistics() {
    const QFontMetrics metrics(normalFont);
    const int b = titleRect[3], f = metrics.height();
    setColor(Color_GetQColor(COLOR_TEXT));
    auto line = [&](int y, const QString& text) {
        renderText(viewWidth - 4 - metrics.horizontalAdvance(text), y, text, normalFont);
    };
    const RenderCounters& c = counters;
    line(b - 5, tr("%1 culls, %2 entities, %3 brushes").arg(c.culls).arg(c.entities).arg(c.brushes));
    line(b + f, tr("%1 faces, %2 patches, %3 overlays, %4 titles")
                    .arg(c.faces)
                    .arg(c.patches)
                    .arg(c.overlays)
                    .arg(c.titles));
    line(b + 2 * f + 5, tr("%1 paths, %2 nodes").arg(c.paths).arg(c.nodes));
    auto num = [](float v) { return QString::number(double(v), 'f', 2); };
    if (is3D())
        line(b + 3 * f + 10, tr("FPS=%1, y=%2, p=%3, r=%4")
                                 .arg(num(framesPerSecond), num(angles[1]), num(angles[0]), num(angles[2])));
    else
        line(b + 3 * f + 10,
             tr("Zoom=%1, x=%2, y=%3, z=%4")
                 .arg(num(zoom), num(context.origin[0]), num(context.origin[1]), num(context.origin[2])));
}

void cCanvas::renderText(int x, int y, const QString& text, const QFont& font) {
    View_DrawGlyphText(stateCache, x, y, text, font);
}

// ---- Picking --------------------------------------------------------------------------------------

void cCanvas::renderPickPass(int x, int y, int argument) {
    MapDocument* doc = document();
    GL_ResyncStateCache(stateCache);
    glEnableClientState(GL_VERTEX_ARRAY);
    counters = RenderCounters{};
    updateRenderState();
    glViewport(0, 0, viewWidth, viewHeight);
    // Window row y is GL row h - 1 - y.
    glScissor(x, viewHeight - 1 - y, 1, 1);
    glEnable(GL_SCISSOR_TEST);
    context.pickBase = int32_t(Map_UpdateSelectionMode(doc->world));
    context.pickArgument = argument;
    const MainSettings& s = settings();
    int32_t& f = context.renderFlags;
    f &= ~(RenderBit::Transparency | RenderBit::DrawSky | RenderBit::AnimateModels2);
    if (!s.PreciseModelSelection) f &= ~RenderBit::Models;
    if (!s.SelectCurves) f &= ~RenderBit::Curves;
    if (is3D()) {
        setup3D();
        pass3D(true);
    } else {
        setup2D();
        pass2D(true);
    }
    context.pickBase = 0;
}

int cCanvas::renderForPick(int x, int y, int argument) {
    MapDocument* doc = document();
    if (!doc || !doc->world || viewWidth <= 0 || viewHeight <= 0 || !glReady) return 0;
    makeCurrent();
    if (!bindPickBuffer()) {
        doneCurrent();
        return 0;
    }
    renderPickPass(x, y, argument);
    glFinish();
    GLubyte pixel[4] = {0, 0, 0, 0};
    glReadPixels(x, viewHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    glDisable(GL_SCISSOR_TEST);
    pickBuffer->release();
    GL_ResyncStateCache(stateCache);
    doneCurrent();
    return pixel[0] | pixel[1] << 8 | pixel[2] << 16;
}
