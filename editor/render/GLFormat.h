// The GL set-up every program with views makes before its QApplication exists, and the format of
// one map view.
#pragma once

#include <QSurfaceFormat>

class QOffscreenSurface;
class QOpenGLContext;

// Shares one set of GL objects between all contexts and makes the default format a
// compatibility profile with depth 24 and stencil 8, swap interval 0.
void View_InitGLDefaults();
// A map view's format: RGBA, double buffer, depth, stencil 8, swap interval 0; alpha with
// AlphaBuffer, 4 samples with Antialiasing.
QSurfaceFormat View_CanvasFormat();
// Makes a context sharing the global share context's objects, in its format, and an offscreen
// surface to make it current on. False, with nothing made, without a GUI application with OpenGL.
bool View_CreateSharedContext(QOpenGLContext** context, QOffscreenSurface** surface);
