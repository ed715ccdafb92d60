// Writing the editor's world as Quake III map text, version 220: entities with their brushes
// and patches, the cordon seal, and paths as chains of point entities. Every number is written
// with the shortest text that reads back to the same float, and every face with three points
// that give its plane back exactly where it can, so that saving a loaded map again gives the
// same text. The text is built in memory first, and every write and close error is reported.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <vector>

#include "Engine.h"
#include "MapOwnedKeys.h"
#include "MapPlane.h"
#include "MapSerializer.h"
#include "NumberText.h"
#include "document/MapWorld.h"
#include "map/EPair.h"
#include "map/FaceOrder.h"
#include "map/FaceSource.h"
#include "map/KeptBrush.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/ObjectRecords.h"
#include "map/PatchRecord.h"
#include "map/TextureInfo.h"
#include "map/TextureMatrix.h"

namespace {

// Bits of the world's flag word the writer honours.
constexpr uint32_t kWorldSkipHidden = 0x100000;
constexpr uint32_t kWorldCordon = 0x200000;
constexpr int32_t kMapVersion = 220;
constexpr float kCordonEpsilon = 0.001f;
constexpr float kSealThickness = 16.0f;
constexpr int kOriginKeyRole = 1; // EntityRecord::keyNames slot of the origin key

bool present(const char* text) {
    return text && *text;
}

// Whether three points give exactly this plane when read back.
bool givesPlane(const float points[3][3], const float normal[3], float dist) {
    float n[3], d;
    int32_t type;
    return MapPlane_FromPoints(points, n, &d, &type) && n[0] == normal[0] && n[1] == normal[1] &&
           n[2] == normal[2] && d == dist;
}

// Whether the face is as a file gave it: the points it was read with still give its plane.
bool keepsItsPoints(const FaceRecord* face) {
    const FaceSource* source = face->source;
    if (!source || !(source->flags & FaceSourceFlags::Points)) return false;
    float points[3][3];
    for (int i = 0; i < 3; ++i)
        for (int a = 0; a < 3; ++a)
            points[i][a] = float(source->points[i][a]);
    return givesPlane(points, face->normal, face->dist);
}

// A float written as "%f" when that reads back to the same float (the usual spelling of patch
// numbers), else in its shortest exact form.
void appendPatchNumber(std::string& out, float v) {
    if (std::fabs(v) < 2147483648.0f && v == float(int32_t(v))) {
        NumberText::AppendInt(out, int32_t(v));
        return;
    }
    std::string fixed;
    NumberText::AppendFixed(fixed, v, 6);
    float back = 0;
    if (NumberText::ParseFloat(fixed.c_str(), &back) && back == v)
        out += fixed;
    else
        NumberText::AppendShortest(out, v);
}

bool nearZero(const float v[3]) {
    return std::fabs(v[0]) < kCordonEpsilon && std::fabs(v[1]) < kCordonEpsilon &&
           std::fabs(v[2]) < kCordonEpsilon;
}

// Three points on the plane whose order gives back its normal: (a - b) × (c - b) = normal.
void pointsFromPlane(const float normal[3], float dist, float out[3][3]) {
    float u[3] = {0, 0, 0};
    // Any direction along the plane: the axis the normal leans on least, made perpendicular.
    int least = 0;
    for (int i = 1; i < 3; ++i)
        if (std::fabs(normal[i]) < std::fabs(normal[least])) least = i;
    u[least] = 1;
    const float along = u[least] * normal[least];
    for (int i = 0; i < 3; ++i)
        u[i] -= along * normal[i];
    const float length = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
    for (float& c : u)
        c = c / length * 64.0f;
    const float v[3] = {normal[1] * u[2] - normal[2] * u[1], normal[2] * u[0] - normal[0] * u[2],
                        normal[0] * u[1] - normal[1] * u[0]};
    for (int i = 0; i < 3; ++i) {
        const float base = normal[i] * dist;
        out[0][i] = base + u[i];
        out[1][i] = base;
        out[2][i] = base + v[i];
    }
}

class MapWriter {
public:
    MapWriter(MapHandle map, const std::string& path) : world(Map_FromHandle(map)), path(path) {}
    int32_t run();

private:
    MapWorld* world;
    const std::string& path;
    std::string out;
    bool cordon = false;
    bool skipHidden = false;
    int32_t changed = 0; // keys and values written otherwise than held
    // Brush-primitive faces whose texture is still unknown, written as plane faces (their brush
    // was changed): their mapping was converted for the placeholder's size, which the game will
    // not draw alike. The first one is named.
    int32_t placeholderFaces = 0;
    std::string firstPlaceholder;
    std::string place; // entity and brush being written

    // ---- Cordon tests (everything passes with the cordon off) ----
    bool pointInside(const float p[3]) const {
        if (!cordon) return true;
        for (int i = 0; i < 3; ++i)
            if (!(p[i] > world->cordonMins[i] + kCordonEpsilon &&
                  p[i] < world->cordonMaxs[i] - kCordonEpsilon))
                return false;
        return true;
    }
    bool boxReaches(const float mins[3], const float maxs[3]) const {
        if (!cordon) return true;
        for (int i = 0; i < 3; ++i)
            if (mins[i] > world->cordonMaxs[i] - kCordonEpsilon ||
                maxs[i] < world->cordonMins[i] + kCordonEpsilon)
                return false;
        return true;
    }

    // ---- Text ----
    void g(float value) { NumberText::AppendShortest(out, value); }
    void gs(const float* v, int count) {
        for (int i = 0; i < count; ++i) {
            if (i) out += ' ';
            g(v[i]);
        }
    }
    void quoted(const char* text) {
        out += '"';
        out += text;
        out += '"';
    }
    // Text as it can stand in quotes on one line: a quote is written \" (the reader takes that
    // back as a quote), a line break as a blank. True when anything had to change.
    static bool writable(const char* text, std::string* into) {
        bool altered = false;
        for (const char* c = text; *c; ++c) {
            if (*c == '"') {
                *into += "\\\"";
                altered = true;
            } else if (*c == '\r' || *c == '\n') {
                *into += ' ';
                altered = true;
            } else {
                *into += *c;
            }
        }
        return altered;
    }
    // One "key" "value" line. A key or value holding a quote or a line break is written as it can
    // be and reported with its place; a key that comes out empty is left out, also reported.
    void pair(const char* key, const char* value, const std::string& where) {
        std::string k, v;
        const bool keyAltered = writable(key, &k);
        const bool valueAltered = writable(value, &v);
        if (keyAltered || valueAltered) {
            Engine::Warning(
                "\"%s\": %s key \"%s\": quotes written as \\\" and line breaks as blanks in its %s",
                path.c_str(), where.c_str(), k.c_str(),
                keyAltered && valueAltered ? "name and value"
                : keyAltered               ? "name"
                                           : "value");
            ++changed;
        }
        quoted(k.c_str());
        out += ' ';
        quoted(v.c_str());
        out += '\n';
    }
    void numberPair(const char* key, const float v[3]) {
        std::string k;
        writable(key, &k);
        quoted(k.c_str());
        out += " \"";
        gs(v, 3);
        out += "\"\n";
    }

    void writeEntity(EntityRecord* entity, int32_t index);
    void writeBrush(const BrushRecord* brush);
    void writeKeptBrush(const KeptBrushRecord* kept);
    static bool keepsItsMatrices(const std::vector<FaceRecord*>& faces);
    void writeBrushPrimitive(const std::vector<FaceRecord*>& faces);
    template <class Number> void writeFaceLine(const Number points[3][3], const TextureInfo& info);
    void writePoint(const float* p) { gs(p, 3); }
    void writePoint(const double* p) {
        for (int i = 0; i < 3; ++i) {
            if (i) out += ' ';
            NumberText::AppendShortest(out, p[i]);
        }
    }
    void writeFace(const FaceRecord* face);
    void writePatch(const PatchRecord* patch);
    void writeSeal();
    void writePath(const PathRecord* path);
    void writeNodeBody(const NodeRecord* node, const std::string& where);
    bool finish();
};

int32_t MapWriter::run() {
    Engine::Printf("Saving: \"%s\"", path.c_str());
    if (!world) {
        Engine::Error("can't write \"%s\" (no map)", path.c_str());
        return 0;
    }
    cordon = (world->flags & kWorldCordon) && !nearZero(world->cordonMins) && !nearZero(world->cordonMaxs);
    skipHidden = world->flags & kWorldSkipHidden;

    int32_t index = 0;
    for (EntityRecord* entity = world->entities; entity; entity = entity->next, ++index)
        writeEntity(entity, index);
    for (const PathRecord* mapPath = world->paths; mapPath; mapPath = mapPath->next)
        writePath(mapPath);
    if (changed) Engine::Warning("\"%s\": %i key(s) written otherwise than held", path.c_str(), changed);
    if (placeholderFaces)
        Engine::Warning("\"%s\": %i brush-primitive face(s) written for the size of a placeholder, their "
                        "texture being unknown (first: %s)",
                        path.c_str(), placeholderFaces, firstPlaceholder.c_str());
    return finish() ? 1 : 0;
}

bool MapWriter::finish() {
    FILE* file = std::fopen(Engine::NativePath(path.c_str()), "w");
    if (!file) {
        Engine::Error("can't write \"%s\" (%s)", path.c_str(), std::strerror(errno));
        return false;
    }
    errno = 0;
    bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    ok = std::fflush(file) == 0 && ok;
    int error = errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) Engine::Error("can't write \"%s\" (%s)", path.c_str(), std::strerror(error ? error : EIO));
    return ok;
}

void MapWriter::writeEntity(EntityRecord* entity, int32_t index) {
    const bool world = entity->flags & EntityFlag::World;
    const bool point = entity->flags & EntityFlag::Point;
    // The world entity carries the version and the seal: it is always written.
    if (!world) {
        if (skipHidden && (entity->flags & EntityFlag::Hidden)) return;
        if (point && !pointInside(entity->origin)) return;
        if (!boxReaches(entity->mins, entity->maxs)) return;
    }
    const char* classname = entity->classname ? entity->classname : "";
    const std::string where = "entity " + std::to_string(index) + " (\"" + classname + "\")";
    const char* originKey =
        present(entity->keyNames[kOriginKeyRole]) ? entity->keyNames[kOriginKeyRole] : "origin";
    const bool brushless = !entity->firstBrush && !entity->keptBrushes;
    const bool writesOrigin =
        brushless && !((entity->flags & EntityFlag::NoOriginKey) && entity->origin[0] == 0 &&
                       entity->origin[1] == 0 && entity->origin[2] == 0);

    out += "{\n";
    pair(MapOwnedKey::kClassname, classname, where);
    for (const EPair* p = entity->epairs; p; p = p->next) {
        if (!p->key || !p->value) continue;
        if (MapOwnedKey::IsOwned(p->key, world)) continue;
        // An entity without brushes writes its origin itself, below.
        if (brushless && std::strcmp(p->key, originKey) == 0) continue;
        pair(p->key, p->value, where);
    }
    if (writesOrigin) numberPair(originKey, entity->origin);
    if (world) {
        out += '"';
        out += MapOwnedKey::kMapVersion;
        out += "\" \"";
        NumberText::AppendInt(out, kMapVersion);
        out += "\"\n";
        const char* version = Engine::VersionString();
        const std::string generator = std::string(version ? version : "") + " (kpQuake3)";
        pair(MapOwnedKey::kGenerator, generator.c_str(), where);
        if (cordon) writeSeal();
    }
    // Kept brushes go where they were read: before all brushes, after the brush they followed,
    // or, that brush being gone, after the last.
    std::vector<int32_t> serials;
    for (const BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
        serials.push_back(brush->serial);
    auto writeKeptAfter = [&](int32_t after) {
        for (const KeptBrushRecord* kept = entity->keptBrushes; kept; kept = kept->next)
            if (kept->after == after) writeKeptBrush(kept);
    };
    writeKeptAfter(0);
    int32_t number = 0;
    for (const BrushRecord* brush = entity->firstBrush; brush; brush = brush->next, ++number) {
        place = "entity " + std::to_string(index) + ", brush " + std::to_string(number);
        writeBrush(brush);
        writeKeptAfter(brush->serial);
    }
    for (const KeptBrushRecord* kept = entity->keptBrushes; kept; kept = kept->next)
        if (kept->after && std::find(serials.begin(), serials.end(), kept->after) == serials.end())
            writeKeptBrush(kept);
    out += "}\n";
}

void MapWriter::writeKeptBrush(const KeptBrushRecord* kept) {
    out += "{\n";
    for (int32_t i = 0; i < kept->faceCount; ++i)
        writeFaceLine(kept->faces[i].points, kept->faces[i].texInfo);
    out += "}\n";
}

void MapWriter::writeBrush(const BrushRecord* brush) {
    if (skipHidden && (brush->flags & BrushFlags::Hidden)) return;
    if (!boxReaches(brush->mins, brush->maxs)) return;
    out += "{\n";
    if (brush->patch) writePatch(brush->patch);
    // Faces that bound nothing belong to the brush as it was read; once any face has moved they
    // are left out.
    std::vector<FaceRecord*> faces = Brush_FacesInFileOrder(brush);
    if (brush->keptFaces) {
        bool asRead = true;
        for (const FaceRecord* face = brush->firstFace; face && asRead; face = face->next)
            asRead = keepsItsPoints(face);
        if (!asRead) {
            int32_t left = 0;
            for (const FaceRecord* kept = brush->keptFaces; kept; kept = kept->next, ++left)
                std::erase(faces, kept);
            Engine::Warning("\"%s\": %s: %i face(s) that bound nothing left out, the brush having changed",
                            path.c_str(), place.c_str(), left);
        }
    }
    if (brush->firstFace && keepsItsMatrices(faces)) {
        writeBrushPrimitive(faces);
    } else {
        for (const FaceRecord* face : faces)
            writeFace(face);
    }
    out += "}\n";
}

// A brush read as brush primitives while its textures were unknown, and not changed since: its
// mapping was converted for a placeholder's size, so its matrices are written as they were read
// and a later load with the textures converts them with the real sizes.
bool MapWriter::keepsItsMatrices(const std::vector<FaceRecord*>& faces) {
    const uint32_t unsized =
        FaceSourceFlags::Points | FaceSourceFlags::Matrix | FaceSourceFlags::PlaceholderSize;
    for (const FaceRecord* face : faces) {
        const FaceSource* source = face->source;
        if (!source || (source->flags & unsized) != unsized) return false;
        if (!keepsItsPoints(face)) return false;
        TextureInfo converted = face->texInfo;
        TexMatrix_ToTextureInfo(face->normal, source->matrix, source->width, source->height, &converted);
        if (std::memcmp(&converted, &face->texInfo, offsetof(TextureInfo, alignment)) != 0) return false;
    }
    return true;
}

void MapWriter::writeBrushPrimitive(const std::vector<FaceRecord*>& faces) {
    out += "brushDef\n{\n";
    for (const FaceRecord* face : faces) {
        const FaceSource* source = face->source;
        for (int i = 0; i < 3; ++i) {
            out += "( ";
            writePoint(source->points[i]);
            out += " ) ";
        }
        out += "( ( ";
        gs(source->matrix[0], 3);
        out += " ) ( ";
        gs(source->matrix[1], 3);
        out += " ) ) ";
        out += face->texInfo.name;
        for (int32_t n : {face->texInfo.contents, face->texInfo.surfaceFlags, face->texInfo.value}) {
            out += ' ';
            NumberText::AppendInt(out, n);
        }
        out += '\n';
    }
    out += "}\n";
}

template <class Number> void MapWriter::writeFaceLine(const Number points[3][3], const TextureInfo& info) {
    for (int i = 0; i < 3; ++i) {
        if (i) out += ' ';
        out += "( ";
        writePoint(points[i]);
        out += " )";
    }
    float s[4] = {info.sAxis[0], info.sAxis[1], info.sAxis[2], info.sShift};
    float t[4] = {info.tAxis[0], info.tAxis[1], info.tAxis[2], info.tShift};
    // Written as they are, not snapped to whole numbers: the compiler multiplies an axis by
    // coordinates of thousands of units (-0.9999925, a turn of 179.78 degrees, written as -1 moves
    // the texture by most of a texel across a large map), and a shift of 0.00005 written as 0
    // changes which vertices it merges.
    out += ' ';
    out += info.name;
    out += " [ ";
    gs(s, 4);
    out += " ] [ ";
    gs(t, 4);
    out += " ] ";
    g(info.rotation);
    out += ' ';
    g(info.sScale);
    out += ' ';
    g(info.tScale);
    if (info.value || info.surfaceFlags || info.contents) {
        for (int32_t n : {info.contents, info.surfaceFlags, info.value}) {
            out += ' ';
            NumberText::AppendInt(out, n);
        }
    }
    out += '\n';
}

// The points the face's plane was read from while they still give it exactly: a face read from
// a file is written as it was read. Else three of its corners (snapped), or, without a
// polygon, points made from the plane itself.
void MapWriter::writeFace(const FaceRecord* face) {
    const uint32_t unsized = FaceSourceFlags::Matrix | FaceSourceFlags::PlaceholderSize;
    if (face->source && (face->source->flags & unsized) == unsized && !placeholderFaces++)
        firstPlaceholder = place + ", \"" + face->texInfo.name + "\"";
    if (keepsItsPoints(face)) {
        writeFaceLine(face->source->points, face->texInfo);
        return;
    }
    float points[3][3];
    if (face->vertexCount >= 3 && face->vertices) {
        // Corners i + 1, i, i + 2: the order whose cross product gives the outward normal back;
        // the first such triple that gives the face's plane exactly, else the one at corner 0.
        const int32_t n = face->vertexCount;
        auto take = [&](int32_t corner) {
            const int32_t order[3] = {(corner + 1) % n, corner, (corner + 2) % n};
            for (int i = 0; i < 3; ++i) {
                std::memcpy(points[i], face->vertices[order[i]].xyz, sizeof points[i]);
                Engine::SnapVector(points[i]);
            }
            return givesPlane(points, face->normal, face->dist);
        };
        int32_t corner = 0;
        while (corner < n && !take(corner))
            ++corner;
        if (corner == n) take(0);
    } else {
        pointsFromPlane(face->normal, face->dist, points);
    }
    writeFaceLine(points, face->texInfo);
}

void MapWriter::writePatch(const PatchRecord* patch) {
    const TextureInfo& info = patch->texInfo;
    const int32_t columns = std::min(std::max(patch->columns, 0), kPatchGridLines);
    const int32_t rows = std::min(std::max(patch->rows, 0), kPatchGridLines);
    out += "\tpatchDef2\n\t{\n\t\t";
    out += info.name;
    out += "\n\t\t( ";
    for (int32_t n : {columns, rows, info.contents, info.surfaceFlags, info.value}) {
        NumberText::AppendInt(out, n);
        out += ' ';
    }
    out += ")\n\t\t(\n";
    auto number = [&](float v) {
        appendPatchNumber(out, v);
        out += ' ';
    };
    for (int32_t i = 0; i < columns; ++i) {
        out += "\t\t\t(\n";
        for (int32_t j = 0; j < rows; ++j) {
            const PatchPoint& point = patch->points[i][j];
            out += "\t\t\t\t( ";
            for (float v : {point.xyz[0], point.xyz[1], point.xyz[2], point.s, point.t})
                number(v);
            out += ")\n";
        }
        out += "\t\t\t)\n";
    }
    out += "\t\t)\n\t}\n";
}

// Six boxes 16 units thick against the outside of the cordon box, each spanning it exactly
// along the other two axes.
void MapWriter::writeSeal() {
    const float* lo = world->cordonMins;
    const float* hi = world->cordonMaxs;
    for (int axis = 0; axis < 3; ++axis)
        for (int side = 0; side < 2; ++side) {
            float mins[3] = {lo[0], lo[1], lo[2]};
            float maxs[3] = {hi[0], hi[1], hi[2]};
            if (side == 0) {
                maxs[axis] = lo[axis];
                mins[axis] = lo[axis] - kSealThickness;
            } else {
                mins[axis] = hi[axis];
                maxs[axis] = hi[axis] + kSealThickness;
            }
            out += "{\n";
            for (int faceAxis = 0; faceAxis < 3; ++faceAxis)
                for (int faceSide = 0; faceSide < 2; ++faceSide) {
                    // Corner o and edges u, v along the face with u × v pointing outwards.
                    const int a = (faceAxis + 1) % 3, b = (faceAxis + 2) % 3;
                    const int first = faceSide ? a : b, second = faceSide ? b : a;
                    float o[3] = {mins[0], mins[1], mins[2]};
                    if (faceSide) o[faceAxis] = maxs[faceAxis];
                    float points[3][3];
                    for (int i = 0; i < 3; ++i)
                        points[0][i] = points[1][i] = points[2][i] = o[i];
                    points[0][first] = maxs[first];
                    points[2][second] = maxs[second];
                    for (float* point : points)
                        Engine::SnapVector(point);
                    TextureInfo info{};
                    std::strcpy(info.name, "common/nodraw");
                    info.sScale = info.tScale = 1.0f;
                    if (faceAxis == 0) {
                        info.sAxis[1] = 1;
                        info.tAxis[2] = -1;
                    } else if (faceAxis == 1) {
                        info.sAxis[0] = 1;
                        info.tAxis[2] = -1;
                    } else {
                        info.sAxis[0] = 1;
                        info.tAxis[1] = -1;
                    }
                    writeFaceLine(points, info);
                }
            out += "}\n";
        }
}

void MapWriter::writeNodeBody(const NodeRecord* node, const std::string& where) {
    for (const EPair* p = node->epairs; p; p = p->next)
        if (p->key && p->value) pair(p->key, p->value, where);
    numberPair("origin", node->origin);
    if (node->angles[0] != 0 || node->angles[1] != 0 || node->angles[2] != 0)
        numberPair("angles", node->angles);
    if (present(node->message)) pair("message", node->message, where);
    out += "}\n";
}

void MapWriter::writePath(const PathRecord* path) {
    const NodeRecord* first = path->firstNode;
    if (!first || !present(path->className)) return;
    if (!boxReaches(path->mins, path->maxs)) return;
    bool inside = false;
    for (const NodeRecord* node = first; node && !inside; node = node->next)
        inside = pointInside(node->origin);
    if (!inside) return;

    const std::string name = path->name ? path->name : "";
    const std::string where = "path \"" + name + "\"";
    auto numbered = [&](int32_t n) { return name + "_" + std::to_string(n); };
    auto ownOrPath = [&](const NodeRecord* node) {
        return present(node->name) ? std::string(node->name) : name;
    };

    int32_t i = 0;
    const NodeRecord* last = first;
    for (const NodeRecord* node = first; node; node = node->next) {
        last = node;
        out += "{\n";
        pair(MapOwnedKey::kClassname, path->className, where);
        std::string targetname;
        if (present(node->name)) {
            targetname = node->name;
            if (node == first) i = 1;
        } else if (i > 0) {
            targetname = numbered(i++);
        } else {
            targetname = name;
            i = 1;
        }
        pair("targetname", targetname.c_str(), where);
        std::string target;
        if (node->next)
            target = present(node->next->name) ? std::string(node->next->name) : numbered(i);
        else if (path->type == PathType::Circular)
            target = ownOrPath(first);
        else if (path->type == PathType::PingPong && node->prev)
            target = numbered(i);
        if (!target.empty()) pair("target", target.c_str(), where);
        writeNodeBody(node, where);
    }
    if (path->type == PathType::PingPong)
        for (const NodeRecord* node = last->prev; node && node->prev; node = node->prev) {
            out += "{\n";
            pair(MapOwnedKey::kClassname, path->className, where);
            pair("targetname", numbered(i++).c_str(), where);
            const std::string target = node->prev->prev ? numbered(i) : ownOrPath(first);
            pair("target", target.c_str(), where);
            writeNodeBody(node, where);
        }
}

} // namespace

int32_t cMapSerializer::save() {
    MapWriter writer(map, path);
    return writer.run();
}
