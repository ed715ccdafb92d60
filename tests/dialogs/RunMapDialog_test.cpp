#include "WidgetInput.h"
#include "dialogs/application/RunMapDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "RunFixture.h"
#include "core/Prompt.h"

namespace {

void type(QWidget* w, const QString& text) {
    w->setFocus();
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
    }
}

// Clicks the menu button, then the entry of the menu that pops up.
void choose(QWidget* button, const QString& entry) {
    Widget_Click(button);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu) << entry.toStdString();
    for (QAction* action : menu->actions())
        if (action->text() == entry) {
            Widget_ClickAt(menu, menu->actionGeometry(action).center());
            return;
        }
    menu->close();
    FAIL() << "no entry " << entry.toStdString();
}

struct RunMapDialogTest : ::testing::Test {
    void SetUp() override {
        config.MapTool[0] = "/opt/csg";
        config.MapTool[1] = "/opt/q3map2 -meta";
        config.MapTool[3] = "/opt/light";
        config.GameCommandLine = "+set a 1";
        config.GameBasedir = folders.root.filePath("base");
        g_mainWindow->settings.ExpertMode = false;
        dialog = std::make_unique<cRunMapDialog>();
        dialog->setGameConfig(&config);
        dialog->setProfile(&profile);
        dialog->show();
    }
    void expert() {
        Widget_Click(Widget_Find<QPushButton>(dialog.get(), "btnExpert"));
        ASSERT_TRUE(dialog->expertMode());
    }
    QListWidget* list() { return Widget_Find<QListWidget>(dialog.get(), "lstCmd"); }
    RunConfig& current() {
        return *dialog->configurations()[Widget_Find<QComboBox>(dialog.get(), "cbConfigs")->currentIndex()];
    }
    QPushButton* ok() {
        return Widget_Find<QDialogButtonBox>(dialog.get(), "buttonBox")->button(QDialogButtonBox::Ok);
    }

    cConsoleCapture console;
    cRunSettingsFolder folders;
    GameConfig config;
    MapProfileRecord profile = Run_Quake3Profile();
    std::unique_ptr<cRunMapDialog> dialog;
};

TEST_F(RunMapDialogTest, TheFormInBothModes) {
    cRunMapDialog* d = dialog.get();
    EXPECT_EQ(d->objectName(), "cRunMapDialog");
    EXPECT_EQ(d->windowTitle(), "Run Map");
    EXPECT_EQ(d->size(), QSize(310, 342));
    EXPECT_EQ(d->minimumSize(), d->maximumSize());
    EXPECT_TRUE(d->isModal());
    EXPECT_FALSE(d->windowFlags() & Qt::WindowContextHelpButtonHint);
    const struct {
        const char* name;
        const char* text;
    } texts[] = {{"label", "&Additional game parameters:"},
                 {"cmdCSG", "Run CSG"},
                 {"rbCSGNo", "No"},
                 {"rbCSGNormal", "Normal"},
                 {"rbCSGOnlyents", "Entities only"},
                 {"cmdBSP", "Run BSP"},
                 {"rbBSPOnlyents", "Entities only"},
                 {"cmdVIS", "Run VIS"},
                 {"rbVISFast", "Fast"},
                 {"cmdLIGHT", "Run LIGHT"},
                 {"rbLIGHTExtra", "Extra"},
                 {"cbDontRunGame", "&Don't run the game"},
                 {"label_3", "&Configurations:"},
                 {"btnEditConfigs", "&Edit..."},
                 {"groupBox", "Command Properties"},
                 {"label_4", "Co&mmand:"},
                 {"btnCmds", "Cmd&s"},
                 {"label_5", "&Parameters:"},
                 {"btnParms", "P&arms"},
                 {"cbEnsurePost", "&Ensure File Post-exists:"},
                 {"btnFiles", "&Files"},
                 {"cbProcWnd", "Use &Process Window"},
                 {"cbWait", "&Wait for Termination"},
                 {"groupBox2", "Compile/Run Commands"},
                 {"btnNewCmd", "Ne&w"},
                 {"btnRemoveCmd", "&Remove"},
                 {"btnUpCmd", "&Up"},
                 {"btnDownCmd", "&Down"},
                 {"cbVisibleOnly", "Save &visible objects only"},
                 {"btnExpert", "&Expert"}};
    for (const auto& t : texts) {
        QWidget* w = Widget_Find<QWidget>(d, t.name);
        ASSERT_TRUE(w);
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
        if (auto* group = qobject_cast<QGroupBox*>(w)) text = group->title();
        EXPECT_EQ(text, t.text) << t.name;
    }
    EXPECT_EQ(Widget_Find<QLabel>(d, "label")->buddy(), Widget_Find<QLineEdit>(d, "txtCmdLine"));
    EXPECT_TRUE(Widget_Find<QRadioButton>(d, "rbVISNormal")->isChecked());
    EXPECT_FALSE(Widget_Find<QLineEdit>(d, "txtFiles")->isEnabled());
    EXPECT_FALSE(Widget_Find<QPushButton>(d, "btnFiles")->isEnabled());
    EXPECT_TRUE(ok()->isDefault());
    EXPECT_FALSE(Widget_Find<QPushButton>(d, "btnExpert")->isDefault());
    // The game configuration and the Quake III profile.
    EXPECT_EQ(Widget_Find<QLineEdit>(d, "txtCmdLine")->text(), "+set a 1");
    EXPECT_EQ(Widget_Find<QLineEdit>(d, "txtCmdLine")->selectedText(), "+set a 1");
    EXPECT_FALSE(Widget_Find<QGroupBox>(d, "cmdVIS")->isEnabled());
    EXPECT_TRUE(Widget_Find<QGroupBox>(d, "cmdLIGHT")->isEnabled());
    EXPECT_TRUE(Widget_Find<QRadioButton>(d, "rbCSGOnlyents")->isHidden());
    EXPECT_TRUE(Widget_Find<QRadioButton>(d, "rbBSPOnlyents")->isVisible());
    EXPECT_TRUE(Widget_Find<QRadioButton>(d, "rbBSPOnlyents")->isEnabled());
    EXPECT_TRUE(Widget_Find<QRadioButton>(d, "rbLIGHTExtra")->isEnabled());
    EXPECT_TRUE(Widget_Find<QWidget>(d, "wRunMapNormal")->isVisible());
    EXPECT_FALSE(Widget_Find<QWidget>(d, "wRunMapExpert")->isVisible());

    expert();
    EXPECT_TRUE(g_mainWindow->settings.ExpertMode);
    EXPECT_EQ(d->windowTitle(), "Run Map [Advanced]");
    EXPECT_EQ(d->size(), QSize(630, 402));
    EXPECT_EQ(Widget_Find<QPushButton>(d, "btnExpert")->text(), "&Normal");
    EXPECT_FALSE(Widget_Find<QWidget>(d, "wRunMapNormal")->isVisible());
    const QRect buttons = Widget_Find<QDialogButtonBox>(d, "buttonBox")->geometry();
    EXPECT_EQ(buttons.right(), 630 - 11);
    EXPECT_LT(Widget_Find<QCheckBox>(d, "cbVisibleOnly")->geometry().bottom(), buttons.top());
    EXPECT_EQ(Widget_Find<QPushButton>(d, "btnExpert")->x(), 10);
    d->retranslate();
    EXPECT_EQ(d->windowTitle(), "Run Map [Advanced]");
    EXPECT_EQ(Widget_Find<QPushButton>(d, "btnExpert")->text(), "&Normal");
    EXPECT_EQ(Widget_Find<QComboBox>(d, "cbConfigs")->itemText(0), "Default");
    EXPECT_FALSE(Widget_Find<QComboBox>(d, "cbConfigs")->itemIcon(0).isNull());
    EXPECT_EQ(list()->count(), 7);
    EXPECT_EQ(list()->item(0)->text(), "Change Directory: $gamedir");
    EXPECT_EQ(list()->item(6)->text(), "$game_exe: -console -dev +map $file");
    EXPECT_EQ(list()->item(0)->checkState(), Qt::Checked);
    Widget_Click(Widget_Find<QPushButton>(d, "btnExpert"));
    EXPECT_EQ(d->windowTitle(), "Run Map");
    EXPECT_EQ(d->size(), QSize(310, 342));
}

TEST_F(RunMapDialogTest, NormalChoicesBuildTheCommands) {
    const QString maps = folders.root.filePath("base/maps");
    Run_WriteFile(maps + "/dm1.map", "x");
    Widget_Click(Widget_Find<QRadioButton>(dialog.get(), "rbBSPOnlyents"));
    Widget_Click(Widget_Find<QRadioButton>(dialog.get(), "rbCSGNo"));
    Widget_Click(Widget_Find<QCheckBox>(dialog.get(), "cbDontRunGame"));
    dialog->setMapFile(maps + "/dm1.map");
    const RunCommandList& list = dialog->buildCommands();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[1]->Prog, "/opt/q3map2");
    EXPECT_EQ(list[1]->Arguments,
              QStringList({"-meta", "-onlyents", QFileInfo(maps).canonicalFilePath() + "/dm1"}));
    EXPECT_EQ(list[2]->Prog, "/opt/light");
    // OK stores the additional parameters in the game configuration.
    QLineEdit* line = Widget_Find<QLineEdit>(dialog.get(), "txtCmdLine");
    line->clear();
    type(line, "+set b 2");
    Widget_Click(ok());
    EXPECT_EQ(config.GameCommandLine, "+set b 2");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(RunMapDialogTest, EditingCommandsInExpertMode) {
    expert();
    auto empty = std::make_shared<RunConfig>();
    empty->Title = "Empty";
    dialog->configurations().append(empty);
    QComboBox* configs = Widget_Find<QComboBox>(dialog.get(), "cbConfigs");
    {
        cDialogAnswer close; // the list editor: closed without a change
        Widget_Click(Widget_Find<QPushButton>(dialog.get(), "btnEditConfigs"));
        EXPECT_TRUE(close.answered);
    }
    ASSERT_EQ(configs->count(), 2);
    configs->setCurrentIndex(1);
    EXPECT_FALSE(ok()->isEnabled());
    EXPECT_FALSE(Widget_Find<QGroupBox>(dialog.get(), "groupBox")->isEnabled());
    Widget_Click(Widget_Find<QPushButton>(dialog.get(), "btnNewCmd"));
    EXPECT_TRUE(ok()->isEnabled());
    ASSERT_EQ(empty->Commands.size(), 1);
    EXPECT_EQ(empty->Commands[0]->Type, RUNCMD_RUN);
    EXPECT_EQ(empty->Commands[0]->Flags, RUNCMD_ENABLED);

    // "Copy File" makes a copy; one more typed character makes it a run command again.
    QLineEdit* cmds = Widget_Find<QLineEdit>(dialog.get(), "txtCmds");
    QLineEdit* parms = Widget_Find<QLineEdit>(dialog.get(), "txtParms");
    type(parms, "\"a b.map\" c.map");
    choose(Widget_Find<QPushButton>(dialog.get(), "btnCmds"), "Copy File");
    RunCommand& c = *empty->Commands[0];
    EXPECT_EQ(c.Type, RUNCMD_COPY);
    EXPECT_EQ(c.Prog, "\"a b.map\"");
    EXPECT_EQ(c.Args, "c.map");
    EXPECT_EQ(list()->item(0)->text(), "Copy File: \"a b.map\" c.map");
    EXPECT_FALSE(Widget_Find<QCheckBox>(dialog.get(), "cbProcWnd")->isEnabled());
    type(cmds, "x");
    EXPECT_EQ(c.Type, RUNCMD_RUN);
    EXPECT_TRUE(cmds->text().isEmpty());
    EXPECT_TRUE(c.Prog.isEmpty());
    type(cmds, "q3map2");
    EXPECT_EQ(c.Prog, "q3map2");

    // Wait on, then the process window: types 6 and 1.
    Widget_Click(Widget_Find<QCheckBox>(dialog.get(), "cbWait"));
    EXPECT_EQ(c.Type, RUNCMD_RUN_WAIT);
    list()->setCurrentRow(-1);
    list()->setCurrentRow(0);
    EXPECT_FALSE(Widget_Find<QCheckBox>(dialog.get(), "cbProcWnd")->isChecked());
    EXPECT_TRUE(Widget_Find<QCheckBox>(dialog.get(), "cbWait")->isChecked());
    EXPECT_TRUE(Widget_Find<QCheckBox>(dialog.get(), "cbWait")->isEnabled());
    Widget_Click(Widget_Find<QCheckBox>(dialog.get(), "cbProcWnd"));
    EXPECT_EQ(c.Type, RUNCMD_PROCESS_WINDOW);
    EXPECT_FALSE(Widget_Find<QCheckBox>(dialog.get(), "cbWait")->isEnabled());

    // The Parms entries append; the file check and its field.
    parms->clear();
    choose(Widget_Find<QPushButton>(dialog.get(), "btnParms"), "Map Filename (no extension)");
    choose(Widget_Find<QPushButton>(dialog.get(), "btnParms"), "Map Filename (no extension)");
    EXPECT_EQ(parms->text(), "$file$file");
    EXPECT_EQ(c.Args, "$file$file");
    Widget_Click(Widget_Find<QCheckBox>(dialog.get(), "cbEnsurePost"));
    EXPECT_EQ(c.Flags, RUNCMD_ENABLED | RUNCMD_CHECK_FILE);
    EXPECT_TRUE(Widget_Find<QLineEdit>(dialog.get(), "txtFiles")->isEnabled());
    choose(Widget_Find<QPushButton>(dialog.get(), "btnFiles"), "Compiled Map");
    EXPECT_EQ(c.FileCheck, "$bspdir/$file.$bspext");
    // The row's check mark is the enabled bit.
    QListWidgetItem* row = list()->item(0);
    Widget_ClickAt(list()->viewport(), list()->visualItemRect(row).topLeft() + QPoint(10, 8));
    EXPECT_EQ(row->checkState(), Qt::Unchecked) << "clicked beside the check mark";
    EXPECT_EQ(c.Flags, RUNCMD_CHECK_FILE);

    // Removing the only command asks first.
    cPromptScript prompts;
    prompts.answerButton(PromptButton::No);
    prompts.answerButton(PromptButton::Yes);
    Widget_Click(Widget_Find<QPushButton>(dialog.get(), "btnRemoveCmd"));
    EXPECT_EQ(empty->Commands.size(), 1);
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, "Are you sure to remove the command #1?\n\nq3map2: $file$file");
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Warning);
    Widget_Click(Widget_Find<QPushButton>(dialog.get(), "btnRemoveCmd"));
    EXPECT_TRUE(empty->Commands.isEmpty());
    EXPECT_EQ(list()->count(), 0);
    EXPECT_FALSE(Widget_Find<QGroupBox>(dialog.get(), "groupBox")->isEnabled());
    EXPECT_FALSE(ok()->isEnabled());
}

// The two browse entries ask through the file prompt, for a program and for any file; the second
// starts in the folder of the first answer, and each answer replaces its field's text.
TEST_F(RunMapDialogTest, BrowseEntriesAskThroughTheFilePrompt) {
    expert();
    list()->setCurrentRow(1);
    auto* ensure = Widget_Find<QCheckBox>(dialog.get(), "cbEnsurePost");
    if (!ensure->isChecked()) Widget_Click(ensure);
    QTemporaryDir files;
    ASSERT_TRUE(files.isValid());
    const struct {
        const char* button;
        const char* entry;
        const char* file;
        const char* filter;
        const char* field;
    } cases[] = {{"btnCmds", "Executable...", "q3map2", "Executables (*)", "txtCmds"},
                 {"btnFiles", "Browse...", "room.bsp", "All Files (*)", "txtFiles"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        const QString path = files.filePath(QLatin1String(c.file));
        ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
        cPromptScript prompts;
        prompts.answerText(path);
        choose(Widget_Find<QPushButton>(dialog.get(), c.button), QLatin1String(c.entry));
        ASSERT_EQ(prompts.asked.size(), 1);
        EXPECT_EQ(prompts.asked[0].kind, PromptKind::OpenFileName);
        EXPECT_EQ(prompts.asked[0].filter, QLatin1String(c.filter));
        if (&c != cases) {
            EXPECT_EQ(prompts.asked[0].directory, QFileInfo(path).canonicalPath());
        }
        EXPECT_EQ(Widget_Find<QLineEdit>(dialog.get(), c.field)->text(), path);
    }
}

TEST_F(RunMapDialogTest, MovingAndRemovingKeepTheSelection) {
    expert();
    RunConfig& defaults = current();
    list()->setCurrentRow(1);
    EXPECT_TRUE(Widget_Find<QPushButton>(dialog.get(), "btnUpCmd")->isEnabled());
    Widget_Click(Widget_Find<QPushButton>(dialog.get(), "btnUpCmd"));
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_EQ(defaults.Commands[0]->Prog, "$csg_exe");
    EXPECT_EQ(list()->item(0)->text(), "$csg_exe: $bspdir/$file");
    EXPECT_FALSE(Widget_Find<QPushButton>(dialog.get(), "btnUpCmd")->isEnabled());
    Widget_Click(Widget_Find<QPushButton>(dialog.get(), "btnDownCmd"));
    EXPECT_EQ(list()->currentRow(), 1);
    EXPECT_EQ(defaults.Commands[1]->Prog, "$csg_exe");
    list()->setCurrentRow(6);
    EXPECT_FALSE(Widget_Find<QPushButton>(dialog.get(), "btnDownCmd")->isEnabled());
    // The fields show the selected command; removing the first selects the new first.
    list()->setCurrentRow(0);
    EXPECT_EQ(Widget_Find<QLineEdit>(dialog.get(), "txtCmds")->text(), "Change Directory");
    EXPECT_EQ(Widget_Find<QLineEdit>(dialog.get(), "txtParms")->text(), "$gamedir");
    EXPECT_FALSE(Widget_Find<QCheckBox>(dialog.get(), "cbProcWnd")->isEnabled());
    cPromptScript prompts;
    prompts.answerButton(PromptButton::Yes);
    Widget_Click(Widget_Find<QPushButton>(dialog.get(), "btnRemoveCmd"));
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_EQ(Widget_Find<QLineEdit>(dialog.get(), "txtCmds")->text(), "$csg_exe");
    EXPECT_TRUE(Widget_Find<QCheckBox>(dialog.get(), "cbProcWnd")->isChecked());

    // Every configuration removed: both groups off, OK off in expert mode only.
    dialog->configurations().clear();
    {
        cDialogAnswer close;
        Widget_Click(Widget_Find<QPushButton>(dialog.get(), "btnEditConfigs"));
    }
    EXPECT_EQ(Widget_Find<QComboBox>(dialog.get(), "cbConfigs")->count(), 0);
    EXPECT_FALSE(Widget_Find<QGroupBox>(dialog.get(), "groupBox")->isEnabled());
    EXPECT_FALSE(Widget_Find<QGroupBox>(dialog.get(), "groupBox2")->isEnabled());
    EXPECT_FALSE(ok()->isEnabled());
    Widget_Click(Widget_Find<QPushButton>(dialog.get(), "btnExpert"));
    EXPECT_TRUE(ok()->isEnabled());
}

TEST(RunMapDialogParse, SourceAndDestination) {
    const struct {
        const char* text;
        const char* source;
        const char* destination;
    } cases[] = {
        {"a.map b.map", "a.map", "b.map"},
        {"  \"a b.map\" c d", "\"a b.map\"", "c d"},
        {"a.map", "a.map", ""},
        {"\"a\"b", "", "a\"b"}, // the quoted form needs a blank or quote after it
        {"", "", ""},
    };
    for (const auto& c : cases) {
        QString source, destination;
        cRunMapDialog::parseSourceDestination(c.text, &source, &destination);
        EXPECT_EQ(source, c.source) << c.text;
        EXPECT_EQ(destination, c.destination) << c.text;
    }
}

TEST_F(RunMapDialogTest, TheMenus) {
    const QPushButton* buttons[3] = {Widget_Find<QPushButton>(dialog.get(), "btnCmds"),
                                     Widget_Find<QPushButton>(dialog.get(), "btnParms"),
                                     Widget_Find<QPushButton>(dialog.get(), "btnFiles")};
    QStringList seen;
    for (QMenu* menu : dialog->findChildren<QMenu*>()) {
        QStringList entries;
        for (QAction* action : menu->actions()) {
            entries << (action->isSeparator() ? "-" : action->text());
            if (auto* entry = qobject_cast<QRunMapContextMenuAction*>(action)) {
                EXPECT_TRUE(entry->target);
                entries.last() += "=" + entry->insertText + "/" + QString::number(entry->mode);
            }
        }
        EXPECT_LE(menu->actions().size(), 15);
        seen << menu->whatsThis() + ": " + entries.join(", ");
    }
    (void)buttons;
    EXPECT_EQ(seen,
              QStringList(
                  {"Cmds: Executable...=/3, Change Directory=Change Directory/1, Copy File=Copy File/1, "
                   "Delete File=Delete File/1, Rename File=Rename File/1, -, CSG Program=$csg_exe/1, "
                   "BSP Program=$bsp_exe/1, VIS Program=$vis_exe/1, LIGHT Program=$light_exe/1, "
                   "Game Program=$game_exe/1",
                   "Parms: Map Filename (no extension)=$file/0, Map Filename (with extension)=$file.$ext/0, "
                   "Map Path (no filename)=$path/0, -, Game Executable Directory=$exedir/0, Compiled "
                   "Maps Directory=$bspdir/0, Game Directory=$gamedir/0, Mod Directory=$moddir/0",
                   "Files: Browse...=/5, Compiled Map=$bspdir/$file.$bspext/1, Portal "
                   "File=$bspdir/$file.prt/1, -, Map Filename (no extension)=$file/0, Map Filename (with "
                   "extension)=$file.$ext/0, Map Path (no filename)=$path/0, -, Compiled Map "
                   "Filename=$file.$bspext/0, Compiled Map Path (no filename)=$bspdir/0, -, Game "
                   "Executable Directory=$exedir/0, Game Directory=$gamedir/0, Mod Directory=$moddir/0"}));
}

} // namespace
