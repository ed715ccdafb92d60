// The patch-matrix commands of the Curve menu: reshaping the control grids of the selected
// patches.
#include "document/PatchMatrix.h"

#include <QCoreApplication>

#include "core/Prompt.h"
#include "core/System.h"
#include "document/MapDocument.h"
#include "document/MapTransform.h"
#include "document/MapWorld.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "map/MapBrush.h"
#include "map/MapPatch.h"

namespace {

constexpr const char* kCommandNames[PatchMatrix::Count] = {
    "Invert Matrix",
    "Transpose Matrix",
    "Append Matrix Rows",
    "Append Matrix Columns",
    "Prepend Matrix Rows",
    "Prepend Matrix Columns",
    "Remove First Matrix Rows",
    "Remove First Matrix Columns",
    "Remove Last Matrix Rows",
    "Remove Last Matrix Columns",
    "Redisperse Matrix Rows",
    "Redisperse Matrix Columns",
    "Randomize Matrix",
};

void runOnPatch(cMapPatch* patch, int32_t command, const PatchRandomParams* randomParams) {
    using namespace PatchMatrix;
    switch (command) {
    case Invert:
        patch->invertMatrix();
        break;
    case Transpose:
        patch->transposeMatrix();
        break;
    case AppendRows:
    case AppendColumns:
    case PrependRows:
    case PrependColumns:
        patch->addLines(command == AppendRows || command == PrependRows, command <= AppendColumns);
        break;
    case RemoveFirstRows:
    case RemoveFirstColumns:
    case RemoveLastRows:
    case RemoveLastColumns:
        Patch_RemoveLines(patch->record, command == RemoveFirstRows || command == RemoveLastRows,
                          command <= RemoveFirstColumns);
        break;
    case RedisperseRows:
    case RedisperseColumns:
        patch->redisperse(command == RedisperseRows);
        patch->naturalizeTexture();
        break;
    case Randomize:
        patch->randomize(randomParams);
        break;
    }
}

} // namespace

bool Map_HasSelectedPatch(const MapWorld* world) {
    if (!world) return false;
    for (const BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        if (b->patch) return true;
    return false;
}

const char* Map_PatchMatrixName(int32_t command) {
    return command >= 0 && command < PatchMatrix::Count ? kCommandNames[command] : nullptr;
}

void Map_PatchMatrixCommand(MapWorld* world, int32_t command, const PatchRandomParams* randomParams) {
    if (!world) return;
    if (!Map_PatchMatrixName(command)) {
        Sys_Warning("bad curve command %i", command);
        return;
    }
    if (command == PatchMatrix::Randomize && !randomParams) {
        Sys_Warning("Map_PatchMatrixCommand: no parameters for \"%s\"", kCommandNames[command]);
        return;
    }
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        PatchRecord* patch = b->patch;
        if (!patch || !patch->handle) continue;
        runOnPatch(patch->handle, command, randomParams);
        patch->flags |= PatchFlags::NeedsUpdate;
        if (cMapBrush* brush = cMapBrush::fromRecord(b)) brush->update(BrushUpdate::TessellatePatch);
    }
    Map_UpdateSelectionSummary(world);
    Project_SetModified(Map_Handle(world));
}

bool Map_PatchMatrixMenuCommand(MapWorld* world, int32_t command, const PatchRandomParams* randomParams) {
    const char* name = Map_PatchMatrixName(command);
    if (!world || !name) return false;
    if (!Map_HasSelectedPatch(world)) {
        Prompt_Message(nullptr, PromptIcon::Warning,
                       QCoreApplication::translate("cMainWindow", "There are no eligible selected patches."));
        return false;
    }
    UndoHistory* history = Undo_HistoryOf(Map_Handle(world));
    Undo_BeginLevel(history, name);
    Undo_SaveSelectedPatchesChanged(history, true);
    Map_PatchMatrixCommand(world, command, randomParams);
    Undo_EndLevel(history);
    if (MapDocument* document = Project_FromWorld(world))
        Project_RedrawViews(document, ViewMask::Views2D | ViewMask::View3D);
    return true;
}
