// The block and cordon tools through a real map window: drawing, moving and nudging the box,
// creating through the chosen primitive with its creation record, the empty-box message, and
// the world's cordon following the box.
#include <QImage>
#include <cstring>

#include "ToolDriver.h"
#include "core/Prompt.h"
#include "document/Primitives.h"
#include "gamedata/TextureRecords.h"
#include "mainwindow/PrimitiveRegistry.h"
#include "tools/BrushTool.h"
#include "tools/CordonTool.h"
#include "document/SelectionBox.h"

namespace {

class BrushToolTest : public ToolFixture {
public:
    void SetUp() override {
        ToolFixture::SetUp();
        settings().CurrentGridSize = 8;
        App_ClearPrimitives();
        App_RegisterBuiltinPrimitives(g_mainWindow);
        App_SetCurrentPrimitive(0); // block
        g_mainWindow->toolBrush();
        brush = tool<cBrushTool>(ToolId::Brush);
    }
    void TearDown() override {
        App_ClearPrimitives();
        ToolFixture::TearDown();
    }
    int brushCount() const {
        int n = 0;
        for (BrushRecord* b = worldspawn->firstBrush; b; b = b->next)
            ++n;
        return n;
    }
    static std::vector<float> bounds(const float* lo, const float* hi) {
        return {lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]};
    }
    SelectionBox& blockBox() { return doc.selectionBoxes[1]; }
    cBrushTool* brush = nullptr;
    cCurrentTextureScope currentTexture;
};

TEST_F(BrushToolTest, DragAndReturnMakeOneBlock) {
    const std::string before = dump();
    driver.drag(driver.at(0, 0), driver.at(64, 32));
    ASSERT_TRUE(blockBox().valid);
    EXPECT_EQ(bounds(blockBox().mins, blockBox().maxs), (std::vector<float>{0, 0, 0, 64, 32, 64}));
    EXPECT_EQ(status4(), Select_BoxStatusText(&blockBox(), 0, 1, 0));
    EXPECT_FALSE(status4().isEmpty());
    doc.modified = false;
    driver.key(Qt::Key_Return);
    ASSERT_EQ(brushCount(), 1);
    BrushRecord* b = worldspawn->firstBrush;
    EXPECT_EQ(bounds(b->mins, b->maxs), (std::vector<float>{0, 0, 0, 64, 32, 64}));
    EXPECT_FALSE(blockBox().valid);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(bounds(w->rememberedMins, w->rememberedMaxs), (std::vector<float>{0, 0, 0, 64, 32, 64}));
    oracle(before, dump());
    EXPECT_FALSE(Undo_StepUndo(history) && Undo_StepUndo(history)); // one level only
}

TEST_F(BrushToolTest, EditMenuCreateObjectUsesTheFocusView) {
    driver.drag(driver.at(0, 0), driver.at(64, 32));
    ASSERT_EQ(g_mainWindow->focusView, top);
    g_mainWindow->cmdEditCreateObject();
    EXPECT_EQ(brushCount(), 1);
    EXPECT_FALSE(blockBox().valid);
}

TEST_F(BrushToolTest, NewBlockTakesTheRememberedHeight) {
    const float lo[3] = {200, 0, -32}, hi[3] = {264, 64, 96};
    Map_SelectObject(w, box(lo, hi));
    g_mainWindow->notifySelectionChanged(top); // the selection tool remembers its bounds
    driver.drag(driver.at(0, 0), driver.at(64, 32));
    EXPECT_EQ(bounds(blockBox().mins, blockBox().maxs), (std::vector<float>{0, 0, -32, 64, 32, 96}));
}

TEST_F(BrushToolTest, OutsideAStandingBoxNothingIsDrawn) {
    driver.drag(driver.at(0, 0), driver.at(64, 32));
    driver.drag(driver.at(-100, -100), driver.at(-40, -40));
    EXPECT_EQ(bounds(blockBox().mins, blockBox().maxs), (std::vector<float>{0, 0, 0, 64, 32, 64}));
    // Inside, the box moves on the grid.
    driver.drag(driver.at(32, 16), driver.at(48, 8));
    EXPECT_EQ(bounds(blockBox().mins, blockBox().maxs), (std::vector<float>{16, -8, 0, 80, 24, 64}));
}

TEST_F(BrushToolTest, OutlineColourWhileStandingAndDragging) {
    auto near = [](const QImage& image, QPoint p, const QColor& colour) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -4; dx <= 4; ++dx)
                if (QColor(image.pixel(p + QPoint(dx, dy))) == colour) return true;
        return false;
    };
    const QPoint from = driver.at(0, 0), to = driver.at(64, 32);
    driver.move(from);
    driver.press(from);
    driver.move(to, Qt::LeftButton);
    QImage image = top->grabFramebuffer();
    const QPoint bottomEdge = driver.at(32, 0);
    EXPECT_TRUE(near(image, bottomEdge, Color_GetQColor(COLOR_ACTIVE_SELECTION)));
    driver.release(to);
    image = top->grabFramebuffer();
    EXPECT_TRUE(near(image, bottomEdge, Color_GetQColor(COLOR_BRUSH_CREATION)));
    EXPECT_FALSE(near(image, bottomEdge, Color_GetQColor(COLOR_ACTIVE_SELECTION)));
}

TEST_F(BrushToolTest, EmptyBoxWarnsAndMakesNothing) {
    cPromptScript script;
    driver.drag(driver.at(0, 0), driver.at(0, 32)); // no width
    ASSERT_TRUE(blockBox().valid);
    driver.key(Qt::Key_Return);
    EXPECT_EQ(brushCount(), 0);
    ASSERT_EQ(script.asked.size(), 1);
    EXPECT_EQ(script.asked[0].text, QStringLiteral("The box is empty."));
    EXPECT_EQ(script.asked[0].title, QStringLiteral("Z.A.R.V."));
    EXPECT_FALSE(blockBox().valid);
}

TEST_F(BrushToolTest, AltReturnCreatesNothingAndShiftUpRaisesTheBox) {
    driver.drag(driver.at(0, 0), driver.at(64, 32));
    driver.key(Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(brushCount(), 0);
    EXPECT_TRUE(blockBox().valid);
    driver.key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(bounds(blockBox().mins, blockBox().maxs), (std::vector<float>{0, 0, 8, 64, 32, 72}));
    driver.key(Qt::Key_Escape);
    EXPECT_FALSE(blockBox().valid);
}

// The creation record as a primitive receives it, byte by byte.
uint8_t g_record[sizeof(PrimitiveParams)];
int32_t recordingPrimitive(PrimitiveParams* params) {
    std::memcpy(g_record, params, sizeof g_record);
    return 0;
}

template <class T> T at(int offset) {
    T value;
    std::memcpy(&value, g_record + offset, sizeof value);
    return value;
}

TEST_F(BrushToolTest, CreationRecordBytes) {
    PrimitiveEntry entry{"recorder", "(tests)", 7, 1, 9, 0, recordingPrimitive};
    registerPrimitive(g_mainWindow, &entry);
    App_SetCurrentPrimitive(int32_t(App_Primitives().size()) - 1);
    ShaderRecord texture;
    std::strcpy(texture.name, "base/floor");
    texture.surfaceFlags = 0x11;
    texture.contents = 0x22;
    texture.value = 0x33;
    struct Case {
        int viewType;
        bool reorient, faceAlign, noSnap, stretchArches, texture;
        int axes[3];
        int flags;
    } cases[] = {
        {ViewType::Top, false, false, false, false, false, {0, 1, 2}, 0x3},
        {ViewType::Side, true, true, true, true, true, {0, 2, 1}, 0x4},
        {ViewType::Front, true, false, false, false, true, {1, 2, 0}, 0x3},
    };
    for (const Case& c : cases) {
        settings().ReorientPrimitives = c.reorient;
        settings().TextureFaceAlign = c.faceAlign;
        settings().DontSnapPrimitivePoints = c.noSnap;
        settings().StretchArches = c.stretchArches;
        currentTexture.set(c.texture ? "base/floor" : "", c.texture ? &texture : nullptr);
        driver.setView(viewOfType(c.viewType));
        std::memset(g_record, 0xAB, sizeof g_record);
        driver.drag(driver.at(0, 0), driver.at(64, 32));
        driver.key(Qt::Key_Return);
        EXPECT_EQ(at<MapHandle>(0), Map_Handle(w));
        for (int o = 8; o < 40; ++o)
            EXPECT_EQ(g_record[o], 0) << o;
        EXPECT_EQ(at<float>(40), 1.0f);
        EXPECT_EQ(at<float>(44), 1.0f);
        EXPECT_EQ(at<int32_t>(48), 0);
        EXPECT_EQ(at<int32_t>(52), c.faceAlign ? 2 : 1);
        EXPECT_EQ(at<int32_t>(56), c.texture ? 0x33 : 0);
        EXPECT_EQ(at<int32_t>(60), 0);
        EXPECT_EQ(at<int32_t>(64), c.texture ? 0x11 : 0);
        EXPECT_EQ(at<int32_t>(68), c.texture ? 0x22 : 0);
        EXPECT_STREQ(reinterpret_cast<const char*>(g_record + 72), c.texture ? "base/floor" : "notexture");
        EXPECT_EQ(at<int32_t>(136), 7);
        EXPECT_EQ(at<int32_t>(140), c.flags) << c.viewType;
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(at<int32_t>(144 + 4 * k), c.axes[k]) << c.viewType;
        EXPECT_EQ(at<int32_t>(180), 0);
        // A primitive that made nothing leaves the document unmodified and clears the box.
        EXPECT_FALSE(blockBox().valid);
    }
}

class CordonToolTest : public ToolFixture {
public:
    void SetUp() override {
        ToolFixture::SetUp();
        g_mainWindow->toolCordon();
        cordon = tool<cCordonTool>(ToolId::Cordon);
    }
    SelectionBox& cordonBox() { return doc.selectionBoxes[5]; }
    // The world's cordon equals the box (or is all zero without one).
    void expectCordonIsBox() {
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(w->cordonMins[k], cordonBox().valid ? cordonBox().mins[k] : 0.0f) << k;
            EXPECT_EQ(w->cordonMaxs[k], cordonBox().valid ? cordonBox().maxs[k] : 0.0f) << k;
        }
    }
    cCordonTool* cordon = nullptr;
};

TEST_F(CordonToolTest, WorldCordonFollowsTheBox) {
    doc.modified = false;
    driver.drag(driver.at(0, 0), driver.at(128, 64)); // from the origin
    ASSERT_TRUE(cordonBox().valid);
    expectCordonIsBox();
    EXPECT_TRUE(Map_CordonSet(w));
    EXPECT_TRUE(doc.modified); // kept in the file: closing must not lose it silently
    EXPECT_EQ(cordonBox().maxs[2] - cordonBox().mins[2], 64.0f);
    driver.key(Qt::Key_Left);
    EXPECT_EQ(cordonBox().mins[0], -16.0f);
    expectCordonIsBox();
    driver.key(Qt::Key_PageUp);
    EXPECT_EQ(cordonBox().mins[2], 16.0f);
    expectCordonIsBox();
    // Activation reloads the box from the world.
    Select_ClearBox(&cordonBox());
    cordon->activate(top);
    EXPECT_TRUE(cordonBox().valid);
    expectCordonIsBox();
    driver.key(Qt::Key_Escape);
    EXPECT_FALSE(cordonBox().valid);
    expectCordonIsBox();
    EXPECT_FALSE(Map_CordonSet(w));
}

TEST_F(CordonToolTest, OneCordonPredicate) {
    struct Case {
        float lo[3], hi[3];
        bool set;
    } cases[] = {
        {{0, 0, 0}, {0, 0, 0}, false},
        {{0, 0, 0}, {64, 64, 64}, true},
        {{-64, 0, 0}, {0, 64, 64}, true},
        {{0, 0, 0}, {64, 64, 0}, false},
    };
    for (const Case& c : cases) {
        std::copy(c.lo, c.lo + 3, w->cordonMins);
        std::copy(c.hi, c.hi + 3, w->cordonMaxs);
        EXPECT_EQ(Map_CordonSet(w), c.set);
    }
}

} // namespace
