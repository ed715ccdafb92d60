#include "gamedata/TextureApi.h"

#include "core/NotAvailable.h"

ShaderRecord* Tex_AcquireShaderByName(const char* name) {
    Sys_ReportNotAvailable("Tex_AcquireShaderByName");
    return Tex_CreateNoTexture();
}
