// View commands. Least bodies until the commands come.
#include "mainwindow/MainWindow.h"

void cMainWindow::cmdViewHideSelection() {}
void cMainWindow::cmdViewHideNotSelection() {}
void cMainWindow::cmdViewShowHidden() {}
void cMainWindow::cmdViewToggleGridUV() {}
void cMainWindow::cmdViewOpenModel() {}
void cMainWindow::cmdViewReloadModel() {}
void cMainWindow::cmdView2DXY() {}
void cMainWindow::cmdView2DYZ() {}
void cMainWindow::cmdView2DXZ() {}
void cMainWindow::cmdView3DWireframe() {}
void cMainWindow::cmdView3DFilled() {}
void cMainWindow::cmdView3DTextured() {}
void cMainWindow::cmdView3DShadedTextured() {}
void cMainWindow::cmdViewAutosize() {}
void cMainWindow::cmdViewToggleConnections() {}
void cMainWindow::cmdViewToggleModels2D() {}
void cMainWindow::cmdViewToggleNodraw() {}
void cMainWindow::cmdViewToggleHint() {}
void cMainWindow::cmdViewToggleClip() {}
void cMainWindow::cmdViewToggleTrigger() {}
void cMainWindow::cmdViewToggleShaderAnimations() {}
void cMainWindow::cmdViewToggleSky() {}
void cMainWindow::cmdViewToggleTexTrans() {}
void cMainWindow::cmdViewToggleEntTrans() {}
