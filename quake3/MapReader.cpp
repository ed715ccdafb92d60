// Reading Quake III map text: classic and version-220 plane faces, brush primitives and
// patches, through the editor's tokenizer and map-object functions of the engine table.
//
// Damage is contained by brace depth: every "{" read as structure is remembered with its line,
// so a failed brush, an abandoned entity or a key after brushes skips to the end of its own
// block, whatever was open inside it. A file that ends inside a block fails as a whole.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

#include "Engine.h"
#include "MapSerializer.h"
#include "NumberText.h"
#include "kstdlib/kmath.h"
#include "map/EPair.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/ObjectRecords.h"
#include "map/PatchRecord.h"
#include "map/TextureInfo.h"

namespace {

constexpr size_t kMaxKey = 80;
constexpr size_t kMaxValue = 512;
constexpr int32_t kAlignClassic = 4; // classic and brush-primitive faces
constexpr int32_t kAlignAxes = 2;    // faces with explicit texture axes
// Entity_Update masks after an entity's closing brace.
constexpr uint32_t kUpdateOldVersion = 13;
constexpr uint32_t kUpdate220 = 5;

// An entity while its block is read: the pairs in file order until the record exists.
struct PendingEntity {
    std::string classname;
    float origin[3] = {0, 0, 0};
    float angles[3] = {0, 0, 0};
    EPair* pairs = nullptr;
    EntityRecord* record = nullptr;
    int32_t line = 0;
};

// Up to count numbers separated by blanks from the front of the text, as sscanf "%f %f %f"
// takes them; the number read. Outputs past it are left alone.
int32_t parseFloats(const char* text, float* out, int32_t count) {
    int32_t n = 0;
    const char* p = text;
    while (n < count) {
        while (*p == ' ' || *p == '\t')
            ++p;
        const char* end = p;
        while (*end && *end != ' ' && *end != '\t')
            ++end;
        if (end == p) break;
        std::string word(p, end);
        float value;
        if (!NumberText::ParseFloat(word.c_str(), &value)) break;
        out[n++] = value;
        p = end;
    }
    return n;
}

// atoi: the leading integer, 0 without one.
int32_t leadingInt(const char* text) {
    while (*text == ' ' || *text == '\t')
        ++text;
    const char* end = text;
    if (*end == '-' || *end == '+') ++end;
    while (*end >= '0' && *end <= '9')
        ++end;
    int32_t value = 0;
    NumberText::ParseInt(std::string(text, end).c_str(), &value);
    return value;
}

void appendTruncated(std::string& name, const char* text, size_t limit) {
    name += text;
    if (name.size() > limit) name.resize(limit);
}

void freePairs(EPair* pair) {
    while (pair) {
        EPair* next = pair->next;
        Engine::Free(pair->key);
        Engine::Free(pair->value);
        Engine::Free(pair);
        pair = next;
    }
}

EPair* findPair(EPair* pair, const char* key) {
    for (; pair; pair = pair->next)
        if (pair->key && strcasecmp(pair->key, key) == 0) return pair;
    return nullptr;
}

void appendPair(EPair** head, const char* key, const char* value) {
    EPair* pair = static_cast<EPair*>(Engine::Alloc(sizeof(EPair)));
    pair->key = Engine::StrDup(key);
    pair->value = Engine::StrDup(value);
    while (*head)
        head = &(*head)->next;
    *head = pair;
}

void removePairs(EPair** head, const char* key) {
    while (*head) {
        EPair* pair = *head;
        if (pair->key && strcasecmp(pair->key, key) == 0) {
            *head = pair->next;
            pair->next = nullptr;
            freePairs(pair);
        } else {
            head = &pair->next;
        }
    }
}

// Plane through three points: normal of (p0 - p1) × (p2 - p1). False for collinear points.
bool planeFromPoints(const float p[3][3], float normal[3], float* dist, int32_t* type) {
    float a[3], b[3];
    for (int i = 0; i < 3; ++i) {
        a[i] = p[0][i] - p[1][i];
        b[i] = p[2][i] - p[1][i];
    }
    normal[0] = a[1] * b[2] - a[2] * b[1];
    normal[1] = a[2] * b[0] - a[0] * b[2];
    normal[2] = a[0] * b[1] - a[1] * b[0];
    if (K_VectorNormalize(normal) == 0.0f) return false;
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(normal[i])) return false;
    *dist = p[1][0] * normal[0] + p[1][1] * normal[1] + p[1][2] * normal[2];
    if (!std::isfinite(*dist)) return false;
    *type = std::fabs(normal[0]) == 1.0f   ? 0
            : std::fabs(normal[1]) == 1.0f ? 1
            : std::fabs(normal[2]) == 1.0f ? 2
                                           : 3;
    return true;
}

// The whole file; false with errno set when it cannot be read.
bool readWholeFile(const char* path, std::string* out) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        out->append(buffer, n);
    const bool failed = std::ferror(file);
    const int error = errno;
    std::fclose(file);
    if (failed) errno = error ? error : EIO;
    return !failed;
}

float normalizedRotation(float degrees) {
    float r = std::fmod(degrees, 360.0f);
    if (r < 0) r += 360.0f;
    if (r >= 360.0f) r -= 360.0f;
    return r;
}

class MapReader {
public:
    explicit MapReader(MapHandle map) : map(map) {}
    int32_t run(const char* path);

private:
    MapHandle map;
    int32_t version = 0;
    int32_t failedBrushes = 0;
    std::vector<int32_t> openLines; // line of every structural "{" still open
    int32_t lastDelta = 0;          // brace change of the last token, undone by unget()
    int32_t poppedLine = 0;
    int32_t unclosedLine = 0; // set when the text ends inside a block

    // ---- Tokens ----
    const char* tok() const { return Engine::ScriptToken(); }
    bool is(const char* text) const { return std::strcmp(tok(), text) == 0; }
    bool isNoCase(const char* text) const { return strcasecmp(tok(), text) == 0; }
    size_t depth() const { return openLines.size(); }

    // A token read as structure: braces open and close blocks.
    bool next(bool crossLines) {
        lastDelta = 0;
        if (!Engine::ScriptGetToken(crossLines)) return false;
        if (is("{")) {
            openLines.push_back(Engine::ScriptLine());
            lastDelta = 1;
        } else if (is("}") && !openLines.empty()) {
            poppedLine = openLines.back();
            openLines.pop_back();
            lastDelta = -1;
        }
        return true;
    }
    // A name or value: braces in it are text.
    bool nextText(bool crossLines) {
        lastDelta = 0;
        return Engine::ScriptGetToken(crossLines);
    }
    void unget() {
        Engine::ScriptUngetToken();
        if (lastDelta > 0) openLines.pop_back();
        if (lastDelta < 0) openLines.push_back(poppedLine);
        lastDelta = 0;
    }
    // Reads on until only `target` blocks are open. False when the text ends first.
    bool skipTo(size_t target) {
        while (depth() > target) {
            if (!next(true)) return endedInside();
        }
        return true;
    }
    // The text ended: inside a block that is a fault of the whole file.
    bool endedInside() {
        if (!openLines.empty() && !unclosedLine) unclosedLine = openLines.back();
        return false;
    }
    bool expect(const char* text, bool crossLines = true) {
        if (!next(crossLines)) return crossLines ? endedInside() : false;
        if (is(text)) return true;
        Engine::ScriptError("expected \"%s\", found \"%s\"", text, tok());
        unget();
        return false;
    }
    bool readFloat(float* out, bool crossLines) {
        if (!next(crossLines)) return crossLines ? endedInside() : false;
        if (NumberText::ParseFloat(tok(), out) && std::isfinite(*out)) return true;
        Engine::ScriptError("expected a number, found \"%s\"", tok());
        unget();
        return false;
    }
    bool readInt(int32_t* out, bool crossLines) {
        if (!next(crossLines)) return crossLines ? endedInside() : false;
        if (NumberText::ParseInt(tok(), out)) return true;
        Engine::ScriptError("expected an integer, found \"%s\"", tok());
        unget();
        return false;
    }
    // "(" count numbers ")".
    bool readVector(float* out, int count) {
        if (!expect("(")) return false;
        for (int i = 0; i < count; ++i)
            if (!readFloat(&out[i], true)) return false;
        return expect(")");
    }

    // ---- Blocks ----
    bool readEntity();
    bool createEntity(PendingEntity& e, bool point);
    void readKeyValue(PendingEntity& e, const char* key, const char* value);
    bool readBrush(EntityRecord* entity);
    bool readPlaneFace(BrushRecord* brush);
    bool readTextureLine(TextureInfo* info);
    bool readSurfaceInts(TextureInfo* info);
    bool readBrushPrimitive(BrushRecord* brush);
    bool readPatch(BrushRecord* brush);
    bool readPoints(float p[3][3], float normal[3], float* dist, int32_t* type);
    bool addFace(BrushRecord* brush, const TextureInfo& info, const float normal[3], float dist,
                 int32_t type);
};

int32_t MapReader::run(const char* path) {
    Engine::Printf("Loading: \"%s\"", path);
    // The file is read here and tokenized from memory: paths of any length, and the system's
    // own reason when it cannot be read.
    std::string text;
    if (!readWholeFile(path, &text)) {
        Engine::Error("can't read \"%s\" (%s)", path, std::strerror(errno));
        return 0;
    }
    if (text.size() >= UINT32_MAX || !Engine::ScriptLoadMemory(text.c_str(), uint32_t(text.size() + 1), 0)) {
        Engine::Error("can't read \"%s\" (%s)", path, std::strerror(EFBIG));
        return 0;
    }
    // Every fault the reader reports is cleared before it reads on, so an error still standing
    // is the tokenizer's own (a token too long for it): reading cannot go on.
    while (!unclosedLine && !Engine::ScriptHasError() && next(true)) {
        unget();
        readEntity();
    }
    const bool stopped = Engine::ScriptHasError();
    const int32_t line = Engine::ScriptLine();
    Engine::ScriptClose();
    if (stopped) {
        Engine::Error("can't read \"%s\": reading stopped at line %i", path, line);
        return 0;
    }
    if (unclosedLine) {
        Engine::Error("unexpected end of file: block opened at line %i is not closed", unclosedLine);
        return 0;
    }
    if (failedBrushes) Engine::Error("%i solids were not loaded due to errors in MAP file", failedBrushes);
    return 1;
}

bool MapReader::readEntity() {
    const size_t outside = depth();
    next(true);
    if (!is("{")) {
        Engine::ScriptError("expected \"{\" to start an entity, found \"%s\"", tok());
        Engine::ScriptClearError();
        return false;
    }
    PendingEntity e;
    e.line = Engine::ScriptLine();
    auto abandon = [&]() {
        freePairs(e.pairs);
        e.pairs = nullptr;
        Engine::ScriptClearError();
        if (e.record) Engine::EntityUpdate(e.record, version < 220 ? kUpdateOldVersion : kUpdate220);
        skipTo(outside);
        return false;
    };

    for (;;) {
        if (!next(true)) {
            endedInside();
            freePairs(e.pairs);
            return false;
        }
        if (depth() == outside) break; // its closing brace
        if (is("{")) {
            if (!e.record && !createEntity(e, false)) return abandon();
            unget();
            if (!readBrush(e.record)) {
                ++failedBrushes;
                Engine::ScriptClearError();
                if (!skipTo(outside + 1)) return abandon();
            }
            continue;
        }
        if (e.record) {
            Engine::ScriptError("epairs are not allowed after brushes");
            return abandon();
        }
        std::string key;
        appendTruncated(key, tok(), kMaxKey);
        if (!nextText(false)) return abandon();
        readKeyValue(e, key.c_str(), tok());
    }

    if (!e.record && !createEntity(e, true)) {
        freePairs(e.pairs);
        return false;
    }
    Engine::EntityUpdate(e.record, version < 220 ? kUpdateOldVersion : kUpdate220);
    return true;
}

void MapReader::readKeyValue(PendingEntity& e, const char* key, const char* value) {
    if (strcasecmp(key, "classname") == 0) {
        e.classname.clear();
        appendTruncated(e.classname, value, kMaxValue);
        return;
    }
    if (strcasecmp(key, "mapversion") == 0) {
        version = leadingInt(value);
        return;
    }
    if (strcasecmp(key, "wad") == 0 || strcasecmp(key, "_generator") == 0) return;
    if (strcasecmp(key, "origin") == 0) parseFloats(value, e.origin, 3);
    if (strcasecmp(key, "angles") == 0) parseFloats(value, e.angles, 3);
    if (strcasecmp(key, "angle") == 0) {
        float a = 0;
        parseFloats(value, &a, 1);
        e.angles[0] = a == -1 ? -90.0f : a == -2 ? 90.0f : 0.0f;
        e.angles[1] = (a == -1 || a == -2) ? 0.0f : a;
        e.angles[2] = 0;
    }
    if (findPair(e.pairs, key)) return; // the first value stays
    std::string text;
    appendTruncated(text, value, kMaxValue);
    appendPair(&e.pairs, key, text.c_str());
}

bool MapReader::createEntity(PendingEntity& e, bool point) {
    if (e.classname.empty()) {
        Engine::Warning("entity at line %i has no classname: left out", e.line);
        return false;
    }
    uint32_t flags = point ? EntityFlag::Point : 0;
    if (strcasecmp(e.classname.c_str(), "worldspawn") == 0) flags |= EntityFlag::World;
    // A point entity keeps its origin in the record alone; a brush entity keeps its pair.
    if (point) removePairs(&e.pairs, "origin");
    EntityRecord* record = Engine::EntityCreate(map, e.classname.c_str(), e.origin, flags);
    if (!record) {
        Engine::Warning("entity at line %i could not be created: left out", e.line);
        return false;
    }
    EPair** tail = &record->epairs;
    while (*tail)
        tail = &(*tail)->next;
    *tail = e.pairs;
    e.pairs = nullptr;
    std::memcpy(record->angles, e.angles, sizeof e.angles);
    e.record = record;
    return true;
}

bool MapReader::readBrush(EntityRecord* entity) {
    if (!expect("{")) return false;
    BrushRecord* brush = Engine::BrushCreate(map, entity);
    if (!brush) {
        Engine::ScriptError("brush could not be created");
        return false;
    }
    bool ok = true;
    bool empty = true;
    for (;;) {
        if (!next(true)) {
            ok = endedInside();
            break;
        }
        if (is("}")) break;
        if (isNoCase("patchDef2"))
            ok = readPatch(brush);
        else if (isNoCase("brushDef") || isNoCase("brush"))
            ok = readBrushPrimitive(brush);
        else if (is("(")) {
            unget();
            ok = readPlaneFace(brush);
        } else {
            Engine::ScriptError("unknown brush block \"%s\"", tok());
            ok = false;
        }
        empty = false;
        if (!ok) break;
    }
    if (ok && empty) {
        Engine::ScriptError("brush without faces");
        ok = false;
    }
    if (!ok) Engine::BrushDelete(map, brush);
    return ok;
}

bool MapReader::readPoints(float p[3][3], float normal[3], float* dist, int32_t* type) {
    for (int i = 0; i < 3; ++i)
        if (!readVector(p[i], 3)) return false;
    if (planeFromPoints(p, normal, dist, type)) return true;
    Engine::ScriptError("plane points are collinear");
    return false;
}

bool MapReader::addFace(BrushRecord* brush, const TextureInfo& info, const float normal[3], float dist,
                        int32_t type) {
    FaceRecord* face = Engine::FaceCreate(map, brush, &info, 0);
    if (!face) {
        Engine::ScriptError("face could not be created");
        return false;
    }
    std::memcpy(face->normal, normal, sizeof face->normal);
    face->dist = dist;
    face->axialType = type;
    return true;
}

bool MapReader::readSurfaceInts(TextureInfo* info) {
    if (!Engine::ScriptTokenAvailable()) return true;
    return readInt(&info->contents, false) && readInt(&info->surfaceFlags, false) &&
           readInt(&info->value, false);
}

bool MapReader::readPlaneFace(BrushRecord* brush) {
    float p[3][3], normal[3], dist;
    int32_t type;
    if (!readPoints(p, normal, &dist, &type)) return false;

    TextureInfo info{};
    if (!nextText(false)) return false;
    std::string name = tok();
    if (name[0] == '{' && Engine::ScriptTokenAvailable() && nextText(false)) name += tok();
    if (name.size() > size_t(kTextureNameMax)) name.resize(kTextureNameMax);
    std::memcpy(info.name, name.c_str(), name.size() + 1);

    if (!readTextureLine(&info)) return false;
    info.rotation = normalizedRotation(info.rotation);
    if (info.sScale == 0) info.sScale = 1;
    if (info.tScale == 0) info.tScale = 1;
    if (!readSurfaceInts(&info)) return false;
    return addFace(brush, info, normal, dist, type);
}

bool MapReader::readTextureLine(TextureInfo* info) {
    if (!next(false)) return false;
    const bool axes = is("[");
    unget();
    if (axes != (version >= 220)) {
        Engine::Warning("not a version %i file (is it a decompiled BSP output?)", version);
        version = axes ? 220 : 0;
    }
    if (axes) {
        info->alignment = kAlignAxes;
        return expect("[", false) && readFloat(&info->sAxis[0], false) && readFloat(&info->sAxis[1], false) &&
               readFloat(&info->sAxis[2], false) && readFloat(&info->sShift, false) && expect("]", false) &&
               expect("[", false) && readFloat(&info->tAxis[0], false) && readFloat(&info->tAxis[1], false) &&
               readFloat(&info->tAxis[2], false) && readFloat(&info->tShift, false) && expect("]", false) &&
               readFloat(&info->rotation, false) && readFloat(&info->sScale, false) &&
               readFloat(&info->tScale, false);
    }
    info->alignment = kAlignClassic;
    if (!(readFloat(&info->sShift, false) && readFloat(&info->tShift, false) &&
          readFloat(&info->rotation, false) && readFloat(&info->sScale, false) &&
          readFloat(&info->tScale, false)))
        return false;
    info->rotation = -info->rotation;
    return true;
}

bool MapReader::readBrushPrimitive(BrushRecord* brush) {
    if (!expect("{")) return false;
    for (;;) {
        if (!next(true)) return endedInside();
        if (is("}")) break;
        unget();
        float p[3][3], normal[3], dist;
        int32_t type;
        if (!readPoints(p, normal, &dist, &type)) return false;
        float m[2][3];
        if (!(expect("(") && readVector(m[0], 3) && readVector(m[1], 3) && expect(")"))) return false;

        TextureInfo info{};
        info.sScale = std::sqrt(m[0][0] * m[0][0] + m[1][0] * m[1][0]);
        info.tScale = std::sqrt(m[0][1] * m[0][1] + m[1][1] * m[1][1]);
        if (std::fabs(m[0][0]) < 0.001f)
            info.rotation = m[1][0] > 0 ? 90.0f : -90.0f;
        else
            info.rotation = float(std::atan2(m[1][0], m[0][0]) * 180.0f / 3.1415927f);
        info.sShift = -m[0][2];
        info.tShift = m[1][2];
        info.alignment = kAlignClassic;
        if (std::fabs(info.sScale) < 0.001f) info.sScale = 1;
        if (std::fabs(info.tScale) < 0.001f) info.tScale = 1;

        if (!nextText(false)) return false;
        std::string name = tok();
        while ((tok()[0] == '{' || tok()[0] == '@') && Engine::ScriptTokenAvailable() && nextText(false))
            name += tok();
        if (name.size() > size_t(kTextureNameMax)) name.resize(kTextureNameMax);
        std::memcpy(info.name, name.c_str(), name.size() + 1);
        if (!readSurfaceInts(&info)) return false;
        if (!addFace(brush, info, normal, dist, type)) return false;
    }
    return !Engine::ScriptHasError();
}

bool MapReader::readPatch(BrushRecord* brush) {
    if (!expect("{")) return false;
    TextureInfo info{};
    info.sScale = info.tScale = 1.0f;
    if (!nextText(true)) return endedInside();
    std::string name = tok();
    while (Engine::ScriptTokenAvailable() && nextText(false))
        name += tok();
    if (name.size() > size_t(kTextureNameMax)) name.resize(kTextureNameMax);
    std::memcpy(info.name, name.c_str(), name.size() + 1);

    int32_t width, height;
    if (!(expect("(") && readInt(&width, true) && readInt(&height, true) && readInt(&info.contents, true) &&
          readInt(&info.surfaceFlags, true) && readInt(&info.value, true) && expect(")")))
        return false;
    // Patch surfaces have an odd number of lines, 3..31, on each side.
    auto legal = [](int32_t n) { return n >= kPatchMinLines && n <= kPatchMaxLines && (n & 1); };
    if (!legal(width)) {
        Engine::ScriptError("illegal patch width %i", width);
        return false;
    }
    if (!legal(height)) {
        Engine::ScriptError("illegal patch height %i", height);
        return false;
    }

    float grid[kPatchGridLines][kPatchGridLines][5];
    if (!expect("(")) return false;
    for (int32_t i = 0; i < width; ++i) {
        if (!expect("(")) return false;
        for (int32_t j = 0; j < height; ++j)
            if (!readVector(grid[i][j], 5)) return false;
        if (!expect(")")) return false;
    }
    if (!(expect(")") && expect("}"))) return false;

    PatchRecord* patch = Engine::PatchCreate(brush, &info, width, height);
    if (!patch || patch->columns != width || patch->rows != height) {
        Engine::ScriptError("patch could not be created");
        return false;
    }
    // The header's numbers belong to the patch's texture block, as the writer reads them.
    patch->texInfo.contents = info.contents;
    patch->texInfo.surfaceFlags = info.surfaceFlags;
    patch->texInfo.value = info.value;
    for (int32_t i = 0; i < width; ++i)
        for (int32_t j = 0; j < height; ++j) {
            PatchPoint& point = patch->points[i][j];
            std::memcpy(point.xyz, grid[i][j], sizeof point.xyz);
            point.s = grid[i][j][3];
            point.t = grid[i][j][4];
        }
    return true;
}

} // namespace

int32_t cMapSerializer::load() {
    MapReader reader(map);
    return reader.run(path.c_str());
}
