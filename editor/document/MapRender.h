// Drawing of one map world into one view: the object passes (through the cull tree or the entity
// list), the picking pass, the queued sky and blended surfaces, paths, cameras, the cull-tree
// boxes, target links, the compiler overlays and the 3D eye in the 2D views. Each object draws
// itself; this decides the order. The views take their titles from the entities.
#pragma once

#include <QList>
#include <QString>

#include "render/DrawQueue.h"

struct EntityRecord;
struct MapWorld;
struct RenderContext;
struct RenderCounters;

void Map_Render(MapWorld* world, RenderContext* context, RenderCounters* counters);
// Pass flags 1 (unselected objects), or 10 for the selection pass (selected objects, cull-tree
// nodes found visible by the first pass).
void Map_DrawObjectsPass(MapWorld* world, RenderContext* context, RenderCounters* counters,
                         bool selectionPass);
// Picking: every shown object once, in its pick colour.
void Map_DrawObjectsSinglePass(MapWorld* world, RenderContext* context, RenderCounters* counters);
void Map_DrawPaths(MapWorld* world, RenderContext* context, RenderCounters* counters);
// The world's cameras, in 2D views with the camera tool (picking only with pick argument 0x4).
void Map_DrawCameras(MapWorld* world, RenderContext* context);
// The world's draw queue (made on first use; null when memory ran out): the object passes set it
// into the context they draw with.
DrawQueue* Map_DrawQueue(MapWorld* world);
// Far to near (the sorted list walked from its tail), equal keys in queue order.
void Map_DrawBlended(MapWorld* world, RenderContext* context);
void Map_DrawSky(MapWorld* world, RenderContext* context);
// Every node of the sky and blended lists back to their free lists (start of each frame).
void Map_RecycleDrawLists(MapWorld* world);
// Frees every node of the lists and their free lists (world clear and destruction).
void Map_FreeDrawLists(MapWorld* world);
// Frees the draw queue (world destruction).
void Map_FreeDrawQueue(MapWorld* world);
// The camera view's eye in a 2D view: a diamond and the two field-of-view lines.
void Map_DrawViewCamera(MapWorld* world, RenderContext* context);

// One entry of the world's title list.
struct MapTitle {
    EntityRecord* entity;
    QString name;
    QString label; // empty when there is none
};
// The objects that carry a title: every entity but the world entity that has a class name.
QList<MapTitle> Map_TitleList(MapWorld* world);
