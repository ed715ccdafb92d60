#include "WidgetInput.h"
#include "dialogs/application/ArchDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

#include "DialogAnswer.h"
#include "SampleWindowFixture.h"
#include "ToolDriver.h"
#include "document/Primitives.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "mainwindow/PrimitiveRegistry.h"
#include "mainwindow/MainWindow.h"
#include "render/ColorScheme.h"

namespace {

// A box dragged in the top view (x right, y up), or with the other handedness.
PrimitiveParams box(float width, float height, bool handed = true) {
    PrimitiveParams p;
    std::memset(&p, 0, sizeof p);
    p.flags = handed ? PrimitiveFlag::Handedness : 0;
    p.axes[0] = 0;
    p.axes[1] = 1;
    p.axes[2] = 2;
    p.maxs[0] = width;
    p.maxs[1] = height;
    p.maxs[2] = 64;
    return p;
}

struct ArchFixture {
    ArchFixture() {
        if (!g_mainWindow) window = std::make_unique<cMainWindow>(); // the grid size lives there
        Color_ResetTables();
        g_mainWindow->settings.CurrentGridSize = 16;
    }
    QImage grab() { return Widget_Find<QWidget>(&dialog, "preview")->grab().toImage(); }
    QDoubleSpinBox* spin(const char* name) { return Widget_Find<QDoubleSpinBox>(&dialog, name); }
    QCheckBox* check(const char* name) { return Widget_Find<QCheckBox>(&dialog, name); }
    // The preview pixel of a point of the arch: angle in degrees, radius in pixels.
    static QPoint at(const QImage& image, float degrees, float rho) {
        const float a = degrees * 3.14159265f / 180.0f;
        return {int(std::lround(image.width() / 2 + rho * std::cos(a))),
                int(std::lround(image.height() / 2 - rho * std::sin(a)))};
    }
    // Brush colour at the pixel or a neighbour (lines are rasterised, the points here are not).
    static bool brush(const QImage& image, QPoint p) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (image.pixelColor(p + QPoint(dx, dy)) == Color_GetQColor(COLOR_BRUSH_DEFAULT)) return true;
        return false;
    }
    std::unique_ptr<cMainWindow> window;
    cArchDialog dialog;
};

TEST(ArchDialog, Form) {
    ArchFixture f;
    cArchDialog& d = f.dialog;
    EXPECT_EQ(d.windowTitle(), "Arch Properties");
    EXPECT_EQ(d.windowModality(), Qt::WindowModal);
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_FALSE(d.windowFlags() & (Qt::WindowContextHelpButtonHint | Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(d.windowFlags() & Qt::WindowCloseButtonHint);
    QWidget* preview = Widget_Find<QWidget>(&d, "preview");
    EXPECT_EQ(preview->width(), preview->height());
    const struct {
        const char* box;
        const char* label;
        const char* text;
        double minimum, maximum, value;
    } values[] = {{"sbWidth", "label", "Wall &width:", 1, 99999, 32},
                  {"sbArc", "label_3", "&Arc:", 8, 360, 180},
                  {"sbStart", "label_4", "S&tart angle:", 0, 360, 0},
                  {"sbHeight", "label_5", "Add &height:", 0, 99999, 0}};
    for (const auto& v : values) {
        QDoubleSpinBox* box = f.spin(v.box);
        EXPECT_EQ(box->minimum(), v.minimum) << v.box;
        EXPECT_EQ(box->maximum(), v.maximum) << v.box;
        EXPECT_EQ(box->value(), v.value) << v.box;
        EXPECT_EQ(box->decimals(), 1) << v.box;
        EXPECT_EQ(Widget_Find<QLabel>(&d, v.label)->text(), v.text);
        EXPECT_EQ(Widget_Find<QLabel>(&d, v.label)->buddy(), box);
    }
    auto* sides = Widget_Find<QSpinBox>(&d, "sbSides");
    EXPECT_EQ(sides->minimum(), 3);
    EXPECT_EQ(sides->maximum(), 100);
    EXPECT_EQ(sides->value(), 8);
    EXPECT_EQ(Widget_Find<QLabel>(&d, "label_2")->text(), "Number of &sides:");
    EXPECT_EQ(Widget_Find<QPushButton>(&d, "btnCircle")->text(), "&Circle");
    const struct {
        const char* name;
        const char* text;
        bool checked, enabled;
    } checks[] = {{"cbHideGrid", "Hide gri&d", false, true},
                  {"cbGroup", "&Group parts", true, true},
                  {"cbSmoothSlope", "&Smooth slope", false, false},
                  {"cbTris", "&Triangulate", false, true},
                  {"cbFitSel", "&Fit selection", false, true}};
    for (const auto& c : checks) {
        EXPECT_EQ(f.check(c.name)->text(), c.text);
        EXPECT_EQ(f.check(c.name)->isChecked(), c.checked) << c.name;
        EXPECT_EQ(f.check(c.name)->isEnabled(), c.enabled) << c.name;
    }
    EXPECT_EQ(Widget_Find<QGroupBox>(&d, "groupBox")->title(), "Preview");
    EXPECT_EQ(Widget_Find<QGroupBox>(&d, "groupBox_2")->title(), "Settings");
    const QStringList named = {"sbWidth", "sbSides",  "btnCircle", "sbArc",
                               "sbStart", "sbHeight", "buttonBox"};
    QStringList order;
    QWidget* w = f.spin("sbWidth");
    for (int i = 0; i < 80 && order.size() < named.size(); ++i, w = w->nextInFocusChain())
        if (named.contains(w->objectName()) && !order.contains(w->objectName()))
            order.append(w->objectName());
    EXPECT_EQ(order, named);
}

TEST(ArchDialog, TheBoxLimitsTheWallWidth) {
    const struct {
        float width, height;
        double maximum;
    } cases[] = {{256, 64, 32},
                 {64, 64, 32},
                 {20, 10, 5},
                 {1, 64, 1},
                 {0.5f, 64, 1},
                 {64, 0, 1},
                 {999999, 999999, 499999},
                 {4e6f, 4e6f, 499999}};
    for (const auto& c : cases) {
        ArchFixture f;
        g_mainWindow->settings.CurrentGridSize = 1; // a line for every unit of the huge boxes
        const PrimitiveParams p = box(c.width, c.height);
        f.dialog.setupPreview(&p);
        EXPECT_EQ(f.spin("sbWidth")->maximum(), c.maximum) << c.width << " x " << c.height;
        EXPECT_LE(f.spin("sbWidth")->value(), c.maximum);
        f.grab(); // paints without dividing by zero
    }
    // A larger value is clamped and stays so for a larger box.
    ArchFixture f;
    const PrimitiveParams small = box(20, 10), large = box(256, 256);
    f.dialog.setupPreview(&small);
    f.dialog.setupPreview(&large);
    EXPECT_EQ(f.spin("sbWidth")->value(), 5.0);
    EXPECT_EQ(f.spin("sbWidth")->maximum(), 128.0);
    // A flat box shows only the background.
    const PrimitiveParams flat = box(64, 0);
    f.dialog.setupPreview(&flat);
    const QImage image = f.grab();
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            ASSERT_EQ(image.pixelColor(x, y), Color_GetQColor(COLOR_2D_BACKGROUND)) << x << "," << y;
}

TEST(ArchDialog, PreviewSpokesRingAndGrid) {
    ArchFixture f;
    const PrimitiveParams p = box(256, 256);
    f.dialog.setupPreview(&p);
    f.spin("sbWidth")->setValue(64); // a quarter of the side: half the outer radius
    QImage image = f.grab();
    const float outer = float((image.width() - 2) / 2), middle = outer * 0.75f;
    // 180° in 8 sides: 9 spokes, none in between, nothing below the centre line.
    for (int i = 0; i <= 8; ++i)
        EXPECT_TRUE(ArchFixture::brush(image, ArchFixture::at(image, 22.5f * float(i), middle))) << i;
    EXPECT_FALSE(ArchFixture::brush(image, ArchFixture::at(image, 11.25f, middle)));
    EXPECT_FALSE(ArchFixture::brush(image, ArchFixture::at(image, 270.0f, middle)));
    // "Circle": 8 spokes 45° apart all round, the ring closed between the last and the first.
    Widget_Find<QPushButton>(&f.dialog, "btnCircle")->click();
    EXPECT_EQ(f.spin("sbArc")->value(), 360.0);
    image = f.grab();
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(ArchFixture::brush(image, ArchFixture::at(image, 45.0f * float(i), middle))) << i;
    EXPECT_FALSE(ArchFixture::brush(image, ArchFixture::at(image, 22.5f, middle)));
    const QPoint last = ArchFixture::at(image, 315.0f, outer), first = ArchFixture::at(image, 0.0f, outer);
    EXPECT_TRUE(ArchFixture::brush(image, (last + first) / 2));

    // Hiding the grid changes grid pixels only.
    const QImage withGrid = f.grab();
    f.check("cbHideGrid")->click();
    const QImage without = f.grab();
    int changed = 0;
    for (int y = 0; y < withGrid.height(); ++y)
        for (int x = 0; x < withGrid.width(); ++x)
            if (withGrid.pixelColor(x, y) != without.pixelColor(x, y)) {
                ++changed;
                ASSERT_EQ(withGrid.pixelColor(x, y), Color_GetQColor(COLOR_2D_GRID_MINOR)) << x << "," << y;
                ASSERT_EQ(without.pixelColor(x, y), Color_GetQColor(COLOR_2D_BACKGROUND)) << x << "," << y;
            }
    EXPECT_GT(changed, 100);

    // A wall wider than the preview's radius: spokes from the centre.
    f.dialog.setParameters([] {
        ArchParameters a;
        a.wallWidth = 128;
        a.sides = 8;
        a.arc = 180;
        return a;
    }());
    image = f.grab();
    EXPECT_TRUE(ArchFixture::brush(image, ArchFixture::at(image, 45.0f, outer * 0.1f)));
    EXPECT_TRUE(ArchFixture::brush(image, ArchFixture::at(image, 90.0f, 3.0f)));
}

TEST(ArchDialog, DiagonalsFollowTheViewsHandedness) {
    // Each segment's diagonal runs inner-to-previous-outer in one handedness, the other way in the
    // other.
    ArchFixture f;
    f.spin("sbWidth")->setValue(64);
    f.check("cbTris")->click();
    for (bool handed : {true, false}) {
        const PrimitiveParams p = box(256, 256, handed);
        f.dialog.setupPreview(&p);
        const QImage image = f.grab();
        const float outer = float((image.width() - 2) / 2), inner = outer / 2;
        const QPoint o0 = ArchFixture::at(image, 0, outer), i0 = ArchFixture::at(image, 0, inner);
        const QPoint o1 = ArchFixture::at(image, 22.5f, outer), i1 = ArchFixture::at(image, 22.5f, inner);
        // A quarter of the way along each candidate, well away from where the two would cross.
        EXPECT_EQ(ArchFixture::brush(image, i1 + (o0 - i1) / 4), handed);
        EXPECT_EQ(ArchFixture::brush(image, o1 + (i0 - o1) / 4), !handed);
    }
}

TEST(ArchDialog, SlopeAndTriangulateGoTogether) {
    ArchFixture f;
    QCheckBox *slope = f.check("cbSmoothSlope"), *tris = f.check("cbTris");
    EXPECT_FALSE(slope->isEnabled());
    f.spin("sbHeight")->setValue(16);
    EXPECT_TRUE(slope->isEnabled());
    slope->click();
    EXPECT_TRUE(tris->isChecked());
    tris->click();
    EXPECT_FALSE(slope->isChecked());
    slope->click();
    f.spin("sbHeight")->setValue(0);
    EXPECT_FALSE(slope->isEnabled());
    ArchParameters a;
    f.dialog.getParameters(&a);
    EXPECT_FALSE(a.smoothSlope); // only with an added height
    EXPECT_TRUE(a.triangulate);
    EXPECT_EQ(a.sides, 8);
    EXPECT_EQ(a.arc, 180.0f);
}

} // namespace

namespace {

// Arch chosen in a real program window: the block tool's box dragged in the top view and
// created with Return opens the dialog for that box.
class ArchDragTest : public cSampleWindowFixture {
protected:
    void SetUp() override {
        cSampleWindowFixture::SetUp();
        if (HasFatalFailure()) return;
        App_ClearPrimitives();
        App_RegisterBuiltinPrimitives(window.get());
        int32_t arch = -1;
        for (size_t i = 0; i < App_Primitives().size(); ++i)
            if (!std::strcmp(App_Primitives()[i].name, "arch")) arch = int32_t(i);
        ASSERT_GE(arch, 0);
        // The tool switch refills the New Objects dock, which picks its list's primitive: choose
        // the arch after it.
        window->toolBrush();
        App_SetCurrentPrimitive(arch);
        window->settings.CurrentGridSize = 1;
        for (cCanvas* v : child->views)
            if (v->viewType == ViewType::Top) top = v;
        ASSERT_NE(top, nullptr);
        window->setActiveCanvas(top);
        top->zoom = 4.0f;
        top->scrollX = top->scrollY = 0;
        top->needsFullRedraw = true;
        driver.setView(top);
    }
    void TearDown() override {
        App_ClearPrimitives();
        cSampleWindowFixture::TearDown();
    }
    // Drags the box and presses Return; the dialog's wall-width maximum, or -1 when none opened.
    double create(float width, float height, bool accept) {
        Select_ClearBox(&child->document->selectionBoxes[1]);
        double maximum = -1;
        cDialogAnswer answer(
            [&](QDialog* d) { maximum = Widget_Find<QDoubleSpinBox>(d, "sbWidth")->maximum(); }, accept);
        driver.drag(driver.at(0, 0), driver.at(width, height));
        driver.key(Qt::Key_Return);
        return maximum;
    }
    const char* newestLevel() const {
        const UndoHistory* history = child->document->undo;
        return history && history->undoChain ? history->undoChain->name : nullptr;
    }

    cCanvas* top = nullptr;
    cToolDriver driver;
};

TEST_F(ArchDragTest, TheDraggedBoxLimitsTheWallWidthAndCancelMakesNothing) {
    const QByteArray before = Map_DumpWorld(world, WorldDumpFlag::Serials);
    const char* level = newestLevel();
    const struct {
        float width, height;
        double maximum;
    } cases[] = {{256, 64, 32}, {64, 64, 32}, {20, 10, 5}, {1, 64, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(create(c.width, c.height, false), c.maximum) << c.width << " x " << c.height;
        EXPECT_EQ(Map_DumpWorld(world, WorldDumpFlag::Serials), before);
        EXPECT_EQ(newestLevel(), level);
    }
}

TEST_F(ArchDragTest, OkIsOneCreateArchLevel) {
    const QByteArray before = Map_DumpWorld(world, WorldDumpFlag::Serials);
    int brushesBefore = 0;
    for (const BrushRecord* b = world->entities->firstBrush; b; b = b->next)
        ++brushesBefore;
    ASSERT_EQ(create(256, 64, true), 32.0);
    EXPECT_STREQ(newestLevel(), "Create Arch");
    int brushes = 0;
    for (const BrushRecord* b = world->entities->firstBrush; b; b = b->next)
        ++brushes;
    EXPECT_GT(brushes, brushesBefore);
    ASSERT_TRUE(Undo_StepUndo(child->document->undo));
    EXPECT_EQ(Map_DumpWorld(world, WorldDumpFlag::Serials), before);
}

} // namespace
