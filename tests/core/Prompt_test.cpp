#include "core/Prompt.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <optional>

namespace {

// A scripted whole-number request behaves as the spin box would: answers and the initial value
// stay inside the range, and a cancelled request gives the initial value back unconfirmed.
TEST(PromptIntegerTest, AnswersAreClampedAndCancelGivesTheInitialValue) {
    struct Case {
        const char* name;
        int32_t initial, min, max;
        std::optional<int32_t> answer; // none: cancelled
        int32_t value;
        bool ok;
        int32_t askedValue, askedMin, askedMax;
    };
    const Case cases[] = {
        {"in range", 32, -100, 100, -8, -8, true, 32, -100, 100},
        {"above", 32, -100, 100, 5000, 100, true, 32, -100, 100},
        {"below", 32, -100, 100, -5000, -100, true, 32, -100, 100},
        {"cancelled", 32, -100, 100, std::nullopt, 32, false, 32, -100, 100},
        {"initial outside", 500, -100, 100, std::nullopt, 100, false, 100, -100, 100},
        {"bounds swapped", 0, 10, -10, 7, 7, true, 0, -10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cPromptScript script;
        if (c.answer) script.answerInteger(*c.answer);
        bool ok = !c.ok;
        EXPECT_EQ(Prompt_GetInteger(nullptr, "Title", "Label", c.initial, c.min, c.max, 4, &ok), c.value);
        EXPECT_EQ(ok, c.ok);
        ASSERT_EQ(script.asked.size(), 1);
        const PromptRequest& asked = script.asked.front();
        EXPECT_EQ(asked.kind, PromptKind::Integer);
        EXPECT_EQ(asked.title, "Title");
        EXPECT_EQ(asked.text, "Label");
        EXPECT_EQ(asked.value, c.askedValue);
        EXPECT_EQ(asked.minimum, c.askedMin);
        EXPECT_EQ(asked.maximum, c.askedMax);
        EXPECT_EQ(asked.step, 4);
    }
}

// Integer answers have their own queue: a text answer does not confirm a number, and ok may be
// null.
TEST(PromptIntegerTest, TextAnswersDoNotAnswerNumbers) {
    cPromptScript script;
    script.answerText("12");
    EXPECT_EQ(Prompt_GetInteger(nullptr, "Title", "Label", 3, 0, 20, 1, nullptr), 3);
    script.answerInteger(12);
    EXPECT_EQ(Prompt_GetText(nullptr, "Label", ""), "12");
    bool ok = false;
    EXPECT_EQ(Prompt_GetInteger(nullptr, "Title", "Label", 3, 0, 20, 1, &ok), 12);
    EXPECT_TRUE(ok);
}

// The real box shows every part of the request and reports the button pressed in our terms.
TEST(PromptQuestionTest, TheRealBoxShowsItsDetailsAndMapsTheAnswer) {
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
}

} // namespace
