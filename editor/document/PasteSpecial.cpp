#include "document/PasteSpecial.h"

#include <QCoreApplication>
#include <bit>
#include <cstring>

#include "core/Prompt.h"
#include "document/Clipboard.h"
#include "document/MapWorld.h"
#include "core/MainSettings.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"

PasteSpecialOptions PasteSpecial_FromSettings(const MainSettings& s) {
    PasteSpecialOptions o;
    o.copies = s.NumCopies;
    o.flags = s.PasteFlags;
    const float offset[3] = {s.OffsetX, s.OffsetY, s.OffsetZ};
    const float rotation[3] = {s.RotationX, s.RotationY, s.RotationZ};
    std::memcpy(o.offset, offset, sizeof o.offset);
    std::memcpy(o.rotation, rotation, sizeof o.rotation);
    return o;
}

void PasteSpecial_ToSettings(const PasteSpecialOptions& o, MainSettings* s) {
    s->NumCopies = o.copies;
    s->PasteFlags = o.flags;
    s->OffsetX = o.offset[0];
    s->OffsetY = o.offset[1];
    s->OffsetZ = o.offset[2];
    s->RotationX = o.rotation[0];
    s->RotationY = o.rotation[1];
    s->RotationZ = o.rotation[2];
}

namespace {

int64_t brushIds(const BrushRecord* brushes) {
    int64_t n = 0;
    for (const BrushRecord* b = brushes; b; b = b->next) {
        ++n;
        for (const FaceRecord* f = b->firstFace; f; f = f->next)
            ++n;
    }
    return n;
}

} // namespace

int64_t Clip_IdsPerCopy(const Clipboard* c) {
    if (!c) return 0;
    int64_t n = brushIds(c->worldBrushes);
    for (const EntityRecord* e = c->entities; e; e = e->next)
        n += 1 + brushIds(e->firstBrush);
    for (const GroupRecord* g = c->groupCopies; g; g = g->next)
        ++n;
    return n + 1; // the group of a grouped copy
}

int64_t Map_FreeIdCount(const MapWorld* world) {
    if (!world || !world->idBitmap) return 0;
    int64_t used = 0;
    for (uint32_t i = 0; i < kIdBitmapBytes; i += 8) {
        uint64_t word;
        std::memcpy(&word, world->idBitmap + i, sizeof word);
        used += std::popcount(word);
    }
    return kMaxObjectId - used;
}

bool Map_PasteSpecial(Clipboard* clipboard, MapHandle map, const PasteSpecialOptions& o,
                      const float point[3]) {
    MapWorld* world = Map_FromHandle(map);
    if (!world || !Clip_HasContent(clipboard)) return false;
    const int64_t perCopy = Clip_IdsPerCopy(clipboard);
    const int64_t room = Map_FreeIdCount(world);
    if (o.copies < 1 || int64_t(o.copies) * perCopy > room) {
        Prompt_Message(nullptr, PromptIcon::Warning,
                       QCoreApplication::translate(
                           "cMainWindow", "Cannot paste %1 copies: the map has room for %2 more objects.")
                           .arg(o.copies)
                           .arg(room));
        return false;
    }
    const float origin[3] = {0, 0, 0};
    const float* position = (o.flags & PASTE_AT_ORIGINAL_CENTER) ? nullptr : (point ? point : origin);
    return Clip_Paste(clipboard, map, o.copies, position, (o.flags & PASTE_OFFSET) ? o.offset : nullptr,
                      (o.flags & PASTE_ROTATION) ? o.rotation : nullptr, true, o.flags & PASTE_GROUP_COPIES,
                      o.flags & PASTE_KEEP_INTERNAL_CONNECTIONS, "Paste Special");
}
