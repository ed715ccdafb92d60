// A widget drawn with OpenGL: the map views and the Textures dock's preview. Every such widget draws
// with one context the program makes once, each into a framebuffer object of its own; after a
// frame the pixels are read back and painted as an image.
//
// QOpenGLWidget gives each widget a context of its own and composes the whole top-level window
// through OpenGL on every flush. With a software rasteriser that made each new map view compile
// its shader variants again (hundreds of milliseconds per map window) and every repaint of any
// widget in the window (a status label, a console line) re-compose every view of every map window.
// Here a new view costs a framebuffer, a flush that touches no view copies only its own pixels, and
// a view draws only when asked to (update, repaint, a new size), not whenever a window over it moves.
//
// The interface is the part of QOpenGLWidget's the views use, so they read the same.
#pragma once

#include <QImage>
#include <QSurfaceFormat>
#include <QWidget>
#include <vector>

class QOpenGLContext;
class QOpenGLFramebufferObject;

class cGLView : public QWidget {
    Q_OBJECT
public:
    explicit cGLView(QWidget* parent = nullptr);
    ~cGLView() override;

    // The buffers the view's framebuffer has (depth, stencil, samples); the context is shared.
    void setFormat(const QSurfaceFormat& format);
    QSurfaceFormat format() const { return m_format; }
    // Whether the shared context exists (false without OpenGL).
    bool isValid() const;
    // Makes the shared context current with this view's framebuffer bound, setting the view up on
    // first use (initializeGL, resizeGL). Does nothing without OpenGL.
    void makeCurrent();
    void doneCurrent();
    QOpenGLContext* context() const;
    // The framebuffer object the view draws into (0 before its first use).
    unsigned defaultFramebufferObject() const;
    // Draws a frame now and returns its pixels: with the framebuffer's alpha (premultiplied) when
    // the format has an alpha channel, opaque otherwise. The view itself shows the colours opaque.
    QImage grabFramebuffer();
    // Whether a frame has been drawn and shown since the view was made.
    bool hasFrame() const { return !m_image.isNull(); }
    // Asks for a new frame: the next paint draws one. These hide QWidget's: a paint asked for by
    // anything else (a window above moved, the parent repainted) shows the last frame again.
    void update();
    void repaint();

signals:
    // A frame was drawn and shown.
    void frameSwapped();

protected:
    virtual void initializeGL() {}
    virtual void resizeGL(int width, int height) {}
    virtual void paintGL() {}
    // Sets the GL state the view's drawing starts from, when another view used the shared context
    // since this one did: each view draws as if the context were its own.
    virtual void restoreGLState() {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool ensureReady();
    QSize pixelSize() const;
    void takeSize();
    // Draws a frame into the framebuffer and reads it back for showing, and also with its alpha
    // into withAlpha when given.
    void render(QImage* withAlpha = nullptr);
    void readBack(QImage& image, bool keepAlpha);

    QSurfaceFormat m_format;
    QOpenGLFramebufferObject* m_frame = nullptr;
    QOpenGLFramebufferObject* m_resolve = nullptr; // the single-sample copy of a multisampled frame
    QImage m_image;
    std::vector<uint32_t> m_rows;
    bool m_initialized = false;
    QSize m_glSize; // the size resizeGL was last given
    bool m_frameWanted = true;
};

// Number of views that have a framebuffer now (tests: closed views let go of theirs).
int View_GLFramebufferCount();
