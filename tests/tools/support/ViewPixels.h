// What a GL view shows, read back without painting it again, and the 2D grid's share of it.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include "PaintBurst.h"
#include "views/Canvas.h"
#include "render/ColorScheme.h"

// The frame the view shows now, read from its framebuffer without painting it again.
inline QImage View_ShownFrame(cCanvas* view) {
    view->makeCurrent();
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    QImage image(view->viewWidth, view->viewHeight, QImage::Format_RGBA8888);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, view->defaultFramebufferObject());
    gl->glReadPixels(0, 0, image.width(), image.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    view->doneCurrent();
    return image.mirrored();
}

// Pixels in either grid colour.
inline int View_GridPixels(const QImage& image) {
    const QRgb minor = Color_GetQColor(COLOR_2D_GRID_MINOR).rgb();
    const QRgb major = Color_GetQColor(COLOR_2D_GRID_MAJOR).rgb();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) | 0xff000000u;
            n += p == minor || p == major;
        }
    return n;
}

// Lets the events run until the view has painted again (at most five seconds).
inline void View_WaitForPaint(cCanvas* view) {
    cPaintCounter paints;
    view->installEventFilter(&paints);
    QElapsedTimer clock;
    clock.start();
    while (paints.count == 0 && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    view->removeEventFilter(&paints);
}
