// GL widgets sharing one context: frames read back the right way up, each view starting from its
// own GL state whatever another view left, and framebuffers that follow the widget's size and life.
#include <QApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <memory>

#include "views/GLView.h"
#include "views/ViewState.h"

namespace {

// Clears to its colour, then fills the top-left quarter with green through a scissor; its own state
// is a blend function it sets once, and it records what the base class calls.
class cTestView : public cGLView {
public:
    explicit cTestView(QColor colour, QWidget* parent = nullptr) : cGLView(parent), m_colour(colour) {}
    int initialized = 0, restored = 0, painted = 0;
    QSize lastResize;
    GLint blendSourceSeen = 0;
    // Whether every call into the view's GL code ran as painting (a log line written there must
    // not run the event loop inside the widget's show or resize).
    bool alwaysPainting = true;

protected:
    void initializeGL() override {
        alwaysPainting &= View_Painting != 0;
        ++initialized;
        restoreGLState();
    }
    void restoreGLState() override {
        ++restored;
        glBlendFunc(GL_ONE, GL_ZERO);
    }
    void resizeGL(int w, int h) override {
        alwaysPainting &= View_Painting != 0;
        lastResize = QSize(w, h);
    }
    void paintGL() override {
        alwaysPainting &= View_Painting != 0;
        ++painted;
        glGetIntegerv(GL_BLEND_SRC, &blendSourceSeen);
        const QSize size = lastResize * devicePixelRatio();
        glDisable(GL_SCISSOR_TEST);
        // Alpha 0: the picture must still show opaque.
        glClearColor(float(m_colour.redF()), float(m_colour.greenF()), float(m_colour.blueF()), 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, size.height() / 2, size.width() / 2, size.height() - size.height() / 2);
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        // What another view's drawing might leave behind.
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    }

private:
    QColor m_colour;
};

struct TwoViews {
    TwoViews() {
        auto* layout = new QHBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        a = new cTestView(Qt::red);
        b = new cTestView(Qt::blue);
        layout->addWidget(a);
        layout->addWidget(b);
        window.resize(200, 100);
        window.show();
        QApplication::processEvents();
    }
    QWidget window;
    cTestView* a;
    cTestView* b;
};

TEST(GLView, FramesReadBackUprightAndOpaque) {
    struct Case {
        const char* name;
        int samples;
    } cases[] = {{"single sample", 0}, {"multisampled", 4}};
    for (const Case& c : cases) {
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* view = new cTestView(Qt::red);
        QSurfaceFormat format = QSurfaceFormat::defaultFormat();
        format.setSamples(c.samples);
        view->setFormat(format);
        layout->addWidget(view);
        window.resize(120, 80);
        window.show();
        QApplication::processEvents();
        const QImage image = view->grabFramebuffer();
        if (image.isNull()) GTEST_SKIP() << "no OpenGL";
        ASSERT_EQ(image.size(), QSize(120, 80) * view->devicePixelRatio()) << c.name;
        EXPECT_EQ(image.pixel(5, 5), qRgb(0, 255, 0)) << c.name;
        EXPECT_EQ(image.pixel(100, 70), qRgb(255, 0, 0)) << c.name;
        EXPECT_EQ(image.pixel(100, 5), qRgb(255, 0, 0)) << c.name;
        EXPECT_EQ(qAlpha(image.pixel(100, 70)), 255) << c.name;
        // The widget shows that frame.
        const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown.pixel(5, 5), qRgb(0, 255, 0)) << c.name;
        EXPECT_EQ(shown.pixel(100, 70), qRgb(255, 0, 0)) << c.name;
    }
}

TEST(GLView, EachViewStartsFromItsOwnState) {
    TwoViews views;
    if (!views.a->isValid()) GTEST_SKIP() << "no OpenGL";
    EXPECT_EQ(views.a->context(), views.b->context());
    EXPECT_EQ(views.a->initialized, 1);
    EXPECT_EQ(views.b->initialized, 1);
    views.b->grabFramebuffer();
    // Another view drew last: the view's state is set again before it draws.
    const int restored = views.a->restored;
    views.a->grabFramebuffer();
    EXPECT_EQ(views.a->restored, restored + 1);
    EXPECT_EQ(views.a->blendSourceSeen, GL_ONE);
    // The same view again: it finds what it left itself, as in a context of its own.
    views.a->grabFramebuffer();
    EXPECT_EQ(views.a->restored, restored + 1);
    EXPECT_EQ(views.a->blendSourceSeen, GL_SRC_ALPHA);
    views.b->grabFramebuffer();
    EXPECT_EQ(views.b->blendSourceSeen, GL_ONE);
    // Each keeps its own picture.
    EXPECT_EQ(views.a->grabFramebuffer().pixel(80, 80), qRgb(255, 0, 0));
    EXPECT_EQ(views.b->grabFramebuffer().pixel(80, 80), qRgb(0, 0, 255));
}

TEST(GLView, FramebuffersFollowSizeAndLife) {
    const int before = View_GLFramebufferCount();
    {
        TwoViews views;
        if (!views.a->isValid()) GTEST_SKIP() << "no OpenGL";
        EXPECT_EQ(View_GLFramebufferCount(), before + 2);
        views.window.resize(300, 150);
        QApplication::processEvents();
        // The size is taken at once, before any paint.
        EXPECT_EQ(views.a->lastResize, views.a->size());
        EXPECT_TRUE(views.a->alwaysPainting);
        EXPECT_EQ(View_Painting, 0);
        EXPECT_EQ(views.a->grabFramebuffer().size(), views.a->size() * views.a->devicePixelRatio());
        views.a->makeCurrent();
        EXPECT_NE(views.a->defaultFramebufferObject(), 0u);
        GLint bound = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
        EXPECT_EQ(GLuint(bound), views.a->defaultFramebufferObject());
        views.a->doneCurrent();
        delete views.b;
        EXPECT_EQ(View_GLFramebufferCount(), before + 1);
    }
    EXPECT_EQ(View_GLFramebufferCount(), before);
}

} // namespace
