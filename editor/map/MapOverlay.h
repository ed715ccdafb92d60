// A textured quadrilateral laid flat on a brush face. It rides on a brush of kind 2 and owns its
// OverlayRecord.
#pragma once

#include <cstdint>

#include "map/MapDrawable.h"
#include "map/OverlayRecord.h"

struct FaceRecord;
struct RenderContext;
struct RenderCounters;
struct TransformPreview;

class cMapOverlay : public cMapDrawable {
public:
    cMapOverlay();
    ~cMapOverlay() override;
    cMapOverlay(const cMapOverlay&) = delete;
    cMapOverlay& operator=(const cMapOverlay&) = delete;

    OverlayRecord* record;
    float centre[3]; // mean of the corners
    float shade;     // 1.0 until the first update
    // The vertex tool's flag words of the corners (the records' corners have no room for them).
    int32_t cornerFlags[kOverlayCorners] = {};

    void setTextureInfo(const TextureInfo* block);
    void setTexture(const char* name);

    // Lays the overlay on the face nearest to point that looks towards towards (the picked
    // point and a point of the view). Warns and lies flat at the point when no face qualifies.
    // True when a face was found.
    bool placeOnFace(const float point[3], const float towards[3]);
    void computePlane();
    void update(uint32_t flags); // OverlayUpdate bits

    void setTextureRotation(float degrees);
    void applyFaceTexture(const FaceRecord* face);
    void flipCorners();

    // The bound texture's size in texels, each at least 1.
    void textureSize(int32_t* width, int32_t* height) const;
    void releaseTexture();

    // ---- Drawing (OverlayDraw.cpp) ----
    bool draw(RenderContext* context, RenderCounters* counters);
    void drawBlended(RenderContext* context);
    void drawSky(RenderContext* context);
    void drawTransformed(RenderContext* context, RenderCounters* counters, TransformPreview* preview);
    void drawTextured(RenderContext* context);
    void drawGridCrossings(RenderContext* context, float fade);
};

// ---- Plugin-facing functions (engine-function table) ----
OverlayRecord* Overlay_Create(BrushRecord* brush, const TextureInfo* texInfo);
void Overlay_Delete(OverlayRecord* overlay);

// ---- Editor-side ----
// A bare overlay with the needs-update flag; no brush, no texture yet.
OverlayRecord* Overlay_Alloc();
