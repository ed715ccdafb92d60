// The map compilers' diagnostic files loaded over a world: the leak trace of a pointfile
// (".lin", ".pts"), the visibility portals of a portal file (".prt") and the clipping-hull
// surfaces of a hull file (".p0" to ".p3"). Each world holds at most one of each kind; loading
// replaces the previous one. Failures are reported in the console and keep what was read so far.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

struct MapWorld;
struct RenderContext;
struct cWinding;

// One point of the leak trace; the array is handed to OpenGL interleaved (colour, then position).
struct PointfilePoint {
    uint8_t color[4]; // red, green, blue, alpha
    float xyz[3];
};
static_assert(std::is_standard_layout_v<PointfilePoint>);
static_assert(sizeof(PointfilePoint) == 16 && offsetof(PointfilePoint, xyz) == 4);

// The only portal file format understood.
inline constexpr int32_t kPortalFormatPrt1 = 1;

// Each loader drops what the world held of its kind, reads the file and answers how many points,
// portals or surfaces are loaded now (those before a fault in the file are kept).

// Reads the pointfile, colouring the trace from red at its start towards blue at its end.
int32_t Map_LoadPointfile(MapWorld* world, const char* path);
// Reads a portal file of the given format (kPortalFormatPrt1; any other is refused).
int32_t Map_LoadPortalFile(MapWorld* world, const char* path, int32_t format);
int32_t Map_LoadHullFile(MapWorld* world, const char* path);

// Frees the points (count 0).
void Map_UnloadPointfile(MapWorld* world);
// Returns every portal winding to the pool and empties the list.
void Map_ClearPortals(MapWorld* world);
// Returns every hull winding to the pool and empties the list.
void Map_UnloadHulls(MapWorld* world);
// All three; for clearing and destroying the world.
void Map_UnloadCompilerOverlays(MapWorld* world);

// The loaded data. Portal and hull lists are linked through cWinding::next, newest first.
const PointfilePoint* Map_PointfilePoints(const MapWorld* world);
int32_t Map_PointfileCount(const MapWorld* world);
const cWinding* Map_Portals(const MapWorld* world);
const cWinding* Map_Hulls(const MapWorld* world);

// ---- Drawing over the map ----
// The leak trace as one line strip of width 3 in its point colours (interleaved arrays through
// the view's state cache).
void Map_DrawPointfile(MapWorld* world, RenderContext* context);
// Every portal as a blue closed line of width 3; only the camera view shows portals.
void Map_DrawPortals(MapWorld* world, RenderContext* context);
// Every hull surface as an orange closed line of width 3; the camera view also fills them at a
// quarter opacity, pushed back by the polygon offset so the outline stays on top.
void Map_DrawHulls(MapWorld* world, RenderContext* context);
