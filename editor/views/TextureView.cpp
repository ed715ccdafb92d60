// The texture view.
#include "views/TextureView.h"

#include <GL/gl.h>
#include <QApplication>
#include <QPalette>
#include <algorithm>

#include "gamedata/TextureManager.h"
#include "gamedata/TextureUpload.h"
#include "render/ColorScheme.h"

cTextureView::cTextureView(QWidget* parent) : cGLView(parent) {}

cTextureView::~cTextureView() = default;

void cTextureView::setShader(ShaderRecord* shader) {
    m_shader = shader;
    update();
}

void cTextureView::initializeGL() {
    restoreGLState();
    if (Tex_ProbeExtensions().edgeClamp) m_wrapMode = 0x812F; // GL_CLAMP_TO_EDGE
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void cTextureView::restoreGLState() {
    glShadeModel(GL_FLAT);
    for (GLenum cap :
         {GL_POLYGON_SMOOTH, GL_POLYGON_STIPPLE, GL_DITHER, GL_LIGHTING, GL_CULL_FACE, GL_DEPTH_TEST,
          GL_BLEND, GL_ALPHA_TEST, GL_FOG, GL_LINE_SMOOTH, GL_LINE_STIPPLE, GL_NORMALIZE})
        glDisable(cap);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, 0);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
}

void cTextureView::resizeGL(int width, int height) {
    if (width > 0) {
        m_width = width;
        m_height = height;
    }
}

void cTextureView::paintGL() {
    uint8_t rgba[4];
    Color_FillRGBA(rgba, COLOR_APPLICATION);
    QColor background(rgba[0], rgba[1], rgba[2]);
    if (rgba[0] == 0 && rgba[1] == 0 && rgba[2] == 0)
        background = QApplication::palette().color(QPalette::Window);
    const qreal ratio = devicePixelRatioF();
    const int w = int(m_width * ratio), h = int(m_height * ratio);
    glViewport(0, 0, w, h);
    glClearColor(float(background.redF()), float(background.greenF()), float(background.blueF()), 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    if (!isEnabled() || !m_shader || !m_shader->image) return;
    Tex_RealizeShader(m_shader);
    TextureImage* image = m_shader->image;
    if (!image->glName && image == Tex_CreateNoTexture()->image) Tex_CreateNoTexture(true);
    if (!image->glName) return;

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1); // y down
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Twice the size, reduced to fit the smaller side, aspect kept, centred.
    float dw = float(std::max(m_shader->width, 1)) * 2, dh = float(std::max(m_shader->height, 1)) * 2;
    const float side = float(std::min(w, h));
    if (dw > side || dh > side) {
        const float scale = side / std::max(dw, dh);
        dw *= scale;
        dh *= scale;
    }
    const float x = (float(w) - dw) / 2, y = (float(h) - dh) / 2;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, image->glName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, m_wrapMode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, m_wrapMode);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(x, y);
    glTexCoord2f(1, 0);
    glVertex2f(x + dw, y);
    glTexCoord2f(1, 1);
    glVertex2f(x + dw, y + dh);
    glTexCoord2f(0, 1);
    glVertex2f(x, y + dh);
    glEnd();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glBindTexture(GL_TEXTURE_2D, 0);
}
