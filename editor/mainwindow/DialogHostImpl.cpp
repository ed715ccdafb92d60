#include "mainwindow/DialogHostImpl.h"

#include <QDialog>

#include "dialogs/application/DialogHost.h"
#include "dialogs/editing/EntityHelpDialog.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/SettingsFile.h"
#include "mainwindow/Splash.h"
#include "views/ChildWindow.h"

namespace {

class MainWindowDialogHost final : public DialogHost {
public:
    explicit MainWindowDialogHost(cMainWindow& window) : window_(window) {}

    QWidget* window() override { return &window_; }
    QList<MapDocument*> documents() const override { return window_.documents; }
    MapDocument* activeDocument() const override {
        const cChildWindow* child = window_.activeChildWindow();
        return child ? child->document : nullptr;
    }
    QString currentTextureName() const override { return window_.currentTextureName; }
    void setCurrentTexture(const QString& name, const QString& group) override {
        App_SetCurrentTexture(name, group);
    }

    void updateAllViews(int mask) override { window_.updateAllViews(mask); }
    void notifySelectionChanged() override { window_.notifySelectionChanged(); }
    void notifyViewSelectionChanged(cCanvas* view) override { window_.notifySelectionChanged(view); }
    void updateActions(int mask) override { window_.updateActions(mask); }
    void updateToolActions() override { window_.updateToolActions(); }
    void updateTextureBar(bool keepLists) override { window_.updateTextureBar(keepLists); }
    void updateVisGroupList() override { window_.updateVisGroupList(); }
    void updateObjectProperties() override { window_.updateObjectProperties(); }
    void checkActiveState(bool force, bool documentsChanged) override {
        window_.checkActiveState(force, documentsChanged);
    }
    void applySettings() override { window_.applySettings(); }
    void applyPreferences(bool worldSizeChanged) override {
        if (worldSizeChanged) App_RebuildCullTrees(&window_);
        for (const SettingAction& action : Settings_ActionTable())
            window_.setActionChecked(QLatin1String(action.name), action.checked(window_.settings));
        App_ApplyEditPreferences(&window_);
        window_.applySettings();
        window_.checkActiveState(true, false);
        window_.textureFilterWord = -1;
        window_.updateAllViews(3);
    }
    void rebindEntityClasses() override { App_RebindEntityClasses(&window_); }
    void refreshChangedShaders() override { App_RefreshChangedShaders(&window_); }
    void setStatusText(const QString& text, int label) override { App_SetStatusText(&window_, text, label); }
    void finishSplash() override { App_FinishSplash(&window_); }

    void exitTextureApplication() override { window_.exitTextureApplication(); }
    void editProperties() override { window_.cmdEditProperties(); }
    void tieToEntity(EntityRecord* entity) override { window_.tieToEntity(entity, false); }
    QString replaceTextures(const QString& name) override { return window_.execTextureReplace(name); }
    void showObjectProperties(EntityRecord* entity) override { App_ShowObjectProperties(entity); }
    void showEntityHelp(const QString& html) override { App_ShowEntityHelp(html); }
    bool entityHelpVisible() const override {
        return window_.entityHelpDialog && window_.entityHelpDialog->isVisible();
    }
    void setEntityHelpText(const QString& html) override {
        if (window_.entityHelpDialog) window_.entityHelpDialog->setHelpText(html);
    }
    void closeEntityHelp() override {
        if (window_.entityHelpDialog) window_.entityHelpDialog->close();
    }

private:
    cMainWindow& window_;
};

} // namespace

std::unique_ptr<DialogHost> DialogHostImpl_Make(cMainWindow& window) {
    return std::make_unique<MainWindowDialogHost>(window);
}
