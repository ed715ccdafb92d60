// A large Quake III map made from a seed, for benchmarks and round-trip tests: prisms of 5 to 9
// faces (classic texture lines and brush primitives alternating), patches of odd sizes 3..9 and
// point entities with key/values. The same seed gives the same text.
#pragma once

#include <QByteArray>
#include <cmath>
#include <cstdint>

struct Quake3MapSize {
    int brushes = 2400;
    int patches = 300;
    int entities = 2300;
};

class cQuake3MapGenerator {
public:
    explicit cQuake3MapGenerator(uint32_t seed = 12345) : state(seed) {}

    QByteArray generate(const Quake3MapSize& size = {}) {
        out.clear();
        out.reserve(2 << 20);
        out += "// generated map: classic texture lines and brush primitives, no \"mapversion\"\n{\n"
               "\"classname\" \"worldspawn\"\n\"message\" \"generated\"\n";
        // Most brushes are world brushes; every 200th starts a func_group of its own below.
        int world = size.brushes - size.brushes / 200;
        for (int i = 0; i < world; ++i)
            prism(i);
        for (int i = 0; i < size.patches; ++i)
            patch(i);
        out += "}\n";
        for (int i = world; i < size.brushes; ++i) {
            out += "{\n\"classname\" \"func_group\"\n";
            prism(i);
            out += "}\n";
        }
        for (int i = 0; i < size.entities; ++i)
            entity(i);
        return out;
    }

private:
    uint32_t state;
    QByteArray out;

    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int range(int lo, int hi) { return lo + int(next() % uint32_t(hi - lo + 1)); }
    void num(double v) {
        out += QByteArray::number(v, 'g', 8);
        out += ' ';
    }
    void point(const double p[3]) {
        out += "( ";
        for (int i = 0; i < 3; ++i)
            num(p[i]);
        out += ") ";
    }
    void face(const double a[3], const double b[3], const double c[3], bool primitive, int index) {
        point(a);
        point(b);
        point(c);
        static const char* textures[] = {"base_wall/concrete", "base_floor/tile", "gothic_block/blocks11b",
                                         "common/caulk", "base_trim/pewter"};
        const char* texture = textures[index % 5];
        if (primitive) {
            out += "( ( 0.0078125 0 ";
            num(range(-64, 64));
            out += ") ( 0 0.0078125 ";
            num(range(-64, 64));
            out += ") ) ";
            out += texture;
            out += index % 7 == 0 ? " 134217728 0 0\n" : "\n";
        } else {
            out += texture;
            out += ' ';
            num(range(-32, 32));
            num(range(-32, 32));
            num(range(0, 3) * 90);
            out += "0.5 0.5";
            out += index % 7 == 0 ? " 134217728 16 0\n" : "\n";
        }
    }
    // A k-sided prism (k = 3..7, so 5..9 faces) with whole-unit corners.
    void prism(int index) {
        const int k = 3 + index % 5;
        const bool primitive = index % 2 == 1;
        const double cx = range(-4000, 4000), cy = range(-4000, 4000);
        const double z0 = range(-1000, 1000), z1 = z0 + range(16, 256);
        const double r = range(32, 128);
        double v[7][2];
        for (int i = 0; i < k; ++i) {
            const double angle = 2 * 3.14159265358979 * i / k;
            v[i][0] = cx + std::round(r * std::cos(angle));
            v[i][1] = cy + std::round(r * std::sin(angle));
        }
        out += "{\n";
        if (primitive) out += "brushDef\n{\n";
        for (int i = 0; i < k; ++i) {
            const double* p = v[i];
            const double* q = v[(i + 1) % k];
            const double a[3] = {q[0], q[1], z0}, b[3] = {p[0], p[1], z0}, c[3] = {p[0], p[1], z1};
            face(a, b, c, primitive, index + i);
        }
        const double t0[3] = {v[1][0], v[1][1], z1}, t1[3] = {v[0][0], v[0][1], z1},
                     t2[3] = {v[2][0], v[2][1], z1};
        face(t0, t1, t2, primitive, index + k);
        const double b0[3] = {v[2][0], v[2][1], z0}, b1[3] = {v[0][0], v[0][1], z0},
                     b2[3] = {v[1][0], v[1][1], z0};
        face(b0, b1, b2, primitive, index + k + 1);
        if (primitive) out += "}\n";
        out += "}\n";
    }
    void patch(int index) {
        const int width = 3 + 2 * range(0, 3), height = 3 + 2 * range(0, 3);
        const double x = range(-4000, 4000), y = range(-4000, 4000), z = range(-1000, 1000);
        out += "{\npatchDef2\n{\nbase_trim/pewter\n( ";
        out += QByteArray::number(width) + " " + QByteArray::number(height) + " 0 0 0 )\n(\n";
        for (int i = 0; i < width; ++i) {
            out += "( ";
            for (int j = 0; j < height; ++j) {
                out += "( ";
                num(x + i * 16);
                num(y + j * 16);
                num(z + range(0, 8) * 0.5);
                num(i / double(width - 1));
                num(j / double(height - 1));
                out += ") ";
            }
            out += ")\n";
        }
        out += ")\n}\n}\n";
        (void)index;
    }
    void entity(int index) {
        static const char* classes[] = {"light", "info_player_deathmatch", "item_health",
                                        "weapon_rocketlauncher", "target_speaker"};
        out += "{\n\"classname\" \"";
        out += classes[index % 5];
        out += "\"\n\"origin\" \"";
        out += QByteArray::number(range(-4000, 4000)) + " " + QByteArray::number(range(-4000, 4000)) + " " +
               QByteArray::number(range(-1000, 1000));
        out += "\"\n";
        const int keys = range(1, 4);
        for (int k = 0; k < keys; ++k)
            out += "\"key" + QByteArray::number(k) + "\" \"value " + QByteArray::number(range(0, 99999)) +
                   "\"\n";
        if (index % 3 == 0) out += "\"angle\" \"" + QByteArray::number(range(0, 359)) + "\"\n";
        out += "}\n";
    }
};
