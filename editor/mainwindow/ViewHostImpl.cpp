#include "mainwindow/ViewHostImpl.h"

#include <QApplication>
#include <QStatusBar>

#include "mainwindow/MainWindow.h"
#include "tools/TextureTool.h"
#include "tools/ToolSet.h"
#include "tools/ToolSupport.h"
#include "views/ChildWindow.h"
#include "views/ViewHost.h"

namespace {

class MainWindowViewHost final : public ViewHost {
public:
    explicit MainWindowViewHost(cMainWindow& window) : window(window) {}

    cCanvas* focusView() const override { return window.focusView; }
    void setFocusView(cCanvas* view) override { window.focusView = view; }
    cCanvas* previousFocusView() const override { return window.previousFocusView; }
    void setPreviousFocusView(cCanvas* view) override { window.previousFocusView = view; }
    cCanvas* lastInputCanvas() const override { return window.lastInputCanvas; }
    void setLastInputCanvas(cCanvas* view) override { window.lastInputCanvas = view; }

    cAbstractTool* activeTool() const override { return window.activeTool; }
    cAbstractTool* secondaryTool() const override { return window.secondaryTool; }
    cAbstractTool* cameraTool() const override {
        return window.toolSet ? (*window.toolSet)[ToolId::Camera] : nullptr;
    }
    uint32_t heldKeys() const override { return window.heldKeys; }

    int32_t textureFilterWord() const override { return window.textureFilterWord; }
    void setTextureFilterWord(int32_t word) override { window.textureFilterWord = word; }

    void setZoomText(const QString& text) override { window.zoomLabelText = text; }
    void setPositionText(const QString& text) override { window.positionLabelText = text; }
    void showMessage(const QString& text, int timeout) override {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()))
            window.statusBar()->showMessage(text, timeout);
    }

    void updateAllViews(int mask) override { window.updateAllViews(mask); }
    void updateViewModeActions() override { window.updateViewModeActions(); }
    void updateSnapGridStatus() override { window.updateSnapGridStatus(); }
    bool isActiveMapWindow(const cChildWindow* child) const override {
        return window.mdiArea ? window.activeChildWindow() == child : child->isActive();
    }
    void schemeColorsChanged() override {
        window.applySchemePalette();
        App_ApplySchemeColors(&window);
        window.updateAllViews(3);
    }

    void execContextMenu(const QString& name, QPoint global) override { App_ExecContextMenu(name, global); }
    bool canvasMenuOpen() const override { return App_IsCanvasMenuOpen(); }
    // Through the tools' command so that tests hear of it as of the tools' own call.
    void editProperties() override { Tool_EditProperties(); }
    bool faceModeKey(const QKeyEvent* event) override { return cTextureTool::faceDialogKey(event); }

private:
    cMainWindow& window;
};

} // namespace

std::unique_ptr<ViewHost> ViewHostImpl_Make(cMainWindow& window) {
    return std::make_unique<MainWindowViewHost>(window);
}
