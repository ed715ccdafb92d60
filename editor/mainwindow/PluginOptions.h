// The window's side of the plugin options (snap, 2D grid, 3D grid, grid size, cordon; numbers in
// core/System.h): the options themselves live in the settings and are set by the system layer.
#pragma once

#include <cstdint>

class cMainWindow;

// Shows an option a plugin has just changed in the settings: its menu check and the views or
// the snap/grid status that show it.
void App_ShowOptionChange(cMainWindow& window, int32_t option);
