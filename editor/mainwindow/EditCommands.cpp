// Edit commands. Least bodies until the commands come.
#include "mainwindow/MainWindow.h"

void cMainWindow::cmdEditSelectTouching() {}
void cMainWindow::cmdEditSelectInside() {}
void cMainWindow::cmdEditSelectHandles() {}
void cMainWindow::cmdEditSelectMouseMove() {}
void cMainWindow::cmdEditUndo() {}
void cMainWindow::cmdEditRedo() {}
void cMainWindow::cmdEditToggleUndoRedo() {}
void cMainWindow::cmdEditCut() {}
void cMainWindow::cmdEditCopy() {}
void cMainWindow::cmdEditPaste() {}
void cMainWindow::cmdEditDelete() {}
void cMainWindow::cmdEditSelectNone() {}
void cMainWindow::cmdEditSelectInvert() {}
void cMainWindow::cmdEditSelectAll() {}
void cMainWindow::cmdEditCreateObjectEx() {}
