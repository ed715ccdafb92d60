#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "dialogs/editing/TextureLists.h"
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
