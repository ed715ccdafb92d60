#include "Engine.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

// The copy kpMain writes once; every call into the editor goes through it.
alignas(8) unsigned char g_engineTable[Engine::kTableSize];
bool g_installed = false;

// Slot offsets of the table (bytes from its start).
namespace Slot {
constexpr size_t SysPrintf = 8;
constexpr size_t SysWarning = 24;
constexpr size_t SysError = 32;
constexpr size_t SysAlloc = 40;
constexpr size_t SysFree = 48;
constexpr size_t SysStrDup = 56;
constexpr size_t ScriptLoadFile = 232;
constexpr size_t ScriptToken = 248;
constexpr size_t ScriptLine = 256;
constexpr size_t ScriptError = 264;
constexpr size_t ScriptHasError = 272;
constexpr size_t ScriptClearError = 280;
constexpr size_t ScriptGetToken = 288;
constexpr size_t ScriptUngetToken = 304;
constexpr size_t ScriptTokenAvailable = 312;
constexpr size_t ScriptClose = 368;
constexpr size_t SysNativePath = 448;
constexpr size_t MathSnapFloats = 488;
constexpr size_t SysSnapVector = 504;
constexpr size_t AppVersionString = 512;
constexpr size_t EntityCreate = 544;
constexpr size_t EntityUpdate = 552;
constexpr size_t BrushCreate = 632;
constexpr size_t BrushDelete = 640;
constexpr size_t FaceCreate = 696;
constexpr size_t PatchCreate = 712;
} // namespace Slot

template <typename Fn> Fn slot(size_t offset) {
    Fn fn;
    std::memcpy(&fn, g_engineTable + offset, sizeof fn);
    return fn;
}

using PrintFn = void (*)(const char*, ...);

// The editor's printf would format numbers in the process locale; the plugin formats its own
// text and hands over a finished line.
void forward(size_t offset, const char* format, va_list args) {
    char line[8192];
    std::vsnprintf(line, sizeof line, format, args);
    if (PrintFn fn = slot<PrintFn>(offset)) fn("%s", line);
}

} // namespace

namespace Engine {

void Install(const void* table) {
    std::memcpy(g_engineTable, table, kTableSize);
    g_installed = true;
}

bool Installed() {
    return g_installed;
}

const unsigned char* Copy() {
    return g_engineTable;
}

void Printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    forward(Slot::SysPrintf, format, args);
    va_end(args);
}

void Warning(const char* format, ...) {
    va_list args;
    va_start(args, format);
    forward(Slot::SysWarning, format, args);
    va_end(args);
}

void Error(const char* format, ...) {
    va_list args;
    va_start(args, format);
    forward(Slot::SysError, format, args);
    va_end(args);
}

void ScriptError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    forward(Slot::ScriptError, format, args);
    va_end(args);
}

void* Alloc(uint64_t size) {
    return slot<void* (*)(uint64_t)>(Slot::SysAlloc)(size);
}

void Free(void* block) {
    slot<void (*)(void*)>(Slot::SysFree)(block);
}

char* StrDup(const char* text) {
    return slot<char* (*)(const char*)>(Slot::SysStrDup)(text);
}

bool ScriptLoadFile(const char* path, int32_t flags) {
    return slot<bool (*)(const char*, int32_t)>(Slot::ScriptLoadFile)(path, flags);
}

const char* ScriptToken() {
    return slot<char* (*)()>(Slot::ScriptToken)();
}

int32_t ScriptLine() {
    return slot<int32_t (*)()>(Slot::ScriptLine)();
}

bool ScriptHasError() {
    return slot<bool (*)()>(Slot::ScriptHasError)();
}

void ScriptClearError() {
    slot<void (*)()>(Slot::ScriptClearError)();
}

bool ScriptGetToken(bool crossLines) {
    return slot<bool (*)(bool)>(Slot::ScriptGetToken)(crossLines);
}

void ScriptUngetToken() {
    slot<void (*)()>(Slot::ScriptUngetToken)();
}

bool ScriptTokenAvailable() {
    return slot<bool (*)()>(Slot::ScriptTokenAvailable)();
}

void ScriptClose() {
    slot<void (*)()>(Slot::ScriptClose)();
}

const char* NativePath(const char* path) {
    return slot<const char* (*)(const char*)>(Slot::SysNativePath)(path);
}

void SnapFloats(int32_t count, float* values) {
    slot<void (*)(int32_t, float*)>(Slot::MathSnapFloats)(count, values);
}

void SnapVector(float v[3]) {
    slot<void (*)(float*)>(Slot::SysSnapVector)(v);
}

const char* VersionString() {
    return slot<const char* (*)()>(Slot::AppVersionString)();
}

EntityRecord* EntityCreate(MapHandle map, const char* classname, const float origin[3], uint32_t flags) {
    using Fn = EntityRecord* (*)(MapHandle, const char*, const float*, uint32_t);
    return slot<Fn>(Slot::EntityCreate)(map, classname, origin, flags);
}

void EntityUpdate(EntityRecord* entity, uint32_t bits) {
    slot<void (*)(EntityRecord*, uint32_t)>(Slot::EntityUpdate)(entity, bits);
}

BrushRecord* BrushCreate(MapHandle map, EntityRecord* entity) {
    return slot<BrushRecord* (*)(MapHandle, EntityRecord*)>(Slot::BrushCreate)(map, entity);
}

void BrushDelete(MapHandle map, BrushRecord* brush) {
    slot<void (*)(MapHandle, BrushRecord*)>(Slot::BrushDelete)(map, brush);
}

FaceRecord* FaceCreate(MapHandle map, BrushRecord* brush, const TextureInfo* info, int32_t vertexCount) {
    using Fn = FaceRecord* (*)(MapHandle, BrushRecord*, const TextureInfo*, int32_t);
    return slot<Fn>(Slot::FaceCreate)(map, brush, info, vertexCount);
}

PatchRecord* PatchCreate(BrushRecord* brush, const TextureInfo* info, int32_t columns, int32_t rows) {
    using Fn = PatchRecord* (*)(BrushRecord*, const TextureInfo*, int32_t, int32_t);
    return slot<Fn>(Slot::PatchCreate)(brush, info, columns, rows);
}

} // namespace Engine
