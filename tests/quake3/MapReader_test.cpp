// The ".map" reader of the Quake III plugin, driven through kpImport of the loaded module: each
// syntax, comments and line ends, key rules, and damaged files.
#include <QRegularExpression>
#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Quake3Fixture.h"
#include "document/MapDocument.h"
#include "map/FaceSource.h"
#include <QDir>

namespace {

EntityRecord* entityOfClass(MapWorld* world, const char* classname) {
    for (EntityRecord* e = world->entities; e; e = e->next)
        if (e->classname && std::strcmp(e->classname, classname) == 0) return e;
    return nullptr;
}

const char* valueOf(const EntityRecord* e, const char* key) {
    for (const EPair* p = e->epairs; p; p = p->next)
        if (p->key && std::strcmp(p->key, key) == 0) return p->value;
    return nullptr;
}

int pairCount(const EntityRecord* e, const char* key) {
    int n = 0;
    for (const EPair* p = e->epairs; p; p = p->next)
        if (p->key && std::strcmp(p->key, key) == 0) ++n;
    return n;
}

std::vector<const FaceRecord*> facesOf(const EntityRecord* e) {
    std::vector<const FaceRecord*> faces;
    for (const BrushRecord* b = e->firstBrush; b; b = b->next)
        for (const FaceRecord* f = b->firstFace; f; f = f->next)
            faces.push_back(f);
    return faces;
}

class MapReaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Quake3().loaded); }
    int32_t import(const QByteArray& text, const char* name = "in.map") {
        return Quake3_Import(files.write(QLatin1String(name), text), &imported.world);
    }
    // The console line that carries the message, or an empty text.
    QString line(const QString& message) const {
        for (const QString& l : console.lines)
            if (l.contains(message.toHtmlEscaped())) return l;
        return {};
    }
    cConsoleCapture console;
    cQuake3Files files;
    cImportedWorld imported;
};

TEST_F(MapReaderTest, ClassicFormKeysAndFlags) {
    ASSERT_EQ(import(Quake3_Fixture("classic.map")), 1);
    MapWorld* world = &imported.world;
    EXPECT_EQ(Quake3_Count(world), (WorldCounts{3, 3, 18, 0}));

    EntityRecord* worldspawn = world->entities;
    ASSERT_STREQ(worldspawn->classname, "worldspawn");
    EXPECT_TRUE(worldspawn->flags & EntityFlag::World);
    EXPECT_FALSE(worldspawn->flags & EntityFlag::Point);
    EXPECT_STREQ(valueOf(worldspawn, "message"), "classic fixture");
    EXPECT_EQ(valueOf(worldspawn, "wad"), nullptr);
    EXPECT_EQ(valueOf(worldspawn, "_generator"), nullptr);

    // Classic texture lines: shifts, negated rotation, scales; the trailing integers.
    const auto faces = facesOf(worldspawn);
    ASSERT_EQ(faces.size(), 12u);
    EXPECT_STREQ(faces[0]->texInfo.name, "base_wall/concrete");
    EXPECT_FLOAT_EQ(faces[0]->texInfo.sScale, 0.5f);
    int withFlags = 0;
    for (const FaceRecord* f : faces)
        if (f->texInfo.contents == 65536 && f->texInfo.surfaceFlags == 128 && f->texInfo.value == 0)
            ++withFlags;
    EXPECT_EQ(withFlags, 1);
    for (const FaceRecord* f : faces) {
        const float length = std::sqrt(f->normal[0] * f->normal[0] + f->normal[1] * f->normal[1] +
                                       f->normal[2] * f->normal[2]);
        EXPECT_NEAR(length, 1.0f, 1e-6f);
        EXPECT_LT(f->axialType, 3);
    }

    // A point entity: origin in the record only, angle 90, the first of two targets.
    EntityRecord* light = entityOfClass(world, "light");
    ASSERT_NE(light, nullptr);
    EXPECT_TRUE(light->flags & EntityFlag::Point);
    EXPECT_EQ(light->origin[0], 32);
    EXPECT_EQ(light->origin[2], 64);
    EXPECT_EQ(valueOf(light, "origin"), nullptr);
    EXPECT_EQ(light->angles[0], 0);
    EXPECT_EQ(light->angles[1], 90);
    EXPECT_STREQ(valueOf(light, "angle"), "90");
    EXPECT_EQ(pairCount(light, "target"), 1);
    EXPECT_STREQ(valueOf(light, "target"), "t1");

    // A brush entity keeps its "origin" pair; angle -1 looks down.
    EntityRecord* door = entityOfClass(world, "func_door");
    ASSERT_NE(door, nullptr);
    EXPECT_FALSE(door->flags & EntityFlag::Point);
    EXPECT_STREQ(valueOf(door, "origin"), "8 8 8");
    EXPECT_EQ(door->origin[0], 8);
    EXPECT_EQ(door->angles[0], -90);
    EXPECT_EQ(door->angles[1], 0);
    EXPECT_FALSE(console.contains(QStringLiteral("solids were not loaded")));
}

TEST_F(MapReaderTest, Version220PatchesBrushPrimitivesAndEightBitText) {
    ASSERT_EQ(import(Quake3_Fixture("v220.map")), 1);
    MapWorld* world = &imported.world;
    EXPECT_EQ(Quake3_Count(world), (WorldCounts{4, 4, 18, 1}));
    EXPECT_FALSE(console.contains(QStringLiteral("not a version")));

    EntityRecord* worldspawn = world->entities;
    const BrushRecord* box = worldspawn->firstBrush;
    ASSERT_NE(box, nullptr);
    int detail = 0;
    for (const FaceRecord* f = box->firstFace; f; f = f->next) {
        EXPECT_EQ(f->texInfo.sShift, 16);
        EXPECT_EQ(f->texInfo.tShift, -8);
        if (f->texInfo.contents == 134217728) ++detail;
    }
    EXPECT_EQ(detail, 1);

    // The patch keeps its header's contents, flags and value and every control point.
    const BrushRecord* patchBrush = box->next;
    ASSERT_NE(patchBrush, nullptr);
    ASSERT_NE(patchBrush->patch, nullptr);
    const PatchRecord* patch = patchBrush->patch;
    EXPECT_EQ(patch->columns, 3);
    EXPECT_EQ(patch->rows, 3);
    EXPECT_STREQ(patch->texInfo.name, "base_trim/pewter");
    EXPECT_EQ(patch->texInfo.contents, 134217728);
    EXPECT_EQ(patch->texInfo.surfaceFlags, 4);
    EXPECT_EQ(patch->texInfo.value, 2);
    EXPECT_EQ(patch->points[1][1].xyz[2], 8.5f);
    EXPECT_EQ(patch->points[2][1].xyz[0], 64);
    EXPECT_EQ(patch->points[2][1].s, 1.0f);
    EXPECT_EQ(patch->points[2][1].t, 0.5f);

    // Brush primitives: the texture is unknown here, so the matrix (a repeat every 64 units) is
    // converted with the placeholder's 32 texels, and the face says so.
    const BrushRecord* primitive = patchBrush->next;
    ASSERT_NE(primitive, nullptr);
    EXPECT_STREQ(primitive->firstFace->texInfo.name, "base_floor/tile");
    EXPECT_FLOAT_EQ(primitive->firstFace->texInfo.sScale, 2.0f);
    ASSERT_NE(primitive->firstFace->source, nullptr);
    EXPECT_EQ(primitive->firstFace->source->flags,
              FaceSourceFlags::Points | FaceSourceFlags::Matrix | FaceSourceFlags::PlaceholderSize);

    EntityRecord* start = entityOfClass(world, "info_player_deathmatch");
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->angles[1], 270);
    EXPECT_STREQ(valueOf(start, "message"), "\xcf\xf0\xe8\xe2\xe5\xf2");

    // Sixty keys in file order.
    EntityRecord* speaker = entityOfClass(world, "target_speaker");
    ASSERT_NE(speaker, nullptr);
    int index = 0;
    for (const EPair* p = speaker->epairs; p; p = p->next, ++index)
        EXPECT_EQ(QByteArray(p->key), QByteArray("key") + QByteArray::number(index).rightJustified(2, '0'));
    EXPECT_EQ(index, 60);
}

TEST_F(MapReaderTest, CrLfTwinsGiveTheSameWorld) {
    for (const char* name : {"classic.map", "v220.map"}) {
        SCOPED_TRACE(name);
        QByteArray lf = Quake3_Fixture(name);
        QByteArray crlf = lf;
        crlf.replace("\n", "\r\n");
        cImportedWorld a, b;
        ASSERT_EQ(Quake3_Import(files.write(QStringLiteral("lf.map"), lf), &a.world), 1);
        ASSERT_EQ(Quake3_Import(files.write(QStringLiteral("crlf.map"), crlf), &b.world), 1);
        const QByteArray da = Quake3_Dump(&a.world), db = Quake3_Dump(&b.world);
        EXPECT_EQ(da, db);
        if (da != db) {
            const QList<QByteArray> la = da.split('\n'), lb = db.split('\n');
            for (int i = 0; i < std::min(la.size(), lb.size()); ++i)
                if (la[i] != lb[i]) {
                    ADD_FAILURE() << la[i].toStdString() << "\n" << lb[i].toStdString();
                    break;
                }
        }
    }
}

// The first face decides the form when the world's "mapversion" says otherwise; one warning.
TEST_F(MapReaderTest, FormFollowsTheFaceLineWithOneWarning) {
    const QByteArray classic = Quake3_Fixture("classic.map");
    QByteArray claimed = classic;
    claimed.replace("\"classname\" \"worldspawn\"", "\"classname\" \"worldspawn\"\n\"mapversion\" \"220\"");
    ASSERT_EQ(import(claimed), 1);
    EXPECT_EQ(console.lines.filter(QStringLiteral("not a version 220 file")).size(), 1);
    EXPECT_EQ(Quake3_Count(&imported.world), (WorldCounts{3, 3, 18, 0}));

    console.clear();
    cImportedWorld unversioned;
    QByteArray axes = Quake3_Fixture("v220.map");
    axes.replace("\"mapversion\" \"220\"\n", "");
    ASSERT_EQ(Quake3_Import(files.write(QStringLiteral("axes.map"), axes), &unversioned.world), 1);
    EXPECT_EQ(console.lines.filter(QStringLiteral("not a version 0 file")).size(), 1);
    EXPECT_EQ(unversioned.world.entities->firstBrush->firstFace->texInfo.sShift, 16);
}

TEST_F(MapReaderTest, ClassicRotationIsNegatedAndBroughtIntoRange) {
    const QByteArray text = "{\n\"classname\" \"worldspawn\"\n{\n"
                            "( 0 0 64 ) ( 0 0 0 ) ( 0 64 0 ) a 0 0 -450 0 0\n"
                            "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) a 0 0 0 1 1\n"
                            "( 64 0 0 ) ( 0 0 0 ) ( 0 0 64 ) a 0 0 0 1 1\n"
                            "( 0 64 64 ) ( 0 64 0 ) ( 64 64 0 ) a 0 0 0 1 1\n"
                            "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 ) a 0 0 0 1 1\n"
                            "( 64 0 64 ) ( 0 0 64 ) ( 0 64 64 ) a 0 0 0 1 1\n}\n}\n";
    ASSERT_EQ(import(text), 1);
    const FaceRecord* first = nullptr;
    for (const FaceRecord* f = imported.world.entities->firstBrush->firstFace; f; f = f->next)
        if (f->normal[0] == -1) first = f;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->texInfo.rotation, 90);
    EXPECT_EQ(first->texInfo.sScale, 1);
    EXPECT_EQ(first->texInfo.tScale, 1);
}

// Values written with escaped quotes by some editors read as one value, with a warning naming the
// line; a backslash at the end of a value is still text.
TEST_F(MapReaderTest, EscapedQuotesStayInTheirValue) {
    const QByteArray text = "{\n\"classname\" \"worldspawn\"\n}\n"
                            "{\n\"classname\" \"target_print\"\n"
                            "\"message\" \"he said \\\"hi\\\" there\"\n"
                            "\"noise\" \"sound\\dir\\\"\n"
                            "\"origin\" \"0 0 0\"\n}\n";
    ASSERT_EQ(import(text), 1);
    EntityRecord* print = entityOfClass(&imported.world, "target_print");
    ASSERT_NE(print, nullptr);
    EXPECT_STREQ(valueOf(print, "message"), "he said \"hi\" there");
    EXPECT_STREQ(valueOf(print, "noise"), "sound\\dir\\");
    int pairs = 0;
    for (const EPair* p = print->epairs; p; p = p->next)
        ++pairs;
    EXPECT_EQ(pairs, 2);
    const QString warning = line(QStringLiteral("escaped quotes"));
    EXPECT_TRUE(warning.contains(QStringLiteral("line 6"))) << console.lines.join('\n').toStdString();
    EXPECT_EQ(console.lines.filter(QStringLiteral("escaped quotes")).size(), 1);
}

// No path length limit: a file deep below folders of long names reads like any other.
TEST_F(MapReaderTest, LongPathsRead) {
    QString folder = files.path(QString(100, QLatin1Char('d')));
    for (int i = 0; i < 3; ++i)
        folder += QLatin1Char('/') + QString(100, QLatin1Char('a' + i));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/deep.map");
    ASSERT_GT(path.size(), 300);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Quake3_Fixture("classic.map"));
    file.close();
    EXPECT_EQ(Quake3_Import(path, &imported.world), 1);
    EXPECT_EQ(Quake3_Count(&imported.world), (WorldCounts{3, 3, 18, 0}));
}

// A file that fails as a whole leaves the open document's map exactly as it was.
TEST_F(MapReaderTest, FailedImportLeavesTheDocumentsWorld) {
    GameConfig config;
    config.Title = QStringLiteral("Quake III");
    config.MapProfile = QStringLiteral("kpQuake3");
    MapDocument document;
    Project_Construct(&document);
    ASSERT_TRUE(Project_Load(
        &document, files.write(QStringLiteral("good.map"), Quake3_Fixture("classic.map")), &config));
    MapWorld* world = document.world;
    const QByteArray dump = Map_DumpWorld(world);
    const QByteArray truncated = Quake3_Fixture("v220.map").left(400);
    EXPECT_FALSE(Project_Load(&document, files.write(QStringLiteral("bad.map"), truncated), &config));
    EXPECT_TRUE(console.contains(QStringLiteral("unexpected end of file: block opened at line")));
    EXPECT_EQ(document.world, world);
    EXPECT_EQ(Map_DumpWorld(document.world), dump);
    Project_Destroy(&document);
    g_mainWindow->gameConfigs.makeCurrent(nullptr);
}

TEST_F(MapReaderTest, UnreadableFileFailsWithTheSystemError) {
    EXPECT_EQ(Quake3_Import(files.path(QStringLiteral("missing.map")), &imported.world), 0);
    EXPECT_TRUE(console.contains(QStringLiteral("can't read \"%1\" (No such file or directory)")
                                     .arg(files.path(QStringLiteral("missing.map")))));
    EXPECT_EQ(imported.world.entities, nullptr);
}

// ---- Damage ----------------------------------------------------------------------------------------

// The classic fixture's first brush lines, for building damaged copies.
QByteArray box(const char* extraLine = nullptr, int at = -1) {
    const char* faces[] = {
        "( 0 0 64 ) ( 0 0 0 ) ( 0 64 0 ) a 0 0 0 1 1", "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) a 0 0 0 1 1",
        "( 64 0 0 ) ( 0 0 0 ) ( 0 0 64 ) a 0 0 0 1 1", "( 0 64 64 ) ( 0 64 0 ) ( 64 64 0 ) a 0 0 0 1 1",
        "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 ) a 0 0 0 1 1", "( 64 0 64 ) ( 0 0 64 ) ( 0 64 64 ) a 0 0 0 1 1"};
    QByteArray text = "{\n";
    for (int i = 0; i < 6; ++i) {
        if (i == at) text += QByteArray(extraLine) + "\n";
        text += QByteArray(faces[i]) + "\n";
    }
    return text + "}\n";
}

QByteArray patch(int width, int height, int rows = -1) {
    QByteArray text = "{\npatchDef2\n{\nbase/p\n( " + QByteArray::number(width) + " " +
                      QByteArray::number(height) + " 0 0 0 )\n(\n";
    for (int i = 0; i < width; ++i) {
        text += "( ";
        for (int j = 0; j < (rows < 0 ? height : rows); ++j)
            text += "( " + QByteArray::number(i * 8) + " " + QByteArray::number(j * 8) + " 0 0 0 ) ";
        text += ")\n";
    }
    return text + ")\n}\n}\n";
}

struct DamageCase {
    const char* name;
    QByteArray text;
    int32_t result;
    const char* message; // the console line naming the fault
    int line;            // the line the message names (0: none)
    WorldCounts counts;  // what the world holds afterwards (result 1)
    int failed = 0;      // solids reported as not loaded
};

QByteArray world(const QByteArray& brushes) {
    return "{\n\"classname\" \"worldspawn\"\n" + brushes + "}\n";
}
const QByteArray kLight = "{\n\"classname\" \"light\"\n\"origin\" \"0 0 0\"\n}\n";

std::vector<DamageCase> damageCases() {
    return {
        {"truncated in an entity",
         world(box()) + "{\n\"classname\" \"light\"\n",
         0,
         "unexpected end of file: block opened at line",
         12,
         {}},
        {"truncated in a patch",
         (world(box()) + kLight + world(patch(3, 3))).left(world(box()).size() + kLight.size() + 60),
         0,
         "unexpected end of file: block opened at line",
         0,
         {}},
        {"extra opening brace",
         world(box() + "{\n" + box()),
         0,
         "unexpected end of file: block opened at line",
         1,
         {}},
        {"stray closing brace",
         "}\n" + world(box()) + kLight,
         1,
         "expected \"{\" to start an entity",
         1,
         {2, 1, 6, 0}},
        {"a word for a number",
         world(box("( 0 0 0 ) ( 0 x 0 ) ( 0 0 1 ) a 0 0 0 1 1", 2) + box()) + kLight,
         1,
         "expected a number, found \"x\"",
         6,
         {2, 1, 6, 0},
         1},
        {"collinear points",
         world(box("( 0 0 0 ) ( 0 0 8 ) ( 0 0 16 ) a 0 0 0 1 1", 0) + box()) + kLight,
         1,
         "plane points are collinear",
         4,
         {2, 1, 6, 0},
         1},
        {"patch 4 by 3", world(patch(4, 3) + box()) + kLight, 1, "illegal patch width 4", 7, {2, 1, 6, 0}, 1},
        {"patch 33 by 3",
         world(patch(33, 3) + box()) + kLight,
         1,
         "illegal patch width 33",
         7,
         {2, 1, 6, 0},
         1},
        {"patch 3 by 1",
         world(patch(3, 1) + box()) + kLight,
         1,
         "illegal patch height 1",
         7,
         {2, 1, 6, 0},
         1},
        {"extra rows",
         world(patch(3, 3, 4) + box()) + kLight,
         1,
         "expected \")\", found \"(\"",
         9,
         {2, 1, 6, 0},
         1},
        {"key after brushes",
         world(box() + "\"late\" \"key\"\n" + box()) + kLight,
         1,
         "epairs are not allowed after brushes",
         11,
         {2, 1, 6, 0}},
        {"no classname",
         "{\n\"origin\" \"1 2 3\"\n" + box() + "}\n" + world(box()),
         1,
         "entity at line 1 has no classname",
         0,
         {1, 1, 6, 0}},
        {"token too long",
         world(box()) + "{\n\"" + QByteArray(3000, 'x') + "\" \"v\"\n}\n" + kLight,
         0,
         "reading stopped at line 13",
         0,
         {}},
        {"patchDef3 in worldspawn",
         world("{\npatchDef3\n{\nbase/p\n( 3 3 0 0 0 0 0 )\n(\n( ( 0 0 0 0 0 ) )\n)\n}\n}\n" + box()) +
             kLight,
         1,
         "unknown brush block \"patchDef3\"",
         4,
         {2, 1, 6, 0},
         1},
    };
}

// Each damaged file: the message names its line; block damage costs that block alone (the
// world's other brush and the entity after it are read); whole-file damage fails.
TEST_F(MapReaderTest, DamageCostsItsBlockOrFailsTheFile) {
    for (const DamageCase& c : damageCases()) {
        SCOPED_TRACE(c.name);
        console.clear();
        cImportedWorld target;
        EXPECT_EQ(Quake3_Import(files.write(QStringLiteral("damaged.map"), c.text), &target.world), c.result);
        const QString found = line(QLatin1String(c.message));
        EXPECT_FALSE(found.isEmpty()) << console.lines.join('\n').toStdString();
        if (c.line > 0 && !found.isEmpty()) {
            EXPECT_TRUE(found.contains(QRegularExpression(QStringLiteral("line %1\\b").arg(c.line))))
                << found.toStdString();
        }
        if (c.result == 1) {
            EXPECT_EQ(Quake3_Count(&target.world), c.counts);
            EXPECT_EQ(console.contains(QStringLiteral("1 solids were not loaded due to errors in MAP file")),
                      c.failed == 1);
        }
    }
}

} // namespace
