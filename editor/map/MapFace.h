// Faces: one planar side of a brush, its polygon and the texture mapped onto it.
// cMapFace is the handle; FaceRecord (with its separate FaceVertex array) is what plugins,
// project files and undo snapshots read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "map/MapDrawable.h"
#include "map/TextureInfo.h"

class cMapFace;
struct BrushRecord;
struct EffectBatch;
struct FaceSource;
struct RenderContext;
struct RenderCounters;
struct ShaderRecord;
struct ShaderStage;
struct TransformPreview;

// Polygons, windings and face snapshots hold at most this many vertices.
constexpr int32_t kFaceMaxVertices = 128;

// Bits of FaceRecord::flags.
namespace FaceFlags {
constexpr uint32_t Selected = 0x2;
constexpr uint32_t NeedsUpdate = 0x4;
constexpr uint32_t Blended = 0x10;
constexpr uint32_t DecalRebuild = 0x800;
constexpr uint32_t ResetAxes = 0x1000; // derive the texture axes anew at the next update
} // namespace FaceFlags

// Bits of the argument of cMapFace::update.
namespace FaceUpdate {
constexpr uint32_t Plane = 0x2;      // plane from the vertices
constexpr uint32_t Polygon = 0x4;    // polygon from the brush's planes
constexpr uint32_t ResetAxes = 0x8;  // texture axes from the alignment bits
constexpr uint32_t TexCoords = 0x10; // coordinates from the mapping even with UV lock on
constexpr uint32_t PowerOfTwo = 0x2000;
} // namespace FaceUpdate

// Bits of FaceVertex::flags.
namespace FaceVertexFlags {
constexpr int32_t Inserted = 0x1;
} // namespace FaceVertexFlags

// GL primitive numbers kept in the handle for drawing.
namespace FacePrimitive {
constexpr int32_t Triangles = 4;
constexpr int32_t Quads = 7;
constexpr int32_t Polygon = 9;
} // namespace FacePrimitive

struct FaceVertex {
    float xyz[3];
    float s; // texture coordinates in repeats of the texture
    float t;
    int32_t flags; // FaceVertexFlags
};
static_assert(sizeof(FaceVertex) == 24);
static_assert(offsetof(FaceVertex, s) == 12 && offsetof(FaceVertex, flags) == 20);

struct FaceRecord {
    cMapFace* handle; // null in a detached copy
    FaceRecord* next;
    FaceRecord* prev;
    FaceRecord* selNext;
    FaceRecord* selPrev;
    FaceSource* source; // what the map file gave (FaceSource.h): owned, from Sys_Alloc, or null
    BrushRecord* brush;
    ShaderRecord* texture; // holds one reference
    // Place of the face in its brush in map and project files, from 1 (0: none, list order).
    // Faces read keep the file's order; a face added later comes after the brush's others.
    int32_t fileOrder;
    uint32_t flags; // FaceFlags
    int32_t serial;
    float normal[3];
    float dist;
    int32_t axialType; // 0..2 axial, 3 general
    TextureInfo texInfo;
    float mins[3];
    float maxs[3];
    int32_t vertexCount;
    int32_t pad252;
    FaceVertex* vertices; // zero-filled, vertexCount entries; owned by the handle (never freed by others)
};
static_assert(std::is_standard_layout_v<FaceRecord>);
static_assert(sizeof(FaceRecord) == 264);
static_assert(offsetof(FaceRecord, next) == 8 && offsetof(FaceRecord, prev) == 16);
static_assert(offsetof(FaceRecord, source) == 40 && offsetof(FaceRecord, fileOrder) == 64);
static_assert(offsetof(FaceRecord, selNext) == 24 && offsetof(FaceRecord, selPrev) == 32);
static_assert(offsetof(FaceRecord, brush) == 48 && offsetof(FaceRecord, texture) == 56);
static_assert(offsetof(FaceRecord, flags) == 68 && offsetof(FaceRecord, serial) == 72);
static_assert(offsetof(FaceRecord, normal) == 76 && offsetof(FaceRecord, dist) == 88);
static_assert(offsetof(FaceRecord, axialType) == 92 && offsetof(FaceRecord, texInfo) == 96);
static_assert(offsetof(FaceRecord, mins) == 224 && offsetof(FaceRecord, maxs) == 236);
static_assert(offsetof(FaceRecord, vertexCount) == 248 && offsetof(FaceRecord, vertices) == 256);

// Alignment modes of cMapFace::alignTexture.
namespace TexAlignMode {
constexpr int32_t Top = 0;
constexpr int32_t Bottom = 1;
constexpr int32_t Left = 2;
constexpr int32_t Right = 3;
constexpr int32_t Center = 4;
constexpr int32_t Fit = 5;
} // namespace TexAlignMode

// The display colour (cMapObject::displayColor) is the brush's, copied at every brush update.
class cMapFace : public cMapDrawable {
public:
    FaceRecord* record;
    float shade = 1.0f;
    int32_t glPrimitive = FacePrimitive::Polygon;
    float centre[3] = {0, 0, 0};

    // A zero-filled record with a zero-filled array of vertexCount vertices (clamped to
    // 0..kFaceMaxVertices with a warning).
    explicit cMapFace(int32_t vertexCount = 0);
    ~cMapFace() override;
    cMapFace(const cMapFace&) = delete;
    cMapFace& operator=(const cMapFace&) = delete;

    static cMapFace* fromRecord(const FaceRecord* face) { return face ? face->handle : nullptr; }

    // ---- Geometry ----
    // False when the polygon vanished: the face has then removed and deleted itself.
    bool update(uint32_t flags);
    // What follows from a settled plane, polygon and axes: bounds, shade, alignment, texture
    // coordinates (from the mapping when fromMapping or without UV lock, else the mapping solved
    // from them) and the primitive; clears the update mark.
    void refresh(bool fromMapping);
    void computePlane();
    bool rebuildPolygon();
    void computeBounds();
    bool isPlanar(const char** message) const;
    // Replaces the vertex array by count zero-filled vertices; refused (false, warning) above
    // kFaceMaxVertices.
    bool setVertexCount(int32_t count);
    bool insertVertex(int32_t index, const float point[3]);
    void reverseVertices();
    void updatePrimitive();

    // ---- Texture (FaceTexture.cpp) ----
    void setTextureInfo(const TextureInfo* info);
    void setTextureName(const char* name);
    int32_t findBaseAxis() const;
    void getBaseTextureAxes(float s[3], float t[3]) const;
    void resetTextureAxes();
    void detectTextureAlignment();
    void rotateTextureAxes(float degrees);
    bool hasValidTextureAxes() const;
    void rescaleToPowerOfTwo();
    void wrapTextureShift();
    void computeTexCoords();
    void solveTextureFromTexCoords();
    // m is a row-major 3x4 matrix (rotation in columns 0..2, translation in column 3).
    void transformTexture(const float origin[3], const float m[12], bool keepScale);
    void alignTexture(int32_t mode, const float extremes[6][3], float repeatS, float repeatT);
    void wrapTextureFrom(const FaceRecord* other);
    void getExtremeVertices(float out[6][3]) const;
    // extents: smin, smax, tmin, tmax
    void getTextureExtents(const float extremes[6][3], float extents[4]) const;
    // The bound texture's size, each at least 1.
    void textureSize(int32_t* width, int32_t* height) const;

    // Drops the bound texture's reference.
    void releaseTexture();
    // A copy of the other face's source block (none when it has none).
    void copySource(const FaceRecord* other);

    // Takes the face out of the selection and its brush and deletes the handle (a vanished
    // polygon or a duplicate plane).
    void removeSelf();
    // A vanished polygon or a duplicate plane: a face with the points of a file moves to its
    // brush's kept faces (BrushRecord::keptFaces), to be written back; any other is removed.
    void vanish();

    // ---- Drawing (FaceDraw.cpp) ----
    // Not waiting for an update, not hidden by the texture-category filters, not edge-on in a 2D
    // view, and in 3D with the back-face switch not more than 2 units behind the eye (unless the
    // effect is two-sided).
    bool isVisible(const RenderContext* context) const;
    bool isVisibleTransformed(const RenderContext* context, const TransformPreview* preview) const;
    // Fill and outline are the brush's surface colours. In a drawing pass of the 3D view sky and
    // blended faces are queued instead; picking draws the face at once in its pick colour.
    // Occluded (the whole brush lies behind the camera view's occluders, or the face does), an
    // unselected face is drawn as nothing, in its place in the batches.
    void draw(RenderContext* context, RenderCounters* counters, const uint8_t fill[4],
              const uint8_t outline[4], bool occluded = false);
    // The blended pass.
    void drawDeferred(RenderContext* context);
    // The sky pass's stencil mask.
    void drawSky(RenderContext* context);
    void drawTransformed(RenderContext* context, TransformPreview* preview, const uint8_t colour[4]);
    // The texture (and with effects on its stages) in the current colour.
    void drawTextured(RenderContext* context);
    void drawTextureAxes(RenderContext* context);
    void drawTileLines(RenderContext* context, float fade);
    void drawGridLines(RenderContext* context, float fade);

    // Bytes of the vertex array held in a block of its own (0 while it lives in the handle).
    uint64_t separateVertexBytes() const;

private:
    // Most brush faces are triangles and quads: their vertex arrays live in the handle, which
    // spares a heap block per face. The record's pointer addresses either this or a heap block.
    static constexpr int32_t kInlineVertices = 4;
    FaceVertex m_inlineVertices[kInlineVertices];

    // A zero-filled array of count vertices (null for 0); the previous array must be released.
    FaceVertex* allocVertices(int32_t count);
    void releaseVertices(FaceVertex* vertices);
};

// Plain API (engine-function table signatures).
FaceRecord* Face_Create(MapHandle map, BrushRecord* brush, const TextureInfo* info, int32_t vertexCount);
void Face_Delete(MapHandle map, FaceRecord* face);
// A bare face with the needs-update bit (project reader).
FaceRecord* Face_Alloc(int32_t vertexCount);
// Frees the face's id (handle id -1) and unlinks it from the brush's face list.
void Map_UnlinkFace(MapHandle map, FaceRecord* face, BrushRecord* brush);
// One stage of the batch's effect: the frame the time shows (in steps of 1/1024), clamping from
// the stage flags, the stage's state word (only the first stage writes depth; culling by the
// view's back-face switch), the stage's colours and texture coordinates; drawn by index when
// indices are given.
void Face_DrawEffectStage(const RenderContext* context, EffectBatch* batch, bool first,
                          const uint16_t* indices, int32_t indexCount);
// Lines a face draws at most per axis for tile and grid lines: past it the lines would be closer
// than a pixel apart anyway (tiny texture scales, grid 1 over a huge face).
constexpr int32_t kFaceMaxLinesPerAxis = 256;
// Shade of a plane normal for flat drawing of faces: 0.8 plus the three light terms added one
// after the other, capped at 1. The order is part of the result (0.8 + (n . L) differs in
// the last bit for some normals).
float Face_ShadeForNormal(const float normal[3]);
// Shade of a vertex normal of patch meshes, overlays and path nodes: min(1, 0.8 + (n . L)).
float Mesh_ShadeForNormal(const float normal[3]);
// Axial type: 0, 1 or 2 when that normal component is exactly ±1, else 3.
int32_t Face_AxialType(const float normal[3]);
