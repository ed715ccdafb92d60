#include "render/GLFormat.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>

#include "core/SysHost.h"
#include "core/MainSettings.h"

void View_InitGLDefaults() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    format.setSwapInterval(0);
    QSurfaceFormat::setDefaultFormat(format);
}

QSurfaceFormat View_CanvasFormat() {
    const MainSettings& s = Sys_Settings();
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    format.setSwapInterval(0);
    format.setAlphaBufferSize(s.AlphaBuffer ? 8 : 0);
    format.setSamples(s.Antialiasing ? 4 : 0);
    return format;
}

bool View_CreateSharedContext(QOpenGLContext** outContext, QOffscreenSurface** outSurface) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ||
        QGuiApplication::platformName() == QLatin1String("minimal"))
        return false;
    auto* context = new QOpenGLContext;
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    if (QOpenGLContext* share = QOpenGLContext::globalShareContext()) {
        context->setShareContext(share);
        format = share->format();
    }
    context->setFormat(format);
    auto* surface = new QOffscreenSurface;
    surface->setFormat(format);
    surface->create();
    if (!context->create() || !surface->isValid()) {
        delete context;
        delete surface;
        return false;
    }
    *outContext = context;
    *outSurface = surface;
    return true;
}
