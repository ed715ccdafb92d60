#include "core/Prompt.h"

#include <gtest/gtest.h>

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

// Installs a host for one test and puts back the one before.
class PromptHostTest : public ::testing::Test, public PromptHost {
protected:
    void SetUp() override { before = Prompt_SetHost(nullptr); }
    void TearDown() override { Prompt_SetHost(before); }

    PromptAnswer ask(QWidget*, const PromptRequest& request) override {
        asked.append(request);
        return answers.isEmpty() ? PromptAnswer() : answers.takeFirst();
    }
    void beep() override { ++beeps; }

    PromptHost* before = nullptr;
    QList<PromptRequest> asked;
    QList<PromptAnswer> answers;
    int beeps = 0;
};

// Without a host (a tool or test with no window) nobody answers: every request ends as a closed box
// would, and nothing the caller handed in is changed.
TEST_F(PromptHostTest, WithoutAHostEveryRequestEndsAsAClosedBox) {
    EXPECT_EQ(Prompt_Host(), nullptr);
    EXPECT_EQ(
        Prompt_Question(nullptr, PromptIcon::Question, "Save?", PromptButton::Yes | PromptButton::Cancel),
        PromptButton::Cancel);
    EXPECT_EQ(Prompt_Question(nullptr, PromptIcon::Question, "Keep?", PromptButton::Yes | PromptButton::No),
              PromptButton::No);
    EXPECT_EQ(Prompt_GetText(nullptr, "Name", "preset"), QString());
    bool ok = true;
    EXPECT_EQ(Prompt_GetInteger(nullptr, "Title", "Count", 7, 0, 10, 1, &ok), 7);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Prompt_Choose(nullptr, "Pick", {"a", "b"}), -1);
    QString filter = "Maps (*.map)";
    EXPECT_EQ(Prompt_GetSaveFileName(nullptr, "Save", "/tmp", "Maps (*.map);;All (*)", &filter), QString());
    EXPECT_EQ(filter, "Maps (*.map)");
    EXPECT_TRUE(Prompt_GetOpenFileNames(nullptr, "Open", "/tmp", "All (*)").isEmpty());
    const int32_t beeps = Prompt_BeepCount();
    Prompt_Beep();
    EXPECT_EQ(Prompt_BeepCount(), beeps + 1);
}

// The host's answers reach the caller as the request allows: a button that was not offered, a
// number outside the range and a choice outside the list are not passed on, a cancelled file request
// leaves the preset filter alone.
TEST_F(PromptHostTest, HostAnswersAreKeptInsideTheRequest) {
    Prompt_SetHost(this);
    auto answer = [](bool accepted, int32_t button = 0, QStringList texts = {}, int32_t value = 0,
                     int32_t index = -1, QString filter = {}) {
        PromptAnswer a;
        a.accepted = accepted;
        a.button = button;
        a.texts = texts;
        a.value = value;
        a.index = index;
        a.selectedFilter = filter;
        return a;
    };
    const int32_t yesNo = PromptButton::Yes | PromptButton::No;
    answers = {answer(true, PromptButton::No), answer(true, PromptButton::Save),
               answer(false, PromptButton::Yes)};
    EXPECT_EQ(Prompt_Question(nullptr, PromptIcon::Warning, "Keep?", yesNo), PromptButton::No);
    EXPECT_EQ(Prompt_Question(nullptr, PromptIcon::Warning, "Keep?", yesNo), PromptButton::No);
    EXPECT_EQ(Prompt_Question(nullptr, PromptIcon::Warning, "Keep?", yesNo | PromptButton::Cancel),
              PromptButton::Cancel);

    answers = {answer(true, 0, {}, 99), answer(false, 0, {}, 5)};
    bool ok = false;
    EXPECT_EQ(Prompt_GetInteger(nullptr, "Title", "Count", 2, 0, 10, 1, &ok), 10);
    EXPECT_TRUE(ok);
    EXPECT_EQ(Prompt_GetInteger(nullptr, "Title", "Count", 2, 0, 10, 1, &ok), 2);
    EXPECT_FALSE(ok);

    answers = {answer(true, 0, {}, 0, 1), answer(true, 0, {}, 0, 2), answer(false, 0, {}, 0, 0)};
    EXPECT_EQ(Prompt_Choose(nullptr, "Pick", {"a", "b"}), 1);
    EXPECT_EQ(Prompt_Choose(nullptr, "Pick", {"a", "b"}), -1);
    EXPECT_EQ(Prompt_Choose(nullptr, "Pick", {"a", "b"}), -1);

    answers = {answer(true, 0, {"typed"}), answer(false, 0, {"typed"})};
    EXPECT_EQ(Prompt_GetText(nullptr, "Name", "preset"), "typed");
    EXPECT_EQ(Prompt_GetText(nullptr, "Name", "preset"), QString());

    answers = {answer(true, 0, {"/tmp/a.map"}, 0, -1, "All (*)"), answer(false, 0, {}, 0, -1, "All (*)"),
               answer(true, 0, {"/tmp/a.map", "/tmp/b.map"})};
    QString filter = "Maps (*.map)";
    EXPECT_EQ(Prompt_GetSaveFileName(nullptr, "Save", "/tmp", "Maps (*.map);;All (*)", &filter),
              "/tmp/a.map");
    EXPECT_EQ(filter, "All (*)");
    filter = "Maps (*.map)";
    EXPECT_EQ(Prompt_GetSaveFileName(nullptr, "Save", "/tmp", "Maps (*.map);;All (*)", &filter), QString());
    EXPECT_EQ(filter, "Maps (*.map)");
    EXPECT_EQ(Prompt_GetOpenFileNames(nullptr, "Open", "/tmp", "Maps (*.map)"),
              QStringList({"/tmp/a.map", "/tmp/b.map"}));

    // What the host was shown: the box title, the texts, and the filter preset.
    ASSERT_EQ(asked.size(), 13);
    EXPECT_EQ(asked[0].kind, PromptKind::Question);
    EXPECT_EQ(asked[0].title, "Z.A.R.V.");
    EXPECT_EQ(asked[0].buttons, yesNo);
    EXPECT_EQ(asked[3].kind, PromptKind::Integer);
    EXPECT_EQ(asked[3].maximum, 10);
    EXPECT_EQ(asked[10].kind, PromptKind::SaveFileName);
    EXPECT_EQ(asked[10].selectedFilter, "Maps (*.map)");
    EXPECT_EQ(asked[10].directory, "/tmp");

    Prompt_Beep();
    EXPECT_EQ(beeps, 1);
}

// A script answers before any host: the host never sees a scripted request.
TEST_F(PromptHostTest, AScriptAnswersBeforeTheHost) {
    Prompt_SetHost(this);
    cPromptScript script;
    script.answerButton(PromptButton::Yes);
    EXPECT_EQ(Prompt_Question(nullptr, PromptIcon::Question, "Keep?", PromptButton::Yes | PromptButton::No),
              PromptButton::Yes);
    EXPECT_EQ(script.asked.size(), 1);
    EXPECT_TRUE(asked.isEmpty());
}

} // namespace
