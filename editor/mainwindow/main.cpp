// Program entry of the editor.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <clocale>
#include <cstdio>

#include "kstdlib/kstdlib.h"
#include "mainwindow/MainWindow.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "render/GLFormat.h"

#include "core/Platform.h"

namespace {

// ZARV_EXIT_AFTER_FIRST_FRAME: once every view of every map window has drawn, report the time since
// start, save a picture of the window when the value ends in ".png", and close normally.
void exitAfterFirstFrame(cMainWindow* window, const QString& value, const QElapsedTimer& sinceStart) {
    auto* poll = new QTimer(window);
    auto drawn = std::make_shared<QSet<cCanvas*>>();
    auto connected = std::make_shared<QSet<cCanvas*>>();
    QObject::connect(poll, &QTimer::timeout, window, [=] {
        QList<cCanvas*> views;
        for (QMdiSubWindow* sub : window->mdiArea->subWindowList())
            if (auto* child = qobject_cast<cChildWindow*>(sub->widget())) views += child->views;
        for (cCanvas* view : views) {
            if (connected->contains(view)) continue;
            connected->insert(view);
            // A view that drew before it was looked at draws again only when asked to.
            if (view->hasFrame()) drawn->insert(view);
            QObject::connect(view, &cGLView::frameSwapped, window, [drawn, view] { drawn->insert(view); });
        }
        for (cCanvas* view : views)
            if (!drawn->contains(view)) return;
        poll->stop();
        std::printf("first frame: %lld ms, %d images decoded\n", static_cast<long long>(sinceStart.elapsed()),
                    int(window->textures.decodedCount));
        std::fflush(stdout);
        if (value.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) window->grab().save(value);
        window->close();
    });
    poll->start(10);
}

} // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    // Shared GL contexts and the default surface format must precede the application object.
    View_InitGLDefaults();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    K_MathLib_Initialize(0);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Z.A.R.V.: Kelvane Development Kit"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));
    App_CreateSplash();

    int status = 0;
    {
        cMainWindow window(WindowMode::Interactive);
        window.show();
        window.raise();
        App_FinishSplash(&window);
        QApplication::processEvents();
        const QString exitAfter = qEnvironmentVariable("ZARV_EXIT_AFTER_FIRST_FRAME");
        // A timed run has nobody to answer the welcome dialog.
        if (exitAfter.isEmpty() || !App_StartupFileArgument(app.arguments()).isEmpty())
            App_OpenStartupFile(&window, app.arguments());
        if (!exitAfter.isEmpty()) exitAfterFirstFrame(&window, exitAfter, sinceStart);
        status = app.exec();
    }
#ifdef __SANITIZE_ADDRESS__
    Plat_KeepLoadedLibraries();
#endif
    return status;
}
