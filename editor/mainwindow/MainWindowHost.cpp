#include "mainwindow/MainWindowHost.h"

#include <algorithm>

#include "core/SysHost.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PluginOptions.h"
#include "mainwindow/Splash.h"
#include "views/ViewState.h"

namespace {

class MainWindowHost final : public SysHost {
public:
    explicit MainWindowHost(cMainWindow& window) : window(window) {}

    void printToConsole(const QString& html, bool redraw) override {
        const uint8_t saved = View_NoRedraw;
        if (!redraw) View_NoRedraw = 1;
        window.printToConsole(html, true, false);
        View_NoRedraw = saved;
    }
    bool starting() const override { return g_splashScreen != nullptr; }
    int32_t snapGrid() const override {
        return window.settings.SnapToGrid ? std::max(1, window.settings.CurrentGridSize) : 0;
    }
    float vertexRoundEpsilon() const override { return window.settings.MapVertexRoundEps; }
    int32_t maxWorldSize() const override { return window.settings.MaxWorldSize; }
    int32_t option(int32_t option) const override { return App_GetOption(option); }
    void setOption(int32_t option, int32_t value) override { App_SetOption(option, value); }
    ArchiveRegistry& archives() override { return window.archives; }
    FoundFiles& foundFiles() override { return window.foundFiles; }
    MainSettings* settings() override { return &window.settings; }

private:
    cMainWindow& window;
};

} // namespace

std::unique_ptr<SysHost> MainWindowHost_Make(cMainWindow& window) {
    return std::make_unique<MainWindowHost>(window);
}
