// The world's side of entities and paths: class binding with ids, linking and unlinking, the
// refresh after a load, and the document hooks the object classes call.
#pragma once

#include <cstdint>

#include "map/ObjectRecords.h"

struct EntityClass;
struct GameConfig;
struct MapWorld;

// The game configuration the world's document is bound to (the current one until documents
// carry their own).
GameConfig* Map_GameConfig(const MapWorld* world);

// The class the entity binds to by its class name in the world's game data: the world class for
// the world entity; the point class for an entity with an origin, falling back to the solid
// class, which clears the point flag; else the solid class. Null without a name or a match.
EntityClass* Map_FindEntityClass(const MapWorld* world, EntityRecord* entity);
// Binds the entity to its class (Map_FindEntityClass), gives it an id and applies the class.
void Map_InitEntity(MapWorld* world, EntityRecord* entity);
// Map_InitEntity, then appended at the tail of the entity list (owner set).
void Map_LinkEntity(MapWorld* world, EntityRecord* entity);
// Frees the id and unlinks the entity from the entity list (owner cleared).
void Map_UnlinkEntity(MapWorld* world, EntityRecord* entity);

// Appended at the tail of the path list, next path serial, owner set.
void Map_LinkPath(MapWorld* world, PathRecord* path);
// Takes the path's selected nodes out of the node selection and unlinks it from the list.
void Map_UnlinkPath(MapWorld* world, PathRecord* path);

// Entities whose refresh was deferred by a load (flag 0x2000) are rebuilt now; the blended bit
// follows EntityTransparency and the GL state word. Face shifts are wrapped into their texture's
// size and the faces' blended bits follow TextureTransparency.
void Map_RefreshAfterLoad(MapWorld* world);

// Marks the owning document modified and refreshes its titles (nothing without a document).
void Map_MarkModified(MapHandle map);
// Re-inserts the entity in the world's cull tree when it has one.
void Map_CullUpdateEntity(MapWorld* world, EntityRecord* entity);
