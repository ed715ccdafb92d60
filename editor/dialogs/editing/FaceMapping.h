// Texture-mapping steps that the surface properties dialog's page commands and its texture
// application share.
#pragma once

struct MapProfileRecord;
struct OverlayRecord;
struct PatchRecord;

// The current map profile; null while none is registered for the current configuration.
const MapProfileRecord* Face_CurrentProfile();

// Re-tessellates the patch and takes its bounds from the new mesh.
void Patch_RebuildMesh(PatchRecord* patch);
// The corner coordinates follow the new scale (old over new; an unusable old scale counts as 1).
void Overlay_SetTextureScale(OverlayRecord* overlay, int axis, float value);
// The corners move by the shift's change in repeats; only an overlay with a texture of known size
// moves, and only the shift is stored otherwise.
void Overlay_SetTextureShift(OverlayRecord* overlay, int axis, float value);
