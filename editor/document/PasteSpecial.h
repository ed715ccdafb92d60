// Edit > Paste Special: the clipboard pasted several times in one step, each copy displaced and
// turned from the previous one, with the options the dialog remembers between runs.
#pragma once

#include <cstdint>

#include "map/MapObject.h"

struct Clipboard;
struct MainSettings;
struct MapWorld;

// Bits of PasteSpecialOptions::flags (the "PasteFlags" setting).
inline constexpr int32_t PASTE_AT_ORIGINAL_CENTER = 0x1;
inline constexpr int32_t PASTE_GROUP_COPIES = 0x2;
inline constexpr int32_t PASTE_KEEP_INTERNAL_CONNECTIONS = 0x4;
inline constexpr int32_t PASTE_OFFSET = 0x8;
inline constexpr int32_t PASTE_ROTATION = 0x10;

struct PasteSpecialOptions {
    int32_t copies = 1;
    int32_t flags = 0;
    float offset[3] = {0, 0, 0};   // kept as shown even while PASTE_OFFSET is off
    float rotation[3] = {0, 0, 0}; // degrees about x, y and z
};

// The remembered options of the "PasteSpecial" settings group, and back.
PasteSpecialOptions PasteSpecial_FromSettings(const MainSettings& settings);
void PasteSpecial_ToSettings(const PasteSpecialOptions& options, MainSettings* settings);

// Object ids one pasted copy of the clipboard takes: entities, brushes, faces and groups.
int64_t Clip_IdsPerCopy(const Clipboard* clipboard);
// Object ids the world can still hand out.
int64_t Map_FreeIdCount(const MapWorld* world);

// Pastes the options' copies into the map as the undo level "Paste Special": at point (null: the
// origin) unless PASTE_AT_ORIGINAL_CENTER, the offset and rotation only when their bits are set.
// A count whose objects exceed the ids left is refused with a message before anything is pasted,
// since running out of ids halfway would end the program. True when something was pasted.
bool Map_PasteSpecial(Clipboard* clipboard, MapHandle map, const PasteSpecialOptions& options,
                      const float point[3]);
