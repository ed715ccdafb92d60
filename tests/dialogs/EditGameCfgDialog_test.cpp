#include "dialogs/application/EditGameCfgDialog.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "core/Prompt.h"
#include "dialogs/application/EditRunCfgDialog.h"
#include "gamedata/GameConfig.h"
#include "mainwindow/MainWindow.h"
#include "EditCfgForm.h"

namespace {

QStringList items(const EditCfgForm& ui) {
    QStringList out;
    for (int i = 0; i < ui.lstGameCfg->count(); ++i)
        out.append(ui.lstGameCfg->item(i)->text());
    return out;
}

void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// A manager holding "Quake" (current) and "Arena".
class EditGameCfgTest : public ::testing::Test {
protected:
    void SetUp() override {
        GameCfg_AddConfig(&manager, QStringLiteral("Quake"));
        GameCfg_AddConfig(&manager, QStringLiteral("Arena"));
        GameCfg_SelectByTitle(&manager, QStringLiteral("Quake"));
        dialog = std::make_unique<cEditGameCfgDialog>(&manager);
        dialog->show();
    }
    QStringList titles() const {
        QStringList out;
        for (const GameConfig* c : manager.configs)
            out.append(c->Title);
        return out;
    }

    cMainWindow window;
    GameConfigManager manager;
    std::unique_ptr<cEditGameCfgDialog> dialog;
};

TEST_F(EditGameCfgTest, AddCopyAndRenameKeepTitlesUnique) {
    const EditCfgForm ui(dialog.get());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Edit Configurations"));
    EXPECT_EQ(ui.lstGameCfg->currentItem()->text(), QStringLiteral("Quake"));
    cPromptScript script;
    for (int i = 0; i < 3; ++i)
        script.answerText(QStringLiteral("New Game"));
    for (int i = 0; i < 3; ++i)
        click(ui.btnAdd);
    EXPECT_EQ(script.asked[0].title, QStringLiteral("Add a game"));
    EXPECT_EQ(script.asked[0].text, QStringLiteral("Enter the game's name:"));
    EXPECT_EQ(script.asked[0].initial, QStringLiteral("New Game"));
    EXPECT_EQ(dialog->selectedTitle(), QStringLiteral("New Game (3)"));
    const GameConfig* added = GameCfg_FindConfig(&manager, QStringLiteral("New Game"));
    ASSERT_NE(added, nullptr);
    EXPECT_TRUE(added->Enabled);
    EXPECT_EQ(added->TextureFormat, 1);

    ui.lstGameCfg->setCurrentRow(0);
    click(ui.btnCopy);
    ui.lstGameCfg->setCurrentRow(0);
    click(ui.btnCopy);
    click(ui.btnCopy); // the copy is current: its copy follows
    EXPECT_EQ(titles().mid(5), (QStringList{"Quake Copy", "Quake Copy (2)", "Quake Copy (2) Copy"}));
    ui.lstGameCfg->setCurrentRow(5);
    click(ui.btnCopy);
    EXPECT_EQ(titles().last(), QStringLiteral("Quake Copy Copy"));

    // Case counts; a taken title is numbered; the same text or a cancel changes nothing.
    ui.lstGameCfg->setCurrentRow(0);
    for (const char* answer : {"quake", "Arena", "Arena (2)", ""})
        script.answerText(QLatin1String(answer));
    click(ui.btnRename);
    EXPECT_EQ(script.asked.last().title, QStringLiteral("Rename the game"));
    EXPECT_EQ(script.asked.last().initial, QStringLiteral("Quake"));
    EXPECT_EQ(items(ui).first(), QStringLiteral("quake"));
    click(ui.btnRename);
    EXPECT_EQ(items(ui).first(), QStringLiteral("Arena (2)"));
    click(ui.btnRename);
    click(ui.btnRename);
    EXPECT_EQ(titles().first(), QStringLiteral("Arena (2)"));
    EXPECT_EQ(items(ui), titles());
    EXPECT_EQ(manager.byTitle.value(QStringLiteral("Arena (2)")), manager.configs.first());
}

TEST_F(EditGameCfgTest, RemoveRefusedWhileInUseAndEmptyListDisablesButtons) {
    const EditCfgForm ui(dialog.get());
    manager.configs[0]->inUseCount = 2;
    cPromptScript script;
    click(ui.btnRemove);
    ASSERT_EQ(script.asked.size(), 1);
    EXPECT_EQ(script.asked[0].text,
              QStringLiteral("Game configuration \"Quake\" is currently in use.\nPlease close 2 "
                             "projects using the configuration before you can remove it."));
    EXPECT_EQ(titles().size(), 2);
    manager.configs[0]->inUseCount = 0;
    click(ui.btnRemove); // answered No
    EXPECT_EQ(script.asked.last().text,
              QStringLiteral("Are you sure to remove game configuration \"Quake\"?"));
    EXPECT_EQ(titles().size(), 2);
    for (int i = 0; i < 2; ++i) {
        script.answerButton(PromptButton::Yes);
        ui.lstGameCfg->setCurrentRow(0);
        click(ui.btnRemove);
    }
    EXPECT_TRUE(manager.configs.isEmpty());
    EXPECT_EQ(manager.current, nullptr);
    EXPECT_FALSE(ui.btnRemove->isEnabled());
    EXPECT_FALSE(ui.btnRename->isEnabled());
    EXPECT_FALSE(ui.btnCopy->isEnabled());
    EXPECT_TRUE(ui.btnAdd->isEnabled());
    EXPECT_TRUE(dialog->selectedTitle().isEmpty());
}

std::shared_ptr<RunConfig> runConfig(const char* title, const char* program) {
    auto config = std::make_shared<RunConfig>();
    config->Title = QLatin1String(title);
    auto command = std::make_shared<RunCommand>();
    command->Prog = QLatin1String(program);
    config->Commands.append(command);
    return config;
}

TEST(EditRunCfgTest, ActsByRowAndCopiesDeep) {
    RunConfigList list{runConfig("Default", "first"), runConfig("Default", "second")};
    cEditRunCfgDialog dialog(1, list);
    dialog.show();
    const EditCfgForm ui(&dialog);
    EXPECT_EQ(ui.lstGameCfg->currentRow(), 1);
    cPromptScript script;
    click(ui.btnCopy);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[2]->Title, QStringLiteral("Default Copy"));
    EXPECT_EQ(list[2]->Commands[0]->Prog, QStringLiteral("second"));
    list[2]->Commands[0]->Prog = QStringLiteral("changed");
    EXPECT_EQ(list[1]->Commands[0]->Prog, QStringLiteral("second"));

    ui.lstGameCfg->setCurrentRow(1);
    script.answerText(QStringLiteral("Default Copy"));
    click(ui.btnRename);
    EXPECT_EQ(script.asked.last().title, QStringLiteral("Rename Configuration"));
    EXPECT_EQ(list[0]->Title, QStringLiteral("Default"));
    EXPECT_EQ(list[1]->Title, QStringLiteral("Default Copy (2)"));

    script.answerText(QStringLiteral("New Configuration"));
    click(ui.btnAdd);
    EXPECT_EQ(list.last()->Title, QStringLiteral("New Configuration"));
    EXPECT_TRUE(list.last()->Commands.isEmpty());
    EXPECT_EQ(dialog.currentRow(), 3);

    while (!list.isEmpty()) {
        script.answerButton(PromptButton::Yes);
        click(ui.btnRemove);
        ui.lstGameCfg->setCurrentRow(0);
    }
    EXPECT_EQ(ui.lstGameCfg->count(), 0);
    EXPECT_FALSE(ui.btnCopy->isEnabled());
    EXPECT_EQ(dialog.currentRow(), -1);
}

} // namespace
