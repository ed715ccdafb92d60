#include "render/RenderContext.h"

// Beside the objects that draw with it, so the map code and the views share one stamp.
int32_t g_renderFrameStamp = 0;
