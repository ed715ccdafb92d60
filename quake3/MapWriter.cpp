// Writing the editor's world as Quake III map text, version 220: entities with their brushes
// and patches, the cordon seal, and paths as chains of point entities. The text is built in
// memory first, so a refused key leaves the target file alone, and every write and close error
// is reported.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "Engine.h"
#include "MapSerializer.h"
#include "NumberText.h"
#include "document/MapWorld.h"
#include "map/EPair.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/ObjectRecords.h"
#include "map/PatchRecord.h"
#include "map/TextureInfo.h"

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

// Text that would end a quoted string or a line early.
bool breaksQuotes(const char* text) {
    return text && std::strpbrk(text, "\"\r\n");
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
    std::string refused; // where a key or value cannot be written, for the message

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
    void g(float value) { NumberText::AppendG(out, value); }
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
    // One "key" "value" line; false (with the place noted) when either would break the file.
    bool pair(const char* key, const char* value, const std::string& where) {
        if (breaksQuotes(key) || breaksQuotes(value)) {
            refused = where + " key \"" + key + "\"";
            return false;
        }
        quoted(key);
        out += ' ';
        quoted(value);
        out += '\n';
        return true;
    }
    void numberPair(const char* key, const float v[3]) {
        quoted(key);
        out += " \"";
        gs(v, 3);
        out += "\"\n";
    }

    bool writeEntity(EntityRecord* entity, int32_t index);
    void writeBrush(const BrushRecord* brush);
    void writeFaceLine(const float points[3][3], const TextureInfo& info);
    void writeFace(const FaceRecord* face);
    void writePatch(const PatchRecord* patch);
    void writeSeal();
    bool writePath(const PathRecord* path);
    bool writeNodeBody(const NodeRecord* node, const std::string& where);
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
        if (!writeEntity(entity, index)) {
            Engine::Error("can't write \"%s\": %s holds a quote or a line break", path.c_str(),
                          refused.c_str());
            return 0;
        }
    for (const PathRecord* mapPath = world->paths; mapPath; mapPath = mapPath->next)
        if (!writePath(mapPath)) {
            Engine::Error("can't write \"%s\": %s holds a quote or a line break", path.c_str(),
                          refused.c_str());
            return 0;
        }
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

bool MapWriter::writeEntity(EntityRecord* entity, int32_t index) {
    const bool world = entity->flags & EntityFlag::World;
    const bool point = entity->flags & EntityFlag::Point;
    // The world entity carries the version and the seal: it is always written.
    if (!world) {
        if (skipHidden && (entity->flags & EntityFlag::Hidden)) return true;
        if (point && !pointInside(entity->origin)) return true;
        if (!boxReaches(entity->mins, entity->maxs)) return true;
    }
    const char* classname = entity->classname ? entity->classname : "";
    const std::string where = "entity " + std::to_string(index) + " (\"" + classname + "\")";
    const char* originKey =
        present(entity->keyNames[kOriginKeyRole]) ? entity->keyNames[kOriginKeyRole] : "origin";
    const bool brushless = !entity->firstBrush;

    out += "{\n";
    if (!pair("classname", classname, where)) return false;
    for (const EPair* p = entity->epairs; p; p = p->next) {
        if (!p->key || !p->value) continue;
        if (strcasecmp(p->key, "classname") == 0) continue;
        if (world && (strcasecmp(p->key, "mapversion") == 0 || strcasecmp(p->key, "_generator") == 0))
            continue;
        // An entity without brushes writes its origin itself, below.
        if (brushless && std::strcmp(p->key, originKey) == 0) continue;
        if (!pair(p->key, p->value, where)) return false;
    }
    if (brushless) {
        if (breaksQuotes(originKey)) return pair(originKey, "", where);
        numberPair(originKey, entity->origin);
    }
    if (world) {
        out += "\"mapversion\" \"";
        NumberText::AppendInt(out, kMapVersion);
        out += "\"\n";
        const char* version = Engine::VersionString();
        const std::string generator = std::string(version ? version : "") + " (kpQuake3)";
        if (!pair("_generator", generator.c_str(), where)) return false;
        if (cordon) writeSeal();
    }
    for (const BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
        writeBrush(brush);
    out += "}\n";
    return true;
}

void MapWriter::writeBrush(const BrushRecord* brush) {
    if (skipHidden && (brush->flags & BrushFlags::Hidden)) return;
    if (!boxReaches(brush->mins, brush->maxs)) return;
    out += "{\n";
    if (brush->patch) writePatch(brush->patch);
    for (const FaceRecord* face = brush->firstFace; face; face = face->next)
        writeFace(face);
    out += "}\n";
}

void MapWriter::writeFaceLine(const float points[3][3], const TextureInfo& info) {
    for (int i = 0; i < 3; ++i) {
        float p[3] = {points[i][0], points[i][1], points[i][2]};
        Engine::SnapVector(p);
        if (i) out += ' ';
        out += "( ";
        gs(p, 3);
        out += " )";
    }
    float s[4] = {info.sAxis[0], info.sAxis[1], info.sAxis[2], info.sShift};
    float t[4] = {info.tAxis[0], info.tAxis[1], info.tAxis[2], info.tShift};
    Engine::SnapFloats(4, s);
    Engine::SnapFloats(4, t);
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

void MapWriter::writeFace(const FaceRecord* face) {
    float points[3][3];
    if (face->vertexCount >= 3 && face->vertices) {
        // Vertices 1, 0, 2: the order whose cross product gives the outward normal back.
        static constexpr int kOrder[3] = {1, 0, 2};
        for (int i = 0; i < 3; ++i)
            std::memcpy(points[i], face->vertices[kOrder[i]].xyz, sizeof points[i]);
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
        if (std::fabs(v) < 2147483648.0f && v == float(int32_t(v)))
            NumberText::AppendInt(out, int32_t(v));
        else
            NumberText::AppendFixed(out, v, 6);
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

bool MapWriter::writeNodeBody(const NodeRecord* node, const std::string& where) {
    for (const EPair* p = node->epairs; p; p = p->next)
        if (p->key && p->value && !pair(p->key, p->value, where)) return false;
    numberPair("origin", node->origin);
    if (node->angles[0] != 0 || node->angles[1] != 0 || node->angles[2] != 0) {
        out += "\"angles\" \"";
        for (int i = 0; i < 3; ++i) {
            if (i) out += ' ';
            NumberText::AppendFixed(out, node->angles[i], 0);
        }
        out += "\"\n";
    }
    if (present(node->message) && !pair("message", node->message, where)) return false;
    out += "}\n";
    return true;
}

bool MapWriter::writePath(const PathRecord* path) {
    const NodeRecord* first = path->firstNode;
    if (!first || !present(path->className)) return true;
    if (!boxReaches(path->mins, path->maxs)) return true;
    bool inside = false;
    for (const NodeRecord* node = first; node && !inside; node = node->next)
        inside = pointInside(node->origin);
    if (!inside) return true;

    const std::string name = path->name ? path->name : "";
    const std::string where = "path \"" + name + "\"";
    if (breaksQuotes(name.c_str())) return pair("targetname", name.c_str(), where);
    auto numbered = [&](int32_t n) { return name + "_" + std::to_string(n); };
    auto ownOrPath = [&](const NodeRecord* node) {
        return present(node->name) ? std::string(node->name) : name;
    };

    int32_t i = 0;
    const NodeRecord* last = first;
    for (const NodeRecord* node = first; node; node = node->next) {
        last = node;
        out += "{\n";
        if (!pair("classname", path->className, where)) return false;
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
        if (!pair("targetname", targetname.c_str(), where)) return false;
        std::string target;
        if (node->next)
            target = present(node->next->name) ? std::string(node->next->name) : numbered(i);
        else if (path->type == PathType::Circular)
            target = ownOrPath(first);
        else if (path->type == PathType::PingPong && node->prev)
            target = numbered(i);
        if (!target.empty() && !pair("target", target.c_str(), where)) return false;
        if (!writeNodeBody(node, where)) return false;
    }
    if (path->type == PathType::PingPong)
        for (const NodeRecord* node = last->prev; node && node->prev; node = node->prev) {
            out += "{\n";
            if (!pair("classname", path->className, where)) return false;
            if (!pair("targetname", numbered(i++).c_str(), where)) return false;
            const std::string target = node->prev->prev ? numbered(i) : ownOrPath(first);
            if (!pair("target", target.c_str(), where)) return false;
            if (!writeNodeBody(node, where)) return false;
        }
    return true;
}

} // namespace

int32_t cMapSerializer::save() {
    MapWriter writer(map, path);
    return writer.run();
}
