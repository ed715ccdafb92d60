#include "mainwindow/PromptHostImpl.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

// The real box shows every part of the request and reports the button pressed in our terms.
TEST(PromptQuestionTest, TheRealBoxShowsItsDetailsAndMapsTheAnswer) {
    PromptHost* before = Prompt_SetHost(&Prompt_WidgetHost());
    const struct {
        QMessageBox::StandardButton press;
        int32_t answer;
    } cases[] = {{QMessageBox::Save, PromptButton::Save},
                 {QMessageBox::Discard, PromptButton::Discard},
                 {QMessageBox::Cancel, PromptButton::Cancel}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.press));
        PromptDetails details{"Informative", "one\ntwo", PromptButton::Save, QIcon()};
        QString informative, detailed, title;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            poll.stop();
            title = box->windowTitle();
            informative = box->informativeText();
            detailed = box->detailedText();
            defaultButton = box->standardButton(box->defaultButton());
            box->button(c.press)->click();
        });
        poll.start(10);
        EXPECT_EQ(Prompt_Question(nullptr, PromptIcon::Warning, "Text",
                                  PromptButton::Save | PromptButton::Discard | PromptButton::Cancel, details),
                  c.answer);
        EXPECT_EQ(title, "Z.A.R.V.");
        EXPECT_EQ(informative, "Informative");
        EXPECT_EQ(detailed, "one\ntwo");
        EXPECT_EQ(defaultButton, QMessageBox::Save);
    }
    Prompt_SetHost(before);
}

} // namespace
