#include "document/Clipboard.h"

#include <QList>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/SysHost.h"
#include "core/System.h"
#include "document/CullTree.h"
#include "document/GroupChain.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "document/UniqueName.h"
#include "kstdlib/kstdlib.h"
#include "core/MainSettings.h"
#include "map/Decal.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "core/Vector.h"

namespace {

constexpr const char* kCutStepName = "Cut";

void clearBounds(Clipboard* c) {
    K_ClearBounds(c->mins, c->maxs);
}

void addBounds(Clipboard* c, const float mins[3], const float maxs[3]) {
    K_AddPointToBounds(mins, c->mins, c->maxs);
    K_AddPointToBounds(maxs, c->mins, c->maxs);
}

EntityRecord* worldEntityOf(MapWorld* world) {
    for (EntityRecord* e = world->entities; e; e = e->next)
        if (e->flags & EntityFlag::World) return e;
    return nullptr;
}

// The world entity is never taken: cutting it would leave the map without one, and pasting a
// copy would give the map a second one. Its selected brushes are taken as world brushes. Bare
// records without a handle (an importer's leftovers) can be neither copied nor destroyed.
std::vector<EntityRecord*> selectedEntities(MapWorld* world) {
    std::vector<EntityRecord*> list;
    for (EntityRecord* e = world->selectedEntities; e; e = e->selNext)
        if (!(e->flags & EntityFlag::World) && e->handle) list.push_back(e);
    return list;
}

// ---- Listening for the undo of a pending cut ---------------------------------------------------

void stopListening(Clipboard* c) {
    if (c->source)
        if (UndoHistory* h = Undo_HistoryOf(c->source); h && h->levelUndoneContext == c) {
            h->levelUndone = nullptr;
            h->levelUndoneContext = nullptr;
        }
    c->cutLevel = nullptr;
}

void onLevelUndone(void* context, const UndoLevel* level) {
    auto* c = static_cast<Clipboard*>(context);
    if (!c || level != c->cutLevel) return;
    // A recycled level at the same address holds another operation's name.
    if (c->mode == ClipMode::Cut && level->name && std::strcmp(level->name, kCutStepName) == 0)
        c->mode = ClipMode::Pasted;
    stopListening(c);
}

void listenForUndo(Clipboard* c, UndoHistory* h) {
    if (!h || !h->recording || !h->undoChain) return;
    c->cutLevel = h->undoChain;
    h->levelUndone = onLevelUndone;
    h->levelUndoneContext = c;
}

// ---- Steps -------------------------------------------------------------------------------------

void finishStep(MapHandle map) {
    Undo_EndStep(map);
    Map_UpdateSelectionSummary(Map_FromHandle(map));
    Project_SetModified(map);
    if (MapDocument* document = Project_FromHandle(map))
        Project_RedrawViews(document, ViewMask::Views2D | ViewMask::View3D);
}

void restorePendingCut(Clipboard* c, bool restore) {
    if (c->mode != ClipMode::Cut || !restore || !Map_FromHandle(c->source)) return;
    Clip_Paste(c, c->source, 1, nullptr, nullptr, nullptr, false, false, false, "Restore Cut");
}

// What every cut brush leaves behind in the world: selection, ids, cull-tree place, visgroups,
// and the decal fragments laid on it (their decals would otherwise point into the clipboard).
void detachBrush(MapWorld* world, BrushRecord* b) {
    if (cMapBrush* handle = b->handle) {
        handle->unlinkDecalFragments();
        handle->clearVisGroups();
    }
    for (FaceRecord* f = b->firstFace; f; f = f->next) {
        Map_DeselectObject(world, f);
        Map_FreeObjectId(world, Object_FromRecord(f));
    }
    Map_DeselectObject(world, b);
}

void cutEntity(Clipboard* c, MapWorld* world, UndoHistory* h, EntityRecord* e, bool groups) {
    addBounds(c, e->mins, e->maxs);
    Undo_SaveEntity(h, e, UndoList::DeletedEntities);
    for (BrushRecord* b = e->firstBrush; b; b = b->next) {
        Undo_SaveBrush(h, b, UndoList::DeletedBrushes, true);
        detachBrush(world, b);
        Map_ReleaseBrushGroups(world, b); // brushes of entities are normally ungrouped
        Cull_RemoveFromWorld(world, b);
        Map_FreeObjectId(world, Object_FromRecord(b));
    }
    GroupRecord* inner = groups ? Clip_CopyGroup(c, e->group) : nullptr;
    GroupRecord* outer = groups ? Clip_CopyGroup(c, e->outerGroup) : nullptr;
    if (cMapEntity* handle = e->handle) {
        handle->clearVisGroups();
        // A cut decal leaves the faces it lay on; a paste projects it again.
        if (e->modelKind == EntityModelKind::Decal && e->model) Decal_FreeFragments(e->model);
    }
    Map_ReleaseEntityGroups(world, e, true);
    Map_DeselectObject(world, e);
    Map_UnlinkEntity(world, e);
    e->group = inner;
    e->outerGroup = outer;
    e->owner = nullptr;
    List_Prepend(c->entities, static_cast<EntityRecord**>(nullptr), e);
}

void cutBrush(Clipboard* c, MapWorld* world, UndoHistory* h, BrushRecord* b, bool groups,
              std::vector<EntityRecord*>& touched) {
    Undo_SaveBrush(h, b, UndoList::DeletedBrushes, true);
    addBounds(c, b->mins, b->maxs);
    detachBrush(world, b);
    GroupRecord* inner = groups ? Clip_CopyGroup(c, b->group) : nullptr;
    GroupRecord* outer = groups ? Clip_CopyGroup(c, b->outerGroup) : nullptr;
    Map_ReleaseBrushGroups(world, b);
    EntityRecord* owner = b->entity;
    Map_UnlinkBrush(world, b, owner);
    if (owner && std::find(touched.begin(), touched.end(), owner) == touched.end()) touched.push_back(owner);
    b->group = inner;
    b->outerGroup = outer;
    b->entity = nullptr;
    List_Prepend(c->worldBrushes, static_cast<BrushRecord**>(nullptr), b);
}

// ---- Paste -------------------------------------------------------------------------------------

// One copy's placement: p -> R (p - centre) + centre + translation when transforming, then + move.
struct PlacedCopy {
    bool transforming = false;
    bool turns = false;
    float centre[3] = {0, 0, 0};
    float matrix[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
    float move[3] = {0, 0, 0};

    void turn(float p[3]) const {
        if (!transforming) return;
        float rel[3], out[3];
        Vec_Sub(p, centre, rel);
        K_VectorTransform(rel, matrix, out);
        for (int i = 0; i < 3; ++i)
            p[i] = out[i] + centre[i];
    }
    void place(float p[3]) const {
        turn(p);
        for (int i = 0; i < 3; ++i)
            p[i] += move[i];
    }
    void rotation3x3(float out[9]) const {
        for (int r = 0; r < 3; ++r)
            for (int col = 0; col < 3; ++col)
                out[r * 3 + col] = matrix[r * 4 + col];
    }
};

bool anyNonZero(const float* v) {
    return v && (v[0] != 0.0f || v[1] != 0.0f || v[2] != 0.0f);
}

struct PasteContext {
    Clipboard* clipboard;
    MapHandle map;
    MapWorld* world;
    UndoHistory* history;
    const MainSettings* settings;
    PlacedCopy placed;
    GroupRecord* group; // G: the group of this copy, or null
    bool select;
};

void keepTexture(const PasteContext& ctx, FaceRecord* f) {
    cMapFace* face = f->handle;
    if (ctx.placed.transforming) face->transformTexture(ctx.placed.centre, ctx.placed.matrix, false);
    TextureInfo& ti = f->texInfo;
    ti.sShift -= Vec_Dot(ctx.placed.move, ti.sAxis) / TexInfo_SafeScale(ti.sScale);
    ti.tShift -= Vec_Dot(ctx.placed.move, ti.tAxis) / TexInfo_SafeScale(ti.tScale);
    face->wrapTextureShift();
}

// Group fields of a new object from its entry's group copies; the innermost gains a member.
template <class R> void mapGroups(PasteContext& ctx, R* object, const R* entry) {
    if (!entry->group) return;
    object->group = Clip_MapGroup(ctx.clipboard, ctx.map, entry->group);
    if (object->group) ++object->group->memberCount;
    object->outerGroup = entry->outerGroup ? Clip_MapGroup(ctx.clipboard, ctx.map, entry->outerGroup)
                                           : Group_Outermost(object->group);
}

BrushRecord* pasteBrush(PasteContext& ctx, const BrushRecord* entry, EntityRecord* owner, bool worldBrush) {
    BrushRecord* b = Brush_CreateFromCopy(entry);
    if (!b) return nullptr;
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        for (int32_t i = 0; i < f->vertexCount; ++i)
            ctx.placed.place(f->vertices[i].xyz);
    if (PatchRecord* patch = b->patch) {
        const int32_t columns = std::min(patch->columns, int32_t(kPatchGridLines));
        const int32_t rows = std::min(patch->rows, int32_t(kPatchGridLines));
        for (int32_t col = 0; col < columns; ++col)
            for (int32_t row = 0; row < rows; ++row)
                ctx.placed.place(patch->points[col][row].xyz);
        patch->flags |= PatchFlags::NeedsUpdate;
    }
    if (OverlayRecord* overlay = b->overlay) {
        for (OverlayCorner& corner : overlay->corners)
            ctx.placed.place(corner.xyz);
        overlay->flags |= OverlayFlags::NeedsUpdate;
    }
    const bool lock = ctx.settings->TextureLock;
    for (FaceRecord* f = b->firstFace; f; f = f->next) {
        if (lock) keepTexture(ctx, f);
        f->serial = Map_NextSerial(ctx.world, SerialKind::Face);
        f->handle->id = Map_AllocId(ctx.world);
    }
    Map_LinkBrush(ctx.world, b, owner);
    b->serial = Map_NextSerial(ctx.world, SerialKind::Brush);
    if (worldBrush) {
        mapGroups(ctx, b, entry);
        if (ctx.group) Map_AddBrushToGroupChain(b, ctx.group);
    }
    b->handle->update(FaceUpdate::Plane | BrushUpdate::TessellatePatch);
    if (ctx.select) Map_SelectObject(ctx.world, b);
    Undo_SaveBrush(ctx.history, b, UndoList::CreatedBrushes, true);
    Decal_InvalidateAroundBrush(b);
    return b;
}

EntityRecord* pasteEntity(PasteContext& ctx, const EntityRecord* entry) {
    EntityRecord* e = Entity_CreateFromCopy(entry);
    if (!e) return nullptr;
    cMapEntity* handle = e->handle;
    if (ctx.placed.transforming && (e->flags & EntityFlag::Point)) {
        ctx.placed.turn(e->origin);
        if (ctx.placed.turns && ctx.settings->TransformAngles) {
            float m[9];
            ctx.placed.rotation3x3(m);
            handle->rotateAngles(m);
        }
    }
    for (int i = 0; i < 3; ++i)
        e->origin[i] += ctx.placed.move[i];
    e->owner = ctx.map;
    Map_InitEntity(ctx.world, e);
    List_Append(ctx.world->entities, ctx.world->entitiesTail, e);
    e->serial = Map_NextSerial(ctx.world, SerialKind::Entity);
    mapGroups(ctx, e, entry);
    if (ctx.group && !(e->flags & EntityFlag::World)) Map_AddEntityToGroupChain(e, ctx.group);
    handle->updateTargets();
    if (entry->modelKind != EntityModelKind::None) handle->rebuildModel(false);
    if (ctx.select) Map_SelectObject(ctx.world, e);
    return e;
}

void pasteOneCopy(PasteContext& ctx, EntityRecord* worldEntity, bool groupCopies, bool keepConnections) {
    Clipboard* c = ctx.clipboard;
    c->groupMap.clear();
    c->newGroups.clear();
    ctx.group = groupCopies ? Group_Create(ctx.map) : nullptr;

    QList<EntityRecord*> pasted;
    for (const EntityRecord* entry = c->entities; entry; entry = entry->next) {
        EntityRecord* e = pasteEntity(ctx, entry);
        if (!e) continue;
        pasted.append(e);
        for (const BrushRecord* b = entry->firstBrush; b; b = b->next)
            pasteBrush(ctx, b, e, false);
        e->handle->update(0);
    }
    if (keepConnections) Map_RenamePastedEntities(ctx.world, pasted);
    // Recorded after the renaming, so that a redo brings back the renamed links.
    for (EntityRecord* e : pasted)
        Undo_SaveEntity(ctx.history, e, UndoList::CreatedEntities);

    for (const BrushRecord* entry = c->worldBrushes; entry; entry = entry->next)
        pasteBrush(ctx, entry, worldEntity, true);

    // Groups are recorded once their members and selection are final, so a redo rebuilds them
    // as they are now.
    for (GroupRecord* g : c->newGroups) {
        if (ctx.select && !ctx.group && !g->parent) Map_SelectObject(ctx.world, g);
        Undo_SaveGroup(ctx.history, g, UndoList::CreatedGroups);
    }
    if (GroupRecord* g = ctx.group) {
        if (ctx.select) Map_SelectObject(ctx.world, g);
        Undo_SaveGroup(ctx.history, g, UndoList::CreatedGroups);
    }
}

} // namespace

// ---- Cut and copy ------------------------------------------------------------------------------

void Clip_Cut(Clipboard* c, MapHandle map, bool restorePendingCutArg) {
    MapWorld* world = Map_FromHandle(map);
    if (!c || !world) return;
    restorePendingCut(c, restorePendingCutArg);
    Clip_Clear(c);
    const bool groups = Map_UpdateSelectionMode(world) == SelectionMode::WholeGroups;

    UndoHistory* h = Undo_HistoryOf(map);
    Undo_BeginLevel(h, kCutStepName);
    c->mode = ClipMode::Cut;
    c->source = map;
    clearBounds(c);
    listenForUndo(c, h);

    for (EntityRecord* e : selectedEntities(world))
        cutEntity(c, world, h, e, groups);

    std::vector<BrushRecord*> brushes;
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        brushes.push_back(b);
    std::vector<EntityRecord*> touched;
    for (BrushRecord* b : brushes)
        cutBrush(c, world, h, b, groups, touched);
    // The entities that lost brushes take their bounds from the ones left.
    for (EntityRecord* e : touched)
        if (e->handle) e->handle->update(0);

    finishStep(map);
}

void Clip_Copy(Clipboard* c, MapHandle map, bool restorePendingCutArg) {
    MapWorld* world = Map_FromHandle(map);
    if (!c || !world) return;
    restorePendingCut(c, restorePendingCutArg);
    Clip_Clear(c);
    c->mode = ClipMode::Copy;
    c->source = map;
    const bool groups = world->selectionMode == SelectionMode::WholeGroups;
    clearBounds(c);

    for (EntityRecord* e : selectedEntities(world)) {
        addBounds(c, e->mins, e->maxs);
        EntityRecord* copy = e->handle->copyData();
        if (groups) {
            copy->group = Clip_CopyGroup(c, e->group);
            copy->outerGroup = Clip_CopyGroup(c, e->outerGroup);
        }
        for (const BrushRecord* b = e->firstBrush; b; b = b->next)
            if (b->handle) List_Prepend(copy->firstBrush, &copy->lastBrush, b->handle->copyData());
        List_Prepend(c->entities, static_cast<EntityRecord**>(nullptr), copy);
    }
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        const EntityRecord* owner = b->entity;
        const bool taken = owner && (owner->flags & EntityFlag::Selected) &&
                           !(owner->flags & EntityFlag::World) && owner->handle;
        if (taken || !b->handle) continue;
        addBounds(c, b->mins, b->maxs);
        BrushRecord* copy = b->handle->copyData();
        if (groups) {
            copy->group = Clip_CopyGroup(c, b->group);
            copy->outerGroup = Clip_CopyGroup(c, b->outerGroup);
        }
        List_Prepend(c->worldBrushes, static_cast<BrushRecord**>(nullptr), copy);
    }
}

// ---- Paste -------------------------------------------------------------------------------------

bool Clip_Paste(Clipboard* c, MapHandle map, int32_t copies, const float position[3], const float offset[3],
                const float rotation[3], bool select, bool groupCopies, bool keepConnections,
                const char* undoName) {
    MapWorld* world = Map_FromHandle(map);
    if (!c || !world || !Clip_HasContent(c)) return false;
    if (copies < 1) {
        Sys_Warning("Paste: %i copies requested", copies);
        return false;
    }
    EntityRecord* worldEntity = worldEntityOf(world);
    if (c->worldBrushes && !worldEntity) {
        Sys_Warning("Paste: the map has no world entity for the brushes");
        return false;
    }

    PasteContext ctx{c, map, world, Undo_HistoryOf(map), &Sys_Settings(), {}, nullptr, select};
    Clip_GetCenter(c, ctx.placed.centre);
    if (position)
        for (int i = 0; i < 3; ++i)
            ctx.placed.move[i] = position[i] - ctx.placed.centre[i];
    const bool moves = anyNonZero(offset);
    const bool turns = anyNonZero(rotation);
    ctx.placed.transforming = moves || turns;
    ctx.placed.turns = turns;

    Undo_BeginLevel(ctx.history, undoName);
    stopListening(c);
    c->mode = ClipMode::Pasted;
    if (select) Map_SelectNone(world);

    int32_t entityCount = 0;
    for (const EntityRecord* e = c->entities; e; e = e->next)
        ++entityCount;
    const bool keep = keepConnections && entityCount >= 2;

    for (int32_t k = 1; k <= copies; ++k) {
        PlacedCopy& placed = ctx.placed;
        if (turns) {
            float m[16];
            // The dialog's angles are about x, y and z; the matrix takes them z first.
            Math_RotationMatrix(float(k) * rotation[2], float(k) * rotation[1], float(k) * rotation[0],
                                nullptr, m);
            std::memcpy(placed.matrix, m, sizeof placed.matrix);
        }
        for (int i = 0; i < 3; ++i)
            placed.matrix[i * 4 + 3] = moves ? float(k) * offset[i] : 0.0f;

        pasteOneCopy(ctx, worldEntity, groupCopies, keep);
    }
    if (c->worldBrushes && worldEntity->handle) worldEntity->handle->update(0);

    finishStep(map);
    return true;
}

// ---- Centre, groups, clearing ------------------------------------------------------------------

void Clip_GetCenter(const Clipboard* c, float center[3]) {
    if (!center) return;
    if (!c || c->mins[0] > c->maxs[0]) {
        Vec_Set(center, 0, 0, 0);
        return;
    }
    const MainSettings& s = Sys_Settings();
    const float grid = float(s.CurrentGridSize > 0 ? s.CurrentGridSize : 1);
    for (int i = 0; i < 3; ++i) {
        center[i] = (c->mins[i] + c->maxs[i]) * 0.5f;
        if (s.SnapToGrid) center[i] = std::floor(center[i] / grid + 0.5f) * grid;
    }
}

GroupRecord* Clip_CopyGroup(Clipboard* c, const GroupRecord* group) {
    if (!c || !group) return nullptr;
    for (GroupRecord* copy = c->groupCopies; copy; copy = copy->next)
        if (copy->serial == group->serial) return copy;
    auto* copy = static_cast<GroupRecord*>(std::calloc(1, sizeof(GroupRecord)));
    copy->serial = group->serial;
    copy->flags = group->flags;
    // Listed before the parent is copied, so a corrupt chain that loops ends here.
    List_Prepend(c->groupCopies, static_cast<GroupRecord**>(nullptr), copy);
    copy->parent = Clip_CopyGroup(c, group->parent);
    return copy;
}

GroupRecord* Clip_MapGroup(Clipboard* c, MapHandle map, const GroupRecord* copy) {
    if (!c || !copy || !Map_FromHandle(map)) return nullptr;
    if (const auto it = c->groupMap.find(copy); it != c->groupMap.end()) return it->second;
    GroupRecord* group = Group_Create(map);
    c->groupMap[copy] = group; // before the parent: a looping chain of copies ends here
    if (copy->parent)
        if (GroupRecord* parent = Clip_MapGroup(c, map, copy->parent)) {
            group->parent = parent;
            ++parent->memberCount;
        }
    c->newGroups.push_back(group);
    return group;
}

void Clip_Clear(Clipboard* c) {
    if (!c) return;
    stopListening(c);
    while (EntityRecord* e = c->entities) {
        c->entities = e->next;
        if (e->handle) {
            delete e->handle; // a cut entity, with its brushes
            continue;
        }
        for (BrushRecord* b = e->firstBrush; b;) {
            BrushRecord* next = b->next;
            Brush_FreeCopy(b);
            b = next;
        }
        e->firstBrush = e->lastBrush = nullptr;
        Entity_FreeCopy(e);
    }
    while (BrushRecord* b = c->worldBrushes) {
        c->worldBrushes = b->next;
        if (b->handle)
            delete b->handle;
        else
            Brush_FreeCopy(b);
    }
    while (GroupRecord* g = c->groupCopies) {
        c->groupCopies = g->next;
        std::free(g);
    }
    c->groupMap.clear();
    c->newGroups.clear();
    c->mode = ClipMode::Pasted;
    clearBounds(c);
}

void Clip_ForgetMap(Clipboard* c, MapHandle map) {
    if (!c || !map || c->source != map) return;
    stopListening(c);
    c->source = nullptr;
}

bool Clip_HasContent(const Clipboard* c) {
    return c && (c->entities || c->worldBrushes);
}
