// The start-up splash screen and the progress line shown on it (or, later, in the wait dialog).
#pragma once

#include <QString>

class QSplashScreen;
class QWidget;

// The splash screen from start-up until the main window is built; null otherwise.
extern QSplashScreen* g_splashScreen;

// Shows the splash screen with "Initializing..." (stays on top).
void App_CreateSplash();
// Lets the splash screen finish against the window and deletes it; harmless without one.
void App_FinishSplash(QWidget* window);
// Progress text of start-up and loading: on the splash screen while it exists, else in the wait
// dialog's message while one is open. The main window keeps the last text shown.
void App_ShowSplashMessage(const QString& text);
