// Key/value lists: removing a key.
#include <gtest/gtest.h>

#include <string>

#include "map/EPair.h"

namespace {

std::string keysOf(const EPair* first) {
    std::string out;
    for (const EPair* p = first; p; p = p->next)
        out += std::string(p->key ? p->key : "-") + " ";
    return out;
}

TEST(EPair, RemoveKeyTakesEveryMatchIgnoringCase) {
    struct Case {
        const char* key;
        int32_t removed;
        const char* left;
    };
    const Case cases[] = {
        {"target", 3, "origin - angle "}, // first, middle and last, any case
        {"ORIGIN", 1, "target - TARGET angle target "},
        {"missing", 0, "target origin - TARGET angle target "},
        {nullptr, 0, "target origin - TARGET angle target "},
    };
    for (const Case& c : cases) {
        EPair* list = nullptr;
        for (const char* key :
             {"target", "origin", static_cast<const char*>(nullptr), "TARGET", "angle", "target"})
            EPair_Append(&list, key, "v");
        EXPECT_EQ(EPair_RemoveKey(&list, c.key), c.removed) << (c.key ? c.key : "null");
        EXPECT_EQ(keysOf(list), c.left) << (c.key ? c.key : "null");
        EPair_FreeList(&list);
    }
    EXPECT_EQ(EPair_RemoveKey(nullptr, "target"), 0);
}

} // namespace
