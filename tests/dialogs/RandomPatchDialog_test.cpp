#include "WidgetInput.h"
#include "dialogs/application/RandomPatchDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "DialogAnswer.h"
#include "SampleWindowFixture.h"
#include "core/Prompt.h"
#include "document/MapTransform.h"
#include "document/PatchMatrix.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "kstdlib/krandom.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/PatchRecord.h"

namespace {

TEST(RandomPatchDialog, FormPresetsAndTabOrder) {
    cRandomPatchDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Randomize Matrix");
    EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowContextHelpButtonHint);
    const struct {
        const char* name;
        const char* text;
        bool checked, enabled;
    } buttons[] = {
        {"rbAxisF", "&Fixed:", false, true},
        {"cbX", "&X", true, false},
        {"cbY", "&Y", true, false},
        {"cbZ", "&Z", true, false},
        {"rbAxisN", "&Normals", true, true},
        {"rbGaussian", "&Gaussian", false, true},
        {"rbUniform", "&Uniform", true, true},
        {"cbLockExt", "Lock &Exterior Points", false, true},
        {"cbLockBorder", "Lock &Border Points", false, true},
        {"cbLockInt", "Lock &Interior Points", false, true},
        {"cbSnap", "&Round coordinates", true, true},
    };
    for (const auto& b : buttons) {
        auto* button = Widget_Find<QAbstractButton>(&dialog, b.name);
        EXPECT_EQ(button->text(), b.text);
        EXPECT_EQ(button->isChecked(), b.checked) << b.name;
        EXPECT_EQ(button->isEnabled(), b.enabled) << b.name;
    }
    QStringList titles;
    for (const char* g : {"groupBox", "groupBox_2", "groupBox_3", "groupBox_4"})
        titles.append(Widget_Find<QGroupBox>(&dialog, g)->title());
    EXPECT_EQ(titles, (QStringList{"Random Axes", "Random Mode", "Lock Control Points", "Options"}));
    auto* offset = Widget_Find<QDoubleSpinBox>(&dialog, "sbOffset");
    EXPECT_EQ(offset->minimum(), 0.0);
    EXPECT_EQ(offset->maximum(), 10000.0);
    EXPECT_EQ(offset->singleStep(), 8.0);
    EXPECT_EQ(offset->decimals(), 1);
    EXPECT_EQ(offset->value(), 16.0);
    EXPECT_EQ(Widget_Find<QLabel>(&dialog, "label")->text(), "&Offset:");
    EXPECT_EQ(Widget_Find<QLabel>(&dialog, "label")->buddy(), offset);
    const QStringList named = {"rbAxisN",   "rbAxisF",    "cbX",       "cbY",       "cbZ",
                               "sbOffset",  "cbSnap",     "cbLockExt", "cbLockInt", "cbLockBorder",
                               "rbUniform", "rbGaussian", "buttonBox"};
    QStringList order;
    QWidget* w = Widget_Find<QWidget>(&dialog, "rbAxisN");
    for (int i = 0; i < 80 && order.size() < named.size(); ++i, w = w->nextInFocusChain())
        if (named.contains(w->objectName()) && !order.contains(w->objectName()))
            order.append(w->objectName());
    EXPECT_EQ(order, named);

    // Fixed enables the axes, Normals disables them again.
    Widget_Find<QRadioButton>(&dialog, "rbAxisF")->click();
    EXPECT_TRUE(Widget_Find<QCheckBox>(&dialog, "cbX")->isEnabled());
    Widget_Find<QRadioButton>(&dialog, "rbAxisN")->click();
    EXPECT_FALSE(Widget_Find<QCheckBox>(&dialog, "cbZ")->isEnabled());
}

TEST(RandomPatchDialog, OptionsFromTheChoices) {
    const struct {
        QStringList clicks; // buttons clicked, in order, on a fresh dialog
        bool ok;
        int32_t flags;
    } cases[] = {
        {{}, true, PatchRandomFlags::SnapToUnits},
        {{"cbX", "cbY", "cbZ"}, true, PatchRandomFlags::SnapToUnits}, // Normals ignores the axes
        {{"rbAxisF"}, true, 0x7 | PatchRandomFlags::SnapToUnits},
        {{"rbAxisF", "cbX", "cbZ"}, true, PatchRandomFlags::AlongY | PatchRandomFlags::SnapToUnits},
        {{"rbAxisF", "cbX", "cbY", "cbZ"}, false, 0},
        {{"cbLockExt", "cbLockInt"}, false, 0},
        {{"cbLockExt", "cbLockBorder", "cbSnap"},
         true,
         PatchRandomFlags::OnlyOddLines | PatchRandomFlags::KeepBorder},
        {{"cbLockInt", "rbGaussian"},
         true,
         PatchRandomFlags::SkipOddLines | PatchRandomFlags::SnapToUnits | PatchRandomFlags::Gaussian},
    };
    for (const auto& c : cases) {
        cRandomPatchDialog dialog;
        for (const QString& name : c.clicks)
            Widget_Find<QAbstractButton>(&dialog, name.toLatin1().constData())->click();
        PatchRandomParams options;
        options.flags = -1;
        EXPECT_EQ(dialog.getOptions(&options), c.ok) << c.clicks.join(' ').toStdString();
        if (c.ok) EXPECT_EQ(options.flags, c.flags) << c.clicks.join(' ').toStdString();
    }
}

class RandomPatchCommandTest : public cSampleWindowFixture {
protected:
    void SetUp() override {
        cSampleWindowFixture::SetUp();
        for (EntityRecord* e = world->entities; e && !patch; e = e->next)
            for (BrushRecord* b = e->firstBrush; b && !patch; b = b->next)
                if (b->patch) patch = b;
        ASSERT_NE(patch, nullptr);
    }
    // Runs Curve > Randomize Matrix with the clicks and offset; true when the dialog opened.
    bool randomize(const QStringList& clicks, const QString& offset = QString(), bool accept = true,
                   const std::function<void(QDialog*)>& look = {}) {
        cDialogAnswer answer(
            [&](QDialog* d) {
                if (look) look(d);
                for (const QString& name : clicks)
                    Widget_Find<QAbstractButton>(d, name.toLatin1().constData())->click();
                if (!offset.isEmpty()) typeInto(Widget_Find<QDoubleSpinBox>(d, "sbOffset"), offset);
            },
            accept);
        K_SRand(99);
        window->cmdCurveMatrixRandomize();
        return answer.answered;
    }
    const char* newestLevel() const {
        const UndoHistory* history = child->document->undo;
        return history && history->undoChain ? history->undoChain->name : nullptr;
    }
    BrushRecord* patch = nullptr;
    cPromptScript prompts;
};

TEST_F(RandomPatchCommandTest, NoPatchSelectedWarns) {
    EXPECT_FALSE(randomize({}));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, "There are no eligible selected patches.");
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Warning);
}

TEST_F(RandomPatchCommandTest, SensibleChoicesMakeOneLevelLikeTheDocument) {
    Map_SelectObject(world, patch);
    const QByteArray before = Map_DumpWorld(world, WorldDumpFlag::Serials);
    const char* level = newestLevel();
    // Choices that change nothing: no level, nothing moved.
    const struct {
        QStringList clicks;
        const char* offset;
        bool accept;
    } idle[] = {{{"rbAxisF", "cbX", "cbY", "cbZ"}, nullptr, true},
                {{"cbLockExt", "cbLockInt"}, nullptr, true},
                {{}, "0", true},
                {{}, nullptr, false}};
    for (const auto& c : idle) {
        cRandomPatchDialog* seen = nullptr;
        ASSERT_TRUE(randomize(c.clicks, QString::fromLatin1(c.offset), c.accept,
                              [&](QDialog* d) { seen = qobject_cast<cRandomPatchDialog*>(d); }));
        EXPECT_NE(seen, nullptr);
        EXPECT_EQ(Map_DumpWorld(world, WorldDumpFlag::Serials), before);
        EXPECT_EQ(newestLevel(), level);
        // Back to the presets for the next case (the dialog keeps its choices).
        for (const char* name : {"rbAxisN", "cbX", "cbY", "cbZ"})
            Widget_Find<QAbstractButton>(seen, name)->setChecked(true);
        Widget_Find<QCheckBox>(seen, "cbLockExt")->setChecked(false);
        Widget_Find<QCheckBox>(seen, "cbLockInt")->setChecked(false);
        Widget_Find<QDoubleSpinBox>(seen, "sbOffset")->setValue(16);
    }

    ASSERT_TRUE(randomize({"cbLockExt", "cbLockBorder"}, "24"));
    const QByteArray after = Map_DumpWorld(world, WorldDumpFlag::Serials);
    EXPECT_NE(after, before);
    EXPECT_STREQ(newestLevel(), "Randomize Matrix");
    ASSERT_TRUE(Undo_StepUndo(child->document->undo));
    EXPECT_EQ(Map_DumpWorld(world, WorldDumpFlag::Serials), before);
    PatchRandomParams same;
    same.amount = 24;
    same.flags =
        PatchRandomFlags::OnlyOddLines | PatchRandomFlags::KeepBorder | PatchRandomFlags::SnapToUnits;
    K_SRand(99);
    ASSERT_TRUE(Map_PatchMatrixMenuCommand(world, PatchMatrix::Randomize, &same));
    EXPECT_EQ(Map_DumpWorld(world, WorldDumpFlag::Serials), after);

    // The dialog kept the last choices.
    bool kept = false;
    randomize({}, QString(), false, [&](QDialog* d) {
        kept = Widget_Find<QCheckBox>(d, "cbLockExt")->isChecked() &&
               Widget_Find<QCheckBox>(d, "cbLockBorder")->isChecked() &&
               Widget_Find<QDoubleSpinBox>(d, "sbOffset")->value() == 24.0;
    });
    EXPECT_TRUE(kept);
}

TEST_F(RandomPatchCommandTest, ANewWindowStartsWithThePresets) {
    Map_SelectObject(world, patch);
    bool presets = false;
    ASSERT_TRUE(randomize({}, QString(), false, [&](QDialog* d) {
        presets = !Widget_Find<QCheckBox>(d, "cbLockExt")->isChecked() &&
                  Widget_Find<QDoubleSpinBox>(d, "sbOffset")->value() == 16.0 &&
                  Widget_Find<QRadioButton>(d, "rbAxisN")->isChecked();
        Widget_Find<QCheckBox>(d, "cbLockExt")->setChecked(true);
    }));
    EXPECT_TRUE(presets);
}

} // namespace
