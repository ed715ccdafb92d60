#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "../mainwindow/WindowFixture.h"
#include "ConsoleCapture.h"
#include "core/Prompt.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "dialogs/editing/ShaderEditScript.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureRecords.h"
#include "dialogs/application/QCustomAction.h"

namespace {

const char kScript[] =
    "// fixtures\n"
    "textures/base/fire_blue\n{\n\tsurfaceparm nolightmap\n\t{\n\t\tmap $lightmap\n\t}\n}\n"
    "textures/base/red.wall\n{\n\tcull none\n\t{\n\t\tmap $lightmap\n\t}\n}\n"
    "textures/base/c+x\n{\n\tcull none\n\t{\n\t\tmap $lightmap\n\t}\n}\n"
    "textures/base/plain\n{\n\tcull none\n\t{\n\t\tmap $lightmap\n\t}\n}\n";
// The script's group: its path below the game folder's parent.
const char kGroup[] = "baseq3/scripts/test.shader";

// The program's window on a game configuration whose package is one effect script.
class ShaderEditDialogTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        writeFile("game/baseq3/scripts/test.shader", kScript);
        writeFile("base/KDKGameCfg.ini",
                  QStringLiteral("[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\n"
                                 "GameBasedir=%1\nParcel0=%2\n")
                      .arg(path("game/baseq3"), path("game/baseq3/scripts/test.shader"))
                      .toUtf8());
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        // The configuration becomes current with a map on it.
        ASSERT_NE(window->openFile(QDir::cleanPath(
                      QStringLiteral(ZARV_TEST_DATA_DIR "/../../../samples/maps/sample.map"))),
                  nullptr);
        dialog = window->shaderEditDialog;
        ASSERT_NE(dialog, nullptr);
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
    }
    void TearDown() override {
        if (dialog && dialog->isVisible()) dialog->hide();
        window.reset();
        cWindowFixture::TearDown();
    }

    QStringList listed() const {
        QStringList names;
        for (int i = 0; i < dialog->shaderList->topLevelItemCount(); ++i)
            names.append(dialog->shaderList->topLevelItem(i)->text(0));
        return names;
    }
    void choose(const QString& name) {
        const auto items = dialog->shaderList->findItems(name, Qt::MatchFixedString);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        dialog->shaderList->setCurrentItem(items.first());
    }
    void typeInto(QWidget* target, const QString& text) {
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
            QKeyEvent release(QEvent::KeyRelease, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
            QApplication::sendEvent(target, &press);
            QApplication::sendEvent(target, &release);
        }
    }
    QCustomAction* action(const char* text) const {
        for (QCustomAction* a : dialog->actions)
            if (a && a->statusText == QLatin1String(text)) return a;
        return nullptr;
    }
    static void wait(int ms) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    cConsoleCapture console;
    std::unique_ptr<cMainWindow> window;
    cShaderEditDialog* dialog = nullptr;
};

} // namespace

TEST_F(ShaderEditDialogTest, F3OpensTheDialogOnTheConfigurationsEffects) {
    QStringList seen;
    bool visible = false;
    QTimer::singleShot(0, [&] {
        visible = dialog->isVisible();
        seen = listed();
        QPushButton* close = dialog->btnClose;
        QMouseEvent press(QEvent::MouseButtonPress, close->rect().center(),
                          close->mapToGlobal(close->rect().center()), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, close->rect().center(),
                            close->mapToGlobal(close->rect().center()), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(close, &press);
        QApplication::sendEvent(close, &release);
    });
    QAction* edit = nullptr;
    for (QAction* a : window->findChildren<QAction*>())
        if (a->shortcut() == QKeySequence(Qt::Key_F3)) edit = a;
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("Edit e&ffects..."));
    edit->trigger();
    EXPECT_TRUE(visible);
    // Every group: the script's effects and the map's missing names.
    for (const char* name : {"base/c+x", "base/fire_blue", "base/plain", "base/red.wall", "common/caulk"})
        EXPECT_TRUE(seen.contains(QLatin1String(name))) << name;
    EXPECT_FALSE(dialog->isVisible());
}

// An icon that draws something at the tool bar's size: not null, not one colour, not transparent.
static bool drawsSomething(const QIcon& icon, QSize size) {
    const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) return false;
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0) colours.insert(image.pixel(x, y));
    return colours.size() > 2;
}

// Every button of the preview's and the script's tool bars shows its icon, as does every group of
// the effect list; none is a blank square only hovering explains.
TEST_F(ShaderEditDialogTest, EveryButtonShowsItsIcon) {
    dialog->setShader(QString(), QLatin1String(kGroup));
    dialog->show();
    const QList<QToolBar*> bars = dialog->findChildren<QToolBar*>();
    ASSERT_EQ(bars.size(), 2);
    int buttons = 0;
    for (QToolBar* bar : bars)
        for (QAction* a : bar->actions()) {
            if (a->isSeparator()) continue;
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
            ASSERT_NE(button, nullptr) << a->toolTip().toStdString();
            EXPECT_TRUE(drawsSomething(button->icon(), bar->iconSize())) << a->toolTip().toStdString();
            ++buttons;
        }
    EXPECT_EQ(buttons, 19);
    for (QAbstractButton* button :
         {static_cast<QAbstractButton*>(dialog->btnNew), static_cast<QAbstractButton*>(dialog->btnDel)})
        EXPECT_TRUE(drawsSomething(button->icon(), button->iconSize())) << button->text().toStdString();
    ASSERT_GT(dialog->shaderGroup->count(), 0);
    for (int i = 0; i < dialog->shaderGroup->count(); ++i)
        EXPECT_TRUE(drawsSomething(dialog->shaderGroup->itemIcon(i), dialog->shaderGroup->iconSize()))
            << dialog->shaderGroup->itemText(i).toStdString();
}

TEST_F(ShaderEditDialogTest, TheFilterWaitsForTheLastKeystroke) {
    dialog->setShader(QString(), QLatin1String(kGroup));
    ASSERT_EQ(listed().size(), 4);
    dialog->show();
    typeInto(dialog->cbFilter->lineEdit(), QStringLiteral("fire"));
    wait(250);
    typeInto(dialog->cbFilter->lineEdit(), QStringLiteral(" plain"));
    wait(350);
    EXPECT_EQ(listed().size(), 4); // 600 ms after the first key, 350 after the last
    wait(400);
    EXPECT_EQ(listed(), (QStringList{"base/fire_blue", "base/plain"}));
    EXPECT_EQ(dialog->cbFilter->findText(QStringLiteral("fire plain")), 0); // kept in the history
    dialog->cbFilter->lineEdit()->clear();
    wait(700);
    EXPECT_EQ(listed().size(), 4);
}

TEST_F(ShaderEditDialogTest, EditingMarksAndStageImagesDisableEditing) {
    dialog->setShader(QStringLiteral("BASE/PLAIN"), QLatin1String(kGroup));
    dialog->show();
    ASSERT_NE(dialog->currentEffect, nullptr);
    EXPECT_STREQ(dialog->currentEffect->name, "base/plain");
    EXPECT_TRUE(dialog->editBase->isEnabled());
    EXPECT_TRUE(dialog->script->toPlainText().contains(QStringLiteral("cull none")));
    EXPECT_FALSE(action("Undo")->isEnabled());
    dialog->script->setFocus();
    dialog->script->moveCursor(QTextCursor::End);
    typeInto(dialog->script, QStringLiteral("x"));
    EXPECT_TRUE(dialog->currentEffect->flags & SHADER_EDITED);
    EXPECT_EQ(dialog->currentItem->text(0), QStringLiteral("base/plain*"));
    EXPECT_TRUE(action("Undo")->isEnabled());
    const QString edited = dialog->script->toPlainText();
    // Another effect stashes the edit; coming back shows it again.
    choose(QStringLiteral("base/c+x"));
    EXPECT_TRUE(dialog->edits.contains(QStringLiteral("base/plain")));
    choose(QStringLiteral("base/plain*"));
    EXPECT_EQ(dialog->script->toPlainText(), edited);

    // A stage image shows no script.
    choose(QStringLiteral("base/fire_blue"));
    QTreeWidgetItem* effect = dialog->shaderList->currentItem();
    ASSERT_GT(effect->childCount(), 0);
    dialog->shaderList->setCurrentItem(effect->child(0));
    EXPECT_EQ(dialog->currentEffect, nullptr);
    EXPECT_FALSE(dialog->editBase->isEnabled());
    EXPECT_FALSE(dialog->btnDel->isEnabled());
    EXPECT_TRUE(dialog->script->toPlainText().isEmpty());
}

TEST_F(ShaderEditDialogTest, BuildAsksOnUnchangedTextCheckNever) {
    dialog->setShader(QStringLiteral("base/plain"), QLatin1String(kGroup));
    dialog->show();
    ASSERT_NE(dialog->currentEffect, nullptr);
    const QString text = dialog->script->toPlainText();
    cPromptScript prompts;
    prompts.answerButton(PromptButton::No);
    action("Build script")->trigger();
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text,
              QStringLiteral(
                  "Script was not modified since the previous build.\nDo you want to rebuild it anyway?"));
    EXPECT_FALSE(dialog->script->buildMarks);
    action("Check script for errors")->trigger();
    EXPECT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(dialog->script->errors.isEmpty()); // the package's text is the whole block
    EXPECT_TRUE(text.startsWith(u'{'));
    EXPECT_TRUE(dialog->script->buildMarks);
    EXPECT_TRUE(dialog->statusText.isEmpty());

    // Errors by line, counted in the status line after a build but not after a check.
    dialog->script->setPlainText(QStringLiteral("{\n\tcull none\n\tbogusCommand 1\n}\n"));
    action("Check script for errors")->trigger();
    ASSERT_FALSE(dialog->script->errors.isEmpty());
    EXPECT_EQ(dialog->script->errors[0].line, 3);
    EXPECT_TRUE(dialog->statusText.isEmpty());
    action("Build script")->trigger();
    EXPECT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(dialog->statusText,
              QStringLiteral("BUILD FAILED: %1 error(s)").arg(dialog->script->errors.size()));
}

TEST_F(ShaderEditDialogTest, DeleteRefusesEffectsFromPackages) {
    dialog->setShader(QStringLiteral("base/plain"), QLatin1String(kGroup));
    ASSERT_NE(dialog->currentEffect, nullptr);
    cPromptScript prompts;
    dialog->btnDel->click();
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text,
              QStringLiteral("Effect \"base/plain\" is defined elsewhere.\nOnly custom effects "
                             "that were not saved can be deleted."));
    EXPECT_EQ(listed().size(), 4);
    // One made here but in use stays too.
    dialog->currentEffect->flags |= SHADER_CREATED_HERE;
    ++dialog->currentEffect->refCount;
    dialog->btnDel->click();
    ASSERT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(prompts.asked[1].text,
              QStringLiteral("Effect \"base/plain\" is in use and cannot be deleted!"));
    --dialog->currentEffect->refCount;
    dialog->currentEffect->flags &= ~SHADER_CREATED_HERE;
    EXPECT_EQ(listed().size(), 4);
}

TEST_F(ShaderEditDialogTest, ActionsNeedTheProfilesFunctions) {
    EXPECT_EQ(dialog->contextActions.size(), 11);
    dialog->setShader(QStringLiteral("base/plain"), QLatin1String(kGroup));
    EXPECT_TRUE(action("Build script")->isEnabled());
    // The effect came from a script file: Save applies.
    EXPECT_TRUE(action("Save script to the current effect file")->isEnabled());
    EXPECT_TRUE(action("Plane")->isChecked());
    EXPECT_FALSE(action("Box")->isChecked());
    action("Toggle auto-indentation")->trigger();
    EXPECT_FALSE(dialog->script->autoIndent);
    action("Toggle auto-completion")->trigger();
    EXPECT_FALSE(dialog->script->autoComplete);
}

namespace {
// Types text at the end of the script's line (0-based).
void appendToLine(cShaderEditScript* script, int line, const QString& text) {
    QTextCursor cursor(script->document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::EndOfBlock);
    script->setTextCursor(cursor);
    script->setFocus();
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
        QApplication::sendEvent(script, &press);
    }
}
} // namespace

TEST_F(ShaderEditDialogTest, CloseSavesEveryEditedEffectOfAFileAtOnce) {
    const QByteArray before = readFile("game/baseq3/scripts/test.shader");
    window->settings.BackupFiles = true;
    dialog->setShader(QStringLiteral("base/plain"), QLatin1String(kGroup));
    dialog->show();
    appendToLine(dialog->script, 1, QStringLiteral(" // plain edit"));
    choose(QStringLiteral("base/c+x"));
    appendToLine(dialog->script, 1, QStringLiteral(" // cx edit"));

    // Cancel keeps everything as it was.
    {
        cPromptScript prompts;
        prompts.answerButton(PromptButton::Cancel);
        dialog->btnClose->click();
        ASSERT_EQ(prompts.asked.size(), 1);
        const PromptRequest& box = prompts.asked[0];
        EXPECT_EQ(box.icon, PromptIcon::Warning);
        EXPECT_EQ(box.text, QStringLiteral("There are 2 effects modified.\nDo you want to save changes?"));
        EXPECT_EQ(
            box.informative,
            QStringLiteral("If you select 'Discard', changes will take effect until restarting Z.A.R.V., "
                           "and all newly created effects will be lost."));
        EXPECT_EQ(box.detailed, QStringLiteral("base/c+x\nbase/plain"));
        EXPECT_EQ(box.buttons, PromptButton::Save | PromptButton::Discard | PromptButton::Cancel);
        EXPECT_EQ(box.defaultButton, PromptButton::Save);
        EXPECT_EQ(box.windowIcon.cacheKey(), dialog->windowIcon().cacheKey());
    }
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->edits.size(), 2);
    EXPECT_EQ(readFile("game/baseq3/scripts/test.shader"), before);

    cPromptScript prompts;
    prompts.answerButton(PromptButton::Save);
    dialog->btnClose->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(dialog->edits.isEmpty());
    const QByteArray after = readFile("game/baseq3/scripts/test.shader");
    EXPECT_TRUE(after.contains("// plain edit"));
    EXPECT_TRUE(after.contains("// cx edit"));
    for (const char* entry : {"textures/base/fire_blue", "textures/base/red.wall", "textures/base/plain"})
        EXPECT_EQ(after.count(entry), 1) << entry;
    EXPECT_EQ(readFile("game/baseq3/scripts/test.shadex"), before);
    EXPECT_TRUE(
        console.contains(QStringLiteral("Writing: \"%1\"").arg(path("game/baseq3/scripts/test.shader"))));
}

// A file that cannot be written keeps its effects edited and the dialog open, so nothing typed
// is lost.
TEST_F(ShaderEditDialogTest, AFailedWriteAtCloseKeepsTheEdits) {
    dialog->setShader(QStringLiteral("base/plain"), QLatin1String(kGroup));
    dialog->show();
    appendToLine(dialog->script, 1, QStringLiteral(" // kept"));
    ShaderRecord* effect = dialog->currentEffect;
    // The script's place is taken by a folder: the rename over it fails.
    ASSERT_TRUE(QFile::remove(path("game/baseq3/scripts/test.shader")));
    ASSERT_TRUE(QDir().mkpath(path("game/baseq3/scripts/test.shader/inside")));
    cPromptScript prompts;
    prompts.answerButton(PromptButton::Save);
    dialog->btnClose->click();
    ASSERT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(
        prompts.asked[1].text,
        QStringLiteral("Couldn't write effect package:\n\n%1").arg(path("game/baseq3/scripts/test.shader")));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(effect->flags & SHADER_EDITED);
    ASSERT_TRUE(dialog->edits.contains(QStringLiteral("base/plain")));
    EXPECT_TRUE(dialog->edits.value(QStringLiteral("base/plain")).text.contains(QStringLiteral("// kept")));
    const auto items = dialog->shaderList->findItems(QStringLiteral("base/plain*"), Qt::MatchFixedString);
    EXPECT_EQ(items.size(), 1);
    // Discard stores the text in memory and writes nothing.
    cPromptScript discard;
    discard.answerButton(PromptButton::Discard);
    dialog->btnClose->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(effect->flags & SHADER_EDITED);
    EXPECT_TRUE(QString::fromLocal8Bit(static_cast<const char*>(effect->pluginData))
                    .contains(QStringLiteral("// kept")));
}

TEST_F(ShaderEditDialogTest, SaveWritesTheOpenEffect) {
    dialog->setShader(QStringLiteral("base/red.wall"), QLatin1String(kGroup));
    dialog->show();
    appendToLine(dialog->script, 1, QStringLiteral(" // saved"));
    cPromptScript prompts;
    action("Save script to the current effect file")->trigger();
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_TRUE(readFile("game/baseq3/scripts/test.shader").contains("// saved"));
    EXPECT_FALSE(dialog->currentEffect->flags & SHADER_EDITED);
    EXPECT_EQ(dialog->currentItem->text(0), QStringLiteral("base/red.wall"));
    EXPECT_TRUE(dialog->edits.isEmpty());
    dialog->btnClose->click();
    EXPECT_TRUE(prompts.asked.isEmpty()); // nothing left to ask about
}

TEST_F(ShaderEditDialogTest, SaveAsToAnUnlistedFileOffersToListIt) {
    dialog->setShader(QStringLiteral("base/plain"), QLatin1String(kGroup));
    dialog->show();
    appendToLine(dialog->script, 1, QStringLiteral(" // moved"));
    const QString target = path("game/baseq3/scripts/new.shader");
    cPromptScript prompts;
    prompts.answerText(target);
    prompts.answerButton(PromptButton::Yes);
    action("Save script to a new effect file")->trigger();
    ASSERT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(prompts.asked[0].kind, PromptKind::SaveFileName);
    EXPECT_EQ(prompts.asked[0].filter, QStringLiteral("Packages (*.shader)"));
    const PromptRequest& offer = prompts.asked[1];
    EXPECT_EQ(offer.icon, PromptIcon::Question);
    EXPECT_EQ(offer.text,
              QStringLiteral("Effect file is not referenced in the game configuration \"Test\"."));
    EXPECT_EQ(offer.informative, QStringLiteral("Do you want to add it to the package list?"));
    EXPECT_EQ(offer.detailed, target);
    EXPECT_EQ(offer.buttons, PromptButton::Yes | PromptButton::No);
    EXPECT_EQ(offer.defaultButton, PromptButton::Yes);
    const QByteArray written = readFile("game/baseq3/scripts/new.shader");
    EXPECT_TRUE(written.contains("textures/base/plain"));
    EXPECT_TRUE(written.contains("// moved"));
    EXPECT_TRUE(window->gameConfigs.current->Parcel.contains(target));
    EXPECT_FALSE(dialog->currentEffect->flags & SHADER_EDITED);
    // Cancelling the file request changes nothing.
    appendToLine(dialog->script, 1, QStringLiteral(" again"));
    cPromptScript cancel;
    action("Save script to a new effect file")->trigger();
    EXPECT_TRUE(dialog->currentEffect->flags & SHADER_EDITED);
    EXPECT_FALSE(readFile("game/baseq3/scripts/new.shader").contains("again"));
}

// Connections by name rely on each class's own slot table: names, signatures and order.
TEST(ShaderEditSlots, TheSlotTablesListTheSlotsInOrder) {
    const struct {
        const QMetaObject* meta;
        QStringList names;
    } cases[] = {
        {&cShaderEditDialog::staticMetaObject,
         {"exec_on_changeShader()",
          "exec_on_changeShaderGroup()",
          "exec_on_toggleAutoRotation()",
          "exec_on_toggleDrawTris()",
          "exec_on_toggleDrawNormals()",
          "exec_on_changeGeom0()",
          "exec_on_changeGeom1()",
          "exec_on_changeGeom2()",
          "exec_on_changeGeom3()",
          "exec_on_changeGeom4()",
          "exec_on_filterChanged(QString)",
          "exec_on_applyFilter()",
          "exec_on_load_image()",
          "exec_on_load_scriptfile()",
          "exec_on_save_scriptfile()",
          "exec_on_saveas_scriptfile()",
          "exec_on_reformat()",
          "exec_on_compileScript()",
          "exec_on_buildScript()",
          "exec_on_toggleAutoComplete()",
          "exec_on_toggleAutoIndent()",
          "exec_on_changeModificationState()",
          "exec_on_changeSource()",
          "exec_on_undo()",
          "exec_on_redo()",
          "exec_on_undoEnable(bool)",
          "exec_on_redoEnable(bool)",
          "exec_on_newShader()",
          "exec_on_deleteShader()"}},
        {&cShaderEditScript::staticMetaObject,
         {"updateBlockData()", "updateHighlights()", "updateLineNumbersWidth(int)",
          "updateLineNumbers(QRect,int)", "insertCompletion(QString)", "fillCompleteSuggestions()",
          "invalidateCompleteSuggestions()"}},
    };
    for (const auto& c : cases) {
        QStringList own;
        for (int i = c.meta->methodOffset(); i < c.meta->methodCount(); ++i)
            if (c.meta->method(i).methodType() == QMetaMethod::Slot)
                own.append(QString::fromLatin1(c.meta->method(i).methodSignature()));
        EXPECT_EQ(own, c.names) << c.meta->className();
    }
}

// A new effect takes its name from the image's place below the last "textures" folder; an image
// elsewhere, or one an effect is made from already, is refused. An unsaved new effect nothing
// uses can be deleted.
TEST_F(ShaderEditDialogTest, NewEffectsFromImages) {
    writeFile("game/baseq3/textures/base/wall.tga", QByteArray());
    writeFile("game/baseq3/other/x.tga", QByteArray());
    dialog->setShader(QStringLiteral("base/plain"), QLatin1String(kGroup));
    dialog->show();
    const QString wall = path("game/baseq3/textures/base/wall.tga");
    const struct {
        QString image;
        QString refusal; // empty: made
    } cases[] = {
        {wall, {}},
        {wall, QStringLiteral("Effect for image already exists:\n\n%1").arg(wall)},
        {path("game/baseq3/other/x.tga"),
         QStringLiteral("Failed to create effect for image outside the \"textures\" directory:\n\n%1")
             .arg(path("game/baseq3/other/x.tga"))},
    };
    for (const auto& c : cases) {
        cPromptScript prompts;
        prompts.answerText(c.image);
        dialog->btnNew->click();
        ASSERT_FALSE(prompts.asked.isEmpty());
        EXPECT_EQ(prompts.asked[0].kind, PromptKind::OpenFileName);
        EXPECT_EQ(prompts.asked[0].filter, QStringLiteral("Textures (*.tga *.jpg)"));
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(prompts.asked.size(), 1);
            ASSERT_NE(dialog->currentEffect, nullptr);
            EXPECT_STREQ(dialog->currentEffect->name, "base/wall");
            EXPECT_EQ(dialog->currentItem->text(0), QStringLiteral("base/wall*"));
            EXPECT_TRUE(dialog->script->toPlainText().contains(QStringLiteral("textures/base/wall.tga")));
            EXPECT_TRUE(console.contains(QStringLiteral("New effect: `base/wall'")));
        } else {
            ASSERT_EQ(prompts.asked.size(), 2);
            EXPECT_EQ(prompts.asked[1].text, c.refusal);
        }
    }
    ShaderRecord* made = dialog->currentEffect;
    ASSERT_TRUE(made->flags & SHADER_CREATED_HERE);
    cPromptScript prompts;
    prompts.answerButton(PromptButton::Yes);
    dialog->btnDel->click();
    EXPECT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(Tex_FindShader(&window->textures, "base/wall"), nullptr);
    EXPECT_NE(dialog->currentEffect, made);
    EXPECT_TRUE(dialog->shaderList->findItems(QStringLiteral("base/wall*"), Qt::MatchFixedString).isEmpty());
    EXPECT_FALSE(dialog->edits.contains(QStringLiteral("base/wall")));
}

TEST_F(ShaderEditDialogTest, LoadScriptFromAFileFoundAndNot) {
    writeFile("game/baseq3/scripts/alt.shader", "textures/base/plain\n{\n\tcull back // alt\n}\n");
    writeFile("game/baseq3/scripts/none.shader", "textures/base/other\n{\n\tcull back\n}\n");
    dialog->setShader(QStringLiteral("base/plain"), QLatin1String(kGroup));
    dialog->show();
    {
        cPromptScript prompts;
        prompts.answerText(path("game/baseq3/scripts/none.shader"));
        action("Load script from a effect file")->trigger();
        ASSERT_EQ(prompts.asked.size(), 2);
        EXPECT_EQ(prompts.asked[0].filter, QStringLiteral("Packages (*.shader)"));
        EXPECT_EQ(prompts.asked[1].text,
                  QStringLiteral("Effect \"base/plain\" is not defined\nin the selected package:\n\n%1")
                      .arg(path("game/baseq3/scripts/none.shader")));
        EXPECT_FALSE(dialog->script->document()->isModified());
    }
    cPromptScript prompts;
    prompts.answerText(path("game/baseq3/scripts/alt.shader"));
    action("Load script from a effect file")->trigger();
    EXPECT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(dialog->script->toPlainText().contains(QStringLiteral("// alt")));
    EXPECT_EQ(dialog->currentItem->text(0), QStringLiteral("base/plain*"));
    // One undo gives the old text back.
    dialog->script->undo();
    EXPECT_FALSE(dialog->script->toPlainText().contains(QStringLiteral("// alt")));
}
