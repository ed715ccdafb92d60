#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "../quake3/ImageFiles.h"
#include "ConsoleCapture.h"
#include "DocumentFixture.h"
#include "Pk3Writer.h"
#include "document/MapCheck.h"
#include "dialogs/editing/TextureListFill.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginManager.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"
#include "mainwindow/MainWindow.h"

TEST(TextureLists, MissingNamesGetAListedPlaceholder) {
    cConsoleCapture console; // and a main window with its texture manager
    TextureLists lists;
    EXPECT_EQ(TexList_FindShader(&lists, "base/wall"), nullptr);
    ShaderRecord* placeholder = TexList_CreateMissing(&lists, "base/Wall");
    ASSERT_NE(placeholder, nullptr);
    EXPECT_STREQ(placeholder->name, "base/Wall");
    EXPECT_EQ(placeholder->flags & SHADER_PLACEHOLDER, SHADER_PLACEHOLDER);
    EXPECT_EQ(placeholder->width, kNoTextureSize);
    EXPECT_EQ(placeholder->height, kNoTextureSize);
    // Look-ups ignore case.
    EXPECT_EQ(TexList_FindShader(&lists, "BASE/WALL"), placeholder);
    EXPECT_EQ(lists.missingCount, 1);

    TexList_RemoveUngrouped(&lists);
    EXPECT_EQ(TexList_FindShader(&lists, "base/wall"), nullptr);
    EXPECT_EQ(lists.missingCount, 0);
}

TEST(TextureLists, WithoutListsTheSharedNoTextureServes) {
    EXPECT_EQ(TexList_FindShader(nullptr, "x"), nullptr);
    ShaderRecord* shared = TexList_CreateMissing(nullptr, "x");
    EXPECT_EQ(shared, Tex_CreateNoTexture());
    EXPECT_STREQ(shared->name, "notexture");
}

// A missing name's placeholder belongs to the texture manager: every configuration's lists share
// it, and a package defining the name later takes it over in place, so faces bound to it through
// the lists see the definition.
TEST(TextureLists, APackageTakesOverTheListedPlaceholder) {
    cConsoleCapture console;
    TextureManager& m = g_mainWindow->textures;
    TextureLists lists;
    TextureLists otherLists;
    ShaderRecord* placeholder = TexList_CreateMissing(&lists, "base/Wall");
    EXPECT_EQ(placeholder->flags & (SHADER_PLACEHOLDER | SHADER_NO_SHIFT_WRAP),
              SHADER_PLACEHOLDER | SHADER_NO_SHIFT_WRAP);
    EXPECT_EQ(placeholder->takeOverWord, 16);
    EXPECT_EQ(placeholder->image, Tex_CreateNoTexture()->image);
    EXPECT_EQ(TexList_CreateMissing(&otherLists, "BASE/WALL"), placeholder);
    ++placeholder->refCount; // a face bound through the lists

    TexturePackage* package = Tex_AcquirePackage(&m, "/nowhere/base.shader");
    package->loaded = true;
    m.loading = package;
    ShaderRecord* defined = Tex_FindOrCreateShader("textures/base/wall", "base/wall", 0);
    m.loading = nullptr;
    EXPECT_EQ(defined, placeholder);
    EXPECT_EQ(TexList_FindShader(&lists, "base/wall"), placeholder);
    EXPECT_FALSE(placeholder->flags & SHADER_PLACEHOLDER);
    EXPECT_TRUE(placeholder->flags & SHADER_TAKEN_OVER);
    EXPECT_EQ(placeholder->takeOverWord, 0);
    EXPECT_EQ(placeholder->image, nullptr);
    EXPECT_EQ(placeholder->package, package);
    EXPECT_EQ(package->shaders, QList<ShaderRecord*>{placeholder});
    EXPECT_TRUE(m.placeholders.isEmpty());

    // The package's release leaves the face's reference; the face's release frees it.
    Tex_FreePackages(&m);
    ASSERT_EQ(placeholder->refCount, 1);
    Tex_ReleaseShader(&m, placeholder, true);
    EXPECT_TRUE(m.effects.isEmpty());
    EXPECT_EQ(Tex_ReportLeaks(&m), 0);
}

// ---- Groups, entries and the widget fillers over real packages ----

namespace {

QByteArray solidTga(int size, char shade) {
    return TgaFile(2, size, size, 24, 0x20, QByteArray(size * size * 3, shade));
}

bool sameIcon(const QIcon& icon, const char* resource) {
    return icon.pixmap(16).toImage() == QIcon(QString::fromLatin1(resource)).pixmap(16).toImage();
}

QStringList comboTexts(const QComboBox& box) {
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts.append(box.itemText(i));
    return texts;
}

QStringList childTexts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts.append(item->child(i)->text(0));
    return texts;
}

quint64 address(const void* record) {
    return static_cast<quint64>(reinterpret_cast<quintptr>(record));
}

// A game folder "baseoa" with a directory package (two textures), one single image file, and an
// effect script inside a PK3 read by the real Quake III plugin. The configuration lists them in
// that order; the packages are freed after each test.
class TextureListsPackages : public ::testing::Test {
protected:
    cConsoleCapture console;
    TextureManager& m = g_mainWindow->textures;
    QTemporaryDir dir;
    GameConfig config;
    TextureLists lists;
    const bool hideBefore = g_mainWindow->settings.HideIncompleteShaders;

    void SetUp() override {
        const QString plugin = QStringLiteral(ZARV_BIN_DIR) + "/plugins/kpQuake3x64.so";
        if (!QFileInfo::exists(plugin)) GTEST_SKIP() << "the Quake III plugin is not built";
        if (g_mainWindow->archives.formats.isEmpty()) {
            ASSERT_TRUE(Plugin_Load(&g_mainWindow->plugins, plugin));
        }
        config.GameBasedir = dir.filePath("baseoa");
        config.MapProfile = "kpQuake3";
        write("baseoa/textures/base/Wall.tga", solidTga(4, 10));
        write("baseoa/textures/base/floor.tga", solidTga(8, 20));
        write("baseoa/textures/single/one.tga", solidTga(2, 30));
        const QByteArray script = "textures/fx/plain\n{\n\t{\n\t\tmap textures/fx/r1.tga\n\t}\n}\n"
                                  "textures/fx/ring\n{\n\t{\n\t\tanimMap 2 textures/fx/r1.tga "
                                  "textures/fx/r2.tga textures/fx/r3.tga\n\t}\n}\n"
                                  "textures/fx/incomplete\n{\n\t{\n\t\trgbGen identity\n\t}\n}\n"
                                  "textures/fx/hidden\n{\n\t{\n\t\tmap textures/fx/r2.tga\n\t}\n}\n";
        QDir().mkpath(config.GameBasedir);
        QFile pk3(dir.filePath("baseoa/pak0.pk3"));
        ASSERT_TRUE(pk3.open(QIODevice::WriteOnly));
        pk3.write(Pk3Build({{"scripts/fx.shader", script, 8},
                            {"textures/fx/r1.tga", solidTga(2, 40), 8},
                            {"textures/fx/r2.tga", solidTga(2, 50), 0},
                            {"textures/fx/r3.tga", solidTga(2, 60), 8}}));
        pk3.close();
        Archive_LoadForConfig(&g_mainWindow->archives, &config);
        g_mainWindow->gameConfigs.makeCurrent(&config);
        config.Parcel = {config.GameBasedir + "/textures/base::*.tga",
                         config.GameBasedir + "/textures/single/one.tga",
                         config.GameBasedir + "/scripts/fx.shader"};
        for (const QString& path : std::as_const(config.Parcel)) {
            TexturePackage* package = Tex_AcquirePackage(&m, path);
            ASSERT_TRUE(Tex_LoadPackage(&m, package, nullptr, config.GameBasedir, QString()))
                << path.toStdString();
        }
        Tex_LinkNewShaders(&m);
        // The manager and plugins mark what is never listed; one of the script's effects here.
        hidden = Tex_FindShader(&m, "fx/hidden");
        ASSERT_NE(hidden, nullptr);
        hidden->flags |= SHADER_NO_CARVE;
        // A later package listing a name of the directory's in other case (the manager merges
        // same-named definitions, so the image file gets a record of its own here).
        m.loading = Tex_FindPackage(config.Parcel[1]);
        other = Tex_CreateShader(&m, "other floor", "BASE/Floor", 0);
        m.loading = nullptr;
        ASSERT_EQ(other->package, Tex_FindPackage(config.Parcel[1]));
    }
    void TearDown() override {
        g_mainWindow->settings.HideIncompleteShaders = hideBefore;
        TexList_Destroy(&lists);
        Tex_FreePackages(&m);
        EXPECT_EQ(Tex_ReportLeaks(&m), 0);
        g_mainWindow->gameConfigs.makeCurrent(nullptr);
        Archive_ReleaseByOwner(&g_mainWindow->archives, &config);
    }
    void write(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(dir.filePath(name)).absolutePath());
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList groupNames() const {
        QStringList names;
        for (const TextureGroupItem& group : lists.groups)
            names.append(group.name);
        return names;
    }
    void rebuild(bool hideIncomplete) {
        g_mainWindow->settings.HideIncompleteShaders = hideIncomplete;
        TexList_RemoveUngrouped(&lists);
        TexList_Rebuild(&lists, &config);
        TexList_AddUngrouped(&lists);
    }

    ShaderRecord* hidden = nullptr;
    ShaderRecord* other = nullptr;
    const QString dirGroup = QStringLiteral("baseoa/textures/base");
    const QString fxGroup = QStringLiteral("baseoa/scripts/fx.shader");
};

} // namespace

TEST_F(TextureListsPackages, GroupsAndEntriesFollowThePackages) {
    struct Case {
        bool hideIncomplete;
        QStringList keys;    // in entries order
        QStringList missing; // keys listed as missing
    };
    const Case cases[] = {
        {false, {"BASE/FLOOR", "BASE/WALL", "FX/INCOMPLETE", "FX/PLAIN", "FX/RING", "SINGLE/ONE"}, {}},
        // Hidden from the groups, an incomplete effect is still a loaded one: listed as missing.
        {true,
         {"BASE/FLOOR", "BASE/WALL", "FX/INCOMPLETE", "FX/PLAIN", "FX/RING", "SINGLE/ONE"},
         {"FX/INCOMPLETE"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hideIncomplete);
        rebuild(c.hideIncomplete);
        EXPECT_EQ(groupNames(), (QStringList{"(All Textures)", "(Miscellaneous)", fxGroup, dirGroup}));
        EXPECT_EQ(lists.entries.keys(), c.keys);
        QStringList missing;
        for (auto it = lists.entries.cbegin(); it != lists.entries.cend(); ++it)
            if (it->group == "(Missing Textures)") missing.append(it.key());
        EXPECT_EQ(missing, c.missing);
        EXPECT_EQ(lists.missingCount, c.missing.size());
        // The directory lists "floor" first: the image file's "Floor" does not take its entry over.
        const TextureListEntry floor = lists.entries.value("BASE/FLOOR");
        EXPECT_EQ(floor.group, dirGroup);
        EXPECT_EQ(floor.package, Tex_FindPackage(config.Parcel[0]));
        EXPECT_NE(floor.shader, other);
        EXPECT_STREQ(floor.shader->name, "base/floor");
        EXPECT_EQ(lists.entries.value("SINGLE/ONE").group, "(Miscellaneous)");
        EXPECT_EQ(lists.groupPackages.value("(All Textures)"), Tex_FindPackage(config.Parcel[2]));
        EXPECT_EQ(lists.groupPackages.value("(Miscellaneous)"), Tex_FindPackage(config.Parcel[1]));
        const char* icons[] = {":/qrc/l_all.png", ":/qrc/l_all.png", ":/qrc/l_shd.png", ":/qrc/l_dir.png"};
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(sameIcon(lists.groups[i].icon, icons[i])) << i;
    }
    EXPECT_EQ(TexList_FindGroup(&lists, "fx/ring"), fxGroup);
    EXPECT_EQ(TexList_FindGroup(&lists, "no/such"), "(All Textures)");
    EXPECT_EQ(TexList_FindDecalGroup(&lists), "(All Textures)");
    lists.groups.append(TextureGroupItem{"baseoa/Decals", QIcon()});
    lists.groups.append(TextureGroupItem{"baseoa/textures/decals", QIcon()});
    EXPECT_EQ(TexList_FindDecalGroup(&lists), "baseoa/textures/decals"); // "decals" with any case only
    // Rebuilding forgets the recent names; the missing ones are the callers' to reset.
    TexList_AddRecent(&lists, "fx/ring");
    TexList_Rebuild(&lists, &config);
    EXPECT_TRUE(lists.recent.isEmpty());
    EXPECT_EQ(lists.missingCount, 1);
}

// With HideIncompleteShaders on, an incomplete effect is left out of the groups only: a map naming
// it binds the defined effect (lists built as a project load finds them: before the missing names
// are added), so the map check reports only the names no package defines and "Fix all" has no clip
// or tool face to retexture.
TEST_F(TextureListsPackages, HiddenEffectsStillBindAndAreNeverMissing) {
    g_mainWindow->settings.HideIncompleteShaders = true;
    TexList_RemoveUngrouped(&lists);
    TexList_Rebuild(&lists, &config);
    ShaderRecord* incomplete = Tex_FindShader(&m, "fx/incomplete");
    ASSERT_NE(incomplete, nullptr);
    ASSERT_TRUE(incomplete->flags & SHADER_STAGE_WITHOUT_IMAGE);
    EXPECT_FALSE(lists.entries.contains("FX/INCOMPLETE")) << "hidden from the groups";
    EXPECT_EQ(TexList_FindShader(&lists, "FX/Incomplete"), incomplete);
    EXPECT_EQ(TexList_FindShader(&lists, "fx/hidden"), nullptr) << "never-listed effects stay unbound";
    QComboBox box;
    TexList_FillGroupTextures(&lists, fxGroup, &box, QString(), false);
    EXPECT_EQ(comboTexts(box), (QStringList{"fx/plain", "fx/ring"}));

    TextureLists* listsBefore = g_mainWindow->gameConfigs.currentTextureLists;
    g_mainWindow->gameConfigs.currentTextureLists = &lists;
    {
        MapDocument doc;
        EntityRecord* world = Test_NewDocument(&doc);
        const float lo[3] = {0, 0, 0}, hi[3] = {64, 64, 64}, lo2[3] = {128, 0, 0}, hi2[3] = {192, 64, 64};
        BrushRecord* clip = Test_Box(Map_Handle(doc.world), world, lo, hi, "fx/incomplete");
        Test_Box(Map_Handle(doc.world), world, lo2, hi2, "no/such");
        EXPECT_EQ(clip->firstFace->texture, incomplete);
        QStringList missing;
        for (const auto& problem : MapCheck_Run(doc.world, nullptr))
            missing.append(problem->name);
        EXPECT_EQ(missing, QStringList(6, "no/such"));
        Project_Destroy(&doc);
    }
    g_mainWindow->gameConfigs.currentTextureLists = listsBefore;
    for (ShaderRecord* placeholder : m.placeholders.values())
        Tex_ReleaseShader(&m, placeholder, true);
}

TEST_F(TextureListsPackages, CombosAndTabsShowTheGroups) {
    rebuild(true); // one missing texture
    QComboBox groups;
    groups.addItem("kept");
    TexList_FillGroupCombo(&lists, &groups, "BASEOA/TEXTURES/BASE");
    EXPECT_EQ(comboTexts(groups), (QStringList{"kept", "(Missing Textures)", "(All Textures)",
                                               "(Miscellaneous)", fxGroup, dirGroup}));
    EXPECT_EQ(groups.currentIndex(), 5);
    EXPECT_TRUE(sameIcon(groups.itemIcon(1), ":/qrc/l_all.png"));
    EXPECT_TRUE(sameIcon(groups.itemIcon(5), ":/qrc/l_dir.png"));

    QTabBar bar;
    for (int i = 0; i < 7; ++i)
        bar.addTab(QString("old %1").arg(i)); // surplus tabs go
    TexList_FillGroupTabs(&lists, &bar, fxGroup);
    const QStringList texts{"&All Textures", "&Miscellaneous", fxGroup, dirGroup, "Mi&ssing Textures"};
    const QStringList data{"(All Textures)", "(Miscellaneous)", fxGroup, dirGroup, "(Missing Textures)"};
    ASSERT_EQ(bar.count(), 5);
    for (int i = 0; i < bar.count(); ++i) {
        EXPECT_EQ(bar.tabText(i), texts[i]);
        EXPECT_EQ(bar.tabData(i).toString(), data[i]);
        EXPECT_EQ(bar.tabToolTip(i), data[i]);
    }
    EXPECT_TRUE(sameIcon(bar.tabIcon(2), ":/qrc/l_shd.png"));
    EXPECT_EQ(bar.currentIndex(), 2);
    // No tab of that data: the current tab stays; an empty one means "(All Textures)".
    TexList_FillGroupTabs(&lists, &bar, "baseoa/textures/BASE");
    EXPECT_EQ(bar.currentIndex(), 2);
    TexList_FillGroupTabs(&lists, &bar, QString());
    EXPECT_EQ(bar.currentIndex(), 0);
    // Without missing textures the last tab goes.
    TexList_RemoveUngrouped(&lists);
    TexList_FillGroupTabs(&lists, &bar, QString());
    EXPECT_EQ(bar.count(), 4);
    // A placeholder for a name no package gives brings it back.
    ShaderRecord* placeholder = TexList_CreateMissing(&lists, "gone/Texture");
    EXPECT_EQ(placeholder->image, Tex_CreateNoTexture()->image);
    TexList_FillGroupTabs(&lists, &bar, QString());
    EXPECT_EQ(bar.tabData(bar.count() - 1).toString(), "(Missing Textures)");
    TexList_RemoveUngrouped(&lists);
    Tex_ReleaseShader(&m, placeholder); // nobody binds it
}

TEST_F(TextureListsPackages, TextureCombosAndTheirRecentItems) {
    rebuild(false);
    QComboBox box;
    // Textures of one group in entries order, with the thumbnail of their editor image once a
    // view has shown it (its pixels are decoded then, not before).
    TexList_FillGroupTextures(&lists, fxGroup, &box, "FX/RING", false);
    EXPECT_TRUE(box.itemIcon(2).isNull());
    box.clear();
    Tex_RealizeShader(lists.entries.value("FX/RING").shader);
    TexList_FillGroupTextures(&lists, fxGroup, &box, "FX/RING", false);
    EXPECT_EQ(comboTexts(box), (QStringList{"fx/incomplete", "fx/plain", "fx/ring"}));
    EXPECT_EQ(box.currentIndex(), 2); // the combo had no current item
    EXPECT_FALSE(box.itemIcon(2).isNull());
    // A combo with a current item keeps it unless forced.
    box.setCurrentIndex(0);
    TexList_FillGroupTextures(&lists, "(Miscellaneous)", &box, "fx/ring", false);
    EXPECT_EQ(box.currentIndex(), 0);
    TexList_FillGroupTextures(&lists, "(Miscellaneous)", &box, "fx/ring", true);
    EXPECT_EQ(box.currentIndex(), 2); // the first item of that name
    box.clear();
    TexList_FillGroupTextures(&lists, "(All Textures)", &box, QString(), false);
    EXPECT_EQ(box.count(), 6);
    // A record the manager marked as released (negative count) is not offered.
    box.clear();
    ShaderRecord* floor = lists.entries.value("BASE/FLOOR").shader;
    const int count = floor->refCount;
    floor->refCount = -1;
    TexList_FillGroupTextures(&lists, dirGroup, &box, QString(), false);
    floor->refCount = count;
    EXPECT_EQ(comboTexts(box), QStringList{"base/Wall"});

    // Recent names go on top (unlisted ones skipped) above a separator. The Textures dock and the
    // surface dialog each keep them in their own combo: refilling one leaves the other's real
    // textures alone.
    EXPECT_TRUE(TexList_AddRecent(&lists, "base/wall"));
    EXPECT_TRUE(TexList_AddRecent(&lists, "not/listed"));
    EXPECT_TRUE(TexList_AddRecent(&lists, "fx/ring"));
    QComboBox dock, face;
    for (QComboBox* combo : {&dock, &face}) {
        TexList_FillRecentTextures(&lists, combo, "BASE/WALL");
        TexList_FillGroupTextures(&lists, dirGroup, combo, "BASE/WALL", false);
    }
    const QStringList before{"fx/ring", "base/Wall", QString(), "base/floor", "base/Wall"};
    EXPECT_EQ(comboTexts(face), before);
    EXPECT_EQ(face.currentIndex(), 1);
    EXPECT_EQ(lists.recentShown, 2);
    EXPECT_TRUE(TexList_AddRecent(&lists, "single/one"));
    TexList_FillRecentTextures(&lists, &dock, "single/one");
    EXPECT_EQ(comboTexts(dock),
              (QStringList{"single/one", "fx/ring", "base/Wall", QString(), "base/floor", "base/Wall"}));
    EXPECT_EQ(dock.currentIndex(), 0);
    TexList_FillRecentTextures(&lists, &face, "no such");
    EXPECT_EQ(comboTexts(face), comboTexts(dock));
    // With no recent name listed, no separator.
    lists.recent = {"not/listed"};
    TexList_FillRecentTextures(&lists, &face, QString());
    EXPECT_EQ(comboTexts(face), (QStringList{"base/floor", "base/Wall"}));
    EXPECT_EQ(lists.recentShown, 0);
}

TEST_F(TextureListsPackages, EffectTreeWithStagesAndFrames) {
    rebuild(false);
    ShaderRecord* ring = lists.entries.value("FX/RING").shader;
    ring->flags |= 0x100; // edited in the effect editor
    QTreeWidget tree;
    TexList_FillEffectTree(&lists, fxGroup, &tree, "FX/RING", nullptr);
    ASSERT_EQ(tree.topLevelItemCount(), 3);
    EXPECT_EQ(childTexts(tree.topLevelItem(1)), QStringList{"Stage 0 map"});
    EXPECT_EQ(tree.topLevelItem(2)->text(0), "fx/ring*");
    EXPECT_EQ(tree.currentItem(), tree.topLevelItem(2));
    QTreeWidgetItem* item = tree.topLevelItem(2);
    EXPECT_EQ(item->data(0, Qt::UserRole).toULongLong(), address(ring));
    EXPECT_EQ(childTexts(item), QStringList{"Stage 0 animation"});
    QTreeWidgetItem* animation = item->child(0);
    EXPECT_FALSE(animation->data(0, Qt::UserRole).isValid());
    EXPECT_EQ(childTexts(animation), (QStringList{"Frame 0", "Frame 1", "Frame 2"}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(animation->child(i)->data(0, Qt::UserRole).toULongLong(), address(ring->stages->frames[i]));

    // A filter that matches nothing of the current name: the first listed item becomes current.
    tree.clear();
    const QRegularExpression filter("incompl", QRegularExpression::CaseInsensitiveOption);
    TexList_FillEffectTree(&lists, "(All Textures)", &tree, "fx/ring", &filter);
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(tree.currentItem()->text(0), "fx/incomplete");
}

// Frame rings (a plugin's animation of any length) are walked from their head in ring order
// until the head or a null link comes back; slots are numbered by slot.
TEST(TextureLists, StageTreeItemsOfEachStageKind) {
    TextureImage images[5] = {};
    ShaderStage lightmap{}, animated{}, slotted{}, noImage{};
    lightmap.next = &noImage;
    noImage.next = &animated;
    animated.next = &slotted;
    lightmap.frames[0] = &images[0];
    lightmap.frameCount = 1;
    lightmap.stageFlags = STAGE_LIGHTMAP;
    animated.frames[0] = &images[1];
    animated.frameCount = 3;
    animated.frameChain = &images[1];
    images[1].next = &images[2];
    images[2].next = &images[3];
    images[3].next = &images[1];
    slotted.frames[0] = &images[4];
    slotted.frames[2] = &images[0];
    slotted.frameCount = 2;
    ShaderRecord shader{};
    shader.image = &images[4];
    shader.stages = &lightmap;

    QTreeWidgetItem item;
    new QTreeWidgetItem(&item, QStringList("stale"));
    TexList_FillStageTree(&item, &shader);
    EXPECT_EQ(childTexts(&item),
              (QStringList{"Editor image", "Lightmap", "Stage 2 animation", "Stage 3 animation"}));
    EXPECT_EQ(item.child(0)->data(0, Qt::UserRole).toULongLong(), address(&images[4]));
    EXPECT_EQ(childTexts(item.child(2)), (QStringList{"Frame 0", "Frame 1", "Frame 2"}));
    EXPECT_EQ(item.child(2)->child(2)->data(0, Qt::UserRole).toULongLong(), address(&images[3]));
    EXPECT_EQ(childTexts(item.child(3)), (QStringList{"Frame 0", "Frame 2"}));
    // A chain cut short ends at its null link; a placeholder has no editor image of its own.
    images[2].next = nullptr;
    shader.flags = SHADER_PLACEHOLDER;
    TexList_FillStageTree(&item, &shader);
    EXPECT_EQ(childTexts(&item).first(), "Lightmap");
    EXPECT_EQ(childTexts(item.child(1)), (QStringList{"Frame 0", "Frame 1"}));
}

TEST(TextureLists, RecentNamesKeepEightNewestFirst) {
    TextureLists lists;
    struct Step {
        const char* name;
        bool changed;
        const char* recent; // after the step, "|"-separated
    };
    const Step steps[] = {
        {"a", true, "a"},
        {"a", false, "a"},
        {"b", true, "b|a"},
        {"A", true, "A|b|a"}, // case counts
        {"a", true, "a|A|b"},
        {"c", true, "c|a|A|b"},
        {"d", true, "d|c|a|A|b"},
        {"e", true, "e|d|c|a|A|b"},
        {"f", true, "f|e|d|c|a|A|b"},
        {"g", true, "g|f|e|d|c|a|A|b"},
        {"h", true, "h|g|f|e|d|c|a|A"}, // a ninth drops the oldest
        {"c", true, "c|h|g|f|e|d|a|A"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(TexList_AddRecent(&lists, step.name), step.changed);
        EXPECT_EQ(lists.recent.join('|'), step.recent);
    }
    TexList_Clear(&lists);
    EXPECT_TRUE(lists.recent.isEmpty());
}
