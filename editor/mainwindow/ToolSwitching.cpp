// Tool switching: the slots of the tools bar. Least bodies until the tool set comes.
#include "mainwindow/MainWindow.h"

void cMainWindow::toolSelect() {}
void cMainWindow::toolEntity() {}
void cMainWindow::toolBrush() {}
void cMainWindow::toolTextureApplication() {}
void cMainWindow::toolApplyTexture() {}
void cMainWindow::toolApplyDecals() {}
void cMainWindow::toolClipper() {}
void cMainWindow::toolVertexManipulation() {}
void cMainWindow::toolCordon() {}
void cMainWindow::toolPath() {}
