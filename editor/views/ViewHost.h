// What the views ask of the program around them: which view has the focus, the tools that take
// their input, the keys held down, the status-bar texts and the commands they start. The main
// window installs its host for its lifetime; without one a view stands alone (no focus, no tool,
// no held key, nothing reported).
#pragma once

#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>

class cAbstractTool;
class cCanvas;
class cChildWindow;
class QKeyEvent;

// Bits of ViewHost::heldKeys: keys held down, kept by the window's event filter.
namespace HeldKey {
constexpr uint32_t Space = 0x1;
constexpr uint32_t Left = 0x2;
constexpr uint32_t Right = 0x4;
constexpr uint32_t Up = 0x8;
constexpr uint32_t Down = 0x10;
constexpr uint32_t W = 0x20;
constexpr uint32_t S = 0x40;
constexpr uint32_t A = 0x80;
constexpr uint32_t D = 0x100;
constexpr uint32_t C = 0x200;
} // namespace HeldKey

class ViewHost {
public:
    virtual ~ViewHost() = default;

    // The view taking keys, the one before it and the last one under input (null: none).
    virtual cCanvas* focusView() const = 0;
    virtual void setFocusView(cCanvas* view) = 0;
    virtual cCanvas* previousFocusView() const = 0;
    virtual void setPreviousFocusView(cCanvas* view) = 0;
    virtual cCanvas* lastInputCanvas() const = 0;
    virtual void setLastInputCanvas(cCanvas* view) = 0;

    // The tool taking the views' input, the one drawing beside it, and the camera tool that Space
    // and free-look lend the views (null: none).
    virtual cAbstractTool* activeTool() const = 0;
    virtual cAbstractTool* secondaryTool() const = 0;
    virtual cAbstractTool* cameraTool() const = 0;
    // HeldKey bits.
    virtual uint32_t heldKeys() const = 0;

    // The views' texture-filter word; -1 asks them to rebuild it from the settings.
    virtual int32_t textureFilterWord() const = 0;
    virtual void setTextureFilterWord(int32_t word) = 0;

    // Texts of the status bar's zoom and position labels, and a passing message (milliseconds).
    virtual void setZoomText(const QString& text) = 0;
    virtual void setPositionText(const QString& text) = 0;
    virtual void showMessage(const QString& text, int timeout) = 0;

    // Repaints the views of every map window (1 the 2D views, 2 the 3D views).
    virtual void updateAllViews(int mask) = 0;
    // The view-mode actions follow the focus view; the snap and grid texts the settings.
    virtual void updateViewModeActions() = 0;
    virtual void updateSnapGridStatus() = 0;
    // Whether the map window is the active one.
    virtual bool isActiveMapWindow(const cChildWindow* window) const = 0;
    // The colour scheme changed: palette, document colours and views follow.
    virtual void schemeColorsChanged() = 0;

    // Pops the named context menu at the global position; whether the "Canvas" menu is open.
    virtual void execContextMenu(const QString& name, QPoint global) = 0;
    virtual bool canvasMenuOpen() const = 0;
    // Opens the object properties of the selection.
    virtual void editProperties() = 0;
    // A key no tool took, offered to the face properties' mode keys; whether it was taken.
    virtual bool faceModeKey(const QKeyEvent* event) = 0;
};

// The installed host, or null. The host outlives its installation.
ViewHost* View_Host();
void View_SetHost(ViewHost* host);

// The installed host's focus view, active and secondary tool; null without a host.
cCanvas* View_FocusView();
cAbstractTool* View_ActiveTool();
cAbstractTool* View_SecondaryTool();
// Whether Space is held (false without a host).
bool View_SpaceHeld();
// A passing status-bar message; nothing without a host.
void View_ShowMessage(const QString& text, int timeout);

// Pops the host's named context menu ("Canvas", "Operations", "Select", "Selection", "Create",
// "Paths", "Vertex") at the global position. A hook, when set, is called instead (tests record the calls).
using ContextMenuHook = std::function<void(const QString& name, QPoint global)>;
void View_SetContextMenuHook(ContextMenuHook hook);
void View_ExecContextMenu(const QString& name, QPoint global);
