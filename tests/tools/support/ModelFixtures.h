// Model files written for the tests, the fuzz seeds and the benchmarks: MD3 (with the offsets of
// every field a test may damage), ASE text and LWO2 chunks. Standard C++ only.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// ---- MD3 ----------------------------------------------------------------------------------------

struct Md3FixtureSurface {
    std::string name = "body";
    std::vector<std::string> effects; // entry names
    int32_t vertexCount = 4;
    std::vector<int32_t> triangles = {0, 1, 2, 0, 2, 3};
    int32_t frameCount = -1; // -1: the model's
};

struct Md3Fixture {
    int32_t frameCount = 3;
    std::vector<Md3FixtureSurface> surfaces;
    // Frame f's box is x in [10, 30] + f, y in [-5, 5], z in [0, 16].
    float xShiftPerFrame = 1.0f;
};

// Where the writer put each field a test damages.
struct Md3FixtureLayout {
    size_t frames = 0;
    std::vector<size_t> surfaces; // each surface header
};

inline void FixturePut32(std::string& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(char(v >> (8 * i) & 0xFF));
}
inline void FixturePutFloat(std::string& b, float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    FixturePut32(b, v);
}
inline void FixturePut16(std::string& b, uint16_t v) {
    b.push_back(char(v & 0xFF));
    b.push_back(char(v >> 8));
}
inline void FixtureSet32(std::string& b, size_t at, int32_t v) {
    std::memcpy(&b[at], &v, 4);
}
inline void FixtureSetFloat(std::string& b, size_t at, float v) {
    std::memcpy(&b[at], &v, 4);
}
inline void FixturePutName(std::string& b, const std::string& name, size_t size) {
    std::string field = name.substr(0, size - 1);
    field.resize(size, '\0');
    b += field;
}

// The standard fixture: 2 surfaces, 3 frames, 2 effect entries on the first (skins) whose names
// carry "textures/", a backslash and an extension.
inline Md3Fixture Md3StandardFixture() {
    Md3Fixture f;
    Md3FixtureSurface a;
    a.name = "body";
    a.effects = {"textures/models\\fixture\\skin_a.tga", "models/fixture/skin_b"};
    Md3FixtureSurface b;
    b.name = "head";
    b.effects = {"models/fixture/head.jpg"};
    b.vertexCount = 3;
    b.triangles = {0, 1, 2};
    f.surfaces = {a, b};
    return f;
}

// Vertex v of frame fr: a spread over the frame box, with a fixed normal (latitude 0).
inline void Md3FixtureVertex(int32_t v, int32_t fr, float shift, int16_t out[3]) {
    const float x = 10.0f + shift * float(fr) + float(v % 2) * 20.0f;
    const float y = (v / 2 % 2) ? 5.0f : -5.0f;
    const float z = float(v % 3) * 8.0f;
    out[0] = int16_t(x * 64.0f);
    out[1] = int16_t(y * 64.0f);
    out[2] = int16_t(z * 64.0f);
}

inline std::string Md3File(const Md3Fixture& f, Md3FixtureLayout* layout = nullptr) {
    std::string b;
    b += "IDP3";
    FixturePut32(b, 15);
    FixturePutName(b, "fixture", 64);
    FixturePut32(b, 0);
    FixturePut32(b, uint32_t(f.frameCount));
    FixturePut32(b, 0);
    FixturePut32(b, uint32_t(f.surfaces.size()));
    FixturePut32(b, 0);
    const size_t offsets = b.size();
    for (int i = 0; i < 4; ++i)
        FixturePut32(b, 0);
    const size_t frames = b.size();
    for (int32_t fr = 0; fr < f.frameCount; ++fr) {
        const float s = f.xShiftPerFrame * float(fr);
        for (float v : {10.0f + s, -5.0f, 0.0f, 30.0f + s, 5.0f, 16.0f, 0.0f, 0.0f, 0.0f, 20.0f})
            FixturePutFloat(b, v);
        FixturePutName(b, "frame" + std::to_string(fr), 16);
    }
    const size_t surfacesAt = b.size();
    Md3FixtureLayout l;
    l.frames = frames;
    for (const Md3FixtureSurface& s : f.surfaces) {
        const size_t start = b.size();
        l.surfaces.push_back(start);
        const int32_t surfaceFrames = s.frameCount < 0 ? f.frameCount : s.frameCount;
        const int32_t triangleCount = int32_t(s.triangles.size() / 3);
        const int32_t effectsAt = 108;
        const int32_t trianglesAt = effectsAt + 68 * int32_t(s.effects.size());
        const int32_t stAt = trianglesAt + 12 * triangleCount;
        const int32_t verticesAt = stAt + 8 * s.vertexCount;
        const int32_t endAt = verticesAt + 8 * s.vertexCount * surfaceFrames;
        b += "IDP3";
        FixturePutName(b, s.name, 64);
        for (int32_t v : {0, surfaceFrames, int32_t(s.effects.size()), s.vertexCount, triangleCount,
                          trianglesAt, effectsAt, stAt, verticesAt, endAt})
            FixturePut32(b, uint32_t(v));
        for (const std::string& e : s.effects) {
            FixturePutName(b, e, 64);
            FixturePut32(b, 0);
        }
        for (int32_t t : s.triangles)
            FixturePut32(b, uint32_t(t));
        for (int32_t v = 0; v < s.vertexCount; ++v) {
            FixturePutFloat(b, float(v) * 0.25f);
            FixturePutFloat(b, 0.5f);
        }
        for (int32_t fr = 0; fr < surfaceFrames; ++fr)
            for (int32_t v = 0; v < s.vertexCount; ++v) {
                int16_t p[3];
                Md3FixtureVertex(v, fr, f.xShiftPerFrame, p);
                for (int16_t c : p)
                    FixturePut16(b, uint16_t(c));
                FixturePut16(b, 0);
            }
    }
    FixtureSet32(b, offsets, int32_t(frames));
    FixtureSet32(b, offsets + 4, int32_t(frames));
    FixtureSet32(b, offsets + 8, int32_t(surfacesAt));
    FixtureSet32(b, offsets + 12, int32_t(b.size()));
    if (layout) *layout = l;
    return b;
}

// ---- ASE ----------------------------------------------------------------------------------------

// One mesh object of the ASE fixture: a quad of two faces in the z = 0 plane plus a raised
// corner, spread from `base`.
inline std::string AseFixtureObject(const std::string& name, int32_t material, int32_t timeValue,
                                    float base) {
    std::string s = "*GEOMOBJECT {\n\t*NODE_NAME \"" + name + "\"\n\t*NODE_TM {\n\t\t*NODE_NAME \"" + name +
                    "\"\n\t}\n\t*MESH {\n\t\t*TIMEVALUE " + std::to_string(timeValue) +
                    "\n\t\t*MESH_NUMVERTEX 4\n\t\t*MESH_NUMFACES 2\n\t\t*MESH_VERTEX_LIST {\n";
    const float v[4][3] = {{0, 0, 0}, {32, 0, 0}, {32, 32, 0}, {0, 32, 8}};
    for (int i = 0; i < 4; ++i)
        s += "\t\t\t*MESH_VERTEX " + std::to_string(i) + "\t" + std::to_string(v[i][0] + base) + "\t" +
             std::to_string(v[i][1]) + "\t" + std::to_string(v[i][2]) + "\n";
    s += "\t\t}\n\t\t*MESH_FACE_LIST {\n"
         "\t\t\t*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0 *MESH_SMOOTHING 1 *MESH_MTLID 0\n"
         "\t\t\t*MESH_FACE 1 : A: 0 B: 2 C: 3 AB: 1 BC: 1 CA: 0 *MESH_SMOOTHING 1 *MESH_MTLID 0\n"
         "\t\t}\n\t\t*MESH_NUMTVERTEX 4\n\t\t*MESH_TVERTLIST {\n"
         "\t\t\t*MESH_TVERT 0\t0.2500\t0.7500\t0.0000\n"
         "\t\t\t*MESH_TVERT 1\t1.0000\t0.0000\t0.0000\n"
         "\t\t\t*MESH_TVERT 2\t1.0000\t1.0000\t0.0000\n"
         "\t\t\t*MESH_TVERT 3\t0.0000\t1.0000\t0.0000\n"
         "\t\t}\n\t\t*MESH_NUMTVFACES 2\n\t\t*MESH_TFACELIST {\n"
         "\t\t\t*MESH_TFACE 0\t0\t1\t2\n\t\t\t*MESH_TFACE 1\t0\t2\t3\n\t\t}\n"
         "\t\t*MESH_NORMALS {\n\t\t\t*MESH_FACENORMAL 0 0 0 1\n\t\t}\n\t}\n"
         "\t*PROP_MOTIONBLUR 0\n\t*PROP_CASTSHADOW 1\n\t*PROP_RECVSHADOW 1\n\t*MATERIAL_REF " +
         std::to_string(material) + "\n}\n";
    return s;
}

// Two materials (one "*BITMAP" direct, one inside "*MAP_DIFFUSE"), a "Bip01 Pelvis" object, a
// mesh at "*TIMEVALUE" 100 and the one at 0, texture vertices.
inline std::string AseStandardFixture() {
    std::string s =
        "*3DSMAX_ASCIIEXPORT\t200\n*COMMENT \"fixture\"\n*SCENE {\n\t*SCENE_FILENAME \"x.max\"\n}\n"
        "*MATERIAL_LIST {\n\t*MATERIAL_COUNT 2\n"
        "\t*MATERIAL 0 {\n\t\t*MATERIAL_NAME \"wall\"\n\t\t*BITMAP \"textures/base/wall.tga\"\n\t}\n"
        "\t*MATERIAL 1 {\n\t\t*MATERIAL_NAME \"skin\"\n\t\t*MAP_DIFFUSE {\n\t\t\t*MAP_NAME \"d\"\n"
        "\t\t\t*BITMAP \"models\\fixture\\ase_skin.jpg\"\n\t\t}\n\t}\n}\n";
    s += AseFixtureObject("Bip01 Pelvis", 0, 0, 100.0f);
    s += AseFixtureObject("animated", 0, 100, 200.0f);
    s += AseFixtureObject("box", 0, 0, 0.0f);
    s += AseFixtureObject("head", 1, 0, 40.0f);
    return s;
}

// ---- LWO2 ---------------------------------------------------------------------------------------

inline void LwoPut32(std::string& b, uint32_t v) {
    for (int i = 3; i >= 0; --i)
        b.push_back(char(v >> (8 * i) & 0xFF));
}
inline void LwoPut16(std::string& b, uint32_t v) {
    b.push_back(char(v >> 8 & 0xFF));
    b.push_back(char(v & 0xFF));
}
inline void LwoPutFloat(std::string& b, float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    LwoPut32(b, v);
}
inline void LwoPutS0(std::string& b, const std::string& s) {
    b += s;
    b.push_back('\0');
    if (b.size() % 2) b.push_back('\0');
}
inline void LwoPutVx(std::string& b, uint32_t v) {
    if (v < 0xFF00)
        LwoPut16(b, v);
    else
        LwoPut32(b, 0xFF000000u | v);
}
inline std::string LwoChunk(const char* id, const std::string& body) {
    std::string b(id, 4);
    LwoPut32(b, uint32_t(body.size()));
    b += body;
    if (body.size() % 2) b.push_back('\0');
    return b;
}
inline std::string LwoForm(const std::string& chunks, const char* type = "LWO2") {
    std::string b = "FORM";
    LwoPut32(b, uint32_t(chunks.size() + 4));
    b += type;
    return b + chunks;
}
// Points given as (x, y, z) of the file.
inline std::string LwoPoints(const std::vector<float>& xyz) {
    std::string b;
    for (float v : xyz)
        LwoPutFloat(b, v);
    return LwoChunk("PNTS", b);
}
inline std::string LwoPolygons(const std::vector<std::vector<uint32_t>>& polygons,
                               const char* type = "FACE") {
    std::string b(type, 4);
    for (const auto& p : polygons) {
        LwoPut16(b, uint32_t(p.size()));
        for (uint32_t i : p)
            LwoPutVx(b, i);
    }
    return LwoChunk("POLS", b);
}
inline std::string LwoTags(const std::vector<std::string>& tags) {
    std::string b;
    for (const std::string& t : tags)
        LwoPutS0(b, t);
    return LwoChunk("TAGS", b);
}
inline std::string LwoPtag(const char* type, const std::vector<std::pair<uint32_t, uint32_t>>& entries) {
    std::string b(type, 4);
    for (auto [poly, tag] : entries) {
        LwoPutVx(b, poly);
        LwoPutVx(b, tag);
    }
    return LwoChunk("PTAG", b);
}
inline std::string LwoSurface(const std::string& name, float smoothingAngle) {
    std::string b;
    LwoPutS0(b, name);
    LwoPutS0(b, "");
    b += "COLR";
    LwoPut16(b, 14);
    for (float v : {0.5f, 0.5f, 0.5f})
        LwoPutFloat(b, v);
    LwoPut16(b, 0);
    b += "SMAN";
    LwoPut16(b, 4);
    LwoPutFloat(b, smoothingAngle);
    return LwoChunk("SURF", b);
}
inline std::string LwoLayer(uint32_t number) {
    std::string b;
    LwoPut16(b, number);
    LwoPut16(b, 0);
    for (float v : {0.0f, 0.0f, 0.0f})
        LwoPutFloat(b, v);
    return LwoChunk("LAYR", b);
}
inline std::string LwoBox(const float mins[3], const float maxs[3]) {
    std::string b;
    for (int i = 0; i < 3; ++i)
        LwoPutFloat(b, mins[i]);
    for (int i = 0; i < 3; ++i)
        LwoPutFloat(b, maxs[i]);
    return LwoChunk("BBOX", b);
}
struct LwoUv {
    uint32_t point;
    int64_t poly; // -1 for VMAP
    float s, t;
};
inline std::string LwoTexMap(const std::vector<LwoUv>& entries, bool perPolygon, uint32_t dimension = 2) {
    std::string b = "TXUV";
    LwoPut16(b, dimension);
    LwoPutS0(b, "uv");
    for (const LwoUv& e : entries) {
        LwoPutVx(b, e.point);
        if (perPolygon) LwoPutVx(b, uint32_t(e.poly));
        if (dimension > 0) LwoPutFloat(b, e.s);
        if (dimension > 1) LwoPutFloat(b, e.t);
        for (uint32_t k = 2; k < dimension; ++k)
            LwoPutFloat(b, 0.0f);
    }
    return LwoChunk(perPolygon ? "VMAD" : "VMAP", b);
}

// Two layers, a quad among triangles, PTAG SURF and SMGP, two TAGS chunks, SMAN, VMAP and VMAD
// TXUV; with or without BBOX. Layer 1: a pyramid over x, z in [0, 64] (file axes), height 32 in
// y; layer 2: one triangle at y = 100.
inline std::string LwoStandardFixture(bool withBox) {
    std::string c = LwoTags({"models/fixture/stone.tga"});
    c += LwoLayer(1);
    if (withBox) {
        const float mins[3] = {0, 0, 0}, maxs[3] = {64, 100, 64};
        c += LwoBox(mins, maxs);
    }
    c += LwoPoints({0, 0, 0, 64, 0, 0, 64, 0, 64, 0, 0, 64, 32, 32, 32});
    // A quad (skipped) between triangles.
    c += LwoPolygons({{0, 1, 4}, {0, 1, 2, 3}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}});
    c += LwoPtag("SURF", {{0, 0}, {1, 0}, {2, 0}, {3, 0}});
    c += LwoPtag("SMGP", {{0, 1}, {1, 1}, {2, 1}, {3, 2}});
    c += LwoSurface("models/fixture/stone.tga", 1.5f);
    c += LwoTags({"models\\fixture\\glass.lwo"});
    c += LwoLayer(2);
    c += LwoPoints({0, 100, 0, 10, 100, 0, 0, 100, 10});
    c += LwoPolygons({{0, 1, 2}});
    c += LwoPtag("SURF", {{0, 0}});
    c += LwoTexMap({{0, -1, 0.25f, 0.75f}, {1, -1, 0.5f, 0.5f}}, false);
    c += LwoTexMap({{4, 0, 0.125f, 0.375f}}, true);
    return LwoForm(c);
}
