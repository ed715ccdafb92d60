// Object groups: entities and world brushes selected and moved as a unit; groups nest, each
// with at most one parent. cMapGroup is the handle; GroupRecord (ObjectRecords.h) the record.
#pragma once

#include <cstdint>

#include "map/MapObject.h"
#include "map/ObjectRecords.h"

class cMapGroup : public cMapObject {
public:
    // Random base colour, display colour derived from it.
    cMapGroup();
    ~cMapGroup() override = default;
    cMapGroup(const cMapGroup&) = delete;
    cMapGroup& operator=(const cMapGroup&) = delete;

    static cMapGroup* fromRecord(const GroupRecord* g) { return g ? g->handle : nullptr; }

    GroupRecord* record;

    // Display colour between COLOR_GROUP_RANDOM_MIN and _MAX from the base colour.
    void updateRandomColor();
};

// ---- Plain API (engine-function table signatures) ----
GroupRecord* Group_Create(MapHandle map);
// Members and child groups move up to the group's parent; then the group is destroyed.
void Group_Delete(MapHandle map, GroupRecord* group);
// Refused with the warning "duplicate group for another group" when it would make a cycle.
void Group_SetParent(GroupRecord* parent, GroupRecord* child);
// Null when added; the object itself when refused or when an argument is null.
BrushRecord* Group_AddBrush(GroupRecord* group, BrushRecord* brush);
EntityRecord* Group_AddEntity(GroupRecord* group, EntityRecord* entity);
void Group_SetColor(GroupRecord* group, uint8_t r, uint8_t g, uint8_t b, uint8_t a);

// ---- Editor side ----
// A bare group: no id, not linked.
GroupRecord* Group_Alloc();
// The topmost ancestor of the group (the group itself without a parent).
GroupRecord* Group_Outermost(GroupRecord* group);
