#include "dialogs/editing/ShaderEditCanvas.h"

#include "views/GlyphText.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QMouseEvent>

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "document/MapDocument.h"
#include "gamedata/RenderApi.h"
#include "gamedata/TextureRecords.h"
#include "gamedata/TextureManager.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "views/Canvas.h"
#include "render/ColorScheme.h"

namespace {

constexpr float kDegrees = 3.14159265358979f / 180.0f;
constexpr GLenum kMultisample = 0x809D; // GL_MULTISAMPLE, not in the 1.1 header

const MainSettings& settings() {
    return Sys_Settings();
}

void glColour(int32_t key) {
    const QColor c = Color_Table()[key].colour;
    glColor4f(float(c.redF()), float(c.greenF()), float(c.blueF()), 1.0f);
}

// 2 - 192/size, the share of the view a 64-unit object may take; views of 96 pixels or less
// would make it zero or negative (an infinite or reversed camera), so it is kept at 0.5 or more.
float marginShare(int size) {
    return std::max(2.0f - 192.0f / float(std::max(size, 1)), 0.5f);
}

} // namespace

cShaderEditCanvas::cShaderEditCanvas(const QSurfaceFormat& format, QWidget* parent) : cGLView(parent) {
    setFormat(format);
    setObjectName(QStringLiteral("preview"));
    setAutoFillBackground(false);
    font = QFont(QStringLiteral("Courier New"), 8);
    GL_InitStateCache(&glState);
    buildShape(0);
    width = std::max(QWidget::width(), 1);
    height = std::max(QWidget::height(), 1);
    setupProjection();
    setupModelview();
    frameTimer.setInterval(40);
    connect(&frameTimer, &QTimer::timeout, this, &cGLView::update);
}

cShaderEditCanvas::~cShaderEditCanvas() = default;

void cShaderEditCanvas::buildShape(int n) {
    if (n < 0 || n >= kPreviewShapeCount) return;
    Preview_BuildShape(n, mesh, indices);
    shape = n;
    vertexCount = PreviewShapes[n].vertexCount;
    indexCount = PreviewShapes[n].indexCount;
    fitOffset = PreviewShapes[n].fitOffset;
}

void cShaderEditCanvas::setShape(int n) {
    if (n == shape || n < 0 || n >= kPreviewShapeCount) return;
    buildShape(n);
    setupProjection();
    setupModelview();
    update();
}

void cShaderEditCanvas::setupProjection() {
    std::memset(projection, 0, sizeof projection);
    projection[0] = 1.0f;
    projection[5] = float(width) / float(std::max(height, 1));
    projection[10] = -512.0f / 510.0f;
    projection[11] = -1.0f;
    projection[14] = -1022.0f / 510.0f;
    const float across = 1.0f / marginShare(width);
    const float down = 1.0f / (marginShare(height) * float(height) / float(std::max(width, 1)));
    distance = 64.0f * std::max(across, down) + fitOffset;
}

void cShaderEditCanvas::setupModelview() {
    if (pitch < 0.0f) pitch += 360.0f;
    if (pitch >= 360.0f) pitch -= 360.0f;
    if (yaw < 0.0f) yaw += 360.0f;
    if (yaw >= 360.0f) yaw -= 360.0f;
    const float a = pitch * kDegrees, b = yaw * kDegrees;
    const float ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
    const float eye[3] = {-distance * ca * cb, distance * ca * sb, -distance * sa};
    const float rows[3][3] = {{-sb, -cb, 0.0f}, {-sa * cb, sa * sb, ca}, {-ca * cb, ca * sb, -sa}};
    std::memset(view, 0, sizeof view);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            view[c * 4 + r] = rows[r][c];
        view[12 + r] = -(rows[r][0] * eye[0] + rows[r][1] * eye[1] + rows[r][2] * eye[2]);
    }
    view[15] = 1.0f;
    std::memcpy(batch.origin, eye, sizeof eye);
    const float forward[3] = {ca * cb, -ca * sb, sa};
    std::memcpy(batch.forward, forward, sizeof forward);
    std::memcpy(batch.right, rows[0], sizeof batch.right);
    std::memcpy(batch.up, rows[1], sizeof batch.up);
    // The light keeps its place relative to the camera.
    static const float light[3] = {100.0f, 200.0f, 1000.0f};
    for (int r = 0; r < 3; ++r)
        batch.lightPosition[r] = rows[r][0] * light[0] + rows[r][1] * light[1] + rows[r][2] * light[2];
    batch.lightFlags = BATCH_LIGHT_POSITION;
}

void cShaderEditCanvas::showEffect(ShaderRecord* shown) {
    effect = shown;
    image = nullptr;
    if (effect)
        frameTimer.start();
    else
        frameTimer.stop();
    update();
}

void cShaderEditCanvas::showImage(TextureImage* shown) {
    effect = nullptr;
    image = shown;
    frameTimer.stop();
    update();
}

void cShaderEditCanvas::clear() {
    showEffect(nullptr);
}

bool cShaderEditCanvas::antialias() const {
    return (viewFlags & PreviewFlag::SampleBuffers) && settings().Antialiasing;
}

void cShaderEditCanvas::initializeGL() {
    glShadeModel(GL_SMOOTH);
    static const GLenum off[] = {GL_POLYGON_SMOOTH, GL_POLYGON_STIPPLE, GL_LINE_STIPPLE, GL_DITHER,
                                 GL_COLOR_LOGIC_OP, GL_LIGHTING,        GL_TEXTURE_2D,   kMultisample};
    for (GLenum capability : off)
        glDisable(capability);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_DEPTH_TEST);
    glFrontFace(GL_CCW);
    glPolygonOffset(-1.0f, -2.0f);
    glPointSize(3.0f);
    glLineWidth(1.0f);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnableClientState(GL_VERTEX_ARRAY);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    GL_ResyncStateCache(&glState);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    // The swap interval is the format's (0); there is no window-system call to make here.
    if (format().samples() > 0)
        viewFlags |= PreviewFlag::SampleBuffers;
    else
        viewFlags &= ~PreviewFlag::SampleBuffers;
}

void cShaderEditCanvas::resizeGL(int w, int h) {
    if (w <= 0 || h <= 0) return;
    width = w;
    height = h;
    setupProjection();
    setupModelview();
}

void cShaderEditCanvas::paintGL() {
    // The widget's framebuffer and the shared context's other users leave GL in unknown states.
    GL_ResyncStateCache(&glState);
    GL_State(&glState, 256);
    glEnable(GL_DEPTH_TEST);
    glViewport(0, 0, width, height);
    const QColor background = Color_Table()[COLOR_SHADEREDIT_BACKGROUND].colour;
    glClearColor(float(background.redF()), float(background.greenF()), float(background.blueF()), 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (effect)
        drawEffect();
    else if (image)
        drawImage();
    glState.boundFilter = -1;
}

void cShaderEditCanvas::setup2D() {
    // Texts and the image go over whatever the shape left in the depth buffer.
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void cShaderEditCanvas::drawText(int x, int y, const QString& text) {
    View_DrawGlyphText(&glState, x, y, text, font);
}

void cShaderEditCanvas::drawEffect() {
    const MainSettings& s = settings();
    if (antialias())
        glEnable(kMultisample);
    else
        glDisable(kMultisample);
    const float t = View_ShaderSeconds();
    if ((viewFlags & PreviewFlag::Spin) && (pitchRate != 0.0f || yawRate != 0.0f)) {
        pitch += pitchRate * (t - batch.time);
        yaw += yawRate * (t - batch.time);
        setupModelview();
    }
    batch.shader = effect;
    batch.time = t;
    batch.count = vertexCount;
    batch.capacity = kPreviewMaxVertices;
    batch.primitive = GL_TRIANGLES;
    batch.vertices = work;
    batch.stateBits = 256;
    std::memcpy(work, mesh, sizeof(EffectVertex) * size_t(vertexCount));
    Shader_ApplyDeforms(&batch);

    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(view);
    glInterleavedArrays(GL_T2F_C4UB_V3F, sizeof(EffectVertex), work);
    glState.vertexPointer = glState.texCoordPointer = glState.colorPointer = nullptr;
    glEnable(GL_TEXTURE_2D);
    const int32_t filter = s.AnisotropicFilter ? 7 : 5;
    Tex_RealizeShader(effect);
    for (ShaderStage* stage = effect->stages; stage; stage = stage->next) {
        if (stage->skip) continue;
        batch.stage = stage;
        TextureImage* shown = stage->frameCount < 2 ? stage->frames[0] : Shader_CurrentFrame(&batch);
        if (shown && shown->glName)
            Render_BindTexture(&glState, shown->glName, filter, !(shown->flags & IMAGE_NO_MIPMAPS));
        const bool clampS = stage->stageFlags & 0x2, clampT = stage->stageFlags & 0x4;
        if (clampS) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        if (clampT) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        GL_State(&glState, uint32_t(stage->stateBits ? stage->stateBits : 256));
        Shader_ComputeColors(&batch);
        Shader_ComputeTexCoords(&batch);
        glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_SHORT, indices);
        if (clampS) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        if (clampT) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
    batch.stage = nullptr;
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisable(GL_TEXTURE_2D);

    if (viewFlags & PreviewFlag::Wireframe) {
        GL_State(&glState, 256);
        glColor4f(1, 1, 1, 1);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        if (!s.NoPolyOffset) glEnable(GL_POLYGON_OFFSET_LINE);
        glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_SHORT, indices);
        glDisable(GL_POLYGON_OFFSET_LINE);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
    if (viewFlags & PreviewFlag::Normals) {
        GL_State(&glState, 256);
        glColor4f(0, 0, 1, 1);
        glBegin(GL_LINES);
        for (int i = 0; i < vertexCount; ++i) {
            const EffectVertex& v = work[i];
            glVertex3fv(v.xyz);
            glVertex3f(v.xyz[0] + 2 * v.normal[0], v.xyz[1] + 2 * v.normal[1], v.xyz[2] + 2 * v.normal[2]);
        }
        glEnd();
    }
    // The arrays were set behind the cache's back.
    glState.vertexPointer = glState.texCoordPointer = glState.colorPointer = nullptr;

    setup2D();
    glColour(COLOR_SHADEREDIT_TEXT);
    drawText(8, 16, QStringLiteral("%1").arg(QString::fromLatin1(effect->name)));
    const QString tris = QCoreApplication::translate("cShaderEditCanvas", "%1 tris").arg(indexCount / 3);
    drawText(width - 8 - QFontMetrics(font).horizontalAdvance(tris), 16, tris);
    if (!statusText.isEmpty()) {
        glColour(COLOR_SHADEREDIT_ERROR);
        drawText(8, height - 8, statusText);
    }
}

void cShaderEditCanvas::drawImage() {
    setup2D();
    const int w = std::max(image->width, 1), h = std::max(image->height, 1);
    float e = 1.0f;
    if (w > width - 96) e = float(width - 96) / float(w);
    if (float(h) * e > float(height - 96)) e = float(height - 96) / float(h);
    e = std::max(e, 0.0f);
    const float qw = float(w) * e, qh = float(h) * e;
    const float x0 = (float(width) - qw) / 2.0f, y0 = (float(height) - qh) / 2.0f;
    const float corners[4][4] = {
        {x0, y0, 0, 0}, {x0, y0 + qh, 0, 1}, {x0 + qw, y0 + qh, 1, 1}, {x0 + qw, y0, 1, 0}};
    for (int i = 0; i < 4; ++i) {
        std::memset(&quad[i], 0, sizeof quad[i]);
        quad[i].xyz[0] = corners[i][0];
        quad[i].xyz[1] = corners[i][1];
        quad[i].st[0] = corners[i][2];
        quad[i].st[1] = corners[i][3];
        std::memset(quad[i].color, 255, 4);
    }
    if (antialias())
        glEnable(kMultisample);
    else
        glDisable(kMultisample);
    GL_State(&glState, GLS::AlphaTestIcon);
    auto drawQuad = [&] {
        glBegin(GL_QUADS);
        for (const EffectVertex& v : quad) {
            glTexCoord2fv(v.st);
            glVertex2f(v.xyz[0], v.xyz[1]);
        }
        glEnd();
    };
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 0, 1, 1);
    drawQuad();
    Tex_RealizeImage(image);
    if (image->glName) {
        glEnable(GL_TEXTURE_2D);
        Render_BindTexture(&glState, image->glName, 0, !(image->flags & IMAGE_NO_MIPMAPS));
        glColor4f(1, 1, 1, 1);
        drawQuad();
        glDisable(GL_TEXTURE_2D);
    }
    glColour(COLOR_SHADEREDIT_TEXT);
    drawText(8, 16,
             QStringLiteral("%1 x %2 x %3").arg(image->width).arg(image->height).arg(image->bytesPerPixel));
}

void cShaderEditCanvas::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    lastPos[0] = previousPos[0] = p.x();
    lastPos[1] = previousPos[1] = p.y();
    pitchRate = yawRate = 0.0f;
    event->accept();
}

void cShaderEditCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->buttons() == Qt::NoButton) return;
    if (p.x() != lastPos[0] || p.y() != lastPos[1]) {
        const MainSettings& s = settings();
        const float k = float(s.Sensitivity) * 0.05f, r = s.MouseReverseY ? -1.0f : 1.0f;
        if (event->buttons() & Qt::LeftButton) {
            yaw += float(p.x() - lastPos[0]) * k;
            pitch -= float(p.y() - lastPos[1]) * k * r;
        } else if (event->buttons() & Qt::RightButton) {
            distance = std::clamp(distance - k * float(p.y() - lastPos[1]) * r, 1.0f, 448.0f);
        }
        setupModelview();
        update();
    }
    previousPos[0] = lastPos[0];
    previousPos[1] = lastPos[1];
    lastPos[0] = p.x();
    lastPos[1] = p.y();
    event->accept();
}

void cShaderEditCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        const MainSettings& s = settings();
        const float r = s.MouseReverseY ? -1.0f : 1.0f;
        yawRate = float(p.x() - previousPos[0]) * float(s.Sensitivity) * 0.4f;
        pitchRate = float(previousPos[1] - p.y()) * float(s.Sensitivity) * 0.4f * r;
    }
    event->accept();
}
