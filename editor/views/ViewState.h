// Process-wide view flags that the console, the system layer, texture loading and the main window
// consult.
#pragma once

#include <cstdint>

// While set, a view asked to paint draws nothing (raised around console updates that must not
// repaint the views).
extern uint8_t View_NoRedraw;
// Set while a view paints; the console then skips its event processing.
extern uint8_t View_Painting;
// Drawing suspended by texture loading / by the main window while it closes its map windows.
extern uint8_t View_TextureLoading;
extern uint8_t View_ClosingWindows;

inline bool View_Suspended() {
    return View_NoRedraw || View_TextureLoading || View_ClosingWindows;
}
