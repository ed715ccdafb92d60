// The test plugin's ".kpt" format through the real host: loaded, bound, and called by the
// document's open and save.
#include <QDir>
#include <QFile>
#include <memory>

#include "PluginFixture.h"
#include "core/Prompt.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "gamedata/GameConfig.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The canonical dump; brushes, groups and visgroups get random display colours when they are
// made, so those are masked.
QString dumpWithoutRandomColors(const MapWorld* world) {
    static const QRegularExpression randomColor(
        QStringLiteral("^(\\s*(?:brush|group|visgroup) .*color )\\d+,\\d+,\\d+,\\d+"),
        QRegularExpression::MultilineOption);
    return QString::fromUtf8(Map_DumpWorld(world)).replace(randomColor, QStringLiteral("\\1*"));
}

class KptImportTest : public PluginFixture {
protected:
    void SetUp() override {
        PluginFixture::SetUp();
        install("kpTestx64", QStringLiteral("kpTestx64.so"));
        Plugin_LoadAll(&window.plugins);
        ASSERT_EQ(window.plugins.libraries.size(), 1);
        config.Title = QStringLiteral("Test Game");
        config.MapProfile = QStringLiteral("kpTest");
        window.gameConfigs.configs = {&config};
        Project_Construct(&document);
        console.clear();
    }
    void TearDown() override {
        Project_Destroy(&document);
        window.gameConfigs.configs.clear();
        window.gameConfigs.makeCurrent(nullptr);
        PluginFixture::TearDown();
    }

    static QString fixture() { return QStringLiteral(ZARV_TEST_DATA_DIR "/fixture.kpt"); }

    GameConfig config;
    MapDocument document;
    cPromptScript prompts;
};

TEST_F(KptImportTest, OpenBuildsTheWorldAndSaveWritesTheSameText) {
    ASSERT_TRUE(Project_Load(&document, fixture(), &config)) << plainLines().join('\n').toStdString();
    EXPECT_EQ(dumpWithoutRandomColors(document.world),
              QString::fromUtf8(readAll(QStringLiteral(ZARV_TEST_DATA_DIR "/fixture.dump"))));

    const QString saved = folder.filePath(QStringLiteral("saved.kpt"));
    ASSERT_TRUE(Project_Save(&document, saved, false, true));
    EXPECT_EQ(readAll(saved).toStdString(), readAll(fixture()).toStdString());
}

TEST_F(KptImportTest, OneUndoRemovesTheImport) {
    ASSERT_TRUE(Project_Load(&document, fixture(), &config));
    ASSERT_TRUE(Undo_StepUndo(document.undo));
    MapWorld* world = document.world;
    ASSERT_NE(world->entities, nullptr);
    EXPECT_TRUE(world->entities->flags & EntityFlag::World);
    EXPECT_EQ(world->entities->firstBrush, nullptr);
    EXPECT_EQ(world->entities->next, nullptr);
    EXPECT_EQ(world->groups, nullptr);
}

TEST_F(KptImportTest, BrokenFileFailsTheOpen) {
    const QString path = folder.filePath(QStringLiteral("broken.kpt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("entity\n{\n\"classname\" \"worldspawn\"\nbrush\n{\n( 1 0 0\n");
    file.close();
    EXPECT_FALSE(Project_Load(&document, path, &config));
}

} // namespace
