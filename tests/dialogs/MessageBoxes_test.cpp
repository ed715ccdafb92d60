#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

#include "WidgetInput.h"
#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "dialogs/application/CheckOptionsDialog.h"
#include "dialogs/application/PluginDialog.h"
#include "gamedata/PluginInterface.h"
#include "mainwindow/MainWindow.h"

namespace {

class MessageBoxesTest : public ::testing::Test {
protected:
    cMainWindow window;
    cConsoleCapture console;
};

TEST_F(MessageBoxesTest, FlagsChooseButtonsAndIconAndOnlyTheExpectedButtonAnswersOne) {
    struct Case {
        int flags;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton expected, other;
    };
    const Case cases[] = {
        {0, QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::NoButton},
        {MSGBOX_OKCANCEL, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoIcon, QMessageBox::Ok,
         QMessageBox::Cancel},
        {MSGBOX_YESNO, QMessageBox::Yes | QMessageBox::No, QMessageBox::NoIcon, QMessageBox::Yes,
         QMessageBox::No},
        {MSGBOX_OKCANCEL | MSGBOX_YESNO, QMessageBox::Yes | QMessageBox::No, QMessageBox::NoIcon,
         QMessageBox::Yes, QMessageBox::No},
        {MSGBOX_CRITICAL | MSGBOX_WARNING, QMessageBox::Ok, QMessageBox::Critical, QMessageBox::Ok,
         QMessageBox::NoButton},
        {MSGBOX_INFORMATION, QMessageBox::Ok, QMessageBox::Information, QMessageBox::Ok,
         QMessageBox::NoButton},
        {MSGBOX_QUESTION | MSGBOX_OKCANCEL, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Question,
         QMessageBox::Ok, QMessageBox::Cancel},
    };
    for (const Case& c : cases) {
        for (QMessageBox::StandardButton pressed : {c.expected, c.other}) {
            if (pressed == QMessageBox::NoButton) continue;
            QMessageBox::StandardButtons seenButtons;
            QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
            QString title;
            bool parentless = false;
            cDialogAnswer answer([&](QDialog* d) {
                auto* box = qobject_cast<QMessageBox*>(d);
                ASSERT_NE(box, nullptr);
                seenButtons = box->standardButtons();
                seenIcon = box->icon();
                title = box->windowTitle();
                parentless = box->parentWidget() == nullptr;
                Widget_Click(box->button(pressed));
            });
            const int32_t result = App_MessageBox(c.flags == 0 ? nullptr : "Title", "Text", c.flags);
            ASSERT_TRUE(answer.answered) << c.flags;
            EXPECT_EQ(seenButtons, c.buttons) << c.flags;
            EXPECT_EQ(seenIcon, c.icon) << c.flags;
            EXPECT_EQ(parentless, c.icon == QMessageBox::NoIcon) << c.flags;
            EXPECT_EQ(title, c.flags == 0 ? QStringLiteral("Z.A.R.V.") : QStringLiteral("Title"));
            EXPECT_EQ(result, pressed == c.expected ? 1 : 0) << c.flags << " " << pressed;
        }
    }
}

// Ticks the options named in tick, then presses the button (or closes the window).
int32_t answerOptions(const char* options, int32_t mask, QStringList* shown, const QStringList& tick,
                      QDialogButtonBox::StandardButton button) {
    cDialogAnswer answer(
        [&](QDialog* d) {
            auto* dialog = qobject_cast<cCheckOptionsDialog*>(d);
            ASSERT_NE(dialog, nullptr);
            shown->clear();
            for (int i = 0; i < dialog->optionCount; ++i) {
                QCheckBox* box = dialog->checkBoxes[i];
                shown->append(box->text() + (box->isChecked() ? "+" : ""));
                if (tick.contains(box->text())) Widget_Click(box);
            }
            if (button == QDialogButtonBox::NoButton)
                dialog->close();
            else
                Widget_Click(dialog->findChild<QDialogButtonBox*>("buttonBox")->button(button));
        },
        button == QDialogButtonBox::Ok);
    return App_OptionsBox("Options", nullptr, options, mask);
}

TEST_F(MessageBoxesTest, OptionsBoxAnswersTheTickedBitsOrMinusOne) {
    QStringList shown;
    EXPECT_EQ(answerOptions("a||b|", 2, &shown, {"a"}, QDialogButtonBox::Ok), 3);
    EXPECT_EQ(shown, (QStringList{"a", "b+"}));
    EXPECT_EQ(answerOptions("a||b|", 2, &shown, {"a"}, QDialogButtonBox::Cancel), -1);
    EXPECT_EQ(answerOptions("a||b|", 2, &shown, {}, QDialogButtonBox::NoButton), -1);
    EXPECT_EQ(answerOptions(nullptr, 0, &shown, {}, QDialogButtonBox::Ok), 0);
    EXPECT_EQ(shown, QStringList{"!!! NO OPTIONS !!!"});

    // Past 31 options the answers would collide with Cancel's: the first 31 are shown.
    QStringList many;
    for (int i = 0; i < 33; ++i)
        many.append(QString::number(i));
    const QByteArray text = many.join('|').toUtf8();
    EXPECT_EQ(answerOptions(text.constData(), 0, &shown, many, QDialogButtonBox::Ok), 0x7fffffff);
    EXPECT_EQ(shown.size(), 31);
    EXPECT_TRUE(console.contains("App_OptionsBox: 33 options, only 31 can be answered"));
}

TEST_F(MessageBoxesTest, BoxesShowTheNormalCursorUnderTheWaitCursor) {
    const int32_t before = App_WaitCursorCount();
    App_BeginWaitCursor();
    bool overrideDuringBox = true;
    cDialogAnswer answer([&](QDialog*) { overrideDuringBox = QGuiApplication::overrideCursor() != nullptr; });
    App_MessageBox("t", "x", 0);
    EXPECT_TRUE(answer.answered);
    EXPECT_FALSE(overrideDuringBox);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_EQ(App_WaitCursorCount(), before + 1);
    App_EndWaitCursor();
    App_EndWaitCursor(); // one too many: ignored
    EXPECT_EQ(App_WaitCursorCount(), before);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
