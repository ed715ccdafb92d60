// The plugin's one way into the editor: its private copy of the engine-function table that
// kpMain receives. Each wrapper below calls through one slot of that copy by its fixed byte
// offset, so the plugin links no editor code. Nothing here is thread-safe; the editor calls the
// plugin on its GUI thread only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "map/MapObject.h"

struct BrushRecord;
struct EntityRecord;
struct FaceRecord;
struct PatchRecord;
struct TextureInfo;

namespace Engine {

// Size of the table this plugin was built against: a 64-bit size field and 179 slots.
inline constexpr uint64_t kTableSize = 1440;

// Copies the table's first kTableSize bytes (kpMain checks the size first).
void Install(const void* table);
// Whether a table was installed (tests and the plugin's own guards).
bool Installed();
// The installed copy, for tests comparing it with what the editor handed over.
const unsigned char* Copy();

// ---- Console (formatted here; only %s, %i, %d, %c and %u reach the editor's printf) -----------
void Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Warning(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Error(const char* format, ...) __attribute__((format(printf, 1, 2)));

// ---- Memory -------------------------------------------------------------------------------------
void* Alloc(uint64_t size);
void Free(void* block);
char* StrDup(const char* text);

// ---- Tokenizer ----------------------------------------------------------------------------------
// The block is neither copied nor freed: it must outlive the script.
bool ScriptLoadMemory(const char* buffer, uint32_t length, int32_t flags);
const char* ScriptToken();
int32_t ScriptLine();
void ScriptError(const char* format, ...) __attribute__((format(printf, 1, 2)));
bool ScriptHasError();
void ScriptClearError();
bool ScriptGetToken(bool crossLines);
void ScriptUngetToken();
bool ScriptTokenAvailable();
void ScriptClose();

// ---- Paths, snapping, application -----------------------------------------------------------
const char* NativePath(const char* path);
void SnapVector(float v[3]);
const char* VersionString();

// ---- Map objects --------------------------------------------------------------------------------
EntityRecord* EntityCreate(MapHandle map, const char* classname, const float origin[3], uint32_t flags);
void EntityUpdate(EntityRecord* entity, uint32_t bits);
BrushRecord* BrushCreate(MapHandle map, EntityRecord* entity);
void BrushDelete(MapHandle map, BrushRecord* brush);
FaceRecord* FaceCreate(MapHandle map, BrushRecord* brush, const TextureInfo* info, int32_t vertexCount);
PatchRecord* PatchCreate(BrushRecord* brush, const TextureInfo* info, int32_t columns, int32_t rows);

} // namespace Engine
