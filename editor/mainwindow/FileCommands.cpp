// File commands. Least bodies until the commands come.
#include "mainwindow/MainWindow.h"

void cMainWindow::cmdFileRun() {}
void cMainWindow::cmdFileNew() {}
void cMainWindow::cmdFileOpen() {}
void cMainWindow::cmdFileClose() {}
void cMainWindow::cmdFileCloseAll() {}
void cMainWindow::cmdFileSave() {}
void cMainWindow::cmdFileSaveAs() {}
void cMainWindow::cmdFileSaveIncremental() {}
void cMainWindow::cmdFileAutosave() {}
void cMainWindow::cmdFileExport() {}
void cMainWindow::cmdFileExportAgain() {}
