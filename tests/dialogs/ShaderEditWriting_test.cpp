// Writing edited effects back: which file gets which chain, and that every byte the edits do not
// touch stays as it was.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextCursor>
#include <QTreeWidget>

#include "../mainwindow/WindowFixture.h"
#include "ConsoleCapture.h"
#include "Pk3Writer.h"
#include "core/Prompt.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "dialogs/editing/ShaderEditScript.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "gamedata/PluginInterface.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureRecords.h"

namespace {

// Five entries, comments and odd spacing between them, CRLF line ends.
// Five entries, comments and odd spacing between them, CRLF line ends. The list shows effects
// with stages only.
const QByteArray kFive =
    QByteArray("// five effects\n"
               "textures/w/d\n{\n\tcull none // keep me\n\t{\n\t\tmap $lightmap\n\t}\n}\n\n"
               "/* between\n   entries */\n"
               "textures/w/b\n{\n\t{\n\t\tmap $lightmap\n\t}\n}\n"
               "textures/w/A   {\n\t{\n\t\tmap $lightmap\n\t}\n}\n"
               "\n\n// before e\ntextures/w/e\n{\n\t{\n\t\tmap $lightmap\n\t}\n}\n"
               "textures/w/c\n{\n\t{\n\t\tmap \"$lightmap\" // }\n\t}\n}\n"
               "// the end")
        .replace("\n", "\r\n");
const QByteArray kOther = "textures/w/z\n{\n\t{\n\t\tmap $lightmap\n\t}\n}\n";
const QByteArray kInPak = "// packed\ntextures/p/one\n{\n\t{\n\t\tmap $lightmap\n\t}\n}\n\n"
                          "textures/p/two\n{\n\tcull back\n\t{\n\t\tmap $lightmap\n\t}\n}\n";

// The chains the spy saw, one list of names per call, with the path.
struct WriteCall {
    QString path;
    QStringList chain;
    bool whole;
};
QList<WriteCall> g_calls;
bool (*g_realWrite)(const char*, ShaderRecord*, bool) = nullptr;

bool spyWrite(const char* path, ShaderRecord* head, bool whole) {
    WriteCall call{QString::fromLocal8Bit(path), {}, whole};
    for (ShaderRecord* e = head; e; e = whole ? e->nextInScript : nullptr)
        call.chain.append(QString::fromLatin1(e->name));
    g_calls.append(call);
    return g_realWrite(path, head, whole);
}

class ShaderEditWritingTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        writeFile("game/baseq3/scripts/five.shader", kFive);
        writeFile("game/baseq3/scripts/other.shader", kOther);
        writeFile("game/baseq3/textures/w/new.tga", QByteArray());
        QDir().mkpath(path("game/baseq3"));
        QFile pk3(path("game/baseq3/pak0.pk3"));
        ASSERT_TRUE(pk3.open(QIODevice::WriteOnly));
        pk3.write(Pk3Build({{"scripts/inpak.shader", kInPak, 8}}));
        pk3.close();
        writeFile("base/KDKGameCfg.ini",
                  QStringLiteral("[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\n"
                                 "GameBasedir=%1\nParcel0=%2\nParcel1=%3\nParcel2=%4\n")
                      .arg(path("game/baseq3"), path("game/baseq3/scripts/five.shader"),
                           path("game/baseq3/scripts/other.shader"), path("game/baseq3/scripts/inpak.shader"))
                      .toUtf8());
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        ASSERT_NE(window->openFile(kSampleMap), nullptr);
        dialog = window->shaderEditDialog;
        window->settings.BackupFiles = true;
        dialog->setShader(QString(), QStringLiteral("(All Textures)"));
        ASSERT_NE(dialog->profile, nullptr);
        // The plugin's functions with a spy around the writer.
        spyProfile = *dialog->profile;
        spyFuncs = *dialog->profile->funcs;
        g_realWrite = spyFuncs.WriteShaderScript;
        spyFuncs.WriteShaderScript = spyWrite;
        spyProfile.funcs = &spyFuncs;
        dialog->profile = &spyProfile;
        g_calls.clear();
        dialog->show();
    }
    void TearDown() override {
        if (dialog && dialog->isVisible()) dialog->hide();
        window.reset();
        cWindowFixture::TearDown();
    }
    void choose(const QString& name) {
        const auto items = dialog->shaderList->findItems(name, Qt::MatchFixedString);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        dialog->shaderList->setCurrentItem(items.first());
    }
    // Types at the end of the open effect's first line ("{").
    void edit(const QString& name, const QString& text) {
        choose(name);
        QTextCursor cursor(dialog->script->document()->findBlockByNumber(0));
        cursor.movePosition(QTextCursor::EndOfBlock);
        dialog->script->setTextCursor(cursor);
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(dialog->script, &press);
        }
    }
    void close(int32_t answer) {
        cPromptScript prompts;
        prompts.answerButton(answer);
        dialog->btnClose->click();
    }

    cConsoleCapture console;
    std::unique_ptr<cMainWindow> window;
    cShaderEditDialog* dialog = nullptr;
    MapProfileRecord spyProfile{};
    ProfileFuncs spyFuncs{};
};

// The file with the edited entries "b", "A" and "c" replaced and every other byte as before.
QByteArray expectedFive() {
    QByteArray want = kFive;
    for (const char* entry : {"textures/w/b\r\n{", "textures/w/A   {", "textures/w/c\r\n{"}) {
        const qsizetype at = want.indexOf(entry);
        const qsizetype brace = want.indexOf('{', at);
        const QByteArray name = want.mid(at, brace - at).trimmed();
        want.insert(brace + 1, " // edited");
        if (name == "textures/w/A") want.replace(at, brace - at, name + "\r\n");
    }
    return want;
}

} // namespace

TEST_F(ShaderEditWritingTest, EditedEntriesOfAFileAreWrittenInOneCallKeepingEveryOtherByte) {
    const QString five = path("game/baseq3/scripts/five.shader");
    writeFile("game/baseq3/scripts/five.shadex", "an older backup");
    for (const char* name : {"w/b", "w/A", "w/c"})
        edit(QString::fromLatin1(name), QStringLiteral(" // edited"));
    close(PromptButton::Save);
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_EQ(g_calls.size(), 1);
    EXPECT_EQ(g_calls[0].path, five);
    EXPECT_EQ(g_calls[0].chain, QStringList({"w/A", "w/b", "w/c"}));
    EXPECT_TRUE(g_calls[0].whole);
    EXPECT_EQ(readFile("game/baseq3/scripts/five.shader"), expectedFive());
    EXPECT_EQ(readFile("game/baseq3/scripts/five.shadex"), kFive);
    EXPECT_FALSE(QFile::exists(five + ".tmp"));
}

TEST_F(ShaderEditWritingTest, TwoFilesAreWrittenInPathOrder) {
    edit(QStringLiteral("w/z"), QStringLiteral(" // z"));
    edit(QStringLiteral("w/d"), QStringLiteral(" // d"));
    close(PromptButton::Save);
    ASSERT_EQ(g_calls.size(), 2);
    EXPECT_EQ(g_calls[0].path, path("game/baseq3/scripts/five.shader"));
    EXPECT_EQ(g_calls[1].path, path("game/baseq3/scripts/other.shader"));
    // The LF file stays LF.
    QByteArray other = kOther;
    EXPECT_EQ(readFile("game/baseq3/scripts/other.shader"), other.insert(other.indexOf('{') + 1, " // z"));
    EXPECT_EQ(readFile("game/baseq3/scripts/other.shadex"), kOther);
}

// A script that lies only in the PK3 is written as a loose file holding every archived entry.
TEST_F(ShaderEditWritingTest, AScriptOnlyInAnArchiveIsSavedLooseWithAllItsEntries) {
    ASSERT_FALSE(QFile::exists(path("game/baseq3/scripts/inpak.shader")));
    QDir(path("game/baseq3/scripts")).removeRecursively();
    edit(QStringLiteral("p/two"), QStringLiteral(" // two"));
    close(PromptButton::Save);
    ASSERT_EQ(g_calls.size(), 1);
    QByteArray loose = kInPak;
    EXPECT_EQ(readFile("game/baseq3/scripts/inpak.shader"),
              loose.insert(loose.lastIndexOf("{\n\tcull") + 1, " // two"));
}

// A folder where the file should be: the old bytes stay, and so does the edit, with the dialog.
TEST_F(ShaderEditWritingTest, AnUnwritableFileKeepsTheOldBytesAndTheEdit) {
    QFile::remove(path("game/baseq3/scripts/other.shader.tmp"));
    ASSERT_TRUE(QDir().mkpath(path("game/baseq3/scripts/other.shader.tmp/blocked")));
    edit(QStringLiteral("w/z"), QStringLiteral(" // z"));
    close(PromptButton::Save);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(readFile("game/baseq3/scripts/other.shader"), kOther);
    ASSERT_TRUE(dialog->edits.contains(QStringLiteral("w/z")));
    EXPECT_TRUE(dialog->edits.value(QStringLiteral("w/z")).text.contains(QStringLiteral("// z")));
    close(PromptButton::Discard);
    EXPECT_FALSE(dialog->isVisible());
}

// Discard writes nothing; package effects keep the edited text in memory; a new effect nothing
// uses is deleted, one a face uses stays.
TEST_F(ShaderEditWritingTest, DiscardWritesNothingAndDropsOnlyUnusedNewEffects) {
    writeFile("game/baseq3/textures/w/fresh.tga", QByteArray());
    writeFile("game/baseq3/textures/w/used.tga", QByteArray());
    edit(QStringLiteral("w/d"), QStringLiteral(" // d"));
    ShaderRecord* d = Tex_FindShader(&window->textures, "w/d");
    for (const char* image : {"fresh", "used"}) {
        cPromptScript prompts;
        prompts.answerText(path(QStringLiteral("game/baseq3/textures/w/%1.tga").arg(QLatin1String(image))));
        dialog->btnNew->click();
        ASSERT_TRUE(prompts.asked.size() == 1) << image;
    }
    ShaderRecord* used = Tex_FindShader(&window->textures, "w/used");
    ASSERT_NE(used, nullptr);
    ASSERT_NE(Tex_FindShader(&window->textures, "w/fresh"), nullptr);
    EXPECT_TRUE(used->flags & SHADER_CREATED_HERE);
    ++used->refCount; // a face holds it
    const QByteArray fiveBefore = readFile("game/baseq3/scripts/five.shader");
    close(PromptButton::Discard);
    EXPECT_TRUE(g_calls.isEmpty());
    EXPECT_EQ(readFile("game/baseq3/scripts/five.shader"), fiveBefore);
    EXPECT_TRUE(
        QString::fromLocal8Bit(static_cast<const char*>(d->pluginData)).contains(QStringLiteral("// d")));
    EXPECT_EQ(Tex_FindShader(&window->textures, "w/fresh"), nullptr);
    EXPECT_EQ(Tex_FindShader(&window->textures, "w/used"), used);
    EXPECT_TRUE(console.contains(QStringLiteral("Deleting custom effect: `w/fresh'")));
    --used->refCount;
}

// New effects without a file: the file is asked for before anything is stored, and its Cancel
// keeps the dialog open with every edit.
TEST_F(ShaderEditWritingTest, NewEffectsAskForTheirFileFirst) {
    {
        cPromptScript prompts;
        prompts.answerText(path("game/baseq3/textures/w/new.tga"));
        dialog->btnNew->click();
    }
    ShaderRecord* made = Tex_FindShader(&window->textures, "w/new");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(dialog->currentItem->text(0), QStringLiteral("w/new*"));
    {
        cPromptScript prompts;
        prompts.answerButton(PromptButton::Save);
        dialog->btnClose->click(); // the file request gets no answer: cancelled
        ASSERT_EQ(prompts.asked.size(), 2);
        EXPECT_EQ(prompts.asked[1].kind, PromptKind::SaveFileName);
    }
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(made->flags & SHADER_EDITED);
    EXPECT_TRUE(dialog->edits.contains(QStringLiteral("w/new")));
    EXPECT_EQ(Tex_FindShader(&window->textures, "w/new"), made);
    cPromptScript prompts;
    prompts.answerButton(PromptButton::Save);
    prompts.answerText(path("game/baseq3/scripts/new.shader"));
    prompts.answerButton(PromptButton::No); // not added to the package list
    dialog->btnClose->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(readFile("game/baseq3/scripts/new.shader"),
              "textures/w/new\n{\n\t{\n\t\tmap \"textures/w/new.tga\"\n\t\trgbGen identity\n\t}\n}\n");
    EXPECT_FALSE(made->flags & SHADER_CREATED_HERE);
}

// A new effect whose default script cannot be made is released after the warning: nothing lists
// it, so it could be neither saved nor deleted. Without the profile's functions the button asks
// nothing.
TEST_F(ShaderEditWritingTest, ANewEffectWithoutADefaultScriptIsReleased) {
    writeFile("game/baseq3/textures/w/broken.tga", QByteArray());
    spyFuncs.ClassifyShaderPath = [](const char*, ShaderRecord*) { return false; };
    const QString image = path("game/baseq3/textures/w/broken.tga");
    {
        cPromptScript prompts;
        prompts.answerText(image);
        dialog->btnNew->click();
        ASSERT_EQ(prompts.asked.size(), 2);
        EXPECT_EQ(prompts.asked[1].text,
                  QStringLiteral("Failed to create effect for image:\n\n%1").arg(image));
    }
    EXPECT_EQ(Tex_FindShader(&window->textures, "w/broken"), nullptr);
    EXPECT_EQ(Tex_FindShaderByKey(&window->textures, image.toLocal8Bit().constData()), nullptr);
    EXPECT_TRUE(dialog->shaderList->findItems(QStringLiteral("w/broken*"), Qt::MatchFixedString).isEmpty());
    EXPECT_TRUE(dialog->edits.isEmpty());
    spyProfile.funcs = nullptr;
    cPromptScript prompts;
    dialog->exec_on_newShader();
    EXPECT_TRUE(prompts.asked.isEmpty());
}
