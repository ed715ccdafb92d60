// Path commands. Least bodies until the commands come.
#include "mainwindow/MainWindow.h"

void cMainWindow::cmdEditPathAddNodes() {}
void cMainWindow::cmdEditPathNodeProperties() {}
void cMainWindow::cmdEditPathDelete() {}
void cMainWindow::cmdEditPathProperties() {}
void cMainWindow::cmdEditPathSelect() {}
void cMainWindow::cmdEditPathSplit() {}
void cMainWindow::cmdEditPathMerge() {}
void cMainWindow::cmdEditPathConvert() {}
