// A headless world with a bare worldspawn record at the head of its entity list, as an importer
// would leave it, for tests that build brushes, faces and cameras. The world is destroyed with
// the fixture; the worldspawn record belongs to the fixture (it has no handle).
#pragma once

#include <gtest/gtest.h>

#include "document/MapWorld.h"
#include "map/ObjectRecords.h"

class cTestWorld {
public:
    cTestWorld() {
        Map_InitWorld(&world, nullptr);
        worldspawn.flags = EntityFlag::World;
        linkWorldspawn();
    }
    ~cTestWorld() { Map_DestroyWorld(&world); }
    cTestWorld(const cTestWorld&) = delete;
    cTestWorld& operator=(const cTestWorld&) = delete;

    MapHandle handle() { return Map_Handle(&world); }
    // After a clear the worldspawn is unlinked; tests that go on link it again.
    void linkWorldspawn() {
        worldspawn.owner = handle();
        List_Prepend(world.entities, &world.entitiesTail, &worldspawn);
    }

    MapWorld world{};
    EntityRecord worldspawn{};
};
