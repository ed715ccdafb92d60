// Colour look-ups over the default scheme.
#include "views/ColorScheme.h"

#include <cstring>

namespace {

const ColorSchemeEntry kDefaultScheme[COLOR_COUNT] = {
    {COLOR_APPLICATION, "COLOR_APPLICATION", "Application Global", {0, 0, 0, 255}},
    {COLOR_2D_BACKGROUND, "COLOR_2D_BACKGROUND", "2D Background", {0, 0, 0, 255}},
    {COLOR_2D_GRID_MAJOR, "COLOR_2D_GRID_MAJOR", "2D Major Grid Line", {100, 100, 100, 255}},
    {COLOR_2D_GRID_MINOR, "COLOR_2D_GRID_MINOR", "2D Minor Grid Line", {50, 50, 50, 255}},
    {COLOR_2D_GRID_AXIS, "COLOR_2D_GRID_AXIS", "2D Axial Line", {50, 100, 100, 255}},
    {COLOR_2D_SELECTION, "COLOR_2D_SELECTION", "2D Selection Line", {0, 255, 255, 255}},
    {COLOR_2D_VERTEX, "COLOR_2D_VERTEX", "2D Vertex", {255, 255, 255, 255}},
    {COLOR_2D_CAMERA, "COLOR_2D_CAMERA", "2D Camera", {0, 50, 255, 255}},
    {COLOR_3D_BACKGROUND, "COLOR_3D_BACKGROUND", "3D Background", {100, 100, 100, 255}},
    {COLOR_3D_GRID_MAJOR, "COLOR_3D_GRID_MAJOR", "3D Major Grid Line", {200, 200, 200, 255}},
    {COLOR_3D_GRID_MINOR, "COLOR_3D_GRID_MINOR", "3D Minor Grid Line", {150, 150, 150, 255}},
    {COLOR_3D_GRID_AXIS, "COLOR_3D_GRID_AXIS", "3D Axial Line", {255, 255, 255, 255}},
    {COLOR_3D_SELECTION, "COLOR_3D_SELECTION", "3D Selection Line", {255, 255, 255, 255}},
    {COLOR_ACTIVE_SELECTION, "COLOR_ACTIVE_SELECTION", "Active Selection Line", {255, 255, 0, 255}},
    {COLOR_ENTITY_CREATION, "COLOR_ENTITY_CREATION", "Entity Creation Tool", {0, 255, 0, 255}},
    {COLOR_PATH_CREATION, "COLOR_PATH_CREATION", "Path Creation Tool", {255, 255, 255, 255}},
    {COLOR_BRUSH_CREATION, "COLOR_BRUSH_CREATION", "Brush Creation Tool", {255, 255, 255, 255}},
    {COLOR_BRUSH_HANDLE, "COLOR_BRUSH_HANDLE", "Brush Handle", {150, 150, 150, 255}},
    {COLOR_SELECTED_FILL, "COLOR_SELECTED_FILL", "Selected Object Fill Color", {255, 0, 0, 255}},
    {COLOR_SELECTED_LINE, "COLOR_SELECTED_LINE", "Selected Object Line Color", {255, 255, 0, 255}},
    {COLOR_CAPTION, "COLOR_CAPTION", "Caption", {0, 0, 0, 255}},
    {COLOR_TEXT, "COLOR_TEXT", "Normal Text", {255, 255, 255, 255}},
    {COLOR_ACTIVE_TEXT, "COLOR_ACTIVE_TEXT", "Active Text", {255, 255, 100, 255}},
    {COLOR_TEXBROWSER_BACKGROUND,
     "COLOR_TEXBROWSER_BACKGROUND",
     "Texture Browser Background",
     {0, 0, 0, 255}},
    {COLOR_TEXBROWSER_LINE, "COLOR_TEXBROWSER_LINE", "Texture Browser Line Color", {255, 255, 255, 255}},
    {COLOR_TEXBROWSER_TEXT_BGCOLOR,
     "COLOR_TEXBROWSER_TEXT_BGCOLOR",
     "Texture Browser Text Background",
     {0, 0, 220, 255}},
    {COLOR_TEXBROWSER_TEXT_FGCOLOR,
     "COLOR_TEXBROWSER_TEXT_FGCOLOR",
     "Texture Browser Normal Text",
     {255, 255, 255, 255}},
    {COLOR_TEXBROWSER_TEXT_SELECTED,
     "COLOR_TEXBROWSER_TEXT_SELECTED",
     "Texture Browser Active Text",
     {255, 255, 100, 255}},
    {COLOR_SHADEREDIT_BACKGROUND,
     "COLOR_SHADEREDIT_BACKGROUND",
     "Shader Editor Background",
     {50, 50, 50, 255}},
    {COLOR_SHADEREDIT_TEXT, "COLOR_SHADEREDIT_TEXT", "Shader Editor Normal Text", {255, 255, 255, 255}},
    {COLOR_SHADEREDIT_ERROR, "COLOR_SHADEREDIT_ERROR", "Shader Editor Error Text", {255, 100, 100, 255}},
    {COLOR_SHADEREDIT_COMMAND,
     "COLOR_SHADEREDIT_COMMAND",
     "Shader Editor Command Identifier",
     {0, 0, 100, 255}},
    {COLOR_SHADEREDIT_PARAMETER,
     "COLOR_SHADEREDIT_PARAMETER",
     "Shader Editor Parameter Identifier",
     {0, 0, 200, 255}},
    {COLOR_SHADEREDIT_STRING, "COLOR_SHADEREDIT_STRING", "Shader Editor String Constant", {165, 20, 20, 255}},
    {COLOR_SHADEREDIT_COMMENT, "COLOR_SHADEREDIT_COMMENT", "Shader Editor Comment", {0, 128, 0, 255}},
    {COLOR_BULLET_VERTEX, "COLOR_BULLET_VERTEX", "Vertex Bullet", {255, 255, 255, 255}},
    {COLOR_BULLET_EDGE, "COLOR_BULLET_EDGE", "Edge Bullet", {255, 255, 0, 255}},
    {COLOR_BULLET_PATCH_EXT, "COLOR_BULLET_PATCH_EXT", "Patch Exterior Bullet", {100, 255, 100, 255}},
    {COLOR_BULLET_PATCH_INT, "COLOR_BULLET_PATCH_INT", "Patch Interior Bullet", {255, 100, 255, 255}},
    {COLOR_BULLET_SELECTED, "COLOR_BULLET_SELECTED", "Selected Bullet", {255, 0, 0, 255}},
    {COLOR_BULLET_BORDER, "COLOR_BULLET_BORDER", "Bullet Border", {0, 0, 0, 255}},
    {COLOR_CAMERA_LINE, "COLOR_CAMERA_LINE", "Selected Camera Direction", {200, 50, 50, 255}},
    {COLOR_CLIP_POINT, "COLOR_CLIP_POINT", "Clip Tool Point", {255, 255, 255, 255}},
    {COLOR_CLIP_LINE, "COLOR_CLIP_LINE", "Clip Tool Line", {100, 255, 255, 255}},
    {COLOR_CLIP_LINE_INVALID, "COLOR_CLIP_LINE_INVALID", "Clip Tool Line (Invalid)", {200, 75, 75, 255}},
    {COLOR_CLIP_RESULT, "COLOR_CLIP_RESULT", "Clip Tool Result", {255, 255, 255, 255}},
    {COLOR_CORDON_POINT, "COLOR_CORDON_POINT", "Cordon Bounds Bullet", {150, 255, 255, 255}},
    {COLOR_CORDON_LINE, "COLOR_CORDON_LINE", "Cordon Bounds Line", {255, 0, 0, 255}},
    {COLOR_BRUSH_DEFAULT, "COLOR_BRUSH_DEFAULT", "Default Brush Color", {255, 255, 255, 255}},
    {COLOR_BRUSH_RANDOM_MIN, "COLOR_BRUSH_RANDOM_MIN", "Random Brush Color (Min)", {0, 100, 100, 255}},
    {COLOR_BRUSH_RANDOM_MAX, "COLOR_BRUSH_RANDOM_MAX", "Random Brush Color (Max)", {0, 255, 255, 255}},
    {COLOR_GROUP_RANDOM_MIN, "COLOR_GROUP_RANDOM_MIN", "Random Group Color (Min)", {80, 80, 80, 255}},
    {COLOR_GROUP_RANDOM_MAX, "COLOR_GROUP_RANDOM_MAX", "Random Group Color (Max)", {255, 255, 255, 255}},
    {COLOR_CAMERA_RANDOM_MIN, "COLOR_CAMERA_RANDOM_MIN", "Random Camera Color (Min)", {0, 128, 128, 255}},
    {COLOR_CAMERA_RANDOM_MAX, "COLOR_CAMERA_RANDOM_MAX", "Random Camera Color (Max)", {0, 255, 255, 255}},
};

} // namespace

const ColorSchemeEntry* Color_DefaultScheme() {
    return kDefaultScheme;
}

const uint8_t* Color_GetRGBA(int32_t key) {
    static uint8_t shared[4];
    if (key >= 0 && key < COLOR_COUNT)
        std::memcpy(shared, kDefaultScheme[key].rgba, sizeof shared);
    else
        std::memset(shared, 0, sizeof shared);
    return shared;
}

void Color_FillRGBA(int32_t key, uint8_t out[4]) {
    static const uint8_t opaqueBlack[4] = {0, 0, 0, 255};
    std::memcpy(out, key >= 0 && key < COLOR_COUNT ? kDefaultScheme[key].rgba : opaqueBlack, 4);
}
