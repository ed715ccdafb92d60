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
#include <utility>
#include <vector>

#include "Engine.h"
#include "MapPlane.h"
#include "MapOwnedKeys.h"
#include "MapPlaneSet.h"
#include "MapSerializer.h"
#include "NumberText.h"
#include "gamedata/TextureRecords.h"
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

constexpr size_t kMaxKey = 80;
constexpr size_t kMaxValue = 512;
constexpr int32_t kAlignAxes = 2; // faces with explicit texture axes (every face, once read)
// Entity_Update mask after an entity's closing brace: keys, polygons, and faces read in an order
// a sort gave keep it (0x4000), so a map written and read back keeps its face order. The
// texture axes are the reader's own (from the file's points, as the game makes them), so they
// are not reset.
constexpr uint32_t kUpdateEntity = 0x4005;
// Corners this far out belong to a brush whose planes do not close it.
constexpr float kUnboundedExtent = 131072.0f;
// Stands for an escaped quote (\") inside a quoted value while the tokenizer reads the text.
constexpr char kEscapedQuote = '\x01';

// An entity while its block is read: the pairs in file order until the record exists.
struct PendingEntity {
    std::string classname;
    float origin[3] = {0, 0, 0};
    float angles[3] = {0, 0, 0};
    EPair* pairs = nullptr;
    EntityRecord* record = nullptr;
    int32_t line = 0;
    int32_t index = 0; // in the file, from 0
    // Every brush read into it (null when it failed) with the planes read for it, checked once
    // the brushes are built.
    struct Plane {
        float normal[3];
        float dist;
    };
    std::vector<std::pair<BrushRecord*, std::vector<Plane>>> brushes;
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
    return r + 0.0f; // never -0: it would read back as 0
}

// The brush-primitive matrix as the face's texture block, for the size of the texture the face
// is bound to. A texture not known yet converts with its placeholder's size and the face says
// so, so that the editor converts again once the texture is loaded.
void convertMatrix(FaceRecord* face, const float m[2][3]) {
    const ShaderRecord* texture = face->texture;
    // Unknown names bind to a placeholder, or to the shared "notexture" without any lists.
    const bool known = texture && !(texture->flags & SHADER_PLACEHOLDER) &&
                       std::strcmp(texture->name, "notexture") != 0 && texture->width > 0 &&
                       texture->height > 0;
    const int32_t width = texture && texture->width > 0 ? texture->width : 1;
    const int32_t height = texture && texture->height > 0 ? texture->height : 1;
    TexMatrix_ToTextureInfo(face->normal, m, width, height, &face->texInfo);
    if (FaceSource* source = face->source) {
        std::memcpy(source->matrix, m, sizeof source->matrix);
        source->flags |= FaceSourceFlags::Matrix | (known ? 0 : FaceSourceFlags::PlaceholderSize);
        source->width = width;
        source->height = height;
    }
}

// Some editors write a quote inside a value as \" ("he said \"hi\" there"); the tokenizer
// would end the value at it. On a key/value line (one starting with a quote), a \" with a
// further quote after it on the line is such a quote: it becomes kEscapedQuote, which the value
// turns back into a quote. A \" with no quote after it closes its value (a path ending in \).
// The numbers of the lines changed, in order.
std::vector<int32_t> markEscapedQuotes(std::string& text) {
    std::vector<int32_t> lines;
    int32_t line = 1;
    size_t start = 0;
    while (start < text.size()) {
        // "\r\n", "\r" and "\n" each end a line.
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        size_t first = start;
        while (first < end && (text[first] == ' ' || text[first] == '\t'))
            ++first;
        if (first < end && text[first] == '"') {
            std::string out;
            bool inside = false, changed = false;
            for (size_t i = start; i < end; ++i) {
                const char c = text[i];
                if (inside && c == '\\' && i + 1 < end && text[i + 1] == '"' && text.find('"', i + 2) < end) {
                    out += kEscapedQuote;
                    ++i;
                    changed = true;
                    continue;
                }
                if (c == '"') inside = !inside;
                out += c;
            }
            if (changed) {
                text.replace(start, end - start, out);
                end = start + out.size();
                lines.push_back(line);
            }
        }
        start = end + (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
        ++line;
    }
    return lines;
}

std::string withQuotes(const char* text) {
    std::string out = text;
    for (char& c : out)
        if (c == kEscapedQuote) c = '"';
    return out;
}

// Whether the built brush is the solid its planes make: it has faces, and every plane read that
// it has no face for lies outside it (within a tenth of a unit: corners are snapped).
template <class Plane> bool enclosesSpace(const BrushRecord* brush, const std::vector<Plane>& planes) {
    if (!brush->firstFace) return false;
    for (const Plane& plane : planes) {
        bool built = false;
        for (const FaceRecord* f = brush->firstFace; f && !built; f = f->next)
            built = std::memcmp(f->normal, plane.normal, sizeof plane.normal) == 0 && f->dist == plane.dist;
        if (built) continue;
        for (const FaceRecord* f = brush->firstFace; f; f = f->next)
            for (int32_t i = 0; i < f->vertexCount; ++i) {
                const float* v = f->vertices[i].xyz;
                if (plane.normal[0] * v[0] + plane.normal[1] * v[1] + plane.normal[2] * v[2] - plane.dist >
                    0.1f)
                    return false;
            }
    }
    return true;
}

bool beyond(const float mins[3], const float maxs[3], float extent) {
    for (int i = 0; i < 3; ++i)
        if (!(mins[i] > -extent && maxs[i] < extent)) return true;
    return false;
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
    int32_t entityCount = 0;
    std::vector<PendingEntity::Plane> planesRead; // of the brush being read
    cMapPlaneSet compilerPlanes;                  // of every face read so far, as the compiler makes them
    float compilerNormal[3] = {};                 // of the face being read, from compilerPlanes

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
    bool readDouble(double* out, bool crossLines) {
        if (!next(crossLines)) return crossLines ? endedInside() : false;
        if (NumberText::ParseDouble(tok(), out) && std::isfinite(*out)) return true;
        Engine::ScriptError("expected a number, found \"%s\"", tok());
        unget();
        return false;
    }
    bool readNumber(float* out) { return readFloat(out, true); }
    bool readNumber(double* out) { return readDouble(out, true); }
    // "(" count numbers ")".
    template <class Number> bool readVector(Number* out, int count) {
        if (!expect("(")) return false;
        for (int i = 0; i < count; ++i)
            if (!readNumber(&out[i])) return false;
        return expect(")");
    }

    // ---- Blocks ----
    bool readEntity();
    void finishEntity(PendingEntity& e);
    static KeptBrushRecord* keepFaceLines(const BrushRecord* brush, int32_t after);
    bool createEntity(PendingEntity& e, bool point);
    void readKeyValue(PendingEntity& e, const char* key, const char* value);
    bool readBrush(PendingEntity& e);
    bool readPlaneFace(BrushRecord* brush);
    bool readTextureLine(TextureInfo* info);
    bool readSurfaceInts(TextureInfo* info);
    bool readBrushPrimitive(BrushRecord* brush);
    bool readPatch(BrushRecord* brush);
    bool readPoints(double p[3][3], float pf[3][3], float normal[3], float* dist, int32_t* type);
    FaceRecord* addFace(BrushRecord* brush, const TextureInfo& info, const double p[3][3],
                        const float normal[3], float dist, int32_t type);
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
    for (int32_t line : markEscapedQuotes(text))
        Engine::Warning("\"%s\" line %i: a value with escaped quotes (\\\") read as one value", path, line);
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
    e.index = entityCount++;
    auto abandon = [&]() {
        freePairs(e.pairs);
        e.pairs = nullptr;
        Engine::ScriptClearError();
        if (e.record) finishEntity(e);
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
            if (!readBrush(e)) {
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
        appendTruncated(key, withQuotes(tok()).c_str(), kMaxKey);
        if (!nextText(false)) return abandon();
        readKeyValue(e, key.c_str(), withQuotes(tok()).c_str());
    }

    if (!e.record && !createEntity(e, true)) {
        freePairs(e.pairs);
        return false;
    }
    finishEntity(e);
    return true;
}

// The entity's brushes are built by its update, which drops the planes that cut nothing off.
// When a plane it dropped has built corners in front of it, the planes enclose no space and what
// was left is not the brush read: it is not kept as a different solid, but its face lines are
// kept by the entity, to be written back where it stood (the game's compiler reads their planes
// all the same). A brush whose planes do not close it keeps them all, as read. Both are reported
// by entity and brush number, as the game's compiler numbers them.
void MapReader::finishEntity(PendingEntity& e) {
    Engine::EntityUpdate(e.record, kUpdateEntity);
    int32_t number = 0;
    bool removed = false;
    int32_t after = 0; // serial of the last brush kept in the entity
    KeptBrushRecord** keptTail = &e.record->keptBrushes;
    while (*keptTail)
        keptTail = &(*keptTail)->next;
    for (const auto& [brush, planes] : e.brushes) {
        const int32_t index = number++;
        if (!brush) continue;
        if (brush->patch || brush->overlay) {
            after = brush->serial;
            continue;
        }
        if (!enclosesSpace(brush, planes)) {
            Engine::Warning("entity %i, brush %i: its %i planes enclose no space; kept to be written back",
                            e.index, index, int32_t(planes.size()));
            if (KeptBrushRecord* kept = keepFaceLines(brush, after)) {
                *keptTail = kept;
                keptTail = &kept->next;
            }
            Engine::BrushDelete(map, brush);
            removed = true;
            continue;
        }
        after = brush->serial;
        if (beyond(brush->mins, brush->maxs, kUnboundedExtent))
            Engine::Warning("entity %i, brush %i: its planes do not close it; kept as read", e.index, index);
        int32_t kept = 0;
        for (const FaceRecord* f = brush->keptFaces; f; f = f->next)
            ++kept;
        if (kept)
            Engine::Warning("entity %i, brush %i: %i face(s) bound nothing (they touch the brush or repeat a "
                            "plane); kept to be written back",
                            e.index, index, kept);
    }
    if (removed) Engine::EntityUpdate(e.record, 0); // bounds without the empty brushes
}

// The brush's face lines in file order, as read, for its entity to keep; null when memory ran out.
KeptBrushRecord* MapReader::keepFaceLines(const BrushRecord* brush, int32_t after) {
    const std::vector<FaceRecord*> faces = Brush_FacesInFileOrder(brush);
    auto* kept = static_cast<KeptBrushRecord*>(Engine::Alloc(sizeof(KeptBrushRecord)));
    auto* lines = static_cast<KeptFaceLine*>(Engine::Alloc(sizeof(KeptFaceLine) * faces.size()));
    if (!kept || !lines || faces.empty()) {
        Engine::Free(kept);
        Engine::Free(lines);
        return nullptr;
    }
    std::memset(kept, 0, sizeof *kept);
    int32_t n = 0;
    for (const FaceRecord* face : faces) {
        if (!face->source || !(face->source->flags & FaceSourceFlags::Points)) continue;
        KeptFaceLine& line = lines[n++];
        std::memcpy(line.points, face->source->points, sizeof line.points);
        line.texInfo = face->texInfo;
    }
    kept->faces = lines;
    kept->faceCount = n;
    kept->after = after;
    return kept;
}

void MapReader::readKeyValue(PendingEntity& e, const char* key, const char* value) {
    if (strcasecmp(key, MapOwnedKey::kClassname) == 0) {
        e.classname.clear();
        appendTruncated(e.classname, value, kMaxValue);
        return;
    }
    if (strcasecmp(key, MapOwnedKey::kMapVersion) == 0) {
        version = leadingInt(value);
        return;
    }
    // The writer's own keys (of any entity: a file may put them anywhere), and the wad list.
    if (strcasecmp(key, "wad") == 0 || MapOwnedKey::IsOwned(key, true)) return;
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
    // A point entity without an origin key (such as a group without brushes) is written without one.
    if (point && !findPair(e.pairs, "origin")) flags |= EntityFlag::NoOriginKey;
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

bool MapReader::readBrush(PendingEntity& e) {
    if (!expect("{")) return false;
    BrushRecord* brush = Engine::BrushCreate(map, e.record);
    planesRead.clear();
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
    // A failed brush still takes its number.
    e.brushes.emplace_back(ok ? brush : nullptr,
                           ok ? std::move(planesRead) : std::vector<PendingEntity::Plane>());
    return ok;
}

// The points as written (kept to be written back) and as the plane is made from them, in single
// precision as the game's compiler reads them.
bool MapReader::readPoints(double p[3][3], float pf[3][3], float normal[3], float* dist, int32_t* type) {
    for (int i = 0; i < 3; ++i)
        if (!readVector(p[i], 3)) return false;
    for (int i = 0; i < 3; ++i)
        for (int a = 0; a < 3; ++a)
            pf[i][a] = float(p[i][a]);
    if (MapPlane_FromPoints(pf, normal, dist, type) && compilerPlanes.find(pf, compilerNormal)) return true;
    Engine::ScriptError("plane points are collinear");
    return false;
}

FaceRecord* MapReader::addFace(BrushRecord* brush, const TextureInfo& info, const double p[3][3],
                               const float normal[3], float dist, int32_t type) {
    FaceRecord* face = Engine::FaceCreate(map, brush, &info, 0);
    if (!face) {
        Engine::ScriptError("face could not be created");
        return nullptr;
    }
    std::memcpy(face->normal, normal, sizeof face->normal);
    face->dist = dist;
    face->axialType = type;
    // The points the plane came from: writing them back gives this very plane again.
    auto* source = static_cast<FaceSource*>(Engine::Alloc(sizeof(FaceSource)));
    if (source) {
        std::memset(source, 0, sizeof(FaceSource));
        std::memcpy(source->points, p, sizeof source->points);
        source->flags = FaceSourceFlags::Points;
        face->source = source;
    }
    planesRead.push_back({{normal[0], normal[1], normal[2]}, dist});
    return face;
}

bool MapReader::readSurfaceInts(TextureInfo* info) {
    if (!Engine::ScriptTokenAvailable()) return true;
    return readInt(&info->contents, false) && readInt(&info->surfaceFlags, false) &&
           readInt(&info->value, false);
}

bool MapReader::readPlaneFace(BrushRecord* brush) {
    double p[3][3];
    float pf[3][3], normal[3], dist;
    int32_t type;
    if (!readPoints(p, pf, normal, &dist, &type)) return false;

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
    return addFace(brush, info, p, normal, dist, type) != nullptr;
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
    info->alignment = kAlignAxes;
    if (!(readFloat(&info->sShift, false) && readFloat(&info->tShift, false) &&
          readFloat(&info->rotation, false) && readFloat(&info->sScale, false) &&
          readFloat(&info->tScale, false)))
        return false;
    // The axes the game gives the line, on the plane the compiler finds for the file's points.
    MapPlane_ClassicAxes(compilerNormal, info->rotation, info->sAxis, info->tAxis);
    info->rotation = -info->rotation;
    return true;
}

bool MapReader::readBrushPrimitive(BrushRecord* brush) {
    if (!expect("{")) return false;
    for (;;) {
        if (!next(true)) return endedInside();
        if (is("}")) break;
        unget();
        double p[3][3];
        float pf[3][3], normal[3], dist;
        int32_t type;
        if (!readPoints(p, pf, normal, &dist, &type)) return false;
        float m[2][3];
        if (!(expect("(") && readVector(m[0], 3) && readVector(m[1], 3) && expect(")"))) return false;

        TextureInfo info{};
        info.sScale = info.tScale = 1.0f;
        info.alignment = kAlignAxes;

        if (!nextText(false)) return false;
        std::string name = tok();
        while ((tok()[0] == '{' || tok()[0] == '@') && Engine::ScriptTokenAvailable() && nextText(false))
            name += tok();
        if (name.size() > size_t(kTextureNameMax)) name.resize(kTextureNameMax);
        std::memcpy(info.name, name.c_str(), name.size() + 1);
        if (!readSurfaceInts(&info)) return false;
        FaceRecord* face = addFace(brush, info, p, normal, dist, type);
        if (!face) return false;
        convertMatrix(face, m);
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
