#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestWorld.h"
#include "document/MapWorld.h"
#include "core/TextEncoding.h"
#include "document/UniqueName.h"
#include "map/MapEntity.h"

namespace {

class UniqueNameTest : public ::testing::Test {
protected:
    ~UniqueNameTest() override {
        Map_DeleteAllObjects(w);
        t.linkWorldspawn();
    }
    // An entity with the given targetname and target (either may be null).
    EntityRecord* entity(const char* name, const char* target = nullptr,
                         const char* classname = "func_door") {
        const float origin[3] = {0, 0, 0};
        EntityRecord* e = Entity_Create(t.handle(), classname, origin, EntityFlag::Point);
        if (name) e->handle->appendKeyValue("targetname", name);
        if (target) e->handle->appendKeyValue("target", target);
        e->handle->updateTargets();
        return e;
    }
    static std::string value(EntityRecord* e, const char* key) {
        const EPair* pair = e->handle->findKey(key);
        return pair && pair->value ? pair->value : "";
    }

    cTestWorld t;
    MapWorld* w = &t.world;
};

TEST_F(UniqueNameTest, UniqueNameTable) {
    struct Case {
        const char* name;
        std::vector<const char*> inUse;
        QSet<QString> reserved;
        const char* expected;
    };
    const Case cases[] = {
        {"door", {}, {}, "door_1"},
        {"door", {"door_1", "door_2"}, {}, "door_3"},
        {"door", {"door_1"}, {"door_2"}, "door_3"},
        {"door_7", {}, {}, "door_8"},
        {"door_7", {"door_8"}, {"door_9"}, "door_10"},
        {"door_x", {}, {}, "door_x_1"},
        {"door_", {}, {}, "door__1"},
        {"door_007", {}, {}, "door_8"},
        {"a_b_12", {}, {}, "a_b_13"},
        {"_4", {}, {}, "_5"},
        {"door_2147483647", {}, {}, "door_2147483647_1"},
        {"door_99999999999999999999", {}, {}, "door_99999999999999999999_1"},
        {"door_\xb2", {}, {}, "door_\xb2_1"}, // 8-bit text stays as it is
    };
    for (const Case& c : cases) {
        Map_DeleteAllObjects(w);
        t.linkWorldspawn();
        for (const char* used : c.inUse)
            entity(used);
        const QString result = Map_UniqueName(w, Text_FromWindows1251(c.name), c.reserved);
        EXPECT_EQ(Text_ToWindows1251(result).toStdString(), c.expected) << c.name;
    }
}

TEST_F(UniqueNameTest, ConnectKeepsAnExistingNameWhole) {
    const std::string longName(300, 'n');
    EntityRecord* target = entity(longName.c_str());
    EntityRecord* source = entity(nullptr);
    EXPECT_TRUE(Map_ConnectEntities(w, source, target));
    EXPECT_EQ(value(target, "targetname"), longName);
    EXPECT_EQ(value(source, "target"), longName);
    ASSERT_EQ(source->handle->targets.size(), 1u);
    EXPECT_EQ(std::string(source->handle->targets[0].name), longName);
}

TEST_F(UniqueNameTest, ConnectNamesAnUnnamedTargetAfterItsClass) {
    entity("func_door_1");
    EntityRecord* target = entity(nullptr);
    EntityRecord* source = entity(nullptr, "old");
    EXPECT_TRUE(Map_ConnectEntities(w, source, target));
    EXPECT_EQ(value(target, "targetname"), "func_door_2");
    EXPECT_STREQ(target->targetname, "func_door_2");
    EXPECT_EQ(value(source, "target"), "func_door_2");
    EXPECT_FALSE(Map_ConnectEntities(w, source, source));
    EXPECT_FALSE(Map_ConnectEntities(w, nullptr, target));
}

TEST_F(UniqueNameTest, ClonesLinkToEachOtherAndLoneClonesKeepTheirNames) {
    // Originals outside the selection.
    EntityRecord* button = entity(nullptr, "gate");
    EntityRecord* gate = entity("gate");
    // Their clones, selected.
    EntityRecord* buttonCopy = entity(nullptr, "gate");
    EntityRecord* gateCopy = entity("gate");
    EntityRecord* lone = entity("lamp");
    for (EntityRecord* e : {buttonCopy, gateCopy, lone})
        Map_SelectObject(w, e);

    Map_RenameClonedEntities(w);
    EXPECT_EQ(value(gateCopy, "targetname"), "gate_1");
    EXPECT_EQ(value(buttonCopy, "target"), "gate_1");
    EXPECT_EQ(value(lone, "targetname"), "lamp");
    EXPECT_EQ(value(gate, "targetname"), "gate");
    EXPECT_EQ(value(button, "target"), "gate");
    EXPECT_STREQ(buttonCopy->handle->targets.at(0).name, "gate_1");
    for (EntityRecord* e = w->entities; e; e = e->next)
        EXPECT_FALSE(e->flags & 0x40000u);
}

TEST_F(UniqueNameTest, PastedNamesNeverCollideWithKeptNamesOfTheSet) {
    // "lamp" is referenced inside the set and is renamed; "lamp_1" is not and stays.
    EntityRecord* lamp = entity("lamp");
    EntityRecord* kept = entity("lamp_1");
    EntityRecord* user = entity(nullptr, "lamp");
    Map_RenamePastedEntities(w, {lamp, kept, user});
    EXPECT_EQ(value(kept, "targetname"), "lamp_1");
    EXPECT_EQ(value(lamp, "targetname"), "lamp_2");
    EXPECT_EQ(value(user, "target"), "lamp_2");

    // One pasted entity alone is left as it is.
    Map_RenamePastedEntities(w, {lamp});
    EXPECT_EQ(value(lamp, "targetname"), "lamp_2");
}

} // namespace
