// The surface properties dialog in the program's window on the sample map: typed fields, buttons
// and flag boxes driven by key and mouse events, each change one named undo level that Undo
// takes back exactly.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/Prompt.h"
#include "DialogAnswer.h"
#include "DocumentFixture.h"
#include "SampleWindowFixture.h"
#include "dialogs/editing/FacePropertiesDialog.h"
#include "document/MapSelection.h"
#include "document/OperationSupport.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "gamedata/MapProfile.h"
#include "gamedata/PluginInterface.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"

namespace {

class FacePropertiesTest : public cSampleWindowFixture {
protected:
    void SetUp() override {
        cSampleWindowFixture::SetUp();
        Map_SelectNone(world);
        history = Map_OpHistory(world);
        for (int i = 0; i < 3; ++i) {
            const float lo[3] = {float(1000 + 100 * i), 0, 0}, hi[3] = {float(1064 + 100 * i), 64, 64};
            boxes[i] = Test_Box(Map_Handle(world), Map_OpWorldEntity(world), lo, hi, "base/wall");
        }
        window->toolTextureApplication();
        ASSERT_TRUE(dialog().isVisible());
    }

    cFacePropertiesDialog& dialog() { return window->faceDialog; }
    template <class T = QWidget> T* w(const char* name) {
        T* found = dialog().findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    std::string dump() const { return Map_DumpWorld(world, WorldDumpFlag::Serials).toStdString(); }
    std::string newest() const {
        const UndoLevel* level = Undo_NewestLevel(history);
        return level && level->name ? level->name : "";
    }
    int levels() const {
        int n = 0;
        for (const UndoLevel* l = history->undoChain; l; l = l->next)
            ++n;
        return n;
    }
    // The top face (+z) of each of the first count boxes, selected, and the dialog bound to them.
    void selectTops(int count) {
        Map_SelectNone(world);
        for (int i = 0; i < count; ++i)
            Map_SelectObject(world, boxes[i]->firstFace);
        dialog().setTarget(Map_Handle(world));
    }
    FaceRecord* top(int i) const { return boxes[i]->firstFace; }

    // Replaces a field's text and ends the edit with Enter.
    void type(QWidget* box, const QString& text) {
        typeInto(box, text);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(box, &press);
        QApplication::processEvents();
    }
    static void click(QWidget* widget, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const QPointF centre(widget->width() / 2.0, widget->height() / 2.0);
        QMouseEvent press(QEvent::MouseButtonPress, centre, widget->mapToGlobal(centre), Qt::LeftButton,
                          Qt::LeftButton, mods);
        QMouseEvent release(QEvent::MouseButtonRelease, centre, widget->mapToGlobal(centre), Qt::LeftButton,
                            Qt::NoButton, mods);
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
        QApplication::processEvents();
    }
    // One level of that name; Undo gives the dump from before exactly; Redo the dump after.
    void expectOneLevel(const char* name, const std::string& before, int levelsBefore) {
        const std::string after = dump();
        EXPECT_EQ(levels(), levelsBefore + 1) << name;
        EXPECT_EQ(newest(), name);
        ASSERT_TRUE(Undo_StepUndo(history));
        EXPECT_TRUE(dump() == before) << name << ": " << firstDiff(dump(), before);
        ASSERT_TRUE(Undo_StepRedo(history));
        EXPECT_TRUE(dump() == after) << name;
    }

    // The first line in which two dumps differ (dumps are long).
    static std::string firstDiff(const std::string& a, const std::string& b) {
        size_t i = 0;
        while (i < a.size() && i < b.size() && a[i] == b[i])
            ++i;
        const size_t start = a.rfind('\n', i) == std::string::npos ? 0 : a.rfind('\n', i) + 1;
        return a.substr(start, a.find('\n', i) - start) + "  <>  " + b.substr(start, b.find('\n', i) - start);
    }

    UndoHistory* history = nullptr;
    BrushRecord* boxes[3] = {};
};

TEST_F(FacePropertiesTest, TypedFaceFieldsApplyAsOneLevelToEverySelectedFace) {
    struct Case {
        const char* field;
        const char* text;
        const char* level;
        float TextureInfo::*member;
        float expected;
    } cases[] = {
        {"sbScaleX", "0.5", "Scale Texture", &TextureInfo::sScale, 0.5f},
        {"sbScaleY", "0", "Scale Texture", &TextureInfo::tScale, 1.0f}, // too small: 1
        {"sbShiftX", "16", "Shift Texture", &TextureInfo::sShift, 16.0f},
        {"sbShiftY", "-8", "Shift Texture", &TextureInfo::tShift, -8.0f},
        {"sbRotate", "-30", "Rotate Texture", &TextureInfo::rotation, 330.0f},
    };
    for (int count : {1, 3}) {
        for (const Case& k : cases) {
            selectTops(count);
            const std::string before = dump();
            const int n = levels();
            type(w(k.field), QString::fromLatin1(k.text));
            for (int i = 0; i < count; ++i)
                EXPECT_EQ(top(i)->texInfo.*k.member, k.expected) << k.field << " " << count;
            expectOneLevel(k.level, before, n);
            ASSERT_TRUE(Undo_StepUndo(history));
        }
    }
    // An edit that ends with the loaded text applies nothing.
    selectTops(2);
    const int n = levels();
    auto* scale = w<QDoubleSpinBox>("sbScaleX");
    type(scale, scale->text());
    EXPECT_EQ(levels(), n);
    // Text the box refuses never reaches the map.
    typeInto(scale, QStringLiteral("abc"));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(scale, &press);
    EXPECT_EQ(levels(), n);
    EXPECT_EQ(top(0)->texInfo.sScale, 1.0f);
}

TEST_F(FacePropertiesTest, MixedSelectionLeavesDifferingFieldsEmptyAndTypingAppliesToAll) {
    // Shifts set through the dialog, one face at a time.
    for (int i : {1, 2}) {
        Map_SelectNone(world);
        Map_SelectObject(world, top(i));
        dialog().setTarget(Map_Handle(world));
        type(w("sbShiftX"), QString::number(i * 4));
    }
    selectTops(3);
    EXPECT_TRUE(w<QDoubleSpinBox>("sbShiftX")->text().isEmpty());
    EXPECT_FALSE(w<QDoubleSpinBox>("sbShiftY")->text().isEmpty());
    // The first face's own value, typed into the empty field, reaches all three.
    const int n = levels();
    const std::string before = dump();
    type(w("sbShiftX"), QStringLiteral("0"));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(top(i)->texInfo.sShift, 0.0f);
    expectOneLevel("Shift Texture", before, n);
}

TEST_F(FacePropertiesTest, ShiftsOnlyReloadLeavesEverythingButTheShifts) {
    top(1)->texInfo.sScale = 2;
    // Alignment words 1 and 3: the world box checked and two-state, the face box partial.
    top(0)->texInfo.alignment = 1;
    top(1)->texInfo.alignment = 3;
    selectTops(2);
    auto* alignWorld = w<QCheckBox>("cbAlignWorld");
    auto* alignFace = w<QCheckBox>("cbAlignFace");
    EXPECT_FALSE(alignWorld->isTristate());
    EXPECT_EQ(alignWorld->checkState(), Qt::Checked);
    EXPECT_TRUE(alignFace->isTristate());
    EXPECT_EQ(alignFace->checkState(), Qt::PartiallyChecked);
    EXPECT_TRUE(w<QDoubleSpinBox>("sbScaleX")->text().isEmpty());
    top(0)->texInfo.sShift = 5;
    top(0)->texInfo.sScale = 3;
    dialog().refreshFromSelection(true);
    EXPECT_TRUE(w<QDoubleSpinBox>("sbScaleX")->text().isEmpty());
    EXPECT_TRUE(w<QDoubleSpinBox>("sbShiftX")->text().isEmpty()); // 5 against 0
}

TEST_F(FacePropertiesTest, StepsKeepTheStoredRotationWithTheAxes) {
    selectTops(1);
    top(0)->texInfo.rotation = 30;
    const int n = levels();
    click(w("btnRot2"), Qt::ShiftModifier);
    EXPECT_FLOAT_EQ(top(0)->texInfo.rotation, 330.0f);
    EXPECT_EQ(levels(), n + 1);
    EXPECT_EQ(newest(), "Rotate Texture");
    // The axes equal those a typed rotation to the stored angle gives from the start.
    TextureInfo stepped = top(0)->texInfo;
    ASSERT_TRUE(Undo_StepUndo(history));
    dialog().refreshFromSelection(false);
    type(w("sbRotate"), QStringLiteral("330"));
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(top(0)->texInfo.sAxis[k], stepped.sAxis[k], 1e-5f) << k;
        EXPECT_NEAR(top(0)->texInfo.tAxis[k], stepped.tAxis[k], 1e-5f) << k;
    }
    // Without Shift the step goes the other way round.
    click(w("btnRot3"));
    EXPECT_FLOAT_EQ(top(0)->texInfo.rotation, 60.0f);
}

TEST_F(FacePropertiesTest, ButtonsAreOneLevelEach) {
    struct Case {
        const char* button;
        const char* level;
    } cases[] = {{"btnReset", "Reset Texture"},    {"btnRot1", "Rotate Texture"},
                 {"cbAlignFace", "Align Texture"}, {"btnT", "Justify Top"},
                 {"btnL", "Justify Left"},         {"btnC", "Justify Center"}};
    for (const Case& k : cases) {
        selectTops(3);
        top(1)->texInfo.sShift = 7;
        const std::string before = dump();
        const int n = levels();
        click(w(k.button));
        expectOneLevel(k.level, before, n);
    }
    // Fit with the dialog skipped uses 1 x 1; with Shift it asks, and Cancel changes nothing.
    window->settings.SkipFitDialog = true;
    selectTops(1);
    const int n = levels();
    {
        cDialogAnswer cancel({}, false);
        click(w("btnFit"), Qt::ShiftModifier);
        EXPECT_TRUE(cancel.answered);
    }
    EXPECT_EQ(levels(), n);
    click(w("btnFit"));
    EXPECT_EQ(newest(), "Fit Texture");
    EXPECT_EQ(dialog().fitCountS, 1.0f);
}

TEST_F(FacePropertiesTest, ApplyWritesNameValuesAndFlagsKeepingPartialBits) {
    top(0)->texInfo.contents = 0x08000001;
    top(1)->texInfo.contents = 0x00000001;
    selectTops(2);
    dialog().setTextureSelection(true, false, QString(), QStringLiteral("base/floor"));
    // Faces differing in the detail bit show the box partially checked.
    auto* group = w<QGroupBox>("groupFlags2");
    EXPECT_TRUE(group->isVisible());
    QCheckBox* detail = nullptr;
    for (QCheckBox* box : group->findChildren<QCheckBox*>())
        if (box->text() == QStringLiteral("Detail")) detail = box;
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->geometry().topLeft(), QPoint(8, 16));
    EXPECT_EQ(detail->checkState(), Qt::PartiallyChecked);
    const std::string before = dump();
    const int n = levels();
    dialog().setEditMode(4);
    dialog().applyTexture(nullptr, nullptr, nullptr, 4, false);
    for (int i = 0; i < 2; ++i) {
        EXPECT_STREQ(top(i)->texInfo.name, "base/floor");
        EXPECT_EQ(top(i)->texInfo.contents & 1, 1) << i; // not a named box: kept
    }
    EXPECT_EQ(top(0)->texInfo.contents & 0x08000000, 0x08000000);
    EXPECT_EQ(top(1)->texInfo.contents & 0x08000000, 0);
    expectOneLevel("Apply Texture", before, n);
    // Clicking the box writes it into every selected face as one level.
    const std::string beforeClick = dump();
    click(detail);
    EXPECT_EQ(detail->checkState(), Qt::Checked);
    EXPECT_FALSE(detail->isTristate());
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(top(i)->texInfo.contents & 0x08000000, 0x08000000);
    expectOneLevel("Content Flags", beforeClick, n + 1);
}

TEST_F(FacePropertiesTest, ProfileFirstBitsCountByTheirLowFiveBits) {
    auto* profile = const_cast<MapProfileRecord*>(GameCfg_CurrentProfile());
    ASSERT_NE(profile, nullptr);
    const int32_t saved = profile->firstContentFlag;
    struct Case {
        int32_t first;
        int32_t bit; // of the "Detail" box (27)
    } cases[] = {{36, 31}, {-1, 26}};
    for (const Case& k : cases) {
        profile->firstContentFlag = k.first;
        top(0)->texInfo.contents = 0;
        selectTops(1);
        QCheckBox* detail = nullptr;
        for (QCheckBox* box : w<QGroupBox>("groupFlags2")->findChildren<QCheckBox*>())
            if (box->text() == QStringLiteral("Detail")) detail = box;
        ASSERT_NE(detail, nullptr);
        click(detail);
        EXPECT_EQ(uint32_t(top(0)->texInfo.contents), 1u << k.bit) << k.first;
    }
    profile->firstContentFlag = saved;
}

TEST_F(FacePropertiesTest, PatchPageControlPointsAndWrapUndoneExactly) {
    BrushRecord* carrier = Brush_Create(Map_Handle(world), Map_OpWorldEntity(world));
    const TextureInfo info = Test_TextureInfo("base/wall");
    PatchRecord* patch = Patch_Create(carrier, &info, 3, 5);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 5; ++r) {
            patch->points[c][r].xyz[0] = float(32 * c);
            patch->points[c][r].xyz[1] = float(32 * r);
            patch->points[c][r].xyz[2] = 200.0f;
        }
    carrier->handle->update(BrushUpdate::TessellatePatch);
    Map_SelectNone(world);
    Map_SelectObject(world, carrier);
    dialog().setTarget(Map_Handle(world));
    auto* tabs = w<QTabWidget>("tabWidget");
    EXPECT_EQ(tabs->count(), 1);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("&Patch"));
    auto* columns = w<QComboBox>("cbPatchColumn");
    auto* rows = w<QComboBox>("cbPatchRow");
    EXPECT_EQ(columns->count(), 3);
    EXPECT_EQ(rows->count(), 5);
    columns->setCurrentIndex(1);
    rows->setCurrentIndex(3);
    emit rows->activated(3);
    EXPECT_EQ(w<QLineEdit>("txtPatchY")->text(), QStringLiteral("96"));
    // A typed Z moves the point, the mesh and the bounds in one level.
    const std::string before = dump();
    const int n = levels();
    type(w("txtPatchZ"), QStringLiteral("264"));
    EXPECT_EQ(patch->points[1][3].xyz[2], 264.0f);
    EXPECT_GT(patch->maxs[2], 200.0f);
    expectOneLevel("Modify Control Point", before, n);

    // Non-finite, float-overflowing and out-of-world numbers are refused with a message; the point,
    // the undo history and the field stay as they were.
    const struct {
        const char* field;
        const char* text;
    } refused[] = {{"txtPatchX", "1e39"}, {"txtPatchY", "-1e39"}, {"txtPatchZ", "3.5e38"},
                   {"txtPatchZ", "1e7"},  {"txtPatchU", "1e39"},  {"txtPatchV", "-2e6"},
                   {"txtPatchX", "-9e5"}};
    for (const auto& r : refused) {
        const std::string unchanged = dump();
        const int levelsNow = levels();
        const QString shown = w<QLineEdit>(r.field)->text();
        cPromptScript prompts;
        type(w(r.field), QString::fromLatin1(r.text));
        EXPECT_EQ(dump(), unchanged) << r.field << " " << r.text;
        EXPECT_EQ(levels(), levelsNow) << r.text;
        EXPECT_EQ(w<QLineEdit>(r.field)->text(), shown) << r.text;
        ASSERT_EQ(prompts.asked.size(), 1) << r.text;
        EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Warning);
        EXPECT_TRUE(prompts.asked[0].text.contains(QLatin1String(r.text)))
            << prompts.asked[0].text.toStdString();
    }
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(std::isfinite(patch->points[1][3].xyz[k]));

    // Mode 3 with wrap rewrites the control points from the first selected face: undone exactly.
    Map_SelectObject(world, top(0));
    dialog().setTarget(Map_Handle(world));
    dialog().setTextureSelection(true, false, QString(), QStringLiteral("base/floor"));
    ASSERT_EQ(world->selectedFaces, top(0));
    std::vector<PatchPoint> points(&patch->points[0][0], &patch->points[0][0] + 32 * 3);
    dialog().applyTexture(nullptr, patch, nullptr, 3, true);
    EXPECT_EQ(newest(), "Apply Texture");
    EXPECT_STREQ(patch->texInfo.name, "base/floor");
    EXPECT_NE(std::memcmp(points.data(), &patch->points[0][0], points.size() * sizeof(PatchPoint)), 0);
    ASSERT_TRUE(Undo_StepUndo(history));
    EXPECT_STREQ(patch->texInfo.name, "base/wall");
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 5; ++r) {
            const PatchPoint& was = points[size_t(32 * c + r)];
            EXPECT_EQ(patch->points[c][r].s, was.s) << c << " " << r;
            EXPECT_EQ(patch->points[c][r].t, was.t) << c << " " << r;
        }

    // A cancelled "Set..." leaves the history and its redo chain alone.
    ASSERT_NE(history->redoChain, nullptr);
    const int kept = levels();
    {
        cDialogAnswer cancel({}, false);
        click(w("btnPatchSet"));
        EXPECT_TRUE(cancel.answered);
    }
    EXPECT_EQ(levels(), kept);
    EXPECT_NE(history->redoChain, nullptr);
}

TEST_F(FacePropertiesTest, OverlayShiftMovesCornersAndAZeroScaleStaysFinite) {
    BrushRecord* carrier = Brush_Create(Map_Handle(world), Map_OpWorldEntity(world));
    TextureInfo info = Test_TextureInfo("base/wall");
    OverlayRecord* overlay = Overlay_Create(carrier, &info);
    ASSERT_NE(overlay, nullptr);
    const float at[3] = {1032, 32, 64}, from[3] = {1032, 32, 200};
    overlay->handle->placeOnFace(at, from);
    Map_SelectNone(world);
    Map_SelectObject(world, carrier);
    dialog().setTarget(Map_Handle(world));
    EXPECT_EQ(w<QTabWidget>("tabWidget")->tabText(w<QTabWidget>("tabWidget")->currentIndex()),
              QStringLiteral("&Overlay"));
    ASSERT_NE(overlay->texture, nullptr);
    const int width = overlay->texture->width;
    overlay->texInfo.sScale = 0.5f;
    dialog().refreshFromSelection(false);
    float s0[kOverlayCorners];
    for (int i = 0; i < kOverlayCorners; ++i)
        s0[i] = overlay->corners[i].s;
    const int n = levels();
    type(w("sbShiftX3"), QStringLiteral("16"));
    for (int i = 0; i < kOverlayCorners; ++i)
        EXPECT_NEAR(overlay->corners[i].s - s0[i], 16.0f / (0.5f * float(width)), 1e-5f);
    EXPECT_EQ(levels(), n + 1);
    EXPECT_EQ(newest(), "Shift Texture");
    ASSERT_TRUE(Undo_StepUndo(history));
    for (int i = 0; i < kOverlayCorners; ++i)
        EXPECT_EQ(overlay->corners[i].s, s0[i]);
    EXPECT_EQ(overlay->texInfo.sShift, 0.0f);
    // A stored scale of 0 counts as 1: no corner becomes inf or NaN.
    overlay->texInfo.sScale = 0.0f;
    dialog().refreshFromSelection(false);
    type(w("sbScaleX3"), QStringLiteral("2"));
    type(w("sbShiftX3"), QStringLiteral("40"));
    click(w("btnReset3"));
    for (const OverlayCorner& c : overlay->corners)
        EXPECT_TRUE(std::isfinite(c.s) && std::isfinite(c.t));
    click(w("btnOverlayFit"));
    EXPECT_EQ(overlay->corners[0].s, 1.0f);
    EXPECT_EQ(overlay->corners[2].t, 1.0f);
    EXPECT_EQ(newest(), "Fit Overlay Texture");
}

TEST_F(FacePropertiesTest, ModeKeysOnlyWhileShownAndCloseKeepsMode) {
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_TRUE(dialog().handleModeKey(&f5));
    EXPECT_EQ(dialog().mode(), 4);
    EXPECT_EQ(w<QAbstractButton>("btnMode")->text(), QStringLiteral("Mode: &Apply (all)"));
    QKeyEvent f1ctrl(QEvent::KeyPress, Qt::Key_F1, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_FALSE(dialog().handleModeKey(&f1ctrl));
    dialog().move(140, 120);
    const QPoint place = dialog().pos();
    window->toolTextureApplication(); // leaves texture application: the dialog hides
    EXPECT_FALSE(dialog().isVisible());
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_FALSE(dialog().handleModeKey(&f1));
    window->toolTextureApplication();
    EXPECT_TRUE(dialog().isVisible());
    EXPECT_EQ(dialog().mode(), 4);
    EXPECT_EQ(dialog().pos(), place);
    // "&Cap" only warns.
    const std::string before = dump();
    click(w("btnPatchCap"));
    EXPECT_TRUE(dump() == before);
}

TEST_F(FacePropertiesTest, ClosedDocumentDropsTheTarget) {
    selectTops(1);
    dialog().setTextureSelection(true, false, QString(), QStringLiteral("base/floor"));
    EXPECT_EQ(dialog().targetWorld(), world);
    child->document->saveAsked = true;
    ASSERT_TRUE(window->closeDocument(child->document));
    child = nullptr;
    world = nullptr;
    EXPECT_EQ(dialog().targetWorld(), nullptr);
    click(w("btnApply"));
    type(w("sbScaleX"), QStringLiteral("3"));
}

} // namespace

namespace {

TEST_F(FacePropertiesTest, NullTextureModes) {
    const MapProfileRecord* profile = GameCfg_CurrentProfile();
    ASSERT_STREQ(profile->nullTexture, "common/caulk");
    dialog().setTarget(Map_Handle(world));
    ASSERT_TRUE(dialog().nullModesAvailable());
    dialog().setEditMode(8);
    EXPECT_EQ(dialog().mode(), 8);
    FaceRecord* clicked = top(2);
    // The other five faces get the NULL texture as one level, with a log line.
    std::string before = dump();
    int n = levels();
    console.clear();
    dialog().assignNullTexture(clicked, 8);
    for (FaceRecord* f = boxes[2]->firstFace; f; f = f->next)
        EXPECT_STREQ(f->texInfo.name, f == clicked ? "base/wall" : "common/caulk");
    EXPECT_TRUE(console.contains(QStringLiteral("Assigned \"common/caulk\" to 5 faces")));
    expectOneLevel("NULL to Unselected", before, n);
    // Nothing left to change: no level.
    dialog().assignNullTexture(clicked, 8);
    EXPECT_EQ(levels(), n + 1);
    before = dump();
    n = levels();
    dialog().assignNullTexture(clicked, 7);
    EXPECT_STREQ(clicked->texInfo.name, "common/caulk");
    expectOneLevel("NULL to Selected", before, n);
}

} // namespace
