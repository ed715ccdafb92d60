// "KDKLayout.dat": the window arrangement between runs, six blocks without magic or version.
// 1 main window (status bar byte, geometry, dock and tool-bar state); 2 texture browser geometry;
// 3 effect editor geometry; 4 and 5 its splitters "splitter" and "splitter_2"; 6 the saved map
// window state (present byte; then maximised byte and geometry).
#pragma once

class QIODevice;
class cMainWindow;

bool Layout_ReadMainWindow(cMainWindow* window, QIODevice* device);
bool Layout_WriteMainWindow(cMainWindow* window, QIODevice* device);
bool Layout_ReadWindowState(cMainWindow* window, QIODevice* device);
bool Layout_WriteWindowState(cMainWindow* window, QIODevice* device);
// Reads the blocks in order and stops at the first that fails; the blocks before it stay
// applied. 0 when all were read, else the number of the failed block.
int Layout_ReadFile(cMainWindow* window, QIODevice* device);
// Writes the blocks in order; 0, or the number of the first block that could not be written.
int Layout_WriteFile(cMainWindow* window, QIODevice* device);
