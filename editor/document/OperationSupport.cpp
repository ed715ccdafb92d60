#include "document/OperationSupport.h"

#include <QCoreApplication>

#include "core/Prompt.h"
#include "core/System.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"

UndoHistory* Map_OpHistory(MapWorld* world) {
    return world ? Undo_HistoryOf(Map_Handle(world)) : nullptr;
}

EntityRecord* Map_OpWorldEntity(MapWorld* world) {
    EntityRecord* head = world ? world->entities : nullptr;
    return head && (head->flags & EntityFlag::World) ? head : nullptr;
}

void Map_OpFinish(MapWorld* world, bool summary) {
    if (!world) return;
    Project_SetModified(Map_Handle(world));
    if (summary) Map_UpdateSelectionSummary(world);
}

void Map_OpWarn(const char* text, bool beep) {
    Sys_Warning("%s", text);
    if (beep && QCoreApplication::instance()) Prompt_Beep();
}

void Map_OpRedraw(MapWorld* world, int32_t mask) {
    if (MapDocument* document = Project_FromWorld(world)) Project_RedrawViews(document, mask);
}
