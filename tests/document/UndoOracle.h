// Checks of a map's consistency shared by the undo tests: group counts that match the links, and
// a save and load that gives back the same map.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <map>
#include <set>
#include <string>

#include "document/MapWorld.h"
#include "document/WorldDump.h"
#include "document/ZmfFile.h"
#include "map/MapGroup.h"

// Every group counts its direct members (objects naming it as innermost group, child groups),
// and every object's outermost group is the top of its chain.
inline void Test_ExpectGroupCountsMatchLinks(MapWorld* w) {
    std::map<const GroupRecord*, int32_t> counted;
    for (const GroupRecord* g = w->groups; g; g = g->next)
        if (g->parent) ++counted[g->parent];
    for (EntityRecord* e = w->entities; e; e = e->next) {
        if (!(e->flags & EntityFlag::World)) {
            if (e->group) ++counted[e->group];
            EXPECT_EQ(e->outerGroup, Group_Outermost(e->group)) << "entity " << e->serial;
        }
        for (BrushRecord* b = e->firstBrush; b; b = b->next) {
            if (b->group) ++counted[b->group];
            EXPECT_EQ(b->outerGroup, Group_Outermost(b->group)) << "brush " << b->serial;
        }
    }
    for (const GroupRecord* g = w->groups; g; g = g->next) {
        EXPECT_EQ(g->memberCount, counted[g]) << "group " << g->serial;
        if (g->parent) {
            bool linked = false;
            for (const GroupRecord* other = w->groups; other && !linked; other = other->next)
                linked = other == g->parent;
            EXPECT_TRUE(linked) << "group " << g->serial << " names a parent that is gone";
        }
    }
}

// The map written to a project file and read into a fresh world dumps the same (serials of
// objects other than groups are handed out anew by a load, so they are left out).
inline void Test_ExpectSameAfterSaveAndLoad(MapWorld* w, uint32_t dumpFlags = 0, const char* what = "") {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("roundtrip.zmf"));
    ASSERT_TRUE(Project_WriteWorld(w, path)) << what;
    MapWorld again{};
    Map_InitWorld(&again, nullptr);
    EXPECT_TRUE(Project_ReadWorld(&again, path)) << what;
    EXPECT_EQ(Map_DumpWorld(&again, dumpFlags).toStdString(), Map_DumpWorld(w, dumpFlags).toStdString())
        << what;
    Map_DestroyWorld(&again);
}

// An object carries the selected bit exactly when it is in its selection list (once).
inline void Test_ExpectSelectionListsMatchFlags(MapWorld* w) {
    auto check = [](auto* head, auto forEach, const char* kind) {
        std::set<const void*> listed;
        for (auto* r = head; r; r = r->selNext) {
            EXPECT_TRUE(listed.insert(r).second) << kind << " listed twice";
            EXPECT_NE(r->flags & RecordFlag::Selected, 0u) << kind << " listed without the selected bit";
        }
        forEach([&](const auto* r) {
            if (r->flags & RecordFlag::Selected)
                EXPECT_TRUE(listed.count(r)) << kind << " " << r->serial << " selected but not listed";
        });
    };
    check(
        w->selectedEntities,
        [w](auto visit) {
            for (const EntityRecord* e = w->entities; e; e = e->next)
                visit(e);
        },
        "entity");
    check(
        w->selectedBrushes,
        [w](auto visit) {
            for (const EntityRecord* e = w->entities; e; e = e->next)
                for (const BrushRecord* b = e->firstBrush; b; b = b->next)
                    visit(b);
        },
        "brush");
    check(
        w->selectedGroups,
        [w](auto visit) {
            for (const GroupRecord* g = w->groups; g; g = g->next)
                visit(g);
        },
        "group");
    check(
        w->selectedFaces,
        [w](auto visit) {
            for (const EntityRecord* e = w->entities; e; e = e->next)
                for (const BrushRecord* b = e->firstBrush; b; b = b->next)
                    for (const FaceRecord* f = b->firstFace; f; f = f->next)
                        visit(f);
        },
        "face");
}
