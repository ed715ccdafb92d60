#include "WidgetInput.h"
#include "dialogs/application/ScaleVertexDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "views/AbstractTool.h"

namespace {

// A vertex tool in scale mode over a selection of one size per axis: it scales by the new factor
// divided by the one in force, and refuses factors above its limit.
struct ScalingTool : cAbstractTool {
    double changeScale(int axisMask, double factor) override {
        calls.append(axisMask);
        if (!axisMask || factor > limit) return current;
        for (int k = 0; k < 3; ++k)
            if (axisMask & (1 << k)) size[k] *= factor / current;
        current = factor;
        return factor;
    }
    void endScale() override {
        ++ended;
        if (dialog) dialog->hide();
    }
    double current = 1.0, limit = 1000.0;
    double size[3] = {64, 64, 64};
    QList<int> calls;
    int ended = 0;
    QDialog* dialog = nullptr;
};

void typeInto(QDoubleSpinBox* box, const QString& text) {
    box->selectAll();
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, ch.unicode(), Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, ch.unicode(), Qt::NoModifier, QString(ch));
        QApplication::sendEvent(box, &press);
        QApplication::sendEvent(box, &release);
    }
}

struct ScaleFixture {
    ScaleFixture() : dialog([this] { return &tool; }, &owner) {
        tool.dialog = &dialog;
        dialog.show();
        scale = Widget_Find<QDoubleSpinBox>(&dialog, "sbScale");
    }
    QWidget owner;
    ScalingTool tool;
    cScaleVertexDialog dialog;
    QDoubleSpinBox* scale = nullptr;
};

TEST(ScaleVertexDialog, FormAndWindow) {
    ScaleFixture f;
    EXPECT_EQ(f.dialog.windowTitle(), "Scale");
    const Qt::WindowFlags flags = f.dialog.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(f.dialog.minimumSize(), f.dialog.maximumSize());
    EXPECT_FALSE(f.dialog.isModal());
    EXPECT_EQ(f.dialog.parentWidget(), &f.owner);
    EXPECT_EQ(f.scale->decimals(), 3);
    EXPECT_EQ(f.scale->minimum(), 0.001);
    EXPECT_EQ(f.scale->maximum(), 99999.0);
    EXPECT_EQ(f.scale->singleStep(), 0.1);
    EXPECT_EQ(f.scale->value(), 1.0);
    EXPECT_EQ(Widget_Find<QLabel>(&f.dialog, "label")->text(), "&Scale vertices:");
    EXPECT_EQ(Widget_Find<QLabel>(&f.dialog, "label")->buddy(), f.scale);
    EXPECT_EQ(Widget_Find<QLabel>(&f.dialog, "label_2")->text(), "Lock coordinates:");
    for (const char* name : {"cbX", "cbY", "cbZ"})
        EXPECT_FALSE(Widget_Find<QCheckBox>(&f.dialog, name)->isChecked());
    EXPECT_TRUE(f.dialog.findChildren<QAbstractButton*>().size() == 3); // no button box
}

TEST(ScaleVertexDialog, TheFactorIsAbsoluteWhileScaleModeLasts) {
    ScaleFixture f;
    typeInto(f.scale, "2");
    EXPECT_EQ(f.tool.size[0], 128.0);
    typeInto(f.scale, "0.5");
    for (double s : f.tool.size)
        EXPECT_EQ(s, 32.0); // half the starting size, not a quarter
    EXPECT_EQ(f.scale->value(), 0.5);
    EXPECT_TRUE(f.tool.calls.count(7) >= 2);
}

TEST(ScaleVertexDialog, LockedAxesAndRefusalsShowTheFactorInForce) {
    ScaleFixture f;
    Widget_Find<QCheckBox>(&f.dialog, "cbY")->click();
    typeInto(f.scale, "2");
    EXPECT_EQ(f.tool.calls.last(), 1 | 4);
    EXPECT_EQ(f.tool.size[1], 64.0);
    EXPECT_EQ(f.tool.size[2], 128.0);
    // All axes locked: nothing scales and the field snaps back.
    Widget_Find<QCheckBox>(&f.dialog, "cbX")->click();
    Widget_Find<QCheckBox>(&f.dialog, "cbZ")->click();
    typeInto(f.scale, "3");
    EXPECT_EQ(f.tool.calls.last(), 0);
    EXPECT_EQ(f.scale->value(), 2.0);
    EXPECT_EQ(f.tool.size[0], 128.0);
    // A refused factor: the previous one comes back, and writing it asks the tool nothing.
    for (const char* name : {"cbX", "cbY", "cbZ"})
        Widget_Find<QCheckBox>(&f.dialog, name)->click();
    f.tool.limit = 4;
    const int before = f.tool.calls.size();
    typeInto(f.scale, "5");
    EXPECT_EQ(f.scale->value(), 2.0);
    EXPECT_EQ(f.tool.size[0], 128.0);
    EXPECT_EQ(f.tool.calls.size(), before + 1); // not again for the write-back
    // Entering scale mode puts the factor in without scaling.
    f.dialog.setFactor(1.0);
    EXPECT_EQ(f.tool.calls.size(), before + 1);
}

TEST(ScaleVertexDialog, EscapeEndsScaleMode) {
    ScaleFixture f;
    ASSERT_TRUE(f.dialog.isVisible());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(f.scale, &escape);
    EXPECT_EQ(f.tool.ended, 1);
    EXPECT_FALSE(f.dialog.isVisible());
    // Without a tool the window simply hides.
    cScaleVertexDialog lone(nullptr);
    lone.show();
    lone.reject();
    EXPECT_FALSE(lone.isVisible());
}

} // namespace
