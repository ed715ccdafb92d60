// ASE reading: materials and mesh objects from the token stream, every index and declared count
// checked before it is used, then one drawable surface per kept object with smoothed,
// de-duplicated normals. The tokenizer is one global state: it is closed before any effect is
// fetched.
#include "AseModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "MeshModel.h"
#include "NormalIndex.h"
#include "gamedata/TextureRecords.h"
#include "kstdlib/kmath.h"

namespace {

struct AseObject {
    char name[128];
    int32_t material;
    int32_t vertexCount, faceCount, tvertexCount, tfaceCount;
    float (*positions)[3];
    float (*tverts)[2];
    int32_t* faces;  // c, b, a
    int32_t* tfaces; // c, b, a
};

// Real models hold as many objects and materials as their file does (lamps and cables of the game
// have more than 64 objects): the lists grow with the file, every index checked against them.
struct AseReader {
    const char* path;
    uint32_t size;
    std::vector<std::string> bitmaps; // one per material read
    int32_t materialCount = 0;        // materials read
    std::vector<AseObject> objects;   // kept objects
    int32_t objectCount = 0;
    bool failed = false;
};

const EngineFuncs& T() {
    return Model::Table();
}
bool next(bool cross) {
    return T().Script_TryGetToken(cross);
}
const char* tok() {
    return T().Script_Token();
}
bool is(const char* text) {
    return std::strcmp(tok(), text) == 0;
}

void freeObject(AseObject& o) {
    Model::Free(o.positions);
    Model::Free(o.tverts);
    Model::Free(o.faces);
    Model::Free(o.tfaces);
    o = AseObject{};
}

bool fail(AseReader& r) {
    r.failed = true;
    return false;
}

bool readInt(AseReader& r, bool cross, int32_t* out) {
    if (!next(cross)) {
        Model::Error("ASE \"%s\": number missing at line %d", r.path, T().Script_Line());
        return fail(r);
    }
    char* end = nullptr;
    const long long v = std::strtoll(tok(), &end, 10);
    if (end == tok() || v < INT32_MIN || v > INT32_MAX) {
        Model::Error("ASE \"%s\": \"%s\" at line %d is not a whole number", r.path, tok(), T().Script_Line());
        return fail(r);
    }
    *out = int32_t(v);
    return true;
}

bool readFloat(AseReader& r, float* out) {
    if (!next(false)) {
        Model::Error("ASE \"%s\": number missing at line %d", r.path, T().Script_Line());
        return fail(r);
    }
    char* end = nullptr;
    const float v = std::strtof(tok(), &end);
    if (end == tok() || !std::isfinite(v)) {
        Model::Error("ASE \"%s\": \"%s\" at line %d is not a finite number", r.path, tok(),
                     T().Script_Line());
        return fail(r);
    }
    *out = v;
    return true;
}

// After a keyword: skips its { ... } block, braces counted; a missing block is left alone.
void skipBlock() {
    if (!next(true)) return;
    if (!is("{")) {
        T().Script_UngetToken();
        return;
    }
    for (int depth = 1; depth > 0 && next(true);)
        depth += is("{") ? 1 : is("}") ? -1 : 0;
}

// A ":" standing alone after an index or a label.
void skipColon() {
    if (next(false) && !is(":")) T().Script_UngetToken();
}

void skipLine() {
    if (T().Script_TokenAvailable()) T().Script_SkipRestOfLine();
}

bool openBlock(AseReader& r, const char* what) {
    if (next(true) && is("{")) return true;
    Model::Error("ASE \"%s\": %s without its block at line %d", r.path, what, T().Script_Line());
    return fail(r);
}

// A declared count, at most `limit` and never more than the text could hold.
bool readCount(AseReader& r, const char* what, int32_t limit, int32_t* out) {
    if (!readInt(r, false, out)) return false;
    if (*out > limit) {
        Model::Error("ASE \"%s\": too many vertices in model (%i)", r.path, *out);
        return fail(r);
    }
    if (*out < 0 || int64_t(*out) > int64_t(r.size) / 4) {
        Model::Error("ASE \"%s\": %s %d does not fit the %u bytes of the file", r.path, what, *out, r.size);
        return fail(r);
    }
    return true;
}

void storeBitmap(AseReader& r, int32_t material) {
    if (!next(false) || material < 0 || material >= r.materialCount) return;
    r.bitmaps[size_t(material)] = tok();
}

bool readMaterials(AseReader& r) {
    if (!openBlock(r, "*MATERIAL_LIST")) return false;
    int depth = 1, material = -1, diffuseDepth = -1;
    while (depth > 0 && next(true)) {
        if (is("{")) {
            ++depth;
        } else if (is("}")) {
            if (depth == diffuseDepth) diffuseDepth = -1;
            --depth;
        } else if (depth == 1 && is("*MATERIAL_COUNT")) {
            int32_t n = 0;
            if (!readInt(r, false, &n)) return false;
            if (n < 1 || int64_t(n) > int64_t(r.size) / 4) {
                Model::Error("ASE \"%s\": invalid # of materials in model (%i)", r.path, n);
                return fail(r);
            }
        } else if (depth == 1 && is("*MATERIAL")) {
            material = r.materialCount++;
            r.bitmaps.emplace_back();
            next(false); // its number; the block follows
        } else if (is("*MAP_DIFFUSE")) {
            diffuseDepth = depth + 1;
        } else if (is("*BITMAP") && (depth == 2 || depth == diffuseDepth)) {
            storeBitmap(r, material);
        }
    }
    return true;
}

// One list of `keyword` entries; read(index) parses the rest of an entry.
template <typename Read> bool readList(AseReader& r, const char* keyword, Read read) {
    if (!openBlock(r, keyword)) return false;
    while (next(true) && !is("}")) {
        if (!is(keyword)) continue;
        int32_t index = 0;
        if (!readInt(r, false, &index) || !read(index)) return false;
        skipLine();
    }
    return true;
}

bool checkIndex(AseReader& r, const char* what, int32_t index, int32_t count) {
    if (index >= 0 && index < count) return true;
    Model::Error("ASE \"%s\": %s %d beyond %d entries at line %d", r.path, what, index, count,
                 T().Script_Line());
    return fail(r);
}

template <typename T> bool allocate(AseReader& r, T** array, int32_t count, int perEntry) {
    if (*array) return true;
    *array = static_cast<T*>(Model::Alloc(uint64_t(count > 0 ? count : 1) * sizeof(T) * perEntry));
    if (*array) return true;
    return fail(r);
}

// A count is fixed once a list it sizes or bounds was read: every index checked so far stays valid.
bool recount(AseReader& r, bool listed, const char* what, int32_t limit, int32_t* out) {
    if (listed) {
        Model::Error("ASE \"%s\": %s after its list at line %d", r.path, what, T().Script_Line());
        return fail(r);
    }
    return readCount(r, what, limit, out);
}

bool readMesh(AseReader& r, AseObject& o) {
    if (!openBlock(r, "*MESH")) return false;
    int depth = 1;
    bool ignored = false;
    while (depth > 0 && next(true)) {
        if (is("{")) {
            ++depth;
        } else if (is("}")) {
            --depth;
        } else if (ignored || depth != 1) {
            continue;
        } else if (is("*TIMEVALUE")) {
            int32_t t = 0;
            if (!readInt(r, false, &t)) return false;
            ignored = t != 0;
        } else if (is("*MESH_NORMALS")) {
            skipBlock();
        } else if (is("*MESH_NUMVERTEX")) {
            if (!recount(r, o.positions || o.faces, "*MESH_NUMVERTEX", kAseMaxVertices, &o.vertexCount))
                return false;
        } else if (is("*MESH_NUMFACES")) {
            if (!recount(r, o.faces, "*MESH_NUMFACES", INT32_MAX, &o.faceCount)) return false;
        } else if (is("*MESH_NUMTVERTEX")) {
            if (!recount(r, o.tverts || o.tfaces, "*MESH_NUMTVERTEX", INT32_MAX, &o.tvertexCount))
                return false;
        } else if (is("*MESH_NUMTVFACES")) {
            if (!recount(r, o.tfaces, "*MESH_NUMTVFACES", INT32_MAX, &o.tfaceCount)) return false;
        } else if (is("*MESH_VERTEX_LIST")) {
            if (!allocate(r, &o.positions, o.vertexCount, 1)) return false;
            if (!readList(r, "*MESH_VERTEX", [&](int32_t i) {
                    return checkIndex(r, "*MESH_VERTEX", i, o.vertexCount) &&
                           readFloat(r, &o.positions[i][0]) && readFloat(r, &o.positions[i][1]) &&
                           readFloat(r, &o.positions[i][2]);
                }))
                return false;
        } else if (is("*MESH_TVERTLIST")) {
            if (!allocate(r, &o.tverts, o.tvertexCount, 1)) return false;
            if (!readList(r, "*MESH_TVERT", [&](int32_t i) {
                    float t = 0;
                    if (!checkIndex(r, "*MESH_TVERT", i, o.tvertexCount) || !readFloat(r, &o.tverts[i][0]) ||
                        !readFloat(r, &t))
                        return false;
                    o.tverts[i][1] = 1.0f - t;
                    return true;
                }))
                return false;
        } else if (is("*MESH_FACE_LIST")) {
            if (!allocate(r, &o.faces, o.faceCount, 3)) return false;
            if (!readList(r, "*MESH_FACE", [&](int32_t i) {
                    if (!checkIndex(r, "*MESH_FACE", i, o.faceCount)) return false;
                    skipColon();
                    int32_t abc[3];
                    for (int k = 0; k < 3; ++k) {
                        // The "A:" label, whose colon may be a token of its own.
                        if (!next(false)) break;
                        skipColon();
                        if (!readInt(r, false, &abc[k])) return false;
                        if (!checkIndex(r, "*MESH_FACE corner", abc[k], o.vertexCount)) return false;
                        o.faces[3 * i + 2 - k] = abc[k];
                    }
                    return true;
                }))
                return false;
        } else if (is("*MESH_TFACELIST")) {
            if (!allocate(r, &o.tfaces, o.tfaceCount, 3)) return false;
            if (!readList(r, "*MESH_TFACE", [&](int32_t i) {
                    if (!checkIndex(r, "*MESH_TFACE", i, o.tfaceCount)) return false;
                    for (int k = 0; k < 3; ++k) {
                        int32_t v = 0;
                        if (!readInt(r, false, &v) || !checkIndex(r, "*MESH_TFACE corner", v, o.tvertexCount))
                            return false;
                        o.tfaces[3 * i + 2 - k] = v;
                    }
                    return true;
                }))
                return false;
        }
    }
    return true;
}

bool readObject(AseReader& r) {
    r.objects.emplace_back();
    AseObject& o = r.objects.back();
    o.material = 0;
    if (!openBlock(r, "*GEOMOBJECT")) return false;
    int depth = 1;
    while (depth > 0 && next(true)) {
        if (is("{")) {
            ++depth;
        } else if (is("}")) {
            --depth;
        } else if (depth != 1) {
            continue;
        } else if (is("*NODE_NAME")) {
            if (next(false)) std::snprintf(o.name, sizeof o.name, "%s", tok());
        } else if (is("*NODE_TM") || is("*TM_ANIMATION") || is("*MESH_ANIMATION")) {
            skipBlock();
        } else if (is("*MATERIAL_REF")) {
            if (!readInt(r, false, &o.material)) return false;
        } else if (is("*NODE_PARENT") || is("*PROP_MOTIONBLUR") || is("*PROP_CASTSHADOW") ||
                   is("*PROP_RECVSHADOW") || is("*WIREFRAME_COLOR")) {
            skipLine();
        } else if (is("*MESH")) {
            if (!readMesh(r, o)) return false;
        }
    }
    const bool dropped = std::strstr(o.name, "Bip") || std::strstr(o.name, "ignore_") || !o.positions ||
                         !o.faces || o.vertexCount == 0 || o.faceCount == 0;
    if (dropped) {
        freeObject(o);
        r.objects.pop_back();
    }
    r.objectCount = int32_t(r.objects.size());
    return true;
}

bool readTop(AseReader& r) {
    while (next(true)) {
        if (is("*3DSMAX_ASCIIEXPORT") || is("*COMMENT")) {
            skipLine();
        } else if (is("*SCENE")) {
            skipBlock();
        } else if (is("*MATERIAL_LIST")) {
            if (!readMaterials(r)) return false;
        } else if (is("*GEOMOBJECT")) {
            if (!readObject(r)) return false;
        } else {
            Model::Warning("ASE \"%s\": unknown ASE model token `%s' at line %d\n", r.path, tok(),
                           T().Script_Line());
        }
    }
    return !r.failed;
}

void faceNormal(const float (*p)[3], const int32_t* f, float n[3]) {
    const float a[3] = {p[f[2]][0] - p[f[0]][0], p[f[2]][1] - p[f[0]][1], p[f[2]][2] - p[f[0]][2]};
    const float b[3] = {p[f[1]][0] - p[f[0]][0], p[f[1]][1] - p[f[0]][1], p[f[1]][2] - p[f[0]][2]};
    n[0] = a[1] * b[2] - a[2] * b[1];
    n[1] = a[2] * b[0] - a[0] * b[2];
    n[2] = a[0] * b[1] - a[1] * b[0];
    K_VectorNormalizeFast(n);
}

// Surface of one object: its positions from `base`, normals from `normalBase` in the model.
bool buildSurface(AseReader& r, const AseObject& o, MeshModel* m, MeshSurface* surface, int32_t base,
                  std::vector<float>& normals) {
    surface->cornerCount = o.faceCount * 3;
    surface->corners =
        static_cast<MeshCorner*>(Model::Alloc(sizeof(MeshCorner) * uint64_t(surface->cornerCount)));
    std::vector<float> faceNormals(size_t(o.faceCount) * 3);
    MeshPointFaces lists;
    if (!surface->corners || !Mesh_PointFaces(o.faces, o.faceCount, o.vertexCount, &lists)) {
        Model::Error("ASE \"%s\": out of memory", r.path);
        return false;
    }
    for (int32_t f = 0; f < o.faceCount; ++f)
        faceNormal(o.positions, o.faces + 3 * f, &faceNormals[3 * size_t(f)]);
    cNormalIndex index;
    bool warned = false;
    const bool mapped = o.tverts && o.tfaces;
    for (int32_t f = 0; f < o.faceCount; ++f) {
        const float* own = &faceNormals[3 * size_t(f)];
        for (int k = 0; k < 3; ++k) {
            const int32_t v = o.faces[3 * f + k];
            float sum[3] = {0, 0, 0};
            for (int32_t at = lists.start[v]; at < lists.ends[v]; ++at) {
                const float* other = &faceNormals[3 * size_t(lists.faces[at])];
                if (other[0] * own[0] + other[1] * own[1] + other[2] * own[2] > 0.17f)
                    for (int c = 0; c < 3; ++c)
                        sum[c] += other[c];
            }
            K_VectorNormalizeFast(sum);
            int32_t normal = index.findOrAdd(sum, kAseMaxNormals);
            if (normal < 0) {
                if (!warned) Model::Warning("ASE \"%s\": too many normals in model", r.path);
                warned = true;
                normal = 0;
            }
            MeshCorner& corner = surface->corners[3 * f + k];
            corner.position = base + v;
            corner.normal = int32_t(normals.size() / 3) + normal;
            if (mapped && f < o.tfaceCount) {
                corner.st[0] = o.tverts[o.tfaces[3 * f + k]][0];
                corner.st[1] = o.tverts[o.tfaces[3 * f + k]][1];
            }
        }
    }
    Mesh_FreePointFaces(&lists);
    normals.insert(normals.end(), index.data(), index.data() + 3 * index.size());
    (void)m;
    return true;
}

MeshModel* build(AseReader& r, ModelCacheEntry* entry) {
    for (int32_t i = 0; i < r.objectCount; ++i)
        if (r.objects[i].material < 0 || r.objects[i].material >= r.materialCount) {
            Model::Error("ASE \"%s\": object \"%s\": material %d beyond %d materials", r.path,
                         r.objects[i].name, r.objects[i].material, r.materialCount);
            return nullptr;
        }
    auto* m = static_cast<MeshModel*>(Model::Alloc(sizeof(MeshModel)));
    if (!m) return nullptr;
    int64_t points = 0;
    for (int32_t i = 0; i < r.objectCount; ++i)
        points += r.objects[i].vertexCount;
    m->positions = static_cast<float(*)[3]>(Model::Alloc(uint64_t(points) * 12 + 12));
    m->surfaces = static_cast<MeshSurface*>(Model::Alloc(sizeof(MeshSurface) * uint64_t(r.objectCount)));
    if (!m->positions || !m->surfaces) {
        Mesh_Free(m);
        return nullptr;
    }
    K_ClearBounds(m->mins, m->maxs);
    std::vector<float> normals;
    std::vector<ShaderRecord*> effects(size_t(r.materialCount), nullptr);
    std::vector<bool> fetched(size_t(r.materialCount), false);
    for (int32_t i = 0; i < r.objectCount; ++i) {
        const AseObject& o = r.objects[i];
        MeshSurface& s = m->surfaces[m->surfaceCount++];
        if (!fetched[o.material]) {
            fetched[o.material] = true;
            effects[o.material] = Model::AcquireEffect(r.bitmaps[size_t(o.material)].c_str(), 0x400, entry);
            s.effect = effects[o.material];
        } else if ((s.effect = effects[o.material])) {
            ++s.effect->refCount; // each surface releases its own reference
        }
        const int32_t base = m->pointCount;
        for (int32_t v = 0; v < o.vertexCount; ++v) {
            std::memcpy(m->positions[base + v], o.positions[v], sizeof(float) * 3);
            K_AddPointToBounds(o.positions[v], m->mins, m->maxs);
        }
        m->pointCount += o.vertexCount;
        if (!buildSurface(r, o, m, &s, base, normals)) {
            Mesh_Free(m);
            return nullptr;
        }
    }
    m->normalCount = int32_t(normals.size() / 3);
    m->normals = static_cast<float(*)[3]>(Model::Alloc(normals.size() * sizeof(float) + 12));
    if (!m->normals || !Model::ReserveScratch(std::max(m->pointCount, m->normalCount))) {
        Mesh_Free(m);
        return nullptr;
    }
    std::memcpy(m->normals, normals.data(), normals.size() * sizeof(float));
    return m;
}

} // namespace

int32_t Ase_Load(const char* path, uint32_t size, ModelCacheEntry* entry) {
    auto* r = new AseReader{};
    r->path = path ? path : "";
    r->size = size;
    const bool read = readTop(*r);
    T().Script_Close();
    MeshModel* model = nullptr;
    if (read && r->objectCount > 0 && r->materialCount > 0) model = build(*r, entry);
    for (AseObject& o : r->objects)
        freeObject(o);
    delete r;
    if (!model) return 0;
    Mesh_Bounds(model, 0, nullptr, entry->mins, entry->maxs);
    entry->data = model;
    return 1;
}
