// The names in a map that a key can point at: target-source keys of the entities (by their
// class), the names of paths whose first node has no name of its own, and node names.
#pragma once

#include <QStringList>

struct MapWorld;

// Without repeats, sorted.
QStringList Map_TargetNames(const MapWorld* world);
