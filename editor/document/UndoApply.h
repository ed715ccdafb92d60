// What the two files applying an undo level share: look-ups by serial, the selection the level
// found, the flag exchange and group member counts (UndoApply.cpp), and the appliers of entities,
// brushes and faces (UndoApplyEntities.cpp) that the level order in UndoApply.cpp runs.
#pragma once

#include <cstdint>
#include <unordered_set>

struct BrushSnapshotRecord;
struct EntitySnapshot;
struct FaceSnapshotRecord;
struct GroupRecord;
struct MapWorld;

// The first record of the list with the serial.
template <class R> R* UndoApply_FindBySerial(R* first, int32_t serial) {
    for (R* r = first; r; r = r->next)
        if (r->serial == serial) return r;
    return nullptr;
}

// The world's group of the serial; null for 0 or a group no longer there.
GroupRecord* UndoApply_FindGroup(MapWorld* w, int32_t serial);
// A parent or innermost-group link let go: the group counts one member less (null: nothing).
void UndoApply_DropMember(GroupRecord* group);

// The records selected when the level began to apply (applying first deselects everything).
class cUndoPriorSelection {
public:
    explicit cUndoPriorSelection(const MapWorld* w);
    bool has(const void* record) const { return m_records.count(record) != 0; }

private:
    template <class R> void addChain(const R* head) {
        for (const R* r = head; r; r = r->selNext)
            m_records.insert(r);
    }
    std::unordered_set<const void*> m_records;
};

// Flags exchange: the live object takes the snapshot's flags (the selected bit goes through the
// selection list, so it is left to the caller; addBits marks the object for update); the
// snapshot keeps the object's former flags, with the selected bit the object had before the
// level began to apply, so that applying the level again brings that selection back too. True
// when the snapshot asked for the object to be selected.
bool UndoApply_ExchangeFlags(uint32_t& live, uint32_t& snap, uint32_t addBits, bool wasSelected);

// ---- Entities, brushes and faces (UndoApplyEntities.cpp) ----------------------------------------
void UndoApply_RestoreEntitiesAndBrushes(MapWorld* w, const EntitySnapshot* entities,
                                         const BrushSnapshotRecord* brushes);
void UndoApply_RemoveEntitiesAndBrushes(MapWorld* w, const EntitySnapshot* entities,
                                        const BrushSnapshotRecord* brushes);
void UndoApply_SwapEntities(MapWorld* w, EntitySnapshot* list, const cUndoPriorSelection& prior);
void UndoApply_SwapBrushes(MapWorld* w, BrushSnapshotRecord* list, const cUndoPriorSelection& prior);
// Brushes of a selected entity are selected with it.
void UndoApply_SelectBrushesOfSelectedEntities(MapWorld* w);
void UndoApply_SwapFaces(MapWorld* w, FaceSnapshotRecord* list, const cUndoPriorSelection& prior);
