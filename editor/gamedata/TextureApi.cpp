#include "gamedata/TextureApi.h"

#include "core/NotAvailable.h"
#include "gamedata/TextureManager.h"

ShaderRecord* Tex_AcquireShaderByName(const char* name) {
    Sys_ReportNotAvailable("Tex_AcquireShaderByName");
    return Tex_CreateNoTexture();
}

ShaderRecord* Tex_FindOrCreateShader(const char*, const char*, int32_t) {
    Sys_ReportNotAvailable("Tex_FindOrCreateShader");
    return nullptr;
}

void Plugin_ReleaseShader(ShaderRecord*) {
    Sys_ReportNotAvailable("Plugin_ReleaseShader");
}

void Plugin_AddShaderStage(ShaderRecord*, const ShaderStage*) {
    Sys_ReportNotAvailable("Plugin_AddShaderStage");
}

void Plugin_FreeShaderData(ShaderStage*) {
    Sys_ReportNotAvailable("Plugin_FreeShaderData");
}

void Plugin_FinishShader(ShaderRecord*) {
    Sys_ReportNotAvailable("Plugin_FinishShader");
}

TextureImage* Plugin_FindImage(const char*) {
    Sys_ReportNotAvailable("Plugin_FindImage");
    return nullptr;
}

TextureImage* Plugin_WhiteImage() {
    Sys_ReportNotAvailable("Plugin_WhiteImage");
    return nullptr;
}

TextureImage* Plugin_BlackImage() {
    Sys_ReportNotAvailable("Plugin_BlackImage");
    return nullptr;
}

TextureImage* Plugin_UploadImage(ShaderRecord*, const char*, int32_t, int32_t, int32_t, int32_t, int32_t,
                                 bool, const void*) {
    Sys_ReportNotAvailable("Plugin_UploadImage");
    return nullptr;
}

void Plugin_FreeImage(TextureImage*) {
    Sys_ReportNotAvailable("Plugin_FreeImage");
}
