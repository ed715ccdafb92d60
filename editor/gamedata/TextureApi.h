// The texture manager's entries in the engine-function table (effects and texture images that
// plugins create and fill). Slots 912-984 are the manager's reference-counted operations; an
// effect asked for by name is the shared "notexture" record until placeholders exist.
#pragma once

#include <cstdint>

#include "gamedata/TextureManager.h"

ShaderRecord* Tex_AcquireShaderByName(const char* name);
