// The archive and image code's editor services, each a call through one slot of the plugin's
// copy of the engine-function table (written once by kpMain). Formatted lines are finished here
// and handed over as one "%s" argument, so the editor's printf never sees plugin formats.
#include "EngineServices.h"

#include <cstdarg>
#include <cstdio>

#include "gamedata/PluginInterface.h"

namespace Engine {
// The table copy kept by the plugin entry.
const unsigned char* Copy();
} // namespace Engine

namespace {

const EngineFuncs& table() {
    return *reinterpret_cast<const EngineFuncs*>(Engine::Copy());
}

void forward(void (*print)(const char*, ...), const char* format, va_list args) {
    char line[8192];
    std::vsnprintf(line, sizeof line, format, args);
    if (print) print("%s", line);
}

} // namespace

void* Eng_Alloc(uint64_t size) {
    return table().Sys_Alloc(size);
}
void Eng_Free(void* block) {
    if (block) table().Sys_Free(block);
}
char* Eng_StrDup(const char* text) {
    return table().Sys_StrDup(text);
}

void Eng_Printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    forward(table().Sys_Printf, format, args);
    va_end(args);
}

void Eng_VerbosePrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    forward(table().Sys_VerbosePrintf, format, args);
    va_end(args);
}

void Eng_Warning(const char* format, ...) {
    va_list args;
    va_start(args, format);
    forward(table().Sys_Warning, format, args);
    va_end(args);
}

void* Eng_TempBuffer(int32_t index, uint64_t size) {
    return table().TempBuffer_GetSpace(static_cast<uint32_t>(index), size);
}
const char* Eng_NativePath(const char* path) {
    return table().Sys_NativePath(path);
}
void* Eng_LoadFile(const char* path, uint32_t* size) {
    return table().Sys_LoadFile(path, size);
}
bool Eng_FileExists(const char* path) {
    return table().Sys_FileExists(path);
}
bool Eng_CreatePath(const char* path) {
    return table().Sys_CreatePath(path);
}
bool Eng_FindFile(const char* name, char* buffer, uint32_t size) {
    return table().Sys_FindFile(name, buffer, size);
}
float Eng_TextureGamma() {
    return table().Sys_GetTextureGamma();
}

ShaderRecord* Eng_FindOrCreateShader(const char* key, const char* name, int32_t flags) {
    return table().Tex_FindOrCreateShader(key, name, flags);
}
void Eng_ReleaseShader(ShaderRecord* shader) {
    table().Plugin_ReleaseShader(shader);
}
void Eng_AddShaderStage(ShaderRecord* shader, ShaderStage* stage) {
    table().Plugin_AddShaderStage(shader, stage);
}
void Eng_FinishShader(ShaderRecord* shader) {
    table().Plugin_FinishShader(shader);
}
TextureImage* Eng_FindImage(const char* name) {
    return table().Plugin_FindImage(name);
}
TextureImage* Eng_UploadImage(ShaderRecord* shader, const char* name, int32_t format,
                              int32_t compressedFormat, int32_t bytesPerPixel, int32_t width, int32_t height,
                              int32_t mipmaps, const uint8_t* pixels) {
    return table().Plugin_UploadImage(shader, name, format, compressedFormat, bytesPerPixel, width, height,
                                      mipmaps != 0, pixels);
}
void Eng_FreeImage(TextureImage* image) {
    table().Plugin_FreeImage(image);
}
