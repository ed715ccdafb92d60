// What every map object shares: the handle/record pair, the record header, the flag bits common
// to all kinds, colours and the intrusive lists the records are linked in.
//
// A map object is a handle (a class derived from cMapObject, with behaviour) that owns one
// zero-filled plain record (what lists link, what undo and project files copy, what plugins
// read by offset). The record's first field points back to the handle.
//
// Record conventions (every kind's header follows them so the list templates below and
// Object_FromRecord work on any record):
//   offset 0  `handle`   back pointer (cMapObject or the derived handle type); null in a
//                        detached copy
//   offset 8  `next`     next record in the owner's list
//   offset 16 `prev`     previous record in the owner's list
//   offset 24 `selNext`  next record in the world's selection list of the kind (selectable kinds)
//   offset 32 `selPrev`  previous record in that list
//   `flags` (uint32, RecordFlag bits below plus the kind's own) and `serial` (int32) wherever
//   the kind's layout puts them.
// Handle classes derive from cMapObject by single inheritance only (cMapDrawable included), so
// a typed back pointer and the cMapObject pointer are the same address.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

struct MapWorld;
// The map handle: the address of MapWorld::handle, whose content is the world itself.
using MapHandle = MapWorld**;

enum class MapObjectKind : int32_t {
    Entity = 0,
    Brush = 1,
    Face = 2,
    Patch = 3,
    Overlay = 4,
    Group = 5,
    Path = 6,
    Node = 7,
    Camera = 8,
};

// Bits every kind's flags word gives the same meaning.
namespace RecordFlag {
constexpr uint32_t Selected = 0x2;    // linked in the world's selection list of the kind
constexpr uint32_t NeedsUpdate = 0x4; // set at creation and by edits; not drawn or picked
constexpr uint32_t Hidden = 0x8;
constexpr uint32_t Blended = 0x10; // drawn in the blended pass
} // namespace RecordFlag

// The shared record header, for documentation and layout checks; records spell the fields out
// themselves with typed pointers.
struct RecordHeader {
    void* handle;
    void* next;
    void* prev;
    void* selNext;
    void* selPrev;
};
static_assert(sizeof(RecordHeader) == 40);

template <class R> constexpr bool Record_HasOwnerLinks() {
    return std::is_standard_layout_v<R> && offsetof(R, handle) == 0 && offsetof(R, next) == 8 &&
           offsetof(R, prev) == 16;
}
template <class R> constexpr bool Record_HasSelectionLinks() {
    return Record_HasOwnerLinks<R>() && offsetof(R, selNext) == 24 && offsetof(R, selPrev) == 32;
}

// Colours are 32-bit words whose bytes in memory are red, green, blue, alpha.
using ObjectColor = uint32_t;
constexpr ObjectColor kObjectColorBlack = 0xff000000u; // 0, 0, 0, 255: "never coloured"

inline ObjectColor Color_FromBytes(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    const uint8_t bytes[4] = {r, g, b, a};
    ObjectColor c;
    std::memcpy(&c, bytes, 4);
    return c;
}
inline void Color_ToBytes(ObjectColor c, uint8_t out[4]) {
    std::memcpy(out, &c, 4);
}

// The pick colour of an object id: red bits 0-7, green 8-15, blue 16-23, alpha 255.
inline ObjectColor Object_PickColor(int32_t id) {
    return Color_FromBytes(uint8_t(id), uint8_t(id >> 8), uint8_t(id >> 16), 255);
}

// Display colour from a random base colour between two scheme colours: per channel
// min + ((max - min) * base) >> 8 when that step is at least 1, else min; alpha 255.
ObjectColor Object_RandomDisplayColor(ObjectColor base, ObjectColor min, ObjectColor max);
// Three random bytes from K_RandomLong(0, 255), alpha 255.
ObjectColor Object_RandomBaseColor();

// Base of every handle. Its one virtual operation is the destructor, which frees the record;
// derived destructors free what the record owns first. Deleting a handle does not unlink its
// record: callers unlink first.
class cMapObject {
public:
    virtual ~cMapObject();
    cMapObject(const cMapObject&) = delete;
    cMapObject& operator=(const cMapObject&) = delete;

    MapObjectKind kind() const { return m_kind; }
    void* record() const { return m_record; }

    // Object id within the map; -1 while unlinked and after the id was freed.
    int32_t id = -1;
    // Random base colour (brushes, groups, cameras) and the colour drawn.
    ObjectColor baseColor = kObjectColorBlack;
    ObjectColor displayColor = kObjectColorBlack;

protected:
    // Allocates the zero-filled record of recordSize bytes and writes this handle into its
    // first field.
    cMapObject(MapObjectKind kind, size_t recordSize);

private:
    void* m_record;
    MapObjectKind m_kind;
};

// The handle a record points back to; null for a null record or a detached copy.
inline cMapObject* Object_FromRecord(const void* record) {
    if (!record) return nullptr;
    cMapObject* handle;
    std::memcpy(&handle, record, sizeof(handle));
    return handle;
}

// ---- Intrusive lists over the record links -------------------------------------------------

// Appends at the tail of a head/tail list.
template <class R> void List_Append(R*& head, R*& tail, R* rec) {
    rec->next = nullptr;
    rec->prev = tail;
    if (tail)
        tail->next = rec;
    else
        head = rec;
    tail = rec;
}

// Inserts at the head; tail may be null for lists that keep no tail.
template <class R> void List_Prepend(R*& head, R** tail, R* rec) {
    rec->prev = nullptr;
    rec->next = head;
    if (head)
        head->prev = rec;
    else if (tail)
        *tail = rec;
    head = rec;
}

// Inserts before at, which is in the list.
template <class R> void List_InsertBefore(R*& head, R* at, R* rec) {
    rec->next = at;
    rec->prev = at->prev;
    if (at->prev)
        at->prev->next = rec;
    else
        head = rec;
    at->prev = rec;
}

// Unlinks from a list, mending head and (when kept) tail.
template <class R> void List_Remove(R*& head, R** tail, R* rec) {
    if (rec->prev)
        rec->prev->next = rec->next;
    else if (head == rec)
        head = rec->next;
    if (rec->next)
        rec->next->prev = rec->prev;
    else if (tail && *tail == rec)
        *tail = rec->prev;
    rec->next = nullptr;
    rec->prev = nullptr;
}

// Selection lists are pushed at the head; the selected bit and the membership change together.
template <class R> void Selection_Link(R*& head, R* rec) {
    if (rec->flags & RecordFlag::Selected) return;
    rec->flags |= RecordFlag::Selected;
    rec->selPrev = nullptr;
    rec->selNext = head;
    if (head) head->selPrev = rec;
    head = rec;
}

template <class R> void Selection_Unlink(R*& head, R* rec) {
    if (!(rec->flags & RecordFlag::Selected)) return;
    rec->flags &= ~RecordFlag::Selected;
    if (rec->selPrev)
        rec->selPrev->selNext = rec->selNext;
    else if (head == rec)
        head = rec->selNext;
    if (rec->selNext) rec->selNext->selPrev = rec->selPrev;
    rec->selNext = nullptr;
    rec->selPrev = nullptr;
}

// Clears the selected bit of every member and empties the list.
template <class R> void Selection_Clear(R*& head) {
    for (R* r = head; r;) {
        R* next = r->selNext;
        r->flags &= ~RecordFlag::Selected;
        r->selNext = nullptr;
        r->selPrev = nullptr;
        r = next;
    }
    head = nullptr;
}
