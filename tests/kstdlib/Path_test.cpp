#include <gtest/gtest.h>

#include <string.h>

#include "kstdlib/kstdlib.h"

namespace {

using Extractor = int (*)(const char*, char*, size_t);

struct ExtractCase {
    const char* path;
    const char* result;
};

void ExpectExtracts(Extractor extract, const char* name, std::initializer_list<ExtractCase> cases) {
    for (const ExtractCase& c : cases) {
        char dst[64];
        memset(dst, 'x', sizeof(dst));
        EXPECT_EQ(extract(c.path, dst, sizeof(dst)), static_cast<int>(strlen(c.result)))
            << name << " " << c.path;
        EXPECT_STREQ(dst, c.result) << name << " " << c.path;
    }
}

} // namespace

TEST(ExtractFile, NamePathBaseAndExtension) {
    ExpectExtracts(K_ExtractFileName, "name",
                   {{"maps/room.map", "room.map"},
                    {"a\\b\\c.txt", "c.txt"},
                    {"dir/", ""},
                    {"plain", "plain"},
                    {"a", "a"},
                    {"", ""}});
    ExpectExtracts(K_ExtractFilePath, "path",
                   {{"maps/room.map", "maps"}, {"a\\b/c", "a\\b"}, {"/root", ""}, {"plain", ""}, {"", ""}});
    ExpectExtracts(K_ExtractFileBase, "base",
                   {{"dir/a.b", "a"},
                    {"a.b", "a"},
                    {"maps/room.old.map", "room.old"},
                    {"dir.d/file", "file"},
                    {"dir/.hidden", ""},
                    {"noext", "noext"},
                    {"a", "a"},
                    {"dir/", ""},
                    {"x\\y\\z.tga", "z"}});
    ExpectExtracts(K_ExtractFileExtension, "extension",
                   {{"dir/a.tar.gz", ".gz"}, {".profile", ""}, {"none", ""}, {"dir.d/file", ".d/file"}});
}

TEST(ExtractFile, TruncatesToTheBufferAndHonoursZeroSize) {
    char dst[4];
    EXPECT_EQ(K_ExtractFileName("dir/longname", dst, sizeof(dst)), 3);
    EXPECT_STREQ(dst, "lon");
    char untouched[4] = "abc";
    EXPECT_EQ(K_ExtractFileName("dir/longname", untouched, 0), 0);
    EXPECT_EQ(K_ExtractFilePath("dir/longname", untouched, 0), 0);
    EXPECT_EQ(K_ExtractFileBase("dir/longname", untouched, static_cast<size_t>(-1)), 0);
    EXPECT_EQ(K_ExtractFileExtension("a.ext", untouched, 0), 0);
    EXPECT_STREQ(untouched, "abc");
}

TEST(DefaultExtension, AppendsOnlyWithoutAnExtension) {
    const struct {
        const char* path;
        const char* result;
    } cases[] = {{"maps/room", "maps/room.map"},
                 {"maps/room.old", "maps/room.old"},
                 {"dir.d/room", "dir.d/room.map"},
                 {".hidden", ".hidden.map"}};
    for (const auto& c : cases) {
        char path[32];
        strcpy(path, c.path);
        K_DefaultExtension(path, sizeof(path), ".map");
        EXPECT_STREQ(path, c.result) << c.path;
    }
}

TEST(DefaultExtension, TruncatesAndHonoursZeroSize) {
    char path[8] = "room";
    K_DefaultExtension(path, sizeof(path), ".map");
    EXPECT_STREQ(path, "room.ma");
    char full[8] = "room";
    K_DefaultExtension(full, 0, ".map");
    EXPECT_STREQ(full, "room");
    K_DefaultExtension(full, static_cast<size_t>(-1), ".map");
    EXPECT_STREQ(full, "room");
}

TEST(StripExtension, CutsAtTheLastDotOfTheName) {
    const struct {
        const char* path;
        const char* result;
    } cases[] = {
        {"dir.d/file", "dir.d/file"}, {"a.b.c", "a.b"}, {".cfg", ".cfg"}, {"", ""}, {"x\\y.z", "x\\y"}};
    for (const auto& c : cases) {
        char path[32];
        strcpy(path, c.path);
        K_StripExtension(path);
        EXPECT_STREQ(path, c.result) << c.path;
    }
}

TEST(ConvertPathSeparators, TurnsBackslashesIntoSlashes) {
    char path[] = "a\\b/c\\";
    K_ConvertPathSeparators(path);
    EXPECT_STREQ(path, "a/b/c/");
    K_ConvertPathSeparators(nullptr);
}
