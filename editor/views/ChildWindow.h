// A map window: the views that show one document, normally four canvases in a two-by-two grid of
// splitters with a draggable cross where the handles meet, or a single view. It forwards view
// settings and camera changes to its canvases, lets one view be maximised and keeps the view
// types and render modes in the main window's layout word.
#pragma once

#include <QString>
#include <QVector>
#include <QWidget>
#include <cstdint>

class MapDocument;
class cCanvas;
class QCustomSplitter;
class QCrossSplitter;

// The layout word: bit 29 marks a stored word; view i (0..3) has its type in the 2 bits at
// 21 - 7i and its render mode + 1 in the 5 bits above (0 = default mode).
namespace LayoutWord {
constexpr int32_t Marker = 0x20000000;
constexpr int32_t Default = 0x10608080; // camera, top, side, front, default modes
} // namespace LayoutWord
// Types and modes (-1 = default) of the four views; a word without the marker is the default,
// and a mode field above 4 means the default mode.
void Layout_Decode(int32_t word, int types[4], int modes[4]);
int32_t Layout_Encode(const int types[4], const int modes[4]);

class cChildWindow : public QWidget {
    Q_OBJECT
public:
    explicit cChildWindow(MapDocument* document = nullptr);
    ~cChildWindow() override;

    // -1 the four-view layout, 0..3 a single view of that type.
    void buildLayout(int viewType);

    // ---- Broadcasts (mask bit 0 the 2D views, bit 1 the camera view) ----
    virtual void redrawViews(int32_t mask);
    virtual void zoomViewsToBounds(const float mins[3], const float maxs[3]);
    virtual void centerViewsOn(const float point[3], int32_t mask);
    virtual void setZoom2D(float zoom);
    virtual void setScroll2D(float x, float y);
    virtual void setCameraOrigin(const float eye[3]);
    virtual void setCameraAngles(const float angles[3]);
    virtual void endFreeLook();
    virtual cCanvas* findCanvas(int32_t axis);
    virtual void refreshCanvases();
    virtual void retranslateCanvases();
    virtual void invalidateCameraRects(const float a[3], const float b[3]);
    // Repaints the 2D views (the current camera changed).
    virtual void repaintViews2D();
    // Restarts (active window) or stops the frame timers of the views.
    virtual void setFrameTimersRunning(bool running);
    // Closes the window. With closedByDocument set the close handler accepts at once.
    virtual void closeSubWindow();
    // Whether this is the active map window.
    virtual bool isActive() const;
    // Whether a maximised map window lies above this one in its area (nothing of it shows).
    bool isCovered() const;
    // Schedules the paints its views held back while covered, once it is not.
    void repaintStaleViews();
    void toggleMaximize(cCanvas* view);
    void storeViewLayout();
    // Equal halves in all three splitters, then the cross; clears the maximised view.
    void updateSplitterSizes();
    // Paints every view now.
    void redrawNow();
    // Resizes the window so that each of its four views gets the size (shown windows only);
    // false when the views did not get it.
    bool setViewSize(int width, int height);

    // The close hand-shake: without closedByDocument it asks the document and refuses when the
    // document says no (else forgets the document); true when the close is accepted.
    bool requestClose();

    MapDocument* document = nullptr;
    bool closedByDocument = false; // the force-close flag
    cCanvas* maximised = nullptr;
    QVector<cCanvas*> views;
    QCustomSplitter* bottomRow = nullptr; // "s1"
    QCustomSplitter* topRow = nullptr;    // "s2"
    QCustomSplitter* rows = nullptr;
    QCrossSplitter* cross = nullptr;

public slots:
    void splitterResized();
    void splitterMovedH();
    void splitterMovedV();

protected:
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    cCanvas* addView(QWidget* container, int type, int mode);
    // Follows the changes in its area that may uncover it (once per sub-window frame).
    void watchCover();
    QWidget* m_watchedFrame = nullptr;
};
