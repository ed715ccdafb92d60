// The documents without a main window: headless they ask nothing and build nothing that needs an
// answer; a host of the test's own gives the answers, the tools and the windows.
#include <gtest/gtest.h>

#include <QStringList>
#include <cstring>

#include "DocumentFixture.h"
#include "document/DocumentHost.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/Primitives.h"
#include "document/UndoHistory.h"
#include "mainwindow/MainWindow.h"
#include "map/MapBrush.h"
#include "map/PatchRecord.h"

namespace {

class cTestHost final : public DocumentHost {
public:
    cTestHost() { Document_SetHost(this); }
    ~cTestHost() override { Document_SetHost(nullptr); }

    int32_t activeTool() const override { return tool; }
    bool askArch(const PrimitiveParams*, ArchParameters* out) override {
        asked << QStringLiteral("arch");
        *out = arch;
        return true;
    }
    bool askPatchSize(int32_t* width, int32_t* height) override {
        asked << QStringLiteral("patch");
        *width = patchWidth;
        *height = patchHeight;
        return true;
    }

    int32_t tool = ToolId::None;
    ArchParameters arch;
    int32_t patchWidth = 5, patchHeight = 3;
    QStringList asked;
};

// A document with a world entity, the way a new map starts, without any window.
class DocumentHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(g_mainWindow, nullptr);
        worldspawn = Test_NewDocument(&document);
        std::memset(&params, 0, sizeof params);
        params.map = Map_Handle(document.world);
        params.texInfo.sScale = params.texInfo.tScale = 1.0f;
        std::strcpy(params.texInfo.name, "notexture");
        params.flags = PrimitiveFlag::Handedness;
        const int32_t axes[3] = {0, 1, 2};
        const float mins[3] = {0, 0, 0}, maxs[3] = {128, 64, 32};
        std::memcpy(params.axes, axes, sizeof axes);
        std::memcpy(params.mins, mins, sizeof mins);
        std::memcpy(params.maxs, maxs, sizeof maxs);
    }
    void TearDown() override { Project_Destroy(&document); }

    int brushCount() const {
        int n = 0;
        for (const BrushRecord* b = worldspawn->firstBrush; b; b = b->next)
            ++n;
        return n;
    }

    MapDocument document;
    EntityRecord* worldspawn = nullptr;
    PrimitiveParams params;
};

} // namespace

TEST_F(DocumentHostTest, HeadlessTheAskingPrimitivesBuildNothing) {
    EXPECT_EQ(Prim_CreateArch(&params), 0);
    EXPECT_EQ(Prim_CreatePlane(&params), 0);
    EXPECT_EQ(brushCount(), 0);
    EXPECT_EQ(Undo_NewestLevel(document.undo), nullptr);
}

TEST_F(DocumentHostTest, ThePrimitivesBuildWhatTheHostAnswers) {
    cTestHost host;
    host.arch.wallWidth = 16;
    host.arch.sides = 6;
    host.arch.arc = 180;
    ASSERT_EQ(Prim_CreateArch(&params), 1);
    EXPECT_EQ(brushCount(), 6);

    // Width and height differ, so swapped answers show.
    ASSERT_EQ(Prim_CreatePlane(&params), 1);
    const BrushRecord* plane = worldspawn->firstBrush;
    while (plane && !plane->patch)
        plane = plane->next;
    ASSERT_NE(plane, nullptr);
    EXPECT_EQ(plane->patch->columns, 5);
    EXPECT_EQ(plane->patch->rows, 3);
    EXPECT_EQ(host.asked, QStringList({"arch", "patch"}));
}

TEST_F(DocumentHostTest, TheTextureToolSelectsFacesOtherToolsObjects) {
    EXPECT_EQ(Map_UpdateSelectionMode(document.world), SelectionMode::WholeGroups);
    cTestHost host;
    host.tool = ToolId::Texture;
    EXPECT_EQ(Map_UpdateSelectionMode(document.world), SelectionMode::Faces);
    host.tool = ToolId::Selection;
    EXPECT_EQ(Map_UpdateSelectionMode(document.world), SelectionMode::WholeGroups);
}
