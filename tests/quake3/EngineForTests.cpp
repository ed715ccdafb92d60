// The plugin's editor services bound straight to the editor's functions, so the archive and
// image code runs inside the test program under the sanitizers.
#include <cstdarg>
#include <cstdio>

#include "core/System.h"
#include "core/TempBuffer.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TextureManager.h"
#include "quake3/EngineServices.h"

namespace {

#define FORMAT_LINE(buffer, format)                                                                          \
    char buffer[kSysLogBufferSize];                                                                          \
    va_list args;                                                                                            \
    va_start(args, format);                                                                                  \
    std::vsnprintf(buffer, sizeof buffer, format, args);                                                     \
    va_end(args)

} // namespace

void* Eng_Alloc(uint64_t size) {
    return Sys_Alloc(size);
}
void Eng_Free(void* block) {
    Sys_Free(block);
}
char* Eng_StrDup(const char* text) {
    return Sys_StrDup(text);
}
void Eng_Printf(const char* format, ...) {
    FORMAT_LINE(line, format);
    Sys_Printf("%s", line);
}
void Eng_VerbosePrintf(const char* format, ...) {
    FORMAT_LINE(line, format);
    Sys_VerbosePrintf("%s", line);
}
void Eng_Warning(const char* format, ...) {
    FORMAT_LINE(line, format);
    Sys_Warning("%s", line);
}
void* Eng_TempBuffer(int32_t index, uint64_t size) {
    return TempBuffer_GetSpace(uint32_t(index), size);
}
const char* Eng_NativePath(const char* path) {
    return Sys_NativePath(path);
}
void* Eng_LoadFile(const char* path, uint32_t* size) {
    return Sys_LoadFile(path, size);
}
bool Eng_FileExists(const char* path) {
    return Sys_FileExists(path);
}
bool Eng_CreatePath(const char* path) {
    return Sys_CreatePath(path);
}
bool Eng_FindFile(const char* name, char* buffer, uint32_t size) {
    return Sys_FindFile(name, buffer, size);
}
float Eng_TextureGamma() {
    return Sys_GetTextureGamma();
}
ShaderRecord* Eng_FindOrCreateShader(const char* key, const char* name, int32_t flags) {
    return Tex_FindOrCreateShader(key, name, flags);
}
void Eng_ReleaseShader(ShaderRecord* shader) {
    Plugin_ReleaseShader(shader);
}
void Eng_AddShaderStage(ShaderRecord* shader, ShaderStage* stage) {
    Plugin_AddShaderStage(shader, stage);
}
void Eng_FinishShader(ShaderRecord* shader) {
    Plugin_FinishShader(shader);
}
TextureImage* Eng_FindImage(const char* name) {
    return Plugin_FindImage(name);
}
TextureImage* Eng_UploadImage(ShaderRecord* shader, const char* name, int32_t format,
                              int32_t compressedFormat, int32_t bytesPerPixel, int32_t width, int32_t height,
                              int32_t mipmaps, const uint8_t* pixels) {
    return Plugin_UploadImage(shader, name, format, compressedFormat, bytesPerPixel, width, height,
                              mipmaps != 0, pixels);
}
void Eng_FreeImage(TextureImage* image) {
    Plugin_FreeImage(image);
}
