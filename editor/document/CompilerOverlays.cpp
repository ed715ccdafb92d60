#include "document/CompilerOverlays.h"

#include <GL/gl.h>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/System.h"
#include "core/Winding.h"
#include "document/MapWorld.h"
#include "render/GLStateCache.h"
#include "render/RenderContext.h"

namespace {

// A whole text file in memory, read line by line or with scanf-like steps. Lines end at "\n";
// a "\r" before it is dropped, so CRLF and LF files read alike. Lines are never cut at a length.
class cOverlayFile {
public:
    // False with the system's error text in *error.
    bool open(const char* path, const char** error) {
        std::FILE* file = std::fopen(path, "rb");
        if (!file) {
            *error = std::strerror(errno);
            return false;
        }
        struct stat info {};
        if (fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
            std::fclose(file);
            *error = std::strerror(EISDIR);
            return false;
        }
        char block[65536];
        size_t got;
        while ((got = std::fread(block, 1, sizeof(block), file)) > 0)
            m_text.append(block, got);
        const bool failed = std::ferror(file);
        const int code = errno;
        std::fclose(file);
        if (failed) {
            *error = std::strerror(code ? code : EIO);
            return false;
        }
        return true;
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    size_t tell() const { return m_pos; }
    void seek(size_t pos) { m_pos = pos < m_text.size() ? pos : m_text.size(); }

    // The next line without its end; false at the end of the text.
    bool readLine(std::string* line) {
        if (atEnd()) return false;
        const size_t newline = m_text.find('\n', m_pos);
        const size_t end = newline == std::string::npos ? m_text.size() : newline;
        line->assign(m_text, m_pos, end - m_pos);
        if (!line->empty() && line->back() == '\r') line->pop_back();
        m_pos = newline == std::string::npos ? m_text.size() : newline + 1;
        return true;
    }

    size_t countLines() {
        const size_t saved = m_pos;
        m_pos = 0;
        size_t lines = 0;
        std::string line;
        while (readLine(&line))
            ++lines;
        m_pos = saved;
        return lines;
    }

    void skipSpace() {
        while (!atEnd() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
    }
    bool expect(char c) {
        if (atEnd() || m_text[m_pos] != c) return false;
        ++m_pos;
        return true;
    }
    // "%i": decimal, octal or hex, leading white space (line ends included) skipped.
    bool scanInt(long* out) {
        skipSpace();
        const char* start = m_text.c_str() + m_pos;
        char* end = nullptr;
        *out = std::strtol(start, &end, 0);
        if (end == start) return false;
        m_pos += size_t(end - start);
        return true;
    }
    // "%f", refusing values that are not finite.
    bool scanFloat(float* out) {
        skipSpace();
        const char* start = m_text.c_str() + m_pos;
        char* end = nullptr;
        *out = std::strtof(start, &end);
        if (end == start || !std::isfinite(*out)) return false;
        m_pos += size_t(end - start);
        return true;
    }

private:
    std::string m_text;
    size_t m_pos = 0;
};

// sscanf "%i %i ..." over one line (base 0; base 10 reads like atoi): how many integers were
// read before the first failure.
int scanInts(const std::string& line, long* out, int max, int base = 0) {
    const char* p = line.c_str();
    int n = 0;
    while (n < max) {
        char* end = nullptr;
        const long value = std::strtol(p, &end, base);
        if (end == p) break;
        out[n++] = value;
        p = end;
    }
    return n;
}

// sscanf "%f %f %f" over one line; non-finite values end the scan.
int scanFloats(const std::string& line, float* out, int max) {
    const char* p = line.c_str();
    int n = 0;
    while (n < max) {
        char* end = nullptr;
        const float value = std::strtof(p, &end);
        if (end == p || !std::isfinite(value)) break;
        out[n++] = value;
        p = end;
    }
    return n;
}

int clampToInt(long value) {
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : int(value);
}

bool validPointCount(long count) {
    return count >= 3 && count <= cWinding::MaxPoints;
}

PointfilePoint* pointsOf(const MapWorld* world) {
    return reinterpret_cast<PointfilePoint*>(world->pointfilePoints);
}

// The world's list heads may be typed or untyped pointers.
template <class Head> void freeWindingList(Head& head) {
    auto* w = static_cast<cWinding*>(head);
    while (w) {
        cWinding* next = w->next;
        w->next = nullptr;
        cWinding::Free(w);
        w = next;
    }
    head = nullptr;
}

template <class Head> void pushWinding(Head& head, cWinding* w) {
    w->next = static_cast<cWinding*>(head);
    head = w;
}

bool openOrReport(cOverlayFile* file, const char* path) {
    const char* error = "";
    if (file->open(path, &error)) return true;
    Sys_Error("can't open \"%s\" (%s)", path, error);
    return false;
}

float distance(const PointfilePoint& a, const PointfilePoint& b) {
    const float dx = a.xyz[0] - b.xyz[0], dy = a.xyz[1] - b.xyz[1], dz = a.xyz[2] - b.xyz[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Colours the trace from red at its start towards blue at its end by path length; point j
// takes the length up to point j - 1.
void colourTrace(PointfilePoint* points, int32_t count) {
    float total = 0.0f;
    for (int32_t j = 1; j < count; ++j)
        total += distance(points[j], points[j - 1]);
    if (!(total > 0.0f) || !std::isfinite(total)) return;
    float length = 0.0f; // from the first point to point j - 1
    for (int32_t j = 0; j < count; ++j) {
        if (j >= 2) length += distance(points[j - 1], points[j - 2]);
        const float f = length / total;
        points[j].color[0] = uint8_t(int((1.0f - f) * 255.0f));
        points[j].color[2] = uint8_t(int(f * 255.0f));
    }
}

} // namespace

// ---- Pointfile ---------------------------------------------------------------------------------

void Map_UnloadPointfile(MapWorld* world) {
    if (!world) return;
    std::free(pointsOf(world));
    world->pointfilePoints = nullptr;
    world->pointfileCount = 0;
}

int32_t Map_LoadPointfile(MapWorld* world, const char* path) {
    if (!world || !path) return 0;
    Map_UnloadPointfile(world);
    Sys_Printf("Loading: \"%s\"", path);
    cOverlayFile file;
    if (!openOrReport(&file, path)) return 0;

    const size_t lines = file.countLines();
    if (lines == 0) {
        Sys_Warning("%s: pointfile is empty", path);
        return 0;
    }
    PointfilePoint* points = nullptr;
    if (lines <= size_t(INT32_MAX) && lines <= SIZE_MAX / sizeof(PointfilePoint))
        points = static_cast<PointfilePoint*>(std::calloc(lines, sizeof(PointfilePoint)));
    if (!points) {
        Sys_Error("couldn't allocate %i points for \"%s\"", int(lines > size_t(INT_MAX) ? INT_MAX : lines),
                  path);
        return 0;
    }

    int32_t count = 0;
    std::string line;
    while (size_t(count) < lines && file.readLine(&line)) {
        PointfilePoint& p = points[count];
        if (scanFloats(line, p.xyz, 3) < 3) break;
        p.color[3] = 255;
        ++count;
    }
    colourTrace(points, count);
    world->pointfilePoints = reinterpret_cast<decltype(world->pointfilePoints)>(points);
    world->pointfileCount = count;
    Sys_Printf("%i points read", count);
    return count;
}

// ---- Portal file -------------------------------------------------------------------------------

void Map_ClearPortals(MapWorld* world) {
    if (world) freeWindingList(world->portalWindings);
}

int32_t Map_LoadPortalFile(MapWorld* world, const char* path, int32_t format) {
    if (!world || !path) return 0;
    Map_ClearPortals(world);
    if (format != kPortalFormatPrt1) {
        Sys_Error("unknown portal file format (%i)", format);
        return 0;
    }
    Sys_Printf("Loading: \"%s\"", path);
    cOverlayFile file;
    if (!openOrReport(&file, path)) return 0;

    // "PRT1", the leaf count, the portal count; without "PRT1" the second line is the count.
    std::string first, second, third;
    if (!file.readLine(&first) || !file.readLine(&second)) {
        Sys_Error("error reading \"%s\"", path);
        return 0;
    }
    const std::string* countLine = &second;
    if (first.compare(0, 4, "PRT1") == 0) {
        if (!file.readLine(&third)) {
            Sys_Error("error reading \"%s\"", path);
            return 0;
        }
        countLine = &third;
    }
    long declared = 0;
    if (scanInts(*countLine, &declared, 1, 10) < 1 || declared <= 0) {
        Sys_Warning("%s: portal file is empty", path);
        return 0;
    }

    int32_t read = 0;
    for (long i = 0; i < declared; ++i) {
        const size_t lineStart = file.tell();
        long header[3];
        if (!file.scanInt(&header[0]) || !file.scanInt(&header[1]) || !file.scanInt(&header[2])) {
            Sys_Warning("%s: portal file is incomplete", path);
            break;
        }
        const long pointCount = header[0];
        if (!validPointCount(pointCount)) {
            Sys_Warning("%s: portal file is corrupt ( nPoints = %i )", path, clampToInt(pointCount));
            break;
        }
        cWinding* w = cWinding::Alloc();
        w->count = int32_t(pointCount);
        bool complete = true;
        for (int32_t j = 0; j < w->count && complete; ++j) {
            file.skipSpace();
            complete = file.expect('(') && file.scanFloat(&w->points[j][0]) &&
                       file.scanFloat(&w->points[j][1]) && file.scanFloat(&w->points[j][2]);
            file.skipSpace();
            complete = complete && file.expect(')');
        }
        if (!complete) {
            Sys_Warning("%s: portal file is incomplete", path);
            cWinding::Free(w);
            break;
        }
        pushWinding(world->portalWindings, w);
        ++read;
        // Whatever follows the last point belongs to this portal's line.
        file.seek(lineStart);
        file.skipSpace();
        std::string rest;
        file.readLine(&rest);
    }
    Sys_Printf("%i portals read", read);
    return read;
}

// ---- Hull file ---------------------------------------------------------------------------------

void Map_UnloadHulls(MapWorld* world) {
    if (world) freeWindingList(world->hullWindings);
}

int32_t Map_LoadHullFile(MapWorld* world, const char* path) {
    if (!world || !path) return 0;
    Map_UnloadHulls(world);
    Sys_Printf("Loading: \"%s\"", path);
    cOverlayFile file;
    if (!openOrReport(&file, path)) return 0;

    int32_t read = 0;
    std::string line;
    for (;;) {
        bool gotHeader = false;
        while (file.readLine(&line)) {
            if (!line.empty()) {
                gotHeader = true;
                break;
            }
        }
        if (!gotHeader) break; // the end of the file where a surface may begin
        long header[5];
        const int numbers = scanInts(line, header, 5);
        if (numbers < 4) {
            Sys_Warning("%s: hull file is incomplete", path);
            break;
        }
        const long pointCount = header[numbers - 1];
        if (!validPointCount(pointCount)) {
            Sys_Warning("%s: hull file is corrupt ( nPoints = %i )", path, clampToInt(pointCount));
            break;
        }
        cWinding* w = cWinding::Alloc();
        w->count = int32_t(pointCount);
        bool complete = true;
        for (int32_t j = 0; j < w->count && complete; ++j)
            complete = file.readLine(&line) && scanFloats(line, w->points[j], 3) == 3;
        if (!complete) {
            Sys_Warning("%s: hull file is incomplete", path);
            cWinding::Free(w);
            break;
        }
        pushWinding(world->hullWindings, w);
        ++read;
    }
    Sys_Printf("%i surfaces read", read);
    return read;
}

// ---- All ---------------------------------------------------------------------------------------

void Map_UnloadCompilerOverlays(MapWorld* world) {
    Map_UnloadPointfile(world);
    Map_ClearPortals(world);
    Map_UnloadHulls(world);
}

const PointfilePoint* Map_PointfilePoints(const MapWorld* world) {
    return world ? pointsOf(world) : nullptr;
}

int32_t Map_PointfileCount(const MapWorld* world) {
    return world ? world->pointfileCount : 0;
}

const cWinding* Map_Portals(const MapWorld* world) {
    return world ? static_cast<const cWinding*>(world->portalWindings) : nullptr;
}

const cWinding* Map_Hulls(const MapWorld* world) {
    return world ? static_cast<const cWinding*>(world->hullWindings) : nullptr;
}

// ---- Drawing ----------------------------------------------------------------------------------

namespace {

constexpr uint32_t kCullNone = 0x100000;

void drawWindings(const cWinding* list, GLenum primitive, GLStateCache* cache) {
    for (const cWinding* w = list; w; w = w->next) {
        const int32_t count = std::clamp(w->count, 0, cWinding::MaxPoints);
        if (count < 2) continue;
        if (cache)
            Render_VertexPointer(cache, 0, w->points);
        else
            glVertexPointer(3, GL_FLOAT, 0, w->points);
        glDrawArrays(primitive, 0, count);
    }
}

} // namespace

void Map_DrawPointfile(MapWorld* world, RenderContext* context) {
    const PointfilePoint* points = Map_PointfilePoints(world);
    const int32_t count = Map_PointfileCount(world);
    if (!points || count <= 0 || !context) return;
    GLStateCache* cache = context->stateCache;
    if (cache) {
        Render_ColorPointer(cache, sizeof(PointfilePoint), points->color);
        Render_VertexPointer(cache, sizeof(PointfilePoint), points->xyz);
    } else {
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(PointfilePoint), points->color);
        glVertexPointer(3, GL_FLOAT, sizeof(PointfilePoint), points->xyz);
    }
    glEnableClientState(GL_COLOR_ARRAY);
    glLineWidth(3.0f);
    glDrawArrays(GL_LINE_STRIP, 0, count);
    glLineWidth(1.0f);
    glDisableClientState(GL_COLOR_ARRAY);
}

void Map_DrawPortals(MapWorld* world, RenderContext* context) {
    const cWinding* portals = Map_Portals(world);
    if (!portals || !context || !context->is3D) return;
    glColor4f(0.0f, 0.0f, 1.0f, 1.0f);
    glLineWidth(3.0f);
    drawWindings(portals, GL_LINE_LOOP, context->stateCache);
    glLineWidth(1.0f);
}

void Map_DrawHulls(MapWorld* world, RenderContext* context) {
    const cWinding* hulls = Map_Hulls(world);
    if (!hulls || !context) return;
    glColor4f(1.0f, 0.5f, 0.1f, 1.0f);
    glLineWidth(3.0f);
    drawWindings(hulls, GL_LINE_LOOP, context->stateCache);
    glLineWidth(1.0f);
    if (!context->is3D) return;
    GLStateCache* cache = context->stateCache;
    const uint32_t word = cache ? cache->state : GLS::Opaque;
    glColor4f(1.0f, 0.5f, 0.1f, 0.25f);
    glEnable(GL_POLYGON_OFFSET_FILL);
    // Both sides show: the file does not say which way a surface faces.
    if (cache) GL_State(cache, (word & ~(GLS::BlendMask | GLS::CullMask)) | 0x65 | kCullNone);
    drawWindings(hulls, GL_TRIANGLE_FAN, cache);
    if (cache) GL_State(cache, word);
    glDisable(GL_POLYGON_OFFSET_FILL);
}
