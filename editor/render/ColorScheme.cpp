// The colour table, the custom table and their settings storage.
#include "render/ColorScheme.h"

#include <QSettings>
#include <QStringList>
#include <cstring>

namespace {

const ColorSchemeEntry kDefaults[COLOR_COUNT] = {
    {COLOR_APPLICATION, "COLOR_APPLICATION", "Application Global", QColor(0, 0, 0)},
    {COLOR_2D_BACKGROUND, "COLOR_2D_BACKGROUND", "2D Background", QColor(0, 0, 0)},
    {COLOR_2D_GRID_MAJOR, "COLOR_2D_GRID_MAJOR", "2D Major Grid Line", QColor(100, 100, 100)},
    {COLOR_2D_GRID_MINOR, "COLOR_2D_GRID_MINOR", "2D Minor Grid Line", QColor(50, 50, 50)},
    {COLOR_2D_GRID_AXIS, "COLOR_2D_GRID_AXIS", "2D Axial Line", QColor(50, 100, 100)},
    {COLOR_2D_SELECTION, "COLOR_2D_SELECTION", "2D Selection Line", QColor(0, 255, 255)},
    {COLOR_2D_VERTEX, "COLOR_2D_VERTEX", "2D Vertex", QColor(255, 255, 255)},
    {COLOR_2D_CAMERA, "COLOR_2D_CAMERA", "2D Camera", QColor(0, 50, 255)},
    {COLOR_3D_BACKGROUND, "COLOR_3D_BACKGROUND", "3D Background", QColor(100, 100, 100)},
    {COLOR_3D_GRID_MAJOR, "COLOR_3D_GRID_MAJOR", "3D Major Grid Line", QColor(200, 200, 200)},
    {COLOR_3D_GRID_MINOR, "COLOR_3D_GRID_MINOR", "3D Minor Grid Line", QColor(150, 150, 150)},
    {COLOR_3D_GRID_AXIS, "COLOR_3D_GRID_AXIS", "3D Axial Line", QColor(255, 255, 255)},
    {COLOR_3D_SELECTION, "COLOR_3D_SELECTION", "3D Selection Line", QColor(255, 255, 255)},
    {COLOR_ACTIVE_SELECTION, "COLOR_ACTIVE_SELECTION", "Active Selection Line", QColor(255, 255, 0)},
    {COLOR_ENTITY_CREATION, "COLOR_ENTITY_CREATION", "Entity Creation Tool", QColor(0, 255, 0)},
    {COLOR_PATH_CREATION, "COLOR_PATH_CREATION", "Path Creation Tool", QColor(255, 255, 255)},
    {COLOR_BRUSH_CREATION, "COLOR_BRUSH_CREATION", "Brush Creation Tool", QColor(255, 255, 255)},
    {COLOR_BRUSH_HANDLE, "COLOR_BRUSH_HANDLE", "Brush Handle", QColor(150, 150, 150)},
    {COLOR_SELECTED_FILL, "COLOR_SELECTED_FILL", "Selected Object Fill Color", QColor(255, 0, 0)},
    {COLOR_SELECTED_LINE, "COLOR_SELECTED_LINE", "Selected Object Line Color", QColor(255, 255, 0)},
    {COLOR_CAPTION, "COLOR_CAPTION", "Caption", QColor(0, 0, 0)},
    {COLOR_TEXT, "COLOR_TEXT", "Normal Text", QColor(255, 255, 255)},
    {COLOR_ACTIVE_TEXT, "COLOR_ACTIVE_TEXT", "Active Text", QColor(255, 255, 100)},
    {COLOR_TEXBROWSER_BACKGROUND, "COLOR_TEXBROWSER_BACKGROUND", "Texture Browser Background",
     QColor(0, 0, 0)},
    {COLOR_TEXBROWSER_LINE, "COLOR_TEXBROWSER_LINE", "Texture Browser Line Color", QColor(255, 255, 255)},
    {COLOR_TEXBROWSER_TEXT_BGCOLOR, "COLOR_TEXBROWSER_TEXT_BGCOLOR", "Texture Browser Text Background",
     QColor(0, 0, 220)},
    {COLOR_TEXBROWSER_TEXT_FGCOLOR, "COLOR_TEXBROWSER_TEXT_FGCOLOR", "Texture Browser Normal Text",
     QColor(255, 255, 255)},
    {COLOR_TEXBROWSER_TEXT_SELECTED, "COLOR_TEXBROWSER_TEXT_SELECTED", "Texture Browser Active Text",
     QColor(255, 255, 100)},
    {COLOR_SHADEREDIT_BACKGROUND, "COLOR_SHADEREDIT_BACKGROUND", "Shader Editor Background",
     QColor(50, 50, 50)},
    {COLOR_SHADEREDIT_TEXT, "COLOR_SHADEREDIT_TEXT", "Shader Editor Normal Text", QColor(255, 255, 255)},
    {COLOR_SHADEREDIT_ERROR, "COLOR_SHADEREDIT_ERROR", "Shader Editor Error Text", QColor(255, 100, 100)},
    {COLOR_SHADEREDIT_COMMAND, "COLOR_SHADEREDIT_COMMAND", "Shader Editor Command Identifier",
     QColor(0, 0, 100)},
    {COLOR_SHADEREDIT_PARAMETER, "COLOR_SHADEREDIT_PARAMETER", "Shader Editor Parameter Identifier",
     QColor(0, 0, 200)},
    {COLOR_SHADEREDIT_STRING, "COLOR_SHADEREDIT_STRING", "Shader Editor String Constant",
     QColor(165, 20, 20)},
    {COLOR_SHADEREDIT_COMMENT, "COLOR_SHADEREDIT_COMMENT", "Shader Editor Comment", QColor(0, 128, 0)},
    {COLOR_BULLET_VERTEX, "COLOR_BULLET_VERTEX", "Vertex Bullet", QColor(255, 255, 255)},
    {COLOR_BULLET_EDGE, "COLOR_BULLET_EDGE", "Edge Bullet", QColor(255, 255, 0)},
    {COLOR_BULLET_PATCH_EXT, "COLOR_BULLET_PATCH_EXT", "Patch Exterior Bullet", QColor(100, 255, 100)},
    {COLOR_BULLET_PATCH_INT, "COLOR_BULLET_PATCH_INT", "Patch Interior Bullet", QColor(255, 100, 255)},
    {COLOR_BULLET_SELECTED, "COLOR_BULLET_SELECTED", "Selected Bullet", QColor(255, 0, 0)},
    {COLOR_BULLET_BORDER, "COLOR_BULLET_BORDER", "Bullet Border", QColor(0, 0, 0)},
    {COLOR_CAMERA_LINE, "COLOR_CAMERA_LINE", "Selected Camera Direction", QColor(200, 50, 50)},
    {COLOR_CLIP_POINT, "COLOR_CLIP_POINT", "Clip Tool Point", QColor(255, 255, 255)},
    {COLOR_CLIP_LINE, "COLOR_CLIP_LINE", "Clip Tool Line", QColor(100, 255, 255)},
    {COLOR_CLIP_LINE_INVALID, "COLOR_CLIP_LINE_INVALID", "Clip Tool Line (Invalid)", QColor(200, 75, 75)},
    {COLOR_CLIP_RESULT, "COLOR_CLIP_RESULT", "Clip Tool Result", QColor(255, 255, 255)},
    {COLOR_CORDON_POINT, "COLOR_CORDON_POINT", "Cordon Bounds Bullet", QColor(150, 255, 255)},
    {COLOR_CORDON_LINE, "COLOR_CORDON_LINE", "Cordon Bounds Line", QColor(255, 0, 0)},
    {COLOR_BRUSH_DEFAULT, "COLOR_BRUSH_DEFAULT", "Default Brush Color", QColor(255, 255, 255)},
    {COLOR_BRUSH_RANDOM_MIN, "COLOR_BRUSH_RANDOM_MIN", "Random Brush Color (Min)", QColor(0, 100, 100)},
    {COLOR_BRUSH_RANDOM_MAX, "COLOR_BRUSH_RANDOM_MAX", "Random Brush Color (Max)", QColor(0, 255, 255)},
    {COLOR_GROUP_RANDOM_MIN, "COLOR_GROUP_RANDOM_MIN", "Random Group Color (Min)", QColor(80, 80, 80)},
    {COLOR_GROUP_RANDOM_MAX, "COLOR_GROUP_RANDOM_MAX", "Random Group Color (Max)", QColor(255, 255, 255)},
    {COLOR_CAMERA_RANDOM_MIN, "COLOR_CAMERA_RANDOM_MIN", "Random Camera Color (Min)", QColor(0, 128, 128)},
    {COLOR_CAMERA_RANDOM_MAX, "COLOR_CAMERA_RANDOM_MAX", "Random Camera Color (Max)", QColor(0, 255, 255)},
};

ColorSchemeEntry g_table[COLOR_COUNT];
CustomColorEntry g_custom[COLOR_COUNT];

void resetTables() {
    for (int32_t i = 0; i < COLOR_COUNT; ++i) {
        g_table[i] = kDefaults[i];
        g_custom[i] = {i, kDefaults[i].colour};
    }
    g_custom[COLOR_TEXBROWSER_TEXT_SELECTED].colour = QColor(255, 255, 0);
    g_custom[COLOR_SHADEREDIT_BACKGROUND].colour = QColor(100, 100, 100);
}

const struct TableInit {
    TableInit() { resetTables(); }
} g_tableInit;

const ColorSchemeEntry* findRow(int32_t key) {
    for (const ColorSchemeEntry& row : g_table)
        if (row.key == key) return &row;
    return nullptr;
}

int channel(const QStringList& parts, int index, int missing) {
    if (parts.size() <= index) return missing;
    bool ok = false;
    const long long v = parts[index].toLongLong(&ok);
    if (!ok) return 0;
    return int(std::clamp<long long>(v, 0, 255));
}

} // namespace

ColorSchemeEntry* Color_Table() {
    return g_table;
}

CustomColorEntry* Color_CustomTable() {
    return g_custom;
}

void Color_ResetTables() {
    resetTables();
}

const QColor& cColorScheme::Color_GetQColor(int32_t key) const {
    const ColorSchemeEntry* row = findRow(key);
    return row ? row->colour : fallback;
}

namespace {
const cColorScheme*& activeScheme() {
    static const cColorScheme* scheme = nullptr;
    return scheme;
}
} // namespace

void Color_SetActiveScheme(const cColorScheme* scheme) {
    activeScheme() = scheme;
}

const QColor& Color_GetQColor(int32_t key) {
    static const cColorScheme standIn;
    const cColorScheme* scheme = activeScheme();
    return (scheme ? *scheme : standIn).Color_GetQColor(key);
}

QString Color_GetName(int32_t key) {
    const ColorSchemeEntry* row = findRow(key);
    return row ? QString::fromLatin1(row->displayName) : QString();
}

const uint8_t* Color_GetRGBA(int32_t key) {
    static uint8_t shared[4];
    std::memset(shared, 0, sizeof shared);
    if (const ColorSchemeEntry* row = findRow(key)) {
        shared[0] = uint8_t(row->colour.red());
        shared[1] = uint8_t(row->colour.green());
        shared[2] = uint8_t(row->colour.blue());
        shared[3] = uint8_t(row->colour.alpha());
    }
    return shared;
}

uint8_t* Color_FillRGBA(uint8_t* buffer, int32_t key) {
    buffer[0] = buffer[1] = buffer[2] = 0;
    buffer[3] = 255;
    if (const ColorSchemeEntry* row = findRow(key)) {
        buffer[0] = uint8_t(row->colour.red());
        buffer[1] = uint8_t(row->colour.green());
        buffer[2] = uint8_t(row->colour.blue());
        buffer[3] = uint8_t(row->colour.alpha());
    }
    return buffer;
}

const float* Color_GetFloat(int32_t key) {
    static float shared[4];
    std::memset(shared, 0, sizeof shared);
    if (const ColorSchemeEntry* row = findRow(key)) {
        shared[0] = float(row->colour.redF());
        shared[1] = float(row->colour.greenF());
        shared[2] = float(row->colour.blueF());
        shared[3] = float(row->colour.alphaF());
    }
    return shared;
}

QString Color_ToText(const QColor& colour) {
    QString text = QStringLiteral("%1 %2 %3").arg(colour.red()).arg(colour.green()).arg(colour.blue());
    if (colour.alpha() != 255) text += QStringLiteral(" %1").arg(colour.alpha());
    return text;
}

QColor Color_FromText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(' '));
    // An empty text splits into one empty part, which reads as 0.
    return QColor::fromRgb(channel(parts, 0, 0), channel(parts, 1, 0), channel(parts, 2, 0),
                           channel(parts, 3, 255));
}

void Color_LoadScheme(QSettings& settings) {
    for (ColorSchemeEntry& row : g_table)
        row.colour = Color_FromText(settings.value(QLatin1String(row.name)).toString());
}

void Color_LoadCustomScheme(QSettings& settings) {
    for (int32_t i = 0; i < COLOR_COUNT; ++i)
        g_custom[i].colour = Color_FromText(settings.value(QLatin1String(g_table[i].name)).toString());
}

void Color_SaveCustomScheme(QSettings& settings) {
    settings.setValue(QStringLiteral("Title"), QStringLiteral("Custom"));
    for (int32_t i = 0; i < COLOR_COUNT; ++i)
        settings.setValue(QLatin1String(g_table[i].name), Color_ToText(g_custom[i].colour));
}

void Color_ApplyCustomScheme() {
    for (int32_t i = 0; i < COLOR_COUNT; ++i)
        g_table[i].colour = g_custom[i].colour;
}

void Color_StoreCustomScheme(const QList<QColor>& colours) {
    for (int32_t i = 0; i < COLOR_COUNT && i < colours.size(); ++i)
        g_custom[i].colour = colours[i];
}

void Color_ChooseStartupScheme(QSettings& settings, int32_t currentScheme) {
    settings.beginGroup(QStringLiteral("ColorSchemeCustom"));
    if (settings.contains(QStringLiteral("Title"))) Color_LoadCustomScheme(settings);
    settings.endGroup();
    if (currentScheme == -1) {
        Color_ApplyCustomScheme();
        return;
    }
    settings.beginGroup(QStringLiteral("ColorScheme%1").arg(currentScheme));
    if (settings.contains(QStringLiteral("Title"))) Color_LoadScheme(settings);
    settings.endGroup();
}
