// The five editor options that plugins read and change (snap, 2D grid, 3D grid, grid size,
// cordon; numbers in core/System.h).
#pragma once

#include <cstdint>

int32_t App_GetOption(int32_t option);
void App_SetOption(int32_t option, int32_t value);
