// A canonical text picture of a world's persistent state, for comparing two worlds (tests, the
// zmfdump utility). Object ids, list order and values derived on update (bounds, face texture
// coordinates, patch normals, display colours of brushes, groups and cameras) are left out, so
// two worlds that hold the same map dump the same text.
//
// Layout: the cordon, the visgroups by id, the groups by serial, then cameras, paths, entities
// (the world entity first) each sorted by their own text; an entity lists its brushes and a
// brush its faces sorted the same way. Texture blocks are printed in full.
#pragma once

#include <QByteArray>
#include <cstdint>

struct MapWorld;

namespace WorldDumpFlag {
// Adds the serial numbers of entities, brushes, faces, paths, nodes and cameras (groups always
// show theirs, since other objects name them by it). Undo restores serials; a project file
// read hands out new ones.
constexpr uint32_t Serials = 0x1;
// Leaves the selected bit out of every flag word: Undo brings back the selection an undo level
// recorded, not the one of the moment before.
constexpr uint32_t NoSelection = 0x2;
} // namespace WorldDumpFlag

QByteArray Map_DumpWorld(const MapWorld* world, uint32_t flags = 0);
