// What the editing operations of the map document and the commands that call them share: the
// history of the world, its world entity, the close of an operation (modified mark, titles,
// summary), the command warnings and the view redraw.
#pragma once

#include <cstdint>

struct EntityRecord;
struct MapWorld;
struct UndoHistory;

// The history of the world's document; null in a world without one (snapshots are skipped).
UndoHistory* Map_OpHistory(MapWorld* world);
// The world entity: the head of the entity list when it carries the world flag.
EntityRecord* Map_OpWorldEntity(MapWorld* world);
// Marks the document modified, updates its titles and, with summary, refreshes the summary.
void Map_OpFinish(MapWorld* world, bool summary);
// A refusal of a command: a console warning, with the beep of the Parts that ask for it.
void Map_OpWarn(const char* text, bool beep);
// Asks the document's views to redraw (ViewMask bits); nothing without a document.
void Map_OpRedraw(MapWorld* world, int32_t mask);
