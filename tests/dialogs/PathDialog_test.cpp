#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "PathFixture.h"
#include "dialogs/application/PathDialog.h"

namespace {

class PathDialogTest : public cPathFixture {
protected:
    void SetUp() override {
        cPathFixture::SetUp();
        edited = path("train", 3, PathType::PingPong);
        path("other", 2, PathType::OneWay, 0, 256);
        select({nodeAt(edited, 1)});
    }
    // Edit Path Properties with the fill standing in for the user; OK (or Cancel) afterwards.
    void edit(const std::function<void(cPathDialog*)>& fill, bool accept = true) {
        cDialogAnswer answer(
            [&](QDialog* d) {
                auto* dialog = qobject_cast<cPathDialog*>(d);
                ASSERT_NE(dialog, nullptr);
                fill(dialog);
            },
            accept);
        window->cmdEditPathProperties();
        EXPECT_TRUE(answer.answered);
    }
    static QPushButton* ok(cPathDialog* d) { return d->buttonBox->button(QDialogButtonBox::Ok); }
    PathRecord* edited = nullptr;
};

TEST_F(PathDialogTest, LoadsThePathAndAnUnchangedOkKeepsIt) {
    const std::string before = dump();
    edit([](cPathDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Path Properties");
        EXPECT_EQ(d->size(), QSize(431, 187));
        EXPECT_EQ(d->txtName->text(), "train");
        EXPECT_EQ(d->cbClass->currentText(), "path_corner");
        EXPECT_GE(d->cbClass->currentIndex(), 0) << "the listed class is selected";
        EXPECT_TRUE(d->rbPingPong->isChecked());
        EXPECT_TRUE(ok(d)->isEnabled());
    });
    EXPECT_EQ(newestLevel(), "Edit Path");
    EXPECT_EQ(differenceFrom(before), "");
}

// Each case types into the dialog, presses OK and tells what must hold.
TEST_F(PathDialogTest, NameAndClassRules) {
    struct Case {
        const char* name;
        QString typedName;
        QString typedClass; // empty: left alone
        QString warning;    // the box OK raises, empty when none
        bool okEnabled;
        QByteArray storedName; // Windows-1251 bytes after OK; empty when refused
        QByteArray storedClass;
    };
    const Case cases[] = {
        {"another path's name",
         "other",
         {},
         "Path name is not unique: \"other\"!\nPlease specify another path name.",
         true,
         {},
         {}},
        {"blanks only", "   ", {}, {}, false, {}, {}},
        {"blank class", "tram", " ", {}, false, {}, {}},
        {"unique name trimmed", "  tram ", {}, {}, true, "tram", "path_corner"},
        {"class typed by hand", "tram", "func_mover_path", {}, true, "tram", "func_mover_path"},
        {"Cyrillic name", QStringLiteral("Путь"), {}, {}, true, "\xcf\xf3\xf2\xfc", "path_corner"},
        {"name outside Windows-1251",
         QStringLiteral("路径"),
         {},
         QStringLiteral("\"路径\" holds characters a map cannot store."),
         true,
         {},
         {}},
        {"class outside Windows-1251",
         "tram",
         QStringLiteral("путь_路"),
         QStringLiteral("\"путь_路\" holds characters a map cannot store."),
         true,
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = dump();
        const std::string level = newestLevel();
        const bool stored = !c.storedName.isEmpty();
        cPromptScript prompts;
        edit(
            [&](cPathDialog* d) {
                type(d->txtName, c.typedName);
                if (!c.typedClass.isEmpty()) type(d->cbClass->lineEdit(), c.typedClass);
                EXPECT_EQ(ok(d)->isEnabled(), c.okEnabled);
                if (!c.okEnabled) return;
                Widget_Click(ok(d));
                EXPECT_EQ(d->isVisible(), !stored) << "a refused OK keeps the dialog open";
            },
            stored);
        ASSERT_EQ(prompts.asked.size(), c.warning.isEmpty() ? 0 : 1);
        if (!c.warning.isEmpty()) EXPECT_EQ(prompts.asked[0].text, c.warning);
        PathRecord* p = findPath(stored ? c.storedName.constData() : "train");
        ASSERT_NE(p, nullptr);
        if (stored) {
            EXPECT_EQ(QByteArray(p->className), c.storedClass);
            EXPECT_EQ(newestLevel(), "Edit Path");
            undo();
        } else {
            EXPECT_EQ(newestLevel(), level) << "Cancel records nothing";
        }
        EXPECT_EQ(differenceFrom(before), "");
        select({nodeAt(findPath("train"), 1)});
    }
}

TEST_F(PathDialogTest, DirectionsAreStoredAsTheirNumbers) {
    const std::pair<QRadioButton * Ui_cPathDialog::*, int32_t> cases[] = {
        {&Ui_cPathDialog::rbOneWay, PathType::OneWay},
        {&Ui_cPathDialog::rbCircular, PathType::Circular},
        {&Ui_cPathDialog::rbPingPong, PathType::PingPong},
    };
    for (const auto& [button, type] : cases) {
        SCOPED_TRACE(type);
        edit([button = button](cPathDialog* d) { Widget_Click(d->*button); });
        EXPECT_EQ(findPath("train")->type, type);
        select({nodeAt(findPath("train"), 1)});
    }
}

} // namespace
