#include <gtest/gtest.h>

#include <QCoreApplication>

#include "ConsoleCapture.h"
#include "DocumentFixture.h"
#include "core/Winding.h"
#include "document/DocumentHost.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoSnapshot.h"
#include "mainwindow/MainWindow.h"
#include "views/AbstractTool.h"
#include "tools/ToolSet.h"

TEST(MainWindow, GlobalPointerFollowsTheWindow) {
    EXPECT_EQ(g_mainWindow, nullptr);
    {
        cMainWindow window;
        EXPECT_EQ(g_mainWindow, &window);
        EXPECT_EQ(window.settings.CurrentGridSize, 32);
    }
    EXPECT_EQ(g_mainWindow, nullptr);
}

TEST(MainWindow, DocumentsReachTheWindowOnlyWhileItLives) {
    MapDocument document;
    Test_NewDocument(&document);
    {
        cMainWindow window;
        window.activeTool = (*window.toolSet)[ToolId::Texture];
        EXPECT_EQ(Map_UpdateSelectionMode(document.world), SelectionMode::Faces);
        EXPECT_EQ(Document_Host().clipboard(), &window.clipboard);
    }
    // The closed window's tools and clipboard are gone: the documents are headless again.
    EXPECT_EQ(Map_UpdateSelectionMode(document.world), SelectionMode::WholeGroups);
    EXPECT_EQ(Document_Host().clipboard(), nullptr);
    Project_Destroy(&document);
}

TEST(MainWindow, ClosingReleasesThePools) {
    {
        cMainWindow window;
        cWinding::Free(cWinding::Alloc());
        cWinding::FreeDouble(cWinding::AllocDouble());
        UndoPool_Give(UndoPool_TakeFace());
        ASSERT_GT(cWinding::PooledCount(), 0);
        ASSERT_GT(UndoPool_PooledCount(), 0);
    }
    EXPECT_EQ(cWinding::PooledCount(), 0);
    EXPECT_EQ(cWinding::PooledCountDouble(), 0);
    EXPECT_EQ(UndoPool_PooledCount(), 0);
}

TEST(MainWindow, ConsoleEscapesOnlyPlainText) {
    cConsoleCapture console;
    g_mainWindow->printToConsole("a <b> c", false, false);
    g_mainWindow->printToConsole("a <i>c</i>", true, false);
    g_mainWindow->printToConsole("title", false, true);
    // Plain text is escaped fully: a bare "&" would start an entity.
    g_mainWindow->printToConsole("a & b", false, false);
    EXPECT_EQ(console.lines, (QStringList{"a &lt;b&gt; c", "a <i>c</i>", "<b>title</b>", "a &amp; b"}));
}

TEST(MainWindow, SettingsDefaults) {
    const MainSettings settings;
    EXPECT_EQ(settings.UndoLevels, 50);
    EXPECT_EQ(settings.MaxWorldSize, 8192);
    EXPECT_FLOAT_EQ(settings.MapVertexRoundEps, 0.01f);
    EXPECT_EQ(settings.GridDefaultSize, 32);
    EXPECT_TRUE(settings.SnapToGrid);
    EXPECT_TRUE(settings.AutosaveDir.endsWith("/Z.A.R.V.Autosave"));
    EXPECT_EQ(settings.NumCopies, 1);
}

TEST(MainWindow, BaseDirectoryIsTheProgramFolder) {
    EXPECT_EQ(App_GetBaseDirectory(), QCoreApplication::applicationDirPath());
    const std::pair<const char*, const char*> table[] = {
        {"/opt/zarv/bin", "/opt/zarv/bin"},
        {"/opt/zarv/system", "/opt/zarv/system/../sdk"},
        {"/opt/zarv/System64", "/opt/zarv/System64/../sdk"},
        {"/opt/zarv/SYSTEM", "/opt/zarv/SYSTEM/../sdk"},
        {"/opt/zarv/system32", "/opt/zarv/system32"},
    };
    for (const auto& [folder, base] : table)
        EXPECT_EQ(App_BaseDirectoryFor(QLatin1String(folder)), QLatin1String(base)) << folder;
}
