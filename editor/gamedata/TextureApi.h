// The texture manager's entries in the engine-function table (effects and texture images that
// plugins create and fill). Until the manager's tables and GL upload exist, an effect asked for
// by name is the shared "notexture" record and nothing else is created.
#pragma once

#include <cstdint>

struct ShaderRecord;
struct ShaderStage;
struct TextureImage;

ShaderRecord* Tex_AcquireShaderByName(const char* name);
// Null: no effect can be created yet (callers handle a refused record).
ShaderRecord* Tex_FindOrCreateShader(const char* key, const char* name, int32_t flags);
void Plugin_ReleaseShader(ShaderRecord* shader);
void Plugin_AddShaderStage(ShaderRecord* shader, const ShaderStage* stage);
void Plugin_FreeShaderData(ShaderStage* stage);
void Plugin_FinishShader(ShaderRecord* shader);
// Null: no image is loaded yet.
TextureImage* Plugin_FindImage(const char* name);
TextureImage* Plugin_WhiteImage();
TextureImage* Plugin_BlackImage();
TextureImage* Plugin_UploadImage(ShaderRecord* shader, const char* name, int32_t format,
                                 int32_t compressedFormat, int32_t bytesPerPixel, int32_t width,
                                 int32_t height, bool mipmaps, const void* pixels);
void Plugin_FreeImage(TextureImage* image);
