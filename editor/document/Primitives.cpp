// What every primitive shares: finding the world entity, refusing bad parameter records and
// recording the new objects, selected, as one undo level.
#include "document/Primitives.h"

#include <cmath>

#include "core/System.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"

EntityRecord* Prim_WorldEntity(MapHandle map) {
    MapWorld* world = Map_FromHandle(map);
    return world ? world->entities : nullptr;
}

bool Prim_CheckParams(const PrimitiveParams* params, const char* function, bool usesAxes,
                      int32_t neededAxes) {
    if (!params) {
        Sys_Warning("%s: no parameters", function);
        return false;
    }
    if (usesAxes) {
        int32_t seen = 0;
        for (int32_t axis : params->axes) {
            if (axis >= 0 && axis <= 2) seen |= 1 << axis;
        }
        if (seen != 0x7) {
            Sys_Warning("%s: invalid view axes (%i, %i, %i)", function, params->axes[0], params->axes[1],
                        params->axes[2]);
            return false;
        }
        // The shapes order their faces by the handedness bit: one that contradicts the axes
        // would turn every face inward.
        const bool even = (params->axes[1] - params->axes[0] + 3) % 3 == 1;
        if (even != ((params->flags & PrimitiveFlag::Handedness) != 0)) {
            Sys_Warning("%s: the handedness flag does not match the view axes (%i, %i, %i)", function,
                        params->axes[0], params->axes[1], params->axes[2]);
            return false;
        }
    }
    // A flat or empty box would give degenerate brushes and patches (and NaN in the rock's
    // scale); point snapping can flatten a thin box, so the snapped extent counts.
    const bool snap = params->flags & PrimitiveFlag::SnapPoints;
    for (int i = 0; i < 3; ++i) {
        if (!(neededAxes & (1 << i))) continue;
        const int axis = usesAxes ? params->axes[i] : i;
        float lo = params->mins[axis];
        float hi = params->maxs[axis];
        if (snap) {
            lo = std::floor(lo + 0.5f);
            hi = std::floor(hi + 0.5f);
        }
        if (!std::isfinite(lo) || !std::isfinite(hi) || !(hi - lo > 0.0f)) {
            Sys_Warning("%s: the box is flat or empty (%g to %g on axis %i)", function, params->mins[axis],
                        params->maxs[axis], axis);
            return false;
        }
    }
    return true;
}

void Prim_Record(MapHandle map, const char* undoName, uint32_t updateBits, BrushRecord* const* brushes,
                 int32_t brushCount, GroupRecord* group) {
    if (cMapEntity* world = cMapEntity::fromRecord(Prim_WorldEntity(map))) world->update(updateBits);

    // The new objects join the selection before they are recorded: a redo brings them back as
    // they were made.
    if (MapWorld* world = Map_FromHandle(map)) {
        if (group) Map_SelectObject(world, group);
        for (int32_t i = 0; i < brushCount; ++i)
            if (brushes[i] && brushes[i]->entity && Map_WorldOfBrush(brushes[i]) == world)
                Map_SelectObject(world, brushes[i]);
    }
    UndoHistory* history = Undo_HistoryOf(map);
    if (!history) return;
    Undo_BeginLevel(history, undoName);
    if (group) Undo_SaveGroup(history, group, UndoList::CreatedGroups);
    for (int32_t i = 0; i < brushCount; ++i) {
        BrushRecord* brush = brushes[i];
        if (brush && brush->entity && Map_WorldOfBrush(brush))
            Undo_SaveBrush(history, brush, UndoList::CreatedBrushes, true);
    }
    Undo_EndStep(map);
}
