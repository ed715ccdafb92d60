// A large Quake III map made from a seed, for benchmarks and round-trip tests: prisms of 5 to 9
// faces (classic texture lines and brush primitives alternating), patches of odd sizes 3..9 and
// point entities with key/values. On request also tilted brushes (no plane axial, points with
// fractions, corners cut off) and key values with fractions. The same seed gives the same text.
#pragma once

#include <QByteArray>
#include <cmath>
#include <cstdint>

struct Quake3MapSize {
    int brushes = 2400;
    int patches = 300;
    int entities = 2300;
    int tiltedBrushes = 0;  // world brushes of 6 tilted sides and 1 or 2 cut corners
    bool fractions = false; // entity origins, angles and colours with fractions
};

class cQuake3MapGenerator {
public:
    explicit cQuake3MapGenerator(uint32_t seed = 12345) : state(seed) {}

    QByteArray generate(const Quake3MapSize& size = {}) {
        out.clear();
        out.reserve(2 << 20);
        faces = 0;
        out += "// generated map: classic texture lines and brush primitives, no \"mapversion\"\n{\n"
               "\"classname\" \"worldspawn\"\n\"message\" \"generated\"\n";
        // Most brushes are world brushes; every 200th starts a func_group of its own below.
        int world = size.brushes - size.brushes / 200;
        for (int i = 0; i < world; ++i)
            prism(i);
        for (int i = 0; i < size.patches; ++i)
            patch(i);
        for (int i = 0; i < size.tiltedBrushes; ++i)
            tilted(i);
        out += "}\n";
        for (int i = world; i < size.brushes; ++i) {
            out += "{\n\"classname\" \"func_group\"\n";
            prism(i);
            out += "}\n";
        }
        for (int i = 0; i < size.entities; ++i)
            entity(i, size.fractions);
        return out;
    }

    // Brush faces the last generate() wrote.
    int faceCount() const { return faces; }

private:
    uint32_t state;
    QByteArray out;
    int faces = 0;

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
        ++faces;
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
    double fraction() { return range(0, 9999) / 10000.0; }
    void numbers(std::initializer_list<double> values) {
        bool first = true;
        for (double v : values) {
            if (!first) out += ' ';
            out += QByteArray::number(v, 'g', 9);
            first = false;
        }
    }
    // A box of half sizes h around c whose six sides lean by up to a tenth each way, with one or
    // two corners cut off 0.6 of the way out; every point written with its fractions.
    void tilted(int index) {
        const double c[3] = {range(-4000, 4000) + fraction(), range(-4000, 4000) + fraction(),
                             range(-1000, 1000) + fraction()};
        const double h[3] = {range(16, 128) + fraction(), range(16, 128) + fraction(),
                             range(16, 96) + fraction()};
        struct Side {
            double normal[3];
            double point[3];
        };
        Side sides[8];
        int count = 0;
        auto unit = [](double v[3]) {
            const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
            for (int i = 0; i < 3; ++i)
                v[i] /= length;
        };
        for (int axis = 0; axis < 3; ++axis)
            for (int sign = -1; sign <= 1; sign += 2) {
                Side& side = sides[count++];
                for (int i = 0; i < 3; ++i) {
                    side.normal[i] = i == axis ? sign : (range(-100, 100) + 1) / 1000.0; // never 0
                    side.point[i] = c[i] + (i == axis ? sign * h[i] : 0.0);
                }
                unit(side.normal);
            }
        const int cuts = 1 + index % 2;
        for (int k = 0; k < cuts; ++k) {
            Side& side = sides[count++];
            const double corner[3] = {k ? -1.0 : 1.0, index % 4 < 2 ? 1.0 : -1.0, k ? 1.0 : -1.0};
            for (int i = 0; i < 3; ++i) {
                side.normal[i] = corner[i] / h[i] * 64 + range(-100, 100) / 1000.0;
                side.point[i] = c[i] + 0.6 * corner[i] * h[i];
            }
            unit(side.normal);
        }
        out += "{\n";
        for (int k = 0; k < count; ++k) {
            const Side& side = sides[k];
            // Two directions along the side, u × v along its normal.
            const double* n = side.normal;
            double a[3] = {0, 0, 0};
            a[std::fabs(n[0]) < std::fabs(n[1]) ? (std::fabs(n[0]) < std::fabs(n[2]) ? 0 : 2)
                                                : (std::fabs(n[1]) < std::fabs(n[2]) ? 1 : 2)] = 1;
            double u[3] = {n[1] * a[2] - n[2] * a[1], n[2] * a[0] - n[0] * a[2], n[0] * a[1] - n[1] * a[0]};
            unit(u);
            const double v[3] = {n[1] * u[2] - n[2] * u[1], n[2] * u[0] - n[0] * u[2],
                                 n[0] * u[1] - n[1] * u[0]};
            const double length = range(24, 64) + fraction();
            double p0[3], p2[3];
            for (int i = 0; i < 3; ++i) {
                p0[i] = side.point[i] + u[i] * length;
                p2[i] = side.point[i] + v[i] * length;
            }
            point(p0);
            point(side.point);
            point(p2);
            ++faces;
            out += "base_wall/concrete ";
            numbers({range(-64, 64) + fraction(), range(-64, 64) + fraction(), range(0, 359) + fraction(),
                     0.25 + range(0, 100) / 64.0, 0.25 + range(0, 100) / 64.0});
            out += k == 0 && index % 3 == 0 ? " 134217728 0 0\n" : "\n";
        }
        out += "}\n";
    }
    void entity(int index, bool fractions = false) {
        static const char* classes[] = {"light", "info_player_deathmatch", "item_health",
                                        "weapon_rocketlauncher", "target_speaker"};
        out += "{\n\"classname\" \"";
        out += classes[index % 5];
        out += "\"\n\"origin\" \"";
        if (fractions)
            numbers({range(-4000, 4000) + fraction(), range(-4000, 4000) + fraction(),
                     range(-1000, 1000) + fraction()});
        else
            out += QByteArray::number(range(-4000, 4000)) + " " + QByteArray::number(range(-4000, 4000)) +
                   " " + QByteArray::number(range(-1000, 1000));
        out += "\"\n";
        if (fractions) {
            out += "\"_color\" \"";
            numbers({fraction(), fraction(), fraction()});
            out += "\"\n\"angles\" \"";
            numbers({range(-90, 90) + fraction(), range(0, 359) + fraction(), 0});
            out += "\"\n";
        }
        const int keys = range(1, 4);
        for (int k = 0; k < keys; ++k)
            out += "\"key" + QByteArray::number(k) + "\" \"value " + QByteArray::number(range(0, 99999)) +
                   "\"\n";
        if (index % 3 == 0) out += "\"angle\" \"" + QByteArray::number(range(0, 359)) + "\"\n";
        out += "}\n";
    }
};
