#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "kstdlib/kstdlib.h"

namespace {

class PrivateProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kprofileXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        K_FreePrivateProfile(profile_);
        std::string command = "rm -rf '" + dir_ + "'";
        (void)system(command.c_str());
    }

    std::string Path(const char* name) const { return dir_ + "/" + name; }

    // Writes text to a file and loads it as the fixture's profile.
    KPrivateProfile* Load(const std::string& text) {
        std::ofstream(Path("in.ini"), std::ios::binary) << text;
        K_FreePrivateProfile(profile_);
        profile_ = K_LoadPrivateProfile(Path("in.ini").c_str());
        return profile_;
    }

    std::string Saved(const KPrivateProfile* profile, const char* name = "out.ini") const {
        EXPECT_TRUE(K_SavePrivateProfile(profile, Path(name).c_str()));
        std::ifstream file(Path(name), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::string Get(const char* section, const char* key) const {
        char value[300] = "<none>";
        K_GetPrivateProfileString(profile_, section, key, nullptr, value, sizeof(value));
        return value;
    }

    std::string dir_;
    KPrivateProfile* profile_ = nullptr;
};

} // namespace

TEST_F(PrivateProfileTest, ReadsSectionsKeysAndComments) {
    ASSERT_NE(Load("; comment\n# other\n\n   \t\n[Main]\na=1\nA=2\n  spaced key  =   some value \t\r\n"
                   "noequals\n=dropped\nq=\"  quoted  \"\n[Empty]\n[ Blanks ]\n  [notsection\n"),
              nullptr);
    EXPECT_EQ(Get("main", "A"), "1"); // case-insensitive names, first value wins
    EXPECT_EQ(Get("Main", "spaced key"), "some value");
    EXPECT_EQ(Get("Main", "noequals"), "");
    EXPECT_EQ(Get("Main", "q"), "  quoted  ");
    EXPECT_EQ(K_GetPrivateProfileVariableCount(profile_, "Main"), 4);
    EXPECT_EQ(K_GetPrivateProfileVariableCount(profile_, "Empty"), 0);
    EXPECT_EQ(K_GetPrivateProfileVariableCount(profile_, " Blanks "), 1);
    EXPECT_STREQ(K_GetPrivateProfileVariableName(profile_, " Blanks ", 0), "[notsection");
    EXPECT_STREQ(K_GetPrivateProfileVariableName(profile_, "Main", 3), "q");
    EXPECT_EQ(K_GetPrivateProfileVariableName(profile_, "Main", 4), nullptr);
    EXPECT_EQ(K_GetPrivateProfileVariableName(profile_, "Main", -1), nullptr);
    EXPECT_EQ(K_GetPrivateProfileVariableName(profile_, "Missing", 0), nullptr);
    EXPECT_STREQ(profile_->path, Path("in.ini").c_str());
}

TEST_F(PrivateProfileTest, KeysBeforeAnySectionGoToDefault) {
    ASSERT_NE(Load("x=1\ny=2\n"), nullptr);
    ASSERT_NE(profile_->firstSection, nullptr);
    EXPECT_STREQ(profile_->firstSection->name, "Default");
    EXPECT_EQ(profile_->firstSection->nextSection, nullptr);
    EXPECT_EQ(K_GetPrivateProfileVariableCount(profile_, "default"), 2);
}

TEST_F(PrivateProfileTest, IntegersFollowTheValues) {
    ASSERT_NE(Load("[n]\nhex=0x10\nword=hello\nneg=-7\n"), nullptr);
    EXPECT_EQ(K_GetPrivateProfileInt(profile_, "n", "hex", 99), 16);
    EXPECT_EQ(K_GetPrivateProfileInt(profile_, "n", "word", 99), 0);
    EXPECT_EQ(K_GetPrivateProfileInt(profile_, "n", "missing", 99), 99);
    EXPECT_TRUE(K_WritePrivateProfileInt(profile_, "n", "word", -5));
    EXPECT_EQ(Get("n", "word"), "-5");
    EXPECT_TRUE(K_WritePrivateProfileString(profile_, "n", "neg", "42"));
    EXPECT_EQ(K_GetPrivateProfileInt(profile_, "n", "neg", 0), 42);
}

TEST_F(PrivateProfileTest, GetStringCopiesTheValueOrTheDefault) {
    ASSERT_NE(Load("[s]\nk=value\n"), nullptr);
    char dst[4] = "abc";
    EXPECT_EQ(K_GetPrivateProfileString(profile_, "s", "k", "def", dst, sizeof(dst)), 3);
    EXPECT_STREQ(dst, "val");
    EXPECT_EQ(K_GetPrivateProfileString(profile_, "s", "none", "de", dst, sizeof(dst)), 2);
    EXPECT_STREQ(dst, "de");
    EXPECT_EQ(K_GetPrivateProfileString(profile_, "s", "none", nullptr, dst, sizeof(dst)), 0);
    EXPECT_STREQ(dst, "de");
    EXPECT_EQ(K_GetPrivateProfileString(profile_, "s", "k", "def", dst, 0), 0);
    EXPECT_EQ(K_GetPrivateProfileString(profile_, "s", "k", "def", dst, -8), 0);
    EXPECT_STREQ(dst, "de");
    EXPECT_EQ(K_GetPrivateProfileString(nullptr, "s", "k", "def", dst, sizeof(dst)), 3);
}

TEST_F(PrivateProfileTest, WritesCreateSectionsAndKeysInOrder) {
    ASSERT_NE(Load("[b]\nz=1\n"), nullptr);
    EXPECT_TRUE(K_WritePrivateProfileString(profile_, "a", "second", "2"));
    EXPECT_TRUE(K_WritePrivateProfileString(profile_, "b", "y", "3"));
    EXPECT_TRUE(K_WritePrivateProfileString(profile_, "B", "Z", "changed"));
    EXPECT_EQ(Saved(profile_), "[b]\nz=changed\ny=3\n\n[a]\nsecond=2\n\n");
    EXPECT_FALSE(K_WritePrivateProfileString(nullptr, "a", "k", "v"));
    EXPECT_FALSE(K_SavePrivateProfile(nullptr, Path("x.ini").c_str()));
}

TEST_F(PrivateProfileTest, LongNamesAndValuesAreCut) {
    const std::string longText(400, 'n');
    ASSERT_NE(Load("[s]\n"), nullptr);
    EXPECT_TRUE(K_WritePrivateProfileString(profile_, "s", longText.c_str(), longText.c_str()));
    const char* name = K_GetPrivateProfileVariableName(profile_, "s", 0);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::string(name), longText.substr(0, 259));
    EXPECT_EQ(Get("s", longText.c_str()), longText.substr(0, 259));
}

TEST_F(PrivateProfileTest, SaveLoadSaveKeepsEverything) {
    ASSERT_NE(Load("[Main]\nplain=1\n[Unclosed\nk=v\n"), nullptr);
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } writes[] = {
        {"Main", "padded", "  both ends  "},
        {"Main", "quoted", "\"in quotes\""},
        {"Main", "lone", "\""},
        {"Main", " key blanks ", "x"},
        {"Main", ";semi", "c"},
        {"Main", "#hash", "d"},
        {"Main", "[bracket", "e"},
        {"Main", "\"q", "f"},
        {"Main", "empty", ""},
        {"Main", "tab", "\tlead"},
        {"Main", "eq", "a=b"},
        {"Other", "k", "v"},
    };
    for (const auto& w : writes)
        ASSERT_TRUE(K_WritePrivateProfileString(profile_, w.section, w.key, w.value)) << w.key;

    const std::string first = Saved(profile_);
    KPrivateProfile* reloaded = K_LoadPrivateProfile(Path("out.ini").c_str());
    ASSERT_NE(reloaded, nullptr);
    EXPECT_EQ(Saved(reloaded, "again.ini"), first);

    // Same sections in order, same keys in order, same values.
    const KProfileSection* a = profile_->firstSection;
    const KProfileSection* b = reloaded->firstSection;
    for (; a && b; a = a->nextSection, b = b->nextSection) {
        EXPECT_STREQ(a->name, b->name);
        const KProfileKey* ka = a->firstKey;
        const KProfileKey* kb = b->firstKey;
        for (; ka && kb; ka = ka->nextKey, kb = kb->nextKey) {
            EXPECT_STREQ(ka->name, kb->name);
            EXPECT_STREQ(ka->value, kb->value) << ka->name;
        }
        EXPECT_EQ(ka, nullptr);
        EXPECT_EQ(kb, nullptr);
    }
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(b, nullptr);
    EXPECT_STREQ(profile_->firstSection->nextSection->name, "Unclosed");
    K_FreePrivateProfile(reloaded);
}

TEST_F(PrivateProfileTest, RefusesEntriesTheFileCannotHold) {
    ASSERT_NE(Load(""), nullptr);
    EXPECT_FALSE(K_WritePrivateProfileString(profile_, "a]b", "k", "v"));
    EXPECT_FALSE(K_WritePrivateProfileString(profile_, "s", "k=1", "v"));
    EXPECT_FALSE(K_WritePrivateProfileString(profile_, "s", "", "v"));
    EXPECT_FALSE(K_WritePrivateProfileString(profile_, "s", "k", "two\nlines"));
    EXPECT_FALSE(K_WritePrivateProfileString(profile_, nullptr, "k", "v"));
    EXPECT_EQ(profile_->firstSection, nullptr);
    EXPECT_TRUE(K_WritePrivateProfileString(profile_, "s", "k", nullptr));
    EXPECT_EQ(Get("s", "k"), "");
}

TEST_F(PrivateProfileTest, ReportsFilesThatCannotBeOpened) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(K_LoadPrivateProfile(Path("missing.ini").c_str()), nullptr);
    EXPECT_EQ(K_LoadPrivateProfile(nullptr), nullptr);
    ASSERT_NE(Load("[s]\nk=v\n"), nullptr);
    EXPECT_FALSE(K_SavePrivateProfile(profile_, Path("no/such/dir.ini").c_str()));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("K_LoadPrivateProfile::fopen"), std::string::npos);
    EXPECT_NE(errors.find("K_SavePrivateProfile::fopen"), std::string::npos);
    K_FreePrivateProfile(nullptr);
}

TEST_F(PrivateProfileTest, SavingReplacesTheOldFileCompletely) {
    ASSERT_NE(Load("[s]\nk=v\n"), nullptr);
    std::ofstream(Path("out.ini")) << "old content that is much longer than the new one\n";
    EXPECT_EQ(Saved(profile_), "[s]\nk=v\n\n");
    EXPECT_NE(access(Path("out.ini.tmp").c_str(), F_OK), 0);
}
