#include "document/ZmfFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "ConsoleCapture.h"
#include "core/System.h"
#include "document/MapWorld.h"
#include "document/VisGroup.h"
#include "document/WorldDump.h"
#include "gamedata/EntityClass.h"
#include "map/EPair.h"
#include "map/FaceOrder.h"
#include "map/FaceSource.h"
#include "map/MapBrush.h"
#include "map/MapCamera.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "map/MapPath.h"

namespace {

// ---- Hand-built files ---------------------------------------------------------------------------

// Little-endian fields appended in file order.
class cZmfBytes {
public:
    QByteArray data;
    cZmfBytes& raw(const void* p, qsizetype n) {
        data.append(static_cast<const char*>(p), n);
        return *this;
    }
    cZmfBytes& i32(int32_t v) { return raw(&v, 4); }
    cZmfBytes& f32(float v) { return raw(&v, 4); }
    cZmfBytes& vec(float x, float y, float z) { return f32(x).f32(y).f32(z); }
    cZmfBytes& str(const char* s) {
        if (!s) return i32(-1);
        i32(int32_t(std::strlen(s)));
        return raw(s, qsizetype(std::strlen(s)));
    }
    // 128 bytes, or the 124 of versions up to 117 (no sample size).
    cZmfBytes& texture(int32_t version, const TextureInfo& t) {
        const char* p = reinterpret_cast<const char*>(&t);
        if (version >= 118) return raw(p, 128);
        raw(p, 52);
        return raw(p + 56, 72);
    }
};

// What a fixture deviates by, to make broken files.
struct FixtureOptions {
    int32_t version = kZmfVersion;
    bool faultyScale = false;     // a 113 file of the faulty writer
    int32_t groupCount = -2;      // -2: the true count
    int32_t groupMembers = 2;     // the group's member count as written
    int32_t faceVertexCount = -2; // claimed vertex count of the first face
    int32_t patchColumns = 3;
    int32_t keyValueCount = -2; // of the world entity
    int32_t brushCount = -2;    // of the world entity
    std::vector<int32_t> visGroupIds = {3};
    bool firstFaceSource = false; // the first face carries a map-file source block (122 and later)
};

// The points of the fixture's source block: a float of many digits and a number past float
// precision.
constexpr double kSourcePoints[3][3] = {{-784.0010070801, 0, 64}, {0, 0, 64}, {0, 64, 63.9989929199}};

constexpr float kMarker = 4242.0f; // an unused grid place an old file still carries

TextureInfo fixtureTexture(const TextureInfo& axes) {
    TextureInfo t = axes;
    std::memset(t.name, 0, sizeof t.name);
    std::strcpy(t.name, "base/wall");
    t.value = 5;
    t.sampleSize = 16;
    t.surfaceFlags = 0x11;
    t.contents = 0x22;
    return t;
}

// The faces of a 64-unit cube made the way importers make them, so planes, windings and
// texture axes agree with what the reader recomputes.
struct CubeFaces {
    struct Face {
        float normal[3];
        float dist;
        int32_t type;
        TextureInfo tex;
        std::vector<FaceVertex> vertices;
    };
    std::vector<Face> faces;

    CubeFaces() {
        MapWorld w;
        Map_InitWorld(&w, nullptr);
        const float origin[3] = {0, 0, 0};
        EntityRecord* world = Entity_Create(Map_Handle(&w), "worldspawn", origin, EntityFlag::World);
        BrushRecord* brush = Brush_Create(Map_Handle(&w), world);
        const float planes[6][4] = {{0, 0, 1, 64}, {0, 0, -1, 0}, {1, 0, 0, 64},
                                    {-1, 0, 0, 0}, {0, 1, 0, 64}, {0, -1, 0, 0}};
        TextureInfo info{};
        info.sScale = info.tScale = 1.0f;
        for (const auto& p : planes) {
            FaceRecord* f = Face_Create(Map_Handle(&w), brush, &info, 0);
            std::memcpy(f->normal, p, 12);
            f->dist = p[3];
            f->axialType = Face_AxialType(f->normal);
            f->flags |= FaceFlags::ResetAxes;
        }
        brush->handle->update(0);
        for (const FaceRecord* f = brush->firstFace; f; f = f->next) {
            Face face{};
            std::memcpy(face.normal, f->normal, 12);
            face.dist = f->dist;
            face.type = f->axialType;
            face.tex = fixtureTexture(f->texInfo);
            face.vertices.assign(f->vertices, f->vertices + f->vertexCount);
            faces.push_back(face);
        }
        Map_DestroyWorld(&w);
    }
};

const CubeFaces& cube() {
    static const CubeFaces faces;
    return faces;
}

void keyNames(cZmfBytes& b, const FixtureOptions& o) {
    const int32_t v = o.version;
    b.str("spawnflags");
    if (v >= 113) b.str("org").str("angles");
    // The faulty writer's files are recognised by the default name itself.
    if (v >= 114) b.str("scl");
    if (v == 113 && o.faultyScale) b.str("scale");
    if (v >= 116) b.str("targetname").str("target");
    if (v >= 117) b.str("skyname");
    if (v >= 119) b.str("model").str("model").str("model").str("model").str("texture");
    if (v >= 121) b.str("scr");
}

void entityTail(cZmfBytes& b, const FixtureOptions& o) {
    b.i32(0).vec(0, 90, 0);                              // spawnflags, angles
    b.i32(0x100).i32(int32_t(0xff000000)).i32(0).i32(0); // render settings
    uint8_t extra[48] = {};
    const int16_t body = 3;
    const float radius = 77.0f;
    std::memcpy(extra, &body, 2);
    std::memcpy(extra + 16, &radius, 4);
    b.raw(extra, o.version >= 115 ? 48 : 16);
}

void solidBrush(cZmfBytes& b, const FixtureOptions& o) {
    if (o.version >= 112) b.i32(0);
    b.i32(0).i32(7).i32(7).i32(int32_t(0xff405060));
    b.i32(1).i32(o.visGroupIds.front());
    b.i32(int32_t(cube().faces.size()));
    bool first = true;
    for (const CubeFaces::Face& f : cube().faces) {
        const int32_t claimed =
            first && o.faceVertexCount != -2 ? o.faceVertexCount : int32_t(f.vertices.size());
        first = false;
        b.i32(0).i32(claimed).texture(o.version, f.tex);
        b.vec(f.normal[0], f.normal[1], f.normal[2]).f32(f.dist).i32(f.type);
        b.raw(f.vertices.data(), qsizetype(f.vertices.size() * sizeof(FaceVertex)));
        if (o.version >= 122 && o.firstFaceSource && &f == &cube().faces.front()) {
            b.i32(1);
            for (const auto& point : kSourcePoints)
                for (double v : point)
                    if (o.version >= 123)
                        b.raw(&v, 8);
                    else
                        b.f32(float(v));
            b.vec(1, 0, 0).vec(0, 1, 0).i32(int32_t(FaceSourceFlags::Points)).i32(0).i32(0);
        } else if (o.version >= 122) {
            b.i32(0); // no map-file source
        }
        if (o.version >= 123) b.i32(int32_t(&f - &cube().faces.front()) + 1); // place in map files
    }
    if (o.version >= 123) b.i32(0); // no kept faces
}

void patchBrush(cZmfBytes& b, const FixtureOptions& o) {
    b.i32(1).i32(0).i32(0).i32(0).i32(int32_t(0xff112233)).i32(0).i32(0);
    if (o.version >= 123) b.i32(0); // no kept faces
    b.i32(o.patchColumns).i32(3).texture(o.version, cube().faces.front().tex).i32(0);
    const int lines = o.version >= 120 ? 32 : 16;
    for (int c = 0; c < lines; ++c)
        for (int r = 0; r < lines; ++r) {
            PatchPoint p{};
            if (c < 3 && r < 3) {
                p.xyz[0] = float(c * 32);
                p.xyz[1] = float(r * 32);
                p.s = float(c) * 0.5f;
                p.t = float(r) * 0.5f;
            }
            if (c == 15 && r == 15) p.xyz[0] = kMarker;
            b.raw(&p, sizeof p);
        }
}

void overlayBrush(cZmfBytes& b, const FixtureOptions& o) {
    b.i32(2).i32(0).i32(0).i32(0).i32(int32_t(0xff445566)).i32(0).i32(0);
    if (o.version >= 123) b.i32(0); // no kept faces
    b.texture(o.version, cube().faces.front().tex).i32(0);
    b.vec(0, 0, 1).f32(64).i32(2);
    const float corners[4][2] = {{0, 0}, {16, 0}, {16, 16}, {0, 16}};
    for (const auto& c : corners)
        b.vec(c[0], c[1], 64).f32(c[0] / 16).f32(c[1] / 16).f32(0);
}

QByteArray fixture(const FixtureOptions& o) {
    cZmfBytes b;
    b.raw("ZQMF", 4).i32(o.version);
    if (o.version >= 114) b.i32(1).str("maps/out.map");
    // One group holding the world brush and the player start.
    b.i32(o.groupCount != -2 ? o.groupCount : 1);
    b.i32(7).i32(0).i32(0).i32(o.groupMembers).i32(int32_t(0xff102030));
    b.i32(int32_t(o.visGroupIds.size()));
    for (int32_t id : o.visGroupIds) {
        const uint8_t color[4] = {10, 20, 30, 255};
        b.str("walls").i32(id).raw(color, 4).raw("\x01", 1);
    }
    b.vec(-64, -64, -64).vec(64, 64, 64);
    b.i32(1).vec(0, 0, 0).vec(100, 0, 0).i32(2).i32(int32_t(0xff0000ff));
    // A path of two nodes: the first with a null name and an empty message.
    b.i32(1).str("path_corner").str("route").i32(1).i32(0).i32(int32_t(0xffdc1edc)).i32(2);
    b.str(nullptr)
        .str("")
        .vec(0, 0, 0)
        .vec(0, 90, 0)
        .i32(0)
        .i32(int32_t(0xffdc1edc))
        .i32(1)
        .str("speed")
        .str("100");
    b.str("stop").str("hello").vec(64, 0, 0).vec(0, 0, 0).i32(0).i32(int32_t(0xffdc1edc)).i32(0);

    b.str("worldspawn").vec(0, 0, 0).i32(int32_t(EntityFlag::World)).i32(7).i32(7).i32(int32_t(0xffffffff));
    keyNames(b, o);
    entityTail(b, o);
    b.i32(o.keyValueCount != -2 ? o.keyValueCount : 2)
        .str("message")
        .str("test map")
        .str(nullptr)
        .str("dropped");
    b.i32(1).i32(o.visGroupIds.front());
    const bool curved = o.version >= 112;
    b.i32(o.brushCount != -2 ? o.brushCount : (curved ? 3 : 1));
    solidBrush(b, o);
    if (curved) {
        patchBrush(b, o);
        overlayBrush(b, o);
    }
    if (o.version >= 124) b.i32(0); // no kept brushes

    b.str("info_player_start").vec(32, 32, 24).i32(int32_t(EntityFlag::Point)).i32(7).i32(7).i32(0);
    keyNames(b, o);
    entityTail(b, o);
    b.i32(1).str("org").str("32 32 24").i32(0).i32(0);
    if (o.version >= 124) b.i32(0); // no kept brushes
    return b.data;
}

// ---- Fixture -------------------------------------------------------------------------------------

class ZmfFileTest : public ::testing::Test {
protected:
    ZmfFileTest() { Map_InitWorld(&world, nullptr); }
    ~ZmfFileTest() override { Map_DestroyWorld(&world); }

    QString save(const QByteArray& bytes, const char* name = "fixture.zmf") {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QByteArray load(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool read(const QByteArray& bytes, MapWorld* into = nullptr) {
        ProjectSerializer s;
        s.map = Map_Handle(into ? into : &world);
        s.path = save(bytes);
        s.askBugFix = [this](const QString&) {
            ++questions;
            return answer;
        };
        const bool ok = Project_ReadFile(s);
        exportPath = s.exportPath;
        return ok;
    }

    QTemporaryDir dir;
    cConsoleCapture console;
    MapWorld world;
    int questions = 0;
    bool answer = true;
    QString exportPath;
};

EntityRecord* secondEntity(MapWorld* w) {
    return w->entities ? w->entities->next : nullptr;
}

// ---- Versions ------------------------------------------------------------------------------------

struct VersionCase {
    int32_t version;
    bool faultyScale;
};

class ZmfVersionTest : public ZmfFileTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(ZmfVersionTest, HandBuiltFileLoads) {
    const VersionCase c = GetParam();
    FixtureOptions o;
    o.version = c.version;
    o.faultyScale = c.faultyScale;
    ASSERT_TRUE(read(fixture(o)));
    EXPECT_EQ(questions, c.faultyScale ? 1 : 0) << "asked once per file, only for the faulty writer";

    // Groups keep their serials; visgroups are renumbered from 1.
    ASSERT_NE(world.groups, nullptr);
    EXPECT_EQ(world.groups->serial, 7);
    EXPECT_EQ(world.groups->memberCount, 2);
    EXPECT_EQ(world.serials[int(SerialKind::Group)], 7);
    ASSERT_EQ(world.visGroups->size(), 1u);
    EXPECT_EQ(world.visGroups->begin()->first, 1);
    EXPECT_EQ(world.visGroups->begin()->second->memberCount, 2);

    ASSERT_NE(world.cameras, nullptr);
    EXPECT_EQ(world.currentCamera, world.cameras);

    ASSERT_NE(world.paths, nullptr);
    const NodeRecord* first = world.paths->firstNode;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->name, nullptr);
    ASSERT_NE(first->message, nullptr);
    EXPECT_STREQ(first->message, "");
    ASSERT_NE(first->next, nullptr);
    EXPECT_STREQ(first->next->name, "stop");
    EXPECT_EQ(first->next->number, 2);

    EntityRecord* worldspawn = world.entities;
    ASSERT_NE(worldspawn, nullptr);
    EXPECT_STREQ(worldspawn->classname, "worldspawn");
    EXPECT_EQ(worldspawn->group, world.groups);
    EXPECT_STREQ(worldspawn->handle->keyName(KEY_ORIGIN), c.version >= 113 ? "org" : "origin");
    EXPECT_STREQ(worldspawn->handle->keyName(KEY_SCALE), c.version >= 114 ? "scl" : "scale");
    EXPECT_STREQ(worldspawn->handle->keyName(KEY_SCRIPT), c.version >= 121 ? "scr" : "script");
    EXPECT_EQ(worldspawn->body, 3);
    EXPECT_EQ(worldspawn->radius, c.version >= 115 ? 77.0f : 0.0f) << "old files hold 16 bytes of the block";
    // The pair with a null key is dropped.
    ASSERT_NE(worldspawn->epairs, nullptr);
    EXPECT_STREQ(worldspawn->epairs->key, "message");
    EXPECT_EQ(worldspawn->epairs->next, nullptr);
    EXPECT_EQ(exportPath, c.version >= 114 ? QStringLiteral("maps/out.map") : QString());

    // Texture blocks widened before 118: the fields after the value move up past the sample size.
    const BrushRecord* solid = worldspawn->firstBrush;
    ASSERT_NE(solid, nullptr);
    EXPECT_EQ(solid->group, world.groups);
    const TextureInfo& t = solid->firstFace->texInfo;
    EXPECT_EQ(t.value, 5);
    EXPECT_EQ(t.sampleSize, c.version >= 118 ? 16 : 0);
    EXPECT_EQ(t.surfaceFlags, 0x11);
    EXPECT_EQ(t.contents, 0x22);
    EXPECT_STREQ(t.name, "base/wall");

    if (c.version >= 112) {
        const BrushRecord* patchBrush = solid->next;
        ASSERT_NE(patchBrush, nullptr);
        ASSERT_NE(patchBrush->patch, nullptr);
        EXPECT_EQ(patchBrush->patch->points[2][1].xyz[0], 64.0f);
        EXPECT_EQ(patchBrush->patch->points[2][1].xyz[1], 32.0f);
        EXPECT_EQ(patchBrush->patch->points[2][1].s, 1.0f);
        // An old 16 x 16 grid lies in the first 16 places of the first 16 columns.
        EXPECT_EQ(patchBrush->patch->points[15][15].xyz[0], kMarker);
        ASSERT_NE(patchBrush->next, nullptr);
        ASSERT_NE(patchBrush->next->overlay, nullptr);
        EXPECT_EQ(patchBrush->next->overlay->corners[2].xyz[0], 16.0f);
    }

    EntityRecord* start = secondEntity(&world);
    ASSERT_NE(start, nullptr);
    EXPECT_STREQ(start->classname, "info_player_start");
    EXPECT_EQ(start->outerGroup, world.groups);
}

INSTANTIATE_TEST_SUITE_P(Versions, ZmfVersionTest,
                         ::testing::Values(VersionCase{111, false}, VersionCase{113, false},
                                           VersionCase{113, true}, VersionCase{117, false},
                                           VersionCase{119, false}, VersionCase{121, false},
                                           VersionCase{122, false}),
                         [](const auto& info) {
                             return "v" + std::to_string(info.param.version) +
                                    (info.param.faultyScale ? "_with_scale" : "");
                         });

// A source block of 122 holds float points; from 123 on they are doubles, and every face has its
// place in map files.
TEST_F(ZmfFileTest, SourcePointsAndFacePlacesComeBackAsWritten) {
    for (int32_t version : {122, 123}) {
        SCOPED_TRACE(version);
        Map_ClearWorld(&world);
        FixtureOptions o;
        o.version = version;
        o.firstFaceSource = true;
        ASSERT_TRUE(read(fixture(o)));
        const BrushRecord* brush = world.entities->firstBrush;
        ASSERT_NE(brush, nullptr);
        const FaceRecord* withSource = nullptr;
        std::vector<int32_t> places;
        for (const FaceRecord* f = brush->firstFace; f; f = f->next) {
            if (f->source) withSource = f;
            places.push_back(f->fileOrder);
        }
        ASSERT_NE(withSource, nullptr);
        EXPECT_EQ(withSource->source->flags, FaceSourceFlags::Points);
        for (int i = 0; i < 3; ++i)
            for (int a = 0; a < 3; ++a)
                EXPECT_EQ(withSource->source->points[i][a],
                          version >= 123 ? kSourcePoints[i][a] : double(float(kSourcePoints[i][a])));
        std::sort(places.begin(), places.end());
        const std::vector<int32_t> expected =
            version >= 123 ? std::vector<int32_t>{1, 2, 3, 4, 5, 6} : std::vector<int32_t>(6, 0);
        EXPECT_EQ(places, expected);
        if (version < 123) continue;

        // Written and read again: the same points and places.
        const QString path = dir.filePath(QStringLiteral("again.zmf"));
        ASSERT_TRUE(Project_WriteWorld(&world, path));
        MapWorld again;
        Map_InitWorld(&again, nullptr);
        ASSERT_TRUE(read(load(path), &again));
        // Compared in file order: every load sorts the face list, and faces that tie swap places.
        const std::vector<FaceRecord*> before = Brush_FacesInFileOrder(brush);
        const std::vector<FaceRecord*> after = Brush_FacesInFileOrder(again.entities->firstBrush);
        ASSERT_EQ(after.size(), before.size());
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i]->fileOrder, before[i]->fileOrder);
            ASSERT_EQ(!after[i]->source, !before[i]->source);
            if (after[i]->source)
                EXPECT_EQ(std::memcmp(after[i]->source->points, before[i]->source->points,
                                      sizeof after[i]->source->points),
                          0);
        }
        Map_DestroyWorld(&again);
    }
}

// ---- Round trips ---------------------------------------------------------------------------------

// Every load sorts each brush's faces, and faces that tie in the sort (a cube's opposite sides)
// swap places each time; apart from that the bytes come back as written.
TEST_F(ZmfFileTest, WriteReadWriteKeepsTheWorldAndTheBytes) {
    for (int32_t version : {111, 117, 121}) {
        SCOPED_TRACE(version);
        FixtureOptions o;
        o.version = version;
        ASSERT_TRUE(read(fixture(o)));
        const QByteArray dump = Map_DumpWorld(&world);
        QByteArray files[3];
        MapWorld* source = &world;
        MapWorld copies[2];
        for (int pass = 0; pass < 3; ++pass) {
            const QString path = dir.filePath(QStringLiteral("pass%1.zmf").arg(pass));
            ASSERT_TRUE(Project_WriteWorld(source, path, exportPath));
            files[pass] = load(path);
            if (pass == 2) break;
            Map_InitWorld(&copies[pass], nullptr);
            ASSERT_TRUE(read(files[pass], &copies[pass]));
            EXPECT_EQ(Map_DumpWorld(&copies[pass]).toStdString(), dump.toStdString());
            source = &copies[pass];
        }
        EXPECT_EQ(files[1].size(), files[0].size());
        EXPECT_EQ(files[2], files[0]);
        Map_DestroyWorld(&copies[0]);
        Map_DestroyWorld(&copies[1]);
    }
}

TEST_F(ZmfFileTest, CountedStringsKeepNullApartFromEmpty) {
    ProjectSerializer out;
    out.writing = 1;
    ASSERT_TRUE(Project_WriteString(out, nullptr));
    ASSERT_TRUE(Project_WriteString(out, ""));
    ASSERT_TRUE(Project_WriteString(out, "ab"));
    EXPECT_EQ(out.buffer, QByteArray("\xff\xff\xff\xff\0\0\0\0\2\0\0\0ab", 14));

    ProjectSerializer in;
    in.buffer = out.buffer;
    char* text = nullptr;
    ASSERT_TRUE(Project_ReadString(in, &text));
    EXPECT_EQ(text, nullptr);
    ASSERT_TRUE(Project_ReadString(in, &text));
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    Sys_Free(text);
    ASSERT_TRUE(Project_ReadString(in, &text));
    EXPECT_STREQ(text, "ab");
    Sys_Free(text);
    EXPECT_FALSE(Project_ReadString(in, &text)) << "nothing left";
}

TEST_F(ZmfFileTest, MemberlessGroupsAndEmptyPathsAreNotWritten) {
    ASSERT_TRUE(read(fixture({})));
    Group_Create(Map_Handle(&world));
    Path_Create(Map_Handle(&world));
    console.clear();
    const QString path = dir.filePath(QStringLiteral("out.zmf"));
    ASSERT_TRUE(Project_WriteWorld(&world, path));
    EXPECT_TRUE(console.contains(QStringLiteral("1 empty group(s) ignored")));

    MapWorld again;
    Map_InitWorld(&again, nullptr);
    ASSERT_TRUE(read(load(path), &again));
    int groups = 0, paths = 0;
    for (const GroupRecord* g = again.groups; g; g = g->next)
        ++groups;
    for (const PathRecord* p = again.paths; p; p = p->next)
        ++paths;
    EXPECT_EQ(groups, 1);
    EXPECT_EQ(paths, 1);
    Map_DestroyWorld(&again);
}

TEST_F(ZmfFileTest, ChildGroupIsWrittenOnceAfterItsParent) {
    ASSERT_TRUE(read(fixture({})));
    // The group list is newest first, so the child comes before its parent in world order.
    GroupRecord* parent = Group_Create(Map_Handle(&world));
    GroupRecord* child = Group_Create(Map_Handle(&world));
    child->parent = parent;
    child->memberCount = 1;
    parent->memberCount = 1;
    const QString path = dir.filePath(QStringLiteral("out.zmf"));
    ASSERT_TRUE(Project_WriteWorld(&world, path));

    // No export path: the group count follows the magic, the version and the export flag.
    const QByteArray bytes = load(path);
    int32_t count;
    std::memcpy(&count, bytes.constData() + 12, 4);
    ASSERT_EQ(count, 3);
    std::vector<int32_t> serials;
    for (int i = 0; i < count; ++i) {
        int32_t serial;
        std::memcpy(&serial, bytes.constData() + 16 + 20 * i, 4);
        serials.push_back(serial);
    }
    const auto at = [&](int32_t serial) { return std::find(serials.begin(), serials.end(), serial); };
    ASSERT_NE(at(parent->serial), serials.end());
    ASSERT_NE(at(child->serial), serials.end());
    EXPECT_LT(at(parent->serial), at(child->serial));
}

TEST_F(ZmfFileTest, SelectedObjectsComeBackSelected) {
    ASSERT_TRUE(read(fixture({})));
    EntityRecord* start = secondEntity(&world);
    Map_SelectObject(&world, start);
    Map_SelectObject(&world, world.entities->firstBrush);
    Map_SelectObject(&world, world.groups);
    const QString path = dir.filePath(QStringLiteral("out.zmf"));
    ASSERT_TRUE(Project_WriteWorld(&world, path));

    MapWorld again;
    Map_InitWorld(&again, nullptr);
    ASSERT_TRUE(read(load(path), &again));
    ASSERT_NE(again.selectedEntities, nullptr);
    EXPECT_STREQ(again.selectedEntities->classname, "info_player_start");
    EXPECT_EQ(again.selectedBrushes, again.entities->firstBrush);
    EXPECT_EQ(again.selectedGroups, again.groups);
    EXPECT_EQ(Map_DumpWorld(&again).toStdString(), Map_DumpWorld(&world).toStdString());
    Map_DestroyWorld(&again);
}

TEST_F(ZmfFileTest, PlainVersion113IsNotAskedAbout) {
    FixtureOptions o;
    o.version = 113;
    ASSERT_TRUE(read(fixture(o)));
    EXPECT_EQ(questions, 0);
}

// A count too low would free the group with its first member deleted while the other still named
// it; one too high would keep it alive without members.
TEST_F(ZmfFileTest, GroupMemberCountsComeFromTheLinksRead) {
    for (int32_t written : {0, 1, 5}) {
        SCOPED_TRACE(written);
        FixtureOptions o;
        o.groupMembers = written;
        console.clear();
        ASSERT_TRUE(read(fixture(o)));
        ASSERT_NE(world.groups, nullptr);
        EXPECT_EQ(world.groups->memberCount, 2);
        // The warning names the file.
        EXPECT_TRUE(console.contains(QStringLiteral("%1: group 7: member count %2 corrected to 2")
                                         .arg(dir.filePath("fixture.zmf"))
                                         .arg(written)));

        Map_DeleteBrush(&world, world.entities->firstBrush, false);
        ASSERT_NE(world.groups, nullptr) << "the player start still names the group";
        EXPECT_EQ(secondEntity(&world)->group, world.groups);
        EXPECT_EQ(world.groups->memberCount, 1);
    }
}

// Plugins write patch records directly: a count the reader would refuse must not make the
// saved map unloadable.
TEST_F(ZmfFileTest, BadPatchCountsAreSavedNormalised) {
    struct CountCase {
        int32_t columns, rows;
        int32_t savedColumns, savedRows;
    };
    const CountCase cases[] = {{40, 3, 31, 3}, {3, 1, 3, 3}, {4, 6, 5, 7}, {-7, 33, 3, 31}};
    for (const CountCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.columns << " x " << c.rows);
        ASSERT_TRUE(read(fixture({})));
        PatchRecord* patch = world.entities->firstBrush->next->patch;
        ASSERT_NE(patch, nullptr);
        patch->columns = c.columns;
        patch->rows = c.rows;
        console.clear();
        const QString path = dir.filePath(QStringLiteral("patch.zmf"));
        ASSERT_TRUE(Project_WriteWorld(&world, path));
        EXPECT_TRUE(
            console.contains(QStringLiteral("patch of brush 1 of entity 0 has a bad size %1 x %2: saved as "
                                            "%3 x %4")
                                 .arg(c.columns)
                                 .arg(c.rows)
                                 .arg(c.savedColumns)
                                 .arg(c.savedRows)))
            << console.lines.join('\n').toStdString();

        MapWorld again;
        Map_InitWorld(&again, nullptr);
        ASSERT_TRUE(read(load(path), &again));
        const PatchRecord* loaded = again.entities->firstBrush->next->patch;
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->columns, c.savedColumns);
        EXPECT_EQ(loaded->rows, c.savedRows);
        EXPECT_EQ(loaded->points[2][1].xyz[0], 64.0f) << "the grid is kept";
        Map_DestroyWorld(&again);
    }
}

// ---- Bad files -----------------------------------------------------------------------------------

struct BadFileCase {
    const char* name;
    QByteArray (*make)();
    const char* message;
};

FixtureOptions with(void (*change)(FixtureOptions&)) {
    FixtureOptions o;
    change(o);
    return o;
}

const BadFileCase kBadFiles[] = {
    {"HeaderOnly", [] { return QByteArray("ZQMF\x79\0\0\0", 8); }, "the file is corrupt"},
    {"NoEntity", [] { return fixture({}).left(fixture({}).indexOf("worldspawn") - 4); },
     "the file is corrupt"},
    {"BadMagic", [] { return QByteArray("ZQMX").append(fixture({}).mid(4)); }, "bad file header"},
    {"OldVersion",
     [] {
         QByteArray b = fixture({});
         b[4] = char(110);
         return b;
     },
     "bad file version (110 should be 111 or higher)"},
    {"TruncatedInLastEntity", [] { return fixture({}).chopped(3); }, "the file is corrupt"},
    {"TruncatedInFirstEntity", [] { return fixture({}).left(fixture({}).indexOf("worldspawn") + 40); },
     "the file is corrupt"},
    {"TruncatedInGroups", [] { return fixture({}).left(30); }, "the file is corrupt"},
    {"NegativeGroupCount", [] { return fixture(with([](FixtureOptions& o) { o.groupCount = -1; })); },
     "bad group count -1"},
    {"FaceVertexCountOver128",
     [] { return fixture(with([](FixtureOptions& o) { o.faceVertexCount = 129; })); },
     "bad face vertex count 129"},
    {"PatchTooWide", [] { return fixture(with([](FixtureOptions& o) { o.patchColumns = 33; })); },
     "bad patch size 33 x 3"},
    {"OldPatchWiderThanItsGrid",
     [] {
         return fixture(with([](FixtureOptions& o) {
             o.version = 119;
             o.patchColumns = 17;
         }));
     },
     "bad patch size 17 x 3"},
    {"TooManyKeyValues", [] { return fixture(with([](FixtureOptions& o) { o.keyValueCount = 32001; })); },
     "bad key/value count 32001"},
    {"BrushCountBeyondTheFile",
     [] { return fixture(with([](FixtureOptions& o) { o.brushCount = 1 << 30; })); },
     "bad brush count 1073741824"},
    {"DuplicateVisGroupIds", [] { return fixture(with([](FixtureOptions& o) {
                                      o.visGroupIds = {3, 3};
                                  })); },
     "duplicate visgroup id 3"},
};

class ZmfBadFileTest : public ZmfFileTest, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(ZmfBadFileTest, FailsWithItsMessageAndLeavesTheWorld) {
    ASSERT_TRUE(read(fixture({})));
    const QByteArray before = Map_DumpWorld(&world, WorldDumpFlag::Serials);
    const int32_t highestId = world.highestId;
    console.clear();

    EXPECT_FALSE(read(GetParam().make()));
    EXPECT_TRUE(console.contains(QString::fromLatin1(GetParam().message)))
        << console.lines.join('\n').toStdString();
    EXPECT_EQ(Map_DumpWorld(&world, WorldDumpFlag::Serials).toStdString(), before.toStdString());
    EXPECT_EQ(world.highestId, highestId);
}

INSTANTIATE_TEST_SUITE_P(Files, ZmfBadFileTest, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ZmfFileTest, MissingFileAndUnwritableTargetAreReported) {
    ProjectSerializer s;
    s.map = Map_Handle(&world);
    s.path = dir.filePath(QStringLiteral("\u043a\u0430\u0440\u0442\u0430.zmf")); // Cyrillic name
    EXPECT_FALSE(Project_ReadFile(s));
    EXPECT_TRUE(console.contains(QStringLiteral("Loading: \"%1\"").arg(s.path)));
    EXPECT_TRUE(console.contains(QStringLiteral("can't read \"%1\"").arg(s.path)));

    // A refused header write is the writer's failure, not a bad header.
    ProjectSerializer out;
    out.writing = 1;
    out.writeFailed = true;
    console.clear();
    EXPECT_FALSE(Project_SerializeHeader(out));
    EXPECT_FALSE(console.contains(QStringLiteral("bad file header")));

    ASSERT_TRUE(read(fixture({})));
    const QString target = dir.filePath(QStringLiteral("no/such/folder/out.zmf"));
    EXPECT_FALSE(Project_WriteWorld(&world, target));
    EXPECT_TRUE(console.contains(QStringLiteral("can't write \"%1\"").arg(target)));
    EXPECT_FALSE(QFile::exists(target));
}

} // namespace
