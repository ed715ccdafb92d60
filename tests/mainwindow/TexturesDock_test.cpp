#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "WindowFixture.h"
#include "core/Prompt.h"
#include "dialogs/application/NamedDialogs.h"
#include "dialogs/editing/TextureBrowser.h"
#include "dialogs/editing/TextureBrowserDialog.h"
#include "gamedata/TextureLists.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "gamedata/TextureRecords.h"
#include "views/TextureView.h"
#include "mainwindow/MainWindow.h"
#include "map/ObjectRecords.h"
#include "views/ChildWindow.h"

namespace {

// The program's window with the sample game's configuration (its effect script lists the
// textures; the sample map's other textures are missing).
class TexturesDockTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        const QString game = QStringLiteral(ZARV_BIN_DIR "/sample/baseq3");
        if (!QFileInfo::exists(game + "/scripts/sample.shader"))
            GTEST_SKIP() << "the sample game is not built";
        writeFile("base/KDKGameCfg.ini",
                  QStringLiteral("[Config0]\nTitle=Sample\nEnabled=true\nMapProfile=kpQuake3\n"
                                 "GameBasedir=%1\nParcel0=%1/scripts/sample.shader\n")
                      .arg(game)
                      .toUtf8());
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        d = &window->texturesDock;
    }
    void TearDown() override {
        window.reset();
        cWindowFixture::TearDown();
    }
    MapWorld* openSample() {
        MapDocument* document = window->openFile(kSampleMap);
        return document ? document->world : nullptr;
    }
    QList<QWidget*> controls() const {
        return {d->groupLabel, d->groups, d->nameLabel, d->names, d->preview, d->size, d->browse, d->replace};
    }
    // One step down the name list, as the arrow key on the closed combo does.
    void nextName() {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(d->names, &press);
    }

    cConsoleCapture console;
    std::unique_ptr<cMainWindow> window;
    cMainWindow::TexturesDock* d = nullptr;
};

} // namespace

TEST_F(TexturesDockTest, WithoutAMapEverythingIsDisabledAndEmpty) {
    window->updateTextureBar(false);
    for (QWidget* w : controls())
        EXPECT_FALSE(w->isEnabled()) << w->metaObject()->className();
    EXPECT_EQ(d->names->count(), 0);
    EXPECT_EQ(d->preview->shader(), nullptr);
    EXPECT_TRUE(d->size->text().isEmpty());
    EXPECT_EQ(d->dock->objectName(), "textures");
    EXPECT_EQ(d->dock->windowTitle(), "Textures");
    EXPECT_EQ(d->browse->text(), "&Browse...");
}

TEST_F(TexturesDockTest, AFirstMapGetsTheTriggerTextureAndAChoiceBecomesRecent) {
    ASSERT_NE(openSample(), nullptr);
    EXPECT_EQ(window->currentTextureName, "common/trigger");
    EXPECT_EQ(window->currentTextureGroup, "(All Textures)");
    EXPECT_EQ(d->groups->currentText(), "(All Textures)");
    EXPECT_EQ(d->groups->itemText(0), "(Missing Textures)"); // the sample map's other textures
    for (QWidget* w : controls())
        EXPECT_TRUE(w->isEnabled()) << w->metaObject()->className();
    ShaderRecord* trigger = App_FindTexture("COMMON/TRIGGER");
    ASSERT_NE(trigger, nullptr);
    EXPECT_EQ(d->preview->shader(), trigger);
    EXPECT_EQ(d->size->text(), QString("%1 x %2").arg(trigger->width).arg(trigger->height));
    // Found in the lists, it went to the top of the recent list, above a separator.
    EXPECT_EQ(d->names->currentIndex(), 0);
    EXPECT_EQ(d->names->itemText(0), "common/trigger");
    EXPECT_TRUE(d->names->itemText(1).isEmpty());
    TextureLists* lists = GameCfg_CurrentTextureLists();
    ASSERT_NE(lists, nullptr);
    EXPECT_EQ(lists->recent, QStringList{"common/trigger"});

    // A pick in the list becomes the current texture and the newest recent one.
    const QString picked = "sample/glass";
    const int at = d->names->findText(picked);
    ASSERT_GT(at, 2);
    d->names->setCurrentIndex(at - 1);
    nextName();
    EXPECT_EQ(window->currentTextureName, picked);
    EXPECT_EQ(lists->recent, (QStringList{picked, "common/trigger"}));
    EXPECT_EQ(d->names->currentText(), picked);
    EXPECT_EQ(d->preview->shader(), App_FindTexture(picked));

    // A group chosen in the list lists its textures under the recent ones.
    const int group = d->groups->findText("(Missing Textures)");
    d->groups->setCurrentIndex(group);
    emit d->groups->activated(group);
    EXPECT_EQ(window->currentTextureGroup, "(Missing Textures)");
    for (int i = 3; i < d->names->count(); ++i)
        EXPECT_EQ(App_FindTextureGroup(d->names->itemText(i)), "(Missing Textures)") << i;
}

TEST_F(TexturesDockTest, AnUnlistedNameStaysCurrentWithoutSizeOrPreview) {
    ASSERT_NE(openSample(), nullptr);
    App_SetCurrentTexture("no/such", "(All Textures)");
    window->updateTextureBar(false);
    EXPECT_EQ(window->currentTextureName, "no/such");
    EXPECT_EQ(d->names->currentIndex(), -1);
    EXPECT_TRUE(d->size->text().isEmpty());
    EXPECT_EQ(d->preview->shader(), nullptr);
    // Only both given and one of them new makes a change.
    App_SetCurrentTexture(QString(), "x");
    App_SetCurrentTexture("y", QString());
    EXPECT_EQ(window->currentTextureName, "no/such");
    EXPECT_EQ(window->currentTextureGroup, "(All Textures)");
}

// The surface dialog owns the choice while it shows; closing it hands its texture over.
TEST_F(TexturesDockTest, TheSurfaceDialogDisablesTheDockAndHandsItsTextureOver) {
    ASSERT_NE(openSample(), nullptr);
    window->toolTextureApplication();
    ASSERT_TRUE(window->faceDialog.isVisible());
    for (QWidget* w : controls())
        EXPECT_FALSE(w->isEnabled()) << w->metaObject()->className();
    Map_SelectNone(window->activeChildWindow()->document->world);
    window->faceDialog.setTextureSelection(true, false, "(All Textures)", "sample/glass");
    window->faceDialog.close();
    EXPECT_FALSE(window->faceDialog.isVisible());
    EXPECT_EQ(window->currentTextureName, "sample/glass");
    EXPECT_TRUE(d->names->isEnabled());
    EXPECT_EQ(d->names->currentText(), "sample/glass");
    EXPECT_EQ(d->preview->shader(), App_FindTexture("sample/glass"));
}

// The browser runs modally over the property dialogs: they lose their stay-on-top flag while it
// runs and come back on top afterwards; its choice becomes the current texture.
TEST_F(TexturesDockTest, BrowsingOverTheSurfaceDialog) {
    ASSERT_NE(openSample(), nullptr);
    window->toolTextureApplication();
    ASSERT_TRUE(window->faceDialog.isVisible());
    ASSERT_TRUE(window->faceDialog.windowFlags() & Qt::WindowStaysOnTopHint);
    QString presetName, presetGroup;
    MapWorld* presetWorld = nullptr;
    bool onTopDuring = true;
    // The browser is preset with the name, group and map; the user's pick stands as the result.
    auto pick = [&](const QString& group) {
        return [&, group](QDialog* dialog) {
            ASSERT_EQ(dialog, static_cast<QDialog*>(window->textureBrowserDialog));
            cTextureBrowserDialog* browser = window->textureBrowserDialog;
            presetName = browser->textureName;
            presetGroup = browser->groupName;
            presetWorld = browser->mapHandle;
            onTopDuring = window->faceDialog.windowFlags() & Qt::WindowStaysOnTopHint;
            browser->showTextureInfo(App_FindTexture("sample/slime"));
            browser->groupName = group;
        };
    };
    {
        cDialogAnswer answer(pick("(Missing Textures)"));
        QString group;
        EXPECT_EQ(window->execTextureBrowser("sample/glass", &group), "sample/slime");
        EXPECT_TRUE(answer.answered);
        EXPECT_EQ(group, "(Missing Textures)");
    }
    EXPECT_EQ(presetName, "sample/glass");
    EXPECT_EQ(presetGroup, "(All Textures)"); // an empty group opens every texture
    EXPECT_EQ(presetWorld, window->activeChildWindow()->document->world);
    EXPECT_FALSE(onTopDuring);
    EXPECT_TRUE(window->faceDialog.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window->faceDialog.isVisible());

    // From the dock: the choice is current once the surface dialog is gone.
    window->faceDialog.close();
    {
        cDialogAnswer answer(pick("(All Textures)"));
        d->browse->click();
        EXPECT_TRUE(answer.answered);
    }
    EXPECT_EQ(window->currentTextureName, "sample/slime");
    EXPECT_EQ(d->names->currentText(), "sample/slime");
    EXPECT_EQ(GameCfg_CurrentTextureLists()->recent.first(), "sample/slime");
}

TEST_F(TexturesDockTest, ReplaceOffersMarkedObjectsOnlyWithASelection) {
    MapWorld* world = openSample();
    ASSERT_NE(world, nullptr);
    struct Seen {
        QString find;
        bool marked = true;
    } seen;
    // Records what the replace dialog was opened with; replaces "sample/metal" by "sample/glass".
    auto answerReplace = [&](QDialog* dialog) {
        ASSERT_EQ(dialog, static_cast<QDialog*>(window->textureReplaceDialog));
        auto* find = dialog->findChild<QLineEdit*>(QStringLiteral("txtFind"));
        auto* replacement = dialog->findChild<QLineEdit*>(QStringLiteral("txtReplace"));
        auto* marked = dialog->findChild<QRadioButton*>(QStringLiteral("rbInMarked"));
        ASSERT_TRUE(find && replacement && marked);
        seen = {find->text(), marked->isEnabled()};
        // Typed, as the previews and the name reported back follow what the user types.
        find->clear();
        QTest::keyClicks(find, QStringLiteral("sample/metal"));
        replacement->clear();
        QTest::keyClicks(replacement, QStringLiteral("sample/glass"));
        // OK runs the replacement (a bare accept would close the dialog without it).
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        ASSERT_NE(buttons, nullptr);
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    };
    {
        cPromptScript script; // the count message
        cDialogAnswer answer(answerReplace);
        d->replace->click();
        EXPECT_TRUE(answer.answered);
    }
    EXPECT_EQ(seen.find, "common/trigger");
    EXPECT_FALSE(seen.marked);
    // The replacement became the current texture.
    EXPECT_EQ(window->currentTextureName, "sample/glass");
    EXPECT_EQ(d->names->currentText(), "sample/glass");

    // With a brush selected, and over the surface dialog, which stays on top afterwards.
    Map_SelectObject(world, world->entities->firstBrush);
    window->toolTextureApplication();
    ASSERT_TRUE(window->faceDialog.isVisible());
    {
        cPromptScript script;
        cDialogAnswer answer(answerReplace);
        EXPECT_EQ(window->execTextureReplace("x"), "sample/glass");
    }
    EXPECT_TRUE(seen.marked);
    EXPECT_TRUE(window->faceDialog.isVisible());
    EXPECT_TRUE(window->faceDialog.windowFlags() & Qt::WindowStaysOnTopHint);
}

namespace {

// The cell the browser's layout walk gives the texture (shader null when it is not shown).
TextureCell cellOf(const cTextureBrowser* browser, const ShaderRecord* shader) {
    const TextureCellWalkInput in = browser->walkInput();
    cTextureCellWalk walk(in);
    while (walk.next())
        if (walk.cell().shader == shader) return walk.cell();
    return {};
}

// The sample game's caulk: stripes of (200, 120, 200) and (160, 90, 160), filtered between them.
bool caulkColoured(QRgb p) {
    return qRed(p) >= 150 && qRed(p) <= 210 && qGreen(p) >= 80 && qGreen(p) <= 130 && qBlue(p) >= 150 &&
           qBlue(p) <= 210 && std::abs(qRed(p) - qBlue(p)) <= 4;
}

} // namespace

// Everything by real events: the dock's browse button opens the browser on the current texture;
// a tab, a click on a cell and the browser's replace button (whose dialog cannot browse under it)
// work in it, and a double-click hands name and group back to the dock. The surface dialog's
// browse button takes the browser's choice the same way.
TEST_F(TexturesDockTest, TheBrowserRunsFromTheDockAndTheSurfaceDialog) {
    ASSERT_NE(openSample(), nullptr);
    // At 1:1 the cells' images stand at their own sizes.
    window->settings.TextureBrowserScaleMode = 1;
    cTextureBrowserDialog* dialog = window->textureBrowserDialog;
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(dialog->browser, nullptr);
    cTextureBrowser* browser = dialog->browser;
    ShaderRecord* caulk = App_FindTexture("common/caulk");
    ASSERT_NE(caulk, nullptr);
    const QString group = App_FindTextureGroup("common/caulk");
    ASSERT_FALSE(group.startsWith('('));
    auto settle = [] {
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
    };

    struct Seen {
        bool opened = false, docked = true, replaceOpened = false, findBrowse = true, replaceBrowse = true;
        QString preset, labels[3], replaceFind;
        bool pixels = false, background = false;
    } seen;
    auto drive = [&](QDialog* modal) {
        ASSERT_EQ(modal, static_cast<QDialog*>(dialog));
        seen.opened = true;
        seen.preset = dialog->lblTextureName->text();
        seen.docked = d->names->isEnabled();
        settle();
        // The package's tab, clicked.
        int tab = -1;
        for (int i = 0; i < dialog->tabBar->count(); ++i)
            if (dialog->tabBar->tabData(i).toString() == group) tab = i;
        ASSERT_GE(tab, 0);
        QTest::mouseClick(dialog->tabBar, Qt::LeftButton, {}, dialog->tabBar->tabRect(tab).center());
        ASSERT_EQ(dialog->groupName, group);
        settle();
        const TextureCell cell = cellOf(browser, caulk);
        ASSERT_EQ(cell.shader, caulk);
        ASSERT_EQ(browser->scaleMode, 1);
        const int offset = browser->scrollOffset();
        const QImage frame = browser->grabFramebuffer();
        // At 1:1 the 64-pixel image sits centred in its column, from the row's top.
        const int x0 = cell.x + (cell.colW - cell.cw) / 2, y0 = cell.y - offset;
        ASSERT_EQ(cell.cw, 64);
        seen.pixels = true;
        for (int y = y0 + 2; y < y0 + 62; y += 6)
            for (int x = x0 + 2; x < x0 + 62; x += 6)
                if (!caulkColoured(frame.pixel(x, y))) seen.pixels = false;
        seen.background = !caulkColoured(frame.pixel(x0 + cell.colW + 3, y0 + 30)) &&
                          !caulkColoured(frame.pixel(x0 + 30, y0 - 4));
        const QPoint inside(cell.x + cell.colW / 2, y0 + 20);
        QTest::mouseClick(browser, Qt::LeftButton, {}, inside);
        seen.labels[0] = dialog->lblTextureName->text();
        seen.labels[1] = dialog->lblTextureSize->text();
        seen.labels[2] = dialog->lblTextureGroup->text();
        {
            cDialogAnswer cancel(
                [&](QDialog* replace) {
                    ASSERT_EQ(replace, static_cast<QDialog*>(window->textureReplaceDialog));
                    seen.replaceOpened = true;
                    seen.replaceFind = replace->findChild<QLineEdit*>(QStringLiteral("txtFind"))->text();
                    seen.findBrowse =
                        replace->findChild<QPushButton*>(QStringLiteral("btnFind"))->isEnabled();
                    seen.replaceBrowse =
                        replace->findChild<QPushButton*>(QStringLiteral("btnReplace"))->isEnabled();
                },
                false);
            QTest::mouseClick(dialog->btnReplace, Qt::LeftButton);
            EXPECT_TRUE(cancel.answered);
        }
        ASSERT_TRUE(dialog->isVisible());
        settle();
        QTest::mouseDClick(browser, Qt::LeftButton, {}, inside);
    };
    {
        cDialogAnswer answer(drive);
        QTest::mouseClick(d->browse, Qt::LeftButton);
        EXPECT_TRUE(answer.answered);
    }
    EXPECT_TRUE(seen.opened);
    EXPECT_EQ(seen.preset, "common/trigger");
    EXPECT_FALSE(seen.docked); // the browser owns the choice while it runs
    EXPECT_TRUE(seen.pixels);
    EXPECT_TRUE(seen.background);
    EXPECT_EQ(seen.labels[0], "common/caulk");
    EXPECT_EQ(seen.labels[1], "64 x 64");
    EXPECT_EQ(seen.labels[2], QString("Group: \"%1\"").arg(group));
    EXPECT_TRUE(seen.replaceOpened);
    EXPECT_EQ(seen.replaceFind, "common/caulk");
    EXPECT_FALSE(seen.findBrowse);
    EXPECT_FALSE(seen.replaceBrowse);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), int(QDialog::Accepted));
    // Back in the dock: name and group.
    EXPECT_EQ(window->currentTextureName, "common/caulk");
    EXPECT_EQ(window->currentTextureGroup, group);
    EXPECT_TRUE(d->names->isEnabled());
    EXPECT_EQ(d->groups->currentText(), group);
    EXPECT_EQ(d->names->currentText(), "common/caulk");
    EXPECT_EQ(d->preview->shader(), caulk);
    EXPECT_EQ(d->size->text(), "64 x 64");

    // The surface properties dialog's browse button, a double-click on another texture.
    window->toolTextureApplication();
    ASSERT_TRUE(window->faceDialog.isVisible());
    auto* faceBrowse = window->faceDialog.findChild<QPushButton*>(QStringLiteral("btnBrowse"));
    auto* faceName = window->faceDialog.findChild<QComboBox*>(QStringLiteral("lstTexture"));
    ASSERT_TRUE(faceBrowse && faceName);
    ShaderRecord* sky = App_FindTexture("sample/sky");
    ASSERT_NE(sky, nullptr);
    const QString faceBefore = faceName->currentText();
    QString facePreset;
    {
        cDialogAnswer answer([&](QDialog* modal) {
            ASSERT_EQ(modal, static_cast<QDialog*>(dialog));
            facePreset = dialog->textureName;
            settle();
            const TextureCell cell = cellOf(browser, sky);
            ASSERT_EQ(cell.shader, sky);
            QTest::mouseDClick(browser, Qt::LeftButton, {},
                               QPoint(cell.x + cell.colW / 2, cell.y - browser->scrollOffset() + 10));
        });
        QTest::mouseClick(faceBrowse, Qt::LeftButton);
        EXPECT_TRUE(answer.answered);
    }
    EXPECT_EQ(facePreset, faceBefore); // opened on the dialog's texture
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(window->faceDialog.isVisible());
    EXPECT_EQ(faceName->currentText(), "sample/sky");
}
