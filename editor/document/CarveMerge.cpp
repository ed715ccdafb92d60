// Carve and merge, and the face tests they share with each other.
#include "document/CarveMerge.h"

#include <algorithm>
#include <cmath>

#include "core/Prompt.h"
#include "core/System.h"
#include "core/Winding.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/OperationSupport.h"
#include "document/UndoHistory.h"
#include "gamedata/TextureManager.h"
#include "kstdlib/kstring.h"
#include "map/Decal.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "core/Vector.h"
#include "map/ObjectRecords.h"

namespace {

// How far a vertex may lie in front of the other brush's plane and still count as behind it.
constexpr float kHullTolerance = 0.2f;
// Opposite faces must overlap by more than this inside every edge of the other face.
constexpr double kSharedAreaInset = 0.1;

bool isSolid(const BrushRecord* b) {
    return b && b->kind == BrushKind::Solid && !b->patch && !b->overlay;
}

bool noCarveTexture(const BrushRecord* b) {
    const FaceRecord* first = b->firstFace;
    // The effect flag word carries "qer_nocarve".
    return first && first->texture && (first->texture->category & EFFECT_NO_CARVE);
}

// Every vertex of f lies at most the tolerance in front of g's plane.
bool behindPlaneOf(const FaceRecord* f, const FaceRecord* g) {
    for (int32_t i = 0; i < f->vertexCount; ++i)
        if (Vec_Dot(g->normal, f->vertices[i].xyz) - g->dist > kHullTolerance) return false;
    return true;
}

bool hasOppositeIn(const FaceRecord* f, const BrushRecord* b) {
    for (const FaceRecord* g = b->firstFace; g; g = g->next)
        if (Map_FacesOpposite(f, g)) return true;
    return false;
}

bool samePlane(const FaceRecord* a, const FaceRecord* b) {
    return Math_PlanesEqual(a->normal, b->normal, false);
}

// A face with the plane of f, same or opposite, is already on b.
bool planeOnBrush(const FaceRecord* f, const BrushRecord* b) {
    for (const FaceRecord* g = b->firstFace; g; g = g->next)
        if (Math_PlanesEqual(f->normal, g->normal, false) || Math_PlanesEqual(f->normal, g->normal, true))
            return true;
    return false;
}

// A new face on the brush with the texture block and plane of src; its polygon comes with the
// next polygon update.
void copyFacePlane(MapWorld* world, BrushRecord* brush, const FaceRecord* src) {
    FaceRecord* face = Face_Create(Map_Handle(world), brush, &src->texInfo, 0);
    Vec_Copy(src->normal, face->normal);
    face->dist = src->dist;
    face->axialType = src->axialType;
}

bool boundsTouch(const BrushRecord* a, const BrushRecord* b) {
    for (int axis = 0; axis < 3; ++axis)
        if (a->mins[axis] > b->maxs[axis] + 0.01f || b->mins[axis] - 0.01f > a->maxs[axis]) return false;
    return true;
}

// ---- Carve ------------------------------------------------------------------------------------------

bool isCarveTarget(const BrushRecord* t, const BrushRecord* cutter) {
    constexpr uint32_t kSkip = BrushFlags::Selected | BrushFlags::Hidden | CarveFlags::CutterPiece;
    if (t == cutter || !t->firstFace || (t->flags & kSkip) || !isSolid(t) || noCarveTexture(t)) return false;
    return t->handle->touchesBox(cutter->mins, cutter->maxs) && t->handle->intersectsBrush(cutter);
}

// Splits t by the cutter's faces: the parts outside the cutter become pieces, the part inside is
// dropped, and t goes when it was cut (recorded unless it is itself an unrecorded piece).
void carveBrush(MapWorld* world, UndoHistory* history, BrushRecord* t, const BrushRecord* cutter) {
    BrushRecord* rest = t;
    for (const FaceRecord* f = cutter->firstFace; f && rest; f = f->next) {
        if (!rest->handle->touchesBox(f->mins, f->maxs)) continue;
        const BrushPlane plane = {{f->normal[0], f->normal[1], f->normal[2]}, f->dist, f->axialType};
        BrushRecord* front = nullptr;
        BrushRecord* back = nullptr;
        rest->handle->split(&plane, &front, &back);
        if (rest != t) Map_DeleteBrush(world, rest, false);
        if (front) front->flags |= CarveFlags::Piece | CarveFlags::CutterPiece;
        rest = back;
    }
    if (rest == t) return;
    if (rest) Map_DeleteBrush(world, rest, false);
    if (!(t->flags & CarveFlags::Piece)) Undo_SaveBrush(history, t, UndoList::DeletedBrushes, true);
    Map_DeleteBrush(world, t, false);
}

// Merges the entity's new pieces, then records them as created.
void finishCarvedEntity(MapWorld* world, UndoHistory* history, EntityRecord* e) {
    BrushChain chain;
    for (BrushRecord* b = e->firstBrush; b; b = b->next)
        if ((b->flags & CarveFlags::Piece) && !(b->flags & BrushFlags::Selected)) chain.push_back(b);
    Map_CarveMergePieces(world, chain);
    e->handle->update(0);
    for (BrushRecord* b = e->firstBrush; b; b = b->next) {
        if (!(b->flags & CarveFlags::Piece)) continue;
        b->flags &= ~CarveFlags::Piece;
        Undo_SaveBrush(history, b, UndoList::CreatedBrushes, true);
        Decal_InvalidateAroundBrush(b);
    }
    Map_RemoveEmptiedEntity(world, e);
}

// ---- Merge ------------------------------------------------------------------------------------------

// Why a brush cannot take part in a merge with the first selected brush's entity; null when it can.
const char* mergeRefusal(const BrushRecord* b, const EntityRecord* owner) {
    if (b->patch || b->kind == BrushKind::Patch) return "can't merge patches!";
    if (b->overlay || b->kind == BrushKind::Overlay) return "can't merge overlays!";
    if (b->entity != owner) return "can't merge brushes from different entities!";
    return nullptr;
}

// The faces of each brush that are not one side of a wall shared with another of the brushes.
std::vector<std::vector<FaceRecord*>> outerFaces(const std::vector<BrushRecord*>& brushes) {
    std::vector<std::vector<FaceRecord*>> outer(brushes.size());
    for (size_t i = 0; i < brushes.size(); ++i) {
        for (FaceRecord* f = brushes[i]->firstFace; f; f = f->next) {
            bool shared = false;
            for (size_t j = 0; j < brushes.size() && !shared; ++j)
                shared = j != i && hasOppositeIn(f, brushes[j]);
            if (!shared) outer[i].push_back(f);
        }
    }
    return outer;
}

bool hullIsConvex(const std::vector<std::vector<FaceRecord*>>& outer) {
    for (size_t x = 0; x < outer.size(); ++x)
        for (size_t y = x + 1; y < outer.size(); ++y)
            for (const FaceRecord* fx : outer[x])
                for (const FaceRecord* fy : outer[y])
                    if (!samePlane(fx, fy) && (!behindPlaneOf(fx, fy) || !behindPlaneOf(fy, fx)))
                        return false;
    return true;
}

} // namespace

// ---- Shared steps ---------------------------------------------------------------------------------------

bool Map_FacesOpposite(const FaceRecord* a, const FaceRecord* b) {
    if (!a || !b || !Math_PlanesEqual(a->normal, b->normal, true)) return false;
    if (a->vertexCount < 3 || b->vertexCount < 3 || !a->vertices || !b->vertices) return false;

    // Clip a's polygon to the inside of every edge of b, kept a little off the edges: whatever
    // survives is area the two faces share.
    double centre[3] = {0, 0, 0};
    for (int32_t i = 0; i < b->vertexCount; ++i)
        for (int k = 0; k < 3; ++k)
            centre[k] += b->vertices[i].xyz[k] / b->vertexCount;

    cWindingDouble* w = cWinding::AllocDouble();
    w->count = a->vertexCount; // at most kFaceMaxVertices, the winding's capacity
    for (int32_t i = 0; i < w->count; ++i)
        for (int k = 0; k < 3; ++k)
            w->points[i][k] = a->vertices[i].xyz[k];

    for (int32_t i = 0; i < b->vertexCount && w; ++i) {
        const float* p = b->vertices[i].xyz;
        const float* q = b->vertices[(i + 1) % b->vertexCount].xyz;
        const double edge[3] = {double(q[0]) - p[0], double(q[1]) - p[1], double(q[2]) - p[2]};
        double inward[3] = {edge[1] * b->normal[2] - edge[2] * b->normal[1],
                            edge[2] * b->normal[0] - edge[0] * b->normal[2],
                            edge[0] * b->normal[1] - edge[1] * b->normal[0]};
        const double length =
            std::sqrt(inward[0] * inward[0] + inward[1] * inward[1] + inward[2] * inward[2]);
        if (length < 1e-6) continue; // a repeated vertex
        double d = 0, c = 0;
        for (int k = 0; k < 3; ++k) {
            inward[k] /= length;
            d += inward[k] * p[k];
            c += inward[k] * centre[k];
        }
        if (c < d) {
            for (double& v : inward)
                v = -v;
            d = -d;
        }
        const float n[3] = {float(inward[0]), float(inward[1]), float(inward[2])};
        w = cWinding::Clip(w, n, float(d + kSharedAreaInset));
    }
    const bool shared = w && w->count >= 3;
    cWinding::FreeDouble(w);
    return shared;
}

void Map_RemoveEmptiedEntity(MapWorld* world, EntityRecord* entity) {
    if (!world || !entity || entity->firstBrush || (entity->flags & (EntityFlag::World | EntityFlag::Point)))
        return;
    Map_RemoveEntity(world, entity, true);
}

BrushRecord* Map_TryMergeBrushPair(MapWorld* world, BrushChain& chain, BrushRecord* a, BrushRecord* b) {
    if (!world || !a || !isSolid(b) || !boundsTouch(a, b)) return nullptr;
    int32_t opposite = 0;
    for (const FaceRecord* fa = a->firstFace; fa; fa = fa->next) {
        if (hasOppositeIn(fa, b)) {
            if (++opposite > 1) return nullptr;
            continue;
        }
        for (const FaceRecord* fb = b->firstFace; fb; fb = fb->next) {
            if (hasOppositeIn(fb, a)) continue;
            if (samePlane(fa, fb)) {
                if (K_Pathcmp(fa->texInfo.name, fb->texInfo.name) != 0) return nullptr;
            } else if (!behindPlaneOf(fa, fb) || !behindPlaneOf(fb, fa)) {
                return nullptr;
            }
        }
    }

    BrushRecord* merged = Brush_Create(Map_Handle(world), a->entity);
    merged->flags |= CarveFlags::Piece;
    for (const auto& [from, other] : {std::pair{a, b}, std::pair{b, a}})
        for (const FaceRecord* f = from->firstFace; f; f = f->next)
            if (!hasOppositeIn(f, other) && !planeOnBrush(f, merged)) copyFacePlane(world, merged, f);

    chain.erase(std::remove_if(chain.begin(), chain.end(), [&](BrushRecord* p) { return p == a || p == b; }),
                chain.end());
    Map_DeleteBrush(world, a, false);
    Map_DeleteBrush(world, b, false);
    chain.insert(chain.begin(), merged);
    merged->handle->update(FaceUpdate::Polygon);
    return merged;
}

void Map_CarveMergePieces(MapWorld* world, BrushChain& chain) {
    for (bool mergedAny = true; mergedAny;) {
        mergedAny = false;
        BrushChain output;
        while (!chain.empty()) {
            BrushRecord* piece = chain.front();
            BrushRecord* merged = nullptr;
            // A successful merge changes the chain: the merged brush is its new head.
            for (size_t i = 1; i < chain.size() && !merged; ++i)
                merged = Map_TryMergeBrushPair(world, chain, piece, chain[i]);
            if (merged) {
                mergedAny = true;
                continue;
            }
            chain.erase(chain.begin());
            output.insert(output.begin(), piece);
        }
        chain.swap(output);
    }
}

// ---- Carve ------------------------------------------------------------------------------------------

void Map_Carve(MapWorld* world) {
    if (!world) return;
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Carve");
    // The cutters do not change; their texture data goes into the level so that undo and redo
    // leave them selected.
    Undo_SaveSelectedBrushesChanged(history, false);

    for (EntityRecord *e = world->entities, *next = nullptr; e; e = next) {
        next = e->next; // an entity left without brushes is removed below
        if (!e->firstBrush) continue;
        bool carved = false;
        for (const BrushRecord* cutter = world->selectedBrushes; cutter; cutter = cutter->selNext) {
            if (!isSolid(cutter)) continue;
            for (BrushRecord *t = e->firstBrush, *nextBrush = nullptr; t; t = nextBrush) {
                nextBrush = t->next; // new pieces go to the list's tail; t itself may be deleted
                if (isCarveTarget(t, cutter)) {
                    carved = true;
                    carveBrush(world, history, t, cutter);
                }
            }
            for (BrushRecord* b = e->firstBrush; b; b = b->next)
                b->flags &= ~CarveFlags::CutterPiece;
        }
        if (carved) finishCarvedEntity(world, history, e);
    }
    Undo_EndLevel(history);
    Map_OpFinish(world, true);
}

// ---- Merge ------------------------------------------------------------------------------------------

bool Map_Merge(MapWorld* world) {
    if (!world) return false;
    std::vector<BrushRecord*> selected;
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        selected.push_back(b);
    if (selected.size() < 2) {
        Map_OpWarn("At least two brushes must be selected.", true);
        return false;
    }
    EntityRecord* owner = selected.front()->entity;
    for (const BrushRecord* b : selected) {
        if (const char* refusal = mergeRefusal(b, owner)) {
            Map_OpWarn(refusal, true);
            return false;
        }
    }
    const std::vector<std::vector<FaceRecord*>> outer = outerFaces(selected);
    if (!hullIsConvex(outer)) {
        Map_OpWarn("can't add a set of brushes with a concave hull!", true);
        return false;
    }

    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Merge");
    BrushRecord* merged = Brush_Create(Map_Handle(world), owner);
    for (const std::vector<FaceRecord*>& faces : outer)
        for (const FaceRecord* f : faces)
            if (!planeOnBrush(f, merged)) copyFacePlane(world, merged, f);
    for (BrushRecord* b : selected)
        Map_DeleteBrush(world, b, true);
    owner->handle->update(FaceUpdate::Polygon);
    Map_SelectObject(world, merged);
    Undo_SaveBrush(history, merged, UndoList::CreatedBrushes, true);
    Undo_EndLevel(history);
    Decal_InvalidateAroundBrush(merged);
    Map_OpFinish(world, true);
    return true;
}

// ---- Commands ---------------------------------------------------------------------------------------

bool Map_CmdCarve(MapWorld* world) {
    if (!world) return false;
    if (!world->selectedBrushes) {
        Prompt_Message(nullptr, PromptIcon::Warning,
                       QStringLiteral("There are no eligible selected objects."));
        return false;
    }
    Map_Carve(world);
    Map_OpRedraw(world, ViewMask::Views2D | ViewMask::View3D);
    return true;
}

bool Map_CmdMerge(MapWorld* world) {
    if (!world) return false;
    if (!world->selectedBrushes) {
        Prompt_Message(nullptr, PromptIcon::Warning,
                       QStringLiteral("There are no eligible selected objects."));
        return false;
    }
    if (!world->selectedBrushes->selNext) {
        Prompt_Message(nullptr, PromptIcon::Warning,
                       QStringLiteral("At least two brushes must be selected."));
        return false;
    }
    if (!Map_Merge(world)) return false;
    Map_OpRedraw(world, ViewMask::Views2D | ViewMask::View3D);
    return true;
}
