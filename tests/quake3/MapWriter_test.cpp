// The ".map" writer of the Quake III plugin through kpExport: the golden text of a built world
// (also under a comma-decimal locale), the writer's edge cases and its failures.
#include <clocale>
#include <cstring>
#include <gtest/gtest.h>

#include "Quake3Fixture.h"
#include "core/AppVersion.h"
#include "map/MapPath.h"

namespace {

EntityRecord* entityOfClass(MapWorld* world, const char* classname) {
    for (EntityRecord* e = world->entities; e; e = e->next)
        if (e->classname && std::strcmp(e->classname, classname) == 0) return e;
    return nullptr;
}

// A path of nodes at the given x positions (y and z 0); names may be null.
PathRecord* addPath(MapWorld* world, const char* name, int32_t type,
                    std::initializer_list<const char*> nodeNames) {
    PathRecord* path = Path_Create(Map_Handle(world));
    path->name = Sys_StrDup(name);
    path->className = Sys_StrDup("path_corner");
    path->type = type;
    float x = 0;
    for (const char* nodeName : nodeNames) {
        NodeRecord* node = Node_Append(Map_Handle(world), path);
        node->origin[0] = x;
        node->origin[1] = 16;
        node->origin[2] = 8;
        x += 32;
        if (nodeName) node->name = Sys_StrDup(nodeName);
    }
    path->mins[0] = -8;
    path->mins[1] = path->mins[2] = 0;
    path->maxs[0] = x;
    path->maxs[1] = path->maxs[2] = 32;
    return path;
}

class MapWriterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Quake3().loaded); }

    // The golden world: the writer fixture's brushes, patch and entities, with a hidden entity,
    // a hidden brush and an entity outside an active cordon, and the three kinds of path.
    void buildGoldenWorld() {
        ASSERT_EQ(Quake3_Import(files.write(QStringLiteral("in.map"), Quake3_Fixture("writer_input.map")),
                                &built.world),
                  1);
        MapWorld* world = &built.world;
        entityOfClass(world, "info_null")->flags |= EntityFlag::Hidden;
        BrushRecord* last = world->entities->lastBrush;
        last->flags |= BrushFlags::Hidden;
        world->flags |= 0x100000 | WorldFlag::ExportCordon;
        for (int i = 0; i < 3; ++i) {
            world->cordonMins[i] = -512;
            world->cordonMaxs[i] = 512;
        }
        addPath(world, "p", PathType::OneWay, {nullptr, "b", nullptr});
        addPath(world, "loop", PathType::Circular, {"first", nullptr});
        addPath(world, "pp", PathType::PingPong, {nullptr, nullptr, nullptr, nullptr});
    }

    cConsoleCapture console;
    cQuake3Files files;
    cImportedWorld built;
};

TEST_F(MapWriterTest, GoldenTextAlsoUnderACommaDecimalLocale) {
    buildGoldenWorld();
    // The golden text names the editor "@VERSION@".
    const QByteArray golden =
        Quake3_Fixture("writer_golden.map").replace("@VERSION@", App_GetVersionString());
    ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("out.map")), &built.world), 1);
    EXPECT_EQ(files.read(QStringLiteral("out.map")), golden);
    EXPECT_TRUE(
        console.contains(QStringLiteral("Saving: \"%1\"").arg(files.path(QStringLiteral("out.map")))));

    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    const int32_t result = Quake3_Export(files.path(QStringLiteral("de.map")), &built.world);
    cImportedWorld reread;
    const int32_t readBack = Quake3_Import(files.path(QStringLiteral("de.map")), &reread.world);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(result, 1);
    EXPECT_EQ(files.read(QStringLiteral("de.map")), golden);
    EXPECT_EQ(readBack, 1);
    EXPECT_EQ(Quake3_Count(&reread.world).brushes, Quake3_Count(&built.world).brushes - 1 + 6);
}

TEST_F(MapWriterTest, CordonAtTheOriginCountsAsOff) {
    buildGoldenWorld();
    MapWorld* world = &built.world;
    world->flags &= ~0x100000u;
    for (int i = 0; i < 3; ++i)
        world->cordonMaxs[i] = 0;
    ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("out.map")), world), 1);
    const QByteArray text = files.read(QStringLiteral("out.map"));
    EXPECT_FALSE(text.contains("common/nodraw"));
    EXPECT_TRUE(text.contains("\"classname\" \"info_null\""));
    EXPECT_TRUE(text.contains("\"origin\" \"2000 0 0\""));
}

// The world entity carries the version and seal even when its own box misses the cordon.
TEST_F(MapWriterTest, WorldEntityIsWrittenWhateverTheCordon) {
    buildGoldenWorld();
    MapWorld* world = &built.world;
    for (int i = 0; i < 3; ++i) {
        world->cordonMins[i] = 5000;
        world->cordonMaxs[i] = 6000;
    }
    ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("out.map")), world), 1);
    const QByteArray text = files.read(QStringLiteral("out.map"));
    EXPECT_TRUE(text.startsWith("{\n\"classname\" \"worldspawn\"\n"));
    EXPECT_TRUE(text.contains("\"mapversion\" \"220\"\n\"_generator\" \"" +
                              QByteArray(App_GetVersionString()) + " (kpQuake3)\"\n"));
    EXPECT_EQ(text.count("common/nodraw"), 36);
    EXPECT_EQ(text.count("\"classname\""), 1);
}

// A face whose vertices are gone is written from its plane, and reads back as the same plane.
TEST_F(MapWriterTest, FaceWithoutVerticesIsWrittenFromItsPlane) {
    ASSERT_EQ(
        Quake3_Import(files.write(QStringLiteral("in.map"), Quake3_Fixture("classic.map")), &built.world), 1);
    FaceRecord* face = built.world.entities->firstBrush->firstFace;
    face->vertexCount = 0;
    const float normal[3] = {face->normal[0], face->normal[1], face->normal[2]};
    const float dist = face->dist;
    ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("out.map")), &built.world), 1);
    face->vertexCount = 6; // give the vertices back to their owner
    cImportedWorld reread;
    ASSERT_EQ(Quake3_Import(files.path(QStringLiteral("out.map")), &reread.world), 1);
    bool found = false;
    for (const FaceRecord* f = reread.world.entities->firstBrush->firstFace; f; f = f->next)
        if (std::fabs(f->normal[0] - normal[0]) < 1e-4f && std::fabs(f->normal[1] - normal[1]) < 1e-4f &&
            std::fabs(f->normal[2] - normal[2]) < 1e-4f && std::fabs(f->dist - dist) < 0.01f)
            found = true;
    EXPECT_TRUE(found);
}

// A quote is written escaped and a line break as a blank; the export goes on and names the
// entity and key it wrote otherwise; a quote reads back as it was.
TEST_F(MapWriterTest, QuoteOrLineBreakIsWrittenAndReportedNamingEntityAndKey) {
    struct Case {
        const char* key;
        const char* value;
        const char* line;     // as written
        const char* readKey;  // as read back
        const char* readBack; // value as read back
        const char* report;
    };
    const Case cases[] = {
        {"message", "say \"hi\"", "\"message\" \"say \\\"hi\\\"\"\n", "message", "say \"hi\"",
         "entity 1 (\"light\") key \"message\": quotes written as \\\" and line breaks as blanks in its "
         "value"},
        {"message", "two\nlines", "\"message\" \"two lines\"\n", "message", "two lines",
         "entity 1 (\"light\") key \"message\": quotes written as \\\" and line breaks as blanks in its "
         "value"},
        {"bad\"key", "x", "\"bad\\\"key\" \"x\"\n", "bad\"key", "x",
         "entity 1 (\"light\") key \"bad\\\"key\": quotes written as \\\" and line breaks as blanks in its "
         "name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        cImportedWorld world;
        ASSERT_EQ(
            Quake3_Import(files.write(QStringLiteral("in.map"), Quake3_Fixture("classic.map")), &world.world),
            1);
        EntityRecord* light = entityOfClass(&world.world, "light");
        EPair* pair = static_cast<EPair*>(Sys_Alloc(sizeof(EPair)));
        pair->key = Sys_StrDup(c.key);
        pair->value = Sys_StrDup(c.value);
        pair->next = light->epairs;
        light->epairs = pair;
        files.write(QStringLiteral("out.map"), "old");
        console.clear();
        EXPECT_EQ(Quake3_Export(files.path(QStringLiteral("out.map")), &world.world), 1);
        const QByteArray text = files.read(QStringLiteral("out.map"));
        EXPECT_TRUE(text.contains(c.line)) << text.toStdString();
        EXPECT_TRUE(console.contains(QLatin1String(c.report))) << console.lines.join('\n').toStdString();
        EXPECT_TRUE(console.contains(QStringLiteral("1 key(s) written otherwise than held")));
        cImportedWorld reread;
        ASSERT_EQ(Quake3_Import(files.path(QStringLiteral("out.map")), &reread.world), 1);
        const EntityRecord* back = entityOfClass(&reread.world, "light");
        ASSERT_NE(back, nullptr);
        const EPair* found = nullptr;
        for (const EPair* p = back->epairs; p; p = p->next)
            if (std::strcmp(p->key, c.readKey) == 0) found = p;
        ASSERT_NE(found, nullptr);
        EXPECT_STREQ(found->value, c.readBack);
    }
}

// Numbers keep every digit: plane points, origins and key numbers come back as the same floats,
// and a second export equals the first byte for byte.
TEST_F(MapWriterTest, NumbersKeepEveryDigit) {
    const QByteArray text = "{\n\"classname\" \"worldspawn\"\n{\n"
                            "( 0 0 64 ) ( 0 0 0 ) ( 0 64 0 ) a 0 0 0 1 1\n"
                            "( 1531.3333 64 0 ) ( 1531.3333 0 0 ) ( 1600.6667 0 64 ) a 0 0 0 1 1\n"
                            "( 64 0 0 ) ( 0 0 0 ) ( 0 0 64 ) a 0 0 0 1 1\n"
                            "( 0 64 64 ) ( 0 64 0 ) ( 64 64 0 ) a 0 0 0 1 1\n"
                            "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 ) a 0 0 0 1 1\n"
                            "( 64 0 64 ) ( 0 0 64 ) ( 0 64 64 ) a 0.125 -7.0625 12.5 0.33333334 1.1 0 0 0\n"
                            "}\n}\n"
                            "{\n\"classname\" \"light\"\n\"origin\" \"1216.687500 -1115 356.062500\"\n"
                            "\"light\" \"123456.75\"\n}\n"
                            "{\n\"classname\" \"info_null\"\n\"origin\" \"123456.75 0.1 -0.3\"\n}\n";
    ASSERT_EQ(Quake3_Import(files.write(QStringLiteral("in.map"), text), &built.world), 1);
    ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("a.map")), &built.world), 1);
    const QByteArray first = files.read(QStringLiteral("a.map"));
    EXPECT_TRUE(first.contains("\"origin\" \"1216.6875 -1115 356.0625\"")) << first.toStdString();
    EXPECT_TRUE(first.contains("\"origin\" \"123456.75 0.1 -0.3\"")) << first.toStdString();
    EXPECT_TRUE(first.contains("\"light\" \"123456.75\""));
    EXPECT_TRUE(first.contains("1531.3333 ") && first.contains("1600.6667 ")) << first.toStdString();
    EXPECT_TRUE(first.contains(" 0.33333334 1.1\n")) << first.toStdString();

    cImportedWorld again;
    ASSERT_EQ(Quake3_Import(files.path(QStringLiteral("a.map")), &again.world), 1);
    const FaceRecord* f = built.world.entities->firstBrush->firstFace;
    const FaceRecord* g = again.world.entities->firstBrush->firstFace;
    for (; f && g; f = f->next, g = g->next) {
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(f->normal[i], g->normal[i]);
        EXPECT_EQ(f->dist, g->dist);
        EXPECT_EQ(std::memcmp(&f->texInfo, &g->texInfo, offsetof(TextureInfo, alignment)), 0);
    }
    EXPECT_EQ(f, g);
    ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("b.map")), &again.world), 1);
    EXPECT_EQ(files.read(QStringLiteral("b.map")), first);
}

// A point entity writes its origin once, from the record, even when its pairs hold the key.
TEST_F(MapWriterTest, PointEntityWritesItsOriginOnce) {
    ASSERT_EQ(
        Quake3_Import(files.write(QStringLiteral("in.map"), Quake3_Fixture("classic.map")), &built.world), 1);
    EntityRecord* light = entityOfClass(&built.world, "light");
    EPair* pair = static_cast<EPair*>(Sys_Alloc(sizeof(EPair)));
    pair->key = Sys_StrDup("origin");
    pair->value = Sys_StrDup("1 2 3");
    pair->next = light->epairs;
    light->epairs = pair;
    ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("out.map")), &built.world), 1);
    const QByteArray text = files.read(QStringLiteral("out.map"));
    const int start = text.indexOf("\"classname\" \"light\"");
    const QByteArray block = text.mid(start, text.indexOf('}', start) - start);
    EXPECT_EQ(block.count("\"origin\""), 1);
    EXPECT_TRUE(block.contains("\"origin\" \"32 48 64\"\n"));
    // A face with value, flags and contents 0 has no trailing integers.
    EXPECT_TRUE(text.contains("base_wall/concrete [ 0 1 0 0 ] [ 0 0 -1 0 ] 0 0.5 0.5\n") ||
                text.contains(" 0.5 0.5\n"));
}

TEST_F(MapWriterTest, WriteErrorsAreReported) {
    ASSERT_EQ(
        Quake3_Import(files.write(QStringLiteral("in.map"), Quake3_Fixture("classic.map")), &built.world), 1);
    EXPECT_EQ(Quake3_Export(QStringLiteral("/dev/full"), &built.world), 0);
    EXPECT_TRUE(console.contains(QStringLiteral("can't write \"/dev/full\" (No space left on device)")));

    const QString inFile = files.write(QStringLiteral("file"), "x") + QStringLiteral("/out.map");
    EXPECT_EQ(Quake3_Export(inFile, &built.world), 0);
    EXPECT_TRUE(console.contains(QStringLiteral("can't write \"%1\" (Not a directory)").arg(inFile)));
}

} // namespace
