#include <gtest/gtest.h>

#include "dialogs/editing/TextureLists.h"
#include "gamedata/TextureManager.h"

TEST(TextureLists, MissingNamesGetAListedPlaceholder) {
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
