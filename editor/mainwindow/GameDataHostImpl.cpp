#include "mainwindow/GameDataHostImpl.h"

#include "dialogs/application/PluginDialog.h"
#include "document/EngineTable.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/PluginDialogs.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PrimitiveRegistry.h"
#include "mainwindow/Splash.h"
#include "views/ViewState.h"

namespace {

const PluginDialogFuncs kPluginDialogs = {
    App_MessageBox,
    App_OptionsBox,
    Dialog_Begin,
    Dialog_InitExternalCommand,
    Dialog_InitInternalCommand,
    Dialog_SetProgress,
    Dialog_AddTextEdit,
    Dialog_AddCheckBox,
    Dialog_AddRadioBox,
    Dialog_AddSpinBox,
    Dialog_AddSpinBoxFloat,
    Dialog_AddComboBox,
    Dialog_AddFileEdit,
    Dialog_AddFileList,
    Dialog_AddDirectoryEdit,
    Dialog_QueryArgument,
    Dialog_QueryArgumentInt,
    Dialog_QueryArgumentFloat,
    Dialog_End,
    Dialog_VPrintf,
    App_BeginWaitCursor,
    App_EndWaitCursor,
};

class MainWindowGameData final : public GameDataHost {
public:
    explicit MainWindowGameData(cMainWindow& window) : window(window) {}

    GameConfigManager& gameConfigs() override { return window.gameConfigs; }
    TextureManager& textures() override { return window.textures; }
    ModelCache& models() override { return window.models; }
    SkyManager& skies() override { return window.skies; }
    PluginManager& plugins() override { return window.plugins; }
    GameDataRegistry& gameData() override { return window.gameData; }
    void fillEngineFuncs(EngineFuncs* table) override { Plugin_FillEngineFuncs(table); }
    QString configFile(const QString& name, bool forWriting) const override {
        return window.resolveConfigFile(name, forWriting);
    }
    MapWorld** activeMap() override { return App_GetActiveMap(); }
    void showProgress(const QString& text) override { App_ShowSplashMessage(text); }
    bool holdDrawing(bool hold) override {
        const bool held = View_NoRedraw != 0;
        View_NoRedraw = hold ? 1 : 0;
        return held;
    }
    int32_t* textureFilterWord() override { return &window.textureFilterWord; }
    void refreshDocumentSkies() override { App_RefreshDocumentSkies(&window); }
    const PluginDialogFuncs* pluginDialogs() override { return &kPluginDialogs; }
    void registerPrimitive(const PrimitiveEntry* entry) override { ::registerPrimitive(&window, entry); }
    void setSurfaceFlagName(const char* profile, const char* flag, int32_t bit) override {
        window.faceDialog.setSurfaceFlagName(profile, flag, bit);
    }
    void setContentFlagName(const char* profile, const char* flag, int32_t bit) override {
        window.faceDialog.setContentFlagName(profile, flag, bit);
    }

private:
    cMainWindow& window;
};

} // namespace

std::unique_ptr<GameDataHost> GameDataHost_Make(cMainWindow& window) {
    return std::make_unique<MainWindowGameData>(window);
}
