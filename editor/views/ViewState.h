// Process-wide view flags that the console and the system layer consult.
#pragma once

#include <cstdint>

// While set, a view asked to paint draws nothing (raised around console updates that must not
// repaint the views).
extern uint8_t View_NoRedraw;
// Set while a view paints; the console then skips its event processing.
extern uint8_t View_Painting;
