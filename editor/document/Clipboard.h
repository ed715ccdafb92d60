// The editor's one internal clipboard for map objects, shared by all open maps. Cut and Copy
// fill it from the selection of one map; Paste puts copies of its content into any open map,
// optionally several times with an accumulating offset and rotation, grouped, and with the
// links inside the pasted set renamed.
//
// Entries: after a Copy, detached copies of the records (no handle, owning their strings,
// key/values, faces, patch and overlay; an entity copy holds copies of its brushes). After a
// Cut, the removed records themselves, detached from the world (ids freed, no owner map).
// An entry's group fields point at group copies: detached group records holding the serial and
// flags of the group they stand for and a pointer to the copy of its parent.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "map/MapObject.h"
#include "map/ObjectRecords.h"

struct BrushRecord;
struct UndoHistory;
struct UndoLevel;

// Clipboard::mode.
namespace ClipMode {
constexpr int32_t Pasted = 0; // empty, or pasted at least once: nothing to restore
constexpr int32_t Copy = 1;
constexpr int32_t Cut = 2; // pending: restored into the source before the next cut or copy
} // namespace ClipMode

struct Clipboard {
    // The map the content came from; null when that map was closed (Clip_ForgetMap).
    MapHandle source = nullptr;
    EntityRecord* entities = nullptr;    // linked through next, newest first
    BrushRecord* worldBrushes = nullptr; // brushes whose entity was not taken, newest first
    GroupRecord* groupCopies = nullptr;  // linked through next; one per group serial
    int32_t mode = ClipMode::Pasted;
    float mins[3] = {999999.0f, 999999.0f, 999999.0f};
    float maxs[3] = {-999999.0f, -999999.0f, -999999.0f};
    // During a paste: group copy -> the group made for it in the current copy, and the groups
    // made for the current copy in the order they were made.
    std::map<const GroupRecord*, GroupRecord*> groupMap;
    std::vector<GroupRecord*> newGroups;
    // The undo level of a pending cut: undoing it puts the objects back into the map, so the
    // cut must not be restored a second time.
    const UndoLevel* cutLevel = nullptr;
};

// The Edit Cut command: restores a pending cut (when restore is set), empties the clipboard and
// moves the map's selection into it as one undo level "Cut". The map is marked modified.
void Clip_Cut(Clipboard* clipboard, MapHandle map, bool restorePendingCut);
// The Edit Copy command: restores a pending cut (when restore is set), empties the clipboard and
// copies the map's selection into it. The map is not changed.
void Clip_Copy(Clipboard* clipboard, MapHandle map, bool restorePendingCut);
// Puts copies of the content into the map as one undo level of the given name. position: where
// the clipboard centre goes (null: where the originals were). offset and rotation (degrees
// about x, y and z; either may be null) accumulate: copy k is turned by k x rotation about the
// centre and moved by k x offset. Returns false when nothing could be pasted.
bool Clip_Paste(Clipboard* clipboard, MapHandle map, int32_t copies, const float position[3],
                const float offset[3], const float rotation[3], bool select, bool groupCopies,
                bool keepConnections, const char* undoName);
// The middle of the content's bounds, rounded to the grid when grid snapping is on.
void Clip_GetCenter(const Clipboard* clipboard, float center[3]);
// Frees all content: cut records are destroyed, copies freed field by field.
void Clip_Clear(Clipboard* clipboard);
// The copy standing for the group (made once per group serial, parents first).
GroupRecord* Clip_CopyGroup(Clipboard* clipboard, const GroupRecord* group);
// The group made in the map for a group copy during the current copy of a paste.
GroupRecord* Clip_MapGroup(Clipboard* clipboard, MapHandle map, const GroupRecord* copy);
// The map is being closed: a pending cut is no longer restored into it.
void Clip_ForgetMap(Clipboard* clipboard, MapHandle map);
// Whether the clipboard holds anything to paste.
bool Clip_HasContent(const Clipboard* clipboard);
