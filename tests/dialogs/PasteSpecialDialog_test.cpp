#include "WidgetInput.h"
#include "dialogs/application/PasteSpecialDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <gtest/gtest.h>

#include <algorithm>

#include "DialogAnswer.h"
#include "DocumentFixture.h"
#include "SampleWindowFixture.h"
#include "core/Prompt.h"
#include "document/Clipboard.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/SelectionBox.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "mainwindow/MainWindow.h"
#include "dialogs/application/QCustomAction.h"
#include "views/Canvas.h"

namespace {

// A checkable group box toggles from a click on its check box, left of the title.
void clickGroupCheck(QGroupBox* box) {
    const QPointF at(box->contentsRect().left() + 6, 8);
    QMouseEvent press(QEvent::MouseButtonPress, at, box->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, box->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(box, &press);
    QApplication::sendEvent(box, &release);
}

const float kMins[3] = {0, 0, 0};
const float kMaxs[3] = {64, 10.125f, 32};

TEST(PasteSpecialDialog, Form) {
    cPasteSpecialDialog dialog(nullptr, kMins, kMaxs);
    EXPECT_EQ(dialog.windowTitle(), "Paste Special");
    EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog.minimumSize(), QSize(390, 314));
    EXPECT_EQ(dialog.maximumSize(), QSize(390, 314));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowContextHelpButtonHint);
    EXPECT_EQ(Widget_Find<QGroupBox>(&dialog, "groupBox")->title(), "Paste Options");
    auto* copies = Widget_Find<QSpinBox>(&dialog, "sbCopies");
    EXPECT_EQ(copies->minimum(), 1);
    EXPECT_EQ(copies->maximum(), 999999);
    EXPECT_EQ(copies->value(), 1);
    EXPECT_EQ(Widget_Find<QLabel>(&dialog, "label_2")->buddy(), copies);
    EXPECT_EQ(Widget_Find<QLabel>(&dialog, "label_2")->text(), "&Number of copies to paste:");
    const struct {
        const char* name;
        const char* text;
    } checks[] = {{"cbStartCenter", "Start at &center of original"},
                  {"cbKeepIntConn", "&Keep internal connections"},
                  {"cbGroup", "&Group copies"}};
    for (const auto& c : checks)
        EXPECT_EQ(Widget_Find<QCheckBox>(&dialog, c.name)->text(), c.text);
    const struct {
        const char* group;
        const char* title;
        const char* labels[3];
        const char* boxes[3];
    } groups[] = {
        {"groupOffset", "Offset (accumulative):", {"label", "label_3", "label_5"}, {"sbX", "sbY", "sbZ"}},
        {"groupRotation",
         "Rotation (accumulative):",
         {"label_4", "label_7", "label_6"},
         {"sbXr", "sbYr", "sbZr"}}};
    const char* axes[3] = {"&X:", "&Y:", "&Z:"};
    for (const auto& g : groups) {
        auto* group = Widget_Find<QGroupBox>(&dialog, g.group);
        EXPECT_EQ(group->title(), g.title);
        EXPECT_TRUE(group->isCheckable());
        EXPECT_FALSE(group->isChecked());
        for (int i = 0; i < 3; ++i) {
            auto* box = Widget_Find<QDoubleSpinBox>(&dialog, g.boxes[i]);
            EXPECT_EQ(box->minimum(), -999999.0);
            EXPECT_EQ(box->maximum(), 999999.0);
            EXPECT_EQ(box->decimals(), 2);
            EXPECT_EQ(Widget_Find<QLabel>(&dialog, g.labels[i])->text(), axes[i]);
            EXPECT_EQ(Widget_Find<QLabel>(&dialog, g.labels[i])->buddy(), box);
            EXPECT_FALSE(box->isEnabled()) << g.boxes[i]; // unchecked group
        }
    }
    for (const char* name : {"btnX", "btnY", "btnZ"}) {
        auto* button = Widget_Find<QPushButton>(&dialog, name);
        EXPECT_EQ(button->text(), "<");
        EXPECT_EQ(button->maximumWidth(), 18);
    }
    auto* buttons = Widget_Find<QDialogButtonBox>(&dialog, "buttonBox");
    EXPECT_EQ(buttons->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
}

TEST(PasteSpecialDialog, OptionsRoundTripAndGroupsEnableTheirFields) {
    cPasteSpecialDialog dialog(nullptr, kMins, kMaxs);
    dialog.show();
    PasteSpecialOptions in;
    in.copies = 7;
    in.flags = PASTE_AT_ORIGINAL_CENTER | PASTE_KEEP_INTERNAL_CONNECTIONS | PASTE_ROTATION;
    const float offset[3] = {1.5f, -2, 3};
    const float rotation[3] = {0, 45, -90};
    std::copy(offset, offset + 3, in.offset);
    std::copy(rotation, rotation + 3, in.rotation);
    dialog.setOptions(in);
    EXPECT_FALSE(Widget_Find<QCheckBox>(&dialog, "cbGroup")->isChecked());
    EXPECT_TRUE(Widget_Find<QCheckBox>(&dialog, "cbKeepIntConn")->isChecked());
    EXPECT_FALSE(Widget_Find<QDoubleSpinBox>(&dialog, "sbX")->isEnabled());
    EXPECT_TRUE(Widget_Find<QDoubleSpinBox>(&dialog, "sbYr")->isEnabled());
    const PasteSpecialOptions out = dialog.options();
    EXPECT_EQ(out.copies, 7);
    EXPECT_EQ(out.flags, in.flags);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(out.offset[i], offset[i]);
        EXPECT_EQ(out.rotation[i], rotation[i]);
    }
    clickGroupCheck(Widget_Find<QGroupBox>(&dialog, "groupOffset"));
    EXPECT_TRUE(Widget_Find<QGroupBox>(&dialog, "groupOffset")->isChecked());
    EXPECT_TRUE(Widget_Find<QDoubleSpinBox>(&dialog, "sbX")->isEnabled());
    EXPECT_EQ(dialog.options().flags, in.flags | PASTE_OFFSET);
}

// Each click flips between the clipboard's size and its negative, as long as the field still
// holds exactly that size; a size the field rounds is never recognised.
TEST(PasteSpecialDialog, SizeButtonsToggleTheDirection) {
    cPasteSpecialDialog dialog(nullptr, kMins, kMaxs);
    PasteSpecialOptions all;
    all.flags = PASTE_OFFSET;
    dialog.setOptions(all);
    dialog.show();
    const struct {
        const char* button;
        const char* field;
        double expected[3];
    } cases[] = {{"btnX", "sbX", {64, -64, 64}},
                 {"btnY", "sbY", {10.13, 10.13, 10.13}},
                 {"btnZ", "sbZ", {32, -32, 32}}};
    for (const auto& c : cases) {
        for (double expected : c.expected) {
            Widget_Click(Widget_Find<QPushButton>(&dialog, c.button));
            EXPECT_DOUBLE_EQ(Widget_Find<QDoubleSpinBox>(&dialog, c.field)->value(), expected) << c.button;
        }
    }
}

class PasteSpecialCommandTest : public cSampleWindowFixture {
protected:
    void SetUp() override {
        cSampleWindowFixture::SetUp();
        if (HasFatalFailure()) return;
        const float lo[3] = {0, 0, 0}, hi[3] = {64, 64, 64};
        Map_SelectNone(world);
        cube = Test_Box(Map_Handle(world), world->entities, lo, hi);
        Map_SelectObject(world, cube);
        Clip_Copy(&window->clipboard, Map_Handle(world), false);
        Map_SelectNone(world);
    }
    QAction* pasteSpecialAction() const { return Window_Action(*window, "EditPaste2"); }
    // Runs Edit > Paste Special with the dialog filled by fill; true when it opened.
    bool pasteSpecial(const std::function<void(QDialog*)>& fill, bool accept = true) {
        cDialogAnswer answer(fill, accept);
        QAction* action = pasteSpecialAction();
        if (action && action->isEnabled())
            action->trigger();
        else
            window->cmdEditPasteSpecial();
        return answer.answered;
    }
    // Lowest x of each selected brush, in ascending order.
    std::vector<float> selectedMinX() const {
        std::vector<float> xs;
        for (const EntityRecord* e = world->entities; e; e = e->next)
            for (const BrushRecord* b = e->firstBrush; b; b = b->next)
                if (b->flags & BrushFlags::Selected) xs.push_back(b->mins[0]);
        std::sort(xs.begin(), xs.end());
        return xs;
    }
    const char* newestLevel() const {
        const UndoHistory* history = child->document->undo;
        return history && history->undoChain ? history->undoChain->name : nullptr;
    }
    static auto fillWith(int copies, bool center, bool offsetOn, const QString& x) {
        return [=](QDialog* d) {
            typeInto(Widget_Find<QSpinBox>(d, "sbCopies"), QString::number(copies));
            auto* start = Widget_Find<QCheckBox>(d, "cbStartCenter");
            if (start->isChecked() != center) Widget_Click(start);
            auto* group = Widget_Find<QGroupBox>(d, "groupOffset");
            if (group->isChecked() != offsetOn) clickGroupCheck(group);
            if (offsetOn) {
                typeInto(Widget_Find<QDoubleSpinBox>(d, "sbX"), x);
                typeInto(Widget_Find<QDoubleSpinBox>(d, "sbY"), "0");
                typeInto(Widget_Find<QDoubleSpinBox>(d, "sbZ"), "0");
            }
        };
    }

    BrushRecord* cube = nullptr;
    cPromptScript prompts;
};

TEST_F(PasteSpecialCommandTest, CopiesStepByTheOffsetInOneLevelThatUndoes) {
    const QByteArray before = Map_DumpWorld(world, WorldDumpFlag::Serials);
    ASSERT_TRUE(pasteSpecial(fillWith(3, true, true, "64")));
    EXPECT_EQ(selectedMinX(), (std::vector<float>{64, 128, 192}));
    EXPECT_STREQ(newestLevel(), "Paste Special");
    EXPECT_TRUE(child->document->modified);
    ASSERT_TRUE(Undo_StepUndo(child->document->undo));
    EXPECT_EQ(Map_DumpWorld(world, WorldDumpFlag::Serials), before);
    EXPECT_EQ(window->settings.NumCopies, 3);
    EXPECT_EQ(window->settings.PasteFlags, PASTE_AT_ORIGINAL_CENTER | PASTE_OFFSET);
    EXPECT_EQ(window->settings.OffsetX, 64.0f);
}

TEST_F(PasteSpecialCommandTest, UncheckedOffsetPastesInPlaceButIsRemembered) {
    ASSERT_TRUE(pasteSpecial(fillWith(2, true, true, "64")));
    ASSERT_TRUE(Undo_StepUndo(child->document->undo));
    // The offset group switched off, its values left standing.
    ASSERT_TRUE(pasteSpecial(fillWith(2, true, false, "")));
    EXPECT_EQ(selectedMinX(), (std::vector<float>{0, 0}));
    EXPECT_EQ(window->settings.OffsetX, 64.0f);
    EXPECT_EQ(window->settings.PasteFlags, PASTE_AT_ORIGINAL_CENTER);
    double shown = 0;
    bool enabled = true;
    ASSERT_TRUE(pasteSpecial(
        [&](QDialog* d) {
            shown = Widget_Find<QDoubleSpinBox>(d, "sbX")->value();
            enabled = Widget_Find<QDoubleSpinBox>(d, "sbX")->isEnabled();
        },
        false));
    EXPECT_EQ(shown, 64.0);
    EXPECT_FALSE(enabled);
}

TEST_F(PasteSpecialCommandTest, TheMousePointUnlessStartingAtTheOriginal) {
    cCanvas* top = nullptr;
    for (cCanvas* view : child->views)
        if (!view->is3D() && view->dAxis == 2) top = view;
    ASSERT_NE(top, nullptr);
    window->setActiveCanvas(top);
    const QPointF at(top->width() / 2 + 40, top->height() / 2 - 30);
    QMouseEvent move(QEvent::MouseMove, at, top->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(top, &move);
    float point[3];
    ASSERT_TRUE(top->screenToWorld(top->mouseX, top->mouseY,
                                   ScreenFlag::Snap | ScreenFlag::DepthFromOtherView, false, point));

    ASSERT_TRUE(pasteSpecial(fillWith(1, false, false, "")));
    // The clipboard's centre (32, 32, 32) goes to the point.
    EXPECT_EQ(selectedMinX(), (std::vector<float>{point[0] - 32}));
    ASSERT_NE(point[0] - 32, 0.0f);
    ASSERT_TRUE(pasteSpecial(fillWith(1, true, false, "")));
    EXPECT_EQ(selectedMinX(), (std::vector<float>{0}));
}

TEST_F(PasteSpecialCommandTest, CancelChangesNothing) {
    const QByteArray before = Map_DumpWorld(world, WorldDumpFlag::Serials);
    const MainSettings remembered = window->settings;
    const char* level = newestLevel();
    ASSERT_TRUE(pasteSpecial(fillWith(5, true, true, "16"), false));
    EXPECT_EQ(Map_DumpWorld(world, WorldDumpFlag::Serials), before);
    EXPECT_EQ(newestLevel(), level);
    EXPECT_EQ(window->settings.NumCopies, remembered.NumCopies);
    EXPECT_EQ(window->settings.OffsetX, remembered.OffsetX);
    EXPECT_EQ(window->settings.PasteFlags, remembered.PasteFlags);
}

// Running out of object ids halfway would end the program: a count the map has no room for is
// refused before anything is pasted.
TEST_F(PasteSpecialCommandTest, TooManyCopiesAreRefusedWithTheMapUnchanged) {
    const QByteArray before = Map_DumpWorld(world, WorldDumpFlag::Serials);
    const char* level = newestLevel();
    const int64_t room = Map_FreeIdCount(world);
    ASSERT_GT(room, 0);
    ASSERT_TRUE(pasteSpecial(fillWith(999999, true, true, "64")));
    EXPECT_EQ(Map_DumpWorld(world, WorldDumpFlag::Serials), before);
    EXPECT_EQ(newestLevel(), level);
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text,
              QStringLiteral("Cannot paste 999999 copies: the map has room for %1 more objects.").arg(room));
    EXPECT_EQ(prompts.asked[0].title, "Z.A.R.V.");
    EXPECT_EQ(Map_FreeIdCount(world), room);
    // Each copy takes one brush, six faces and a possible group.
    EXPECT_EQ(Clip_IdsPerCopy(&window->clipboard), 8);
}

// Copies stepped further than the world is wide are refused with a message and the map unchanged;
// the same step within the world pastes.
TEST_F(PasteSpecialCommandTest, CopiesSteppedOutOfTheWorldAreRefused) {
    const int across = int(2 * Select_HalfWorldSize());
    const QByteArray before = Map_DumpWorld(world, WorldDumpFlag::Serials);
    const char* level = newestLevel();
    ASSERT_TRUE(pasteSpecial(fillWith(4, true, true, QString::number(across / 3))));
    EXPECT_EQ(Map_DumpWorld(world, WorldDumpFlag::Serials), before);
    EXPECT_EQ(newestLevel(), level);
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(
        prompts.asked[0].text.startsWith(QStringLiteral("4 copies %1 apart leave the world").arg(across / 3)))
        << prompts.asked[0].text.toStdString();
    ASSERT_TRUE(pasteSpecial(fillWith(2, true, true, QString::number(across / 8))));
    EXPECT_NE(Map_DumpWorld(world, WorldDumpFlag::Serials), before);
    EXPECT_EQ(prompts.asked.size(), 1);
}

TEST_F(PasteSpecialCommandTest, TheEightKeysReachTheSettingsFileAndComeBack) {
    ASSERT_TRUE(pasteSpecial([](QDialog* d) {
        fillWith(4, true, true, "-12.5")(d);
        Widget_Click(Widget_Find<QCheckBox>(d, "cbGroup"));
        clickGroupCheck(Widget_Find<QGroupBox>(d, "groupRotation"));
        typeInto(Widget_Find<QDoubleSpinBox>(d, "sbZr"), "15");
    }));
    prompts.answerButton(PromptButton::No); // the pasted map is not saved
    EXPECT_TRUE(window->close());
    window.reset();
    QSettings file(path("config/zarv/KDKSettings.ini"), QSettings::IniFormat);
    file.beginGroup("PasteSpecial");
    EXPECT_EQ(file.childKeys().size(), 8) << file.childKeys().join(',').toStdString();
    EXPECT_EQ(file.value("NumCopies").toInt(), 4);
    EXPECT_EQ(file.value("PasteFlags").toInt(),
              PASTE_AT_ORIGINAL_CENTER | PASTE_GROUP_COPIES | PASTE_OFFSET | PASTE_ROTATION);
    EXPECT_EQ(file.value("OffsetX").toFloat(), -12.5f);
    EXPECT_EQ(file.value("RotationZ").toFloat(), 15.0f);
    cMainWindow again(WindowMode::Headless);
    again.readSettings();
    const PasteSpecialOptions back = PasteSpecial_FromSettings(again.settings);
    EXPECT_EQ(back.copies, 4);
    EXPECT_EQ(back.flags, PASTE_AT_ORIGINAL_CENTER | PASTE_GROUP_COPIES | PASTE_OFFSET | PASTE_ROTATION);
    EXPECT_EQ(back.offset[0], -12.5f);
    EXPECT_EQ(back.rotation[2], 15.0f);
}

} // namespace
