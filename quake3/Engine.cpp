#include "Engine.h"

#include "gamedata/PluginInterface.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

// The copy kpMain writes once; every call into the editor goes through it.
EngineFuncs g_engine;
bool g_installed = false;

// The editor's printf would format numbers in the process locale; the plugin formats its own
// text and hands over a finished line.
void forward(void (*print)(const char*, ...), const char* format, va_list args) {
    char line[8192];
    std::vsnprintf(line, sizeof line, format, args);
    if (print) print("%s", line);
}

} // namespace

namespace Engine {

static_assert(sizeof(EngineFuncs) == kTableSize);

void Install(const void* table) {
    std::memcpy(&g_engine, table, kTableSize);
    g_installed = true;
}

bool Installed() {
    return g_installed;
}

const unsigned char* Copy() {
    return reinterpret_cast<const unsigned char*>(&g_engine);
}

void Printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    forward(g_engine.Sys_Printf, format, args);
    va_end(args);
}

void Warning(const char* format, ...) {
    va_list args;
    va_start(args, format);
    forward(g_engine.Sys_Warning, format, args);
    va_end(args);
}

void Error(const char* format, ...) {
    va_list args;
    va_start(args, format);
    forward(g_engine.Sys_Error, format, args);
    va_end(args);
}

void ScriptError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    forward(g_engine.Script_Error, format, args);
    va_end(args);
}

void* Alloc(uint64_t size) {
    return g_engine.Sys_Alloc(size);
}

void Free(void* block) {
    g_engine.Sys_Free(block);
}

char* StrDup(const char* text) {
    return g_engine.Sys_StrDup(text);
}

bool ScriptLoadMemory(const char* buffer, uint32_t length, int32_t flags) {
    return g_engine.Script_LoadMemory(buffer, length, flags);
}

const char* ScriptToken() {
    return g_engine.Script_Token();
}

int32_t ScriptLine() {
    return g_engine.Script_Line();
}

bool ScriptHasError() {
    return g_engine.Script_HasError();
}

void ScriptClearError() {
    g_engine.Script_ClearError();
}

bool ScriptGetToken(bool crossLines) {
    return g_engine.Script_GetToken(crossLines);
}

void ScriptUngetToken() {
    g_engine.Script_UngetToken();
}

bool ScriptTokenAvailable() {
    return g_engine.Script_TokenAvailable();
}

void ScriptClose() {
    g_engine.Script_Close();
}

const char* NativePath(const char* path) {
    return g_engine.Sys_NativePath(path);
}

void SnapVector(float v[3]) {
    g_engine.Sys_SnapVector(v);
}

const char* VersionString() {
    return g_engine.App_GetVersionString();
}

EntityRecord* EntityCreate(MapHandle map, const char* classname, const float origin[3], uint32_t flags) {
    return g_engine.Entity_Create(map, classname, origin, flags);
}

void EntityUpdate(EntityRecord* entity, uint32_t bits) {
    g_engine.Entity_Update(entity, bits);
}

BrushRecord* BrushCreate(MapHandle map, EntityRecord* entity) {
    return g_engine.Brush_Create(map, entity);
}

void BrushDelete(MapHandle map, BrushRecord* brush) {
    g_engine.Brush_Delete(map, brush);
}

FaceRecord* FaceCreate(MapHandle map, BrushRecord* brush, const TextureInfo* info, int32_t vertexCount) {
    return g_engine.Face_Create(map, brush, info, vertexCount);
}

PatchRecord* PatchCreate(BrushRecord* brush, const TextureInfo* info, int32_t columns, int32_t rows) {
    return g_engine.Patch_Create(brush, info, columns, rows);
}

} // namespace Engine
