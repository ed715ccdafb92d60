#include "WidgetInput.h"
#include "dialogs/application/NewPatchDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QKeyEvent>
#include <cstring>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "document/MapWorld.h"
#include "document/Primitives.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapPatch.h"

namespace {

// The form's controls by their object names, which are what other code relies on.
QSpinBox* widthBox(QWidget* d) {
    return Widget_Find<QSpinBox>(d, "sbHorz");
}
QSpinBox* heightBox(QWidget* d) {
    return Widget_Find<QSpinBox>(d, "sbVert");
}

// Types text into a spin box the way the keyboard does: everything selected, then key by key.
void typeInto(QSpinBox* box, const QString& text) {
    box->selectAll();
    for (QChar ch : text) {
        const int key = Qt::Key_0 + ch.digitValue();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(box, &press);
        QApplication::sendEvent(box, &release);
    }
}

TEST(NewPatchDialog, FormTextsLimitsAndWindow) {
    cNewPatchDialog dialog;
    EXPECT_EQ(dialog.objectName(), "cNewPatchDialog");
    EXPECT_EQ(dialog.windowTitle(), "New Patch");
    EXPECT_EQ(dialog.minimumSize(), QSize(221, 141));
    EXPECT_EQ(dialog.maximumSize(), QSize(221, 141));
    EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowContextHelpButtonHint));

    EXPECT_EQ(Widget_Find<QGroupBox>(&dialog, "groupBox")->title(), "Patch Density");
    EXPECT_EQ(Widget_Find<QLabel>(&dialog, "label")->text(), "&Width:");
    EXPECT_EQ(Widget_Find<QLabel>(&dialog, "label")->buddy(), widthBox(&dialog));
    EXPECT_EQ(Widget_Find<QLabel>(&dialog, "label_2")->text(), "&Height:");
    EXPECT_EQ(Widget_Find<QLabel>(&dialog, "label_2")->buddy(), heightBox(&dialog));
    for (QSpinBox* box : {widthBox(&dialog), heightBox(&dialog)}) {
        EXPECT_EQ(box->minimum(), 3);
        EXPECT_EQ(box->maximum(), 31);
        EXPECT_EQ(box->singleStep(), 2);
        EXPECT_EQ(box->value(), 3);
        EXPECT_EQ(box->correctionMode(), QAbstractSpinBox::CorrectToNearestValue);
    }
    EXPECT_EQ(Widget_Find<QDialogButtonBox>(&dialog, "buttonBox")->standardButtons(),
              QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_FALSE(Widget_Find<QDialogButtonBox>(&dialog, "buttonBox")->centerButtons());
}

struct TypedCase {
    const char* typed;
    int value;
};

// Named in test listings by what is typed, not by the bytes of the record.
void PrintTo(const TypedCase& c, std::ostream* os) {
    *os << '"' << c.typed << "\" -> " << c.value;
}

class NewPatchDialogTyping : public ::testing::TestWithParam<std::tuple<TypedCase, bool>> {};

TEST_P(NewPatchDialogTyping, EvenSizesBecomeOdd) {
    const auto [c, height] = GetParam();
    cNewPatchDialog dialog;
    QSpinBox* box = height ? heightBox(&dialog) : widthBox(&dialog);
    QSpinBox* other = height ? widthBox(&dialog) : heightBox(&dialog);
    typeInto(box, c.typed);
    EXPECT_EQ(box->value(), c.value);
    EXPECT_EQ(other->value(), 3);
}

INSTANTIATE_TEST_SUITE_P(Sizes, NewPatchDialogTyping,
                         ::testing::Combine(::testing::Values(TypedCase{"4", 5}, TypedCase{"30", 31},
                                                              TypedCase{"31", 31}, TypedCase{"7", 7}),
                                            ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).typed) +
                                    (std::get<1>(info.param) ? "_height" : "_width");
                         });

// The plane primitive asks the dialog; a world with a world entity and no document (no undo).
class PlanePrimitive : public ::testing::Test {
protected:
    void SetUp() override {
        Map_InitWorld(&world, nullptr);
        const float origin[3] = {0, 0, 0};
        worldspawn = Entity_Create(Map_Handle(&world), "worldspawn", origin, EntityFlag::World);
        std::memset(&params, 0, sizeof params);
        params.map = Map_Handle(&world);
        params.texInfo.sScale = params.texInfo.tScale = 1.0f;
        std::strcpy(params.texInfo.name, "notexture");
        params.flags = PrimitiveFlag::Handedness;
        params.axes[0] = 0;
        params.axes[1] = 1;
        params.axes[2] = 2;
        const float mins[3] = {0, 0, 0}, maxs[3] = {128, 64, 32};
        std::memcpy(params.mins, mins, sizeof mins);
        std::memcpy(params.maxs, maxs, sizeof maxs);
    }
    void TearDown() override { Map_DestroyWorld(&world); }

    // Runs the plane with the dialog answered by fill (the dialog keeps its values afterwards, so
    // every answer sets both sizes).
    int32_t createPlane(const std::function<void(cNewPatchDialog*)>& fill, bool accept = true) {
        cDialogAnswer answer(
            [&fill](QDialog* dialog) {
                auto* patchDialog = qobject_cast<cNewPatchDialog*>(dialog);
                ASSERT_NE(patchDialog, nullptr);
                fill(patchDialog);
            },
            accept);
        const int32_t made = Prim_CreatePlane(&params);
        EXPECT_TRUE(answer.answered);
        return made;
    }

    cConsoleCapture console;
    MapWorld world{};
    EntityRecord* worldspawn = nullptr;
    PrimitiveParams params;
};

TEST_F(PlanePrimitive, GridFromTheDialogAcrossTheBox) {
    const int32_t made = createPlane([](cNewPatchDialog* d) {
        widthBox(d)->setValue(5);
        heightBox(d)->setValue(3);
    });
    ASSERT_EQ(made, 1);
    ASSERT_NE(worldspawn->firstBrush, nullptr);
    const PatchRecord* patch = worldspawn->firstBrush->patch;
    ASSERT_NE(patch, nullptr);
    ASSERT_EQ(patch->columns, 5);
    ASSERT_EQ(patch->rows, 3);
    for (int col = 0; col < 5; ++col) {
        for (int row = 0; row < 3; ++row) {
            EXPECT_FLOAT_EQ(patch->points[col][row].xyz[0], 32.0f * col);
            EXPECT_FLOAT_EQ(patch->points[col][row].xyz[1], 32.0f * row);
            EXPECT_FLOAT_EQ(patch->points[col][row].xyz[2], 16.0f);
        }
    }
}

TEST_F(PlanePrimitive, SizeOutsideTheLimitsIsRefusedWithTheMessage) {
    const int32_t made = createPlane([](cNewPatchDialog* d) {
        widthBox(d)->setMaximum(40); // limits bypassed
        widthBox(d)->setValue(33);
        heightBox(d)->setValue(3);
    });
    EXPECT_EQ(made, 0);
    EXPECT_EQ(worldspawn->firstBrush, nullptr);
    EXPECT_TRUE(console.contains("Invalid patch dimensions (33 x 3)"))
        << console.lines.join('\n').toStdString();
    // Restore the lasting dialog for later users.
    createPlane([](cNewPatchDialog* d) { widthBox(d)->setMaximum(31); }, false);
}

TEST_F(PlanePrimitive, CancelledDialogMakesNothing) {
    EXPECT_EQ(createPlane([](cNewPatchDialog*) {}, false), 0);
    EXPECT_EQ(worldspawn->firstBrush, nullptr);
}

} // namespace
