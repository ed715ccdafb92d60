// The decal tool ("Apply Decals"): a click on a surface in the 3D view puts the current texture
// there, as a decal entity when the game's map profile has a decal class, else as an overlay
// when the profile supports overlays.
#pragma once

#include "views/AbstractTool.h"

class cDecalTool : public cAbstractTool {
public:
    bool setCursor(cCanvas* view) override;
    bool mousePress(cCanvas* view, int x, int y, int button, int modifiers) override;
    void createObject(cCanvas* view) override;

    // The world point under the last click.
    float hitPoint[3] = {};
};

// Map-profile capability of overlays (the decal class is MAP_PROFILE_DECAL_CLASS).
inline constexpr uint32_t kProfileOverlays = 0x80u;
