// Tools, vertex and curve commands. Least bodies until the commands come.
#include "mainwindow/MainWindow.h"

void cMainWindow::cmdToolsCarve() {}
void cMainWindow::cmdToolsMerge() {}
void cMainWindow::cmdToolsHollow() {}
void cMainWindow::cmdToolsGroup() {}
void cMainWindow::cmdToolsUngroup() {}
void cMainWindow::cmdToolsIgnoreGroups() {}
void cMainWindow::cmdToolsMakeStructural() {}
void cMainWindow::cmdToolsMakeDetail() {}
void cMainWindow::cmdToolsTieToEntity() {}
void cMainWindow::cmdToolsMoveToWorld() {}
void cMainWindow::cmdToolsTextureReplace() {}
void cMainWindow::cmdToolsTextureLock() {}
void cMainWindow::cmdToolsTextureLockScale() {}
void cMainWindow::cmdToolsTextureLockUV() {}
void cMainWindow::cmdToolsTextureAlignToView() {}
void cMainWindow::cmdToolsSnapToGrid() {}
void cMainWindow::cmdToolsSnapToGrid2() {}
void cMainWindow::cmdToolsTransform() {}
void cMainWindow::cmdToolsToggleVertexRes() {}
void cMainWindow::cmdToolsToggleVertexCM() {}
void cMainWindow::cmdToolsAlignLeft() {}
void cMainWindow::cmdToolsAlignRight() {}
void cMainWindow::cmdToolsAlignTop() {}
void cMainWindow::cmdToolsAlignBottom() {}
void cMainWindow::cmdToolsFlipHorz() {}
void cMainWindow::cmdToolsFlipVert() {}
void cMainWindow::cmdToolsRotateAntiClockwise() {}
void cMainWindow::cmdToolsRotateClockwise() {}
void cMainWindow::cmdToolsConnectEntities() {}
void cMainWindow::cmdToolsShaderEdit() {}

void cMainWindow::applyPatchMatrixOp(const QString& undoName, int op) {}
