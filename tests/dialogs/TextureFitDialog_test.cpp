// The texture fit dialog as the surface properties dialog's Fit and patch Set buttons run it:
// counts typed with real key events, the "don't show" setting and its warning, each fit compared
// with the face and patch fitting done directly, one named level undone exactly.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QtTest/QTest>
#include <functional>
#include <string>

#include "DialogAnswer.h"
#include "DocumentFixture.h"
#include "SampleWindowFixture.h"
#include "core/Prompt.h"
#include "dialogs/editing/FaceMapping.h"
#include "dialogs/editing/FacePropertiesDialog.h"
#include "dialogs/editing/TextureFitDialog.h"
#include "document/MapSelection.h"
#include "document/OperationSupport.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/MapPatch.h"

namespace {

// What the dialog showed when it came up.
struct Seen {
    bool shown = false;
    QSize size;
    int buttonsY = 0;
    bool offered = false;
    bool noShowChecked = false;
    double horizontal = 0, vertical = 0;
};

class TextureFitTest : public cSampleWindowFixture {
protected:
    void SetUp() override {
        cSampleWindowFixture::SetUp();
        history = Map_OpHistory(world);
        const float lo[3] = {2000, 0, 0}, hi[3] = {2064, 32, 64};
        box = Test_Box(Map_Handle(world), Map_OpWorldEntity(world), lo, hi, "sample/metal");
        patchBrush = Brush_Create(Map_Handle(world), Map_OpWorldEntity(world));
        const TextureInfo info = Test_TextureInfo("sample/metal");
        PatchRecord* patch = Patch_Create(patchBrush, &info, 3, 3);
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 3; ++r) {
                patch->points[c][r].xyz[0] = 2200.0f + float(32 * c);
                patch->points[c][r].xyz[1] = float(16 * r);
            }
        patchBrush->handle->update(BrushUpdate::TessellatePatch);
        window->toolTextureApplication();
        ASSERT_TRUE(dialog().isVisible());
        window->settings.SkipFitDialog = false;
    }

    cFacePropertiesDialog& dialog() { return window->faceDialog; }
    QAbstractButton* button(const char* name) {
        return dialog().findChild<QAbstractButton*>(QLatin1String(name));
    }
    std::string dump() const { return Map_DumpWorld(world, WorldDumpFlag::Serials).toStdString(); }
    std::string newest() const {
        const UndoLevel* level = Undo_NewestLevel(history);
        return level && level->name ? level->name : "";
    }
    void selectFace() {
        Map_SelectNone(world);
        Map_SelectObject(world, box->firstFace);
        dialog().setTarget(Map_Handle(world));
    }
    void selectPatch() {
        Map_SelectNone(world);
        Map_SelectObject(world, patchBrush);
        dialog().setTarget(Map_Handle(world));
    }
    std::string twinDump(const std::function<void()>& change) {
        Undo_BeginLevel(history, "Twin");
        Undo_SaveBrush(history, box, UndoList::ChangedBrushes, true);
        Undo_SaveBrush(history, patchBrush, UndoList::ChangedBrushes, true);
        change();
        Undo_EndLevel(history);
        const std::string expected = dump();
        EXPECT_TRUE(Undo_StepUndo(history));
        return expected;
    }
    void fitFace(float s, float t) {
        FaceRecord* f = box->firstFace;
        float extremes[6][3];
        f->handle->getExtremeVertices(extremes);
        f->handle->alignTexture(5, extremes, s, t);
        f->handle->computeTexCoords();
    }

    // Presses the button; the dialog, when it comes, gets the typed counts (null: left as they
    // are), the check box set when asked, and OK or Escape.
    Seen press(QAbstractButton* which, Qt::KeyboardModifiers modifiers, const char* horizontal,
               const char* vertical, bool checkNoShow, bool ok) {
        Seen seen;
        cDialogAnswer answer(
            [&](QDialog* d) {
                auto* fit = qobject_cast<cTextureFitDialog*>(d);
                ASSERT_NE(fit, nullptr);
                seen.shown = true;
                seen.size = d->size();
                auto* buttons = d->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
                seen.buttonsY = buttons->y();
                auto* noShow = d->findChild<QCheckBox*>(QStringLiteral("cbNoShow"));
                seen.offered = noShow->isVisibleTo(d);
                seen.noShowChecked = noShow->isChecked();
                auto* h = d->findChild<QDoubleSpinBox*>(QStringLiteral("sbHorz"));
                auto* v = d->findChild<QDoubleSpinBox*>(QStringLiteral("sbVert"));
                seen.horizontal = h->value();
                seen.vertical = v->value();
                EXPECT_EQ(d->windowTitle(), QStringLiteral("Fit Texture"));
                EXPECT_EQ(d->minimumSize(), d->maximumSize());
                if (horizontal) typeInto(h, QString::fromLatin1(horizontal));
                if (vertical) typeInto(v, QString::fromLatin1(vertical));
                if (checkNoShow && !noShow->isChecked()) QTest::mouseClick(noShow, Qt::LeftButton);
                if (ok)
                    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
                else
                    QTest::keyClick(d, Qt::Key_Escape);
            },
            ok);
        QTest::mouseClick(which, Qt::LeftButton, modifiers);
        return seen;
    }

    UndoHistory* history = nullptr;
    BrushRecord* box = nullptr;
    BrushRecord* patchBrush = nullptr;
};

TEST_F(TextureFitTest, FitCasesStoreCountsSettingAndWarnOnce) {
    struct Case {
        const char* label;
        bool skip;                       // SkipFitDialog before
        Qt::KeyboardModifiers modifiers; // Shift brings the dialog back
        const char* horizontal;
        const char* vertical;
        bool checkNoShow;
        bool ok;
        bool shown;
        float s, t; // the counts used (and stored)
        int warnings;
        bool skipAfter;
    } cases[] = {
        {"a count of 0 becomes 0.1", false, Qt::NoModifier, "0", "3", false, true, true, 0.1f, 3.0f, 0,
         false},
        {"checking the box warns and sets the setting", false, Qt::NoModifier, "2", "2", true, true, true, 2,
         2, 1, true},
        {"skipped: 1 x 1", true, Qt::NoModifier, nullptr, nullptr, false, true, false, 1, 1, 0, true},
        {"Shift shows it again with 1 and 1, checked; no second warning", true, Qt::ShiftModifier, "4",
         nullptr, false, true, true, 4, 1, 0, true},
        {"Escape changes nothing, the setting included", false, Qt::ShiftModifier, "5", "5", true, false,
         true, 4, 1, 0, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.label);
        selectFace();
        window->settings.SkipFitDialog = k.skip;
        const float wasS = dialog().fitCountS, wasT = dialog().fitCountT;
        const std::string before = dump();
        const std::string expected = twinDump([&] { fitFace(k.s, k.t); });
        const UndoLevel* newestBefore = Undo_NewestLevel(history);
        cPromptScript script;
        const Seen seen = press(button("btnFit"), k.modifiers, k.horizontal, k.vertical, k.checkNoShow, k.ok);
        EXPECT_EQ(seen.shown, k.shown);
        if (seen.shown) {
            EXPECT_TRUE(seen.offered);
            EXPECT_EQ(seen.noShowChecked, k.skip);
            EXPECT_NEAR(seen.horizontal, wasS, 1e-6);
            EXPECT_NEAR(seen.vertical, wasT, 1e-6);
        }
        EXPECT_EQ(int(script.asked.size()), k.warnings);
        if (k.warnings)
            EXPECT_TRUE(script.asked[0].text.startsWith(QStringLiteral(
                "You have chosen not to display the dialog later on clicking a \"Fit\" button.")));
        EXPECT_EQ(window->settings.SkipFitDialog, k.skipAfter);
        if (!k.ok) {
            EXPECT_EQ(Undo_NewestLevel(history), newestBefore);
            EXPECT_TRUE(dump() == before);
            continue;
        }
        EXPECT_EQ(dialog().fitCountS, k.s);
        EXPECT_EQ(dialog().fitCountT, k.t);
        EXPECT_EQ(newest(), "Fit Texture");
        const std::string after = dump();
        EXPECT_TRUE(after == expected);
        ASSERT_TRUE(Undo_StepUndo(history));
        EXPECT_TRUE(dump() == before);
        ASSERT_TRUE(Undo_StepRedo(history));
        EXPECT_TRUE(dump() == after);
    }
}

TEST_F(TextureFitTest, PatchSetHasNoCheckBoxAndIsThirtyPixelsShorter) {
    selectFace();
    const Seen fit = press(button("btnFit"), Qt::NoModifier, "2", "3", false, true);
    ASSERT_TRUE(fit.shown);
    selectPatch();
    const std::string before = dump();
    const std::string expected = twinDump([&] {
        patchBrush->patch->handle->fitTexture(0.1f, 5.0f);
        Patch_RebuildMesh(patchBrush->patch);
    });
    const Seen set = press(button("btnPatchSet"), Qt::NoModifier, "0", "5", false, true);
    ASSERT_TRUE(set.shown);
    EXPECT_FALSE(set.offered);
    EXPECT_EQ(set.horizontal, 2.0);
    EXPECT_EQ(set.vertical, 3.0);
    EXPECT_EQ(set.size, fit.size - QSize(0, cTextureFitDialog::kNoCheckBoxLift));
    EXPECT_EQ(set.buttonsY, fit.buttonsY - cTextureFitDialog::kNoCheckBoxLift);
    EXPECT_EQ(newest(), "Set Patch Texture");
    EXPECT_TRUE(dump() == expected);
    ASSERT_TRUE(Undo_StepUndo(history));
    EXPECT_TRUE(dump() == before);
}

} // namespace
