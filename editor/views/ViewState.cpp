// Storage of the process-wide view flags.
#include "views/ViewState.h"

uint8_t View_NoRedraw = 0;
uint8_t View_Painting = 0;
uint8_t View_TextureLoading = 0;
uint8_t View_ClosingWindows = 0;
