#include "mainwindow/DocumentHostImpl.h"

#include <QPointer>

#include "dialogs/application/ArchDialog.h"
#include "dialogs/application/NewPatchDialog.h"
#include "document/DocumentHost.h"
#include "mainwindow/MainWindow.h"
#include "views/AbstractTool.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

class MainWindowDocumentHost final : public DocumentHost {
public:
    explicit MainWindowDocumentHost(cMainWindow& window) : window(window) {}

    int32_t activeTool() const override { return Tool_Id(window.activeTool); }
    int32_t secondaryTool() const override { return Tool_Id(window.secondaryTool); }
    bool focusViewAxes(int32_t* h, int32_t* v) const override {
        const cCanvas* view = window.focusView;
        if (!view || view->is3D()) return false;
        *h = view->hAxis;
        *v = view->vAxis;
        return true;
    }
    Clipboard* clipboard() override { return &window.clipboard; }

    void updateActions(int32_t mask) override { window.updateActions(mask); }
    void updateObjectProperties() override { window.updateObjectProperties(); }
    // The tools keep the label's text too.
    void showBoxStatus(const QString& text) override { Tool_SetStatusText(4, text); }
    void showSelectionSummary(const QString& text) override { App_SetStatusText(&window, text, 2); }

    // One dialog of each, the window's child, keeping its last values.
    bool askArch(const PrimitiveParams* params, ArchParameters* out) override {
        if (!archDialog) archDialog = new cArchDialog(&window);
        archDialog->setupPreview(params);
        if (!archDialog->exec()) return false;
        archDialog->getParameters(out);
        return true;
    }
    bool askPatchSize(int32_t* width, int32_t* height) override {
        if (!newPatchDialog) newPatchDialog = new cNewPatchDialog(&window);
        if (!newPatchDialog->exec()) return false;
        *width = newPatchDialog->patchWidth();
        *height = newPatchDialog->patchHeight();
        return true;
    }

    void attachWindow(cChildWindow* child, MapDocument* document) override { child->document = document; }
    void setWindowTitle(cChildWindow* child, const QString& title) override { child->setWindowTitle(title); }
    void closeWindow(cChildWindow* child) override {
        child->closedByDocument = true;
        child->closeSubWindow();
    }
    bool isActive(const cChildWindow* child) const override { return child->isActive(); }
    void raise(cChildWindow* child) override { child->raise(); }
    void setFrameTimersRunning(cChildWindow* child, bool running) override {
        child->setFrameTimersRunning(running);
    }
    void refreshCanvases(cChildWindow* child) override { child->refreshCanvases(); }
    void redrawViews(cChildWindow* child, int32_t mask) override { child->redrawViews(mask); }
    void repaintViews2D(cChildWindow* child) override { child->repaintViews2D(); }
    void zoomViewsToBounds(cChildWindow* child, const float mins[3], const float maxs[3]) override {
        child->zoomViewsToBounds(mins, maxs);
    }
    void centerViewsOn(cChildWindow* child, const float point[3], int32_t mask) override {
        child->centerViewsOn(point, mask);
    }
    void setZoom2D(cChildWindow* child, float zoom) override { child->setZoom2D(zoom); }
    void setScroll2D(cChildWindow* child, float x, float y) override { child->setScroll2D(x, y); }
    void setCameraOrigin(cChildWindow* child, const float eye[3]) override { child->setCameraOrigin(eye); }
    void setCameraAngles(cChildWindow* child, const float angles[3]) override {
        child->setCameraAngles(angles);
    }
    void endFreeLook(cChildWindow* child) override { child->endFreeLook(); }
    void invalidateCameraRects(cChildWindow* child, const float a[3], const float b[3]) override {
        child->invalidateCameraRects(a, b);
    }
    cCanvas* findCanvas(cChildWindow* child, int32_t axis) override { return child->findCanvas(axis); }
    bool viewCamera(cChildWindow* child, float eye[3], float angles[3]) override {
        const cCanvas* camera = child->findCanvas(-1);
        if (!camera) return false;
        for (int k = 0; k < 3; ++k) {
            eye[k] = camera->eye[k];
            angles[k] = camera->angles[k];
        }
        return true;
    }

private:
    cMainWindow& window;
    QPointer<cArchDialog> archDialog;
    QPointer<cNewPatchDialog> newPatchDialog;
};

} // namespace

std::unique_ptr<DocumentHost> DocumentHostImpl_Make(cMainWindow& window) {
    return std::make_unique<MainWindowDocumentHost>(window);
}
