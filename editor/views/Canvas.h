// One map view: an OpenGL widget showing the document's world either flat along one world axis
// (front, side, top) or through the free-flying camera. This holds its fields, the mapping between
// window pixels and world coordinates, zoom and scrolling (Canvas.cpp), the fly camera
// (CanvasCamera.cpp), the frame passes and picking (CanvasPaint.cpp) and the small drawing
// routines tools use (CanvasDraw.cpp).
#pragma once

#include <QElapsedTimer>
#include <QFont>
#include <QString>
#include <cstdint>

#include "render/GLStateCache.h"
#include "views/GLView.h"
#include "render/RenderContext.h"
#include "render/ViewFrustum.h"

class QOpenGLFramebufferObject;
class QScrollBar;
class QTimer;
class cChildWindow;
class MapDocument;

namespace ViewType {
constexpr int Front = 0; // y/z
constexpr int Side = 1;  // x/z
constexpr int Top = 2;   // x/y
constexpr int Camera = 3;
} // namespace ViewType

// Movement bits of the fly camera.
namespace MoveKey {
constexpr int Forward = 0x1;
constexpr int Back = 0x2;
constexpr int StrafeLeft = 0x4;
constexpr int StrafeRight = 0x8;
constexpr int Up = 0x10;
constexpr int Down = 0x20;
constexpr int PitchUp = 0x40;
constexpr int PitchDown = 0x80;
constexpr int TurnLeft = 0x100;
constexpr int TurnRight = 0x200;
} // namespace MoveKey

// Bits of the flags argument of screenToWorld.
namespace ScreenFlag {
constexpr int Snap = 0x1;
constexpr int DepthFromOtherView = 0x2;
} // namespace ScreenFlag

// Milliseconds of the monotonic clock the views, the fly camera and the frame clock share.
int64_t View_Milliseconds();
// Seconds on the clock effects animate by, shared by the views and the effect preview; counted
// from its first use. Tests pin it to a value (a negative value lets it run again).
float View_ShaderSeconds();
void View_PinShaderClock(double seconds);
// Whether the host's active or secondary tool is the path tool.
bool Tool_IsPathToolActive();

class cCanvas : public cGLView {
    Q_OBJECT
public:
    cCanvas(int viewType, int renderMode, const QSurfaceFormat& format, cChildWindow* window,
            QWidget* parent);
    ~cCanvas() override;

    MapDocument* document() const;
    bool is3D() const { return viewType == ViewType::Camera; }

    // ---- View (Canvas.cpp) ----
    void setViewType(int type, int mode);
    void updateTitle();
    void restartFrameTimer();
    void makeActive();
    void focusView();
    void resetInput(bool keepTimer);
    void setCursorForTool();
    void warpToCentre();
    bool screenToWorld(int x, int y, int flags, bool integerOnly, float out[3]);
    bool screenToWorld2D(int x, int y, int flags, bool integerOnly, float out[2]);
    bool worldToScreen(const float point[3], float out[3]) const;
    float viewCentreOnAxis(int axis) const;
    void zoomAt(float newZoom, int x, int y);
    void scrollBy(float dx, float dy);
    void centerOn(const float point[3]);
    bool autoScroll(const float point[3], float maxStep);
    void invalidateCameraRect(const float a[3], const float b[3]);
    void clampScroll();
    void updateScrollBars();
    void setScrollBars(QScrollBar* horizontal, QScrollBar* vertical);
    // The smallest zoom the world size allows; 0 for a bad world size.
    float minimumZoom() const;

    // ---- Fly camera (CanvasCamera.cpp) ----
    int computeMoveKeys() const;
    void flyCamera(float dt);
    void normalizeCamera();
    void setupProjection();
    void setupModelview();
    void syncCameraObject();
    void broadcastCameraMove();
    // The far distance of the projection: BackClip, or 500 below 1.
    float farDistance() const;

    // ---- Frame (CanvasPaint.cpp) ----
    void updateRenderState();
    int renderForPick(int x, int y, int argument);
    // Paints now (the redraw-now of the views).
    void redrawNow();
    // Draws one frame into the view's framebuffer and waits for GL to finish it (timing).
    void paintNow();
    // Schedules the paint held back while the view's map window was covered, once it is not.
    void repaintIfStale();

    // ---- Drawing routines (CanvasDraw.cpp) ----
    void drawAxes();
    void drawFilledBox(const float a[3], const float b[3]);
    void drawBoxLines(const float mins[3], const float maxs[3]);
    void drawTransformedBox(const float mins[3], const float maxs[3], int axis, int shearAxis,
                            const float pivot[3], float angle, float shear);
    void drawSquareMarker(const float point[3], float size);
    void drawCrossMarker(const float point[3], float size);
    void drawStippledCircle(const float centre[3], float radius);
    void drawCircle(const float centre[3], float radius);
    void drawFilledArc(const float centre[3], float radius, float start, float end);
    void drawArcOutline(const float centre[3], float radius, float start, float end);
    void drawSquareBullet(const float point[3], float size, float dx, float dy, const uint8_t rgba[4]);
    void drawDiamondBullet(const float point[3], float size, float dx, float dy, const uint8_t rgba[4]);
    void drawRoundBullet(const float point[3], float size, float dx, float dy, const uint8_t rgba[4]);
    void drawBullet(const float point[3], float size, float dx, float dy, int kind);
    void drawVertexDiamond(const float point[3], float size, float dx, float dy);
    void drawRoundBulletKind(const float point[3], float size, float dx, float dy, int kind);
    void drawGuideLines(const float point[3]);
    void drawText(int x, int y, int width, int alignment, const QString& text);
    void drawIcon(uint32_t texture, const float centre[2]);
    // Text at window point (x, y) (baseline) in the current GL colour, through a glyph texture.
    void renderText(int x, int y, const QString& text, const QFont& font);

    // ---- Fields ----
    int viewType = 0;
    int renderMode = -1; // -1 until set: the default of the view type
    QScrollBar* hScroll = nullptr;
    QScrollBar* vScroll = nullptr;
    cChildWindow* childWindow = nullptr;
    int viewWidth = 0;
    int viewHeight = 0;
    QTimer* thinkTimer = nullptr;
    int64_t lastThink = 0;
    QTimer* frameTimer = nullptr;
    int64_t lastFrame = 0;
    QFont normalFont;
    QFont boldFont;
    QFont smallFont;
    float worldSize = 8192.0f;
    float halfWorldSize = 4096.0f;
    int mouseX = 0, mouseY = 0;
    int centreX = 0, centreY = 0;
    int tabletX = 0, tabletY = 0;
    QString title;
    int titleRect[4] = {0, 0, 0, 0}; // left, top, right, bottom
    bool needsFullRedraw = true;
    bool mouseOverTitle = false;
    bool updatingScrollBars = false;
    bool hasStencilBuffer = false;
    bool hasSampleBuffers = false;
    bool dragLeft = false, dragRight = false, panning = false;
    int hAxis = 0, vAxis = 1, dAxis = 2, depthSign = 1;
    int partialRect[4] = {0, 0, 0, 0}; // left, top, width, height
    int partialMode = 0;               // 0 off, 2 one-shot
    float zoom = 0.25f;
    float scrollX = 0.0f, scrollY = 0.0f;
    float maxZoom = 256.0f;
    float minZoomFactor = 0.03125f;

    // Camera block.
    float fovH = 90.0f, fovV = 90.0f, tanHalfH = 1.0f, tanHalfV = 1.0f;
    float topForward = 0, topStrafe = 0, topVertical = 0;
    float velForward = 0, velStrafe = 0, velVertical = 0, pitchRate = 0, yawRate = 0;
    float eye[3] = {-16.0f, 0.0f, 64.0f};
    float angles[3] = {0.0f, 0.0f, 0.0f}; // pitch, yaw, roll
    float forward[3] = {1, 0, 0}, right[3] = {0, -1, 0}, up[3] = {0, 0, 1};
    float projection[16] = {};
    float modelview[16] = {};
    float lastBroadcastEye[3] = {-16.0f, 0.0f, 64.0f};
    bool projectionDirty = true, cameraMoved = true, cameraSyncPending = false;
    int framesCounted = 0;
    float secondsAccumulated = 0.0f;
    float framesPerSecond = 0.0f;

    bool showStatistics = false;
    bool freeLook = false;
    int moveKeys = 0;

    RenderContext context{};
    RenderCounters counters{};
    ViewFrustum* frustum = nullptr;
    GLStateCache* stateCache = nullptr;

public slots:
    void think();
    void runFrame();
    void horizontalScroll(int value);
    void verticalScroll(int value);

protected:
    QSize minimumSizeHint() const override;
    void showEvent(QShowEvent* event) override;
    void initializeGL() override;
    void restoreGLState() override;
    void resizeEvent(QResizeEvent* event) override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    // ---- Input (CanvasInput.cpp) ----
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    friend struct CanvasPasses;
    void scrollSlot(QScrollBar* bar, float& offset, int size, int value);
    void setup2D();
    void setup3D();
    void pass2D(bool picking);
    void pass3D(bool picking);
    void drawWorld();
    void drawTools();
    void setPixelProjection();
    void drawOverlays();
    void drawGrid();
    void drawTitles();
    void drawCaption();
    void drawStatistics();
    void drawCordon(bool filled);
    bool bindPickBuffer();
    // Runs the setup and the world pass of the view into the pick buffer (bound by the caller).
    void renderPickPass(int x, int y, int argument);
    void vertex2D(float out[3], float h, float v, float d) const;
    void drawBorderedQuad(const float outer[4][3], const float inner[4][3], const uint8_t rgba[4]);
    // Redraw-now: no animation step, the fast-redraw bit for this one paint.
    void redrawNowFast();
    // Nudges with the arrow keys or scrolls; true when the key was taken.
    bool arrowKey(int key, int modifiers);
    // Whether the title rectangle holds the point; a change refreshes the cursor.
    void updateMouseOverTitle(int x, int y);
    // Wheel steps gathered from high-resolution wheels until a whole notch (120).
    int wheelRemainder = 0;
    QOpenGLFramebufferObject* pickBuffer = nullptr;
    bool glReady = false;
    // Paints are held back while a resize of a covered view runs; a held or skipped paint
    // leaves the view stale.
    bool m_paintHeld = false;
    bool m_stale = false;
};
