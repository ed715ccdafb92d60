// Make Hollow and Clip Objects, with their commands.
#include "document/HollowClip.h"

#include "core/SysHost.h"
#include "document/CarveMerge.h"

#include <QGuiApplication>
#include <algorithm>
#include <cmath>

#include "core/Prompt.h"
#include "core/System.h"
#include "core/Winding.h"
#include "document/GroupChain.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/OperationSupport.h"
#include "document/UndoHistory.h"
#include "kstdlib/kmath.h"
#include "core/MainSettings.h"
#include "map/Decal.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "core/Vector.h"
#include "map/ObjectRecords.h"

namespace {

constexpr int32_t kAllViews = ViewMask::Views2D | ViewMask::View3D;
// The room left inside a hollowed brush must be at least this wide.
constexpr float kMinRoomWidth = 1.0f;

const char* const kTooThick =
    "The walls are too thick: twice the thickness must fit inside every selected solid.";

bool isSolid(const BrushRecord* b) {
    return b && b->kind == BrushKind::Solid && !b->patch && !b->overlay;
}

// Whether anything of the brush is left once every plane moves inward by inset: some face's
// plane, moved, still holds a polygon inside all the other moved planes.
bool roomRemains(const BrushRecord* b, float inset) {
    for (const FaceRecord* f = b->firstFace; f; f = f->next) {
        cWindingDouble* w = cWinding::AllocDouble();
        cWinding::InitFromPlane(w, f->normal, f->dist - inset);
        for (const FaceRecord* g = b->firstFace; g && w; g = g->next) {
            if (g == f) continue;
            const float inward[3] = {-g->normal[0], -g->normal[1], -g->normal[2]};
            w = cWinding::Clip(w, inward, -(g->dist - inset));
        }
        const bool remains = w && w->count >= 3;
        cWinding::FreeDouble(w);
        if (remains) return true;
    }
    return false;
}

// Entities of the brushes, each once, in first-seen order.
std::vector<EntityRecord*> entitiesOf(const std::vector<BrushRecord*>& brushes) {
    std::vector<EntityRecord*> entities;
    for (const BrushRecord* b : brushes)
        if (b->entity && std::find(entities.begin(), entities.end(), b->entity) == entities.end())
            entities.push_back(b->entity);
    return entities;
}

// The shell of one brush: slabs between each face and its plane moved inward by h.
void hollowBrush(MapWorld* world, UndoHistory* history, BrushRecord* q, float thickness, GroupRecord* group,
                 std::vector<BrushRecord*>& walls) {
    const float h = std::fabs(thickness);
    Undo_SaveBrush(history, q, UndoList::DeletedBrushes, true);
    if (thickness < 0) q->handle->offsetPlanes(h);
    BrushRecord* rest = q;
    for (const FaceRecord* f = q->firstFace; f && rest; f = f->next) {
        const BrushPlane plane = {{f->normal[0], f->normal[1], f->normal[2]}, f->dist - h, f->axialType};
        BrushRecord* front = nullptr;
        BrushRecord* back = nullptr;
        rest->handle->split(&plane, &front, &back);
        Map_DeselectObject(world, rest);
        if (rest != q) Map_DeleteBrush(world, rest, false);
        if (front) {
            if (group) Map_AddBrushToGroupChain(front, group);
            walls.push_back(front);
        }
        rest = back;
    }
    if (rest && rest != q) Map_DeleteBrush(world, rest, false);
    Map_DeleteBrush(world, q, false);
}

class cWaitCursor {
public:
    explicit cWaitCursor(bool show)
        : m_active(show && qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (m_active) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~cWaitCursor() {
        if (m_active) QGuiApplication::restoreOverrideCursor();
    }
    cWaitCursor(const cWaitCursor&) = delete;
    cWaitCursor& operator=(const cWaitCursor&) = delete;

private:
    bool m_active;
};

} // namespace

// ---- Make Hollow ----------------------------------------------------------------------------------------

bool Map_MakeHollow(MapWorld* world, float thickness) {
    if (!world) return false;
    if (!std::isfinite(thickness) || thickness == 0.0f) {
        Map_OpWarn("The width of the walls must be non-zero.", false);
        return false;
    }
    // Walls meeting in the middle would fill the brush instead of hollowing it.
    if (thickness > 0) {
        for (const BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
            if (isSolid(b) && b->firstFace && !roomRemains(b, thickness + kMinRoomWidth / 2)) {
                Map_OpWarn(kTooThick, true);
                return false;
            }
        }
    }

    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Make Hollow");
    EntityRecord* worldEntity = Map_OpWorldEntity(world);
    std::vector<BrushRecord*> walls;
    std::vector<GroupRecord*> groups;
    for (BrushRecord *q = world->selectedBrushes, *next = nullptr; q; q = next) {
        next = q->selNext;
        if (!isSolid(q)) {
            // Left as it is: recorded so that undo keeps it selected.
            Undo_SaveBrush(history, q, UndoList::ChangedBrushes, false);
            continue;
        }
        GroupRecord* group = nullptr;
        if (q->entity && q->entity == worldEntity) {
            group = Group_Create(Map_Handle(world));
            groups.push_back(group);
        }
        hollowBrush(world, history, q, thickness, group, walls);
    }

    // One update per entity: updating the world entity per wall would walk all its brushes each time.
    for (EntityRecord* e : entitiesOf(walls))
        e->handle->update(0);
    for (BrushRecord* wall : walls) {
        Map_SelectObject(world, wall);
        Undo_SaveBrush(history, wall, UndoList::CreatedBrushes, true);
        Decal_InvalidateAroundBrush(wall);
    }
    for (GroupRecord* group : groups) {
        if (world->selectionMode == SelectionMode::WholeGroups) Map_SelectObject(world, group);
        Undo_SaveGroup(history, group, UndoList::CreatedGroups);
    }
    Undo_EndLevel(history);
    Map_OpFinish(world, true);
    return true;
}

// ---- Clip Objects ---------------------------------------------------------------------------------------

bool Map_ClipObjects(MapWorld* world, const float normal[3], float distance, int32_t keep) {
    if (!world || !normal) return false;
    if (keep < ClipKeep::Front || keep > ClipKeep::Both) {
        Sys_Warning("Clip Objects: keep mask %d is not 1, 2 or 3", keep);
        return false;
    }
    const float length = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
    if (!std::isfinite(length) || !std::isfinite(distance) || std::fabs(length - 1.0f) > 0.01f) {
        Sys_Warning("Clip Objects: the clip plane has no unit normal");
        return false;
    }

    KPlane plane{};
    Vec_Copy(normal, plane.normal);
    plane.dist = distance;
    plane.type = K_PLANE_ANY;
    for (uint8_t axis = 0; axis < 3; ++axis) {
        if (std::fabs(normal[axis]) == 1.0f) {
            plane.type = axis;
            break;
        }
    }
    K_SetPlaneSignbits(&plane);
    const BrushPlane splitPlane = {{normal[0], normal[1], normal[2]}, distance, plane.type};

    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Clip Objects");
    std::vector<BrushRecord*> result; // kept whole or made by the cut, in the order they came
    std::vector<BrushRecord*> pieces; // made by the cut
    for (BrushRecord *b = world->selectedBrushes, *next = nullptr; b; b = next) {
        next = b->selNext;
        EntityRecord* entity = b->entity;
        if (!isSolid(b)) {
            // Left deselected and unchanged; recorded so that undo selects it again.
            Undo_SaveBrush(history, b, UndoList::ChangedBrushes, false);
            Map_DeselectObject(world, b);
            continue;
        }
        const int side = K_BoxOnPlaneSide(b->mins, b->maxs, &plane);
        if (side != K_SIDE_CROSS) {
            if ((side == K_SIDE_FRONT && (keep & ClipKeep::Front)) ||
                (side == K_SIDE_BACK && (keep & ClipKeep::Back))) {
                Undo_SaveBrush(history, b, UndoList::ChangedBrushes, false);
                Map_DeselectObject(world, b);
                result.push_back(b);
            } else {
                Map_DeleteBrush(world, b, true);
                Map_RemoveEmptiedEntity(world, entity);
            }
            continue;
        }
        BrushRecord* front = nullptr;
        BrushRecord* back = nullptr;
        b->handle->split(&splitPlane, &front, &back);
        const std::pair<BrushRecord*, int32_t> parts[2] = {{front, ClipKeep::Front}, {back, ClipKeep::Back}};
        for (const auto& [piece, bit] : parts) {
            if (!piece) continue;
            if (keep & bit) {
                pieces.push_back(piece);
                result.push_back(piece);
            } else {
                Map_DeleteBrush(world, piece, false);
            }
        }
        Map_DeleteBrush(world, b, true);
        // A split can leave nothing on the kept side when only the bounds crossed the plane.
        Map_RemoveEmptiedEntity(world, entity);
    }

    for (EntityRecord* e : entitiesOf(result))
        e->handle->update(FaceUpdate::TexCoords);
    for (BrushRecord* b : result) {
        Decal_InvalidateAroundBrush(b);
        Map_SelectObject(world, b);
    }
    // Recorded selected, so that redo selects them as the clip did.
    for (BrushRecord* piece : pieces)
        Undo_SaveBrush(history, piece, UndoList::CreatedBrushes, true);
    Undo_EndLevel(history);
    Map_OpFinish(world, true);
    return true;
}

// ---- Commands -------------------------------------------------------------------------------------------

bool Map_CmdMakeHollow(MapWorld* world) {
    if (!world) return false;
    if (!world->selectedBrushes) {
        Prompt_Message(nullptr, PromptIcon::Warning,
                       QStringLiteral("There are no eligible selected objects."));
        return false;
    }
    if (world->selectedBrushes->selNext &&
        Prompt_Question(
            nullptr, PromptIcon::Warning,
            QStringLiteral("Do you want to turn each of the selected solids\ninto a hollow room?"),
            PromptButton::Yes | PromptButton::No) != PromptButton::Yes)
        return false;

    // Beyond the world's size no wall could be built: the spin box stops there.
    const MainSettings& settings = Sys_Settings();
    const int32_t limit = std::max(1, settings.MaxWorldSize);
    bool ok = false;
    const int32_t thickness = Prompt_GetInteger(
        nullptr, QStringLiteral("Make Hollow"),
        QStringLiteral("How thick do you want the walls?\nUse a negative number to hollow outward."),
        settings.CurrentGridSize, -limit, limit, 1, &ok);
    if (!ok) return false; // cancelled
    if (thickness == 0) {
        Prompt_Message(nullptr, PromptIcon::Warning,
                       QStringLiteral("The width of the walls must be non-zero."));
        return false;
    }
    if (!Map_MakeHollow(world, float(thickness))) {
        Prompt_Message(nullptr, PromptIcon::Warning, QString::fromLatin1(kTooThick));
        return false;
    }
    Map_OpRedraw(world, kAllViews);
    return true;
}

bool Map_CmdClipObjects(MapWorld* world, const float normal[3], float distance, int32_t toolMode) {
    if (!world || toolMode < 0 || toolMode > 2) return false;
    static constexpr int32_t kKeepOfMode[3] = {ClipKeep::Front, ClipKeep::Back, ClipKeep::Both};
    bool done = false;
    {
        const cWaitCursor wait(world->selectedBrushes && world->selectedBrushes->selNext);
        done = Map_ClipObjects(world, normal, distance, kKeepOfMode[toolMode]);
    }
    if (done) Map_OpRedraw(world, kAllViews);
    return done;
}
