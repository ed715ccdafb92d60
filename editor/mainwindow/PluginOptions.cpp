// What the window shows of the options behind Sys_GetOption / Sys_SetOption.
#include "mainwindow/PluginOptions.h"

#include "core/System.h"
#include "mainwindow/MainWindow.h"

namespace {

struct OptionView {
    bool MainSettings::*member; // null for the grid size
    const char* action;
    int viewMask; // 0 refreshes the snap/grid status instead
};

} // namespace

void App_ShowOptionChange(cMainWindow& window, int32_t option) {
    static const OptionView views[] = {
        {&MainSettings::SnapToGrid, "MapSnap", 0},       {&MainSettings::EnableGrid2D, "MapGrid", 1},
        {&MainSettings::EnableGrid3D, "MapGrid3D", 2},   {nullptr, nullptr, 1}, // grid size
        {&MainSettings::EnableCordon, "ToolsCordon", 3},
    };
    if (option < 0 || option > SYS_OPTION_CORDON) return;
    const OptionView& view = views[option];
    if (!view.member) {
        window.updateSnapGridStatus();
        window.updateAllViews(view.viewMask);
        return;
    }
    window.setActionChecked(QString::fromLatin1(view.action), window.settings.*(view.member));
    if (view.viewMask)
        window.updateAllViews(view.viewMask);
    else
        window.updateSnapGridStatus();
}
