// Window and Help commands. Least bodies until the commands come.
#include "mainwindow/MainWindow.h"

void cMainWindow::msgFeatureUnderDevelopment() {}
void cMainWindow::cmdWindowNew() {}
void cMainWindow::cmdWindowExportMessages() {}
void cMainWindow::cmdHelpTopics() {}

