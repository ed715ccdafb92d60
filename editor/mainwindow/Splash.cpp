#include "mainwindow/Splash.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QSplashScreen>

#include "core/WaitScope.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowCursors.h"

QSplashScreen* g_splashScreen = nullptr;

namespace {

const QColor& splashTextColour() {
    static const QColor colour(157, 157, 157, 255);
    return colour;
}

} // namespace

void App_CreateSplash() {
    if (g_splashScreen) return;
    App_InitResources();
    g_splashScreen = new QSplashScreen(QPixmap(QStringLiteral(":/qrc/splash.png")));
    g_splashScreen->setWindowFlag(Qt::WindowStaysOnTopHint);
    g_splashScreen->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    g_splashScreen->showMessage(QCoreApplication::translate("main", "Initializing..."),
                                Qt::AlignBottom | Qt::AlignLeft, splashTextColour());
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void App_FinishSplash(QWidget* window) {
    if (!g_splashScreen) return;
    QSplashScreen* splash = g_splashScreen;
    g_splashScreen = nullptr;
    if (window) splash->finish(window);
    delete splash;
}

void App_ShowSplashMessage(const QString& text) {
    if (g_mainWindow) g_mainWindow->splashMessage = text;
    if (g_splashScreen) {
        g_splashScreen->showMessage(text, Qt::AlignBottom | Qt::AlignLeft, splashTextColour());
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else if (g_waitScope) {
        g_waitScope->setText(text);
    }
}
