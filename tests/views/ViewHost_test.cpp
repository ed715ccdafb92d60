// The views through their host alone, without a main window: the focus they hand over, the
// pointers a view must take back when it goes, the tools they ask, and the context menus.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QStringList>
#include <memory>

#include "views/AbstractTool.h"
#include "views/Canvas.h"
#include "render/GLFormat.h"
#include "views/ViewHost.h"

namespace {

// Keeps the window state a main window would and records the commands the views send.
class cTestViewHost final : public ViewHost {
public:
    cTestViewHost() : previous(View_Host()) { View_SetHost(this); }
    ~cTestViewHost() override { View_SetHost(previous); }
    cTestViewHost(const cTestViewHost&) = delete;
    cTestViewHost& operator=(const cTestViewHost&) = delete;

    cCanvas* focusView() const override { return focus; }
    void setFocusView(cCanvas* view) override { focus = view; }
    cCanvas* previousFocusView() const override { return previousFocus; }
    void setPreviousFocusView(cCanvas* view) override { previousFocus = view; }
    cCanvas* lastInputCanvas() const override { return lastInput; }
    void setLastInputCanvas(cCanvas* view) override { lastInput = view; }
    cAbstractTool* activeTool() const override { return active; }
    cAbstractTool* secondaryTool() const override { return secondary; }
    cAbstractTool* cameraTool() const override { return nullptr; }
    uint32_t heldKeys() const override { return held; }
    int32_t textureFilterWord() const override { return filterWord; }
    void setTextureFilterWord(int32_t word) override { filterWord = word; }
    void setZoomText(const QString& text) override { zoomText = text; }
    void setPositionText(const QString&) override {}
    void showMessage(const QString& text, int) override { calls << QStringLiteral("message ") + text; }
    void updateAllViews(int mask) override { calls << QStringLiteral("updateAllViews %1").arg(mask); }
    void updateViewModeActions() override { calls << QStringLiteral("updateViewModeActions"); }
    void updateSnapGridStatus() override {}
    bool isActiveMapWindow(const cChildWindow*) const override { return true; }
    void schemeColorsChanged() override {}
    void execContextMenu(const QString& name, QPoint) override { calls << QStringLiteral("menu ") + name; }
    bool canvasMenuOpen() const override { return false; }
    void editProperties() override {}
    bool faceModeKey(const QKeyEvent*) override { return false; }

    cCanvas* focus = nullptr;
    cCanvas* previousFocus = nullptr;
    cCanvas* lastInput = nullptr;
    cAbstractTool* active = nullptr;
    cAbstractTool* secondary = nullptr;
    uint32_t held = 0;
    int32_t filterWord = -1;
    QString zoomText;
    QStringList calls;

private:
    ViewHost* previous;
};

std::unique_ptr<cCanvas> topView() {
    return std::make_unique<cCanvas>(ViewType::Top, -1, View_CanvasFormat(), nullptr, nullptr);
}

} // namespace

TEST(ViewHost, FocusPassesFromViewToViewThroughTheHost) {
    cTestViewHost host;
    auto first = topView();
    auto second = topView();
    first->makeActive();
    EXPECT_EQ(host.focus, first.get());
    EXPECT_EQ(host.previousFocus, nullptr);
    second->makeActive();
    EXPECT_EQ(host.focus, second.get());
    EXPECT_EQ(host.previousFocus, first.get());
    EXPECT_EQ(host.calls.count(QStringLiteral("updateViewModeActions")), 2);
    // Asked again, the focus view changes nothing.
    second->makeActive();
    EXPECT_EQ(host.calls.count(QStringLiteral("updateViewModeActions")), 2);
    second->focusView();
    EXPECT_TRUE(host.zoomText.startsWith(QStringLiteral("Zoom: ")));
}

// A view that goes must not stay behind in the host as focus, former focus or last input view.
TEST(ViewHost, AViewThatGoesIsTakenOutOfTheHost) {
    struct Case {
        const char* name;
        cCanvas* cTestViewHost::*slot;
        bool updatesActions;
    };
    const Case cases[] = {
        {"focus", &cTestViewHost::focus, true},
        {"previous focus", &cTestViewHost::previousFocus, false},
        {"last input", &cTestViewHost::lastInput, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cTestViewHost host;
        auto stays = topView();
        auto view = topView();
        host.focus = host.previousFocus = host.lastInput = stays.get();
        host.*c.slot = view.get();
        view.reset();
        EXPECT_EQ(host.*c.slot, nullptr);
        for (cCanvas* cTestViewHost::*other :
             {&cTestViewHost::focus, &cTestViewHost::previousFocus, &cTestViewHost::lastInput})
            if (other != c.slot) EXPECT_EQ(host.*other, stays.get());
        EXPECT_EQ(host.calls.contains(QStringLiteral("updateViewModeActions")), c.updatesActions);
    }
}

TEST(ViewHost, ThePathToolCountsAsActiveOrSecondaryThroughTheHost) {
    EXPECT_FALSE(Tool_IsPathToolActive()); // no host: no tool
    cTestViewHost host;
    cAbstractTool path;
    path.setId(ToolId::Path);
    cAbstractTool other;
    other.setId(ToolId::Selection);
    host.active = &other;
    EXPECT_FALSE(Tool_IsPathToolActive());
    host.secondary = &path;
    EXPECT_TRUE(Tool_IsPathToolActive());
    host.secondary = nullptr;
    host.active = &path;
    EXPECT_TRUE(Tool_IsPathToolActive());
}

TEST(ViewHost, ContextMenusGoToTheHookElseTheHost) {
    QStringList hooked;
    View_ExecContextMenu(QStringLiteral("Canvas"), QPoint()); // neither: nothing happens
    cTestViewHost host;
    View_ExecContextMenu(QStringLiteral("Operations"), QPoint());
    View_SetContextMenuHook([&](const QString& name, QPoint) { hooked << name; });
    View_ExecContextMenu(QStringLiteral("Canvas"), QPoint());
    View_SetContextMenuHook(nullptr);
    EXPECT_EQ(host.calls, QStringList{QStringLiteral("menu Operations")});
    EXPECT_EQ(hooked, QStringList{QStringLiteral("Canvas")});
}

// Without a host a view stands alone: it takes no focus and asks no tool, and going is safe.
TEST(ViewHost, WithoutAHostAViewStandsAlone) {
    ASSERT_EQ(View_Host(), nullptr);
    auto view = topView();
    view->makeActive();
    view->focusView();
    EXPECT_EQ(View_FocusView(), nullptr);
    EXPECT_EQ(View_ActiveTool(), nullptr);
    EXPECT_FALSE(View_SpaceHeld());
    View_ShowMessage(QStringLiteral("nowhere"), 100);
    view.reset();
}
