// Shared by the effect script parser's files: the tokenizer helpers, error reporting and the
// readers of the values commands take (waves, vectors, deforms, texture-coordinate modifiers).
#pragma once

#include <cstddef>
#include <cstdint>

#include "quake3/ShaderParser.h"

struct WaveForm;
struct VertexDeform;
struct TexCoordMod;

namespace shaderscript {

// The callback errors go to for the length of one parse (null: none).
void setReporter(ShaderErrorCallback callback, void* context);
void report(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Reports at a given line rather than the tokenizer's.
void reportAt(int32_t line, const char* message);

bool same(const char* a, const char* b);
const char* token();
// Next token on the line.
bool onLine();
// "too many arguments" when the line goes on; the rest is dropped.
void endOfLine();
bool readFloat(float* out);
// Skips to the "}" closing a block whose "{" was read; nested braces count.
void skipBlock();

struct NamedCode {
    const char* name;
    int32_t code;
};

int32_t lookup(const NamedCode* table, size_t count, const char* name, int32_t missing);
template <size_t N> int32_t lookup(const NamedCode (&table)[N], const char* name, int32_t missing = -1) {
    return lookup(table, N, name, missing);
}

bool parseWave(WaveForm* wave);
// "(" x y z ")" after the command `name`.
bool parseVector(const char* name, float out[3]);
uint8_t colourByte(float value);
void parseDeform(VertexDeform* deform);
bool parseTcMod(TexCoordMod* mod);

} // namespace shaderscript
