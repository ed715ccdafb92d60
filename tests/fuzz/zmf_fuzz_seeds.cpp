// Writes the seed corpus of zmf_fuzz into the folder given: hand-built files of the versions
// (each record kind present once; from 123 a face's source block and a kept face) and the same
// files written back by the writer.
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "document/MapWorld.h"
#include "document/ZmfFile.h"
#include "kstdlib/kstdlib.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapPatch.h"
#include "map/PatchRecord.h"

namespace {

// Little-endian fields appended in file order.
struct Bytes {
    QByteArray data;
    Bytes& raw(const void* p, qsizetype n) {
        data.append(static_cast<const char*>(p), n);
        return *this;
    }
    Bytes& i32(int32_t v) { return raw(&v, 4); }
    Bytes& f32(float v) { return raw(&v, 4); }
    Bytes& vec(float x, float y, float z) { return f32(x).f32(y).f32(z); }
    Bytes& str(const char* s) {
        return s ? i32(int32_t(std::strlen(s))).raw(s, qsizetype(std::strlen(s))) : i32(-1);
    }
    Bytes& zeros(qsizetype n) { return raw(QByteArray(n, '\0').constData(), n); }
    Bytes& texture(int32_t version) {
        TextureInfo t{};
        std::strcpy(t.name, "base/wall");
        t.sScale = t.tScale = 1.0f;
        return raw(&t, version >= 118 ? 128 : 124);
    }
};

void entityHead(Bytes& b, int32_t version, bool faultyScale, const char* classname, uint32_t flags) {
    b.str(classname).vec(0, 0, 0).i32(int32_t(flags)).i32(7).i32(0).i32(int32_t(0xffffffff));
    b.str("spawnflags");
    if (version >= 113) b.str("origin").str("angles");
    if (version >= 114 || (version == 113 && faultyScale)) b.str("scale");
    if (version >= 116) b.str("targetname").str("target");
    if (version >= 117) b.str("skyname");
    if (version >= 119) b.str("model").str("model").str("model").str("model").str("texture");
    if (version >= 121) b.str("script");
    b.i32(0).vec(0, 90, 0).zeros(16).zeros(version >= 115 ? 48 : 16);
}

QByteArray handBuilt(int32_t version, bool faultyScale) {
    Bytes b;
    b.raw("ZQMF", 4).i32(version);
    if (version >= 114) b.i32(1).str("maps/out.map");
    b.i32(1).i32(7).i32(0).i32(0).i32(1).i32(int32_t(0xff102030));
    b.i32(1).str("walls").i32(3).i32(-1).raw("\x01", 1);
    b.vec(-64, -64, -64).vec(64, 64, 64);
    b.i32(1).vec(0, 0, 0).vec(100, 0, 0).i32(2).i32(int32_t(0xff0000ff));
    b.i32(1).str("path_corner").str("route").i32(1).i32(0).i32(0).i32(1);
    b.str("n1").str("").vec(0, 0, 0).vec(0, 0, 0).i32(0).i32(0).i32(1).str("speed").str("100");

    entityHead(b, version, faultyScale, "worldspawn", EntityFlag::World);
    b.i32(1).str("message").str("seed").i32(1).i32(3);
    b.i32(version >= 112 ? 3 : 1);
    // A solid brush of six axial faces; the reader rebuilds the polygons.
    if (version >= 112) b.i32(0);
    b.i32(0).i32(7).i32(0).i32(0).i32(1).i32(3).i32(6);
    const float planes[6][4] = {{0, 0, 1, 64}, {0, 0, -1, 0}, {1, 0, 0, 64},
                                {-1, 0, 0, 0}, {0, 1, 0, 64}, {0, -1, 0, 0}};
    int32_t place = 0;
    for (const auto& p : planes) {
        b.i32(0).i32(3).texture(version).vec(p[0], p[1], p[2]).f32(p[3]).i32(0);
        b.zeros(3 * qsizetype(sizeof(FaceVertex)));
        if (version >= 122) b.i32(0); // no map-file source
        if (version >= 123) b.i32(++place);
    }
    if (version >= 123) {
        // A kept face: the plane x + z = 128 touches the cube's edge only; its points as read.
        b.i32(1); // kept faces
        b.i32(0).i32(0).texture(version).vec(0.70710677f, 0, 0.70710677f).f32(90.50967f).i32(3);
        const double points[9] = {64, 0, 64, 64, 64, 64, 128.0000000001, 0, 0};
        b.i32(1).raw(points, sizeof points).zeros(24).i32(1).i32(0).i32(0).i32(++place);
    }
    if (version >= 112) {
        b.i32(1).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0);
        if (version >= 123) b.i32(0); // no kept faces
        b.i32(3).i32(3).texture(version).i32(0);
        const int lines = version >= 120 ? kPatchGridLines : 16;
        for (int c = 0; c < lines; ++c)
            for (int r = 0; r < lines; ++r) {
                PatchPoint p{};
                p.xyz[0] = float(c * 32);
                p.xyz[1] = float(r * 32);
                b.raw(&p, sizeof p);
            }
        b.i32(2).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0);
        if (version >= 123) b.i32(0); // no kept faces
        b.texture(version).i32(0).vec(0, 0, 1).f32(64).i32(2);
        const float corners[4][2] = {{0, 0}, {16, 0}, {16, 16}, {0, 16}};
        for (const auto& c : corners)
            b.vec(c[0], c[1], 64).f32(c[0] / 16).f32(c[1] / 16).f32(0);
    }
    entityHead(b, version, faultyScale, "info_player_start", EntityFlag::Point);
    b.i32(1).str("origin").str("32 32 24").i32(0).i32(0);
    return b.data;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zmf_fuzz_seeds FOLDER\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) return 1;

    struct Seed {
        int32_t version;
        bool faultyScale;
    };
    int failed = 0;
    for (const Seed seed : {Seed{111, false}, Seed{113, true}, Seed{115, false}, Seed{117, false},
                            Seed{119, false}, Seed{121, false}, Seed{123, false}}) {
        const QString name = QStringLiteral("v%1%2").arg(seed.version).arg(seed.faultyScale ? "_scale" : "");
        const QString old = dir.filePath(name + QStringLiteral(".zmf"));
        QFile file(old);
        if (!file.open(QIODevice::WriteOnly) || file.write(handBuilt(seed.version, seed.faultyScale)) < 0)
            return 1;
        file.close();

        MapWorld world;
        Map_InitWorld(&world, nullptr);
        const bool ok =
            Project_ReadWorld(&world, old, [](const QString&) { return true; }) &&
            Project_WriteWorld(&world, dir.filePath(name + QStringLiteral("_written.zmf")), "maps/out.map");
        Map_DestroyWorld(&world);
        if (!ok) {
            std::fprintf(stderr, "seed %s did not load or write\n", qPrintable(name));
            ++failed;
        }
    }
    return failed ? 1 : 0;
}
