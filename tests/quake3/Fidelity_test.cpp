// Round trips through the writer: import → export → import keeps every plane, texture name and
// written texture field, every vertex, patch point and key/value in order; and a detour through
// the project format writes the same map.
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

#include "Quake3Fixture.h"
#include "Quake3MapGenerator.h"
#include "document/MapDocument.h"

namespace {

bool near(float a, float b, float tolerance) {
    return std::fabs(a - b) <= tolerance;
}

// Written with six significant digits.
bool nearWritten(float a, float b) {
    return std::fabs(a - b) <= 1e-5f * std::max(1.0f, std::fabs(a)) + 1e-4f;
}

bool sameTexture(const TextureInfo& a, const TextureInfo& b) {
    if (std::strcmp(a.name, b.name) != 0) return false;
    for (int i = 0; i < 3; ++i)
        if (!near(a.sAxis[i], b.sAxis[i], 1e-4f) || !near(a.tAxis[i], b.tAxis[i], 1e-4f)) return false;
    return nearWritten(a.sShift, b.sShift) && nearWritten(a.tShift, b.tShift) &&
           nearWritten(a.rotation, b.rotation) && nearWritten(a.sScale, b.sScale) &&
           nearWritten(a.tScale, b.tScale) && a.contents == b.contents && a.surfaceFlags == b.surfaceFlags &&
           a.value == b.value;
}

bool sameFace(const FaceRecord* a, const FaceRecord* b) {
    for (int i = 0; i < 3; ++i)
        if (!near(a->normal[i], b->normal[i], 1e-4f)) return false;
    if (!near(a->dist, b->dist, 0.01f) || !sameTexture(a->texInfo, b->texInfo)) return false;
    if (a->vertexCount != b->vertexCount) return false;
    for (int v = 0; v < a->vertexCount; ++v) {
        bool found = false;
        for (int w = 0; w < b->vertexCount && !found; ++w)
            found = near(a->vertices[v].xyz[0], b->vertices[w].xyz[0], 1e-3f) &&
                    near(a->vertices[v].xyz[1], b->vertices[w].xyz[1], 1e-3f) &&
                    near(a->vertices[v].xyz[2], b->vertices[w].xyz[2], 1e-3f);
        if (!found) return false;
    }
    return true;
}

void expectSameBrush(const BrushRecord* a, const BrushRecord* b) {
    ASSERT_EQ(!a->patch, !b->patch);
    if (a->patch) {
        const PatchRecord* p = a->patch;
        const PatchRecord* q = b->patch;
        ASSERT_EQ(p->columns, q->columns);
        ASSERT_EQ(p->rows, q->rows);
        EXPECT_STREQ(p->texInfo.name, q->texInfo.name);
        EXPECT_EQ(p->texInfo.contents, q->texInfo.contents);
        EXPECT_EQ(p->texInfo.surfaceFlags, q->texInfo.surfaceFlags);
        EXPECT_EQ(p->texInfo.value, q->texInfo.value);
        for (int i = 0; i < p->columns; ++i)
            for (int j = 0; j < p->rows; ++j) {
                const PatchPoint& u = p->points[i][j];
                const PatchPoint& v = q->points[i][j];
                for (int k = 0; k < 3; ++k)
                    ASSERT_NEAR(u.xyz[k], v.xyz[k], 1e-3f) << i << "," << j;
                ASSERT_NEAR(u.s, v.s, 1e-5f);
                ASSERT_NEAR(u.t, v.t, 1e-5f);
            }
    }
    int facesA = 0, facesB = 0;
    for (const FaceRecord* f = b->firstFace; f; f = f->next)
        ++facesB;
    for (const FaceRecord* f = a->firstFace; f; f = f->next) {
        ++facesA;
        bool matched = false;
        for (const FaceRecord* g = b->firstFace; g && !matched; g = g->next)
            matched = sameFace(f, g);
        ASSERT_TRUE(matched) << "face " << f->texInfo.name << " plane " << f->normal[0] << " " << f->normal[1]
                             << " " << f->normal[2] << " " << f->dist;
    }
    EXPECT_EQ(facesA, facesB);
}

void expectSameWorld(const MapWorld* a, const MapWorld* b) {
    const EntityRecord* f = b->entities;
    for (const EntityRecord* e = a->entities; e; e = e->next, f = f->next) {
        ASSERT_NE(f, nullptr);
        ASSERT_STREQ(e->classname, f->classname);
        for (int i = 0; i < 3; ++i) {
            ASSERT_NEAR(e->origin[i], f->origin[i], 1e-3f);
            ASSERT_NEAR(e->angles[i], f->angles[i], 1e-3f);
        }
        const EPair* q = f->epairs;
        for (const EPair* p = e->epairs; p; p = p->next, q = q->next) {
            ASSERT_NE(q, nullptr) << e->classname;
            ASSERT_STREQ(p->key, q->key);
            ASSERT_STREQ(p->value, q->value);
        }
        ASSERT_EQ(q, nullptr) << e->classname;
        const BrushRecord* c = f->firstBrush;
        for (const BrushRecord* brush = e->firstBrush; brush; brush = brush->next, c = c->next) {
            ASSERT_NE(c, nullptr);
            expectSameBrush(brush, c);
            if (::testing::Test::HasFatalFailure()) return;
        }
        ASSERT_EQ(c, nullptr);
    }
    ASSERT_EQ(f, nullptr);
}

class FidelityTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Quake3().loaded); }
    void roundTrip(const QByteArray& text) {
        cImportedWorld first, second;
        ASSERT_EQ(Quake3_Import(files.write(QStringLiteral("a.map"), text), &first.world), 1);
        ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("b.map")), &first.world), 1);
        ASSERT_EQ(Quake3_Import(files.path(QStringLiteral("b.map")), &second.world), 1);
        expectSameWorld(&first.world, &second.world);
    }
    cConsoleCapture console;
    cQuake3Files files;
};

TEST_F(FidelityTest, EveryFixtureKeepsWhatTheWriterWrites) {
    for (const char* name : {"classic.map", "v220.map", "writer_input.map"}) {
        SCOPED_TRACE(name);
        roundTrip(Quake3_Fixture(name));
    }
}

TEST_F(FidelityTest, LargeGeneratedMapKeepsEverything) {
    roundTrip(cQuake3MapGenerator().generate());
    EXPECT_FALSE(console.contains(QStringLiteral("solids were not loaded")));
}

// import → project → export equals import → export, face lines of a brush compared sorted.
TEST_F(FidelityTest, ProjectDetourWritesTheSameMap) {
    auto sorted = [](const QByteArray& text) {
        QList<QByteArray> out, faces;
        for (const QByteArray& line : text.split('\n')) {
            if (line.startsWith("( ")) {
                faces << line;
                continue;
            }
            std::sort(faces.begin(), faces.end());
            out << faces << line;
            faces.clear();
        }
        return out;
    };
    GameConfig config;
    config.Title = QStringLiteral("Quake III");
    config.MapProfile = QStringLiteral("kpQuake3");
    for (const char* name : {"classic.map", "v220.map", "writer_input.map"}) {
        SCOPED_TRACE(name);
        MapDocument document;
        Project_Construct(&document);
        ASSERT_EQ(Quake3_Import(files.write(QStringLiteral("a.map"), Quake3_Fixture(name)), document.world),
                  1);
        ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("direct.map")), document.world), 1);
        ASSERT_TRUE(Project_Save(&document, files.path(QStringLiteral("a.zmf")), false, false));
        Project_Destroy(&document);

        MapDocument reloaded;
        Project_Construct(&reloaded);
        ASSERT_TRUE(Project_Load(&reloaded, files.path(QStringLiteral("a.zmf")), &config));
        ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("detour.map")), reloaded.world), 1);
        Project_Destroy(&reloaded);
        EXPECT_EQ(sorted(files.read(QStringLiteral("detour.map"))),
                  sorted(files.read(QStringLiteral("direct.map"))));
    }
    g_mainWindow->gameConfigs.makeCurrent(nullptr);
}

} // namespace
