// The plugin's model exports on fixture files: MD3, ASE and LWO loading with every refusal and
// its message, bounds under each flag, and the drawing streams recorded through a copy of the
// engine table whose drawing slots record their calls. The GL pixel test waits for the editor's
// drawing slots (they are still stand-ins).
#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>

#include "ImageFiles.h"
#include "ModelFixtures.h"
#include "ModelRecorder.h"
#include "Quake3Fixture.h"
#include "document/MapWorld.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "gamedata/ModelCache.h"
#include "map/MapEntity.h"
#include "map/ObjectRecords.h"

namespace {

template <typename Fn> Fn symbol(const char* name) {
    return reinterpret_cast<Fn>(Quake3().resolve(name));
}

class ModelExports : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Quake3().loaded);
        main = symbol<kpMainFn>("kpMain");
        load = symbol<kpLoadModelFn>("kpLoadModel");
        unload = symbol<kpUnloadModelFn>("kpUnloadModel");
        render = symbol<kpRenderModelFn>("kpRenderModel");
        bounds = symbol<kpGetModelBoundsFn>("kpGetModelBounds");
        ASSERT_TRUE(main && load && unload && render && bounds);
        ASSERT_EQ(main(ModelRecorder::Table(), KP_INTERFACE_VERSION), 0);
        rec().clear();
        rec().seconds = 0.0f;
        rec().stateBits = 0;
    }
    void TearDown() override {
        for (ModelCacheEntry* e : entries) {
            unload(e->formatId, e);
            delete e;
        }
        main(Plugin_EngineFuncs(), KP_INTERFACE_VERSION);
        // Every effect the models took was given back.
        for (auto it = textures().effects.cbegin(); it != textures().effects.cend(); ++it)
            EXPECT_FALSE(it.value()->refCount > 0 &&
                         QByteArray(it.value()->name).startsWith("models/fixture"))
                << it.value()->name << " still held " << it.value()->refCount;
    }
    static ModelRecorder& rec() { return ModelRecorder::Get(); }
    static TextureManager& textures() { return g_mainWindow->textures; }

    // Loads bytes as format fmt; the entry (kept until the test ends) or null when refused.
    ModelCacheEntry* loadModel(int32_t fmt, const std::string& bytes, const char* path = "models/fixture/m") {
        auto* e = new ModelCacheEntry{};
        e->formatId = fmt;
        if (!load(fmt, path, reinterpret_cast<const uint8_t*>(bytes.data()), uint32_t(bytes.size()), e)) {
            EXPECT_EQ(e->data, nullptr);
            delete e;
            return nullptr;
        }
        entries.push_back(e);
        return e;
    }
    void box(ModelCacheEntry* e, int32_t flags, EntityRecord* context, float mins[3], float maxs[3]) {
        ASSERT_EQ(bounds(e->formatId, mins, maxs, flags, e, context), 1);
    }

    kpMainFn main = nullptr;
    kpLoadModelFn load = nullptr;
    kpUnloadModelFn unload = nullptr;
    kpRenderModelFn render = nullptr;
    kpGetModelBoundsFn bounds = nullptr;
    std::vector<ModelCacheEntry*> entries;
    cConsoleCapture console;
};

// An entity record with an attached-model record holding the item motion values.
struct TestEntity {
    EntityRecord record{};
    unsigned char model[88] = {};
    explicit TestEntity(const ModelCacheEntry* main = nullptr) {
        record.scale = 1.0f;
        record.model = reinterpret_cast<EntityModel*>(model);
        std::memcpy(model, &main, sizeof main);
    }
    void motion(int set, float speed, float amplitude, float base) {
        const float v[3] = {speed, amplitude, base};
        std::memcpy(model + (set ? 72 : 60), v, sizeof v);
    }
};

void expectBox(const float mins[3], const float maxs[3], std::vector<float> want) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(mins[i], want[i], 1e-3f) << "mins " << i;
        EXPECT_NEAR(maxs[i], want[3 + i], 1e-3f) << "maxs " << i;
    }
}

// ---- MD3 ----------------------------------------------------------------------------------------

TEST_F(ModelExports, Md3LoadsWithEffectsNamedLikeTheGame) {
    ModelCacheEntry* e = loadModel(0, Md3File(Md3StandardFixture()));
    ASSERT_NE(e, nullptr);
    expectBox(e->mins, e->maxs, {10, -5, 0, 30, 5, 16});
    EXPECT_EQ(e->blended, 0);
    for (const char* name : {"models/fixture/skin_a", "models/fixture/skin_b", "models/fixture/head"}) {
        const ShaderRecord* effect = textures().effects.value(name);
        ASSERT_NE(effect, nullptr) << name;
        EXPECT_EQ(effect->flags & 0x2400, 0x2400);
        EXPECT_EQ(effect->refCount, 1);
    }
    EXPECT_EQ(unload(0, e), 1);
    EXPECT_EQ(e->data, nullptr);
    EXPECT_EQ(unload(0, e), 0);
    EXPECT_FALSE(textures().effects.contains("models/fixture/skin_a"));
}

TEST_F(ModelExports, Md3BlendedWhenAnEffectsFirstStageHasState) {
    ShaderRecord* effect = Tex_FindOrCreateShader("models/fixture/skin_b", "models/fixture/skin_b", 0);
    ShaderStage stage{};
    stage.stateBits = 0x65;
    Plugin_AddShaderStage(effect, &stage);
    ModelCacheEntry* e = loadModel(0, Md3File(Md3StandardFixture()));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->blended, 1);
    // Drawing with that skin applies the stage's state and gives the old one back.
    TestEntity entity(e);
    entity.record.skin = 1;
    rec().stateBits = 0x100;
    render(0, 0, e, &entity.record);
    ASSERT_EQ(rec().count("SetStateBits"), 2);
    EXPECT_EQ(rec().nth("SetStateBits", 0)->values[0], float(0x65));
    EXPECT_EQ(rec().nth("SetStateBits", 1)->values[0], float(0x100));
    Plugin_ReleaseShader(effect);
}

struct Md3Fault {
    const char* name;
    std::function<void(std::string&, const Md3FixtureLayout&)> damage;
    const char* message; // null: refused without a message
};

TEST_F(ModelExports, Md3FaultsAreRefusedWithTheirMessage) {
    const Md3Fault faults[] = {
        {"magic", [](std::string& b, auto&) { b[0] = 'X'; }, nullptr},
        {"version", [](std::string& b, auto&) { FixtureSet32(b, 4, 16); }, nullptr},
        {"33 surfaces", [](std::string& b, auto&) { FixtureSet32(b, 84, 33); },
         "invalid # of surfaces in \"models/fixture/m\" (33)"},
        {"0 frames", [](std::string& b, auto&) { FixtureSet32(b, 76, 0); },
         "invalid # of frames in \"models/fixture/m\" (0)"},
        {"end offset", [](std::string& b, auto&) { FixtureSet32(b, 104, int32_t(b.size()) + 1); },
         "end offset"},
        {"frames beyond", [](std::string& b, auto&) { FixtureSet32(b, 92, int32_t(b.size()) - 20); },
         "frames at"},
        {"surface offset", [](std::string& b, auto&) { FixtureSet32(b, 100, int32_t(b.size()) - 10); },
         "surface 0: header at"},
        {"surface end",
         [](std::string& b, const Md3FixtureLayout& l) { FixtureSet32(b, l.surfaces[1] + 104, 1 << 30); },
         "surface 1: end offset"},
        {"negative count",
         [](std::string& b, const Md3FixtureLayout& l) { FixtureSet32(b, l.surfaces[0] + 80, -4); },
         "surface 0: negative count"},
        {"triangle count",
         [](std::string& b, const Md3FixtureLayout& l) { FixtureSet32(b, l.surfaces[0] + 84, 0x7FFFFFFF); },
         "surface 0: triangles at"},
        {"vertex offset",
         [](std::string& b, const Md3FixtureLayout& l) { FixtureSet32(b, l.surfaces[1] + 100, -8); },
         "surface 1: vertices at"},
        {"effect offset",
         [](std::string& b, const Md3FixtureLayout& l) { FixtureSet32(b, l.surfaces[0] + 92, 1 << 20); },
         "surface 0: effects at"},
        {"surface frames",
         [](std::string& b, const Md3FixtureLayout& l) { FixtureSet32(b, l.surfaces[1] + 72, 2); },
         "surface 1: 2 frames, fewer than the model's 3"},
        {"triangle index",
         [](std::string& b, const Md3FixtureLayout& l) {
             FixtureSet32(b, l.surfaces[1] + 108 + 68 + 4, 517); // second corner of its triangle
         },
         "MD3 \"models/fixture/m\": surface 1: triangle index 517 beyond 3 vertices"},
        {"nan box",
         [](std::string& b, const Md3FixtureLayout& l) { FixtureSetFloat(b, l.frames + 56 + 4, NAN); },
         "frame 1: bounds not finite"},
    };
    for (const Md3Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        Md3FixtureLayout layout;
        std::string bytes = Md3File(Md3StandardFixture(), &layout);
        fault.damage(bytes, layout);
        console.clear();
        EXPECT_EQ(loadModel(0, bytes), nullptr);
        if (fault.message)
            EXPECT_TRUE(console.contains(fault.message)) << console.lines.join('\n').toStdString();
        else
            EXPECT_TRUE(console.lines.filter("ERROR").isEmpty()) << console.lines.join('\n').toStdString();
        EXPECT_FALSE(textures().effects.contains("models/fixture/skin_a"));
    }
    // Cut anywhere with the end offset following the cut: refused, never read past.
    const std::string whole = Md3File(Md3StandardFixture());
    for (size_t n = 108; n < whole.size(); n += 4) {
        std::string cut = whole.substr(0, n);
        FixtureSet32(cut, 104, int32_t(n));
        EXPECT_EQ(loadModel(0, cut), nullptr) << n;
    }
}

TEST_F(ModelExports, Md3FrameSkinAndCentring) {
    ModelCacheEntry* e = loadModel(0, Md3File(Md3StandardFixture()));
    ASSERT_NE(e, nullptr);
    TestEntity entity(e);
    // Frame 5 of 3 draws frame 0; vertex 0 of frame 0 is at (10, -5, 0).
    entity.record.sequence = 5;
    entity.record.skin = 7; // past the two entries: the last one
    render(0, 0, e, &entity.record);
    ASSERT_GE(rec().count("Vertex3fv"), 9);
    const ModelCall* first = rec().nth("Vertex3fv", 0);
    EXPECT_NEAR(first->values[0], 10.0f, 1e-4f);
    EXPECT_NEAR(first->values[1], -5.0f, 1e-4f);
    EXPECT_EQ(rec().nth("BindShader", 0)->pointer, textures().effects.value("models/fixture/skin_b"));
    // Frame 2 is shifted by 2 in x.
    rec().clear();
    entity.record.sequence = 2;
    entity.record.skin = -1;
    render(0, 0, e, &entity.record);
    EXPECT_NEAR(rec().nth("Vertex3fv", 0)->values[0], 12.0f, 1e-4f);
    EXPECT_EQ(rec().nth("BindShader", 0)->pointer, textures().effects.value("models/fixture/skin_a"));
    // Centred: the frame box x [10, 30] moves by -20.
    rec().clear();
    render(0, 0x20, e, nullptr);
    EXPECT_NEAR(rec().nth("Vertex3fv", 0)->values[0], -10.0f, 1e-4f);
    EXPECT_NEAR(rec().nth("Vertex3fv", 0)->values[1], -5.0f, 1e-4f);
}

TEST_F(ModelExports, Md3SurfaceWithoutEffectsDrawsUnbound) {
    Md3Fixture f = Md3StandardFixture();
    f.surfaces[1].effects.clear();
    ModelCacheEntry* e = loadModel(0, Md3File(f));
    ASSERT_NE(e, nullptr);
    TestEntity entity(e);
    entity.record.skin = 3;
    render(0, 0, e, &entity.record);
    ASSERT_EQ(rec().count("BindShader"), 2);
    EXPECT_EQ(rec().nth("BindShader", 1)->pointer, nullptr);
}

// Recorded streams: counts and the first corner of each kind of drawing.
TEST_F(ModelExports, Md3Streams) {
    ModelCacheEntry* e = loadModel(0, Md3File(Md3StandardFixture()));
    ASSERT_NE(e, nullptr);
    struct Row {
        int32_t flags;
        int vertices, colors, texcoords, normals, binds, flushes;
    } rows[] = {
        {0x1, 9, 0, 0, 0, 0, 2},
        {0x0, 9, 9, 9, 9, 2, 2},
        {0x2, 9, 0, 9, 9, 2, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.flags);
        rec().clear();
        ASSERT_EQ(render(0, row.flags, e, nullptr), 1);
        EXPECT_EQ(rec().count("Vertex3fv"), row.vertices);
        EXPECT_EQ(rec().count("Color4ub"), row.colors);
        EXPECT_EQ(rec().count("TexCoord2fv"), row.texcoords);
        EXPECT_EQ(rec().count("Normal3fv"), row.normals);
        EXPECT_EQ(rec().count("BindShader"), row.binds);
        EXPECT_EQ(rec().count("Flush"), row.flushes);
        EXPECT_EQ(rec().nth("SetPrimitive", 0)->values[0], 2.0f);
        if (row.flags & 1) continue;
        // Corner 0: vertex 0, s/t (0, 0.5), normal of latitude 0 straight up.
        EXPECT_EQ(rec().nth("TexCoord2fv", 0)->values, (std::vector<float>{0.0f, 0.5f}));
        const ModelCall* n = rec().nth("Normal3fv", 0);
        EXPECT_NEAR(n->values[2], 1.0f, 1e-4f);
        if (!(row.flags & 2)) {
            // shade (0.8 + 0.40089184) capped at 1: 255, alpha 255 without a blended entity.
            EXPECT_EQ(rec().nth("Color4ub", 0)->values, (std::vector<float>{255, 255, 255, 255}));
        }
    }
    // A blended entity draws with max(its alpha, the minimum alpha x 255).
    TestEntity entity(e);
    entity.record.flags = 0x10;
    entity.record.renderColor[3] = 40;
    rec().clear();
    rec().minAlpha = 0.5f;
    render(0, 0, e, &entity.record);
    EXPECT_EQ(rec().nth("Color4ub", 0)->values[3], 127.0f);
}

TEST_F(ModelExports, BoundsUnderEachFlag) {
    ModelCacheEntry* e = loadModel(0, Md3File(Md3StandardFixture()));
    ASSERT_NE(e, nullptr);
    float mins[3], maxs[3];
    box(e, 0, nullptr, mins, maxs);
    expectBox(mins, maxs, {10, -5, 0, 30, 5, 16});
    box(e, 0x20, nullptr, mins, maxs);
    expectBox(mins, maxs, {-10, -5, 0, 10, 5, 16});
    // Item motion without a context: the cylinder around the axis, z as the box.
    const float r = std::sqrt(30.0f * 30.0f + 5.0f * 5.0f);
    box(e, 0x10, nullptr, mins, maxs);
    expectBox(mins, maxs, {-r, -r, 0, r, r, 16});
    // With a context: lo = min(base, base2), hi = max(2 amp + base, 2 amp2 + base2).
    TestEntity entity(e);
    entity.motion(0, 90, 4, 2);
    entity.motion(1, 90, 1, -3);
    box(e, 0x10, &entity.record, mins, maxs);
    expectBox(mins, maxs, {-r, -r, -3, r, r, 26});
    // A context without motion rotates the box: yaw 90 turns x into y.
    entity.record.angles[1] = 90.0f;
    box(e, 0, &entity.record, mins, maxs);
    expectBox(mins, maxs, {-5, 10, 0, 5, 30, 16});
    EXPECT_EQ(bounds(0, mins, maxs, 0, nullptr, nullptr), 0);
    EXPECT_EQ(bounds(7, mins, maxs, 0, e, nullptr), 0);
}

TEST_F(ModelExports, ItemMotionRaisesTheDrawing) {
    ModelCacheEntry* e = loadModel(0, Md3File(Md3StandardFixture()));
    ASSERT_NE(e, nullptr);
    TestEntity entity(e);
    entity.motion(0, 90, 4, 2); // 90 degrees a second
    rec().seconds = 1.0f;       // sin 90 = 1: offset (1 + 1) x 4 + 2
    render(0, 0x10 | 0x1, e, &entity.record);
    EXPECT_NEAR(rec().nth("Vertex3fv", 0)->values[2], 10.0f, 1e-3f);
    // Another model of the entity uses the second set.
    ModelCacheEntry* other = loadModel(0, Md3File(Md3StandardFixture()), "models/fixture/other");
    entity.motion(1, 0, 0, -3);
    rec().clear();
    render(0, 0x10 | 0x1, other, &entity.record);
    EXPECT_NEAR(rec().nth("Vertex3fv", 0)->values[2], -3.0f, 1e-3f);
    // Scale 0 draws, normals stay finite.
    entity.record.scale = 0.0f;
    rec().clear();
    render(0, 0, e, &entity.record);
    for (float v : rec().nth("Normal3fv", 0)->values)
        EXPECT_TRUE(std::isfinite(v));
}

// ---- ASE ----------------------------------------------------------------------------------------

TEST_F(ModelExports, AseLoadsKeptObjectsWithTheirMaterials) {
    ModelCacheEntry* e = loadModel(1, AseStandardFixture());
    ASSERT_NE(e, nullptr) << console.lines.join('\n').toStdString();
    // "box" at x 0..32 and "head" at 40..72; the Bip01 object and the animated mesh are left out.
    expectBox(e->mins, e->maxs, {0, 0, 0, 72, 32, 8});
    ASSERT_TRUE(textures().effects.contains("base/wall"));
    EXPECT_EQ(textures().effects.value("base/wall")->flags & 0x400, 0x400);
    EXPECT_TRUE(textures().effects.contains("models/fixture/ase_skin"));
    render(1, 0, e, nullptr);
    EXPECT_EQ(rec().count("BindShader"), 2);
    EXPECT_EQ(rec().count("Vertex3fv"), 12);
    // Face 0 is stored c, b, a: its third corner is vertex 0 with texture vertex 0 = (0.25, 1 - 0.75).
    EXPECT_EQ(rec().nth("Vertex3fv", 2)->values, (std::vector<float>{0, 0, 0}));
    EXPECT_EQ(rec().nth("TexCoord2fv", 2)->values, (std::vector<float>{0.25f, 0.25f}));
    // Face 0 faces +z, face 1 is tilted by its raised corner; their dot is above 0.17, so vertex 0,
    // which both use, gets their normalised sum while vertex 1 (face 0 only) keeps +z.
    const ModelCall* n0 = rec().nth("Normal3fv", 2);
    EXPECT_NEAR(std::hypot(n0->values[0], n0->values[1], n0->values[2]), 1.0f, 1e-3f);
    EXPECT_GT(n0->values[0], 0.05f);
    EXPECT_GT(n0->values[2], 0.9f);
    const ModelCall* n1 = rec().nth("Normal3fv", 1);
    EXPECT_NEAR(n1->values[2], 1.0f, 1e-3f);
}

TEST_F(ModelExports, AseFaultsAreRefused) {
    const std::string good = AseStandardFixture();
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        const size_t at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) s.replace(at, from.size(), to);
        return s;
    };
    std::string bigMesh = AseFixtureObject("big", 0, 0, 0.0f);
    bigMesh.replace(bigMesh.find("*MESH_NUMVERTEX 4"), 17, "*MESH_NUMVERTEX 8193");
    struct Row {
        const char* name;
        std::string text;
        const char* message;
    } rows[] = {
        {"0 materials", replaced("*MATERIAL_COUNT 2", "*MATERIAL_COUNT 0"),
         "invalid # of materials in model (0)"},
        {"more materials than the file holds", replaced("*MATERIAL_COUNT 2", "*MATERIAL_COUNT 2000000000"),
         "invalid # of materials in model (2000000000)"},
        {"8193 vertices", good + bigMesh, "too many vertices in model (8193)"},
        {"vertex index", replaced("*MESH_VERTEX 3", "*MESH_VERTEX 4"), "*MESH_VERTEX 4 beyond 4 entries"},
        {"face index", replaced("*MESH_FACE 1 :", "*MESH_FACE 2 :"), "*MESH_FACE 2 beyond 2 entries"},
        {"face corner", replaced("A: 0 B: 2 C: 3", "A: 0 B: 2 C: 9"), "*MESH_FACE corner 9 beyond 4 entries"},
        {"texture face", replaced("*MESH_TFACE 1\t0\t2\t3", "*MESH_TFACE 1\t0\t2\t-1"),
         "*MESH_TFACE corner -1 beyond 4 entries"},
        {"material ref", replaced("*MATERIAL_REF 1", "*MATERIAL_REF 5"), "material 5 beyond 2 materials"},
        {"declared count", replaced("*MESH_NUMFACES 2", "*MESH_NUMFACES 2000000000"), "does not fit"},
        {"nan", replaced("*MESH_VERTEX 1\t32", "*MESH_VERTEX 1\tnan"), "is not a finite number"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        console.clear();
        EXPECT_EQ(loadModel(1, row.text), nullptr);
        EXPECT_TRUE(console.contains(row.message)) << console.lines.join('\n').toStdString();
        EXPECT_TRUE(console.contains("models/fixture/m")) << "the message names the file";
        EXPECT_FALSE(textures().effects.contains("base/wall"));
    }
    // 8192 vertices are taken.
    std::string edge = AseFixtureObject("edge", 0, 0, 0.0f);
    std::string list;
    for (int i = 0; i < 8192; ++i)
        list += "\t\t\t*MESH_VERTEX " + std::to_string(i) + " 1 2 3\n";
    edge.replace(edge.find("*MESH_NUMVERTEX 4"), 17, "*MESH_NUMVERTEX 8192");
    edge.insert(edge.find("\t\t}\n\t\t*MESH_FACE_LIST"), list);
    EXPECT_NE(loadModel(1, good + edge), nullptr) << console.lines.join('\n').toStdString();
}

// Real models (lamps, cables, ladders) hold more than 64 objects and some more than 32 materials:
// every object is kept and drawn with its own material.
TEST_F(ModelExports, AseObjectsAndMaterialsAsManyAsTheFileHolds) {
    const int materials = 40, objects = 70;
    std::string text =
        "*3DSMAX_ASCIIEXPORT\t200\n*MATERIAL_LIST {\n\t*MATERIAL_COUNT " + std::to_string(materials) + "\n";
    for (int i = 0; i < materials; ++i)
        text += "\t*MATERIAL " + std::to_string(i) + " {\n\t\t*BITMAP \"textures/many/m" + std::to_string(i) +
                ".tga\"\n\t}\n";
    text += "}\n";
    for (int i = 0; i < objects; ++i)
        text += AseFixtureObject("part" + std::to_string(i), i % materials, 0, 40.0f * float(i));
    ModelCacheEntry* e = loadModel(1, text);
    ASSERT_NE(e, nullptr) << console.lines.join('\n').toStdString();
    expectBox(e->mins, e->maxs, {0, 0, 0, 40.0f * (objects - 1) + 32, 32, 8});
    EXPECT_TRUE(textures().effects.contains("many/m39"));
    render(1, 0, e, nullptr);
    EXPECT_EQ(rec().count("BindShader"), objects);
    EXPECT_EQ(rec().count("Vertex3fv"), objects * 6);
}

// ---- LWO ----------------------------------------------------------------------------------------

TEST_F(ModelExports, LwoLoadsBothLayersWithSurfacesAndMaps) {
    for (bool withBox : {true, false}) {
        SCOPED_TRACE(withBox);
        ModelCacheEntry* e = loadModel(2, LwoStandardFixture(withBox));
        ASSERT_NE(e, nullptr) << console.lines.join('\n').toStdString();
        // Editor axes (x, z, y) of the file; the computed box is the points' box.
        expectBox(e->mins, e->maxs, {0, 0, 0, 64, 64, 100});
        EXPECT_TRUE(textures().effects.contains("models/fixture/stone"));
        EXPECT_TRUE(textures().effects.contains("models/fixture/glass"));
        rec().clear();
        render(2, 0, e, nullptr);
        // Four triangles of the first layer (the quad skipped) and one of the second.
        EXPECT_EQ(rec().count("Vertex3fv"), 15);
        EXPECT_EQ(rec().count("BindShader"), 2);
        // Surfaces in list order: the newest (glass, made while linking) first.
        EXPECT_EQ(rec().nth("BindShader", 0)->pointer, textures().effects.value("models/fixture/glass"));
        // Stone's first corner is point 0: VMAP (0.25, 1 - 0.75); its third is point 4 with the VMAD
        // of triangle 0.
        EXPECT_EQ(rec().nth("TexCoord2fv", 3)->values, (std::vector<float>{0.25f, 0.25f}));
        EXPECT_EQ(rec().nth("TexCoord2fv", 5)->values, (std::vector<float>{0.125f, 0.625f}));
        // Stone's second corner, point 1, takes its VMAP entry over the axis mapping.
        EXPECT_EQ(rec().nth("TexCoord2fv", 4)->values, (std::vector<float>{0.5f, 0.5f}));
        unload(2, e);
    }
}

TEST_F(ModelExports, LwoBoundsHoldTheOrigin) {
    std::string c = LwoTags({"s"}) + LwoLayer(1) + LwoPoints({10, 10, 10, 20, 10, 10, 10, 20, 10}) +
                    LwoPolygons({{0, 1, 2}});
    ModelCacheEntry* e = loadModel(2, LwoForm(c));
    ASSERT_NE(e, nullptr) << console.lines.join('\n').toStdString();
    expectBox(e->mins, e->maxs, {0, 0, 0, 20, 10, 20});
    // A flat model still maps: zero extents count as 1.
    rec().clear();
    render(2, 0, e, nullptr);
    for (int i = 0; i < 3; ++i)
        for (float v : rec().nth("TexCoord2fv", i)->values)
            EXPECT_TRUE(std::isfinite(v));
}

TEST_F(ModelExports, LwoFaultsAreRefusedWithTheirMessage) {
    const std::string layer = LwoTags({"s"}) + LwoLayer(1);
    const std::string tri = LwoPoints({0, 0, 0, 1, 0, 0, 0, 0, 1}) + LwoPolygons({{0, 1, 2}});
    std::string formTooLong = LwoForm(layer + tri);
    formTooLong[7] = char(formTooLong[7] + 2);
    std::string chunkTooLong = LwoForm(layer + tri);
    chunkTooLong[chunkTooLong.size() - 20 + 7] = char(0x7F);
    std::string ptagPast = LwoPtag("SURF", {{0, 0}});
    ptagPast.resize(ptagPast.size() - 1);
    ptagPast[7] = char(ptagPast.size() - 8);
    std::string vxPast = LwoPolygons({{0, 1, 2}, {0, 1, 2}});
    vxPast.resize(vxPast.size() - 2);
    vxPast[7] = char(vxPast.size() - 8);
    std::string nanPoint = LwoPoints({0, 0, 0, NAN, 0, 0, 0, 0, 1});
    struct Row {
        const char* name;
        std::string bytes;
        const char* message;
    } rows[] = {
        {"LWOB", LwoForm(layer, "LWOB"), "LWO format version 5.0 is not supported\n"},
        {"id", "FARM" + LwoForm(layer).substr(4), "bad LWO object id `FARM'\n"},
        {"type", LwoForm(layer, "LWO3"),
         "bad LWO object type `LWO3' (probably unsupported format version)\n"},
        {"form size", formTooLong, "beyond the"},
        {"chunk size", chunkTooLong, "beyond the end of the FORM"},
        {"point index", LwoForm(layer + LwoPoints({0, 0, 0}) + LwoPolygons({{0, 1, 2}})), "beyond 1 points"},
        {"vx at the end", LwoForm(layer + LwoPoints({0, 0, 0, 1, 0, 0, 0, 0, 1}) + vxPast),
         "error parsing LWO chunk `POLS'\n"},
        {"ptag past", LwoForm(layer + tri + ptagPast), "error parsing LWO chunk `PTAG'\n"},
        {"nan point", LwoForm(layer + nanPoint), "is not finite"},
        {"no layers", LwoForm(LwoTags({"s"}) + tri), "LWO has no layers!\n"},
        {"no tags", LwoForm(LwoLayer(1) + tri), "LWO failed to assemble model!\n"},
        {"tag index", LwoForm(layer + tri + LwoPtag("SURF", {{0, 4}})),
         "LWO failed to link shader names to polygons!\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        console.clear();
        EXPECT_EQ(loadModel(2, row.bytes), nullptr);
        EXPECT_TRUE(console.contains(QString::fromStdString(row.message).trimmed()))
            << console.lines.join('\n').toStdString();
    }
    EXPECT_EQ(loadModel(2, std::string(12, 'x')), nullptr);
    EXPECT_EQ(loadModel(3, LwoStandardFixture(true)), nullptr);
}

// A TXUV map of fewer than two values per entry gives no coordinates: it is read and left out
// with a warning naming the file, and the model loads; extra values past two are skipped.
TEST_F(ModelExports, LwoTexMapsOfAnyDimensionLoad) {
    const std::string tri = LwoTags({"s"}) + LwoLayer(1) + LwoPoints({0, 0, 0, 1, 0, 0, 0, 0, 1}) +
                            LwoPolygons({{0, 1, 2}}) + LwoPtag("SURF", {{0, 0}});
    for (uint32_t dimension : {0u, 1u, 2u, 3u}) {
        SCOPED_TRACE(dimension);
        console.clear();
        const std::string map = LwoTexMap({{0, -1, 0.5f, 0.0f}}, false, dimension) +
                                LwoTexMap({{1, 0, 0.75f, 0.5f}}, true, dimension);
        ModelCacheEntry* e = loadModel(2, LwoForm(tri + map));
        ASSERT_NE(e, nullptr) << console.lines.join('\n').toStdString();
        rec().clear();
        render(2, 0, e, nullptr);
        ASSERT_EQ(rec().count("TexCoord2fv"), 3);
        int mapped = 0;
        for (int i = 0; i < 3; ++i) {
            const std::vector<float>& st = rec().nth("TexCoord2fv", i)->values;
            mapped += st == std::vector<float>{0.5f, 1.0f} || st == std::vector<float>{0.75f, 0.5f};
        }
        EXPECT_EQ(mapped, dimension >= 2 ? 2 : 0);
        const bool warned = console.contains("models/fixture/m") && console.contains("TXUV map of dimension");
        EXPECT_EQ(warned, dimension < 2) << console.lines.join('\n').toStdString();
        unload(2, e);
    }
}

// Smoothing: a surface with SMAN 0 keeps face normals; a wide angle averages them.
TEST_F(ModelExports, LwoSmoothingAngle) {
    auto model = [](float angle) {
        std::string c = LwoTags({"s"}) + LwoLayer(1) + LwoSurface("s", angle) +
                        LwoPoints({0, 0, 0, 10, 0, 0, 0, 0, 10, 0, 10, 0}) +
                        LwoPolygons({{0, 1, 2}, {0, 2, 3}});
        return LwoForm(c);
    };
    for (float angle : {0.0f, 1.6f}) {
        ModelCacheEntry* e = loadModel(2, model(angle));
        ASSERT_NE(e, nullptr);
        rec().clear();
        render(2, 0x2, e, nullptr);
        const auto a = rec().nth("Normal3fv", 0)->values; // point 0 in triangle 0
        const auto b = rec().nth("Normal3fv", 3)->values; // point 0 in triangle 1
        if (angle == 0.0f)
            EXPECT_NE(a, b);
        else
            EXPECT_EQ(a, b);
    }
}

} // namespace

namespace {

// Through the editor's model cache: the plugin's format loads the file the key resolves to in the
// game folder, a reload keeps the entry, and a purge gives every effect back.
class ModelCacheThroughPlugin : public ModelExports {
protected:
    QTemporaryDir dir;
    GameConfig config;
    void SetUp() override {
        ModelExports::SetUp();
        config.GameBasedir = dir.path();
        g_mainWindow->gameConfigs.makeCurrent(&config);
    }
    void TearDown() override {
        Model_FreeAll(Model_Cache());
        g_mainWindow->gameConfigs.makeCurrent(nullptr);
        ModelExports::TearDown();
    }
    void write(const QString& name, const std::string& bytes) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
    }
};

TEST_F(ModelCacheThroughPlugin, LoadReloadAndPurge) {
    write("models/fixture/thing.md3", Md3File(Md3StandardFixture()));
    ModelCacheEntry* e =
        Model_AcquireModel(Model_Cache(), QStringLiteral("models/fixture/thing.md3"), nullptr);
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(e->loaded) << console.lines.join('\n').toStdString();
    expectBox(e->mins, e->maxs, {10, -5, 0, 30, 5, 16});
    float mins[3], maxs[3];
    ASSERT_NE(e->bounds, nullptr);
    EXPECT_EQ(e->bounds(e->formatId, mins, maxs, 0x20, e, nullptr), 1);
    expectBox(mins, maxs, {-10, -5, 0, 10, 5, 16});
    EXPECT_EQ(textures().effects.value("models/fixture/skin_a")->refCount, 1);
    // The file changes: the same entry holds the new model.
    Md3Fixture moved = Md3StandardFixture();
    moved.frameCount = 1;
    moved.surfaces.resize(1);
    write("models/fixture/thing.md3", Md3File(moved));
    Model_ReloadModel(Model_Cache(), e, nullptr);
    EXPECT_EQ(Model_AcquireModel(Model_Cache(), QStringLiteral("models/fixture/thing.md3"), nullptr), e);
    EXPECT_TRUE(e->loaded);
    EXPECT_FALSE(textures().effects.contains("models/fixture/head"));
    EXPECT_EQ(textures().effects.value("models/fixture/skin_a")->refCount, 1);
    Model_ReleaseModelEntry(Model_Cache(), e);
    Model_ReleaseModelEntry(Model_Cache(), e);
    Model_PurgeUnused(Model_Cache());
    EXPECT_FALSE(textures().effects.contains("models/fixture/skin_a"));
}

// A placeholder effect whose name has an image in the game folder takes it as a model skin.
TEST_F(ModelCacheThroughPlugin, SkinImageFromTheGameFolder) {
    write("models/fixture/head.tga", TgaFile(2, 1, 1, 32, 0x20, QByteArray("\1\2\3\4", 4)).toStdString());
    ModelCacheEntry* e = loadModel(0, Md3File(Md3StandardFixture()));
    ASSERT_NE(e, nullptr);
    const QByteArray key = QFile::encodeName(dir.filePath("models/fixture/head.tga"));
    ShaderRecord* skin = textures().effects.value(key);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->flags & 0x2440, 0x2440);
    EXPECT_EQ(skin->refCount, 1);
    EXPECT_NE(skin->image, nullptr);
    // The placeholder the name first gave was handed back.
    EXPECT_FALSE(textures().effects.contains("models/fixture/head"));
    render(0, 0, e, nullptr);
    EXPECT_EQ(rec().nth("BindShader", 1)->pointer, skin);
    // The model held the skin's only reference.
    unload(0, e);
    EXPECT_FALSE(textures().effects.contains(key));
}

// An entity of a sample class shows the fixture model: its drawable is the cache entry and its
// bounds are the plugin's item-motion box (the class bobs: amplitude 4).
TEST_F(ModelCacheThroughPlugin, SampleItemEntityTakesItsBoundsFromThePlugin) {
    write("models/powerups/armor/armor_red.md3", Md3File(Md3StandardFixture()));
    const QString items = QStringLiteral(ZARV_SAMPLES_DIR "/quake3/q3entities.fgd"); // includes q3base.fgd
    config.GameData = config.precachedGameData = {items};
    GameData* data = Fgd_Acquire(&g_mainWindow->gameData, items);
    ASSERT_TRUE(Fgd_Load(data, false));
    MapWorld world;
    Map_InitWorld(&world, nullptr);
    const float origin[3] = {100, 0, 50};
    EntityRecord* item = Entity_Create(Map_Handle(&world), "item_armor_body", origin, EntityFlag::Point);
    cMapEntity::fromRecord(item)->update(EntityUpdate::KeysChanged);
    cMapEntity::fromRecord(item)->rebuildModel(false);
    EXPECT_EQ(item->modelKind, EntityModelKind::Model) << console.lines.join('\n').toStdString();
    if (item->modelKind == EntityModelKind::Model) {
        auto* entry = static_cast<ModelCacheEntry*>(item->model->entry);
        EXPECT_TRUE(entry->loaded);
        EXPECT_EQ(Model_PathOfModel(Model_Cache(), entry),
                  QDir::cleanPath(dir.filePath("models/powerups/armor/armor_red.md3")));
        const float r = std::sqrt(30.0f * 30.0f + 5.0f * 5.0f);
        expectBox(item->mins, item->maxs, {100 - r, -r, 50, 100 + r, r, 50 + 16 + 8});
    }
    Map_DestroyWorld(&world);
    Fgd_Release(&g_mainWindow->gameData, items);
}

} // namespace
