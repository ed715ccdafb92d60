#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidgetItem>
#include <QStatusBar>

#include "ConsoleCapture.h"
#include "WindowFixture.h"
#include "core/Prompt.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/SelectionSummary.h"
#include "dialogs/application/QCustomAction.h"
#include "tools/ToolSet.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

// A tool that records what the switch protocol does to it.
struct RecordingTool : cAbstractTool {
    explicit RecordingTool(int32_t toolId, QStringList* log) : log(log) { id = toolId; }
    void activate(cCanvas*) override { log->append(QStringLiteral("activate %1").arg(id)); }
    void deactivate() override { log->append(QStringLiteral("deactivate %1").arg(id)); }
    bool keyPress(cCanvas*, int key, int modifiers) override {
        log->append(QStringLiteral("key %1 %2").arg(key).arg(modifiers, 0, 16));
        return true;
    }
    QStringList* log;
};

class MainWindowSlotsTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        writeQuake3Config();
    }
    cConsoleCapture console;
};

} // namespace

TEST_F(MainWindowSlotsTest, CheckedCommandsSetTheirSettings) {
    cMainWindow window(WindowMode::Interactive);
    // Map commands are disabled without a map.
    ASSERT_NE(window.openFile(kSampleMap), nullptr);
    window.updateDocumentActions();
    struct Case {
        const char* name;
        int32_t hideBit; // 0: a plain setting
        bool (*setting)(const MainSettings&);
    } cases[] = {
        {"ViewItems", 0x1, nullptr},
        {"ViewPaths", 0x2, nullptr},
        {"ViewDetail", 0x4, nullptr},
        {"ViewEntNames", 0x10, nullptr},
        {"ViewCurves", 0x20, nullptr},
        {"ViewUnknown", 0x40, nullptr},
        {"EditSelH", 0, [](const MainSettings& s) { return s.SelectByHandles; }},
        {"EditSelA", 0, [](const MainSettings& s) { return s.SelectAuto; }},
        {"MapSnap", 0, [](const MainSettings& s) { return s.SnapToGrid; }},
        {"MapGrid", 0, [](const MainSettings& s) { return s.EnableGrid2D; }},
        {"ToolsTexAlign", 0, [](const MainSettings& s) { return s.TextureFaceAlign; }},
        {"ToolsCordon", 0, [](const MainSettings& s) { return s.EnableCordon; }},
        {"CurveSelect", 0, [](const MainSettings& s) { return !s.SelectCurves; }},
    };
    for (const Case& c : cases) {
        QAction* a = Window_Action(window, c.name);
        ASSERT_NE(a, nullptr) << c.name;
        for (bool on : {true, false, true}) {
            window.settings.HideMask = 0x8;
            a->setChecked(!on);
            a->trigger();
            ASSERT_EQ(a->isChecked(), on);
            if (c.hideBit)
                EXPECT_EQ(window.settings.HideMask, 0x8 | (on ? c.hideBit : 0)) << c.name;
            else
                EXPECT_EQ(c.setting(window.settings), on) << c.name;
        }
    }
}

TEST_F(MainWindowSlotsTest, MagnifyAndCameraKeepTheWorkingToolUnderneath) {
    cMainWindow window(WindowMode::Headless);
    QStringList log;
    for (int32_t id = 0; id < ToolId::Count; ++id)
        window.toolSet->tools[id] = std::make_unique<RecordingTool>(id, &log);
    const ToolSet& toolSet = *window.toolSet;
    window.activeTool = toolSet[ToolId::Vertex];
    window.toolMagnify();
    EXPECT_EQ(window.activeTool, toolSet[ToolId::Magnify]);
    EXPECT_EQ(window.secondaryTool, toolSet[ToolId::Vertex]);
    window.toolCamera();
    EXPECT_EQ(window.activeTool, toolSet[ToolId::Camera]);
    EXPECT_EQ(window.secondaryTool, toolSet[ToolId::Vertex]);
    window.toolMagnify();
    EXPECT_EQ(window.secondaryTool, toolSet[ToolId::Vertex]);
    // Already active: nothing happens.
    window.toolMagnify();
    EXPECT_EQ(log, (QStringList{"activate 1", "activate 2", "activate 1"}));
    // From the selection tool nothing is kept.
    window.secondaryTool = nullptr;
    window.activeTool = toolSet[ToolId::Selection];
    window.toolCamera();
    EXPECT_EQ(window.secondaryTool, nullptr);
    window.activeTool = window.secondaryTool = nullptr;
}

TEST_F(MainWindowSlotsTest, VertexCommandsAreKeysOfTheVertexToolOnly) {
    cMainWindow window(WindowMode::Interactive);
    window.show();
    ASSERT_NE(window.openFile(kSampleMap), nullptr);
    cChildWindow* child = window.activeChildWindow();
    ASSERT_NE(child, nullptr);
    window.setActiveCanvas(child->views[0]);
    QStringList log;
    RecordingTool selection(ToolId::Selection, &log), vertex(ToolId::Vertex, &log);
    cAbstractTool* before = window.activeTool;
    window.activeTool = &selection;
    window.cmdVertexWeld();
    EXPECT_TRUE(log.isEmpty());
    window.activeTool = &vertex;
    window.cmdVertexFaceSplit();
    window.cmdVertexWeld();
    window.cmdVertexTriangulate();
    window.cmdVertexScaleMode();
    window.cmdVertexSnapToGrid();
    window.cmdVertexClearSelection();
    const auto key = [](int k, Qt::KeyboardModifiers m) {
        return QStringLiteral("key %1 %2").arg(k).arg(int(m), 0, 16);
    };
    EXPECT_EQ(log, (QStringList{key(Qt::Key_F, Qt::ControlModifier),
                                key(Qt::Key_W, Qt::ControlModifier | Qt::AltModifier),
                                key(Qt::Key_T, Qt::ControlModifier | Qt::AltModifier),
                                key(Qt::Key_E, Qt::AltModifier), key(Qt::Key_B, Qt::ControlModifier),
                                key(Qt::Key_Escape, Qt::ControlModifier)}));
    window.activeTool = before;
    window.close();
}

TEST_F(MainWindowSlotsTest, SmallSlots) {
    cMainWindow window(WindowMode::Interactive);
    // The update check on request without a server: a failure, not "the most recent version".
    {
        cPromptScript script;
        window.cmdHelpUpdateCheck();
        ASSERT_EQ(script.asked.size(), 1);
        EXPECT_EQ(script.asked[0].text,
                  QLatin1String("Could not check for updates: no update server is set."));
        EXPECT_EQ(script.asked[0].title, QLatin1String("Z.A.R.V."));
    }
    QListWidgetItem item;
    item.setData(Qt::UserRole, 7u);
    window.selectVisGroup(&item);
    EXPECT_EQ(window.currentVisGroup, 7u);
    window.selectVisGroup(nullptr);
    EXPECT_EQ(window.currentVisGroup, 7u);
    window.setActiveChildWindow(nullptr);
    // The status bar's message goes to label 0.
    window.statusBar()->showMessage(QStringLiteral("hello"));
    EXPECT_EQ(window.statusLabels[0]->text(), QLatin1String("hello"));
    // The web links open the program's own documents as file addresses.
    QStringList links;
    for (QAction* a : window.actionList)
        if (auto* c = qobject_cast<QCustomAction*>(a);
            c && c->statusText.startsWith(QLatin1String("Open \"")))
            links.append(c->data);
    ASSERT_EQ(links.size(), 7);
    EXPECT_EQ(links[0], QUrl::fromLocalFile(path("base/doc/README.md")).toString());
}
