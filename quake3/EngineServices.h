// The editor services that the archive and image code call. In the plugin each one goes through
// the plugin's copy of the engine-function table; the formatted log calls pass one finished line.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>

struct ShaderRecord;
struct ShaderStage;
struct TextureImage;

void* Eng_Alloc(uint64_t size);
void Eng_Free(void* block);
char* Eng_StrDup(const char* text);
void Eng_Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Eng_VerbosePrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Eng_Warning(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A warning about a file: its path first ("path: message"), when there is one. Built on
// Eng_Warning, so it holds wherever that is served.
inline void Eng_FileWarning(const char* path, const char* format, ...) __attribute__((format(printf, 2, 3)));
inline void Eng_FileWarning(const char* path, const char* format, ...) {
    char message[8192];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    if (path && *path)
        Eng_Warning("%s: %s", path, message);
    else
        Eng_Warning("%s", message);
}
// Scratch buffer `index` of at least size bytes, owned by the editor; null on failure.
void* Eng_TempBuffer(int32_t index, uint64_t size);
const char* Eng_NativePath(const char* path);
// Zero-terminated whole file from disk or the archives (free with Eng_Free); null on failure.
void* Eng_LoadFile(const char* path, uint32_t* size);
bool Eng_FileExists(const char* path);
// Makes every folder of the path up to its last "/".
bool Eng_CreatePath(const char* path);
bool Eng_FindFile(const char* name, char* buffer, uint32_t size);
float Eng_TextureGamma();

ShaderRecord* Eng_FindOrCreateShader(const char* key, const char* name, int32_t flags);
void Eng_ReleaseShader(ShaderRecord* shader);
void Eng_AddShaderStage(ShaderRecord* shader, ShaderStage* stage);
void Eng_FinishShader(ShaderRecord* shader);
TextureImage* Eng_FindImage(const char* name);
TextureImage* Eng_UploadImage(ShaderRecord* shader, const char* name, int32_t format,
                              int32_t compressedFormat, int32_t bytesPerPixel, int32_t width, int32_t height,
                              int32_t mipmaps, const uint8_t* pixels);
void Eng_FreeImage(TextureImage* image);
