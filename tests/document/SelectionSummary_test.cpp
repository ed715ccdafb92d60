#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "OperationFixture.h"
#include "document/MapSelection.h"
#include "document/SelectionSummary.h"
#include "map/MapGroup.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"

namespace {

class SelectionSummaryTest : public OperationFixture {
public:
    std::string text() { return Map_SelectionSummaryText(w).toStdString(); }
    void selectWithBrushes(EntityRecord* e) {
        Map_SelectObject(w, e);
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            Map_SelectObject(w, b);
    }
    BrushRecord* carrier() { return Brush_Create(map(), worldspawn); }
};

struct SummaryCase {
    const char* label;
    uint32_t mode;
    std::function<void(SelectionSummaryTest&)> select;
    const char* expected;
};

TEST_F(SelectionSummaryTest, FirstTextThatApplies) {
    const TextureInfo info = texture("base/wall");
    const SummaryCase cases[] = {
        {"nothing", SelectionMode::WholeGroups, [](SelectionSummaryTest&) {}, "no selection."},
        {"one face", SelectionMode::Faces,
         [](SelectionSummaryTest& t) { Map_SelectObject(t.w, t.cube(t.worldspawn, 0)->firstFace); },
         "1 face selected."},
        {"several faces", SelectionMode::Faces,
         [](SelectionSummaryTest& t) {
             BrushRecord* b = t.cube(t.worldspawn, 0);
             for (FaceRecord* f = b->firstFace; f && f != b->lastFace->prev; f = f->next)
                 Map_SelectObject(t.w, f);
         },
         "4 faces selected."},
        {"faces win over brushes", SelectionMode::Faces,
         [](SelectionSummaryTest& t) {
             BrushRecord* b = t.cube(t.worldspawn, 0);
             Map_SelectObject(t.w, b);
             Map_SelectObject(t.w, b->firstFace);
         },
         "1 face selected."},
        {"whole group of five", SelectionMode::WholeGroups,
         [](SelectionSummaryTest& t) {
             GroupRecord* g = Group_Create(t.map());
             for (int i = 0; i < 4; ++i)
                 Group_AddBrush(g, t.cube(t.worldspawn, 100.0f * i));
             Group_AddEntity(g, t.pointEntity("light", 900));
             Map_SelectGroup(t.w, g);
         },
         "group of 5 objects."},
        {"solid", SelectionMode::WholeGroups,
         [](SelectionSummaryTest& t) { Map_SelectObject(t.w, t.cube(t.worldspawn, 0)); },
         "solid with 6 faces."},
        {"patch columns then rows", SelectionMode::WholeGroups,
         [&info](SelectionSummaryTest& t) {
             BrushRecord* b = t.carrier();
             Patch_Create(b, &info, 3, 5);
             Map_SelectObject(t.w, b);
         },
         "patch (3 x 5)"},
        {"overlay", SelectionMode::WholeGroups,
         [&info](SelectionSummaryTest& t) {
             BrushRecord* b = t.carrier();
             Overlay_Create(b, &info);
             Map_SelectObject(t.w, b);
         },
         "overlay brush."},
        {"two brushes", SelectionMode::WholeGroups,
         [](SelectionSummaryTest& t) {
             Map_SelectObject(t.w, t.cube(t.worldspawn, 0));
             Map_SelectObject(t.w, t.cube(t.worldspawn, 128));
         },
         "2 objects selected."},
        {"brush entity and a world brush", SelectionMode::WholeGroups,
         [](SelectionSummaryTest& t) {
             EntityRecord* door = t.brushEntity("func_door");
             t.cube(door, 0);
             t.selectWithBrushes(door);
             Map_SelectObject(t.w, t.cube(t.worldspawn, 128));
         },
         "2 objects selected."},
        {"entity with targetname", SelectionMode::WholeGroups,
         [](SelectionSummaryTest& t) { Map_SelectObject(t.w, t.pointEntity("light", 0, "lamp1")); },
         "lamp1 - light"},
        {"entity without targetname", SelectionMode::WholeGroups,
         [](SelectionSummaryTest& t) { Map_SelectObject(t.w, t.pointEntity("info_null", 0)); }, "info_null"},
        {"brush entity in whole-group mode", SelectionMode::WholeGroups,
         [](SelectionSummaryTest& t) {
             EntityRecord* door = t.brushEntity("func_door");
             t.cube(door, 0);
             t.cube(door, 128);
             t.selectWithBrushes(door);
         },
         "func_door"},
        {"one-brush entity in ignore mode", SelectionMode::IgnoreGroups,
         [](SelectionSummaryTest& t) {
             EntityRecord* door = t.brushEntity("func_door");
             t.cube(door, 0);
             t.selectWithBrushes(door);
         },
         "solid with 6 faces."},
        {"two point entities", SelectionMode::IgnoreGroups,
         [](SelectionSummaryTest& t) {
             Map_SelectObject(t.w, t.pointEntity("light", 0));
             Map_SelectObject(t.w, t.pointEntity("light", 64));
         },
         "2 objects selected."},
        {"group in ignore mode counts nothing", SelectionMode::IgnoreGroups,
         [](SelectionSummaryTest& t) { Map_SelectObject(t.w, Group_Create(t.map())); }, "no selection."},
    };
    for (const SummaryCase& c : cases) {
        SCOPED_TRACE(c.label);
        Map_SelectNone(w);
        w->selectionMode = c.mode;
        c.select(*this);
        EXPECT_EQ(text(), c.expected);
    }
}

TEST_F(SelectionSummaryTest, RefreshRestartsTheSnapCorner) {
    w->snapCorner = 3;
    Map_UpdateSelectionSummary(w);
    EXPECT_EQ(w->snapCorner, 0);
    EXPECT_EQ(Map_SelectionSummaryText(nullptr).toStdString(), "no selection.");
}

} // namespace
