// A map window: the 2D and 3D views that show one document. This holds what the document
// drives (titles, the view routines its broadcasts call, the close hand-shake); the widgets,
// canvases and layouts come with the views.
#pragma once

#include <QString>
#include <cstdint>

class MapDocument;
class cCanvas;

class cChildWindow {
public:
    explicit cChildWindow(MapDocument* document = nullptr) : document(document) {}
    virtual ~cChildWindow() = default;
    cChildWindow(const cChildWindow&) = delete;
    cChildWindow& operator=(const cChildWindow&) = delete;

    // ---- View routines (mask bit 0 the 2D views, bit 1 the 3D view) ----
    virtual void redrawViews(int32_t mask) {}
    virtual void zoomViewsToBounds(const float mins[3], const float maxs[3]) {}
    virtual void centerViewsOn(const float point[3], int32_t mask) {}
    virtual void setZoom2D(float zoom) {}
    virtual void setScroll2D(float x, float y) {}
    virtual void setCameraOrigin(const float eye[3]) {}
    virtual void setCameraAngles(const float angles[3]) {}
    virtual void endFreeLook() {}
    virtual cCanvas* findCanvas(int32_t viewId) { return nullptr; }
    virtual void refreshCanvases() {}
    // Repaints the 2D views whose per-view repaint flag asks for it (current camera changed).
    virtual void repaintViews2D() {}
    // Restarts (active window) or stops the frame timers of the views.
    virtual void setFrameTimersRunning(bool running) {}
    // Raises the window and makes its sub-window the active one of the MDI area.
    virtual void raise() {}
    // Closes the MDI sub-window. With closedByDocument set the close handler accepts at once.
    virtual void closeSubWindow() {}

    virtual void setWindowTitle(const QString& text) { title = text; }
    const QString& windowTitle() const { return title; }
    // Whether this is the active sub-window of the MDI area.
    virtual bool isActive() const { return false; }

    // The close handler: without closedByDocument it asks the document and refuses when the
    // document says no (else forgets the document); true when the close is accepted.
    bool requestClose();

    MapDocument* document = nullptr;
    bool closedByDocument = false;

private:
    QString title;
};
