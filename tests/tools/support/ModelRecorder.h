// A copy of the editor's engine-function table whose drawing slots record their calls, with a
// settable clock, minimum alpha and state word, and effects asked for by name kept in the
// editor's texture manager (a new name is a placeholder, flag 0x1). kpMain of the plugin under
// test receives the copy; Restore hands the editor's own table back.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "gamedata/PluginInterface.h"
#include "gamedata/PluginManager.h"
#include "gamedata/TextureManager.h"

struct ModelCall {
    std::string slot;
    std::vector<float> values;
    const void* pointer = nullptr;
};

struct ModelRecorder {
    std::vector<ModelCall> calls;
    float seconds = 0.0f;
    float minAlpha = 0.5f;
    uint32_t stateBits = 0;

    static ModelRecorder& Get() {
        static ModelRecorder r;
        return r;
    }
    void clear() { calls.clear(); }
    int count(const std::string& slot) const {
        int n = 0;
        for (const ModelCall& c : calls)
            n += c.slot == slot;
        return n;
    }
    // The n-th call of a slot, or null.
    const ModelCall* nth(const std::string& slot, int n) const {
        for (const ModelCall& c : calls)
            if (c.slot == slot && n-- == 0) return &c;
        return nullptr;
    }
    void add(const char* slot, std::vector<float> values, const void* pointer = nullptr) {
        calls.push_back({slot, std::move(values), pointer});
    }

    // The editor's table with the drawing, clock and effect-by-name slots replaced.
    static const EngineFuncs* Table() {
        static EngineFuncs table;
        std::memcpy(&table, Plugin_EngineFuncs(), sizeof table);
        table.Sys_Seconds = [] { return Get().seconds; };
        table.Render_BindShader = [](ShaderRecord* s) { Get().add("BindShader", {}, s); };
        table.Render_SetPrimitive = [](int32_t kind) { Get().add("SetPrimitive", {float(kind)}); };
        table.Render_Flush = [] { Get().add("Flush", {}); };
        table.Render_Color4ub = [](uint8_t r, uint8_t g, uint8_t b, uint8_t a) -> uint32_t {
            Get().add("Color4ub", {float(r), float(g), float(b), float(a)});
            return 0;
        };
        table.Render_TexCoord2fv = [](const float* st) { Get().add("TexCoord2fv", {st[0], st[1]}); };
        table.Render_Normal3fv = [](const float* n) { Get().add("Normal3fv", {n[0], n[1], n[2]}); };
        table.Render_Vertex3fv = [](const float* p) { Get().add("Vertex3fv", {p[0], p[1], p[2]}); };
        table.Render_GetStateBits = []() -> uint32_t {
            Get().add("GetStateBits", {});
            return Get().stateBits;
        };
        table.Render_SetStateBits = [](uint32_t bits) {
            Get().add("SetStateBits", {float(bits)});
            Get().stateBits = bits;
        };
        table.Render_GetMinAlpha = [] { return Get().minAlpha; };
        table.Render_ShadeForNormal = [](const float* n) {
            const float shade = 0.8f + 0.13363062f * n[0] + 0.26726124f * n[1] + 0.40089184f * n[2];
            return shade < 1.0f ? shade : 1.0f;
        };
        table.Tex_AcquireShaderByName = [](const char* name) {
            return Tex_FindOrCreateShader(name, name, 0x1);
        };
        return &table;
    }
};
