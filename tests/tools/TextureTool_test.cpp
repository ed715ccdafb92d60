// The texture-application tool through a real map window: the dialog's left-click modes on a
// face picked in the camera view, the right click, and one "Shift Texture" level per Alt drag.
#include <QDoubleSpinBox>
#include <QSignalBlocker>
#include <cstring>

#include "ToolDriver.h"
#include "dialogs/editing/FacePropertiesDialog.h"
#include "document/MapSelection.h"
#include "map/MapFace.h"
#include "tools/TextureTool.h"

namespace {

class TextureToolTest : public ToolFixture {
public:
    void SetUp() override {
        ToolFixture::SetUp();
        const float lo[3] = {100, -64, 0}, hi[3] = {164, 64, 128};
        wall = box(lo, hi);
        for (FaceRecord* f = wall->firstFace; f; f = f->next)
            if (f->normal[0] < -0.5f) front = f;
        g_mainWindow->toolTextureApplication();
        camera = viewOfType(ViewType::Camera);
        camera->grabFramebuffer();
        driver.setView(camera);
        face().setEditMode(2);
    }
    void TearDown() override {
        face().setEditMode(0);
        face().setTarget(nullptr);
        ToolFixture::TearDown();
    }
    static cFacePropertiesDialog& face() { return g_mainWindow->faceDialog; }
    QPoint centre() const { return {camera->viewWidth / 2, camera->viewHeight / 2}; }
    int selectedFaces() const {
        int n = 0;
        for (FaceRecord* f = w->selectedFaces; f; f = f->selNext)
            ++n;
        return n;
    }

    BrushRecord* wall = nullptr;
    FaceRecord* front = nullptr;
    cCanvas* camera = nullptr;
};

TEST_F(TextureToolTest, SelectModesPickToggleAndTakeTheWholeBrush) {
    ASSERT_NE(front, nullptr);
    struct Case {
        Qt::KeyboardModifiers mods;
        int count;
        bool frontSelected;
    } cases[] = {
        {Qt::NoModifier, 1, true},
        {Qt::ControlModifier, 0, false}, // toggled off
        {Qt::ShiftModifier, 6, true},    // every face of the brush
        {Qt::NoModifier, 1, true},       // replaced
    };
    for (const Case& k : cases) {
        driver.click(centre(), Qt::LeftButton, k.mods);
        EXPECT_EQ(selectedFaces(), k.count) << int(k.mods);
        EXPECT_EQ((front->flags & FaceFlags::Selected) != 0, k.frontSelected) << int(k.mods);
    }
    // Mode 0 makes the selection the dialog's target.
    face().setEditMode(0);
    driver.click(centre());
    EXPECT_EQ(face().targetWorld(), w);
}

TEST_F(TextureToolTest, LiftApplyAndRecordedModes) {
    // Lift + Select makes the front face the dialog's selection; Lift loads it again.
    face().setEditMode(0);
    driver.click(centre());
    face().setEditMode(1);
    driver.click(centre());
    EXPECT_EQ(face().textureName(), QStringLiteral("base/wall"));
    face().setTextureSelection(true, false, QString(), QStringLiteral("base/floor"));
    auto* scale = face().findChild<QDoubleSpinBox*>(QStringLiteral("sbScaleX"));
    {
        const QSignalBlocker quiet(scale);
        scale->setValue(0.5);
    }
    struct Case {
        int mode;
        Qt::KeyboardModifiers mods;
        int changed;
        float sScale;
    } cases[] = {
        {3, Qt::NoModifier, 1, 1.0f},  // the name only
        {4, Qt::NoModifier, 1, 0.5f},  // with scales and shifts
        {3, Qt::AltModifier, 1, 1.0f}, // wrapped from the first selected face: itself
    };
    for (const Case& k : cases) {
        face().setEditMode(k.mode);
        const std::string before = dump();
        driver.click(centre(), Qt::LeftButton, k.mods);
        int changed = 0;
        for (FaceRecord* f = wall->firstFace; f; f = f->next)
            changed += std::strcmp(f->texInfo.name, "base/floor") == 0;
        EXPECT_EQ(changed, k.changed) << k.mode;
        EXPECT_EQ(front->texInfo.sScale, k.sScale) << k.mode;
        expectUndoRedo("Apply Texture", before);
        ASSERT_TRUE(Undo_StepUndo(history));
    }
    face().setEditMode(6);
    std::string before = dump();
    driver.click(centre());
    expectUndoRedo("Align to View", before);
    ASSERT_TRUE(Undo_StepUndo(history));
    // Without the NULL texture the NULL modes are refused.
    face().setEditMode(8);
    EXPECT_EQ(face().mode(), 6);
    // The right button applies in mode 4 whatever the mode (the reload after aligning took the
    // face's own texture back into the dialog).
    face().setTextureSelection(true, false, QString(), QStringLiteral("base/floor"));
    before = dump();
    driver.click(centre(), Qt::RightButton);
    EXPECT_STREQ(front->texInfo.name, "base/floor");
    expectUndoRedo("Apply Texture", before);
}

TEST_F(TextureToolTest, AltDragShiftsTheSelectedFacesAsOneLevel) {
    driver.click(centre());
    ASSERT_EQ(selectedFaces(), 1);
    const std::string before = dump();
    driver.drag(centre(), centre() + QPoint(-12, 8), Qt::AltModifier);
    EXPECT_NE(front->texInfo.sShift, 0.0f);
    EXPECT_NE(front->texInfo.tShift, 0.0f);
    expectUndoRedo("Shift Texture", before);
    // The cursor of the camera view.
    camera->setCursorForTool();
    EXPECT_EQ(camera->cursor().hotSpot(), QPoint(0, 0));
    EXPECT_FALSE(camera->cursor().pixmap().isNull());
}

} // namespace

namespace {

// The face dialog's side of the views and the select command: keys the tools decline reach its
// mode keys, and selecting stays texture application while it is up.
TEST_F(TextureToolTest, DeclinedKeysReachTheDialogAndSelectKeepsTextureMode) {
    face().show();
    g_mainWindow->activeTool = (*g_mainWindow->toolSet)[ToolId::Selection];
    cCanvas* topView = viewOfType(ViewType::Top);
    driver.setView(topView);
    EXPECT_TRUE(driver.key(Qt::Key_F3, Qt::ShiftModifier));
    EXPECT_EQ(face().mode(), 2);
    EXPECT_TRUE(driver.key(Qt::Key_F9, Qt::ShiftModifier));
    EXPECT_EQ(face().mode(), 6);
    g_mainWindow->toolSelect();
    EXPECT_EQ(Tool_Id(g_mainWindow->activeTool), ToolId::Texture);
    face().hide();
    EXPECT_FALSE(driver.key(Qt::Key_F3, Qt::ShiftModifier));
    g_mainWindow->toolSelect();
    EXPECT_EQ(Tool_Id(g_mainWindow->activeTool), ToolId::Selection);
}

} // namespace
