// The effect ("shader") script parser: one braced block from the tokenizer into an effect record
// and its stages, errors reported with their line through a callback.
#pragma once

#include <cstdint>

struct ShaderRecord;

using ShaderErrorCallback = void (*)(int32_t line, const char* message, void* context);

// Parses the block at the tokenizer's position into effect (null: only checks the text). The
// image path, when given, is the effect's own picture for an effect without image or stages.
// With checkTrailing, text after the closing brace is an error. False when the block did not
// open or did not close.
bool ParseShader(ShaderRecord* effect, const char* imagePath, bool checkTrailing,
                 ShaderErrorCallback callback, void* context);

// After a parse that met an entry name where the block's "}" was missing: that name (the "{"
// after it is pushed back for the caller); null otherwise. Reading it clears it.
const char* ShaderParser_TakeNextEntry();

// The effect editor's build: the text becomes the effect's source text and is parsed whole.
bool BuildSourceCode(const char* text, ShaderRecord* effect, ShaderErrorCallback callback, void* context);

// Keyword look-up for completion and highlighting: 1 command, 2 value, 0 none; the table's
// spelling goes to out. A negative level searches both levels.
int32_t LookupShaderKeyword(const char* word, const char* firstWord, int32_t level, char* out, int32_t size);
// The keywords under parent (null: the commands) each followed by a blank; the count.
int32_t ListShaderKeywords(const char* parent, int32_t level, char* out, int32_t size);

// Rows of the tables, for tests.
int32_t ShaderKeywordCount();
int32_t SurfaceParmCount();
