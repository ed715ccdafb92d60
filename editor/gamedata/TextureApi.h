// The texture manager's entries in the engine-function table (effects and texture images that
// plugins create and fill) are declared with the manager.
#pragma once

#include "gamedata/TextureManager.h"
