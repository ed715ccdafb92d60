// Effect script value readers and the tokenizer helpers the parser's files share.
#include "quake3/ShaderValues.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "gamedata/TextureRecords.h"
#include "quake3/EngineServices.h"
#include "quake3/ShaderServices.h"

namespace shaderscript {

namespace {
ShaderErrorCallback s_callback = nullptr;
void* s_context = nullptr;

constexpr NamedCode kWaves[] = {{"sin", 1},      {"square", 3},          {"triangle", 4},
                                {"sawtooth", 5}, {"inversesawtooth", 6}, {"noise", 7}};
} // namespace

void setReporter(ShaderErrorCallback callback, void* context) {
    s_callback = callback;
    s_context = context;
}

void reportAt(int32_t line, const char* message) {
    if (s_callback) s_callback(line, message, s_context);
}

void report(const char* format, ...) {
    if (!s_callback) return;
    char message[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    s_callback(Eng_ScriptLine(), message, s_context);
}

bool same(const char* a, const char* b) {
    return strcasecmp(a, b) == 0;
}

const char* token() {
    return Eng_ScriptToken();
}

// Next token on the line.
bool onLine() {
    return Eng_ScriptTryGetToken(false);
}

// "too many arguments" when the line goes on; the rest is dropped.
void endOfLine() {
    if (Eng_ScriptTokenAvailable()) {
        report("too many arguments");
        Eng_ScriptSkipRestOfLine();
    }
}

bool readFloat(float* out) {
    if (!onLine()) return false;
    *out = static_cast<float>(std::atof(token()));
    return true;
}

// Skips to the "}" closing a block whose "{" was read; nested braces count.
void skipBlock() {
    int depth = 1;
    while (depth > 0 && Eng_ScriptTryGetToken(true)) {
        if (std::strcmp(token(), "{") == 0) ++depth;
        if (std::strcmp(token(), "}") == 0) --depth;
    }
}

int32_t lookup(const NamedCode* table, size_t count, const char* name, int32_t missing) {
    for (size_t i = 0; i < count; ++i)
        if (same(table[i].name, name)) return table[i].code;
    return missing;
}

bool parseWave(WaveForm* wave) {
    if (!onLine()) {
        report("missing wave function name (constant)\n");
        return false;
    }
    wave->kind = lookup(kWaves, token());
    if (wave->kind < 0) {
        report("unknown wave function `%s'\n", token());
        wave->kind = 1;
    }
    static constexpr const char* kParts[] = {"base", "amplitude", "phase", "frequency"};
    float* fields[] = {&wave->base, &wave->amplitude, &wave->phase, &wave->frequency};
    for (int i = 0; i < 4; ++i) {
        if (!readFloat(fields[i])) {
            report("missing wave function %s (float)\n", kParts[i]);
            return false;
        }
    }
    return true;
}

// "(" x y z ")" after the command `name`.
bool parseVector(const char* name, float out[3]) {
    if (!onLine()) {
        report("`(' expected");
        return false;
    }
    if (std::strcmp(token(), "(") != 0) {
        report("`(' expected, got `%s'", token());
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        if (!readFloat(&out[i])) {
            report("missing `%s' vector element (float)", name);
            return false;
        }
    }
    if (!onLine()) {
        report("`)' expected");
        return false;
    }
    if (std::strcmp(token(), ")") != 0) {
        report("`)' expected, got `%s'", token());
        return false;
    }
    return true;
}

uint8_t colourByte(float value) {
    return static_cast<uint8_t>(std::clamp(static_cast<int>(value * 255.0f), 0, 255));
}

void parseDeform(VertexDeform* deform) {
    if (!onLine()) {
        report("missing `deformVertexes' function (constant)\n");
        return;
    }
    const char* kind = token();
    if (same(kind, "wave")) {
        float spread = 0;
        if (!readFloat(&spread)) {
            report("missing `deformVertexes' wave parameter (float)\n");
            return;
        }
        if (spread == 0) {
            report("illegal `deformVertexes' wave parameter (%f)\n", spread);
            spread = 100;
        }
        deform->kind = 1;
        deform->spread = 1.0f / spread;
        parseWave(&deform->wave);
    } else if (same(kind, "normal")) {
        deform->kind = 2;
        if (!readFloat(&deform->wave.amplitude) || !readFloat(&deform->wave.frequency))
            report("missing `deformVertexes' normal parameter (float)\n");
    } else if (same(kind, "bulge")) {
        deform->kind = 3;
        if (!readFloat(&deform->bulgeWidth) || !readFloat(&deform->bulgeHeight) ||
            !readFloat(&deform->bulgeSpeed))
            report("missing `deformVertexes' bulge parameter (float)\n");
    } else if (same(kind, "move")) {
        deform->kind = 5;
        for (float& v : deform->move) {
            if (!readFloat(&v)) {
                report("missing `deformVertexes' move parameter (float)\n");
                return;
            }
        }
        parseWave(&deform->wave);
    } else if (same(kind, "projectionShadow")) {
        deform->kind = 6;
    } else if (same(kind, "autosprite")) {
        deform->kind = 7;
    } else if (same(kind, "autosprite2")) {
        deform->kind = 8;
    } else if (strncasecmp(kind, "text", 4) == 0) {
        deform->kind = kind[4] >= '0' && kind[4] <= '9' ? 9 + (kind[4] - '0') : 9;
    } else {
        report("unknown `deformVertexes' function `%s'\n", kind);
    }
}

// One "tcMod" line into mod; false when it adds nothing.
bool parseTcMod(TexCoordMod* mod) {
    if (!onLine()) {
        report("missing `tcMod' function (constant)\n");
        return false;
    }
    const char* kind = token();
    auto floats = [&](int count, const char* what) {
        for (int i = 0; i < count; ++i) {
            if (!readFloat(&mod->values[i])) {
                report("missing `tcMod' %s parameter (float)\n", what);
                return false;
            }
        }
        return true;
    };
    if (same(kind, "transform")) {
        mod->kind = 1;
        return floats(6, "transform");
    }
    if (same(kind, "turb")) {
        mod->kind = 2;
        float base = 0;
        if (!readFloat(&base) || !readFloat(&mod->wave.amplitude) || !readFloat(&mod->wave.phase) ||
            !readFloat(&mod->wave.frequency)) {
            report("missing `tcMod' turb parameter (float)\n");
            return false;
        }
        mod->wave.base = 0; // the script's base is not used
        return true;
    }
    if (same(kind, "scroll")) {
        mod->kind = 3;
        return floats(2, "scroll");
    }
    if (same(kind, "scale")) {
        mod->kind = 4;
        if (!floats(2, "scale")) return false;
        return !(mod->values[0] == 1.0f && mod->values[1] == 1.0f);
    }
    if (same(kind, "stretch")) {
        mod->kind = 5;
        if (!onLine()) {
            report("missing `tcMod' stretch parameter (constant)\n");
            return false;
        }
        mod->wave.kind = lookup(kWaves, token());
        if (mod->wave.kind < 0) {
            report("unknown wave function `%s'\n", token());
            mod->wave.kind = 1;
        }
        if (!readFloat(&mod->wave.base) || !readFloat(&mod->wave.amplitude) || !readFloat(&mod->wave.phase) ||
            !readFloat(&mod->wave.frequency)) {
            report("missing `tcMod' stretch parameter (float)\n");
            return false;
        }
        return true;
    }
    if (same(kind, "rotate")) {
        mod->kind = 7;
        return floats(1, "rotate");
    }
    if (same(kind, "entityTranslate")) {
        mod->kind = 9;
        return true;
    }
    report("unknown `tcMod' function `%s'\n", kind);
    return false;
}

} // namespace shaderscript
