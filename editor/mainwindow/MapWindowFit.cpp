#include "mainwindow/MapWindowFit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "document/MapWorld.h"
#include "kstdlib/kstdlib.h"
#include "map/EPair.h"
#include "map/MapBrush.h"
#include "map/MapCamera.h"
#include "map/MapEntity.h"
#include "views/ChildWindow.h"

namespace {

void lookAt(cChildWindow* window, const float eye[3], const float target[3]) {
    const float d[3] = {target[0] - eye[0], target[1] - eye[1], target[2] - eye[2]};
    const float angles[3] = {float(std::atan2(d[2], std::hypot(d[0], d[1])) * 180.0 / M_PI),
                             float(std::atan2(d[1], d[0]) * 180.0 / M_PI), 0.0f};
    window->setCameraOrigin(eye);
    window->setCameraAngles(angles);
}

void placeCamera(cChildWindow* window, MapWorld* world, const float mins[3], const float maxs[3]) {
    if (CameraRecord* camera = world->currentCamera) {
        lookAt(window, camera->eye, camera->target);
        return;
    }
    for (EntityRecord* e = world->entities; e; e = e->next) {
        if (!e->classname || std::strncmp(e->classname, "info_player_", 12) != 0) continue;
        // Eye height above the start, facing its angle.
        const float eye[3] = {e->origin[0], e->origin[1], e->origin[2] + 48.0f};
        const EPair* angle = EPair_Find(e->epairs, "angle");
        const float yaw = angle && angle->value ? float(std::atof(angle->value)) : 0.0f;
        const float angles[3] = {0.0f, yaw, 0.0f};
        window->setCameraOrigin(eye);
        window->setCameraAngles(angles);
        return;
    }
    const float centre[3] = {(mins[0] + maxs[0]) / 2, (mins[1] + maxs[1]) / 2, (mins[2] + maxs[2]) / 2};
    const float size = std::max({maxs[0] - mins[0], maxs[1] - mins[1], maxs[2] - mins[2], 64.0f});
    const float eye[3] = {centre[0] - size, centre[1] - size * 0.75f, centre[2] + size * 0.5f};
    lookAt(window, eye, centre);
}

} // namespace

bool Map_WorldBounds(MapWorld* world, float mins[3], float maxs[3]) {
    K_ClearBounds(mins, maxs);
    bool any = false;
    for (EntityRecord* e = world->entities; e; e = e->next) {
        if (e->flags & EntityFlag::Point) {
            K_AddPointToBounds(e->origin, mins, maxs);
            any = true;
        }
        for (BrushRecord* b = e->firstBrush; b; b = b->next) {
            K_AddPointToBounds(b->mins, mins, maxs);
            K_AddPointToBounds(b->maxs, mins, maxs);
            any = true;
        }
    }
    return any;
}

void MapWindow_FitToWorld(cChildWindow* window, MapWorld* world) {
    float mins[3], maxs[3];
    if (!Map_WorldBounds(world, mins, maxs)) {
        for (int k = 0; k < 3; ++k) {
            mins[k] = -256.0f;
            maxs[k] = 256.0f;
        }
    }
    window->zoomViewsToBounds(mins, maxs);
    placeCamera(window, world, mins, maxs);
}
