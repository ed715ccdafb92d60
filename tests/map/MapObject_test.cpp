#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "TestWorld.h"
#include "map/MapBrush.h"
#include "map/MapCamera.h"
#include "map/MapFace.h"
#include "map/MapObject.h"

namespace {

struct TestRecord {
    void* handle;
    TestRecord* next;
    TestRecord* prev;
    TestRecord* selNext;
    TestRecord* selPrev;
    uint32_t flags;
    int32_t serial;
};
static_assert(Record_HasSelectionLinks<TestRecord>());

class cTestObject : public cMapObject {
public:
    cTestObject() : cMapObject(MapObjectKind::Group, sizeof(TestRecord)) {}
    TestRecord* rec() const { return static_cast<TestRecord*>(record()); }
};

TEST(MapObject, HandleOwnsAZeroFilledRecordThatPointsBack) {
    cTestObject object;
    EXPECT_EQ(Object_FromRecord(object.record()), &object);
    EXPECT_EQ(object.kind(), MapObjectKind::Group);
    EXPECT_EQ(object.id, -1);
    EXPECT_EQ(object.baseColor, 0xff000000u);
    EXPECT_EQ(object.displayColor, 0xff000000u);
    const TestRecord* r = object.rec();
    EXPECT_EQ(r->next, nullptr);
    EXPECT_EQ(r->flags, 0u);
    EXPECT_EQ(r->serial, 0);
    EXPECT_EQ(Object_FromRecord(nullptr), nullptr);
}

TEST(MapObject, ColourWordsAreRedGreenBlueAlphaInMemory) {
    uint8_t bytes[4];
    Color_ToBytes(kObjectColorBlack, bytes);
    EXPECT_EQ(bytes[0] | bytes[1] | bytes[2], 0);
    EXPECT_EQ(bytes[3], 255);
    Color_ToBytes(Object_PickColor(0x012345), bytes);
    EXPECT_EQ(bytes[0], 0x45);
    EXPECT_EQ(bytes[1], 0x23);
    EXPECT_EQ(bytes[2], 0x01);
    EXPECT_EQ(bytes[3], 255);
}

TEST(MapObject, RandomDisplayColour) {
    struct Case {
        uint8_t base, min, max, expected;
    };
    const Case cases[] = {
        {0, 50, 200, 50},    // no step
        {255, 50, 200, 199}, // 50 + (150 * 255) >> 8
        {128, 0, 255, 127},  // (255 * 128) >> 8
        {1, 0, 255, 0},      // step below 1 keeps the minimum
        {255, 200, 50, 200}, // a maximum below the minimum keeps the minimum
        {100, 10, 10, 10},
    };
    for (const Case& c : cases) {
        const ObjectColor out = Object_RandomDisplayColor(Color_FromBytes(c.base, c.base, c.base, 7),
                                                          Color_FromBytes(c.min, c.min, c.min, 0),
                                                          Color_FromBytes(c.max, c.max, c.max, 0));
        uint8_t b[4];
        Color_ToBytes(out, b);
        EXPECT_EQ(b[0], c.expected) << int(c.base) << " " << int(c.min) << ".." << int(c.max);
        EXPECT_EQ(b[1], c.expected);
        EXPECT_EQ(b[2], c.expected);
        EXPECT_EQ(b[3], 255);
    }
    uint8_t b[4];
    Color_ToBytes(Object_RandomBaseColor(), b);
    EXPECT_EQ(b[3], 255);
}

class ListTest : public ::testing::Test {
protected:
    TestRecord r[4]{};
    TestRecord* head = nullptr;
    TestRecord* tail = nullptr;

    std::string order() const {
        std::string forward, backward;
        for (TestRecord* p = head; p; p = p->next)
            forward += char('a' + (p - r));
        for (TestRecord* p = tail; p; p = p->prev)
            backward.insert(0, 1, char('a' + (p - r)));
        return forward == backward ? forward : forward + "|" + backward;
    }
};

TEST_F(ListTest, AppendPrependRemoveMendHeadAndTail) {
    List_Append(head, tail, &r[0]);
    List_Append(head, tail, &r[1]);
    List_Prepend(head, &tail, &r[2]);
    List_Append(head, tail, &r[3]);
    EXPECT_EQ(order(), "cabd");
    List_Remove(head, &tail, &r[2]);
    EXPECT_EQ(order(), "abd");
    List_Remove(head, &tail, &r[3]);
    EXPECT_EQ(order(), "ab");
    List_Remove(head, &tail, &r[0]);
    List_Remove(head, &tail, &r[1]);
    EXPECT_EQ(head, nullptr);
    EXPECT_EQ(tail, nullptr);
    List_Prepend(head, &tail, &r[1]);
    EXPECT_EQ(order(), "b");
}

TEST_F(ListTest, SelectionBitAndMembershipChangeTogether) {
    for (TestRecord& rec : r)
        Selection_Link(head, &rec);
    Selection_Link(head, &r[2]); // already selected: no second link
    int count = 0;
    for (TestRecord* p = head; p; p = p->selNext)
        ++count;
    EXPECT_EQ(count, 4);
    EXPECT_EQ(head, &r[3]); // pushed at the head
    Selection_Unlink(head, &r[3]);
    Selection_Unlink(head, &r[3]);
    EXPECT_EQ(head, &r[2]);
    EXPECT_EQ(r[2].selPrev, nullptr);
    EXPECT_EQ(r[3].flags & RecordFlag::Selected, 0u);
    Selection_Clear(head);
    EXPECT_EQ(head, nullptr);
    for (const TestRecord& rec : r) {
        EXPECT_EQ(rec.flags & RecordFlag::Selected, 0u);
        EXPECT_EQ(rec.selNext, nullptr);
    }
}

// Every kind that exists is created and destroyed, selected first, through its API and as a
// bare record; under AddressSanitizer nothing may leak and no selection list may keep a freed
// record.
class LifecycleTest : public ::testing::Test {
protected:
    cTestWorld t;
    MapWorld* w = &t.world;

    void expectEmptyWorld() {
        EXPECT_EQ(w->selectedBrushes, nullptr);
        EXPECT_EQ(w->selectedFaces, nullptr);
        EXPECT_EQ(w->cameras, nullptr);
        EXPECT_EQ(w->camerasTail, nullptr);
        EXPECT_EQ(t.worldspawn.firstBrush, nullptr);
        EXPECT_EQ(t.worldspawn.lastBrush, nullptr);
        for (int32_t id = 1; id <= 16; ++id)
            EXPECT_FALSE(Map_IsIdInUse(w, id)) << id;
    }
};

TEST_F(LifecycleTest, EveryKindThroughItsApi) {
    struct Case {
        const char* kind;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"camera",
         [&] {
             CameraRecord* cam = Camera_Create(t.handle());
             Map_SelectObject(w, cam);
             w->currentCamera = cam;
             Camera_Delete(cam);
             EXPECT_EQ(w->currentCamera, nullptr);
         }},
        {"brush with faces",
         [&] {
             BrushRecord* brush = Brush_Create(t.handle(), &t.worldspawn);
             for (int i = 0; i < 6; ++i)
                 Map_SelectObject(w, Face_Create(t.handle(), brush, nullptr, 4));
             Map_SelectObject(w, brush);
             Brush_Delete(t.handle(), brush);
         }},
        {"face",
         [&] {
             BrushRecord* brush = Brush_Create(t.handle(), &t.worldspawn);
             FaceRecord* keep = Face_Create(t.handle(), brush, nullptr, 3);
             FaceRecord* face = Face_Create(t.handle(), brush, nullptr, 3);
             Map_SelectObject(w, keep);
             Map_SelectObject(w, face);
             Face_Delete(t.handle(), face);
             EXPECT_EQ(w->selectedFaces, keep);
             EXPECT_EQ(keep->selNext, nullptr);
             EXPECT_EQ(brush->lastFace, keep);
             Brush_Delete(t.handle(), brush);
         }},
        {"bare records",
         [&] {
             Camera_Delete(Camera_Alloc());
             delete cMapBrush::fromRecord(Brush_Alloc());
             delete cMapFace::fromRecord(Face_Alloc(5));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        c.run();
        expectEmptyWorld();
    }
}

TEST_F(LifecycleTest, EveryKindThroughClearingTheWorld) {
    for (int i = 0; i < 3; ++i) {
        BrushRecord* brush = Brush_Create(t.handle(), &t.worldspawn);
        for (int f = 0; f < 6; ++f)
            Map_SelectObject(w, Face_Create(t.handle(), brush, nullptr, 4));
        Map_SelectObject(w, brush);
        Map_SelectObject(w, Camera_Create(t.handle()));
    }
    Map_ClearWorld(w);
    expectEmptyWorld();
    EXPECT_EQ(w->entities, nullptr);
}

} // namespace
