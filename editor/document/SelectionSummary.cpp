#include "document/SelectionSummary.h"

#include <QCoreApplication>

#include "core/TextEncoding.h"
#include "document/DocumentHost.h"
#include "document/MapWorld.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/PatchRecord.h"

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("cMainWindow", text);
}

bool outsideSelectedGroup(const GroupRecord* outer) {
    return !outer || !(outer->flags & GroupFlag::Selected);
}

bool isWorldEntity(const EntityRecord* e) {
    return e && (e->flags & EntityFlag::World);
}

template <class R> int32_t countChain(const R* head) {
    int32_t n = 0;
    for (; head; head = head->selNext)
        ++n;
    return n;
}

int32_t faceCount(const BrushRecord* b) {
    int32_t n = 0;
    for (const FaceRecord* f = b->firstFace; f; f = f->next)
        ++n;
    return n;
}

} // namespace

QString Map_SelectionSummaryText(const MapWorld* world) {
    if (!world) return tr("no selection.");
    if (world->selectedFaces) {
        const int32_t n = countChain(world->selectedFaces);
        return n == 1 ? tr("1 face selected.") : tr("%1 faces selected.").arg(n);
    }

    const bool wholeGroups = world->selectionMode == SelectionMode::WholeGroups;
    int32_t count = 0;
    int32_t brushes = 0; // the brushes counted
    if (wholeGroups) {
        count = countChain(world->selectedGroups);
        for (const EntityRecord* e = world->selectedEntities; e; e = e->selNext)
            if (outsideSelectedGroup(e->outerGroup)) ++count;
        for (const BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
            if (isWorldEntity(b->entity) && outsideSelectedGroup(b->outerGroup)) ++brushes;
        count += brushes;
    } else {
        brushes = countChain(world->selectedBrushes);
        count = countChain(world->selectedEntities) + brushes;
        for (const EntityRecord* e = world->selectedEntities; e; e = e->selNext)
            if (e->firstBrush) --count;
    }

    if (wholeGroups && world->selectedGroups && count == 1)
        return tr("group of %1 objects.").arg(world->selectedGroups->memberCount);
    if (brushes == 1 && count == 1) {
        const BrushRecord* b = world->selectedBrushes;
        if (b->kind == BrushKind::Patch && b->patch)
            return tr("patch (%1 x %2)").arg(b->patch->columns).arg(b->patch->rows);
        if (b->kind == BrushKind::Overlay) return tr("overlay brush.");
        return tr("solid with %1 faces.").arg(faceCount(b));
    }
    if (world->selectedBrushes && (!world->selectedEntities || brushes > 0 || count != 1))
        return tr("%1 objects selected.").arg(count);
    if (count == 1 && world->selectedEntities) {
        const EntityRecord* e = world->selectedEntities;
        const QString classname = Text_FromWindows1251(e->classname ? e->classname : "");
        if (e->targetname && e->targetname[0])
            return QStringLiteral("%1 - %2").arg(Text_FromWindows1251(e->targetname), classname);
        return classname;
    }
    if (!world->selectedBrushes && count >= 2) return tr("%1 objects selected.").arg(count);
    return tr("no selection.");
}

void Map_UpdateSelectionSummary(MapWorld* world) {
    if (!world) return;
    // A changed selection starts the corner snapping afresh.
    world->snapCorner = 0;
    Document_Host().showSelectionSummary(Map_SelectionSummaryText(world));
    // A face selection is the face dialog's business; objects reload the properties dialog.
    if (!world->selectedFaces) Document_Host().updateObjectProperties();
}
