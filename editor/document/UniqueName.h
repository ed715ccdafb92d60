// Unique target names: connecting two entities, and renaming copies so that links inside a
// cloned or pasted set point to the copies while links from outside still reach the originals.
// Names are 8-bit map text (Windows-1251 bytes).
#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include "map/ObjectRecords.h"

struct MapWorld;

// True when an entity not marked by the rename pass has exactly this target name.
bool Map_NameInUse(MapWorld* world, const char* name);
// "base_N": base and first N from the name's numeric suffix ("door_7" -> door_8...) or the whole
// name with N from 1, skipping reserved names and names in use. Empty after a warning when the
// counter runs out.
QString Map_UniqueName(MapWorld* world, const QString& name, const QSet<QString>& reserved);

// Gives the target a name when it has none ("class_N") and points the source's target key at it.
// False for null or identical entities.
bool Map_ConnectEntities(MapWorld* world, EntityRecord* source, EntityRecord* target);
// "Connect Entities" on exactly two selected entities: the one selected first (the tail of the
// selected list) becomes the source, the one selected last (its head) the target. False, and no
// level, otherwise.
bool Map_ConnectSelectedEntitiesCommand(MapWorld* world);

// After "Clone Objects": renames the selected entities that other selected entities refer to.
void Map_RenameClonedEntities(MapWorld* world);
// After one copy of a paste with internal connections kept (nothing for fewer than two).
void Map_RenamePastedEntities(MapWorld* world, const QList<EntityRecord*>& entities);
