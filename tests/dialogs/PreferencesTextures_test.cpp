#include "PreferencesFixture.h"
#include "dialogs/application/EditGameCfgDialog.h"
#include "gamedata/MapProfile.h"
#include "gamedata/TexturePackage.h"
#include "gamedata/TextureRecords.h"

namespace {

// The sample configuration with the sample effects listed first, so the open map uses them.
class PreferencesTexturesTest : public cPreferencesFixture {
protected:
    QByteArray configFile() const override {
        return "[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\nTextureFormat=3\nGameBasedir=" +
               samplesDir().toUtf8() + "/quake3\nParcel0=" + shaderPath().toUtf8() + "\n";
    }
    static QString shaderPath() { return samplesDir() + QStringLiteral("/quake3/scripts/sample.shader"); }
    void SetUp() override {
        cPreferencesFixture::SetUp();
        for (const char* name : {"t/a.tga", "t/b.jpg", "t/c.tga", "t/d.jpg"})
            writeFile(name, "x");
        dialog = openDialog(3);
        reveal(dialog->lstTextures);
    }
    void TearDown() override {
        dialog.reset();
        cPreferencesFixture::TearDown();
    }
    QStringList keys() const {
        QStringList out;
        for (int row = 0; row < dialog->lstTextures->rowCount(); ++row)
            out.append(static_cast<QCustomTableWidgetItem*>(dialog->lstTextures->item(row, 0))->key);
        return out;
    }
    void addFiles(const QStringList& files) {
        cPromptScript script;
        script.answerText(files.join(QLatin1Char('\n')));
        click(dialog->btnTexAddFile);
    }
    void selectRows(const QList<int>& rows) {
        dialog->lstTextures->clearSelection();
        for (int row : rows)
            dialog->lstTextures->selectionModel()->select(dialog->lstTextures->model()->index(row, 0),
                                                          QItemSelectionModel::Select |
                                                              QItemSelectionModel::Rows);
    }

    std::unique_ptr<cPreferencesDialog> dialog;
};

TEST_F(PreferencesTexturesTest, AddFilesFilterDuplicatesAndRows) {
    ASSERT_EQ(dialog->lstTextures->rowCount(), 1);
    EXPECT_EQ(dialog->lstTextures->item(0, 0)->text(), QStringLiteral("quake3/scripts/sample.shader"));
    EXPECT_FALSE(dialog->btnTexUp->isEnabled());
    cPromptScript script;
    script.answerText(
        path("t/b.jpg") + QLatin1Char('\n') + path("t/a.tga") + QLatin1Char('\n') +
        shaderPath().toUpper().replace(QStringLiteral("SAMPLE.SHADER"), QStringLiteral("Sample.Shader")));
    click(dialog->btnTexAddFile);
    ASSERT_GE(script.asked.size(), 1);
    EXPECT_EQ(script.asked[0].filter, QStringLiteral("Packages (*.shader);;Textures (*.tga *.jpg)"));
    EXPECT_EQ(script.asked[0].directory, dialog->txtGameBasedir->text() + QStringLiteral("/scripts"));
    EXPECT_EQ(keys(), (QStringList{shaderPath(), path("t/a.tga"), path("t/b.jpg")}));
    EXPECT_EQ(dialog->workingConfigs->current->Parcel, keys());
    ASSERT_EQ(script.asked.size(), 2); // a path differing only in case is already listed
    EXPECT_TRUE(
        script.asked[1].text.startsWith(QStringLiteral("One or more texture files were already added:\n\n")));
    EXPECT_TRUE(dialog->lstTextures->item(1, 1)->text().isEmpty()); // a single texture has no count
    EXPECT_TRUE(dialog->btnTexUp->isEnabled());

    // A directory: the profile's extensions as patterns; twice is refused.
    cPromptScript dirs;
    dirs.answerText(path("t"));
    dirs.answerText(path("t"));
    click(dialog->btnTexAddDir);
    click(dialog->btnTexAddDir);
    EXPECT_EQ(keys().last(), path("t") + QStringLiteral("::*.tga;*.jpg"));
    EXPECT_EQ(dialog->lstTextures->rowCount(), 4);
    EXPECT_EQ(dirs.asked.last().text, QStringLiteral("Texture directory was already added:\n\n") + path("t"));
}

TEST_F(PreferencesTexturesTest, EmptyProfileAndMissingBaseDirectory) {
    GameConfig* cfg = dialog->workingConfigs->current;
    cfg->Parcel.clear();
    cfg->MapProfile = QStringLiteral("unknown");
    dialog->workingConfigs->currentProfile = GameCfg_EmptyProfile();
    dialog->fillTextureTable();
    cPromptScript script;
    script.answerText(path("t"));
    click(dialog->btnTexAddFile);
    dialog->btnTexAddDir->setEnabled(true);
    click(dialog->btnTexAddDir);
    EXPECT_EQ(texts(script).first(), QStringLiteral("No texture formats supported!"));
    EXPECT_EQ(cfg->Parcel, QStringList{path("t") + QStringLiteral("::")});
    Tex_ReleasePackage(cfg->Parcel.first());
    cfg->Parcel.clear();

    enterText(dialog->txtGameBasedir, QString());
    click(dialog->btnTexAddFile);
    EXPECT_EQ(texts(script).last(), QStringLiteral("Please set up base directory before adding textures."));
}

TEST_F(PreferencesTexturesTest, RemoveKeepsUsedPackagesAndMovesKeepOrder) {
    addFiles({path("t/a.tga"), path("t/b.jpg"), path("t/c.tga")});
    ASSERT_EQ(keys().size(), 4);
    // A face holds one of the effects of the first package.
    TexturePackage* effects = Tex_FindPackage(shaderPath());
    ASSERT_TRUE(effects && !effects->shaders.isEmpty());
    ShaderRecord* bound = effects->shaders.first();
    ++bound->refCount;
    // Rows 0 (used by the map), 1 and 2: two go, the used one stays and is named.
    selectRows({0, 1, 2});
    cPromptScript script;
    click(dialog->btnTexRemove);
    EXPECT_EQ(keys(), (QStringList{shaderPath(), path("t/c.tga")}));
    EXPECT_EQ(dialog->workingConfigs->current->Parcel, keys());
    ASSERT_EQ(script.asked.size(), 1);
    EXPECT_EQ(script.asked[0].text,
              QStringLiteral("One or more texture files contain used textures and cannot be removed:\n\n"
                             "quake3/scripts/sample.shader\n"));
    EXPECT_EQ(dialog->lstTextures->selectionModel()->selectedRows().value(0).row(), 0);
    EXPECT_EQ(Tex_FindPackage(path("t/a.tga")), nullptr);
    --bound->refCount;

    // Up on the first row, down on the last, or two rows selected: nothing moves.
    addFiles({path("t/d.jpg")});
    const QStringList order = keys();
    for (const auto& [rows, button] :
         {std::pair{QList<int>{0}, dialog->btnTexUp}, std::pair{QList<int>{2}, dialog->btnTexDown},
          std::pair{QList<int>{0, 1}, dialog->btnTexDown}}) {
        selectRows(rows);
        click(button);
        EXPECT_EQ(keys(), order);
    }
    selectRows({2});
    click(dialog->btnTexUp);
    EXPECT_EQ(keys(), (QStringList{order[0], order[2], order[1]}));
    EXPECT_EQ(dialog->workingConfigs->current->Parcel, keys());
    EXPECT_EQ(dialog->lstTextures->selectionModel()->selectedRows().value(0).row(), 1);
    click(dialog->btnTexDown);
    EXPECT_EQ(keys(), order);
}

TEST_F(PreferencesTexturesTest, ScaleIsCutAndBrightnessAsksForRestart) {
    GameConfig* cfg = dialog->workingConfigs->current;
    for (const auto& [typed, stored] : {std::pair{"2.5", 2.5f}, std::pair{"1.001", 1.0f}}) {
        dialog->sTexScale->setFocus();
        QTest::keyClick(dialog->sTexScale, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(dialog->sTexScale, QLatin1String(typed));
        EXPECT_EQ(cfg->DefaultTextureScale, stored) << typed;
    }
    dialog->slTextureBrightness->setFocus();
    QTest::keyClick(dialog->slTextureBrightness, Qt::Key_Home);
    for (int i = 0; i < 13; ++i)
        QTest::keyClick(dialog->slTextureBrightness, Qt::Key_Right);
    EXPECT_EQ(cfg->TextureBrightness, 65u);
    EXPECT_TRUE(dialog->restartRequired); // the listed effects are loaded
    cPromptScript script;
    press(dialog.get(), QDialogButtonBox::Ok);
    EXPECT_EQ(texts(script), QStringList{QStringLiteral(
                                 "Some changes you made will take effect upon restarting Z.A.R.V..")});
}

} // namespace
