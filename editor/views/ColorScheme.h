// The named colours that all drawing reads. This holds the default scheme only; saved schemes and
// the scheme menu come with the colour-scheme editor.
#pragma once

#include <cstdint>

enum ColorSchemeKey : int32_t {
    COLOR_APPLICATION = 0,
    COLOR_2D_BACKGROUND = 1,
    COLOR_2D_GRID_MAJOR = 2,
    COLOR_2D_GRID_MINOR = 3,
    COLOR_2D_GRID_AXIS = 4,
    COLOR_2D_SELECTION = 5,
    COLOR_2D_VERTEX = 6,
    COLOR_2D_CAMERA = 7,
    COLOR_3D_BACKGROUND = 8,
    COLOR_3D_GRID_MAJOR = 9,
    COLOR_3D_GRID_MINOR = 10,
    COLOR_3D_GRID_AXIS = 11,
    COLOR_3D_SELECTION = 12,
    COLOR_ACTIVE_SELECTION = 13,
    COLOR_ENTITY_CREATION = 14,
    COLOR_PATH_CREATION = 15,
    COLOR_BRUSH_CREATION = 16,
    COLOR_BRUSH_HANDLE = 17,
    COLOR_SELECTED_FILL = 18,
    COLOR_SELECTED_LINE = 19,
    COLOR_CAPTION = 20,
    COLOR_TEXT = 21,
    COLOR_ACTIVE_TEXT = 22,
    COLOR_TEXBROWSER_BACKGROUND = 23,
    COLOR_TEXBROWSER_LINE = 24,
    COLOR_TEXBROWSER_TEXT_BGCOLOR = 25,
    COLOR_TEXBROWSER_TEXT_FGCOLOR = 26,
    COLOR_TEXBROWSER_TEXT_SELECTED = 27,
    COLOR_SHADEREDIT_BACKGROUND = 28,
    COLOR_SHADEREDIT_TEXT = 29,
    COLOR_SHADEREDIT_ERROR = 30,
    COLOR_SHADEREDIT_COMMAND = 31,
    COLOR_SHADEREDIT_PARAMETER = 32,
    COLOR_SHADEREDIT_STRING = 33,
    COLOR_SHADEREDIT_COMMENT = 34,
    COLOR_BULLET_VERTEX = 35,
    COLOR_BULLET_EDGE = 36,
    COLOR_BULLET_PATCH_EXT = 37,
    COLOR_BULLET_PATCH_INT = 38,
    COLOR_BULLET_SELECTED = 39,
    COLOR_BULLET_BORDER = 40,
    COLOR_CAMERA_LINE = 41,
    COLOR_CLIP_POINT = 42,
    COLOR_CLIP_LINE = 43,
    COLOR_CLIP_LINE_INVALID = 44,
    COLOR_CLIP_RESULT = 45,
    COLOR_CORDON_POINT = 46,
    COLOR_CORDON_LINE = 47,
    COLOR_BRUSH_DEFAULT = 48,
    COLOR_BRUSH_RANDOM_MIN = 49,
    COLOR_BRUSH_RANDOM_MAX = 50,
    COLOR_GROUP_RANDOM_MIN = 51,
    COLOR_GROUP_RANDOM_MAX = 52,
    COLOR_CAMERA_RANDOM_MIN = 53,
    COLOR_CAMERA_RANDOM_MAX = 54,
    COLOR_COUNT = 55,
};

struct ColorSchemeEntry {
    int32_t key;
    const char* name;  // the key's own name, e.g. "COLOR_2D_BACKGROUND"
    const char* title; // shown in the scheme editor
    uint8_t rgba[4];
};

// The rows of the default scheme, in key order.
const ColorSchemeEntry* Color_DefaultScheme();
// The colour of a row into a shared buffer; all zero when the key is absent.
const uint8_t* Color_GetRGBA(int32_t key);
// The colour of a row into the caller's buffer; opaque black when the key is absent.
void Color_FillRGBA(int32_t key, uint8_t out[4]);
