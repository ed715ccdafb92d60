// What the game's compiler reads from a map comes back out of the editor unchanged: each brush's
// faces in the file's order, their points to the last digit, faces that bound nothing, keys with
// an empty name and no origin added to a brushless entity; and a second export, straight or
// through the project format, is the first byte for byte.
#include <QRegularExpression>
#include <cmath>
#include <gtest/gtest.h>

#include "Quake3Fixture.h"
#include "document/ZmfFile.h"
#include "map/FaceOrder.h"

namespace {

// The point triples of every face line, one list per brush, in file order.
QList<QStringList> brushPoints(const QByteArray& text) {
    static const QRegularExpression points(QStringLiteral(R"(^\( [^)]* \) \( [^)]* \) \( [^)]* \))"));
    QList<QStringList> brushes;
    bool inBrush = false;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        const QRegularExpressionMatch m = points.match(line);
        if (m.hasMatch()) {
            if (!inBrush) brushes.append(QStringList());
            inBrush = true;
            brushes.last() << m.captured(0);
        } else {
            inBrush = false;
        }
    }
    return brushes;
}

// The block of the first entity of the class.
QByteArray entityBlock(const QByteArray& text, const QByteArray& classname) {
    const qsizetype at = text.indexOf("\"classname\" \"" + classname + "\"");
    if (at < 0) return {};
    return text.mid(at, text.indexOf("}", at) - at);
}

class MapExactnessTest : public ::testing::Test {
protected:
    // Import of in, export to out, in a world of its own.
    void mapToMap(const QString& in, const QString& out) {
        cImportedWorld w;
        ASSERT_EQ(Quake3_Import(in, &w.world), 1);
        ASSERT_EQ(Quake3_Export(out, &w.world), 1);
    }
    // Import of in, saved as a project, loaded into another world and exported to out.
    void mapToProjectToMap(const QString& in, const QString& out) {
        const QString project = files.path(QStringLiteral("detour.zmf"));
        {
            cImportedWorld w;
            ASSERT_EQ(Quake3_Import(in, &w.world), 1);
            ASSERT_TRUE(Project_WriteWorld(&w.world, project));
        }
        cImportedWorld w;
        ASSERT_TRUE(Project_ReadWorld(&w.world, project));
        ASSERT_EQ(Quake3_Export(out, &w.world), 1);
    }

    cConsoleCapture console;
    cQuake3Files files;
};

TEST_F(MapExactnessTest, EveryFaceIsWrittenInTheFilesOrderWithItsOwnPoints) {
    const QByteArray input = Quake3_Fixture("exactness.map");
    const QString in = files.write(QStringLiteral("in.map"), input);
    for (bool throughProject : {false, true}) {
        SCOPED_TRACE(throughProject ? "map, project, map" : "map, map");
        const QString out = files.path(QStringLiteral("out.map"));
        if (throughProject)
            mapToProjectToMap(in, out);
        else
            mapToMap(in, out);
        const QByteArray written = files.read(out);
        EXPECT_EQ(brushPoints(written), brushPoints(input)) << written.toStdString();
        // The hint brush stays a hint brush: its first face is the hint face.
        EXPECT_TRUE(written.contains("{\n( 0 0 64 ) ( 0 64 64 ) ( 64 0 64 ) common/hint"));
    }
    // The faces that bound nothing are named by entity and brush.
    EXPECT_TRUE(console.contains(QStringLiteral("entity 0, brush 2: 1 face(s) bound nothing")));
}

TEST_F(MapExactnessTest, KeysAreWrittenAsRead) {
    const QString in = files.write(QStringLiteral("in.map"), Quake3_Fixture("exactness.map"));
    for (bool throughProject : {false, true}) {
        SCOPED_TRACE(throughProject ? "map, project, map" : "map, map");
        const QString out = files.path(QStringLiteral("out.map"));
        if (throughProject)
            mapToProjectToMap(in, out);
        else
            mapToMap(in, out);
        const QByteArray written = files.read(out);
        EXPECT_EQ(entityBlock(written, "func_group"), QByteArray("\"classname\" \"func_group\"\n"));
        EXPECT_TRUE(entityBlock(written, "light").contains("\n\"\" \"300\"\n")) << written.toStdString();
    }
}

TEST_F(MapExactnessTest, SecondExportIsTheFirstOnBothRoutes) {
    const QString in = files.write(QStringLiteral("in.map"), Quake3_Fixture("exactness.map"));
    const QString first = files.path(QStringLiteral("first.map"));
    mapToMap(in, first);
    const QString straight = files.path(QStringLiteral("straight.map"));
    mapToMap(first, straight);
    const QString detour = files.path(QStringLiteral("detour.map"));
    mapToProjectToMap(first, detour);
    const QString detourFromOriginal = files.path(QStringLiteral("detour0.map"));
    mapToProjectToMap(in, detourFromOriginal);
    const QString detourTwice = files.path(QStringLiteral("detour1.map"));
    mapToProjectToMap(detourFromOriginal, detourTwice);

    const QByteArray expected = files.read(first);
    EXPECT_EQ(files.read(straight), expected);
    EXPECT_EQ(files.read(detour), expected);
    EXPECT_EQ(files.read(detourFromOriginal), expected);
    EXPECT_EQ(files.read(detourTwice), expected);
}

// A brush whose planes enclose no space (a decompiler writes such) cannot be built, but the
// compiler reads its planes: its entity keeps its face lines and they are written back where the
// brush stood, to the digit, with texture and flags, and add no origin to a group that has no
// other brush.
TEST_F(MapExactnessTest, BrushesEnclosingNoSpaceAreWrittenBackWhereTheyStood) {
    const QByteArray first = "{\n( 0 0 64 ) ( 0 0 0 ) ( 0 64 0 ) a 0 0 0 1 1\n"
                             "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) a 0 0 0 1 1\n"
                             "( 64 0 0 ) ( 0 0 0 ) ( 0 0 64 ) a 0 0 0 1 1\n"
                             "( 0 64 64 ) ( 0 64 0 ) ( 64 64 0 ) a 0 0 0 1 1\n"
                             "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 ) a 0 0 0 1 1\n"
                             "( 64 0 64 ) ( 0 0 64 ) ( 0 64 64 ) a 0 0 0 1 1\n}\n";
    // A floor at z 0 facing down and a top at z -8 facing up.
    const QByteArray empty = "{\n( 0.0010070801 0 64 ) ( 0 0 0 ) ( 0 64 0 ) common/clip 0 0 0 0.5 0.5 1 2 3\n"
                             "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) b 0 0 0 1 1\n"
                             "( 64 0 0 ) ( 0 0 0 ) ( 0 0 64 ) b 0 0 0 1 1\n"
                             "( 0 64 64 ) ( 0 64 0 ) ( 64 64 0 ) b 0 0 0 1 1\n"
                             "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 ) b 0 0 0 1 1\n"
                             "( 64 0 -8 ) ( 0 0 -8 ) ( 0 64 -8 ) b 0 0 0 1 1\n}\n";
    const QByteArray last = "{\n( 128 0 64 ) ( 128 0 0 ) ( 128 64 0 ) c 0 0 0 1 1\n"
                            "( 192 64 0 ) ( 192 0 0 ) ( 192 0 64 ) c 0 0 0 1 1\n"
                            "( 192 0 0 ) ( 128 0 0 ) ( 128 0 64 ) c 0 0 0 1 1\n"
                            "( 128 64 64 ) ( 128 64 0 ) ( 192 64 0 ) c 0 0 0 1 1\n"
                            "( 128 64 0 ) ( 128 0 0 ) ( 192 0 0 ) c 0 0 0 1 1\n"
                            "( 192 0 64 ) ( 128 0 64 ) ( 128 64 64 ) c 0 0 0 1 1\n}\n";
    QByteArray emptyInGroup = empty;
    emptyInGroup.replace("-8", "-16");
    const QByteArray input = "{\n\"classname\" \"worldspawn\"\n" + first + empty + last + "}\n" +
                             "{\n\"classname\" \"func_group\"\n" + emptyInGroup + "}\n";
    const QString in = files.write(QStringLiteral("in.map"), input);
    static const QRegularExpression clipLine(QStringLiteral(
        R"(\n\( 0\.0010070801 0 64 \) \( 0 0 0 \) \( 0 64 0 \) common/clip \[[^\n]* 1 2 3\n)"));
    for (bool throughProject : {false, true}) {
        SCOPED_TRACE(throughProject ? "map, project, map" : "map, map");
        const QString out = files.path(QStringLiteral("out.map"));
        const QString again = files.path(QStringLiteral("again.map"));
        console.clear();
        if (throughProject) {
            mapToProjectToMap(in, out);
            mapToProjectToMap(out, again);
        } else {
            mapToMap(in, out);
            mapToMap(out, again);
        }
        EXPECT_TRUE(console.contains(
            QStringLiteral("entity 0, brush 1: its 6 planes enclose no space; kept to be written back")))
            << console.lines.join('\n').toStdString();
        EXPECT_TRUE(console.contains(
            QStringLiteral("entity 1, brush 0: its 6 planes enclose no space; kept to be written back")));
        const QByteArray written = files.read(out);
        EXPECT_EQ(brushPoints(written), brushPoints(input)) << written.toStdString();
        EXPECT_EQ(QString::fromLatin1(written).count(clipLine), 2) << written.toStdString();
        EXPECT_FALSE(entityBlock(written, "func_group").contains("origin")) << written.toStdString();
        EXPECT_EQ(files.read(again), written);
    }
}

// The axes and shifts written are the ones the compiler derives from the classic line, to the
// digit: a turn of 179.78 degrees leaves -0.9999925 on the axis, which times a coordinate of 1,465
// units is most of a texel; a right angle turns exactly; a shift of 0.00005 is not 0 to the
// compiler, which merges vertices by their texture coordinates.
TEST_F(MapExactnessTest, TextureAxesKeepTheirDigits) {
    const QByteArray text =
        "{\n\"classname\" \"worldspawn\"\n{\n"
        "( 1400 0 64 ) ( 1400 0 0 ) ( 1400 64 0 ) a 0 0 0 1 1\n"
        "( 1464 64 0 ) ( 1464 0 0 ) ( 1464 0 64 ) a 0 0 0 1 1\n"
        "( 1464 0 0 ) ( 1400 0 0 ) ( 1400 0 64 ) turned 279.9 480.1 179.77775574 0.2 0.2\n"
        "( 1400 64 64 ) ( 1400 64 0 ) ( 1464 64 0 ) right 0 0.00004883 90 1 1\n"
        "( 1400 64 0 ) ( 1400 0 0 ) ( 1464 0 0 ) a 0 0 0 1 1\n"
        "( 1464 0 64 ) ( 1400 0 64 ) ( 1400 64 64 ) a 0 0 0 1 1\n}\n}\n";
    const QString out = files.path(QStringLiteral("out.map"));
    mapToMap(files.write(QStringLiteral("in.map"), text), out);
    const QByteArray written = files.read(out);
    auto axes = [&](const char* name) {
        static const QRegularExpression form(
            QStringLiteral(R"(\[ (\S+) (\S+) (\S+) \S+ \] \[ (\S+) (\S+) (\S+) \S+ \])"));
        const qsizetype at = written.indexOf(QByteArray(" ") + name + " [");
        const QRegularExpressionMatch m = form.match(QString::fromLatin1(written.mid(at)));
        std::vector<double> numbers;
        for (int i = 1; m.hasMatch() && i <= 6; ++i)
            numbers.push_back(m.captured(i).toDouble());
        return numbers;
    };
    // The south wall's axes (1 0 0) and (0 0 -1), turned as the compiler turns them.
    const double angle = double(179.77775574f) / 180 * M_PI;
    const float c = float(std::cos(angle)), s = float(std::sin(angle));
    const std::vector<double> turned = axes("turned");
    ASSERT_EQ(turned.size(), 6u) << written.toStdString();
    EXPECT_NE(turned[0], -1.0);
    const double expected[6] = {c, 0, s, s, 0, -c};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(turned[i], expected[i], 1e-7) << i << "\n" << written.toStdString();
    const std::vector<double> right = axes("right");
    ASSERT_EQ(right.size(), 6u) << written.toStdString();
    EXPECT_EQ(right, (std::vector<double>{0, 0, 1, 1, 0, 0})) << written.toStdString();
    EXPECT_TRUE(written.contains(" right [ 0 0 1 0 ] [ 1 0 0 4.883e-05 ]")) << written.toStdString();
}

// A clipped brush's pieces keep the faces in the file's order, the new cap after them.
TEST_F(MapExactnessTest, FacesTheEditorAddsComeAfterTheFilesFaces) {
    cImportedWorld w;
    ASSERT_EQ(Quake3_Import(files.write(QStringLiteral("in.map"), Quake3_Fixture("exactness.map")), &w.world),
              1);
    BrushRecord* hint = w.world.entities->firstBrush;
    ASSERT_NE(hint, nullptr);
    const BrushPlane plane = {{1, 0, 0}, 32, 0};
    BrushRecord* front = nullptr;
    BrushRecord* back = nullptr;
    hint->handle->split(&plane, &front, &back);
    for (BrushRecord* piece : {front, back}) {
        ASSERT_NE(piece, nullptr);
        const std::vector<FaceRecord*> faces = Brush_FacesInFileOrder(piece);
        ASSERT_EQ(faces.size(), 6u);
        EXPECT_STREQ(faces.front()->texInfo.name, "common/hint");
        EXPECT_EQ(std::fabs(faces.back()->normal[0]), 1.0f);
        EXPECT_EQ(std::fabs(faces.back()->dist), 32.0f);
    }
}

} // namespace
