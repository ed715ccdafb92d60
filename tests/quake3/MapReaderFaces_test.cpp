// Faces as the reader builds them: a face thinner than the clip tolerance keeps its brush
// closed, brushes that cannot be built are reported by entity and brush number and keep their
// planes, classic texture lines get the axes the game's compiler gives them, and brush-primitive matrices
// are converted with the texture's size.
#include <cstring>
#include <gtest/gtest.h>

#include "Quake3Fixture.h"
#include "gamedata/TextureLists.h"
#include "document/WorldRefresh.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TextureRecords.h"
#include "map/FaceSource.h"

namespace {

// The thin wedge of a real map: its face on x = 1720 comes out 0.009 units wide.
const QByteArray kThinWedge =
    "{\n\"classname\" \"worldspawn\"\n{\n"
    "( 1720 2790.125 64 ) ( 1720 2790.125 56 ) ( 1720 1465.25 56 ) base_wall/concrete "
    "0 0 0 0.5 0.5 0 0 0\n"
    "( 432 1457.25 56 ) ( 1968 1457.25 56 ) ( 432 4537.25 56 ) base_wall/concrete 0 0 "
    "0 0.5 0.5 0 0 0\n"
    "( 432 4537.25 64 ) ( 1968 1457.25 64 ) ( 432 1457.25 64 ) base_wall/concrete 0 0 "
    "0 0.5 0.5 0 0 0\n"
    "( 1524 2899.25 64 ) ( 1524 2899.25 56 ) ( 1716 2784.125 64 ) base_wall/concrete 0 "
    "0 0 0.5 0.5 0 0 0\n"
    "( 1657.75 2819.125 64 ) ( 1768 2752.875 64 ) ( 1768 2752.875 56 ) "
    "base_wall/concrete 0 0 0 0.5 0.5 0 0 0\n"
    "}\n}\n";

int faceCount(const BrushRecord* brush) {
    int n = 0;
    for (const FaceRecord* f = brush->firstFace; f; f = f->next)
        ++n;
    return n;
}

// Current texture lists that know one texture of the given size (nothing else is set up).
class cKnownTexture {
public:
    cKnownTexture(const char* name, int32_t width, int32_t height) {
        std::strncpy(shader.name, name, sizeof shader.name - 1);
        shader.width = width;
        shader.height = height;
        lists.entries.insert(QString::fromLatin1(name).toUpper(),
                             TextureListEntry{QString(), nullptr, &shader});
        config.Title = QStringLiteral("known texture");
        GameConfigManager& m = g_mainWindow->gameConfigs;
        m.current = &config;
        m.currentTextureLists = &lists;
    }
    ~cKnownTexture() {
        GameConfigManager& m = g_mainWindow->gameConfigs;
        m.current = nullptr;
        m.currentTextureLists = nullptr;
    }
    ShaderRecord shader;

private:
    GameConfig config;
    TextureLists lists;
};

class MapReaderFacesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Quake3().loaded); }
    int32_t import(const QByteArray& text) {
        return Quake3_Import(files.write(QStringLiteral("in.map"), text), &imported.world);
    }
    cConsoleCapture console;
    cQuake3Files files;
    cImportedWorld imported;
};

TEST_F(MapReaderFacesTest, ThinFaceKeepsItsBrushClosed) {
    ASSERT_EQ(import(kThinWedge), 1);
    const BrushRecord* brush = imported.world.entities->firstBrush;
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(faceCount(brush), 5);
    // The wedge runs from x 1713.7 to 1720 between y 2781.7 and 2785.5.
    EXPECT_GT(brush->mins[0], 1713.0f);
    EXPECT_LE(brush->maxs[0], 1720.0f);
    EXPECT_GT(brush->mins[1], 2781.0f);
    EXPECT_LT(brush->maxs[1], 2786.0f);
    EXPECT_TRUE(console.lines.filter(QStringLiteral("brush 0")).isEmpty())
        << console.lines.join('\n').toStdString();

    // Written back with the file's points, it reads back as the same five faces.
    ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("out.map")), &imported.world), 1);
    const QByteArray text = files.read(QStringLiteral("out.map"));
    EXPECT_TRUE(text.contains("( 1524 2899.25 64 ) ( 1524 2899.25 56 ) ( 1716 2784.125 64 )"))
        << text.toStdString();
    cImportedWorld again;
    ASSERT_EQ(Quake3_Import(files.path(QStringLiteral("out.map")), &again.world), 1);
    EXPECT_EQ(faceCount(again.world.entities->firstBrush), 5);
}

// A brush whose planes leave it open, or enclose nothing, is named by entity and brush number;
// one that encloses nothing is not built (its face lines are kept by its entity).
TEST_F(MapReaderFacesTest, UnbuildableBrushesAreReportedByEntityAndBrush) {
    const QByteArray box = "{\n( 0 0 64 ) ( 0 0 0 ) ( 0 64 0 ) a 0 0 0 1 1\n"
                           "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) a 0 0 0 1 1\n"
                           "( 64 0 0 ) ( 0 0 0 ) ( 0 0 64 ) a 0 0 0 1 1\n"
                           "( 0 64 64 ) ( 0 64 0 ) ( 64 64 0 ) a 0 0 0 1 1\n"
                           "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 ) a 0 0 0 1 1\n";
    const QByteArray top = "( 64 0 64 ) ( 0 0 64 ) ( 0 64 64 ) a 0 0 0 1 1\n";
    const QByteArray below = "( 64 0 -8 ) ( 0 0 -8 ) ( 0 64 -8 ) a 0 0 0 1 1\n"; // a top under the floor
    const QByteArray text = "{\n\"classname\" \"worldspawn\"\n" + box + top + "}\n" + box + "}\n}\n" +
                            "{\n\"classname\" \"func_group\"\n" + box + top + "}\n" + box + below + "}\n}\n";
    ASSERT_EQ(import(text), 1);
    EXPECT_TRUE(
        console.contains(QStringLiteral("entity 0, brush 1: its planes do not close it; kept as read")))
        << console.lines.join('\n').toStdString();
    EXPECT_TRUE(console.contains(
        QStringLiteral("entity 1, brush 1: its 6 planes enclose no space; kept to be written back")))
        << console.lines.join('\n').toStdString();
    EXPECT_TRUE(console.lines.filter(QStringLiteral("brush 0")).isEmpty());
    EXPECT_EQ(Quake3_Count(&imported.world), (WorldCounts{2, 3, 17, 0}));
    // The open brush keeps all five planes and writes them back.
    EXPECT_EQ(faceCount(imported.world.entities->firstBrush->next), 5);
    ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("out.map")), &imported.world), 1);
    console.clear();
    cImportedWorld again;
    ASSERT_EQ(Quake3_Import(files.path(QStringLiteral("out.map")), &again.world), 1);
    EXPECT_EQ(faceCount(again.world.entities->firstBrush->next), 5);
    EXPECT_TRUE(console.contains(QStringLiteral("entity 0, brush 1: its planes do not close it")));
}

// The axes of a classic line follow the game's compiler: the side the face's plane faces most, a
// nearer side than the floor or ceiling winning only by more than the compiler's margin, turned by
// the line's rotation; a face whose plane the compiler merges with one read before takes that
// plane's axes. The expectations are what the compiler made of these brushes.
TEST_F(MapReaderFacesTest, ClassicAxesAreTheCompilersOnEitherSideOf45Degrees) {
    constexpr float kFloor[2][3] = {{1, 0, 0}, {0, -1, 0}};
    constexpr float kWall[2][3] = {{0, 1, 0}, {0, 0, -1}};
    constexpr float kFloorTurned90[2][3] = {{0, 1, 0}, {1, 0, 0}};
    struct Case {
        const char* name;
        const char* roof; // through (64, y, 0) and (0, 0, h)
        float rotation;
        const float (*axes)[3];
        const char* earlier = nullptr; // the roof of a brush read before
    } cases[] = {
        {"exactly 45 degrees", "( 64 64 0 ) ( 64 0 0 ) ( 0 0 64 )", 0, kFloor},
        {"a hair towards the floor", "( 64 64 0 ) ( 64 0 0 ) ( 0 0 63.99 )", 0, kFloor},
        {"a hair towards the wall, within the margin", "( 64 64 0 ) ( 64 0 0 ) ( 0 0 64.001 )", 0, kFloor},
        {"towards the wall, just within the margin", "( 64 64 0 ) ( 64 0 0 ) ( 0 0 64.008 )", 0, kFloor},
        {"towards the wall, just beyond the margin", "( 64 64 0 ) ( 64 0 0 ) ( 0 0 64.0095 )", 0, kWall},
        {"towards the wall, beyond the margin", "( 64 64 0 ) ( 64 0 0 ) ( 0 0 64.01 )", 0, kWall},
        {"within the margin, on a wall plane read before", "( 64 64 0 ) ( 64 0 0 ) ( 0 0 64.008 )", 0, kWall,
         "( 64 64 0 ) ( 64 0 0 ) ( 0 0 64.0095 )"},
        {"beyond the margin, on a floor plane read before", "( 64 64 0 ) ( 64 0 0 ) ( 0 0 64.0095 )", 0,
         kFloor, "( 64 64 0 ) ( 64 0 0 ) ( 0 0 64.008 )"},
        {"beyond the margin, a plane read before too far off", "( 64 64 0 ) ( 64 0 0 ) ( 0 0 64.02 )", 0,
         kWall, "( 64 64 0 ) ( 64 0 0 ) ( 0 0 64.008 )"},
        {"exactly 45 degrees, turned 90", "( 64 64 0 ) ( 64 0 0 ) ( 0 0 64 )", 90, kFloorTurned90},
    };
    auto brush = [](const char* roof, const char* name) {
        return "{\n( 0 0 64 ) ( 0 0 0 ) ( 0 64 0 ) a 0 0 0 1 1\n"
               "( 64 0 0 ) ( 0 0 0 ) ( 0 0 64 ) a 0 0 0 1 1\n"
               "( 0 64 64 ) ( 0 64 0 ) ( 64 64 0 ) a 0 0 0 1 1\n"
               "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 ) a 0 0 0 1 1\n" +
               QByteArray(roof) + " " + name + "\n}\n";
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cImportedWorld world;
        QByteArray text = "{\n\"classname\" \"worldspawn\"\n";
        if (c.earlier) text += brush(c.earlier, "earlier 0 0 0 1 1");
        text += brush(c.roof, "roof 0 0 " + QByteArray::number(c.rotation) + " 1 1") + "}\n";
        ASSERT_EQ(Quake3_Import(files.write(QStringLiteral("roof.map"), text), &world.world), 1);
        const FaceRecord* roof = nullptr;
        for (const BrushRecord* b = world.world.entities->firstBrush; b; b = b->next)
            for (const FaceRecord* f = b->firstFace; f; f = f->next)
                if (std::strcmp(f->texInfo.name, "roof") == 0) roof = f;
        ASSERT_NE(roof, nullptr);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(roof->texInfo.sAxis[i], c.axes[0][i], 1e-6f) << i;
            EXPECT_NEAR(roof->texInfo.tAxis[i], c.axes[1][i], 1e-6f) << i;
        }
    }
}

// A classic brush followed by one with texture axes in the same entity: the classic faces still
// get their axes, and the explicit ones keep theirs.
TEST_F(MapReaderFacesTest, ClassicAndAxesFormsMixedInOneEntityKeepTheirAxes) {
    const QByteArray text =
        "{\n\"classname\" \"worldspawn\"\n{\n"
        "( 0 0 64 ) ( 0 0 0 ) ( 0 64 0 ) classic 0 0 0 1 1\n"
        "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) classic 0 0 0 1 1\n"
        "( 64 0 0 ) ( 0 0 0 ) ( 0 0 64 ) classic 0 0 0 1 1\n"
        "( 0 64 64 ) ( 0 64 0 ) ( 64 64 0 ) classic 0 0 0 1 1\n"
        "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 ) classic 0 0 0 1 1\n"
        "( 64 0 64 ) ( 0 0 64 ) ( 0 64 64 ) classic 0 0 0 1 1\n}\n{\n"
        "( 0 0 164 ) ( 0 0 100 ) ( 0 64 100 ) axes [ 0 0.6 0.8 0 ] [ 0 0.8 -0.6 0 ] 0 1 1\n"
        "( 64 64 100 ) ( 64 0 100 ) ( 64 0 164 ) axes [ 0 0.6 0.8 0 ] [ 0 0.8 -0.6 0 ] 0 1 1\n"
        "( 64 0 100 ) ( 0 0 100 ) ( 0 0 164 ) axes [ 0.6 0 0.8 0 ] [ 0.8 0 -0.6 0 ] 0 1 1\n"
        "( 0 64 164 ) ( 0 64 100 ) ( 64 64 100 ) axes [ 0.6 0 0.8 0 ] [ 0.8 0 -0.6 0 ] 0 1 1\n"
        "( 0 64 100 ) ( 0 0 100 ) ( 64 0 100 ) axes [ 0.6 0.8 0 0 ] [ 0.8 -0.6 0 0 ] 0 1 1\n"
        "( 64 0 164 ) ( 0 0 164 ) ( 0 64 164 ) axes [ 0.6 0.8 0 0 ] [ 0.8 -0.6 0 0 ] 0 1 1\n"
        "}\n}\n";
    ASSERT_EQ(import(text), 1);
    const BrushRecord* classic = imported.world.entities->firstBrush;
    for (const FaceRecord* f = classic->firstFace; f; f = f->next) {
        SCOPED_TRACE(testing::Message()
                     << "classic face " << f->normal[0] << " " << f->normal[1] << " " << f->normal[2]);
        // The game's axis for a side along x, y or z.
        const float s[3] = {f->normal[0] != 0 ? 0.0f : 1.0f, f->normal[0] != 0 ? 1.0f : 0.0f, 0};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(f->texInfo.sAxis[i], s[i]);
    }
    for (const FaceRecord* f = classic->next->firstFace; f; f = f->next) {
        EXPECT_FLOAT_EQ(f->texInfo.sAxis[0] * f->texInfo.sAxis[0] +
                            f->texInfo.sAxis[1] * f->texInfo.sAxis[1] +
                            f->texInfo.sAxis[2] * f->texInfo.sAxis[2],
                        1.0f);
        EXPECT_TRUE(f->texInfo.sAxis[0] == 0.6f || f->texInfo.sAxis[1] == 0.6f) << f->texInfo.sAxis[0];
    }
}

// A matrix giving one repeat per 128 units is scale 1 on a 128-texel texture; an unknown texture
// converts with the placeholder's size, is written back with its matrices while unchanged, and
// converts again once its texture is loaded.
TEST_F(MapReaderFacesTest, BrushPrimitiveMatricesUseTheTextureSize) {
    auto brushDef = [](const char* texture) {
        QByteArray text = "{\n\"classname\" \"worldspawn\"\n{\nbrushDef\n{\n";
        const char* planes[] = {"( 0 0 64 ) ( 0 0 0 ) ( 0 64 0 )", "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 )",
                                "( 64 0 0 ) ( 0 0 0 ) ( 0 0 64 )", "( 0 64 64 ) ( 0 64 0 ) ( 64 64 0 )",
                                "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 )", "( 64 0 64 ) ( 0 0 64 ) ( 0 64 64 )"};
        for (const char* plane : planes)
            text +=
                QByteArray(plane) + " ( ( 0.0078125 0 0.25 ) ( 0 0.0078125 0.5 ) ) " + texture + " 0 0 0\n";
        return text + "}\n}\n}\n";
    };
    auto top = [](const MapWorld& world) {
        for (const FaceRecord* f = world.entities->firstBrush->firstFace; f; f = f->next)
            if (f->normal[2] == 1.0f) return f;
        return static_cast<const FaceRecord*>(nullptr);
    };
    {
        cKnownTexture known("base/known", 128, 256);
        cImportedWorld world;
        ASSERT_EQ(
            Quake3_Import(files.write(QStringLiteral("known.map"), brushDef("base/known")), &world.world), 1);
        const FaceRecord* face = top(world.world);
        ASSERT_NE(face, nullptr);
        EXPECT_FLOAT_EQ(face->texInfo.sScale, 1.0f);
        EXPECT_FLOAT_EQ(face->texInfo.tScale, 0.5f);
        EXPECT_FLOAT_EQ(face->texInfo.sShift, 32.0f);  // 0.25 of 128 texels
        EXPECT_FLOAT_EQ(face->texInfo.tShift, 128.0f); // 0.5 of 256
        // On a floor the game projects s along y and t along x.
        EXPECT_EQ(face->texInfo.sAxis[1], 1.0f);
        EXPECT_EQ(face->texInfo.tAxis[0], 1.0f);
        EXPECT_EQ(face->source->flags, FaceSourceFlags::Points | FaceSourceFlags::Matrix);
        // As the game draws it: texture coordinate s of a point one repeat along y is 1 more.
        const TextureInfo& ti = face->texInfo;
        const float p[3] = {10, 128 + 7, 64}, q[3] = {10, 7, 64};
        auto s = [&](const float* v) {
            return ((ti.sAxis[0] * v[0] + ti.sAxis[1] * v[1] + ti.sAxis[2] * v[2]) / ti.sScale + ti.sShift) /
                   128;
        };
        EXPECT_FLOAT_EQ(s(p) - s(q), 1.0f);
    }

    cImportedWorld unknown;
    ASSERT_EQ(
        Quake3_Import(files.write(QStringLiteral("unknown.map"), brushDef("base/later")), &unknown.world), 1);
    FaceRecord* face = const_cast<FaceRecord*>(top(unknown.world));
    ASSERT_NE(face, nullptr);
    EXPECT_FLOAT_EQ(face->texInfo.sScale, 128.0f / float(face->source->width));
    EXPECT_TRUE(face->source->flags & FaceSourceFlags::PlaceholderSize);
    // Unchanged, it is written with its matrices, which a later load with the texture converts.
    ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("kept.map")), &unknown.world), 1);
    const QByteArray kept = files.read(QStringLiteral("kept.map"));
    EXPECT_EQ(kept.count("brushDef"), 1);
    EXPECT_EQ(kept.count("( ( 0.0078125 0 0.25 ) ( 0 0.0078125 0.5 ) ) base/later 0 0 0\n"), 6)
        << kept.toStdString();
    {
        cKnownTexture known("base/later", 128, 128);
        cImportedWorld later;
        ASSERT_EQ(Quake3_Import(files.path(QStringLiteral("kept.map")), &later.world), 1);
        EXPECT_FLOAT_EQ(top(later.world)->texInfo.sScale, 1.0f);
    }
    // Changed, it is written as plane faces, and the export says their size was a placeholder's.
    face->texInfo.sShift += 8;
    ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("changed.map")), &unknown.world), 1);
    EXPECT_FALSE(files.read(QStringLiteral("changed.map")).contains("brushDef"));
    EXPECT_TRUE(console.contains(
        QStringLiteral("6 brush-primitive face(s) written for the size of a placeholder, their "
                       "texture being unknown (first: entity 0, brush 0, \"base/later\")")))
        << console.lines.join('\n').toStdString();
    face->texInfo.sShift -= 8;
    // The texture is loaded later: the refresh converts the face again with its real size.
    ShaderRecord loaded;
    std::strcpy(loaded.name, "base/later");
    loaded.width = 128;
    loaded.height = 128;
    loaded.flags = SHADER_RELOADED;
    ShaderRecord* placeholder = face->texture;
    face->texture = &loaded;
    Map_RefreshTexturedFaces(&unknown.world);
    EXPECT_FLOAT_EQ(face->texInfo.sScale, 1.0f);
    EXPECT_FLOAT_EQ(face->texInfo.tScale, 1.0f);
    EXPECT_FALSE(face->source->flags & FaceSourceFlags::PlaceholderSize);
    face->texture = placeholder;
}

} // namespace
