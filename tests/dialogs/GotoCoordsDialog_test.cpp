#include "WidgetInput.h"
#include "dialogs/application/GotoCoordsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <cmath>
#include <gtest/gtest.h>

#include "DialogAnswer.h"
#include "SampleWindowFixture.h"
#include "core/Prompt.h"
#include "dialogs/application/GotoBrushDialog.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/WorldDump.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "views/Canvas.h"

namespace {

// The named widgets in the order Tab reaches them from the first.
QStringList tabOrder(QWidget* dialog, const QStringList& names) {
    QStringList order;
    QWidget* first = dialog->findChild<QWidget*>(names.first());
    QWidget* w = first;
    do {
        if (names.contains(w->objectName()) && !order.contains(w->objectName()))
            order.append(w->objectName());
        w = w->nextInFocusChain();
    } while (w && w != first);
    return order;
}

// Both forms as the user sees them, read from the widgets.
TEST(GotoDialogs, Forms) {
    cGotoBrushDialog brush;
    cGotoCoordsDialog coords;
    const struct {
        QDialog* dialog;
        const char* name;
        const char* title;
        QSize size;
        QStringList tabs;
    } forms[] = {{&brush,
                  "cGotoBrushDialog",
                  "Go to brush",
                  {271, 101},
                  {"sbEntity", "sbBrush", "cbVisOnly", "buttonBox"}},
                 {&coords, "cGotoCoordsDialog", "Go to coordinates", {352, 92}, {"txtCoords", "buttonBox"}}};
    for (const auto& f : forms) {
        EXPECT_EQ(f.dialog->objectName(), f.name);
        EXPECT_EQ(f.dialog->windowTitle(), f.title);
        EXPECT_EQ(f.dialog->minimumSize(), f.size);
        EXPECT_EQ(f.dialog->maximumSize(), f.size);
        EXPECT_FALSE(f.dialog->windowIcon().isNull()) << f.name;
        const Qt::WindowFlags flags = f.dialog->windowFlags();
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        EXPECT_TRUE(flags & Qt::MSWindowsFixedSizeDialogHint);
        EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
        EXPECT_EQ(Widget_Find<QDialogButtonBox>(f.dialog, "buttonBox")->standardButtons(),
                  QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        EXPECT_EQ(tabOrder(f.dialog, f.tabs), f.tabs) << f.name;
    }
    for (const char* name : {"sbEntity", "sbBrush"}) {
        auto* box = Widget_Find<QSpinBox>(&brush, name);
        EXPECT_EQ(box->minimum(), 0);
        EXPECT_EQ(box->maximum(), 99999999);
        EXPECT_EQ(box->value(), 0);
    }
    const struct {
        QDialog* dialog;
        const char* label;
        const char* text;
        const char* buddy;
    } labels[] = {{&brush, "label", "&Entity #:", "sbEntity"},
                  {&brush, "label_2", "&Brush #:", "sbBrush"},
                  {&coords, "label", "&Coordinates to go to (x y z), ex: 200 -4096 1154", "txtCoords"}};
    for (const auto& l : labels) {
        auto* label = Widget_Find<QLabel>(l.dialog, l.label);
        EXPECT_EQ(label->text(), l.text);
        EXPECT_EQ(label->buddy(), l.dialog->findChild<QWidget*>(l.buddy));
    }
    EXPECT_EQ(Widget_Find<QCheckBox>(&brush, "cbVisOnly")->text(), "Search &visible brushes only");
    EXPECT_FALSE(Widget_Find<QCheckBox>(&brush, "cbVisOnly")->isChecked());
    EXPECT_EQ(Widget_Find<QLineEdit>(&coords, "txtCoords")->text(), "0 0 0");
}

TEST(GotoDialogs, ShowingSelectsTheFirstField) {
    cGotoBrushDialog brush;
    cGotoCoordsDialog coords;
    for (QDialog* d : {static_cast<QDialog*>(&brush), static_cast<QDialog*>(&coords)}) {
        d->show();
        QApplication::processEvents();
    }
    auto* entity = Widget_Find<QSpinBox>(&brush, "sbEntity");
    EXPECT_TRUE(brush.focusWidget() == entity || brush.focusWidget() == entity->findChild<QLineEdit*>());
    EXPECT_EQ(entity->findChild<QLineEdit*>()->selectedText(), "0");
    auto* text = Widget_Find<QLineEdit>(&coords, "txtCoords");
    EXPECT_EQ(coords.focusWidget(), text);
    EXPECT_EQ(text->selectedText(), "0 0 0");
}

TEST(GotoDialogs, CoordinatesFromText) {
    const struct {
        const char* text;
        int read;
        float x, y, z;
    } cases[] = {
        {"200, -4096, 1154", 3, 200, -4096, 1154},
        {"200 -4096 1154", 3, 200, -4096, 1154},
        {"1.5 2", 2, 1.5f, 2, 0},
        {"1 2 3 4 5", 3, 1, 2, 3},
        {"1  2 3", 3, 1, 0, 2}, // two blanks: an empty part reads 0
        {"", 0, 0, 0, 0},
        {"7", 1, 7, 0, 0},
        {"1, 2", -1, 0, 0, 0}, // not three parts at ", ", and "1," is no number
        {"12 x 3", -1, 0, 0, 0},
        {"nan 0 0", -1, 0, 0, 0},
        {"0 inf 0", -1, 0, 0, 0},
        {"0 0 1e40", -1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        cGotoCoordsDialog dialog;
        Widget_Find<QLineEdit>(&dialog, "txtCoords")->setText(QString::fromLatin1(c.text));
        float x = 9, y = 9, z = 9;
        QString refused;
        EXPECT_EQ(dialog.getCoords(x, y, z, &refused), c.read) << c.text;
        if (c.read < 0) {
            EXPECT_FALSE(refused.isEmpty()) << c.text;
            continue;
        }
        EXPECT_EQ(x, c.x) << c.text;
        EXPECT_EQ(y, c.y) << c.text;
        EXPECT_EQ(z, c.z) << c.text;
    }
}

class GotoCommandsTest : public cSampleWindowFixture {
protected:
    EntityRecord* entity(int index) const {
        EntityRecord* e = world->entities;
        for (int i = 0; e && i < index; ++i)
            e = e->next;
        return e;
    }
    BrushRecord* brush(EntityRecord* e, int index) const {
        BrushRecord* b = e->firstBrush;
        for (int i = 0; b && i < index; ++i)
            b = b->next;
        return b;
    }
    QList<BrushRecord*> selected() const {
        QList<BrushRecord*> list;
        for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
            list.append(b);
        return list;
    }
    void gotoBrush(int entityIndex, int brushIndex, bool visibleOnly, bool accept = true) {
        cDialogAnswer answer(
            [&](QDialog* d) {
                typeInto(Widget_Find<QSpinBox>(d, "sbEntity"), QString::number(entityIndex));
                typeInto(Widget_Find<QSpinBox>(d, "sbBrush"), QString::number(brushIndex));
                if (visibleOnly) Widget_Find<QCheckBox>(d, "cbVisOnly")->click();
            },
            accept);
        window->cmdMapGotoBrush();
        EXPECT_TRUE(answer.answered);
    }
    cPromptScript prompts;
};

TEST_F(GotoCommandsTest, BrushByNumberCountsHiddenOnesUnlessVisibleOnly) {
    EntityRecord* world0 = entity(0);
    ASSERT_NE(brush(world0, 8), nullptr);
    brush(world0, 1)->flags |= BrushFlags::Hidden;
    brush(world0, 3)->flags |= BrushFlags::Hidden;
    const QByteArray before = Map_DumpWorld(world);

    gotoBrush(0, 5, false);
    EXPECT_EQ(selected(), QList<BrushRecord*>{brush(world0, 5)});
    gotoBrush(0, 5, true);
    EXPECT_EQ(selected(), QList<BrushRecord*>{brush(world0, 7)});
    // A number past the end leaves nothing selected.
    gotoBrush(0, 99999, false);
    EXPECT_TRUE(selected().isEmpty());
    EXPECT_EQ(Map_DumpWorld(world), before);
}

// The found brush ends up in the middle of every 2D view of the window, wherever they looked.
TEST_F(GotoCommandsTest, FoundBrushIsCentredInThe2DViews) {
    for (cCanvas* v : child->views)
        if (!v->is3D()) v->scrollBy(-3000, 2000);
    gotoBrush(0, 5, false);
    BrushRecord* found = brush(entity(0), 5);
    ASSERT_EQ(selected(), QList<BrushRecord*>{found});
    int views = 0;
    for (cCanvas* v : child->views) {
        if (v->is3D()) continue;
        ++views;
        const float slack = 1.0f / v->zoom + 0.01f; // scrolling moves whole pixels
        for (int axis : {v->hAxis, v->vAxis})
            EXPECT_NEAR(v->viewCentreOnAxis(axis), (found->mins[axis] + found->maxs[axis]) / 2, slack)
                << "view " << v->viewType << " axis " << axis;
    }
    EXPECT_EQ(views, 3);
}

TEST_F(GotoCommandsTest, CancelStillClearsTheSelection) {
    gotoBrush(0, 2, false);
    ASSERT_EQ(selected().size(), 1);
    gotoBrush(0, 4, false, false);
    EXPECT_TRUE(selected().isEmpty());
}

TEST_F(GotoCommandsTest, CoordinatesMoveEveryCameraAndCentreEveryView) {
    // A second window of the same map follows as well.
    cChildWindow* second = window->createChildWindow(child->document);
    ASSERT_NE(second, nullptr);
    window->setActiveCanvas(child->views[0]);
    for (cChildWindow* w : child->document->windows)
        for (cCanvas* v : w->views)
            if (v->is3D()) v->angles[0] = v->angles[1] = 30;
    const QByteArray before = Map_DumpWorld(world);
    const struct {
        const char* text;
        float x, y, z;
    } cases[] = {{"200, -400, 154", 200, -400, 154},
                 {"200 -400 154", 200, -400, 154},
                 {"64 -32", 64, -32, 0},
                 {"1  2 3", 1, 0, 2},
                 {"", 0, 0, 0}};
    for (const auto& c : cases) {
        cDialogAnswer answer([&](QDialog* d) {
            typeInto(Widget_Find<QLineEdit>(d, "txtCoords"), QString::fromLatin1(c.text));
        });
        window->cmdMapGotoCoords();
        ASSERT_TRUE(answer.answered) << c.text;
        const float point[3] = {c.x, c.y, c.z};
        ASSERT_EQ(child->document->windows.size(), 2);
        for (cChildWindow* w : child->document->windows)
            for (cCanvas* v : w->views) {
                if (v->is3D()) {
                    // Level, then backed off 64 units from the point along its view direction.
                    float distance = 0;
                    for (int k = 0; k < 3; ++k) {
                        EXPECT_EQ(v->angles[k], 0.0f) << c.text;
                        distance += (v->eye[k] - point[k]) * (v->eye[k] - point[k]);
                    }
                    EXPECT_NEAR(std::sqrt(distance), 64.0f, 0.01f) << c.text;
                } else {
                    const float slack = 1.0f / v->zoom + 0.01f; // scrolling moves whole pixels
                    EXPECT_NEAR(v->viewCentreOnAxis(v->hAxis), point[v->hAxis], slack) << c.text;
                    EXPECT_NEAR(v->viewCentreOnAxis(v->vAxis), point[v->vAxis], slack) << c.text;
                }
            }
    }
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_EQ(Map_DumpWorld(world), before);
}

TEST_F(GotoCommandsTest, NoNumberOrCancelMovesNothing) {
    cCanvas* camera = nullptr;
    for (cCanvas* v : child->views)
        if (v->is3D()) camera = v;
    ASSERT_NE(camera, nullptr);
    const float eye[3] = {camera->eye[0], camera->eye[1], camera->eye[2]};
    for (const char* text : {"12 x 3", "nan 0 0"}) {
        cDialogAnswer answer(
            [&](QDialog* d) { typeInto(Widget_Find<QLineEdit>(d, "txtCoords"), QString::fromLatin1(text)); });
        window->cmdMapGotoCoords();
        ASSERT_TRUE(answer.answered);
    }
    {
        cDialogAnswer answer([&](QDialog* d) { typeInto(Widget_Find<QLineEdit>(d, "txtCoords"), "5 5 5"); },
                             false);
        window->cmdMapGotoCoords();
        ASSERT_TRUE(answer.answered);
    }
    ASSERT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(prompts.asked[0].text, "Not a coordinate: \"x\"");
    EXPECT_EQ(prompts.asked[1].text, "Not a coordinate: \"nan\"");
    EXPECT_EQ(prompts.asked[1].icon, PromptIcon::Warning);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(camera->eye[k], eye[k]);
}

} // namespace
