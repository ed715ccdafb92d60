// The face-properties dialog. For now it keeps what plugins register for it: per map profile the
// names of the 20 surface-flag and 32 content-flag check boxes. The dialog itself comes later.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QKeyEvent>
#include <QStringList>
#include <array>
#include <cstdint>

#include "map/TextureInfo.h"

class cCanvas;
struct MapWorld;

class cFacePropertiesDialog {
public:
    static constexpr int32_t kSurfaceFlagCount = 20;
    static constexpr int32_t kContentFlagCount = 32;

    struct FlagNames {
        std::array<QByteArray, kSurfaceFlagCount> surface;
        std::array<QByteArray, kContentFlagCount> content;
    };

    // A bit outside 0..19 (0..31 for content) is ignored; a null flag name clears the bit's
    // name. The profile's table is made on first use.
    void setSurfaceFlagName(const char* profile, const char* flag, int32_t bit);
    void setContentFlagName(const char* profile, const char* flag, int32_t bit);
    // The profile's names; null when nothing was registered for it.
    const FlagNames* flagNames(const QByteArray& profile) const;

    // While the dialog is shown, Shift+F1..F9 choose the texture-application mode (F1-F6 modes
    // 0-5, F9 mode 6, F7/F8 modes 7/8 when the NULL modes are available); true when the key was
    // one of the nine.
    bool handleModeKey(const QKeyEvent* event);

    // ---- Texture application (the texture tool's side; the window comes later) ----
    // The world whose selection the dialog edits.
    void setTarget(MapWorld** map);
    // Loads the texture block of the face with the id. False when no face has it.
    bool liftFromObject(MapWorld* world, int32_t id);
    // One "Apply Texture" level: the dialog's texture onto the face with the id, or every face of
    // its brush with allFaces. Mode 3 sets the name, 4 the name, scales, shifts and rotation,
    // 5 the whole block with its axes.
    void exec_on_applyTexture(MapWorld* world, int32_t id, int32_t mode, bool allFaces);
    // Shifts the selected faces' textures by the drag (texels per pixel step).
    void dragShiftTexture(int dx, int dy, cCanvas* view);
    // Recorded only until the window's alignment and NULL-texture commands exist.
    void alignToView(MapWorld* world, int32_t id, cCanvas* view);
    void assignNullTexture(MapWorld* world, int32_t id, int32_t mode);

    MapWorld** target = nullptr;
    TextureInfo texInfo = {};
    QStringList calls;

    // Whether the dialog's window is up (it has none yet).
    bool shown = false;
    bool nullModesAvailable = false;
    int32_t applicationMode = 0;

private:
    QHash<QByteArray, FlagNames> m_flagNames;
};
