// Slots of the New Objects, Textures and VisGroups docks. Least bodies until the docks come.
#include "mainwindow/MainWindow.h"

void cMainWindow::editCategoryList() {}
void cMainWindow::editObjectList() {}
void cMainWindow::editFaceCount(int) {}
void cMainWindow::editTextureGroup() {}
void cMainWindow::editTextureName() {}
void cMainWindow::execBrowseTexture() {}
void cMainWindow::assignVisGroup() {}
void cMainWindow::markVisGroup() {}
void cMainWindow::purgeVisGroups() {}
void cMainWindow::editVisGroups() {}
void cMainWindow::changeVisGroupVis(QListWidgetItem*) {}
void cMainWindow::mergeVisGroups(QListWidgetItem*, QListWidgetItem*) {}
