// The "Surface Properties" tool window: the texture and mapping of the selected faces, patches and
// overlays, the texture-application modes the texture tool reads, the surface and content flags
// the plugins name, one patch control point and the texture choice.
// FacePropertiesDialog.cpp: form, modes, loading; FaceCommands.cpp: the page commands;
// FaceApply.cpp: applying a texture; FaceFlags.cpp: flag names, boxes and writing;
// FaceTextureChoice.cpp: group and texture combos, preview, control points.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QHash>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "map/MapObject.h"
#include "tools/FaceTexturing.h"

class QAction;
class QCheckBox;
class QKeyEvent;
class QLineEdit;
class QMenu;
class Ui_cFacePropertiesDialog;
class cCanvas;
class cTextureView;
struct FaceRecord;
struct MapWorld;
struct OverlayRecord;
struct PatchRecord;
struct ShaderRecord;

class cFacePropertiesDialog : public QDialog, public FaceTexturing {
    Q_OBJECT
public:
    static constexpr int32_t kSurfaceFlagCount = 20;
    static constexpr int32_t kContentFlagCount = 32;
    // Number of recent textures the lists keep.
    static constexpr int kRecentTextures = 8;

    struct FlagNames {
        std::array<QByteArray, kSurfaceFlagCount> surface;
        std::array<QByteArray, kContentFlagCount> content;
    };

    explicit cFacePropertiesDialog(QWidget* parent = nullptr);
    ~cFacePropertiesDialog() override;

    // ---- Flag names (FaceFlags.cpp) ----
    // A bit outside 0..19 (0..31 for content) is ignored; a null flag name clears the bit's
    // name. The profile's table is made on first use.
    void setSurfaceFlagName(const char* profile, const char* flag, int32_t bit);
    void setContentFlagName(const char* profile, const char* flag, int32_t bit);
    // The profile's names; null when nothing was registered for it.
    const FlagNames* flagNames(const QByteArray& profile) const;
    // Places the named boxes of the current profile; sets the wide width.
    void layoutFlagBoxes();

    // ---- Modes ----
    int mode() const override { return m_mode; }
    void setEditMode(int mode);
    // Shift+F1..F9 while the dialog shows: true when the key was one of the nine.
    bool handleModeKey(const QKeyEvent* event) override;
    bool nullModesAvailable() const { return m_nullModes; }
    void updateNullModes();

    // ---- Loading ----
    // Binds the dialog to a map (null: none), lays out the flags, picks the pages, reloads.
    void setTarget(MapHandle map) override;
    // Drops the target when it is that world (its document is closing).
    void dropTarget(const MapWorld* world);
    MapWorld* targetWorld() const;
    void refreshFromSelection(bool shiftsOnly);
    void liftFromObject(FaceRecord* face, PatchRecord* patch, OverlayRecord* overlay);
    // The texture tool's pick: the face, or the patch or overlay of the brush, with the id.
    void liftFromObject(MapWorld* world, int32_t id) override;
    void rememberFieldTexts();

    // ---- Commands (FaceCommands.cpp, FaceApply.cpp) ----
    void applyTexture(FaceRecord* face, PatchRecord* patch, OverlayRecord* overlay, int mode, bool wrap);
    // The texture tool's click: applyTexture on the picked object.
    void exec_on_applyTexture(MapWorld* world, int32_t id, int32_t mode, bool wrap) override;
    void justifyTexture(int mode);
    void rotateTextureStep(float degrees);
    void alignToView(FaceRecord* face, cCanvas* view);
    void alignToView(MapWorld* world, int32_t id, cCanvas* view) override;
    void dragShiftTexture(int dx, int dy, cCanvas* view) override;
    void assignNullTexture(FaceRecord* face, int mode);
    void assignNullTexture(MapWorld* world, int32_t id, int32_t mode) override;
    void setControlPointValue(int coordinate, float value);
    void setControlPointText(int coordinate, QLineEdit* edit);

    // ---- Texture choice (FaceTextureChoice.cpp) ----
    void setTextureSelection(bool enable, bool repaintPreview, const QString& group, const QString& name);
    void createPreview();
    QString textureName() const { return m_textureName; }
    QString textureGroup() const { return m_textureGroup; }
    cTextureView* preview() const { return m_preview; }

    void retranslate();

    // The main window's texture browser (name and group in; the chosen name, the group out) and
    // texture replacement (a non-empty text when something was replaced). Unset: nothing chosen.
    std::function<QString(const QString& name, QString* group)> browseTextures;
    std::function<QString(const QString& name)> replaceTextures;

    float fitCountS = 1.0f;
    float fitCountT = 1.0f;

public slots:
    void exec_on_applyTexture();
    void exec_on_setEditMode();
    void exec_on_execModeMenu();
    void exec_on_setHideMask();
    void exec_on_patchCap();
    void exec_on_editTexture();
    void exec_on_editTextureGroup();
    void exec_on_browseTexture();
    void exec_on_replaceTexture();
    void exec_on_setSurfaceFlags();
    void exec_on_setContentFlags();
    void exec_on_patchSelectCtrl();
    void exec_on_patchSetCtrlX();
    void exec_on_patchSetCtrlY();
    void exec_on_patchSetCtrlZ();
    void exec_on_patchSetCtrlU();
    void exec_on_patchSetCtrlV();
    // Face page
    void exec_on_setScaleX(double value);
    void exec_on_setScaleY(double value);
    void exec_on_setShiftX(double value);
    void exec_on_setShiftY(double value);
    void exec_on_setRotate(double value);
    void exec_on_setValue(int value);
    void exec_on_setSsize(int value);
    void exec_on_reset();
    void exec_on_rotate1();
    void exec_on_rotate2();
    void exec_on_rotate3();
    void exec_on_setWorldAlign();
    void exec_on_setFaceAlign();
    void exec_on_justifyT();
    void exec_on_justifyB();
    void exec_on_justifyL();
    void exec_on_justifyR();
    void exec_on_justifyC();
    void exec_on_justifyF();
    // Patch page
    void exec_on_setScaleX2(double value);
    void exec_on_setScaleY2(double value);
    void exec_on_setShiftX2(double value);
    void exec_on_setShiftY2(double value);
    void exec_on_setRotate2(double value);
    void exec_on_reset2();
    void exec_on_patchSet();
    void exec_on_patchNatural();
    void exec_on_patchFit();
    // Overlay page
    void exec_on_setScaleX3(double value);
    void exec_on_setScaleY3(double value);
    void exec_on_setShiftX3(double value);
    void exec_on_setShiftY3(double value);
    void exec_on_setRotate3(double value);
    void exec_on_setValue3(int value);
    void exec_on_setSsize3(int value);
    void exec_on_reset3();
    void exec_on_overlayFit();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Keeps the modifiers of the last click or key on a button: steps and fit read Shift there.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Snapshot { Faces = 1, Patches = 2, PatchPoints = 4, Overlays = 8, OverlayData = 16 };
    // The numeric fields: page (0 face, 1 patch, 2 overlay) by field (Field).
    enum Field { ScaleX, ScaleY, ShiftX, ShiftY, Rotate, Value, Ssize, FieldCount };
    QWidget* field(int page, int which) const;
    void setFieldNumber(int page, int which, double value);
    void clearField(int page, int which);
    void checkField(int page, int which);
    void connectForm();
    void createFlagBoxes();
    void createModeMenu();
    // Flag boxes: loaders' side.
    void resetFlagBoxes();
    void feedFlags(int32_t surface, int32_t contents);
    void setFlagBoxes(int32_t surface, int32_t contents);
    void writeFlags(bool content);
    // The loaded name's texture-name step.
    void loadTextureName(const char* name);
    void fillPatchCombos(const PatchRecord* patch, int column, int row);
    // Command frames (FaceCommands.cpp).
    // Opens the level with the snapshots (Snapshot bits) of the selection.
    void beginLevel(const char* level, int snapshots);
    // One level over every selected face (patch, overlay) of the target; typed commands do nothing
    // while loading and remember the field's text. False when nothing ran.
    bool faceCommand(const char* level, int page, int which, const std::function<void(FaceRecord*)>& change);
    bool patchCommand(const char* level, int which, const std::function<void(PatchRecord*)>& change);
    bool overlayCommand(const char* level, int which, bool withData,
                        const std::function<void(OverlayRecord*)>& change);
    void rememberTypedText(int page, int which);

    std::unique_ptr<Ui_cFacePropertiesDialog> ui;
    MapHandle m_target = nullptr;
    bool m_loading = false;
    bool m_recentGuard = false;
    int m_mode = 0;
    QMenu* m_modeMenu = nullptr;
    QList<QAction*> m_nullModeActions;
    bool m_nullModes = false;
    std::array<QCheckBox*, kSurfaceFlagCount> m_surfaceBoxes{};
    std::array<QCheckBox*, kContentFlagCount> m_contentBoxes{};
    std::array<int, kSurfaceFlagCount> m_surfaceSeen{};
    std::array<int, kContentFlagCount> m_contentSeen{};
    QHash<QByteArray, FlagNames> m_flagNames;
    int m_wideWidth = 308;
    cTextureView* m_preview = nullptr;
    QString m_textureGroup;
    QString m_textureName;
    QString m_loadedName;
    bool m_texturesDiffer = false;
    bool m_sizesDiffer = false;
    QString m_lastTexts[3][FieldCount];
    // The fields by page, found once: a reload reads them for every selected object.
    mutable QWidget* m_fields[3][FieldCount] = {};
    QByteArray m_savedGeometry;
    Qt::KeyboardModifiers m_buttonModifiers;

public:
    // Shift held with the click that runs a step or the fit.
    bool shiftHeld() const;

    friend class cFacePropertiesDialogTest;
};
