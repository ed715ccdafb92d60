#include "mainwindow/MainWindowHost.h"

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
    float vertexRoundEpsilon() const override { return window.settings.MapVertexRoundEps; }
    int32_t maxWorldSize() const override { return window.settings.MaxWorldSize; }
    void optionChanged(int32_t option) override { App_ShowOptionChange(window, option); }
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
