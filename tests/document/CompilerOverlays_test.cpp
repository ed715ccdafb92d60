#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "TestWorld.h"
#include "core/Winding.h"
#include "document/CompilerOverlays.h"

namespace {

enum class Reader { Pointfile, Portals, Hulls };

struct ReaderCase {
    const char* file;
    Reader reader;
    int32_t loaded;                    // points, portals or surfaces afterwards
    std::vector<std::string> messages; // "%PATH%" stands for the file's path
};

// Every message of the three readers, each from a fixture; every warning names the file. The file is read as
// stored (LF) and as a CRLF copy.
const ReaderCase kCases[] = {
    {"pointfile_one.lin", Reader::Pointfile, 1, {"Loading: \"%PATH%\"", "1 points read"}},
    {"pointfile_text.pts", Reader::Pointfile, 3, {"Loading: \"%PATH%\"", "3 points read"}},
    {"pointfile_empty.lin", Reader::Pointfile, 0, {"Loading: \"%PATH%\"", "%PATH%: pointfile is empty"}},
    {"missing.lin",
     Reader::Pointfile,
     0,
     {"Loading: \"%PATH%\"", "can't open \"%PATH%\" (No such file or directory)"}},
    {"portals.prt", Reader::Portals, 2, {"Loading: \"%PATH%\"", "2 portals read"}},
    {"portals_noheader.prt", Reader::Portals, 2, {"Loading: \"%PATH%\"", "2 portals read"}},
    {"portals_corrupt.prt",
     Reader::Portals,
     1,
     {"Loading: \"%PATH%\"", "%PATH%: portal file is corrupt ( nPoints = 2 )", "1 portals read"}},
    {"portals_negative.prt",
     Reader::Portals,
     1,
     {"Loading: \"%PATH%\"", "%PATH%: portal file is corrupt ( nPoints = -1 )", "1 portals read"}},
    {"portals_oversized.prt",
     Reader::Portals,
     1,
     {"Loading: \"%PATH%\"", "%PATH%: portal file is corrupt ( nPoints = 129 )", "1 portals read"}},
    {"portals_missing.prt",
     Reader::Portals,
     1,
     {"Loading: \"%PATH%\"", "%PATH%: portal file is incomplete", "1 portals read"}},
    {"portals_badpoint.prt",
     Reader::Portals,
     1,
     {"Loading: \"%PATH%\"", "%PATH%: portal file is incomplete", "1 portals read"}},
    {"portals_empty.prt", Reader::Portals, 0, {"Loading: \"%PATH%\"", "%PATH%: portal file is empty"}},
    // The portal count is read in decimal: "0x2" counts as 0.
    {"portals_hexcount.prt", Reader::Portals, 0, {"Loading: \"%PATH%\"", "%PATH%: portal file is empty"}},
    {"portals_short.prt", Reader::Portals, 0, {"Loading: \"%PATH%\"", "error reading \"%PATH%\""}},
    {"missing.prt",
     Reader::Portals,
     0,
     {"Loading: \"%PATH%\"", "can't open \"%PATH%\" (No such file or directory)"}},
    {"hulls.p0", Reader::Hulls, 2, {"Loading: \"%PATH%\"", "2 surfaces read"}},
    {"hulls_corrupt.p1",
     Reader::Hulls,
     1,
     {"Loading: \"%PATH%\"", "%PATH%: hull file is corrupt ( nPoints = 2 )", "1 surfaces read"}},
    {"hulls_negative.p1",
     Reader::Hulls,
     1,
     // A negative count is reported as corrupt rather than ending the file silently.
     {"Loading: \"%PATH%\"", "%PATH%: hull file is corrupt ( nPoints = -1 )", "1 surfaces read"}},
    {"hulls_missing.p2",
     Reader::Hulls,
     0,
     {"Loading: \"%PATH%\"", "%PATH%: hull file is incomplete", "0 surfaces read"}},
    {"hulls_badpoint.p2",
     Reader::Hulls,
     0,
     {"Loading: \"%PATH%\"", "%PATH%: hull file is incomplete", "0 surfaces read"}},
    {"hulls_header.p3",
     Reader::Hulls,
     0,
     {"Loading: \"%PATH%\"", "%PATH%: hull file is incomplete", "0 surfaces read"}},
    {"missing.p0",
     Reader::Hulls,
     0,
     {"Loading: \"%PATH%\"", "can't open \"%PATH%\" (No such file or directory)"}},
};

int32_t windingCount(const cWinding* w) {
    int32_t n = 0;
    for (; w; w = w->next)
        ++n;
    return n;
}

class CompilerOverlaysTest : public ::testing::Test {
protected:
    cConsoleCapture console;
    cTestWorld t;
    MapWorld* w = &t.world;
    QTemporaryDir temp;

    ~CompilerOverlaysTest() override { Map_UnloadCompilerOverlays(w); }

    static std::string fixture(const char* name) { return std::string(ZARV_TEST_DATA_DIR) + "/" + name; }

    // A copy of the fixture with CRLF line ends; a missing fixture stays missing.
    std::string crlfCopy(const char* name) {
        const std::string out = (temp.path() + "/" + name).toStdString();
        QFile in(QString::fromStdString(fixture(name)));
        if (!in.open(QIODevice::ReadOnly)) return out;
        QByteArray data = in.readAll();
        data.replace("\n", "\r\n");
        writeFile(out, data);
        return out;
    }
    static void writeFile(const std::string& path, const QByteArray& data) {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    int32_t load(Reader reader, const std::string& path) {
        switch (reader) {
        case Reader::Pointfile:
            return Map_LoadPointfile(w, path.c_str());
        case Reader::Portals:
            return Map_LoadPortalFile(w, path.c_str(), kPortalFormatPrt1);
        case Reader::Hulls:
            return Map_LoadHullFile(w, path.c_str());
        }
        return -1;
    }
    int32_t loaded(Reader reader) const {
        switch (reader) {
        case Reader::Pointfile:
            return Map_PointfileCount(w);
        case Reader::Portals:
            return windingCount(Map_Portals(w));
        case Reader::Hulls:
            return windingCount(Map_Hulls(w));
        }
        return -1;
    }
};

TEST_F(CompilerOverlaysTest, EveryMessageFromFixturesWithLfAndCrlf) {
    ASSERT_TRUE(temp.isValid());
    for (const ReaderCase& c : kCases) {
        for (const bool crlf : {false, true}) {
            const std::string path = crlf ? crlfCopy(c.file) : fixture(c.file);
            SCOPED_TRACE(path);
            console.clear();
            EXPECT_EQ(load(c.reader, path), c.loaded);
            EXPECT_EQ(loaded(c.reader), c.loaded);
            for (std::string message : c.messages) {
                for (size_t at; (at = message.find("%PATH%")) != std::string::npos;)
                    message.replace(at, 6, path);
                EXPECT_TRUE(console.contains(QString::fromStdString(message))) << message;
            }
            EXPECT_EQ(console.lines.size(), qsizetype(c.messages.size()))
                << console.lines.join("\n").toStdString();
        }
    }
}

TEST_F(CompilerOverlaysTest, PointfileColoursTheTraceByPathLength) {
    ASSERT_EQ(Map_LoadPointfile(w, fixture("pointfile_text.pts").c_str()), 3);
    const PointfilePoint* p = Map_PointfilePoints(w);
    // Point j takes the length up to point j - 1 (20 in all): 0, 0, 10.
    const uint8_t expected[3][4] = {{255, 0, 0, 255}, {255, 0, 0, 255}, {127, 0, 127, 255}};
    for (int j = 0; j < 3; ++j) {
        SCOPED_TRACE(j);
        EXPECT_EQ(p[j].xyz[0], 10.0f * j);
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(p[j].color[c], expected[j][c]);
    }

    ASSERT_EQ(Map_LoadPointfile(w, fixture("pointfile_one.lin").c_str()), 1);
    p = Map_PointfilePoints(w);
    EXPECT_EQ(p[0].xyz[0], 64.0f);
    EXPECT_EQ(p[0].xyz[2], -32.0f);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(p[0].color[c], 0); // one point: no length, so black
    EXPECT_EQ(p[0].color[3], 255);

    Map_UnloadPointfile(w);
    EXPECT_EQ(Map_PointfileCount(w), 0);
    EXPECT_EQ(Map_PointfilePoints(w), nullptr);
}

TEST_F(CompilerOverlaysTest, PortalsAreListedNewestFirstWithTheirPoints) {
    ASSERT_EQ(Map_LoadPortalFile(w, fixture("portals.prt").c_str(), kPortalFormatPrt1), 2);
    const cWinding* second = Map_Portals(w);
    ASSERT_EQ(second->count, 3);
    EXPECT_EQ(second->points[1][0], 8.0f);
    EXPECT_EQ(second->points[1][1], 32.0f);
    const cWinding* first = second->next;
    ASSERT_EQ(first->count, 4);
    EXPECT_EQ(first->points[3][2], 64.0f);
    EXPECT_EQ(first->next, nullptr);
}

TEST_F(CompilerOverlaysTest, UnknownFormatAndFailedOpenStillDropTheLoadedPortals) {
    for (const int32_t format : {0, 2}) {
        ASSERT_EQ(Map_LoadPortalFile(w, fixture("portals.prt").c_str(), kPortalFormatPrt1), 2);
        console.clear();
        EXPECT_EQ(Map_LoadPortalFile(w, fixture("portals.prt").c_str(), format), 0);
        EXPECT_TRUE(console.contains(QString("unknown portal file format (%1)").arg(format)));
        EXPECT_EQ(Map_Portals(w), nullptr);
    }
    ASSERT_EQ(Map_LoadPortalFile(w, fixture("portals.prt").c_str(), kPortalFormatPrt1), 2);
    const int32_t pooled = cWinding::PooledCount();
    EXPECT_EQ(Map_LoadPortalFile(w, fixture("missing.prt").c_str(), kPortalFormatPrt1), 0);
    EXPECT_EQ(Map_Portals(w), nullptr);
    EXPECT_EQ(cWinding::PooledCount(), pooled + 2); // back in the pool
}

TEST_F(CompilerOverlaysTest, LongPortalLinesAndLoosePortalsRead) {
    // 128 points make a line of several thousand characters; a blank line between portals.
    std::string text = "PRT1\n10\n3\n128 0 1";
    for (int i = 0; i < 128; ++i)
        text += " (" + std::to_string(i) + ".123456 -1234.567890 98765.4321 )";
    text += "\n\n3 1 2 (0 0 0 ) (1 0 0 ) (1 1 0 )\n3 1 2 (0 0 7 ) (1 0 7 ) (1 1 7 )";
    const std::string path = (temp.path() + "/long.prt").toStdString();
    writeFile(path, QByteArray::fromStdString(text));
    ASSERT_EQ(Map_LoadPortalFile(w, path.c_str(), kPortalFormatPrt1), 3);
    const cWinding* last = Map_Portals(w);
    EXPECT_EQ(last->points[0][2], 7.0f);
    const cWinding* big = last->next->next;
    ASSERT_EQ(big->count, 128);
    EXPECT_FLOAT_EQ(big->points[127][0], 127.123456f);
}

TEST_F(CompilerOverlaysTest, HullHeaderTakesItsLastNumberAsPointCount) {
    ASSERT_EQ(Map_LoadHullFile(w, fixture("hulls.p0").c_str()), 2);
    const cWinding* four = Map_Hulls(w); // "1 2 3 4": four numbers, the fourth
    ASSERT_EQ(four->count, 4);
    EXPECT_EQ(four->points[3][1], 64.0f);
    const cWinding* three = four->next; // "0 0 0 0 3": five numbers, the fifth
    ASSERT_EQ(three->count, 3);
    EXPECT_EQ(three->points[2][0], 64.0f);
    Map_UnloadHulls(w);
    EXPECT_EQ(Map_Hulls(w), nullptr);
}

TEST_F(CompilerOverlaysTest, NonFiniteNumbersAreNotPoints) {
    const std::string path = (temp.path() + "/nan.lin").toStdString();
    writeFile(path, "0 0 0\n1 0 0\nnan 0 0\n2 0 0\n");
    EXPECT_EQ(Map_LoadPointfile(w, path.c_str()), 2);
}

} // namespace
