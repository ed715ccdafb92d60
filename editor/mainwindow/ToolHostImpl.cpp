#include "mainwindow/ToolHostImpl.h"

#include <QApplication>
#include <algorithm>
#include <iterator>

#include "dialogs/application/PathDialog.h"
#include "dialogs/application/ScaleVertexDialog.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PrimitiveRegistry.h"
#include "mainwindow/WindowCursors.h"
#include "tools/ToolHost.h"
#include "views/Canvas.h"

namespace {

class MainWindowToolHost final : public ToolHost {
public:
    explicit MainWindowToolHost(cMainWindow& window) : window(window) {}

    void setStatusText(int label, const QString& text) override { App_SetStatusText(&window, text, label); }

    QCursor cursor(int kind) override {
        // The window's cursors, loaded from the program's resources with their hot spots. A window
        // that did not load them (headless) has them loaded once here and kept.
        static WindowCursors* loaded = nullptr;
        const WindowCursors* cursors = &window.cursors;
        if (cursors->rotate.pixmap().isNull()) {
            if (!loaded && qobject_cast<QApplication*>(QCoreApplication::instance())) {
                loaded = new WindowCursors;
                Cursors_Load(*loaded);
            }
            if (!loaded) return QCursor(Qt::CrossCursor);
            cursors = loaded;
        }
        static QCursor WindowCursors::*const members[] = {
            &WindowCursors::rotate,  &WindowCursors::cross, &WindowCursors::brush, &WindowCursors::magnify,
            &WindowCursors::texture, &WindowCursors::decal, &WindowCursors::entity};
        return cursors->*members[std::clamp(kind, 0, int(std::size(members)) - 1)];
    }

    bool documentOpen(const MapDocument* document) const override {
        return window.documents.contains(const_cast<MapDocument*>(document));
    }
    QString currentTextureName() const override { return window.currentTextureName; }
    ShaderRecord* findTexture(const QString& name) const override { return App_FindTexture(name); }
    PrimitiveEntry* currentPrimitive() const override { return App_CurrentPrimitive(); }

    void notifySelectionChanged(cCanvas* view) override { window.notifySelectionChanged(view); }
    void updateActions(int mask) override { window.updateActions(mask); }
    void updateCreateActions(const QString& className) override { window.updateCreateActions(className, 0); }
    void editProperties() override { window.cmdEditProperties(); }
    void deletePath() override { window.cmdEditPathDelete(); }
    void editPathNodeProperties() override { window.cmdEditPathNodeProperties(); }

    std::optional<NewPathChoice> askNewPath(MapDocument* document, cCanvas* view) override {
        cPathDialog dialog(document, App_DialogParent(view));
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return NewPathChoice{dialog.txtName->text().trimmed(), dialog.cbClass->currentText(),
                             dialog.direction()};
    }

    void showScaleDialog(bool show) override {
        cScaleVertexDialog* dialog = window.scaleVertexDialog;
        if (!dialog) return;
        if (show) {
            dialog->setFactor(1.0);
            dialog->show();
            dialog->raise();
            dialog->activateWindow();
        } else if (dialog->isVisible()) {
            dialog->hide();
        }
    }

    FaceTexturing* faceTexturing() override { return &window.faceDialog; }

private:
    cMainWindow& window;
};

} // namespace

std::unique_ptr<ToolHost> ToolHostImpl_Make(cMainWindow& window) {
    return std::make_unique<MainWindowToolHost>(window);
}
