// Drawing of the world into the current view. This draws each brush's bounds as a box (the face,
// patch, entity and model drawing replaces it); in a pick pass the box is filled in the brush's
// pick colour. Entities whose brushes were drawn get the frame stamp; the views take their titles
// from the entities (class name as the name, targetname as the second label).
#pragma once

#include <QList>
#include <QString>

struct EntityRecord;
struct MapWorld;
struct RenderContext;
struct RenderCounters;

void Map_Render(MapWorld* world, RenderContext* context, RenderCounters* counters);

// One entry of the world's title list.
struct MapTitle {
    EntityRecord* entity;
    QString name;
    QString label; // empty when there is none
};
// The objects that carry a title: every entity but the world entity that has a class name.
QList<MapTitle> Map_TitleList(MapWorld* world);
