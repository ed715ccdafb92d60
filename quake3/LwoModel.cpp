// LWO2 reading: big-endian IFF chunks, each size and every read checked against the bytes left
// in its chunk, every point index against the points read. Per-point triangle lists make the
// smoothing linear in the corners; the distinct-normal index finds the same first match as a
// scan of the table.
#include "LwoModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "MeshModel.h"
#include "NormalIndex.h"
#include "kstdlib/kmath.h"

namespace {

constexpr int32_t kMaxNormals = 8192;

uint32_t id4(const char* s) {
    return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 | uint32_t(uint8_t(s[2])) << 8 |
           uint32_t(uint8_t(s[3]));
}

struct IdText {
    char text[8];
    explicit IdText(uint32_t id) {
        if (!id) {
            std::strcpy(text, "(null)");
            return;
        }
        for (int i = 0; i < 4; ++i) {
            const char c = char(id >> (24 - 8 * i));
            text[i] = c >= 32 && c < 127 ? c : '?';
        }
        text[4] = 0;
    }
};

// Reads inside [at, end); any read past end fails and sets `bad`.
struct Cursor {
    const uint8_t* data;
    int64_t at, end;
    bool bad = false;

    bool left(int64_t n) {
        if (!bad && n >= 0 && end - at >= n) return true;
        bad = true;
        return false;
    }
    uint32_t u4() {
        if (!left(4)) return 0;
        const uint8_t* p = data + at;
        at += 4;
        return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
    }
    uint32_t u2() {
        if (!left(2)) return 0;
        const uint8_t* p = data + at;
        at += 2;
        return uint32_t(p[0]) << 8 | p[1];
    }
    float f4() {
        const uint32_t bits = u4();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    int32_t vx() {
        if (!left(1)) return 0;
        if (data[at] == 0xFF) return int32_t(u4() & 0xFFFFFF);
        return int32_t(u2());
    }
    std::string s0() {
        int64_t n = 0;
        while (at + n < end && data[at + n])
            ++n;
        if (at + n >= end) {
            bad = true;
            return {};
        }
        std::string s(reinterpret_cast<const char*>(data + at), size_t(n));
        at += (n + 2) & ~int64_t(1);
        if (at > end) bad = true;
        return s;
    }
};

struct Tri {
    int32_t tag = 0;
    int32_t group = 0;
    int32_t surface = -1;
    int32_t points[3] = {};
    float normal[3] = {};
    float corner[3][3] = {};
};

struct Surface {
    std::string name;
    int32_t count = 0, first = -1, last = -1;
    float angle = 0.0f;
    float cosine = 1.0f;
};

struct UvEntry {
    int32_t point, poly;
    float s, t;
};

struct Reader {
    const char* path;
    std::vector<float> points; // 3 per point, editor axes
    std::vector<Tri> tris;
    std::vector<std::string> tags;
    std::vector<Surface> surfaces; // creation order; the list's head is the back
    std::vector<UvEntry> pointMaps, polyMaps;
    float bbox[6] = {};
    bool layer = false;
};

bool finite3(const float* v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

// (x, y, z) of the file stored as (x, z, y).
void readPoint(Cursor& c, float out[3]) {
    const float x = c.f4(), y = c.f4(), z = c.f4();
    out[0] = x;
    out[1] = z;
    out[2] = y;
}

bool chunkError(const Reader& r, uint32_t id) {
    Model::Error("LWO \"%s\": error parsing LWO chunk `%s'\n", r.path, IdText(id).text);
    return false;
}

bool readPnts(Reader& r, Cursor c, int32_t* firstPoint) {
    *firstPoint = int32_t(r.points.size() / 3);
    const int64_t n = (c.end - c.at) / 12;
    for (int64_t i = 0; i < n; ++i) {
        float p[3];
        readPoint(c, p);
        if (!finite3(p)) {
            Model::Error("LWO \"%s\": point %lld is not finite\n", r.path,
                         static_cast<long long>(r.points.size() / 3));
            return false;
        }
        r.points.insert(r.points.end(), p, p + 3);
    }
    return true;
}

bool readPols(Reader& r, Cursor c, int32_t firstPoint, int32_t* firstTri) {
    const uint32_t type = c.u4();
    if (type != id4("FACE")) {
        Model::Warning("LWO \"%s\": ignoring LWO polygon type `%s'\n", r.path, IdText(type).text);
        return true;
    }
    *firstTri = int32_t(r.tris.size());
    const int64_t pointCount = int64_t(r.points.size() / 3);
    while (c.at < c.end) {
        const uint32_t word = c.u2();
        const int32_t count = int32_t(word & 0x3FF);
        int32_t idx[3] = {};
        for (int32_t k = 0; k < count; ++k) {
            const int64_t p = int64_t(c.vx()) + firstPoint;
            if (c.bad) return chunkError(r, id4("POLS"));
            if (count == 3) {
                if (p >= pointCount) {
                    Model::Error("LWO \"%s\": polygon corner names point %lld beyond %lld points\n", r.path,
                                 static_cast<long long>(p), static_cast<long long>(pointCount));
                    return false;
                }
                idx[k] = int32_t(p);
            }
        }
        if (c.bad) return chunkError(r, id4("POLS"));
        if (count != 3) continue;
        Tri t;
        std::copy(idx, idx + 3, t.points);
        r.tris.push_back(t);
    }
    return true;
}

bool readPtag(Reader& r, Cursor c, int32_t firstTri, int32_t tagBase) {
    const uint32_t type = c.u4();
    const bool surf = type == id4("SURF"), group = type == id4("SMGP");
    if (!surf && !group) return true;
    while (c.at < c.end) {
        const int64_t poly = int64_t(c.vx()) + firstTri;
        const int32_t tag = c.vx();
        if (c.bad) return chunkError(r, id4("PTAG"));
        if (poly < 0 || poly >= int64_t(r.tris.size())) continue;
        (surf ? r.tris[size_t(poly)].tag : r.tris[size_t(poly)].group) = tag + tagBase;
    }
    return true;
}

bool readTags(Reader& r, Cursor c) {
    while (c.at < c.end) {
        std::string s = c.s0();
        if (c.bad) return chunkError(r, id4("TAGS"));
        r.tags.push_back(std::move(s));
    }
    return true;
}

bool readSurf(Reader& r, Cursor c) {
    Surface s;
    s.name = c.s0();
    c.s0();
    if (c.bad) return chunkError(r, id4("SURF"));
    while (c.end - c.at >= 6) {
        const uint32_t id = c.u4();
        const int64_t size = c.u2();
        const int64_t next = c.at + size + (size & 1);
        if (size > c.end - c.at) {
            Model::Error("LWO \"%s\": sub-chunk `%s' of %lld bytes beyond its SURF chunk\n", r.path,
                         IdText(id).text, static_cast<long long>(size));
            return false;
        }
        if (id == id4("SMAN") && size >= 4) {
            Cursor sub{c.data, c.at, c.at + size};
            s.angle = sub.f4();
            if (!std::isfinite(s.angle)) s.angle = 0.0f;
            s.cosine = K_Cos(s.angle);
        }
        c.at = std::min(next, c.end);
    }
    r.surfaces.push_back(std::move(s));
    return true;
}

bool readVmap(Reader& r, Cursor c, bool perPolygon) {
    const uint32_t id = perPolygon ? id4("VMAD") : id4("VMAP");
    if (c.u4() != id4("TXUV")) return true;
    const int32_t dim = int32_t(c.u2());
    c.s0();
    if (c.bad) return chunkError(r, id);
    // A map of fewer than two values per entry holds no texture coordinates: its entries are read
    // (each within the chunk) and left out, and the model loads with its other maps.
    const bool usable = dim >= 2;
    if (!usable)
        Model::Warning("LWO \"%s\": TXUV map of dimension %d gives no texture coordinates, ignored\n", r.path,
                       dim);
    while (c.at < c.end) {
        UvEntry e{};
        e.point = c.vx();
        e.poly = perPolygon ? c.vx() : -1;
        float values[2] = {};
        for (int32_t k = 0; k < dim && !c.bad; ++k) {
            const float v = c.f4();
            if (k < 2) values[k] = v;
        }
        if (c.bad) return chunkError(r, id);
        e.s = values[0];
        e.t = values[1];
        if (usable) (perPolygon ? r.polyMaps : r.pointMaps).push_back(e);
    }
    return true;
}

bool parse(Reader& r, const uint8_t* data, uint32_t size) {
    Cursor head{data, 0, int64_t(size)};
    const uint32_t form = head.u4();
    const int64_t formSize = head.u4();
    const uint32_t type = head.u4();
    if (form != id4("FORM")) {
        Model::Error("LWO \"%s\": bad LWO object id `%s'\n", r.path, IdText(form).text);
        return false;
    }
    if (type == id4("LWOB")) {
        Model::Error("LWO \"%s\": LWO format version 5.0 is not supported\n", r.path);
        return false;
    }
    if (type != id4("LWO2")) {
        Model::Error("LWO \"%s\": bad LWO object type `%s' (probably unsupported format version)\n", r.path,
                     IdText(type).text);
        return false;
    }
    if (formSize + 8 > int64_t(size)) {
        Model::Error("LWO \"%s\": FORM of %lld bytes beyond the %u bytes of the file\n", r.path,
                     static_cast<long long>(formSize), size);
        return false;
    }
    const int64_t end = formSize + 8;
    int32_t firstPoint = 0, firstTri = 0, tagBase = 0;
    int64_t at = 12;
    while (end - at >= 8) {
        Cursor h{data, at, end};
        const uint32_t id = h.u4();
        const int64_t chunkSize = h.u4();
        if (chunkSize > end - h.at) {
            Model::Error("LWO \"%s\": chunk `%s' of %lld bytes beyond the end of the FORM\n", r.path,
                         IdText(id).text, static_cast<long long>(chunkSize));
            return false;
        }
        const Cursor c{data, h.at, h.at + chunkSize};
        at = h.at + chunkSize + (chunkSize & 1);
        bool ok = true;
        if (id == id4("BBOX")) {
            Cursor b = c;
            readPoint(b, r.bbox);
            readPoint(b, r.bbox + 3);
            if (b.bad || !finite3(r.bbox) || !finite3(r.bbox + 3)) {
                Model::Error("LWO \"%s\": bad BBOX\n", r.path);
                return false;
            }
        } else if (id == id4("LAYR")) {
            r.layer = true; // the header itself (number, flags, pivot) is not used for drawing
        } else if (id == id4("PNTS")) {
            if (chunkSize >= 12) ok = readPnts(r, c, &firstPoint);
        } else if (id == id4("POLS")) {
            if (chunkSize >= 12) ok = readPols(r, c, firstPoint, &firstTri);
        } else if (id == id4("PTAG")) {
            ok = readPtag(r, c, firstTri, tagBase);
        } else if (id == id4("TAGS")) {
            tagBase = int32_t(r.tags.size());
            ok = readTags(r, c);
        } else if (id == id4("SURF")) {
            ok = readSurf(r, c);
        } else if (id == id4("VMAP") || id == id4("VMAD")) {
            ok = readVmap(r, c, id == id4("VMAD"));
        }
        if (!ok) return false;
    }
    if (!r.layer) {
        Model::Error("LWO \"%s\": LWO has no layers!\n", r.path);
        return false;
    }
    return true;
}

// Surfaces in list order: the head (newest) first.
int32_t findSurface(const Reader& r, const std::string& name) {
    for (int32_t i = int32_t(r.surfaces.size()) - 1; i >= 0; --i)
        if (r.surfaces[size_t(i)].name == name) return i;
    return -1;
}

bool link(Reader& r) {
    if (r.tags.empty()) return true;
    std::vector<int32_t> tagSurface(r.tags.size());
    for (size_t i = 0; i < r.tags.size(); ++i) {
        int32_t s = findSurface(r, r.tags[i]);
        if (s < 0) {
            Surface fresh;
            fresh.name = r.tags[i];
            r.surfaces.push_back(fresh);
            s = int32_t(r.surfaces.size()) - 1;
        }
        tagSurface[i] = s;
    }
    for (size_t t = 0; t < r.tris.size(); ++t) {
        Tri& tri = r.tris[t];
        if (tri.tag < 0 || size_t(tri.tag) >= r.tags.size()) {
            Model::Error("LWO \"%s\": LWO failed to link shader names to polygons!\n", r.path);
            return false;
        }
        tri.surface = tagSurface[size_t(tri.tag)];
        Surface& s = r.surfaces[size_t(tri.surface)];
        ++s.count;
        if (s.first < 0) s.first = int32_t(t);
        s.last = int32_t(t);
    }
    return true;
}

bool smooth(Reader& r) {
    const int32_t pointCount = int32_t(r.points.size() / 3);
    const float(*p)[3] = reinterpret_cast<const float(*)[3]>(r.points.data());
    std::vector<int32_t> corners(r.tris.size() * 3);
    for (size_t t = 0; t < r.tris.size(); ++t) {
        Tri& tri = r.tris[t];
        std::copy(tri.points, tri.points + 3, &corners[3 * t]);
        const float* a = p[tri.points[0]];
        const float* b = p[tri.points[1]];
        const float* c = p[tri.points[2]];
        const float u[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const float v[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        tri.normal[0] = u[1] * v[2] - u[2] * v[1];
        tri.normal[1] = u[2] * v[0] - u[0] * v[2];
        tri.normal[2] = u[0] * v[1] - u[1] * v[0];
        K_VectorNormalizeFast(tri.normal);
    }
    MeshPointFaces lists;
    if (!Mesh_PointFaces(corners.data(), int32_t(r.tris.size()), pointCount, &lists)) {
        Model::Error("LWO \"%s\": LWO failed to calculate normals!\n", r.path);
        return false;
    }
    for (size_t t = 0; t < r.tris.size(); ++t) {
        Tri& tri = r.tris[t];
        const Surface* s = tri.surface >= 0 ? &r.surfaces[size_t(tri.surface)] : nullptr;
        for (int k = 0; k < 3; ++k) {
            float* n = tri.corner[k];
            std::copy(tri.normal, tri.normal + 3, n);
            if (!s || s->angle <= 0.0f) continue;
            const int32_t point = tri.points[k];
            for (int32_t at = lists.start[point]; at < lists.ends[point]; ++at) {
                const Tri& other = r.tris[size_t(lists.faces[at])];
                if (&other == &tri || other.group != tri.group) continue;
                const float dot = other.normal[0] * tri.normal[0] + other.normal[1] * tri.normal[1] +
                                  other.normal[2] * tri.normal[2];
                if (dot >= s->cosine)
                    for (int c = 0; c < 3; ++c)
                        n[c] += other.normal[c];
            }
            K_VectorNormalizeFast(n);
        }
    }
    Mesh_FreePointFaces(&lists);
    return true;
}

// A corner's texture coordinate from the maps, in attachment order: point entries, then the
// corner's own polygon entries.
struct UvLists {
    std::vector<std::vector<int32_t>> byPoint;
    std::vector<std::vector<int32_t>> byCorner; // 3 per triangle
};

UvLists attachMaps(const Reader& r) {
    UvLists lists;
    const size_t pointCount = r.points.size() / 3;
    lists.byPoint.resize(pointCount);
    lists.byCorner.resize(r.tris.size() * 3);
    for (size_t i = 0; i < r.pointMaps.size(); ++i) {
        const UvEntry& e = r.pointMaps[i];
        if (e.point >= 0 && size_t(e.point) < pointCount)
            lists.byPoint[size_t(e.point)].push_back(int32_t(i));
    }
    for (size_t i = 0; i < r.polyMaps.size(); ++i) {
        const UvEntry& e = r.polyMaps[i];
        if (e.poly < 0 || size_t(e.poly) >= r.tris.size()) continue;
        const Tri& tri = r.tris[size_t(e.poly)];
        for (int k = 0; k < 3; ++k)
            if (tri.points[k] == e.point) {
                lists.byCorner[size_t(e.poly) * 3 + size_t(k)].push_back(int32_t(i));
                break;
            }
    }
    return lists;
}

MeshModel* assemble(Reader& r, ModelCacheEntry* entry) {
    std::vector<int32_t> order; // surfaces with triangles, in list order
    for (int32_t i = int32_t(r.surfaces.size()) - 1; i >= 0; --i)
        if (r.surfaces[size_t(i)].count > 0) order.push_back(i);
    const int64_t pointCount = int64_t(r.points.size() / 3);
    if (order.empty() || !Model::ReserveScratch(pointCount)) {
        Model::Error("LWO \"%s\": LWO failed to assemble model!\n", r.path);
        return nullptr;
    }
    auto* m = static_cast<MeshModel*>(Model::Alloc(sizeof(MeshModel)));
    if (!m) return nullptr;
    m->withOrigin = true;
    m->positions = static_cast<float(*)[3]>(Model::Alloc(uint64_t(pointCount) * 12 + 12));
    m->surfaces = static_cast<MeshSurface*>(Model::Alloc(sizeof(MeshSurface) * order.size()));
    if (!m->positions || !m->surfaces) {
        Model::Error("LWO \"%s\": LWO failed to assemble model!\n", r.path);
        Mesh_Free(m);
        return nullptr;
    }
    std::memcpy(m->positions, r.points.data(), r.points.size() * sizeof(float));
    m->pointCount = int32_t(pointCount);
    const bool noBox = std::all_of(r.bbox, r.bbox + 6, [](float v) { return v == 0.0f; });
    if (noBox) {
        K_ClearBounds(m->mins, m->maxs);
        for (int64_t i = 0; i < pointCount; ++i)
            K_AddPointToBounds(m->positions[i], m->mins, m->maxs);
    } else {
        std::copy(r.bbox, r.bbox + 3, m->mins);
        std::copy(r.bbox + 3, r.bbox + 6, m->maxs);
    }
    // Mapping axes: A the largest extent, B the second (ties keep the earlier axis larger).
    float extent[3];
    for (int i = 0; i < 3; ++i)
        extent[i] = pointCount ? m->maxs[i] - m->mins[i] : 0.0f;
    int axes[3] = {0, 1, 2};
    std::stable_sort(axes, axes + 3, [&](int a, int b) { return extent[a] > extent[b]; });
    const int a = axes[0], b = axes[1];
    const float ea = extent[a] == 0.0f ? 1.0f : extent[a];
    const float eb = extent[b] == 0.0f ? 1.0f : extent[b];
    const UvLists maps = attachMaps(r);
    cNormalIndex normals;
    bool warned = false;
    for (int32_t si : order) {
        const Surface& s = r.surfaces[size_t(si)];
        MeshSurface& out = m->surfaces[m->surfaceCount++];
        if (!s.name.empty()) {
            char name[260];
            std::snprintf(name, sizeof name, "%s", s.name.c_str());
            out.effect = Model::AcquireEffect(name, 0x400, entry, false);
        }
        out.corners = static_cast<MeshCorner*>(Model::Alloc(sizeof(MeshCorner) * uint64_t(s.count) * 3));
        if (!out.corners) {
            Model::Error("LWO \"%s\": LWO failed to assemble model!\n", r.path);
            Mesh_Free(m);
            return nullptr;
        }
        for (int32_t t = s.first; t <= s.last; ++t) {
            const Tri& tri = r.tris[size_t(t)];
            if (tri.surface != si) continue;
            for (int k = 0; k < 3; ++k) {
                MeshCorner& c = out.corners[out.cornerCount++];
                c.position = tri.points[k];
                int32_t n = normals.findOrAdd(tri.corner[k], kMaxNormals);
                if (n < 0) {
                    if (!warned) Model::Warning("LWO \"%s\": too many normals in model", r.path);
                    warned = true;
                    n = 0;
                }
                c.normal = n;
                c.st[0] = 4.0f / ea * m->positions[c.position][a];
                c.st[1] = 4.0f / eb * m->positions[c.position][b];
                auto apply = [&](const std::vector<UvEntry>& from, const std::vector<int32_t>& list) {
                    for (int32_t e : list) {
                        c.st[0] = from[size_t(e)].s;
                        c.st[1] = 1.0f - from[size_t(e)].t;
                    }
                };
                apply(r.pointMaps, maps.byPoint[size_t(c.position)]);
                apply(r.polyMaps, maps.byCorner[size_t(t) * 3 + size_t(k)]);
            }
        }
    }
    m->normalCount = normals.size();
    if (m->normalCount) {
        m->normals = static_cast<float(*)[3]>(Model::Alloc(uint64_t(m->normalCount) * 12));
        if (!m->normals || !Model::ReserveScratch(m->normalCount)) {
            Model::Error("LWO \"%s\": LWO failed to assemble model!\n", r.path);
            Mesh_Free(m);
            return nullptr;
        }
        std::memcpy(m->normals, normals.data(), size_t(m->normalCount) * 12);
    }
    return m;
}

} // namespace

int32_t Lwo_Load(const char* path, const uint8_t* data, uint32_t size, ModelCacheEntry* entry) {
    if (!data || size <= 12 || !entry) return 0;
    Reader r;
    r.path = path ? path : "";
    if (!parse(r, data, size) || !link(r) || !smooth(r)) return 0;
    MeshModel* model = assemble(r, entry);
    if (!model) return 0;
    Mesh_Bounds(model, 0, nullptr, entry->mins, entry->maxs);
    entry->data = model;
    return 1;
}
