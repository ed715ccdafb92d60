// Effect scripts as texture packages: counting and registering their entries with the editor,
// re-reading one entry, and the default effect of a plain image.
#pragma once

#include <cstdint>

struct ShaderRecord;

// kpGetPackageInfo of the "SHADER" format: 1 with the entry count, 0 for an unreadable script.
int32_t ShaderPackage_GetInfo(int32_t fmt, const char* path, int32_t* count);
// kpLoadPackage of the "SHADER" format: registers every entry; 0 for an unreadable script.
int32_t ShaderPackage_Load(int32_t fmt, const char* path);
// The same for a script text in memory (size counts the terminating zero) read as path.
int32_t ShaderPackage_LoadText(const char* path, const char* text, uint32_t size);
// Re-reads the entry named effectName (without "textures/") of a script: 1 when found.
int32_t LoadShaderFromScript(const char* scriptPath, const char* effectName);
// Gives the effect the default text for its image; false (nothing changed) for an image outside
// the game's texture, model, gfx, menu and sprite folders.
bool ClassifyShaderPath(const char* imagePath, ShaderRecord* effect);

// Writes the effects of the list (linked through nextInScript; only the first unless all) into the
// script: entries of the same name are replaced, the others copied, the rest appended. The file is
// replaced through a temporary file, so a failure keeps it; its line endings are kept.
bool WriteShaderScript(const char* scriptPath, ShaderRecord* list, bool all);
