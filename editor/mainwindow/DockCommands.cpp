// Slots of the Textures dock. Least bodies until that dock comes.
#include "mainwindow/MainWindow.h"

void cMainWindow::editTextureGroup() {}
void cMainWindow::editTextureName() {}
void cMainWindow::execBrowseTexture() {}
