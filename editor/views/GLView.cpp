// OpenGL widgets sharing one context, each drawing into a framebuffer object of its own.
#include "views/GLView.h"

#include <GL/gl.h>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

#include "core/System.h"
#include "render/GLFormat.h"
#include "views/ViewState.h"

namespace {

constexpr GLenum kRGBA8 = 0x8058;
constexpr GLenum kBGRA = 0x80E1;
constexpr GLenum kReadFramebuffer = 0x8CA8;

// The context every view draws with. Made on first use and kept to the end of the process, as the
// texture upload's context is.
struct SharedGL {
    QOpenGLContext* context = nullptr;
    QOffscreenSurface* surface = nullptr;
    bool failed = false;
    // The view whose GL state the context holds.
    const cGLView* owner = nullptr;
    // Whether any view has drawn with the context (its state is not a new context's).
    bool used = false;
    int framebuffers = 0;
};

SharedGL& shared() {
    static SharedGL s;
    return s;
}

bool createShared() {
    SharedGL& s = shared();
    if (s.context) return true;
    if (s.failed) return false;
    s.failed = true;
    if (!View_CreateSharedContext(&s.context, &s.surface)) {
        Sys_Warning("no OpenGL: views cannot draw");
        return false;
    }
    s.failed = false;
    return true;
}

bool makeSharedCurrent() {
    if (!createShared()) return false;
    SharedGL& s = shared();
    if (QOpenGLContext::currentContext() == s.context && s.context->surface() == s.surface) return true;
    return s.context->makeCurrent(s.surface);
}

// A view counts as painting while its GL code runs (set-up, new size, frame): a log line written
// meanwhile (the extension probes') must not run the event loop inside the widget's show, resize
// or paint, where Qt may be walking the widget's siblings.
class cPaintingScope {
public:
    cPaintingScope() : m_saved(View_Painting) { View_Painting = 1; }
    ~cPaintingScope() { View_Painting = m_saved; }
    cPaintingScope(const cPaintingScope&) = delete;
    cPaintingScope& operator=(const cPaintingScope&) = delete;

private:
    uint8_t m_saved;
};

// Makes current again, at its end, what was current at its start. A context left current when the
// application object goes away makes Qt allocate per-thread data that is never freed.
class cKeepCurrentContext {
public:
    cKeepCurrentContext()
        : m_context(QOpenGLContext::currentContext()), m_surface(m_context ? m_context->surface() : nullptr) {
    }
    ~cKeepCurrentContext() {
        QOpenGLContext* now = QOpenGLContext::currentContext();
        if (now == m_context && (!now || now->surface() == m_surface)) return;
        if (m_context)
            m_context->makeCurrent(m_surface);
        else if (now)
            now->doneCurrent();
    }
    cKeepCurrentContext(const cKeepCurrentContext&) = delete;
    cKeepCurrentContext& operator=(const cKeepCurrentContext&) = delete;

private:
    QOpenGLContext* m_context;
    QSurface* m_surface;
};

// Puts back the initial values of a new context for the state views change: a view set up or drawn
// after another one finds what a context of its own would hold before its own set-up.
void resetContextState() {
    for (GLenum cap : {GL_BLEND,
                       GL_ALPHA_TEST,
                       GL_DEPTH_TEST,
                       GL_CULL_FACE,
                       GL_SCISSOR_TEST,
                       GL_STENCIL_TEST,
                       GL_TEXTURE_2D,
                       GL_FOG,
                       GL_LIGHTING,
                       GL_COLOR_MATERIAL,
                       GL_NORMALIZE,
                       GL_POLYGON_OFFSET_FILL,
                       GL_POLYGON_OFFSET_LINE,
                       GL_POLYGON_OFFSET_POINT,
                       GL_LINE_STIPPLE,
                       GL_POLYGON_STIPPLE,
                       GL_LINE_SMOOTH,
                       GL_POINT_SMOOTH,
                       GL_POLYGON_SMOOTH,
                       GL_COLOR_LOGIC_OP,
                       GL_TEXTURE_GEN_S,
                       GL_TEXTURE_GEN_T,
                       GL_TEXTURE_GEN_R,
                       GL_TEXTURE_GEN_Q,
                       GL_CLIP_PLANE0,
                       GL_CLIP_PLANE1})
        glDisable(cap);
    glEnable(GL_DITHER);
    for (GLenum array : {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_NORMAL_ARRAY})
        glDisableClientState(array);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glStencilMask(~0u);
    glStencilFunc(GL_ALWAYS, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glDepthFunc(GL_LESS);
    glBlendFunc(GL_ONE, GL_ZERO);
    glAlphaFunc(GL_ALWAYS, 0.0f);
    glShadeModel(GL_SMOOTH);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glLineWidth(1.0f);
    glPointSize(1.0f);
    glPolygonOffset(0.0f, 0.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glClearStencil(0);
    for (GLenum matrix : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
        glMatrixMode(matrix);
        glLoadIdentity();
    }
}

} // namespace

int View_GLFramebufferCount() {
    return shared().framebuffers;
}

cGLView::cGLView(QWidget* parent) : QWidget(parent), m_format(QSurfaceFormat::defaultFormat()) {
    // The view paints every pixel of itself: nothing behind it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

cGLView::~cGLView() {
    SharedGL& s = shared();
    if (s.owner == this) s.owner = nullptr;
    if (!m_frame && !m_resolve) return;
    s.framebuffers -= 1;
    // The framebuffers are freed in the shared context; the context current before stays current.
    if (!s.context || !QCoreApplication::instance()) return;
    const cKeepCurrentContext keep;
    if (!makeSharedCurrent()) return;
    delete m_frame;
    delete m_resolve;
}

void cGLView::setFormat(const QSurfaceFormat& format) {
    m_format = format;
    m_frameWanted = true;
    // A framebuffer made with other buffers is made again at the next use.
    if (!m_frame) return;
    const cKeepCurrentContext keep;
    if (makeSharedCurrent()) {
        delete m_frame;
        delete m_resolve;
        m_frame = m_resolve = nullptr;
        shared().framebuffers -= 1;
    }
}

bool cGLView::isValid() const {
    return createShared();
}

QOpenGLContext* cGLView::context() const {
    return createShared() ? shared().context : nullptr;
}

unsigned cGLView::defaultFramebufferObject() const {
    return m_frame ? m_frame->handle() : 0;
}

QSize cGLView::pixelSize() const {
    const qreal ratio = devicePixelRatioF();
    return {std::max(1, int(width() * ratio)), std::max(1, int(height() * ratio))};
}

void cGLView::takeSize() {
    if (m_glSize == size()) return;
    const cPaintingScope painting;
    m_glSize = size();
    resizeGL(width(), height());
}

bool cGLView::ensureReady() {
    const cPaintingScope painting;
    if (!makeSharedCurrent()) return false;
    SharedGL& s = shared();
    const QSize pixels = pixelSize();
    if (!m_frame || m_frame->size() != pixels) {
        const bool had = m_frame != nullptr;
        delete m_frame;
        delete m_resolve;
        m_resolve = nullptr;
        QOpenGLFramebufferObjectFormat format;
        if (m_format.depthBufferSize() > 0 || m_format.stencilBufferSize() > 0)
            format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
        format.setSamples(std::max(0, m_format.samples()));
        format.setInternalTextureFormat(kRGBA8);
        m_frame = new QOpenGLFramebufferObject(pixels, format);
        if (m_frame->format().samples() > 0) {
            QOpenGLFramebufferObjectFormat single;
            single.setInternalTextureFormat(kRGBA8);
            m_resolve = new QOpenGLFramebufferObject(pixels, single);
        }
        if (!had) s.framebuffers += 1;
    }
    if (!m_frame->isValid()) return false;
    m_frame->bind();
    if (!m_initialized) {
        m_initialized = true;
        if (s.used) resetContextState();
        s.used = true;
        s.owner = this;
        initializeGL();
    } else if (s.owner != this) {
        resetContextState();
        s.owner = this;
        restoreGLState();
    }
    takeSize();
    return true;
}

void cGLView::makeCurrent() {
    ensureReady();
}

void cGLView::doneCurrent() {
    SharedGL& s = shared();
    if (s.context && QOpenGLContext::currentContext() == s.context) s.context->doneCurrent();
}

void cGLView::render(QImage* withAlpha) {
    m_frameWanted = false;
    const cKeepCurrentContext keep;
    if (!ensureReady()) return;
    const cPaintingScope painting;
    paintGL();
    readBack(m_image, false);
    if (withAlpha) readBack(*withAlpha, true);
}

void cGLView::readBack(QImage& image, bool keepAlpha) {
    QOpenGLExtraFunctions* f = shared().context->extraFunctions();
    const QSize size = m_frame->size();
    if (m_resolve) {
        QOpenGLFramebufferObject::blitFramebuffer(m_resolve, m_frame);
        f->glBindFramebuffer(kReadFramebuffer, m_resolve->handle());
    } else {
        f->glBindFramebuffer(kReadFramebuffer, m_frame->handle());
    }
    const QImage::Format format = keepAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.size() != size || image.format() != format) image = QImage(size, format);
    GLint alignment = 4, rowLength = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_PACK_ROW_LENGTH, &rowLength);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    // Rows of a 32-bit image are whole pixels with no padding: GL writes them as they are.
    glReadPixels(0, 0, size.width(), size.height(), kBGRA, GL_UNSIGNED_BYTE, image.bits());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    glPixelStorei(GL_PACK_ROW_LENGTH, rowLength);
    m_frame->bind();
    // GL's rows run bottom up; unless kept, the alpha a frame leaves is made opaque.
    const uint32_t opaque = keepAlpha ? 0u : 0xff000000u;
    const int w = size.width(), h = size.height();
    for (int y = 0; y < (h + 1) / 2; ++y) {
        auto* top = reinterpret_cast<uint32_t*>(image.scanLine(y));
        auto* bottom = reinterpret_cast<uint32_t*>(image.scanLine(h - 1 - y));
        for (int x = 0; x < w; ++x) {
            const uint32_t a = top[x] | opaque;
            top[x] = bottom[x] | opaque;
            bottom[x] = a;
        }
    }
    image.setDevicePixelRatio(devicePixelRatioF());
}

QImage cGLView::grabFramebuffer() {
    if (!m_format.hasAlpha()) {
        render();
        return m_image;
    }
    QImage withAlpha;
    render(&withAlpha);
    return withAlpha.isNull() ? m_image : withAlpha;
}
void cGLView::update() {
    m_frameWanted = true;
    QWidget::update();
}

void cGLView::repaint() {
    m_frameWanted = true;
    QWidget::repaint();
}

void cGLView::paintEvent(QPaintEvent*) {
    if (m_frameWanted || m_image.isNull() || m_image.size() != pixelSize()) render();
    QPainter painter(this);
    if (m_image.isNull())
        painter.fillRect(rect(), palette().color(QPalette::Window));
    else
        painter.drawImage(QPointF(0, 0), m_image);
    painter.end();
    emit frameSwapped();
}

void cGLView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_frameWanted = true;
    if (event->size().isEmpty()) return;
    // The view takes its new size at once, as its coordinates are read before the next paint; the
    // framebuffer follows when it draws (a view under a maximised window may not for a while).
    const cKeepCurrentContext keep;
    if (!m_initialized)
        ensureReady();
    else if (makeSharedCurrent())
        takeSize();
}

void cGLView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_frameWanted = true;
}

void cGLView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // What a view draws may follow its enabled state and its palette.
    switch (event->type()) {
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        m_frameWanted = true;
        break;
    default:
        break;
    }
}
