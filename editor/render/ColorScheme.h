// The named colours that all drawing reads: the colour table (55 rows, built-in defaults at
// start), the user's custom scheme beside it, and their storage in settings groups.
#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <cstdint>

class QSettings;

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
    int32_t key;             // equal to the row index
    const char* name;        // the settings key, e.g. "COLOR_2D_BACKGROUND"
    const char* displayName; // shown in the custom colours dialog
    QColor colour;
};

struct CustomColorEntry {
    int32_t key;
    QColor colour;
};

// The tables themselves (row i has key i). Some users read rows directly.
ColorSchemeEntry* Color_Table();
CustomColorEntry* Color_CustomTable();
inline constexpr int32_t kColorTableRows = COLOR_COUNT;
// Puts both tables back to their built-in start values (tests and a scheme reset).
void Color_ResetTables();

// The program's colour-scheme object: the fallback for keys no row has.
class cColorScheme {
public:
    const QColor& Color_GetQColor(int32_t key) const;
    QColor fallback = QColor(0, 0, 0, 255);
};
// The scheme object the free look-ups go through (the main window's, for its lifetime); null
// leaves a stand-in with the default fallback.
void Color_SetActiveScheme(const cColorScheme* scheme);
// The row's QColor through the active scheme object (opaque black when absent).
const QColor& Color_GetQColor(int32_t key);
// The row's display name; empty when no row has the key.
QString Color_GetName(int32_t key);
// Red, green, blue, alpha into a shared buffer overwritten by every call; 0, 0, 0, 0 when absent.
const uint8_t* Color_GetRGBA(int32_t key);
// Red, green, blue, alpha into the caller's buffer, which it returns; opaque black when absent.
uint8_t* Color_FillRGBA(uint8_t* buffer, int32_t key);
// The colour as four floats 0..1 in a shared buffer overwritten by every call; zero when absent.
const float* Color_GetFloat(int32_t key);

// ---- Storage (the caller opens and closes the settings group) ----
// "r g b" or "r g b a" (alpha only when not 255).
QString Color_ToText(const QColor& colour);
QColor Color_FromText(const QString& text);
void Color_LoadScheme(QSettings& settings);
void Color_LoadCustomScheme(QSettings& settings);
void Color_SaveCustomScheme(QSettings& settings);
void Color_ApplyCustomScheme();
// Copies up to 55 colours, indexed by row, into the custom table.
void Color_StoreCustomScheme(const QList<QColor>& colours);
// The start-up choice after all other settings are read: loads the custom table from
// "ColorSchemeCustom" when it has a "Title"; scheme -1 applies it, else "ColorScheme%1" is loaded
// when it has a "Title", else the defaults stay. Refreshing the palette is the caller's.
void Color_ChooseStartupScheme(QSettings& settings, int32_t currentScheme);
