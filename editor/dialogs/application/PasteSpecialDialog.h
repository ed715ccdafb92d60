// Flag bits of the paste-special dialog, as remembered in the PasteSpecial settings group and
// passed to the clipboard's paste.
#pragma once

#include <cstdint>

inline constexpr int32_t PASTE_AT_ORIGINAL_CENTER = 0x1;
inline constexpr int32_t PASTE_GROUP_COPIES = 0x2;
inline constexpr int32_t PASTE_KEEP_INTERNAL_CONNECTIONS = 0x4;
inline constexpr int32_t PASTE_OFFSET = 0x8;
inline constexpr int32_t PASTE_ROTATION = 0x10;
