// Real effect scripts in the effect editor, when Debian's openarena-data is present: a game
// configuration on each data folder lists every "scripts/*.shader" of its archives, and every
// effect the editor lists opens in it, is coloured (a crash or sanitizer report fails the run),
// ends at brace depth 0 outside comments and strings, and its reformatted text builds to the same
// stages as its own text. Skipped without the data (see OpenArenaData.h).
#include <QDir>
#include <QTextBlock>
#include <QTreeWidget>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

#include "../mainwindow/WindowFixture.h"
#include "ConsoleCapture.h"
#include "OpenArenaData.h"
#include "core/Prompt.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "dialogs/editing/ShaderEditHighlighter.h"
#include "dialogs/editing/ShaderEditScript.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "gamedata/PluginInterface.h"
#include "gamedata/TexturePackage.h"
#include "gamedata/TextureRecords.h"

namespace {

// What a build leaves in an effect: its scalar fields and, per stage, the images and every
// value after the image pointers.
QByteArray builtState(const ShaderRecord* effect) {
    QByteArray state(reinterpret_cast<const char*>(&effect->surfaceFlags),
                     int(offsetof(ShaderRecord, captionWidth) - offsetof(ShaderRecord, surfaceFlags)));
    state.append(reinterpret_cast<const char*>(effect->deforms), sizeof effect->deforms);
    for (const ShaderStage* stage = effect->stages; stage; stage = stage->next) {
        state.append(reinterpret_cast<const char*>(stage->frames), sizeof stage->frames);
        state.append(reinterpret_cast<const char*>(&stage->stateBits),
                     int(sizeof(ShaderStage) - offsetof(ShaderStage, stateBits)));
    }
    return state;
}

// Builds text into the effect; the number of errors reported.
int build(const ProfileFuncs* funcs, const QString& text, ShaderRecord* effect) {
    int errors = 0;
    const QByteArray bytes = text.toLocal8Bit();
    funcs->BuildSourceCode(
        bytes.constData(), effect, [](int32_t, const char*, void* count) { ++*static_cast<int*>(count); },
        &errors);
    return errors;
}

class OpenArenaEffectsTest : public cWindowFixture {};

TEST_F(OpenArenaEffectsTest, EveryEffectOpensHighlightsAndReformatsToTheSameStages) {
    const QStringList folders = OpenArena_DataFolders();
    if (folders.isEmpty())
        GTEST_SKIP() << "no openarena-data (set ZARV_OPENARENA_DIR or install the package)";
    cConsoleCapture console;
    int opened = 0, reformatted = 0;
    QStringList failures;
    for (const QString& folder : folders) {
        writeFile(
            "base/KDKGameCfg.ini",
            QStringLiteral("[Config0]\nTitle=OpenArena\nEnabled=true\nMapProfile=kpQuake3\nGameBasedir=%1\n")
                .arg(folder)
                .toUtf8());
        cMainWindow window(WindowMode::Interactive);
        window.show();
        ASSERT_NE(window.openFile(kSampleMap), nullptr);
        GameConfig* config = GameCfg_Current();
        ASSERT_NE(config, nullptr);
        Archive_LoadForConfig(&window.archives, config);
        QStringList scripts = Archive_ListFiles(&window.archives, "scripts/*.shader", false);
        if (scripts.isEmpty()) continue;
        scripts.sort(Qt::CaseInsensitive);
        for (const QString& name : std::as_const(scripts)) {
            config->Parcel.append(QDir(folder).filePath(name));
            Tex_AcquirePackage(config->Parcel.last());
        }
        GameCfg_Precache(&window.gameConfigs, config);

        cShaderEditDialog* dialog = window.shaderEditDialog;
        dialog->setShader(QString(), QStringLiteral("(All Textures)"));
        dialog->show();
        ASSERT_NE(dialog->profile, nullptr);
        const ProfileFuncs* funcs = dialog->profile->funcs;
        ASSERT_TRUE(funcs && funcs->BuildSourceCode);
        cShaderEditScript* script = dialog->script;
        for (int i = 0; i < dialog->shaderList->topLevelItemCount(); ++i) {
            dialog->shaderList->setCurrentItem(dialog->shaderList->topLevelItem(i));
            ShaderRecord* effect = dialog->currentEffect;
            if (!effect || !effect->pluginData) continue;
            const QString name = QString::fromLatin1(effect->name);
            const QString text = script->toPlainText();
            ++opened;
            const QTextBlock last = script->document()->lastBlock();
            const auto* data = static_cast<const BlockUserStruct*>(last.userData());
            if (!data || data->depth != 0) failures << name + ": not at depth 0 at the end";
            if (last.userState() != cShaderEditSyntaxHighlighter::StateNormal)
                failures << name + ": ends inside a comment or string";

            const int errors = build(funcs, text, effect);
            const QByteArray before = builtState(effect);
            script->reformat();
            const int errorsAfter = build(funcs, script->toPlainText(), effect);
            if (builtState(effect) != before || errorsAfter != errors)
                failures << name + ": the reformatted text builds differently";
            ++reformatted;
            script->undo();
            if (script->toPlainText() != text) failures << name + ": one undo does not restore the text";
            build(funcs, text, effect);
        }
        {
            cPromptScript prompts;
            prompts.answerButton(PromptButton::Discard);
            dialog->btnClose->click();
        }
    }
    std::printf("openarena-data effects: %d opened, %d reformatted, %d failures\n", opened, reformatted,
                int(failures.size()));
    EXPECT_GT(opened, 0);
    EXPECT_TRUE(failures.isEmpty()) << qPrintable(failures.join('\n'));
}

} // namespace
