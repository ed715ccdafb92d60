#include <QListWidget>
#include <QSet>
#include <QPushButton>

#include "PreferencesFixture.h"
#include "dialogs/application/EditGameCfgDialog.h"
#include "document/MapDocument.h"
#include "gamedata/GameData.h"
#include "gamedata/TexturePackage.h"
#include "EditCfgForm.h"

namespace {

// The sample configuration "Test" (Quake III, used by the open map, the sample effects listed)
// and "Pal" on the test plugin's profile, which uses a palette.
class PreferencesGameProfileTest : public cPreferencesFixture {
protected:
    QByteArray configFile() const override {
        return "[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\nTextureFormat=3\nGameBasedir=" +
               samplesDir().toUtf8() + "/quake3\n" + "Parcel0=" + shaderPath().toUtf8() +
               "\n[Config1]\nTitle=Pal\nEnabled=false\nMapProfile=kpTest\nTextureFormat=1\nPaletteFile=" +
               palette + "\nGameBasedir=" + path("game/base").toUtf8() + "\n";
    }
    static QString shaderPath() { return samplesDir() + QStringLiteral("/quake3/scripts/sample.shader"); }
    static QString fgdPath(const char* name) {
        return samplesDir() + QStringLiteral("/quake3/") + QLatin1String(name);
    }
    // Runs the list editor from the page and lets fill act on it.
    static void editList(cPreferencesDialog* d, const std::function<void(QDialog*)>& fill) {
        cDialogAnswer answer(fill, false);
        click(d->btnConfigEdit);
        EXPECT_TRUE(answer.answered);
    }

    QByteArray palette;
};

TEST_F(PreferencesGameProfileTest, NewConfigurationFgdFilesAndClassLists) {
    auto dialog = openDialog(3);
    EXPECT_EQ(dialog->tabWidget2->currentIndex(), 0);
    EXPECT_EQ(dialog->cbConfig->currentText(), QStringLiteral("Test"));
    EXPECT_EQ(dialog->lstTextures->rowCount(), 1);

    cPromptScript script;
    script.answerText(QStringLiteral("Mine"));
    editList(dialog.get(), [](QDialog* d) { click(EditCfgForm(d).btnAdd); });
    EXPECT_EQ(dialog->cbConfig->currentText(), QStringLiteral("Mine"));
    GameConfig* mine = GameCfg_FindConfig(dialog->workingConfigs.get(), QStringLiteral("Mine"));
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(mine->MapProfile, QStringLiteral("kpQuake3")); // "Quake III" before "Test Game"
    EXPECT_EQ(mine->TextureFormat, 1);
    EXPECT_EQ(dialog->cbTexFmt->currentText(), QStringLiteral("Packages"));
    EXPECT_FALSE(dialog->btnTexAddDir->isEnabled());
    EXPECT_FALSE(dialog->btnFgdEdit->isEnabled());

    // Two files, the second one missing: painted red, kept in the list.
    script.answerText(fgdPath("q3base.fgd"));
    script.answerText(fgdPath("q3entities.fgd"));
    script.answerText(path("missing.fgd"));
    reveal(dialog->btnFgdAdd);
    for (int i = 0; i < 3; ++i)
        click(dialog->btnFgdAdd);
    ASSERT_EQ(dialog->lstFgd->count(), 3);
    EXPECT_NE(dialog->lstFgd->item(0)->foreground().color(), QColor(Qt::red));
    EXPECT_EQ(dialog->lstFgd->item(2)->foreground().color(), QColor(Qt::red));
    EXPECT_EQ(mine->GameData.size(), 3);
    EXPECT_TRUE(dialog->btnFgdRemove->isEnabled());
    // The class lists are sorted in plain (case-sensitive) order, as the boxes sort, and hold each
    // class once whatever its case; the game's team flags are points, its teleport trigger a solid.
    for (QComboBox* box : {dialog->cbDefaultPoint, dialog->cbDefaultSolid}) {
        QStringList items;
        QSet<QString> folded;
        for (int i = 0; i < box->count(); ++i) {
            items.append(box->itemText(i));
            folded.insert(box->itemText(i).toCaseFolded());
        }
        ASSERT_FALSE(items.isEmpty());
        QStringList sorted = items;
        sorted.sort(Qt::CaseSensitive);
        EXPECT_EQ(items.join(' ').toStdString(), sorted.join(' ').toStdString());
        EXPECT_EQ(folded.size(), items.size());
    }
    EXPECT_GE(dialog->cbDefaultPoint->findText(QStringLiteral("team_CTF_redflag")), 0);
    EXPECT_GE(dialog->cbDefaultSolid->findText(QStringLiteral("trigger_teleport")), 0);
    EXPECT_EQ(mine->DefaultPointClass, dialog->cbDefaultPoint->currentText());
    // Removing every file empties the lists and the buttons go off.
    for (int i = 0; i < 3; ++i) {
        dialog->lstFgd->setCurrentRow(0);
        click(dialog->btnFgdRemove);
    }
    EXPECT_EQ(dialog->cbDefaultPoint->count(), 0);
    EXPECT_FALSE(dialog->btnFgdEdit->isEnabled());
    EXPECT_TRUE(mine->GameData.isEmpty());

    // Browsed paths are stored with "/".
    script.answerText(QStringLiteral("C:\\Games\\Q3\\quake3.x86"));
    reveal(dialog->btnGameExe);
    click(dialog->btnGameExe);
    EXPECT_EQ(mine->GameExecutable, QStringLiteral("C:/Games/Q3/quake3.x86"));
    EXPECT_EQ(script.asked.last().filter, QStringLiteral("Executables (*)"));
}

TEST_F(PreferencesGameProfileTest, FormatAndMapTypeRefusedWhilePackagesAreListed) {
    auto dialog = openDialog(3);
    reveal(dialog->cbTexFmt);
    int formatCalls = 0;
    QObject::connect(dialog->cbTexFmt, &QComboBox::currentIndexChanged, [&] { ++formatCalls; });
    cPromptScript script;
    dialog->cbTexFmt->setFocus();
    QTest::keyClick(dialog->cbTexFmt, Qt::Key_Down);
    EXPECT_EQ(texts(script),
              QStringList{QStringLiteral("Cannot change texture format while some textures are "
                                         "loaded!\nPlease clear the texture list before modifying "
                                         "the texture format.")});
    EXPECT_EQ(dialog->cbTexFmt->currentText(), QStringLiteral("All"));
    EXPECT_EQ(formatCalls, 2); // the change and its roll-back, each once
    dialog->cbMapType->setFocus();
    QTest::keyClick(dialog->cbMapType, Qt::Key_Down);
    EXPECT_EQ(script.asked.size(), 2);
    EXPECT_EQ(dialog->cbMapType->currentText(), QStringLiteral("Quake III"));
    EXPECT_EQ(dialog->workingConfigs->current->MapProfile, QStringLiteral("kpQuake3"));
}

TEST_F(PreferencesGameProfileTest, ApplyHandsTheCopyToTheWindowAndKeepsMapsBound) {
    MapDocument* document = child->document;
    ASSERT_NE(document->gameConfig, nullptr);
    auto dialog = openDialog(3);
    cPromptScript script;
    script.answerButton(PromptButton::Ignore); // "Pal" has no palette
    script.answerText(QStringLiteral("Renamed"));
    editList(dialog.get(), [](QDialog* d) {
        const EditCfgForm editor(d);
        editor.lstGameCfg->setCurrentRow(0);
        click(editor.btnRename);
    });
    enterText(dialog->txtGameModdir, QStringLiteral("mymod"));
    press(dialog.get(), QDialogButtonBox::Apply);
    ASSERT_EQ(window->gameConfigs.configs.size(), 2);
    for (qsizetype i = 0; i < 2; ++i) {
        const GameConfig* live = window->gameConfigs.configs[i];
        const GameConfig* copy = dialog->workingConfigs->configs[i];
        EXPECT_EQ(live->Title, copy->Title);
        EXPECT_EQ(live->GameModdir, copy->GameModdir);
        EXPECT_EQ(live->Parcel, copy->Parcel);
    }
    EXPECT_EQ(window->gameConfigs.configs[0]->Title, QStringLiteral("Renamed"));
    ASSERT_NE(document->gameConfig, nullptr);
    EXPECT_EQ(document->gameConfig, window->gameConfigs.configs[0]);
    EXPECT_EQ(document->gameConfig->inUseCount, 1);
    EXPECT_EQ(document->gameConfigName, QStringLiteral("Renamed"));
    press(dialog.get(), QDialogButtonBox::Cancel);

    ASSERT_TRUE(window->writeSettings());
    GameConfigManager reread;
    ASSERT_TRUE(GameCfg_LoadConfigurationsFrom(
        &reread, window->resolveConfigFile(QStringLiteral("KDKGameCfg.ini"), false)));
    ASSERT_EQ(reread.configs.size(), 2);
    EXPECT_EQ(reread.configs[0]->Title, QStringLiteral("Renamed"));
    EXPECT_EQ(reread.configs[0]->GameModdir, QStringLiteral("mymod"));
}

TEST_F(PreferencesGameProfileTest, CancelLeavesTheConfigurationsAndTheFile) {
    ASSERT_TRUE(window->writeSettings());
    const QString file = window->resolveConfigFile(QStringLiteral("KDKGameCfg.ini"), true);
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray before = in.readAll();
    in.close();
    const QStringList liveData = window->gameConfigs.configs[0]->GameData;
    QDir().mkpath(path("tex"));
    writeFile("tex/a.tga", "x");
    writeFile("tex/b.jpg", "x");
    {
        auto dialog = openDialog(3);
        cPromptScript script;
        script.answerText(fgdPath("q3base.fgd"));
        script.answerText(path("tex/a.tga") + QLatin1Char('\n') + path("tex/b.jpg"));
        click(dialog->btnFgdAdd);
        reveal(dialog->btnTexAddFile);
        click(dialog->btnTexAddFile);
        EXPECT_EQ(dialog->lstTextures->rowCount(), 3);
        EXPECT_NE(Tex_FindPackage(path("tex/a.tga")), nullptr);
        press(dialog.get(), QDialogButtonBox::Cancel);
    }
    EXPECT_EQ(window->gameConfigs.configs[0]->GameData, liveData);
    EXPECT_EQ(window->gameConfigs.configs[0]->Parcel, QStringList{shaderPath()});
    EXPECT_EQ(Tex_FindPackage(path("tex/a.tga")), nullptr);
    EXPECT_EQ(Tex_FindPackage(path("tex/b.jpg")), nullptr);
    ASSERT_TRUE(window->writeSettings());
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), before);
}

TEST_F(PreferencesGameProfileTest, PaletteCheckAtApply) {
    QDir().mkpath(path("game/base"));
    // Empty: Abort shows the configuration on "&Textures" with its palette text selected.
    {
        auto dialog = openDialog(0);
        cPromptScript script;
        script.answerButton(PromptButton::Abort);
        press(dialog.get(), QDialogButtonBox::Ok);
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(script.asked.size(), 1);
        EXPECT_EQ(script.asked[0].buttons, PromptButton::Abort | PromptButton::Ignore);
        EXPECT_EQ(dialog->tabWidget->currentWidget(), dialog->tabcfg);
        EXPECT_EQ(dialog->tabWidget2->currentWidget(), dialog->tab_4);
        EXPECT_EQ(dialog->cbConfig->currentText(), QStringLiteral("Pal"));
        EXPECT_TRUE(dialog->txtPalette->isEnabled());
        EXPECT_EQ(dialog->focusWidget(), dialog->txtPalette);
        EXPECT_EQ(dialog->txtPalette->selectedText(), dialog->txtPalette->text());
        // Typed under the game root: stored relative to it; Ignore on a missing file applies.
        enterText(dialog->txtPalette, path("game/gfx/palette.pal"));
        EXPECT_EQ(dialog->workingConfigs->current->PaletteFile, QStringLiteral("gfx/palette.pal"));
        script.answerButton(PromptButton::Ignore);
        press(dialog.get(), QDialogButtonBox::Apply);
        EXPECT_EQ(window->gameConfigs.configs[1]->PaletteFile, QStringLiteral("gfx/palette.pal"));
        // Retry after the file appears settles it without another box.
        script.answerButton(PromptButton::Retry);
        script.onAsk = [this](const PromptRequest&) {
            writeFile("game/gfx/palette.pal", QByteArray(768, 0));
        };
        const qsizetype asked = script.asked.size();
        press(dialog.get(), QDialogButtonBox::Ok);
        EXPECT_EQ(script.asked.size(), asked + 1);
        EXPECT_FALSE(dialog->isVisible());
    }
    // The Quake III configuration has no palette: its controls are off and never checked.
    auto dialog = openDialog(3);
    dialog->cbConfig->setFocus();
    QTest::keyClick(dialog->cbConfig, Qt::Key_Home);
    ASSERT_EQ(dialog->cbConfig->currentText(), QStringLiteral("Test"));
    EXPECT_FALSE(dialog->txtPalette->isEnabled());
    EXPECT_TRUE(dialog->txtPalette->text().isEmpty());
}

// A configuration as the first run or a hand-written file gives it: no texture format, and on
// the second no map type either. Filling the page gives them the boxes' defaults; only the user's
// change may be refused with a warning.
class PreferencesFirstOpenTest : public PreferencesGameProfileTest {
protected:
    QByteArray configFile() const override {
        const QByteArray base =
            "GameBasedir=" + samplesDir().toUtf8() + "/quake3\nParcel0=" + shaderPath().toUtf8() + "\n";
        return "[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\n" + base +
               "[Config1]\nTitle=Bare\nEnabled=false\n" + base;
    }
};

TEST_F(PreferencesFirstOpenTest, OnlyTheUsersChangeWarns) {
    cPromptScript script;
    bool reached = false;
    cDialogAnswer options(
        [&](QDialog* d) {
            auto* dialog = qobject_cast<cPreferencesDialog*>(d);
            ASSERT_NE(dialog, nullptr);
            EXPECT_TRUE(script.asked.isEmpty()) << texts(script).join('\n').toStdString();
            GameConfig* test = GameCfg_FindConfig(dialog->workingConfigs.get(), QStringLiteral("Test"));
            ASSERT_NE(test, nullptr);
            EXPECT_EQ(test->TextureFormat, dialog->cbTexFmt->currentData().toInt());
            reveal(dialog->btnConfigEdit);
            editList(dialog, [](QDialog*) {});
            EXPECT_TRUE(script.asked.isEmpty()) << texts(script).join('\n').toStdString();
            // Another configuration chosen: it is filled, nothing changed.
            dialog->cbConfig->setFocus();
            QTest::keyClick(dialog->cbConfig, Qt::Key_End);
            ASSERT_EQ(dialog->cbConfig->currentText(), QStringLiteral("Bare"));
            EXPECT_TRUE(script.asked.isEmpty()) << texts(script).join('\n').toStdString();
            EXPECT_EQ(dialog->workingConfigs->current->MapProfile,
                      dialog->cbMapType->currentData().toString());
            // The user's change is refused while packages are listed.
            reveal(dialog->cbTexFmt);
            dialog->cbTexFmt->setFocus();
            QTest::keyClick(dialog->cbTexFmt, Qt::Key_Home);
            EXPECT_EQ(texts(script),
                      QStringList{QStringLiteral("Cannot change texture format while some textures are "
                                                 "loaded!\nPlease clear the texture list before modifying "
                                                 "the texture format.")});
            reached = true;
        },
        false);
    // The window's shortcuts answer while it is the active window.
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_F2);
    EXPECT_TRUE(options.answered);
    EXPECT_TRUE(reached);
}

} // namespace
