// The main window is the views' and the tools' host, and the colour scheme they draw with, for
// its lifetime only: nothing may reach a window that is gone.
#include <gtest/gtest.h>

#include "mainwindow/MainWindow.h"
#include "tools/ToolHost.h"
#include "tools/ToolSet.h"
#include "render/ColorScheme.h"
#include "views/ViewHost.h"

TEST(WindowHosts, TheWindowServesTheViewsAndToolsWhileItLives) {
    ASSERT_EQ(View_Host(), nullptr);
    ASSERT_EQ(Tool_Host(), nullptr);
    const QColor standIn = Color_GetQColor(-1);
    {
        cMainWindow window;
        ASSERT_NE(View_Host(), nullptr);
        ASSERT_NE(Tool_Host(), nullptr);
        // The hosts read the window's state as it is now, not a copy.
        window.heldKeys = HeldKey::Space;
        EXPECT_TRUE(View_SpaceHeld());
        window.heldKeys = 0;
        EXPECT_FALSE(View_SpaceHeld());
        window.activeTool = (*window.toolSet)[ToolId::Path];
        EXPECT_EQ(View_ActiveTool(), window.activeTool);
        EXPECT_EQ(View_Host()->cameraTool(), (*window.toolSet)[ToolId::Camera]);
        View_Host()->setTextureFilterWord(6);
        EXPECT_EQ(window.textureFilterWord, 6);
        window.currentTextureName = QStringLiteral("base/wall");
        EXPECT_EQ(Tool_Host()->currentTextureName(), window.currentTextureName);
        window.colorScheme.fallback = QColor(1, 2, 3);
        EXPECT_EQ(Color_GetQColor(-1), QColor(1, 2, 3));
    }
    EXPECT_EQ(View_Host(), nullptr);
    EXPECT_EQ(Tool_Host(), nullptr);
    EXPECT_EQ(Color_GetQColor(-1), standIn);
}
