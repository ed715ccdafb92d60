#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <initializer_list>

#include "TestWorld.h"
#include "document/GroupChain.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "mainwindow/MainWindow.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "map/MapPatch.h"

namespace {

constexpr int32_t kDetailContents = 0x8000000;

class MapSelectionTest : public ::testing::Test {
public:
    void SetUp() override {
        config.Title = "selection";
        config.MapProfile = "selectionprofile";
        MapProfileRecord record{};
        std::strcpy(record.name, "selectionprofile");
        record.contentMask = kDetailContents;
        GameCfg_RegisterProfile(&window.gameConfigs, nullptr, &record);
        profile = GameCfg_FindProfile(&window.gameConfigs, "selectionprofile");
        window.gameConfigs.makeCurrent(&config);
        // World brushes are box-tested once the world entity's bounds touch the box.
        for (int a = 0; a < 3; ++a) {
            t.worldspawn.mins[a] = -4096;
            t.worldspawn.maxs[a] = 4096;
        }
    }
    void TearDown() override {
        Map_DeleteAllObjects(w);
        t.linkWorldspawn();
        window.gameConfigs.makeCurrent(nullptr);
    }

    void setHideMask(int32_t mask) { window.settings.HideMask = mask; }

    BrushRecord* brush(float x0, float y0, float z0, float x1, float y1, float z1,
                       EntityRecord* owner = nullptr) {
        BrushRecord* b = Brush_Create(t.handle(), owner ? owner : &t.worldspawn);
        const float lo[3] = {x0, y0, z0}, hi[3] = {x1, y1, z1};
        for (int a = 0; a < 3; ++a) {
            b->mins[a] = lo[a];
            b->maxs[a] = hi[a];
            b->handle->centre[a] = (lo[a] + hi[a]) * 0.5f;
        }
        b->flags &= ~BrushFlags::NeedsUpdate;
        return b;
    }
    BrushRecord* cube(float x, float size = 16) { return brush(x, 0, 0, x + size, size, size); }
    // A group holding the brushes.
    GroupRecord* groupOf(std::initializer_list<BrushRecord*> members) {
        GroupRecord* group = Group_Create(t.handle());
        for (BrushRecord* b : members)
            Map_AddBrushToGroupChain(b, group);
        return group;
    }

    // A point entity with an 8-unit box around its origin.
    EntityRecord* entity(float x, uint32_t flags = EntityFlag::Point) {
        const float origin[3] = {x, 0, 0};
        EntityRecord* e = Entity_Create(t.handle(), "info_thing", origin, flags);
        // The class binding sets the filter flags from the class; these entities have none.
        e->flags |= flags & (EntityFlag::ItemOrWeapon | EntityFlag::PathLike);
        for (int a = 0; a < 3; ++a) {
            e->mins[a] = e->origin[a] - 8;
            e->maxs[a] = e->origin[a] + 8;
        }
        return e;
    }

    template <class R> static bool selected(const R* rec) { return rec->flags & RecordFlag::Selected; }
    static bool selected(const uint32_t* flags) { return *flags & RecordFlag::Selected; }

    // Every list member carries the bit; the count is compared with the carriers by the caller.
    template <class R> static int listLength(R* head) {
        int n = 0;
        for (R* r = head; r; r = r->selNext) {
            EXPECT_TRUE(r->flags & RecordFlag::Selected);
            if (r->selNext) EXPECT_EQ(r->selNext->selPrev, r);
            ++n;
        }
        return n;
    }
    int selectedBrushBits() const {
        int n = 0;
        for (EntityRecord* e = w->entities; e; e = e->next)
            for (BrushRecord* b = e->firstBrush; b; b = b->next)
                n += (b->flags & RecordFlag::Selected) ? 1 : 0;
        return n;
    }
    int selectedEntityBits() const {
        int n = 0;
        for (EntityRecord* e = w->entities; e; e = e->next)
            n += (e->flags & RecordFlag::Selected) ? 1 : 0;
        return n;
    }
    void expectConsistent() {
        EXPECT_EQ(listLength(w->selectedBrushes), selectedBrushBits());
        EXPECT_EQ(listLength(w->selectedEntities), selectedEntityBits());
    }

    cMainWindow window;
    GameConfig config;
    MapProfileRecord* profile = nullptr; // the manager's copy
    cTestWorld t;
    MapWorld* w = &t.world;
};

// ---- Display filters -----------------------------------------------------------------------------

struct FilterCase {
    const char* name;
    int32_t mask;
    // Makes the one object the mask hides; returns its flag word.
    std::function<uint32_t*(MapSelectionTest*)> make;
};

class MapSelectionFilterTest : public MapSelectionTest, public ::testing::WithParamInterface<int> {};

// Entities made through Entity_Create find no class here, so the class filter hides them all;
// the other entity rows use masks without that bit.
const FilterCase kFilterCases[] = {
    {"NoClass", EntityHideMask::NoClass,
     [](MapSelectionTest* f) -> uint32_t* { return &f->entity(100, EntityFlag::Point)->flags; }},
    {"ItemsAndWeapons", EntityHideMask::ItemsAndWeapons,
     [](MapSelectionTest* f) -> uint32_t* {
         return &f->entity(100, EntityFlag::Point | EntityFlag::ItemOrWeapon)->flags;
     }},
    {"PathLike", EntityHideMask::PathLike,
     [](MapSelectionTest* f) -> uint32_t* {
         return &f->entity(100, EntityFlag::Point | EntityFlag::PathLike)->flags;
     }},
    {"Patches", BrushHideMask::Patches,
     [](MapSelectionTest* f) -> uint32_t* {
         BrushRecord* b = f->cube(100);
         Patch_Create(b, nullptr, 3, 3);
         return &b->flags;
     }},
    {"Detail", BrushHideMask::Detail,
     [](MapSelectionTest* f) -> uint32_t* {
         BrushRecord* b = f->cube(100);
         TextureInfo info{};
         info.contents = kDetailContents | 0x1;
         info.sScale = info.tScale = 1;
         Face_Create(Map_Handle(Map_WorldOfBrush(b)), b, &info, 0);
         return &b->flags;
     }},
};

TEST_P(MapSelectionFilterTest, EachFilterBitKeepsItsObjectOutOfEverySelectionCommand) {
    const FilterCase& c = kFilterCases[GetParam()];
    SCOPED_TRACE(c.name);
    BrushRecord* plain = cube(0);
    const uint32_t* filtered = c.make(this);
    const float boxMins[3] = {-1000, -1000, -1000}, boxMaxs[3] = {1000, 1000, 1000};

    using Command = std::function<void()>;
    const Command commands[] = {
        [&] { Map_SelectAll(w, false); },
        [&] { Map_InvertSelection(w, false); },
        [&] { Map_SelectInBox(w, boxMins, boxMaxs, BoxSelect::Touching); },
    };
    for (const Command& command : commands) {
        Map_SelectNone(w);
        setHideMask(c.mask);
        command();
        EXPECT_TRUE(selected(plain));
        EXPECT_FALSE(selected(filtered));
        expectConsistent();

        Map_SelectNone(w);
        setHideMask(0);
        command();
        EXPECT_TRUE(selected(filtered));
        expectConsistent();
    }
}

INSTANTIATE_TEST_SUITE_P(Bits, MapSelectionFilterTest, ::testing::Range(0, int(std::size(kFilterCases))),
                         [](const auto& info) { return std::string(kFilterCases[info.param].name); });

TEST_F(MapSelectionTest, DetailFilterNeedsAProfileMask) {
    profile->contentMask = 0;
    BrushRecord* b = cube(0);
    TextureInfo info{};
    info.contents = kDetailContents;
    Face_Create(t.handle(), b, &info, 0);
    EXPECT_TRUE(Map_BrushPassesFilters(b, BrushHideMask::Detail));
    profile->contentMask = kDetailContents;
    EXPECT_FALSE(Map_BrushPassesFilters(b, BrushHideMask::Detail));
}

// ---- Select all and invert ---------------------------------------------------------------------

TEST_F(MapSelectionTest, SelectAllKeepsBitsAndListsTogether) {
    BrushRecord* a = cube(0);
    BrushRecord* hidden = cube(32);
    hidden->flags |= BrushFlags::Hidden;
    EntityRecord* e = entity(100);
    Map_SelectObject(w, a);
    Map_SelectObject(w, e);
    Map_SelectObject(w, hidden); // selected, then hidden: Select All drops it

    Map_SelectAll(w, false);
    EXPECT_TRUE(selected(a));
    EXPECT_TRUE(selected(e));
    EXPECT_FALSE(selected(hidden));
    EXPECT_FALSE(t.worldspawn.flags & RecordFlag::Selected);
    expectConsistent();
    EXPECT_EQ(listLength(w->selectedBrushes), 1);

    // A second Select All must not leave anything out of the lists.
    Map_SelectAll(w, false);
    expectConsistent();
    Map_DeselectObject(w, a);
    EXPECT_FALSE(selected(a));
    expectConsistent();
}

TEST_F(MapSelectionTest, SelectAllTakesOnlyTopLevelGroups) {
    GroupRecord* outer = Group_Create(t.handle());
    GroupRecord* inner = Group_Create(t.handle());
    Group_SetParent(outer, inner);
    Map_SelectObject(w, inner);
    Map_SelectAll(w, false);
    EXPECT_TRUE(outer->flags & RecordFlag::Selected);
    EXPECT_FALSE(inner->flags & RecordFlag::Selected);
    EXPECT_EQ(listLength(w->selectedGroups), 1);
}

TEST_F(MapSelectionTest, InvertFlipsShownObjectsAndDropsNestedGroups) {
    BrushRecord* a = cube(0);
    BrushRecord* b = cube(32);
    GroupRecord* outer = Group_Create(t.handle());
    GroupRecord* inner = Group_Create(t.handle());
    Group_SetParent(outer, inner);
    Map_SelectObject(w, a);
    Map_SelectObject(w, inner);
    w->snapCorner = 3;
    Map_InvertSelection(w, false);
    EXPECT_FALSE(selected(a));
    EXPECT_TRUE(selected(b));
    EXPECT_TRUE(outer->flags & RecordFlag::Selected);
    EXPECT_FALSE(inner->flags & RecordFlag::Selected);
    EXPECT_EQ(w->snapCorner, 0); // the summary was refreshed
    expectConsistent();
}

// ---- In a box ----------------------------------------------------------------------------------

TEST_F(MapSelectionTest, BoxModes) {
    struct Case {
        const char* name;
        int32_t mode;
        float box[6];
        bool expected;
    };
    // The brush spans 0..16 on every axis.
    const Case cases[] = {
        {"touching overlap", BoxSelect::Touching, {8, 8, 8, 100, 100, 100}, true},
        {"touching shares a face only", BoxSelect::Touching, {16, 0, 0, 32, 16, 16}, false},
        {"inside strict", BoxSelect::Inside, {-1, -1, -1, 17, 17, 17}, true},
        {"inside shares a face plane", BoxSelect::Inside, {0, -1, -1, 17, 17, 17}, false},
        {"handles centre inside", BoxSelect::Handles, {7, 7, 7, 9, 9, 9}, true},
        {"handles centre on the widened edge", BoxSelect::Handles, {8.0005f, 0, 0, 9, 9, 9}, true},
        {"handles centre outside", BoxSelect::Handles, {8.01f, 0, 0, 9, 9, 9}, false},
    };
    BrushRecord* b = cube(0);
    for (const Case& c : cases) {
        Map_SelectNone(w);
        Map_SelectInBox(w, c.box, c.box + 3, c.mode);
        EXPECT_EQ(selected(b), c.expected) << c.name;
    }
}

TEST_F(MapSelectionTest, BoxSelectsWholeGroupsInModeOne) {
    BrushRecord* inBox = cube(0);
    BrushRecord* farAway = cube(2000);
    GroupRecord* group = groupOf({inBox, farAway});
    const float mins[3] = {-10, -10, -10}, maxs[3] = {100, 100, 100};

    w->selectionMode = SelectionMode::IgnoreGroups;
    Map_SelectInBox(w, mins, maxs, BoxSelect::Touching);
    EXPECT_TRUE(selected(inBox));
    EXPECT_FALSE(selected(farAway));

    Map_SelectNone(w);
    w->selectionMode = SelectionMode::WholeGroups;
    Map_SelectInBox(w, mins, maxs, BoxSelect::Touching);
    EXPECT_TRUE(selected(farAway));
    EXPECT_TRUE(group->flags & RecordFlag::Selected);
}

TEST_F(MapSelectionTest, BrushEntitiesAreTestedBrushByBrushWhenGroupsAreIgnored) {
    EntityRecord* door = entity(0, 0);
    door->flags &= ~EntityFlag::Point;
    BrushRecord* near = brush(0, 0, 0, 16, 16, 16, door);
    BrushRecord* far = brush(500, 0, 0, 516, 16, 16, door);
    for (int a = 0; a < 3; ++a) {
        door->mins[a] = 0;
        door->maxs[a] = a == 0 ? 516 : 16;
    }
    const float mins[3] = {-1, -1, -1}, maxs[3] = {17, 17, 17};
    w->selectionMode = SelectionMode::IgnoreGroups;
    Map_SelectInBox(w, mins, maxs, BoxSelect::Inside);
    EXPECT_TRUE(selected(near));
    EXPECT_FALSE(selected(far));
    EXPECT_FALSE(selected(door));

    Map_SelectNone(w);
    w->selectionMode = SelectionMode::WholeGroups;
    const float all[3] = {600, 100, 100};
    Map_SelectInBox(w, mins, all, BoxSelect::Touching);
    EXPECT_TRUE(selected(door));
    EXPECT_TRUE(selected(far));
}

// ---- By id and by index ------------------------------------------------------------------------

TEST_F(MapSelectionTest, SelectByIdTogglesAndTakesGroupsInModeOne) {
    BrushRecord* a = cube(0);
    BrushRecord* b = cube(32);
    GroupRecord* group = groupOf({a, b});

    Map_SelectById(w, Object_FromRecord(group)->id, false);
    EXPECT_TRUE(selected(a));
    EXPECT_TRUE(selected(b));
    EXPECT_TRUE(Map_IsSelectedById(w, Object_FromRecord(group)->id));
    Map_SelectById(w, Object_FromRecord(group)->id, true);
    EXPECT_FALSE(selected(a));
    EXPECT_FALSE(group->flags & RecordFlag::Selected);

    w->selectionMode = SelectionMode::IgnoreGroups;
    Map_SelectById(w, Object_FromRecord(a)->id, true);
    EXPECT_TRUE(selected(a));
    EXPECT_FALSE(selected(b));
    EXPECT_TRUE(Map_IsSelectedById(w, Object_FromRecord(a)->id));
    Map_SelectById(w, Object_FromRecord(a)->id, true);
    EXPECT_FALSE(selected(a));
    expectConsistent();
}

TEST_F(MapSelectionTest, FacesAreSelectedByIdOnlyInFaceMode) {
    BrushRecord* b = cube(0);
    FaceRecord* face = Face_Create(t.handle(), b, nullptr, 0);
    const int32_t id = Object_FromRecord(face)->id;
    Map_SelectById(w, id, false);
    EXPECT_EQ(w->selectedFaces, nullptr);
    w->selectionMode = SelectionMode::Faces;
    Map_SelectById(w, id, false);
    EXPECT_EQ(w->selectedFaces, face);
    EXPECT_TRUE(Map_IsSelectedById(w, id));
}

TEST_F(MapSelectionTest, GoToBrushPastTheEndChangesNothing) {
    cube(0);
    BrushRecord* hidden = cube(32);
    BrushRecord* last = cube(64);
    hidden->flags |= BrushFlags::Hidden;
    w->snapCorner = 5;
    EXPECT_FALSE(Map_SelectBrushByIndex(w, 0, 3, false));
    EXPECT_FALSE(Map_SelectBrushByIndex(w, 1, 0, false));
    EXPECT_FALSE(Map_SelectBrushByIndex(w, -1, 0, false));
    EXPECT_EQ(w->selectedBrushes, nullptr);
    EXPECT_EQ(w->snapCorner, 5);
    EXPECT_TRUE(Map_SelectBrushByIndex(w, 0, 1, true));
    EXPECT_EQ(w->selectedBrushes, last);
    EXPECT_EQ(w->snapCorner, 0);
}

TEST_F(MapSelectionTest, SelectionToFacesKeepsFacelessBrushes) {
    BrushRecord* faceless = cube(0);
    BrushRecord* solid = cube(32);
    FaceRecord* f1 = Face_Create(t.handle(), solid, nullptr, 0);
    FaceRecord* f2 = Face_Create(t.handle(), solid, nullptr, 0);
    Map_SelectObject(w, faceless);
    Map_SelectObject(w, solid);
    Map_SelectionToFaces(w);
    EXPECT_TRUE(selected(faceless));
    EXPECT_FALSE(selected(solid));
    EXPECT_TRUE(f1->flags & RecordFlag::Selected);
    EXPECT_TRUE(f2->flags & RecordFlag::Selected);
}

TEST_F(MapSelectionTest, DeselectHiddenDropsFacesOfFilteredBrushes) {
    BrushRecord* b = cube(0);
    FaceRecord* face = Face_Create(t.handle(), b, nullptr, 0);
    Patch_Create(b, nullptr, 3, 3);
    EntityRecord* item = entity(100, EntityFlag::Point | EntityFlag::ItemOrWeapon);
    Map_SelectObject(w, b);
    Map_SelectObject(w, face);
    Map_SelectObject(w, item);
    setHideMask(BrushHideMask::Patches | EntityHideMask::ItemsAndWeapons);
    Map_DeselectHidden(w);
    EXPECT_EQ(w->selectedBrushes, nullptr);
    EXPECT_EQ(w->selectedFaces, nullptr);
    EXPECT_EQ(w->selectedEntities, nullptr);
    setHideMask(0);
}

TEST_F(MapSelectionTest, TrimSelectionToGroupsDropsMembersOfUnselectedGroups) {
    BrushRecord* grouped = cube(0);
    BrushRecord* loose = cube(32);
    groupOf({grouped});
    Map_SelectObject(w, grouped);
    Map_SelectObject(w, loose);
    Map_TrimSelectionToGroups(w);
    EXPECT_FALSE(selected(grouped));
    EXPECT_TRUE(selected(loose));
}

} // namespace
