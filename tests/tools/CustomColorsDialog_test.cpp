// The custom colours dialog as the user meets it: the form, the picker (answered or cancelled),
// Apply, OK and Cancel, and its run from the colour-scheme menu's custom entry.
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "mainwindow/MainWindow.h"
#include "dialogs/application/QCustomAction.h"
#include "render/ColorScheme.h"
#include "views/CustomColorsDialog.h"

namespace {

template <class T> T* child(QDialog& dialog, const char* name) {
    return dialog.findChild<T*>(QLatin1String(name));
}

class CustomColorsDialogTest : public ::testing::Test {
public:
    void SetUp() override {
        Color_ResetTables();
        formerScheme = g_mainWindow->settings.CurrentColorScheme;
    }
    void TearDown() override {
        g_mainWindow->settings.CurrentColorScheme = formerScheme;
        Color_ResetTables();
    }
    // A picker answer choosing the colour (invalid: cancel).
    static cDialogAnswer* answerPicker(QColor colour) {
        return new cDialogAnswer(
            [colour](QDialog* d) {
                if (auto* picker = qobject_cast<QColorDialog*>(d)) picker->setCurrentColor(colour);
            },
            colour.isValid());
    }
    static QColor swatch(cCustomColorsDialog& dialog) {
        return child<QLabel>(dialog, "lblColorValue")->palette().color(QPalette::Window);
    }
    static QPushButton* button(cCustomColorsDialog& dialog, QDialogButtonBox::StandardButton which) {
        return child<QDialogButtonBox>(dialog, "buttonBox")->button(which);
    }
    // Runs the menu's custom entry; `during` acts in the open dialog, which then takes `close`.
    void runCustomEntry(const std::function<void(cCustomColorsDialog*)>& during,
                        QDialogButtonBox::StandardButton close) {
        QCustomAction action(g_mainWindow);
        action.index = -1;
        QObject::connect(&action, SIGNAL(triggered()), g_mainWindow, SLOT(applyColorScheme()));
        cDialogAnswer answer(
            [&](QDialog* d) {
                auto* dialog = qobject_cast<cCustomColorsDialog*>(d);
                ASSERT_NE(dialog, nullptr);
                during(dialog);
                button(*dialog, close)->click();
            },
            close == QDialogButtonBox::Ok);
        action.trigger();
        EXPECT_TRUE(answer.answered);
    }

    cConsoleCapture console;
    int formerScheme = 0;
};

TEST_F(CustomColorsDialogTest, FormShowsTheFirstRowSelected) {
    cCustomColorsDialog dialog(nullptr);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("cCustomColorsDialog"));
    EXPECT_EQ(dialog.size(), QSize(510, 306));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Custom Colors"));
    struct Row {
        const char* name;
        QRect geometry;
    } rows[] = {
        {"buttonBox", {10, 270, 491, 31}},     {"colorList", {10, 10, 241, 261}},
        {"lblColorValue", {260, 60, 201, 21}}, {"line", {260, 40, 241, 16}},
        {"lblColorName", {260, 20, 241, 16}},  {"colorChangeButton", {470, 60, 25, 21}},
    };
    for (const Row& r : rows) {
        auto* w = dialog.findChild<QWidget*>(QLatin1String(r.name));
        ASSERT_NE(w, nullptr) << r.name;
        EXPECT_EQ(w->geometry(), r.geometry) << r.name;
    }
    EXPECT_EQ(child<QListWidget>(dialog, "colorList")->count(), kColorTableRows);
    EXPECT_EQ(child<QListWidget>(dialog, "colorList")->currentRow(), 0);
    EXPECT_EQ(child<QLabel>(dialog, "lblColorName")->text(), QStringLiteral("<b>Application Global</b>"));
    EXPECT_EQ(swatch(dialog), Color_CustomTable()[0].colour);
    EXPECT_EQ(child<QToolButton>(dialog, "colorChangeButton")->text(), QStringLiteral("..."));
    // Tab order: the list, the tool button, then the button box's buttons.
    QList<QWidget*> chain;
    QWidget* start = child<QListWidget>(dialog, "colorList");
    for (QWidget* w = start; chain.size() < 64; w = w->nextInFocusChain()) {
        chain.append(w);
        if (w->nextInFocusChain() == start) break;
    }
    const auto buttons = child<QDialogButtonBox>(dialog, "buttonBox")->buttons();
    ASSERT_FALSE(buttons.isEmpty());
    EXPECT_LT(chain.indexOf(child<QToolButton>(dialog, "colorChangeButton")), chain.indexOf(buttons[0]));
    EXPECT_GT(chain.indexOf(child<QToolButton>(dialog, "colorChangeButton")), 0);
}

TEST_F(CustomColorsDialogTest, PickerAnswersChangeOnlyTheWorkingList) {
    cCustomColorsDialog dialog(nullptr);
    dialog.show();
    const int row = COLOR_2D_SELECTION;
    child<QListWidget>(dialog, "colorList")->setCurrentRow(row);
    const QColor before = dialog.working[row];
    EXPECT_EQ(swatch(dialog), before);
    {
        std::unique_ptr<cDialogAnswer> cancel(answerPicker(QColor()));
        child<QToolButton>(dialog, "colorChangeButton")->click();
        EXPECT_TRUE(cancel->answered);
    }
    EXPECT_EQ(dialog.working[row], before);
    EXPECT_EQ(swatch(dialog), before);
    {
        std::unique_ptr<cDialogAnswer> choose(answerPicker(QColor(1, 2, 3)));
        child<QToolButton>(dialog, "colorChangeButton")->click();
        EXPECT_TRUE(choose->answered);
    }
    EXPECT_EQ(dialog.working[row], QColor(1, 2, 3));
    EXPECT_EQ(swatch(dialog), QColor(1, 2, 3));
    // Nothing reaches the tables before Apply.
    EXPECT_NE(Color_Table()[row].colour, QColor(1, 2, 3));
    button(dialog, QDialogButtonBox::Apply)->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Color_Table()[row].colour, QColor(1, 2, 3));
    EXPECT_EQ(Color_CustomTable()[row].colour, QColor(1, 2, 3));
}

TEST_F(CustomColorsDialogTest, OkMakesTheCustomSchemeCurrentCancelKeepsTheFormerNumber) {
    const int row = COLOR_ENTITY_CREATION;
    g_mainWindow->settings.CurrentColorScheme = 2;
    runCustomEntry([&](cCustomColorsDialog* d) { d->working[row] = QColor(9, 8, 7); }, QDialogButtonBox::Ok);
    EXPECT_EQ(g_mainWindow->settings.CurrentColorScheme, -1);
    EXPECT_EQ(Color_Table()[row].colour, QColor(9, 8, 7));

    // Apply, then Cancel: the colours stay applied, the scheme number is the former one.
    g_mainWindow->settings.CurrentColorScheme = 2;
    runCustomEntry(
        [&](cCustomColorsDialog* d) {
            d->working[row] = QColor(4, 5, 6);
            button(*d, QDialogButtonBox::Apply)->click();
        },
        QDialogButtonBox::Cancel);
    EXPECT_EQ(g_mainWindow->settings.CurrentColorScheme, 2);
    EXPECT_EQ(Color_Table()[row].colour, QColor(4, 5, 6));
    EXPECT_EQ(Color_CustomTable()[row].colour, QColor(4, 5, 6));
}

// A numbered entry of the menu loads its scheme from the settings file and makes it current.
TEST_F(CustomColorsDialogTest, NumberedEntryLoadsItsScheme) {
    QTemporaryDir folder;
    const QByteArray previousConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", folder.filePath("config").toUtf8());
    QDir().mkpath(folder.filePath("base"));
    App_SetBaseDirectory(folder.filePath("base"));
    {
        QFile file(folder.filePath("base/KDKSettings.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[ColorScheme0]\nTitle=Dark\nCOLOR_2D_BACKGROUND=1 2 3\n[ColorScheme1]\nTitle=Light\n"
                   "COLOR_2D_BACKGROUND=250 251 252\n");
    }
    for (int index : {1, 0}) {
        QCustomAction action(g_mainWindow);
        action.index = index;
        QObject::connect(&action, SIGNAL(triggered()), g_mainWindow, SLOT(applyColorScheme()));
        action.trigger();
        EXPECT_EQ(g_mainWindow->settings.CurrentColorScheme, index);
    }
    const uint8_t* rgba = Color_GetRGBA(COLOR_2D_BACKGROUND);
    ASSERT_NE(rgba, nullptr);
    EXPECT_EQ(QColor(rgba[0], rgba[1], rgba[2]), QColor(1, 2, 3));
    App_SetBaseDirectory(QString());
    if (previousConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", previousConfig);
}

} // namespace
