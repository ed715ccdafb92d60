// Import → export → import → export over every map file of the repository and a generated map of
// tilted brushes, patches and key values with fractions: the second export equals the first byte
// for byte, every plane comes back within 0.001 units over its face, no face is lost and no
// brush moves.
#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <gtest/gtest.h>

#include "Quake3Fixture.h"
#include "Quake3MapGenerator.h"

namespace {

// Planes match when the normals agree and, at every corner of the first face, the two planes lie
// within 0.001 units of each other.
bool samePlane(const FaceRecord* a, const FaceRecord* b) {
    const float dot = a->normal[0] * b->normal[0] + a->normal[1] * b->normal[1] + a->normal[2] * b->normal[2];
    if (!(dot > 0.999999f)) return false;
    if (a->vertexCount == 0) return std::fabs(a->dist - b->dist) <= 0.001f;
    for (int i = 0; i < a->vertexCount; ++i) {
        const float* v = a->vertices[i].xyz;
        auto side = [v](const FaceRecord* f) {
            return double(f->normal[0]) * v[0] + double(f->normal[1]) * v[1] + double(f->normal[2]) * v[2] -
                   double(f->dist);
        };
        const double off = side(b) - side(a);
        if (std::fabs(off) > 0.001) return false;
    }
    return true;
}

int faces(const MapWorld* world) {
    return Quake3_Count(world).faces;
}

// One map text read, written, read and written again, in worlds of its own.
class cMapRoundTrip {
public:
    void run(const QByteArray& text) {
        ASSERT_EQ(Quake3_Import(files.write(QStringLiteral("in.map"), text), &first.world), 1);
        ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("a.map")), &first.world), 1);
        ASSERT_EQ(Quake3_Import(files.path(QStringLiteral("a.map")), &second.world), 1);
        ASSERT_EQ(Quake3_Export(files.path(QStringLiteral("b.map")), &second.world), 1);
        const QByteArray a = files.read(QStringLiteral("a.map")), b = files.read(QStringLiteral("b.map"));
        if (a != b) {
            const QList<QByteArray> la = a.split('\n'), lb = b.split('\n');
            for (int i = 0; i < std::min(la.size(), lb.size()); ++i)
                if (la[i] != lb[i]) {
                    ADD_FAILURE() << "line " << i + 1 << " of the second export differs:\n"
                                  << la[i].toStdString() << "\n"
                                  << lb[i].toStdString();
                    break;
                }
            ASSERT_EQ(la.size(), lb.size());
        }
        expectSameGeometry();
    }

    void expectSameGeometry() {
        const EntityRecord* f = second.world.entities;
        for (const EntityRecord* e = first.world.entities; e; e = e->next, f = f->next) {
            ASSERT_NE(f, nullptr);
            ASSERT_STREQ(e->classname, f->classname);
            for (int i = 0; i < 3; ++i)
                ASSERT_EQ(e->origin[i], f->origin[i]) << e->classname;
            const BrushRecord* c = f->firstBrush;
            for (const BrushRecord* b = e->firstBrush; b; b = b->next, c = c->next) {
                ASSERT_NE(c, nullptr);
                for (int i = 0; i < 3; ++i) {
                    ASSERT_NEAR(b->mins[i], c->mins[i], 0.001f) << "brush " << b->serial;
                    ASSERT_NEAR(b->maxs[i], c->maxs[i], 0.001f) << "brush " << b->serial;
                }
                int countA = 0, countB = 0;
                for (const FaceRecord* g = c->firstFace; g; g = g->next)
                    ++countB;
                for (const FaceRecord* fa = b->firstFace; fa; fa = fa->next) {
                    ++countA;
                    bool matched = false;
                    for (const FaceRecord* g = c->firstFace; g && !matched; g = g->next)
                        matched = samePlane(fa, g);
                    ASSERT_TRUE(matched) << "brush " << b->serial << " face " << fa->normal[0] << " "
                                         << fa->normal[1] << " " << fa->normal[2] << " " << fa->dist;
                }
                ASSERT_EQ(countA, countB) << "brush " << b->serial;
            }
            ASSERT_EQ(c, nullptr);
        }
        ASSERT_EQ(f, nullptr);
    }

    cQuake3Files files;
    cImportedWorld first, second;
};

class MapRoundTripTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Quake3().loaded); }
    cConsoleCapture console;
};

QStringList mapFixtures() {
    QStringList paths;
    const QString folders[] = {QStringLiteral(ZARV_TEST_DATA_DIR),
                               QStringLiteral(ZARV_TEST_DATA_DIR "/../../fuzz/seeds/map"),
                               QStringLiteral(ZARV_SAMPLES_DIR "/maps")};
    for (const QString& folder : folders)
        for (const QFileInfo& file :
             QDir(folder).entryInfoList({QStringLiteral("*.map")}, QDir::Files, QDir::Name))
            paths << file.absoluteFilePath();
    return paths;
}

TEST_F(MapRoundTripTest, EveryMapFileOfTheRepositoryComesBackTheSame) {
    const QStringList paths = mapFixtures();
    ASSERT_GE(paths.size(), 10);
    EXPECT_EQ(paths.filter(QStringLiteral("/sample.map")).size(), 1) << paths.join('\n').toStdString();
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        // A damaged seed that fails as a whole has nothing to write.
        cQuake3Files probe;
        cImportedWorld probed;
        if (Quake3_Import(probe.write(QStringLiteral("probe.map"), text), &probed.world) != 1) continue;
        cMapRoundTrip().run(text);
    }
}

TEST_F(MapRoundTripTest, GeneratedMapOfTiltedBrushesComesBackTheSame) {
    Quake3MapSize size;
    size.brushes = 600;
    size.patches = 150;
    size.entities = 400;
    size.tiltedBrushes = 2400;
    size.fractions = true;
    cQuake3MapGenerator generator(48);
    const QByteArray text = generator.generate(size);
    cMapRoundTrip trip;
    trip.run(text);
    // No face of the file is lost, and no brush is reported.
    EXPECT_EQ(faces(&trip.first.world), generator.faceCount());
    EXPECT_TRUE(console.lines.filter(QStringLiteral("brush")).isEmpty())
        << console.lines.join('\n').toStdString();
    EXPECT_FALSE(console.contains(QStringLiteral("solids were not loaded")));
}

} // namespace
