// makesamplegame SAMPLES BIN: builds the sample Quake III game beside the program. Textures are
// drawn here (TGA and JPEG) and packed with the effect script into BIN/sample/baseq3/pak0.pk3 (TGA
// and script deflated, JPEG stored); the entity definitions, the script and the map are copied
// beside it, and BIN/KDKGameCfg.ini gets one enabled configuration for the folder: the settings a
// first start copies.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <jpeglib.h>

#include "../tests/tools/support/Pk3Writer.h"

namespace {

struct Rgba {
    uint8_t r, g, b, a;
};
using Pattern = std::function<Rgba(int x, int y)>;

QByteArray tga(int size, bool alpha, const Pattern& pattern) {
    QByteArray b;
    const char header[18] = {0,
                             0,
                             2,
                             0,
                             0,
                             0,
                             0,
                             0,
                             0,
                             0,
                             0,
                             0,
                             char(size & 0xFF),
                             char(size >> 8),
                             char(size & 0xFF),
                             char(size >> 8),
                             char(alpha ? 32 : 24),
                             char(alpha ? 0x28 : 0x20)};
    b.append(header, 18);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const Rgba c = pattern(x, y);
            b.append(char(c.b)).append(char(c.g)).append(char(c.r));
            if (alpha) b.append(char(c.a));
        }
    return b;
}

QByteArray jpeg(int size, const Pattern& pattern) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = size;
    info.image_height = size;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    QByteArray row(size * 3, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Rgba c = pattern(x, y);
            row[x * 3] = char(c.r);
            row[x * 3 + 1] = char(c.g);
            row[x * 3 + 2] = char(c.b);
        }
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row.data())};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray data(reinterpret_cast<const char*>(out), qsizetype(outSize));
    std::free(out);
    return data;
}

uint8_t clamp8(float v) {
    return uint8_t(std::lround(std::fmin(255.0f, std::fmax(0.0f, v))));
}
Rgba shade(Rgba c, float f) {
    return {clamp8(c.r * f), clamp8(c.g * f), clamp8(c.b * f), c.a};
}
// A cheap repeatable noise 0..1.
float noise(int x, int y, int seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return float(h & 0xFFFF) / 65535.0f;
}

Pattern bricks(Rgba base, int w, int h) {
    return [=](int x, int y) {
        const int row = y / h;
        const int bx = (x + (row % 2) * w / 2) % w;
        const bool mortar = y % h < 2 || bx < 2;
        return mortar ? Rgba{90, 88, 80, 255} : shade(base, 0.8f + 0.3f * noise(x / 2, y / 2, row));
    };
}
Pattern planks(Rgba base) {
    return [=](int x, int y) {
        const bool gap = y % 32 < 2;
        const float grain = 0.85f + 0.15f * std::sin(x * 0.15f + (y / 32) * 1.7f) + 0.1f * noise(x, y, 3);
        return gap ? Rgba{40, 25, 15, 255} : shade(base, grain);
    };
}
Pattern tiles(Rgba a, Rgba b) {
    return [=](int x, int y) {
        const bool edge = x % 64 < 2 || y % 64 < 2;
        const Rgba c = ((x / 64 + y / 64) % 2) ? a : b;
        return edge ? Rgba{30, 30, 30, 255} : shade(c, 0.9f + 0.2f * noise(x / 4, y / 4, 7));
    };
}
Pattern stripes(Rgba a, Rgba b, uint8_t alpha) {
    return [=](int x, int y) {
        Rgba c = ((x + y) / 16) % 2 ? a : b;
        c.a = alpha;
        return c;
    };
}
Pattern waves(Rgba base, float phase) {
    return [=](int x, int y) {
        const float f = 0.7f + 0.3f * std::sin(x * 0.1f + phase) * std::cos(y * 0.08f - phase);
        return shade(base, f);
    };
}
Pattern sky() {
    return [](int x, int y) {
        const float cloud = 0.5f * noise(x / 8, y / 8, 11) + 0.5f * noise(x / 3, y / 3, 12);
        return cloud > 0.75f ? Rgba{230, 230, 240, 255} : Rgba{70, 110, uint8_t(180 + y / 8), 255};
    };
}

void put32(QByteArray& b, int32_t v) {
    for (int i = 0; i < 4; ++i)
        b.append(char((uint32_t(v) >> (8 * i)) & 0xFF));
}
void putFloat(QByteArray& b, float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    put32(b, int32_t(bits));
}
void putName(QByteArray& b, const QByteArray& name, int size) {
    b.append(name.left(size - 1));
    b.append(QByteArray(size - name.left(size - 1).size(), '\0'));
}

// A one-frame MD3 of a box half x half x height around the origin, drawn with effect: enough for
// the editor to show the item where the game would.
QByteArray md3Box(const QByteArray& effect, float half, float height) {
    const float corners[8][3] = {{-half, -half, 0},    {half, -half, 0},       {half, half, 0},
                                 {-half, half, 0},     {-half, -half, height}, {half, -half, height},
                                 {half, half, height}, {-half, half, height}};
    const int triangles[12][3] = {{0, 2, 1}, {0, 3, 2}, {4, 5, 6}, {4, 6, 7}, {0, 1, 5}, {0, 5, 4},
                                  {1, 2, 6}, {1, 6, 5}, {2, 3, 7}, {2, 7, 6}, {3, 0, 4}, {3, 4, 7}};
    constexpr int kHeader = 108, kFrame = 56, kSurfaceHeader = 108, kShader = 68;
    const int surfaceSize = kSurfaceHeader + kShader + 12 * 12 + 8 * 8 + 8 * 8;
    QByteArray b("IDP3");
    put32(b, 15);
    putName(b, "sample", 64);
    for (int32_t v :
         {0, 1, 0, 1, 0, kHeader, kHeader + kFrame, kHeader + kFrame, kHeader + kFrame + surfaceSize})
        put32(b, v);
    for (float v : {-half, -half, 0.0f, half, half, height, 0.0f, 0.0f, 0.0f, half + height})
        putFloat(b, v);
    putName(b, "frame0", 16);
    b.append("IDP3");
    putName(b, "box", 64);
    for (int32_t v :
         {0, 1, 1, 8, 12, kSurfaceHeader + kShader, kSurfaceHeader, kSurfaceHeader + kShader + 12 * 12,
          kSurfaceHeader + kShader + 12 * 12 + 8 * 8, surfaceSize})
        put32(b, v);
    putName(b, effect, 64);
    put32(b, 0);
    for (const auto& t : triangles)
        for (int v : t)
            put32(b, v);
    for (const auto& c : corners) {
        putFloat(b, c[0] > 0 ? 1.0f : 0.0f);
        putFloat(b, c[1] + c[2] > 0 ? 1.0f : 0.0f);
    }
    for (const auto& c : corners) {
        for (float v : c) {
            const int16_t fixed = int16_t(std::lround(v * 64.0f));
            b.append(char(fixed & 0xFF)).append(char((fixed >> 8) & 0xFF));
        }
        b.append(char(0)).append(char(0));
    }
    return b;
}

// The models the entity definitions name ("studio(...)"), so that the sample ships each.
QStringList definitionModels(const QString& samples) {
    QStringList models;
    static const QRegularExpression quoted(QStringLiteral("\"([^\"]+\\.md3)\""));
    for (const char* fgd : {"q3entities.fgd", "q3base.fgd"}) {
        QFile file(samples + QStringLiteral("/quake3/") + QLatin1String(fgd));
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto it = quoted.globalMatch(text); it.hasNext();)
            models << it.next().captured(1);
    }
    models.removeDuplicates();
    return models;
}

bool writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        std::fprintf(stderr, "makesamplegame: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool copyFile(const QString& from, const QString& to) {
    QFile file(from);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "makesamplegame: cannot read %s\n", qPrintable(from));
        return false;
    }
    return writeFile(to, file.readAll());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: makesamplegame SAMPLES BIN\n");
        return 64;
    }
    const QString samples = QFile::decodeName(argv[1]);
    const QString bin = QDir(QFile::decodeName(argv[2])).absolutePath();
    const QString base = bin + QStringLiteral("/sample/baseq3");
    const QByteArray shader = [&] {
        QFile f(samples + QStringLiteral("/quake3/scripts/sample.shader"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    if (shader.isEmpty()) {
        std::fprintf(stderr, "makesamplegame: no effect script under %s\n", qPrintable(samples));
        return 1;
    }

    QList<Pk3Entry> entries = {
        {"textures/common/caulk.tga",
         tga(64, false, stripes({200, 120, 200, 255}, {160, 90, 160, 255}, 255))},
        {"textures/common/trigger.tga",
         tga(64, true, stripes({230, 140, 30, 255}, {200, 110, 20, 255}, 128))},
        {"textures/gothic_block/blocks11b.jpg", jpeg(256, bricks({150, 110, 80, 255}, 64, 32)), 0},
        {"textures/gothic_ceiling/woodceiling1a.jpg", jpeg(256, planks({140, 95, 55, 255})), 0},
        {"textures/gothic_floor/largerblock3b3dim.tga",
         tga(256, false, tiles({120, 120, 125, 255}, {95, 95, 100, 255}))},
        {"textures/sample/metal.tga", tga(128, false, tiles({140, 150, 160, 255}, {120, 130, 140, 255})), 0},
        {"textures/sample/glass.tga", tga(64, true, stripes({150, 200, 230, 255}, {120, 180, 220, 255}, 96))},
        {"textures/sample/slime1.jpg", jpeg(128, waves({60, 200, 60, 255}, 0.0f)), 0},
        {"textures/sample/slime2.jpg", jpeg(128, waves({60, 200, 60, 255}, 1.5f)), 0},
        {"textures/sample/sky.jpg", jpeg(256, sky()), 0},
        {"scripts/sample.shader", shader},
    };
    // Weapons long and low, items small cubes.
    for (const QString& model : definitionModels(samples)) {
        const bool weapon = model.contains(QStringLiteral("weapons"));
        entries.append(
            {model.toUtf8(), md3Box("textures/sample/metal", weapon ? 12.0f : 8.0f, weapon ? 6.0f : 16.0f)});
    }
    bool ok = writeFile(base + QStringLiteral("/pak0.pk3"), Pk3Build(entries));
    ok = ok && writeFile(base + QStringLiteral("/scripts/sample.shader"), shader);
    for (const char* fgd : {"q3entities.fgd", "q3base.fgd"})
        ok = ok && copyFile(samples + QStringLiteral("/quake3/") + QLatin1String(fgd),
                            base + QLatin1Char('/') + QLatin1String(fgd));
    ok = ok &&
         copyFile(samples + QStringLiteral("/maps/sample.map"), base + QStringLiteral("/maps/sample.map"));

    // The game folder alone: its effect scripts and texture folders are found there.
    const QString config = QStringLiteral("[Config0]\n"
                                          "Title=Sample Quake III\n"
                                          "Enabled=true\n"
                                          "MapProfile=kpQuake3\n"
                                          "GameBasedir=%1\n"
                                          "GameData0=%1/q3entities.fgd\n")
                               .arg(base);
    ok = ok && writeFile(bin + QStringLiteral("/KDKGameCfg.ini"), config.toUtf8());
    return ok ? 0 : 1;
}
