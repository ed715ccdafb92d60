// The map check in the program's window on the sample game: each row's fixture map, its list text,
// description and buttons, the three fix buttons against the repaired twin, the one "Fix Problems"
// level and its undo, Go to, and the problems a removal leaves behind.
#include "dialogs/editing/MapCheckDialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTranslator>
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "../mainwindow/WindowFixture.h"
#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "DocumentFixture.h"
#include "WidgetInput.h"
#include "core/Prompt.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "gamedata/GameConfig.h"
#include "mainwindow/MainWindow.h"
#include "map/EPair.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

const char* const kWall = "common/caulk";
// The surface flags the sample game's caulk effect gives a surface that takes it.
const int kWallSurface = 160;

// An axial box in ".map" text, one texture and contents value per face (order -x +x -y +y -z +z).
QByteArray box(int x0, int y0, int z0, int x1, int y1, int z1, const char* tex = kWall,
               const std::vector<const char*>& faceTex = {}, const std::vector<int>& contents = {},
               const std::vector<int>& surface = {}) {
    const int faces[6][9] = {
        {x0, y0, z1, x0, y0, z0, x0, y1, z0}, {x1, y1, z0, x1, y0, z0, x1, y0, z1},
        {x1, y0, z0, x0, y0, z0, x0, y0, z1}, {x0, y1, z1, x0, y1, z0, x1, y1, z0},
        {x0, y1, z0, x0, y0, z0, x1, y0, z0}, {x1, y0, z1, x0, y0, z1, x0, y1, z1},
    };
    QByteArray text = "{\n";
    for (int i = 0; i < 6; ++i) {
        const int* p = faces[i];
        text += QStringLiteral("( %1 %2 %3 ) ( %4 %5 %6 ) ( %7 %8 %9 ) ")
                    .arg(p[0])
                    .arg(p[1])
                    .arg(p[2])
                    .arg(p[3])
                    .arg(p[4])
                    .arg(p[5])
                    .arg(p[6])
                    .arg(p[7])
                    .arg(p[8])
                    .toUtf8();
        text += i < int(faceTex.size()) && faceTex[i] ? faceTex[i] : tex;
        text += QStringLiteral(" 0 0 0 0.5 0.5 %1 %2 0\n")
                    .arg(i < int(contents.size()) ? contents[i] : 0)
                    .arg(i < int(surface.size()) ? surface[i] : 0)
                    .toUtf8();
    }
    return text + "}\n";
}

QByteArray patch(const char* tex, int surface = 0) {
    return QByteArray("{\npatchDef2\n{\n") + tex + "\n( 3 3 0 " + QByteArray::number(surface) +
           " 0 )\n(\n"
           "( ( 200 0 0 0 0 ) ( 200 32 64 0 0.5 ) ( 200 64 0 0 1 ) )\n"
           "( ( 208 0 0 0.5 0 ) ( 208 32 64 0.5 0.5 ) ( 208 64 0 0.5 1 ) )\n"
           "( ( 216 0 0 1 0 ) ( 216 32 64 1 0.5 ) ( 216 64 0 1 1 ) )\n)\n}\n}\n";
}

const QByteArray kStart = "{\n\"classname\" \"info_player_deathmatch\"\n\"origin\" \"128 0 32\"\n}\n";

// The world entity with its box (and what else it holds), then the player start and extra entities.
QByteArray mapText(const QByteArray& worldBrushes = box(0, 0, 0, 64, 64, 64),
                   const QByteArray& entities = kStart) {
    return "{\n\"classname\" \"worldspawn\"\n" + worldBrushes + "}\n" + entities;
}

// The plain map with an entity whose class names "targetname" as the key other entities target.
QByteArray aimedMap() {
    return mapText(box(0, 0, 0, 64, 64, 64),
                   kStart + "{\n\"classname\" \"target_position\"\n\"origin\" \"32 32 96\"\n}\n");
}

using Build = std::function<void(MapWorld*)>;

EntityRecord* entityOf(MapWorld* w, const char* classname) {
    for (EntityRecord* e = w->entities; e; e = e->next)
        if (e->classname && std::strcmp(e->classname, classname) == 0) return e;
    return nullptr;
}

FaceRecord* topFace(BrushRecord* b) {
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        if (f->normal[2] > 0.9f) return f;
    return nullptr;
}

// The top face's first texture axis along its normal, its alignment bits as the axes give them.
void perpendicularAxis(MapWorld* w) {
    TextureInfo& t = topFace(w->entities->firstBrush)->texInfo;
    t.sAxis[0] = 0, t.sAxis[1] = 0, t.sAxis[2] = 1;
    t.alignment = 0;
}

void addKeys(MapWorld* w, std::initializer_list<std::pair<const char*, const char*>> keys,
             const char* classname = "info_player_deathmatch") {
    EntityRecord* e = entityOf(w, classname);
    for (const auto& [k, v] : keys)
        e->handle->appendKeyValue(k, v);
}

// One row's case: the fixture and its repaired twin (map text, then an optional build step), the
// list text and whether the row has a repair.
struct RowCase {
    const char* label;
    int row;
    QByteArray fixture;
    Build build;
    QByteArray twin;
    Build twinBuild;
    QString text;
    bool fixable;
};

std::vector<RowCase> rowCases() {
    const QByteArray plain = mapText();
    const QByteArray aimed = aimedMap();
    return {
        {"no player start",
         0,
         mapText(box(0, 0, 0, 64, 64, 64), ""),
         {},
         {},
         {},
         "There is no info_player_deathmatch",
         true},
        {"unmatched target",
         1,
         mapText(
             box(0, 0, 0, 64, 64, 64),
             kStart +
                 "{\n\"classname\" \"target_relay\"\n\"origin\" \"32 32 96\"\n\"target\" \"nowhere\"\n}\n"),
         {},
         {},
         {},
         "Unmatched 'target' field ('nowhere')",
         false},
        {"duplicate keys", 2, plain,
         [](MapWorld* w) {
             addKeys(w, {{"angle", "90"}, {"angle", "90"}});
         },
         plain,
         [](MapWorld* w) {
             addKeys(w, {{"angle", "90"}});
         },
         "Entity ('info_player_deathmatch') contains duplicate keyvalues", true},
        {"quotes", 3, plain,
         [](MapWorld* w) {
             addKeys(w, {{"message", "say \"hi\""}});
         },
         plain,
         [](MapWorld* w) {
             addKeys(w, {{"message", "say 'hi'"}});
         },
         "Entity ('info_player_deathmatch') contains double qoutes in keyvalues", true},
        {"prefixed targetname", 4, aimed,
         [](MapWorld* w) {
             addKeys(w, {{"targetname", "@!spot"}}, "target_position");
         },
         aimed,
         [](MapWorld* w) {
             addKeys(w, {{"targetname", "spot"}}, "target_position");
         },
         "Bad 'targetname' field ('@!spot')", true},
        {"patch texture",
         5,
         mapText(box(0, 0, 0, 64, 64, 64) + patch("sample/nosuchpatch")),
         {},
         mapText(box(0, 0, 0, 64, 64, 64) + patch(kWall, kWallSurface)),
         {},
         "Invalid texture ('sample/nosuchpatch')",
         true},
        {"face texture",
         6,
         mapText(box(0, 0, 0, 64, 64, 64, kWall, {"sample/nosuchface"})),
         {},
         mapText(box(0, 0, 0, 64, 64, 64, kWall, {}, {}, {kWallSurface})),
         {},
         "Invalid texture ('sample/nosuchface')",
         true},
        {"texture axes",
         7,
         plain,
         [](MapWorld* w) { perpendicularAxis(w); },
         {},
         {},
         "Texture axis perpendicular to face",
         true},
        {"empty solid entity",
         8,
         plain,
         [](MapWorld* w) {
             const float o[3] = {0, 0, 0};
             Test_Entity(Map_Handle(w), "func_door", o, 0);
         },
         plain,
         {},
         "Solid entity ('func_door') is empty",
         true},
        {"faceless brush",
         9,
         plain,
         [](MapWorld* w) { Brush_Create(Map_Handle(w), w->entities)->handle->update(0); },
         plain,
         {},
         "Solid with no faces",
         true},
        {"off-plane face",
         10,
         plain,
         [](MapWorld* w) {
             FaceRecord* f = topFace(w->entities->firstBrush);
             for (int i = 0; i < f->vertexCount; ++i)
                 f->vertices[i].xyz[2] += 2;
         },
         mapText(box(0, 0, 0, 64, 64, 66)),
         {},
         "Invalid solid structure (point off the face plane)",
         true},
        {"mixed contents",
         11,
         mapText(box(0, 0, 0, 64, 64, 64, kWall, {}, {0, 0, 0, 0, 0, 1})),
         {},
         plain,
         {},
         "Invalid solid contents",
         true},
    };
}

enum class FixMode { One, Type, All };

class MapCheckWindowTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        QFile shipped(QStringLiteral(ZARV_BIN_DIR "/KDKGameCfg.ini"));
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
        const QByteArray config = shipped.readAll();
        writeFile("base/KDKGameCfg.ini", config);
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        // The game's use-prefix characters.
        auto found = window->gameConfigs.profiles.find("kpQuake3");
        ASSERT_NE(found, window->gameConfigs.profiles.end());
        std::strcpy(found->second.targetPrefixes, "@!");
        window->currentTextureName = QString::fromLatin1(kWall);
    }
    void TearDown() override {
        window.reset();
        cWindowFixture::TearDown();
    }
    MapDocument* open(const QByteArray& text, const Build& build) {
        static int counter = 0;
        const QString name = QStringLiteral("maps/fixture%1.map").arg(++counter);
        writeFile(name, text);
        return openPath(path(name), build);
    }
    MapDocument* openPath(const QString& file, const Build& build) {
        MapDocument* d = window->openFile(file);
        EXPECT_NE(d, nullptr);
        if (!d) return nullptr;
        // What the first paints would do later: the deferred entity refresh.
        Map_RefreshAfterLoad(d->world);
        if (build) build(d->world);
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents();
        return d;
    }
    static std::string dump(const MapDocument* d) {
        return Map_DumpWorld(d->world, WorldDumpFlag::NoSelection).toStdString();
    }
    // Brushes take random display colours: a twin is compared without them.
    static std::string noColors(const std::string& dump) {
        return QString::fromStdString(dump)
            .replace(QRegularExpression("(\n *brush [^\n]*) color [0-9,]+"), "\\1")
            .toStdString();
    }
    std::string twinDump(const QByteArray& text, const Build& build) {
        MapDocument* d = open(text, build);
        const std::string bytes = d ? noColors(dump(d)) : std::string();
        if (d) {
            d->modified = false;
            window->closeDocument(d);
        }
        return bytes;
    }
    // Runs the command; fill drives the dialog, which is closed after it.
    bool check(const std::function<void(cMapCheckDialog*)>& fill) {
        QAction* command = Window_Action(*window, "MapCheck");
        EXPECT_NE(command, nullptr);
        if (!command) return false;
        EXPECT_EQ(command->shortcut(), QKeySequence(QStringLiteral("Alt+P")));
        cDialogAnswer answer([&](QDialog* d) { fill(qobject_cast<cMapCheckDialog*>(d)); }, false);
        command->trigger();
        return answer.answered;
    }
    static QListWidget* listOf(cMapCheckDialog* d) { return Widget_Find<QListWidget>(d, "lstProblems"); }
    using Rows = std::vector<std::string>;
    static Rows rows(cMapCheckDialog* d) {
        Rows list;
        for (int i = 0; i < listOf(d)->count(); ++i)
            list.push_back(listOf(d)->item(i)->text().toStdString());
        return list;
    }
    static QPushButton* button(cMapCheckDialog* d, const char* name) {
        return Widget_Find<QPushButton>(d, name);
    }
    static void fix(cMapCheckDialog* d, FixMode mode) {
        Widget_Click(button(d, mode == FixMode::One    ? "btnFix"
                               : mode == FixMode::Type ? "btnFixType"
                                                       : "btnFixAll"));
    }
    static int levelCount(const UndoHistory* h, const char* name) {
        int n = 0;
        for (const UndoLevel* l = h->undoChain; l; l = l->next)
            n += l->name && std::strcmp(l->name, name) == 0;
        return n;
    }

    cConsoleCapture console;
    std::unique_ptr<cMainWindow> window;
};

TEST_F(MapCheckWindowTest, EachRowFindsItsFixtureAndRepairsItToTheTwin) {
    for (const RowCase& c : rowCases()) {
        SCOPED_TRACE(c.label);
        const std::string twin = c.twin.isEmpty() ? std::string() : twinDump(c.twin, c.twinBuild);
        MapDocument* d = open(c.fixture, c.build);
        ASSERT_NE(d, nullptr);
        const std::string before = dump(d);
        for (FixMode mode : {FixMode::One, FixMode::Type, FixMode::All}) {
            SCOPED_TRACE(int(mode));
            std::string after;
            const bool shown = check([&](cMapCheckDialog* dialog) {
                ASSERT_NE(dialog, nullptr);
                EXPECT_EQ(dialog->windowTitle(), "Check map for problems");
                EXPECT_EQ(dialog->size(), QSize(381, 351));
                ASSERT_EQ(rows(dialog), Rows{c.text.toStdString()});
                EXPECT_EQ(listOf(dialog)->currentRow(), 0);
                EXPECT_EQ(Widget_Find<QTextEdit>(dialog, "txtDesc")->toPlainText(),
                          QString::fromUtf8(kMapCheckTable[c.row].description));
                EXPECT_EQ(button(dialog, "btnGoto")->isEnabled(), c.row != 0);
                EXPECT_EQ(button(dialog, "btnFix")->text(), c.fixable ? "&Fix" : "Can't fix");
                EXPECT_EQ(button(dialog, "btnFix")->isEnabled(), c.fixable);
                EXPECT_EQ(button(dialog, "btnFixType")->isEnabled(), c.fixable);
                if (c.fixable) {
                    fix(dialog, mode);
                    EXPECT_EQ(rows(dialog), Rows{c.text.toStdString() + " [fixed]"});
                    EXPECT_EQ(button(dialog, "btnFix")->text(), "Fixed");
                }
                after = dump(d);
            });
            ASSERT_TRUE(shown);
            if (!c.fixable) {
                EXPECT_EQ(after, before);
                break;
            }
            if (!twin.empty()) EXPECT_EQ(noColors(after), twin);
            EXPECT_EQ(levelCount(d->undo, "Fix Problems"), 1);
            EXPECT_FALSE(d->undo->recording);
            // Closing ended the step and refreshed the Edit menu.
            EXPECT_TRUE(Window_Action(*window, "EditUndo")->isEnabled());
            EXPECT_TRUE(d->modified);
            ASSERT_TRUE(Undo_StepUndo(d->undo));
            EXPECT_EQ(dump(d), before);
            EXPECT_EQ(levelCount(d->undo, "Fix Problems"), 0);
        }
        d->modified = false;
        window->closeDocument(d);
    }
}

// The new player start: the profile's class at the origin, a point entity with its own serial.
TEST_F(MapCheckWindowTest, PlayerStartIsAddedAtTheOrigin) {
    MapDocument* d = open(mapText(box(0, 0, 0, 64, 64, 64), ""), {});
    ASSERT_TRUE(check([](cMapCheckDialog* dialog) { fix(dialog, FixMode::One); }));
    EntityRecord* e = d->world->entitiesTail;
    ASSERT_STREQ(e->classname, "info_player_deathmatch");
    EXPECT_EQ(e->flags & EntityFlag::Point, EntityFlag::Point);
    EXPECT_EQ(e->origin[0], 0.0f);
    EXPECT_EQ(e->origin[2], 0.0f);
    EXPECT_NE(e->handle->entityClass, nullptr);
    EXPECT_GT(e->serial, 0);
    EXPECT_EQ(e->owner, Map_Handle(d->world));
}

// A clean map gives the box and no dialog; the shipped sample map is one on the shipped game (its
// textures come from the game's PK3).
TEST_F(MapCheckWindowTest, CleanMapHasNoProblems) {
    for (const bool sample : {false, true}) {
        SCOPED_TRACE(sample ? "sample" : "fixture");
        cPromptScript script;
        ASSERT_NE(sample ? openPath(kSampleMap, {}) : open(mapText(), {}), nullptr);
        EXPECT_FALSE(
            check([](cMapCheckDialog* dialog) { ADD_FAILURE() << testing::PrintToString(rows(dialog)); }));
        ASSERT_EQ(script.asked.size(), 1);
        EXPECT_EQ(script.asked[0].text, "No errors were found.");
        EXPECT_EQ(script.asked[0].icon, PromptIcon::Warning);
    }
}

// Three equal keys: the second and third are the problems; two runs make two levels.
TEST_F(MapCheckWindowTest, ThreeEqualKeysLeaveTheFirstOverTwoRuns) {
    MapDocument* d = open(mapText(), [](MapWorld* w) {
        addKeys(w, {{"wait", "1"}, {"wait", "2"}, {"wait", "3"}});
    });
    const std::string before = dump(d);
    ASSERT_TRUE(check([](cMapCheckDialog* dialog) {
        EXPECT_EQ(rows(dialog).size(), 2u);
        listOf(dialog)->setCurrentRow(1);
        fix(dialog, FixMode::One);
        EXPECT_EQ(listOf(dialog)->currentRow(), 1);
        EXPECT_EQ(rows(dialog)[1], "Entity ('info_player_deathmatch') contains duplicate keyvalues [fixed]");
    }));
    ASSERT_TRUE(check([](cMapCheckDialog* dialog) {
        EXPECT_EQ(rows(dialog).size(), 1u);
        fix(dialog, FixMode::One);
    }));
    EntityRecord* e = entityOf(d->world, "info_player_deathmatch");
    int waits = 0;
    for (const EPair* p = e->epairs; p; p = p->next)
        if (std::strcmp(p->key, "wait") == 0) {
            ++waits;
            EXPECT_STREQ(p->value, "1");
        }
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(levelCount(d->undo, "Fix Problems"), 2);
    ASSERT_TRUE(Undo_StepUndo(d->undo));
    ASSERT_TRUE(Undo_StepUndo(d->undo));
    EXPECT_EQ(dump(d), before);
}

// A targetname of prefix characters only is emptied; an empty one is never listed.
TEST_F(MapCheckWindowTest, PrefixOnlyTargetnameBecomesEmpty) {
    MapDocument* d = open(aimedMap(), [](MapWorld* w) {
        addKeys(w, {{"targetname", "@!@"}}, "target_position");
    });
    ASSERT_TRUE(check([](cMapCheckDialog* dialog) {
        EXPECT_EQ(rows(dialog), Rows{"Bad 'targetname' field ('@!@')"});
        fix(dialog, FixMode::All);
    }));
    EXPECT_STREQ(entityOf(d->world, "target_position")->handle->findKey("targetname")->value, "");
    cPromptScript script;
    EXPECT_FALSE(check([](cMapCheckDialog*) {}));
}

// What a repair cannot do: no current texture, a face whose axes stay invalid.
TEST_F(MapCheckWindowTest, RepairsThatCannotActSayCantFix) {
    MapDocument* d =
        open(mapText(box(0, 0, 0, 64, 64, 64, kWall, {"sample/nosuchface"}) + patch("sample/nosuchpatch")),
             [](MapWorld* w) {
                 // A face collapsed to a point with no plane: no axes can lie on it.
                 FaceRecord* f = topFace(w->entities->firstBrush);
                 for (int i = 0; i < f->vertexCount; ++i)
                     std::memcpy(f->vertices[i].xyz, f->vertices[0].xyz, sizeof(float[3]));
                 f->normal[0] = f->normal[1] = f->normal[2] = 0;
             });
    ASSERT_NE(d, nullptr);
    // After the open: a first map makes the Textures dock's texture current.
    window->currentTextureName.clear();
    ASSERT_TRUE(check([](cMapCheckDialog* dialog) {
        // One at a time: the structure repair of the brush would remove the collapsed face.
        for (int i = 0; i < listOf(dialog)->count(); ++i) {
            listOf(dialog)->setCurrentRow(i);
            if (!listOf(dialog)->item(i)->text().startsWith("Invalid solid")) fix(dialog, FixMode::One);
        }
        const Rows list = rows(dialog);
        auto has = [&](const std::string& row) {
            return std::find(list.begin(), list.end(), row) != list.end();
        };
        EXPECT_TRUE(has("Invalid texture ('sample/nosuchpatch') [can't fix]"))
            << testing::PrintToString(list);
        EXPECT_TRUE(has("Invalid texture ('sample/nosuchface') [can't fix]"));
        EXPECT_TRUE(has("Texture axis perpendicular to face [can't fix]"));
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].rfind("Texture axis", 0) == 0) listOf(dialog)->setCurrentRow(int(i));
        EXPECT_EQ(button(dialog, "btnFix")->text(), "Can't fix");
        EXPECT_FALSE(button(dialog, "btnFix")->isEnabled());
    }));
}

// Row 10 with fewer than three faces deletes the brush, and its entity when it was the last brush,
// never the world entity; the brush's other problems are then gone, never touched.
TEST_F(MapCheckWindowTest, BrushWithTwoFacesLeavesWithItsEntity) {
    MapDocument* d = open(mapText(), [](MapWorld* w) {
        const float o[3] = {0, 0, 0};
        EntityRecord* door = Test_Entity(Map_Handle(w), "func_door", o, 0);
        BrushRecord* b = Test_Brush(Map_Handle(w), door, {{0, 0, 1, 300}, {0, 0, -1, -200}}, kWall);
        b->lastFace->texInfo.contents = 1; // a row 11 problem of the same brush
        Test_Brush(Map_Handle(w), w->entities, {{1, 0, 0, 300}, {-1, 0, 0, -200}}, kWall);
    });
    const std::string twin = twinDump(mapText(), {});
    const std::string before = dump(d);
    ASSERT_TRUE(check([](cMapCheckDialog* dialog) {
        EXPECT_EQ(rows(dialog), (Rows{"Invalid solid structure (bad face count)",
                                      "Invalid solid structure (bad face count)", "Invalid solid contents"}));
        listOf(dialog)->setCurrentRow(2);
        fix(dialog, FixMode::All);
        EXPECT_EQ(listOf(dialog)->currentRow(), 2);
        // Gone with its brush: nothing to visit or fix.
        EXPECT_EQ(rows(dialog)[2], "Invalid solid contents [fixed]");
        EXPECT_FALSE(button(dialog, "btnGoto")->isEnabled());
        EXPECT_FALSE(button(dialog, "btnFix")->isEnabled());
    }));
    EXPECT_EQ(noColors(dump(d)), twin);
    EXPECT_NE(entityOf(d->world, "worldspawn"), nullptr);
    EXPECT_TRUE(console.contains("removing the whole entity: func_door"));
    ASSERT_TRUE(Undo_StepUndo(d->undo));
    EXPECT_EQ(dump(d), before);
}

// Undo puts removed entities back where they stood in the entity list, so a save after undo writes
// the map in its old order.
TEST_F(MapCheckWindowTest, UndoPutsRemovedEntitiesBackInTheirPlaces) {
    MapDocument* d = open(mapText(), [](MapWorld* w) {
        const float o[3] = {0, 0, 0}, relay[3] = {32, 32, 96};
        Test_Entity(Map_Handle(w), "func_door", o, 0);
        Test_Entity(Map_Handle(w), "target_relay", relay, EntityFlag::Point, {{"targetname", "a"}});
        Test_Entity(Map_Handle(w), "func_train", o, 0);
        Test_Entity(Map_Handle(w), "target_relay", relay, EntityFlag::Point, {{"targetname", "b"}});
    });
    auto classes = [&] {
        std::vector<std::string> names;
        for (const EntityRecord* e = d->world->entities; e; e = e->next)
            names.push_back(e->classname ? e->classname : "");
        return names;
    };
    const std::vector<std::string> order = {
        "worldspawn", "info_player_deathmatch", "func_door", "target_relay", "func_train", "target_relay"};
    ASSERT_EQ(classes(), order);
    const std::string before = dump(d);
    ASSERT_TRUE(check([](cMapCheckDialog* dialog) {
        EXPECT_EQ(rows(dialog),
                  (Rows{"Solid entity ('func_door') is empty", "Solid entity ('func_train') is empty"}));
        fix(dialog, FixMode::All);
    }));
    EXPECT_EQ(classes(), (std::vector<std::string>{"worldspawn", "info_player_deathmatch", "target_relay",
                                                   "target_relay"}));
    ASSERT_TRUE(Undo_StepUndo(d->undo));
    EXPECT_EQ(classes(), order);
    EXPECT_EQ(dump(d), before);
    ASSERT_TRUE(Undo_StepRedo(d->undo));
    ASSERT_TRUE(Undo_StepUndo(d->undo));
    EXPECT_EQ(classes(), order);
}

// A corner cut off by a hair: its edges are shorter than a tenth of a unit.
TEST_F(MapCheckWindowTest, TinyEdgeIsReportedAndItsRepairUndone) {
    MapDocument* d = open(mapText(box(0, 0, 0, 64, 64, 64), kStart), [](MapWorld* w) {
        Test_Brush(Map_Handle(w), w->entities,
                   {{0, 0, 1, 64},
                    {0, 0, -1, 0},
                    {1, 0, 0, 264},
                    {-1, 0, 0, -200},
                    {0, 1, 0, 64},
                    {0, -1, 0, 0},
                    {1, 1, 1, 391.95f}},
                   kWall);
    });
    const std::string before = dump(d);
    ASSERT_TRUE(check([](cMapCheckDialog* dialog) {
        EXPECT_EQ(rows(dialog), Rows{"Invalid solid structure (tiny edge)"});
        fix(dialog, FixMode::One);
    }));
    ASSERT_TRUE(Undo_StepUndo(d->undo));
    EXPECT_EQ(dump(d), before);
}

// Row 2 frees a pair that rows 3 and 4 list too: Fix all skips them.
TEST_F(MapCheckWindowTest, PairRemovedByRowTwoIsNotTouchedAgain) {
    MapDocument* d = open(aimedMap(), [](MapWorld* w) {
        addKeys(w, {{"targetname", "a"}, {"targetname", "@\"b\""}}, "target_position");
    });
    const std::string before = dump(d);
    ASSERT_TRUE(check([](cMapCheckDialog* dialog) {
        EXPECT_EQ(rows(dialog).size(), 3u);
        fix(dialog, FixMode::All);
        for (const std::string& row : rows(dialog))
            EXPECT_TRUE(QString::fromStdString(row).endsWith(" [fixed]")) << row;
    }));
    EXPECT_EQ(entityOf(d->world, "target_position")->handle->findKey("targetname")->next, nullptr);
    ASSERT_TRUE(Undo_StepUndo(d->undo));
    EXPECT_EQ(dump(d), before);
}

// A face repaired before its brush is: Undo still gives the map back exactly.
TEST_F(MapCheckWindowTest, FaceAndBrushRepairsOfOneBrushUndoExactly) {
    MapDocument* d = open(mapText(box(0, 0, 0, 64, 64, 64, kWall, {"sample/nosuchface"}, {0, 0, 0, 0, 0, 1})),
                          perpendicularAxis);
    const std::string before = dump(d);
    ASSERT_TRUE(check([](cMapCheckDialog* dialog) {
        EXPECT_EQ(rows(dialog).size(), 3u);
        fix(dialog, FixMode::All);
    }));
    ASSERT_TRUE(Undo_StepUndo(d->undo));
    EXPECT_EQ(dump(d), before);
}

// Go to selects as the row's scope says and centres every view on the object.
TEST_F(MapCheckWindowTest, GoToSelectsAndCentresEveryView) {
    MapDocument* d =
        open(mapText(box(0, 0, 0, 64, 64, 64) + box(256, 256, 0, 320, 320, 64, kWall, {}, {0, 1})),
             [](MapWorld* w) {
                 addKeys(w, {{"message", "\""}});
             });
    ASSERT_TRUE(check([&](cMapCheckDialog* dialog) {
        const Rows list = rows(dialog);
        ASSERT_EQ(list.size(), 2u);
        for (int i = 0; i < 2; ++i) {
            listOf(dialog)->setCurrentRow(i);
            Widget_Click(button(dialog, "btnGoto"));
            const bool brush = list[i] == "Invalid solid contents";
            MapWorld* w = d->world;
            if (brush) {
                ASSERT_NE(w->selectedBrushes, nullptr);
                EXPECT_EQ(w->selectedBrushes->selNext, nullptr);
                EXPECT_EQ(w->selectedEntities, nullptr);
            } else {
                ASSERT_NE(w->selectedEntities, nullptr);
                EXPECT_STREQ(w->selectedEntities->classname, "info_player_deathmatch");
                EXPECT_EQ(w->selectedBrushes, nullptr);
            }
            const float* mins = brush ? w->selectedBrushes->mins : w->selectedEntities->mins;
            const float* maxs = brush ? w->selectedBrushes->maxs : w->selectedEntities->maxs;
            for (cChildWindow* child : d->windows)
                for (cCanvas* view : child->views) {
                    if (view->is3D()) {
                        for (int k = 0; k < 3; ++k)
                            EXPECT_NEAR(view->eye[k] + view->forward[k] * 64, (mins[k] + maxs[k]) / 2, 0.01);
                    } else {
                        EXPECT_NEAR(view->viewCentreOnAxis(view->hAxis),
                                    (mins[view->hAxis] + maxs[view->hAxis]) / 2, 2 / view->zoom);
                    }
                }
        }
    }));
}

// The open dialog follows a language switch, list and buttons included.
TEST_F(MapCheckWindowTest, RussianRetitlesTheOpenDialog) {
    open(mapText(), [](MapWorld* w) { Brush_Create(Map_Handle(w), w->entities); });
    ASSERT_TRUE(check([](cMapCheckDialog* dialog) {
        QTranslator russian;
        ASSERT_TRUE(russian.load(QStringLiteral(ZARV_BIN_DIR "/local/zarv_ru.qm")));
        QCoreApplication::installTranslator(&russian);
        QApplication::processEvents();
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Проверка карты на ошибки"));
        EXPECT_EQ(rows(dialog), Rows{"Тело без граней"});
        EXPECT_EQ(button(dialog, "btnFix")->text(), QString::fromUtf8("&Исправить"));
        QCoreApplication::removeTranslator(&russian);
        QApplication::processEvents();
        EXPECT_EQ(dialog->windowTitle(), "Check map for problems");
    }));
}

} // namespace
