// Map commands. Least bodies until the commands come.
#include "mainwindow/MainWindow.h"

void cMainWindow::cmdMapSmallerGrid() {}
void cMainWindow::cmdMapBiggerGrid() {}
void cMainWindow::cmdMapToggleGrid3D() {}
void cMainWindow::cmdMapLoadWindowState() {}
void cMainWindow::cmdMapSaveWindowState() {}
void cMainWindow::cmdMapGotoBrush() {}
void cMainWindow::cmdMapGotoCoords() {}
void cMainWindow::cmdMapShowInfo() {}
void cMainWindow::cmdMapEntityReport() {}
void cMainWindow::cmdMapCheckForProblems() {}
void cMainWindow::cmdMapProperties() {}
void cMainWindow::cmdMapLoadPointfile() {}
void cMainWindow::cmdMapUnloadPointfile() {}
void cMainWindow::cmdMapLoadPortalfile() {}
void cMainWindow::cmdMapUnloadPortalfile() {}
void cMainWindow::cmdMapLoadHullfile() {}
void cMainWindow::cmdMapUnloadHullfile() {}
