// What the documents ask of the running program: which tools are active, the axes of the focus
// view, the clipboard, the refreshes of the window's actions, properties and status texts, the
// map windows that show a document, and the questions some primitives ask before they build. The
// main window installs its host for its lifetime; without one the documents run headless: no tool
// is active, there is no focus view, no clipboard and no map window, refreshes do nothing and the
// questions are answered with cancel.
#pragma once

#include <QString>
#include <cstdint>

#include "core/ToolId.h"

class cCanvas;
class cChildWindow;
class MapDocument;
struct ArchParameters;
struct Clipboard;
struct PrimitiveParams;

class DocumentHost {
public:
    virtual ~DocumentHost() = default;

    // ---- The program's state ----
    // The id of the active / the secondary tool; ToolId::None when there is none.
    virtual int32_t activeTool() const { return ToolId::None; }
    virtual int32_t secondaryTool() const { return ToolId::None; }
    // The world axes of the focus view; false (h and v left alone) when there is none or it is the
    // camera view.
    virtual bool focusViewAxes(int32_t* h, int32_t* v) const { return false; }
    // The program's clipboard, or null.
    virtual Clipboard* clipboard() { return nullptr; }

    // ---- Refreshes of the window ----
    // The actions of the mask's groups follow the current state.
    virtual void updateActions(int32_t mask) {}
    // The object properties show the current selection.
    virtual void updateObjectProperties() {}
    // The status label of the active tool's box.
    virtual void showBoxStatus(const QString& text) {}
    // The status label of the selection summary.
    virtual void showSelectionSummary(const QString& text) {}

    // ---- Questions before a primitive is built (false: cancelled) ----
    // The arch's parameters for the dragged box.
    virtual bool askArch(const PrimitiveParams* params, ArchParameters* out) { return false; }
    // The size of a new patch plane, in control points.
    virtual bool askPatchSize(int32_t* width, int32_t* height) { return false; }

    // ---- The map windows that show a document ----
    virtual void attachWindow(cChildWindow* window, MapDocument* document) {}
    virtual void setWindowTitle(cChildWindow* window, const QString& title) {}
    // Closes the window without asking the document again.
    virtual void closeWindow(cChildWindow* window) {}
    virtual bool isActive(const cChildWindow* window) const { return false; }
    virtual void raise(cChildWindow* window) {}
    virtual void setFrameTimersRunning(cChildWindow* window, bool running) {}
    virtual void refreshCanvases(cChildWindow* window) {}
    // Mask bit 0 the 2D views, bit 1 the camera view.
    virtual void redrawViews(cChildWindow* window, int32_t mask) {}
    virtual void repaintViews2D(cChildWindow* window) {}
    virtual void zoomViewsToBounds(cChildWindow* window, const float mins[3], const float maxs[3]) {}
    virtual void centerViewsOn(cChildWindow* window, const float point[3], int32_t mask) {}
    virtual void setZoom2D(cChildWindow* window, float zoom) {}
    virtual void setScroll2D(cChildWindow* window, float x, float y) {}
    virtual void setCameraOrigin(cChildWindow* window, const float eye[3]) {}
    virtual void setCameraAngles(cChildWindow* window, const float angles[3]) {}
    virtual void endFreeLook(cChildWindow* window) {}
    virtual void invalidateCameraRects(cChildWindow* window, const float a[3], const float b[3]) {}
    // The window's view of the axis (-1 the camera view), or null.
    virtual cCanvas* findCanvas(cChildWindow* window, int32_t axis) { return nullptr; }
    // The eye and angles of the window's camera view; false when it shows none.
    virtual bool viewCamera(cChildWindow* window, float eye[3], float angles[3]) { return false; }
};

// The installed host, else the headless one.
DocumentHost& Document_Host();
// Installs the host (null: headless again). The host outlives its installation.
void Document_SetHost(DocumentHost* host);
