// A curved surface of quadratic Bezier pieces over a grid of control points. A patch rides on a
// brush of kind 1 and owns its PatchRecord; the mesh is rebuilt from the control points.
#pragma once

#include <cstdint>
#include <vector>

#include "map/MapBrush.h"
#include "map/MapDrawable.h"
#include "map/PatchRecord.h"

struct FaceRecord;
struct RenderContext;
struct RenderCounters;
struct SurfaceWire;
struct TransformPreview;

class cMapPatch : public cMapDrawable {
public:
    // Counts are normalised with Patch_NormalizeCount.
    cMapPatch(int columns, int rows);
    ~cMapPatch() override;
    cMapPatch(const cMapPatch&) = delete;
    cMapPatch& operator=(const cMapPatch&) = delete;

    PatchRecord* record;
    float centre[3]; // mean of the mesh vertices, set by every tessellation

    // ---- Texture binding ----
    void setTextureInfo(const TextureInfo* block);
    void setTexture(const char* name);

    // ---- Control-grid edits: positions only; callers mark the patch for re-tessellation ----
    void invertMatrix();
    void transposeMatrix();
    // Grows rows (or columns) by 2, splitting the last (or first) segment in thirds. False with a
    // warning when the grid is full.
    bool addLines(bool rows, bool atEnd);
    void smoothColumns();
    void redisperse(bool alongColumns);
    void checkClosed(bool* acrossColumns, bool* acrossRows) const;
    void randomize(const PatchRandomParams* params);

    // ---- Mesh ----
    // With BrushUpdate::TessellatePatch the mesh is rebuilt first; then bounds from the mesh.
    void update(uint32_t flags);
    void tessellate();
    void freeMesh();
    void computeNormals();

    // ---- Texture coordinates ----
    void setTextureShift(int axis, float value);
    void setTextureScale(int axis, float value);
    void setTextureRotation(float degrees);
    void naturalizeTexture();
    void fitTexture(float sRepeats, float tRepeats);
    void applyFaceTexture(const FaceRecord* face);
    // The bound texture's size in texels, each at least 1.
    void textureSize(int32_t* width, int32_t* height) const;
    // Drops the bound texture's reference.
    void releaseTexture();

    // The counts of the record as usable odd counts in 3..31, written back; every operation that
    // reads the grid starts here, since plugins and files can leave anything in them.
    void clampCounts();

    // ---- Drawing (PatchDraw.cpp) ----
    // True when something was drawn (queued surfaces count as not drawn yet).
    bool draw(RenderContext* context, RenderCounters* counters);
    void drawBlended(RenderContext* context);
    void drawSky(RenderContext* context);
    void drawTransformed(RenderContext* context, RenderCounters* counters, TransformPreview* preview);
    // The mesh's quads with the vertex pointer set; lines when asked.
    void drawMesh(RenderContext* context);
    // Back side as lines, front side filled (the solid modes).
    void drawWire(RenderContext* context);
    void drawTextured(RenderContext* context);
    // Per-vertex colours into the record's colour array (stride 0 = 4 bytes).
    void fillVertexColors(const uint8_t colour[4], uint8_t* destination, int32_t stride, bool shaded);
    void drawGridCrossings(RenderContext* context, float fade);

private:
    // The 2D views' wire: false when the mesh is not the per-piece grid of the counts.
    bool buildWire(const RenderContext* context, SurfaceWire* wire);
    // The 2D views' line strips and vertex points over the tessellated grid, rebuilt by each draw
    // there (storage kept between draws).
    std::vector<float> wireXyz;
    std::vector<uint16_t> wireIndices;
    std::vector<const uint16_t*> wireStrips;
    std::vector<int32_t> wireLengths;
};

// ---- Plugin-facing functions (engine-function table) ----
PatchRecord* Patch_Create(BrushRecord* brush, const TextureInfo* texInfo, int columns, int rows);
void Patch_Delete(PatchRecord* patch);
void Patch_SmoothColumns(PatchRecord* patch);
void Patch_NaturalizeTexture(PatchRecord* patch);
void Patch_FitTexture(PatchRecord* patch, float sRepeats, float tRepeats);

// ---- Editor-side ----
// Quarter turn (0..3) of a texture rotation brought into [-45, 315); 0 for a non-finite angle.
int Patch_RotationQuadrant(float degrees);
// A bare patch with the needs-update flag; no brush, no texture yet.
PatchRecord* Patch_Alloc(int columns, int rows);
// The world's remove-rows/columns command: lowers the count by 2 (taking the first two lines away
// when atStart). False with a warning when the count is already 3.
bool Patch_RemoveLines(PatchRecord* patch, bool rows, bool atStart);

// Level of detail of a patch in a 2D view: of the tessellated grid's lines across one direction
// only every step-th is drawn (the last too, so the outline stays), and the lines along them and
// the vertex points take the same step. Lines closer than a pixel run together on screen, so
// lines are left out only while the kept ones stay within a pixel of each other: the patch covers
// the same pixels, with far fewer lines and points. cellPixels: how long the on-screen edges
// between neighbouring lines in that direction are at most.
int32_t Patch_WireStep(float cellPixels);

// Per-piece tessellation. points[column][row] are the 3 × 3 control points of one piece.
void Patch_EvaluatePiece(PatchMeshVertex* out, float u, float w, const PatchPoint points[3][3]);
// Writes 36 vertices at vertices and 100 indices at indices; firstVertex numbers the first one.
void Patch_TessellatePiece(PatchMeshVertex* vertices, uint16_t* indices, int firstVertex,
                           const PatchPoint points[3][3]);
