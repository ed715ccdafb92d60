#include "WidgetInput.h"
#include "dialogs/application/TransformDialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "DialogAnswer.h"
#include "SampleWindowFixture.h"
#include "core/Prompt.h"
#include "document/MapSelection.h"
#include "document/MapTransform.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "dialogs/application/QCustomAction.h"
#include "document/SelectionBox.h"

namespace {

TEST(TransformDialog, Form) {
    cTransformDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Transformation");
    EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowIcon().isNull());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowContextHelpButtonHint);
    const struct {
        const char* name;
        const char* text;
        bool checked;
    } modes[] = {{"rbRotate", "&Rotate", true}, {"rbScale", "&Scale", false}, {"rbMove", "&Move", false}};
    for (const auto& m : modes) {
        EXPECT_EQ(Widget_Find<QRadioButton>(&dialog, m.name)->text(), m.text);
        EXPECT_EQ(Widget_Find<QRadioButton>(&dialog, m.name)->isChecked(), m.checked);
    }
    const struct {
        const char* box;
        const char* label;
        const char* text;
    } values[] = {{"sbX", "label_3", "&X:"}, {"sbY", "label_4", "&Y:"}, {"sbZ", "label_5", "&Z:"}};
    for (const auto& v : values) {
        auto* box = Widget_Find<QDoubleSpinBox>(&dialog, v.box);
        EXPECT_EQ(box->minimum(), -999999.0);
        EXPECT_EQ(box->maximum(), 999999.0);
        EXPECT_EQ(box->decimals(), 5);
        EXPECT_EQ(box->value(), 0.0);
        EXPECT_EQ(Widget_Find<QLabel>(&dialog, v.label)->text(), v.text);
        EXPECT_EQ(Widget_Find<QLabel>(&dialog, v.label)->buddy(), box);
    }
    QStringList order;
    QWidget* w = Widget_Find<QWidget>(&dialog, "rbRotate");
    const QStringList named = {"rbRotate", "rbScale", "rbMove", "sbX", "sbY", "sbZ", "buttonBox"};
    for (int i = 0; i < 40 && order.size() < named.size(); ++i, w = w->nextInFocusChain())
        if (named.contains(w->objectName()) && !order.contains(w->objectName()))
            order.append(w->objectName());
    EXPECT_EQ(order, named);
    EXPECT_EQ(Widget_Find<QLabel>(&dialog, "label")->text(), "Mode:");
    EXPECT_EQ(Widget_Find<QLabel>(&dialog, "label_2")->text(), "Values:");
    dialog.show();
    QApplication::processEvents();
    auto* x = Widget_Find<QDoubleSpinBox>(&dialog, "sbX");
    EXPECT_TRUE(dialog.focusWidget() == x || dialog.focusWidget() == x->findChild<QLineEdit*>());
}

TEST(TransformDialog, MatrixOfEachMode) {
    const struct {
        const char* mode;
        float x, y, z;
        float m[12]; // the first three rows
    } cases[] = {
        {"rbScale", 2, 0, 1, {2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}},
        {"rbScale", -3, 0.5f, 4, {1, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 4, 0}},
        {"rbRotate", 0, 0, 90, {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0}},
        {"rbMove", 16, 0, -8, {1, 0, 0, 16, 0, 1, 0, 0, 0, 0, 1, -8}},
        {"rbRotate", 0, 0, 0, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}},
    };
    for (const auto& c : cases) {
        cTransformDialog dialog;
        Widget_Find<QRadioButton>(&dialog, c.mode)->click();
        Widget_Find<QDoubleSpinBox>(&dialog, "sbX")->setValue(c.x);
        Widget_Find<QDoubleSpinBox>(&dialog, "sbY")->setValue(c.y);
        Widget_Find<QDoubleSpinBox>(&dialog, "sbZ")->setValue(c.z);
        const float* m = dialog.getMatrix();
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(m[i], c.m[i]) << c.mode << " " << c.x << " " << c.y << " " << c.z << " at " << i;
        EXPECT_EQ(dialog.rotates(), QLatin1String(c.mode) == "rbRotate");
    }
}

class TransformCommandTest : public cSampleWindowFixture {
protected:
    QAction* transformAction() const { return Window_Action(*window, "ToolsTransform"); }
    // Runs the command with the mode and values typed in; true when the dialog opened.
    bool transform(const char* mode, const QString& x, const QString& y, const QString& z,
                   bool accept = true) {
        cDialogAnswer answer(
            [&](QDialog* d) {
                Widget_Find<QRadioButton>(d, mode)->click();
                typeInto(Widget_Find<QDoubleSpinBox>(d, "sbX"), x);
                typeInto(Widget_Find<QDoubleSpinBox>(d, "sbY"), y);
                typeInto(Widget_Find<QDoubleSpinBox>(d, "sbZ"), z);
            },
            accept);
        window->cmdToolsTransform(); // the action's slot (the action itself waits for a selection)
        return answer.answered;
    }
    const char* newestLevel() const {
        const UndoHistory* history = child->document->undo;
        return history && history->undoChain ? history->undoChain->name : nullptr;
    }
    cPromptScript prompts;
};

TEST_F(TransformCommandTest, EachModeIsOneLevelLikeTheDocumentCommand) {
    ASSERT_NE(transformAction(), nullptr);
    EXPECT_EQ(transformAction()->shortcut(), QKeySequence("Ctrl+M"));
    ASSERT_TRUE(Map_SelectBrushByIndex(world, 0, 2, false));
    ASSERT_TRUE(Map_SelectBrushByIndex(world, 0, 3, false));
    const struct {
        const char* mode;
        const char *x, *y, *z;
        float expected[16];
    } cases[] = {
        {"rbScale", "2", "0", "1", {2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
        {"rbRotate", "0", "0", "90", {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
        {"rbMove", "16", "0", "0", {1, 0, 0, 16, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        const QByteArray before = Map_DumpWorld(world, WorldDumpFlag::Serials);
        ASSERT_TRUE(transform(c.mode, c.x, c.y, c.z)) << c.mode;
        const QByteArray after = Map_DumpWorld(world, WorldDumpFlag::Serials);
        EXPECT_NE(after, before) << c.mode;
        EXPECT_STREQ(newestLevel(), "Transformation");
        ASSERT_TRUE(Undo_StepUndo(child->document->undo));
        EXPECT_EQ(Map_DumpWorld(world, WorldDumpFlag::Serials), before) << c.mode;
        // The same change made straight through the document.
        ASSERT_TRUE(Map_TransformSelectionCommand(world, c.expected, QLatin1String(c.mode) == "rbRotate"));
        EXPECT_EQ(Map_DumpWorld(world, WorldDumpFlag::Serials), after) << c.mode;
    }
}

TEST_F(TransformCommandTest, NothingWithoutSelectionOrOnCancel) {
    const QByteArray before = Map_DumpWorld(world, WorldDumpFlag::Serials);
    const char* level = newestLevel();
    EXPECT_FALSE(transform("rbMove", "16", "0", "0"));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, "You must select some objects before you can\ntransform them.");
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Warning);
    EXPECT_EQ(Map_DumpWorld(world, WorldDumpFlag::Serials), before);
    ASSERT_TRUE(Map_SelectBrushByIndex(world, 0, 2, false));
    const QByteArray selected = Map_DumpWorld(world, WorldDumpFlag::Serials);
    EXPECT_TRUE(transform("rbMove", "16", "0", "0", false));
    EXPECT_EQ(Map_DumpWorld(world, WorldDumpFlag::Serials), selected);
    EXPECT_EQ(newestLevel(), level);
}

// A move longer than the world is wide is refused with a message and the dialog stays; other
// modes and shorter moves close it.
TEST(TransformDialog, AMoveOutOfTheWorldIsRefused) {
    const double across = 2.0 * double(Select_HalfWorldSize());
    const struct {
        const char* mode;
        double x, z;
        bool accepted;
    } cases[] = {{"rbMove", across + 1, 0, false},
                 {"rbMove", 0, -999999, false},
                 {"rbMove", across, 0, true},
                 {"rbScale", 999999, 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        cTransformDialog dialog;
        dialog.show();
        Widget_Click(Widget_Find<QRadioButton>(&dialog, c.mode));
        Widget_Find<QDoubleSpinBox>(&dialog, "sbX")->setValue(c.x);
        Widget_Find<QDoubleSpinBox>(&dialog, "sbZ")->setValue(c.z);
        cPromptScript prompts;
        Widget_Click(Widget_Find<QDialogButtonBox>(&dialog, "buttonBox")->button(QDialogButtonBox::Ok));
        EXPECT_EQ(dialog.isVisible(), !c.accepted);
        EXPECT_EQ(prompts.asked.size(), c.accepted ? 0 : 1);
    }
}

} // namespace
