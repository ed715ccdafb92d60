// PK3 reading over zips written here with zlib: the forms real archives take, and one damaged
// archive per check, each refused with a message that names archive, member and cause.
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "Pk3Writer.h"
#include "core/System.h"
#include "quake3/Pk3Archive.h"

namespace {

class Pk3Archive : public ::testing::Test {
protected:
    QTemporaryDir dir;
    cConsoleCapture console;

    QByteArray write(const QByteArray& zip, const char* name = "a.pk3") {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(zip);
        return QFile::encodeName(path);
    }
    // The member's bytes, or a null array when the load fails; checks the zero after them.
    static QByteArray load(Pk3Index* index, const char* name, uint32_t limit = 0) {
        void* data = nullptr;
        const uint32_t size = Pk3_LoadMember(index, name, &data, limit);
        if (size == 0) {
            EXPECT_EQ(data, nullptr);
            return {};
        }
        EXPECT_EQ(static_cast<const char*>(data)[size], 0);
        QByteArray bytes(static_cast<const char*>(data), size);
        Sys_Free(data);
        return bytes;
    }
};

QByteArray text(int size, char seed) {
    QByteArray b;
    for (int i = 0; i < size; ++i)
        b.append(char(seed + (i * 7 + i / 13) % 23));
    return b;
}

TEST_F(Pk3Archive, ReadsEveryFormOfArchive) {
    const QByteArray wall = text(5000, 'a'), floor = text(70000, 'A'), shader = "textures/x\n{\n}\n";
    struct Case {
        const char* what;
        QList<Pk3Entry> entries;
        QByteArray stub;
        QByteArray comment;
    };
    const QList<Case> cases = {
        {"stored", {{"textures/wall.tga", wall, 0}, {"scripts/a.shader", shader, 0}}, {}, {}},
        {"deflated", {{"textures/wall.tga", wall, 8}, {"textures/floor.tga", floor, 8}}, {}, {}},
        {"data descriptors",
         {{"textures/wall.tga", wall, 8, true}, {"scripts/a.shader", shader, 0, true}},
         {},
         {}},
        {"self-extracting stub", {{"textures/wall.tga", wall, 8}}, QByteArray(3000, 'M'), {}},
        {"longest comment", {{"textures/floor.tga", floor, 8}}, {}, QByteArray(0xFFFF, 'c')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray path = write(Pk3Build(c.entries, nullptr, c.stub, c.comment));
        Pk3Index* index = Pk3_Open(path.constData());
        ASSERT_NE(index, nullptr);
        EXPECT_EQ(index->memberCount, uint64_t(c.entries.size()));
        for (const Pk3Entry& e : c.entries)
            EXPECT_EQ(load(index, e.name.constData()), e.data) << e.name.constData();
        EXPECT_TRUE(console.contains(
            QString("Added archive: \"%1\" (%2 files)").arg(QString(path)).arg(c.entries.size())));
        Pk3_Close(index);
    }
}

TEST_F(Pk3Archive, HeadsAreTheFirstBytesOfAMember) {
    const QByteArray floor = text(70000, 'A');
    Pk3Index* index =
        Pk3_Open(write(Pk3Build({{"stored.tga", floor, 0}, {"deflated.tga", floor, 8}})).constData());
    ASSERT_NE(index, nullptr);
    for (const char* name : {"stored.tga", "deflated.tga"}) {
        EXPECT_EQ(load(index, name, 16384), floor.left(16384)) << name;
        EXPECT_EQ(load(index, name, 100000), floor) << name << ": a longer limit gives the whole member";
    }
    EXPECT_FALSE(console.contains("refused")) << "a head is not checked against the whole member's CRC";
    Pk3_Close(index);
}

TEST_F(Pk3Archive, NamesMatchWithoutCaseAndWithEitherSeparator) {
    const QByteArray path =
        write(Pk3Build({{"Textures/Base/Floor.TGA", "floor", 0}, {"textures/base/wall.tga", "wall", 8}}));
    Pk3Index* index = Pk3_Open(path.constData());
    ASSERT_NE(index, nullptr);
    EXPECT_STREQ(index->members[0].name, "textures/base/floor.tga");
    for (const char* query :
         {"textures/base/floor.tga", "TEXTURES/BASE/FLOOR.TGA", "Textures\\Base\\Floor.tga"})
        EXPECT_EQ(load(index, query), "floor") << query;
    EXPECT_EQ(Pk3_Find(index, "textures/base/floor"), nullptr);
    EXPECT_EQ(Pk3_Find(index, ""), nullptr);
    EXPECT_EQ(Pk3_Find(index, nullptr), nullptr);
    EXPECT_EQ(load(index, "textures/base/none.tga"), QByteArray());
    Pk3_Close(index);
}

TEST_F(Pk3Archive, EmptyMemberIsPresentButDoesNotLoad) {
    Pk3Index* index =
        Pk3_Open(write(Pk3Build({{"maps/empty.map", "", 0}, {"maps/a.map", "{}", 0}})).constData());
    ASSERT_NE(index, nullptr);
    EXPECT_NE(Pk3_Find(index, "maps/empty.map"), nullptr);
    void* data = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(Pk3_LoadMember(index, "maps/empty.map", &data), 0u);
    EXPECT_EQ(data, reinterpret_cast<void*>(0x1));
    Pk3_Close(index);
}

TEST_F(Pk3Archive, ListsMatchingNamesInMemberOrder) {
    Pk3Index* index = Pk3_Open(write(Pk3Build({{"textures/b.tga", "1", 0},
                                               {"scripts/x.shader", "2", 0},
                                               {"Textures/A.TGA", "3", 0},
                                               {"textures/c.jpg", "4", 0}}))
                                   .constData());
    ASSERT_NE(index, nullptr);
    char** names = nullptr;
    ASSERT_TRUE(Pk3_List(index, "textures/*.tga", &names));
    QStringList listed;
    for (char** n = names; *n; ++n) {
        listed << *n;
        Sys_Free(*n);
    }
    Sys_Free(names);
    EXPECT_EQ(listed, QStringList({"textures/b.tga", "textures/a.tga"}));

    char** untouched = reinterpret_cast<char**>(0x1);
    EXPECT_FALSE(Pk3_List(index, "*.md3", &untouched));
    EXPECT_EQ(untouched, reinterpret_cast<char**>(0x1));
    EXPECT_FALSE(Pk3_List(index, nullptr, &untouched));
    EXPECT_FALSE(Pk3_List(index, "*", nullptr));
    Pk3_Close(index);
}

// Each case damages one field of a sound two-member archive. Archive-level damage refuses the
// open; member damage refuses that member (at indexing or at loading) and leaves the other.
TEST_F(Pk3Archive, RefusesDamagedArchivesWithTheirCause) {
    const QList<Pk3Entry> members = {{"textures/a.tga", text(4000, 'a'), 8}, {"scripts/b.shader", "b {}", 0}};
    enum Stage { Open, Index, Load };
    struct Case {
        const char* cause;
        Stage stage;
        std::function<void(QByteArray&, const Pk3Layout&)> damage;
    };
    const QList<Case> cases = {
        {"spans several disks", Open, [](QByteArray& z, const Pk3Layout& l) { Pk3Set16(z, l.end + 4, 1); }},
        {"entry counts differ", Open, [](QByteArray& z, const Pk3Layout& l) { Pk3Set16(z, l.end + 8, 1); }},
        {"zip64 archives are not supported", Open,
         [](QByteArray& z, const Pk3Layout& l) { Pk3Set32(z, l.end + 16, 0xFFFFFFFF); }},
        {"central directory lies past its end record", Open,
         [](QByteArray& z, const Pk3Layout& l) { Pk3Set32(z, l.end + 16, uint32_t(l.end)); }},
        {"central directory too small for its entries", Open,
         [](QByteArray& z, const Pk3Layout& l) { Pk3Set32(z, l.end + 12, 50); }},
        {"bad central directory record signature", Open,
         [](QByteArray& z, const Pk3Layout& l) { z[l.central[1]] = 'X'; }},
        {"central directory record runs past the directory", Open,
         [](QByteArray& z, const Pk3Layout& l) { Pk3Set16(z, l.central[1] + 30, 0x7000); }},
        {"member name length out of range", Open,
         [](QByteArray& z, const Pk3Layout& l) { Pk3Set16(z, l.central[0] + 28, 0); }},
        {"no end of central directory record in its last 65557 bytes", Open,
         [](QByteArray& z, const Pk3Layout& l) { z.truncate(l.end + 10); }},
        {"member name holds a zero byte", Open,
         [](QByteArray& z, const Pk3Layout& l) { z[l.central[0] + 50] = 0; }},
        {"encrypted", Index, [](QByteArray& z, const Pk3Layout& l) { Pk3Set16(z, l.central[0] + 8, 1); }},
        {"compression method not supported", Index,
         [](QByteArray& z, const Pk3Layout& l) { Pk3Set16(z, l.central[0] + 10, 12); }},
        {"zip64 member not supported", Index,
         [](QByteArray& z, const Pk3Layout& l) { Pk3Set32(z, l.central[0] + 20, 0xFFFFFFFF); }},
        {"member of 2 GiB or more", Index,
         [](QByteArray& z, const Pk3Layout& l) { Pk3Set32(z, l.central[0] + 24, 0x80000000); }},
        {"stored sizes differ", Index,
         [](QByteArray& z, const Pk3Layout& l) { Pk3Set32(z, l.central[0] + 10, 0); }},
        {"uncompressed size impossible for its compressed size", Index,
         [](QByteArray& z, const Pk3Layout& l) { Pk3Set32(z, l.central[0] + 24, 0x7FFFFFF0); }},
        {"member data runs into the central directory", Index,
         [](QByteArray& z, const Pk3Layout& l) { Pk3Set32(z, l.central[0] + 42, uint32_t(l.central[0])); }},
        {"bad local header signature", Load, [](QByteArray& z, const Pk3Layout& l) { z[l.local[0]] = 'X'; }},
        {"local header names another method", Load,
         [](QByteArray& z, const Pk3Layout& l) { Pk3Set16(z, l.local[0] + 8, 0); }},
        {"local header disagrees with the central directory", Load,
         [](QByteArray& z, const Pk3Layout& l) { z[l.local[0] + 14] = char(z[l.local[0] + 14] ^ 1); }},
        {"local header name length differs", Load,
         [](QByteArray& z, const Pk3Layout& l) { Pk3Set16(z, l.local[0] + 26, 3); }},
        {"member data runs into the central directory", Load,
         [](QByteArray& z, const Pk3Layout& l) { Pk3Set16(z, l.local[0] + 28, 0xF000); }},
        {"CRC-32 mismatch", Load,
         [](QByteArray& z, const Pk3Layout& l) {
             // Both copies of the CRC changed: the data no longer matches them.
             Pk3Set32(z, l.local[0] + 14, 0x12345678);
             Pk3Set32(z, l.central[0] + 16, 0x12345678);
         }},
        {"inflates short of its declared size", Load,
         [](QByteArray& z, const Pk3Layout& l) {
             Pk3Set32(z, l.local[0] + 22, 4001);
             Pk3Set32(z, l.central[0] + 24, 4001);
         }},
        {"inflates past its declared size", Load,
         [](QByteArray& z, const Pk3Layout& l) {
             Pk3Set32(z, l.local[0] + 22, 3999);
             Pk3Set32(z, l.central[0] + 24, 3999);
         }},
        {"damaged compressed data", Load,
         [](QByteArray& z, const Pk3Layout& l) {
             z[l.local[0] + 30 + 14] = char(0xFF); // the first deflate block header: reserved type
         }},
        {"compressed data ends early", Load,
         [](QByteArray& z, const Pk3Layout& l) {
             Pk3Set32(z, l.local[0] + 18, 10);
             Pk3Set32(z, l.central[0] + 20, 10);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cause);
        Pk3Layout layout;
        QByteArray zip = Pk3Build(members, &layout);
        c.damage(zip, layout);
        const QByteArray path = write(zip);
        console.clear();
        Pk3Index* index = Pk3_Open(path.constData());
        const QString archive = QString("archive \"%1\"").arg(QString(path));
        if (c.stage == Open) {
            EXPECT_EQ(index, nullptr);
            EXPECT_TRUE(console.lines.join('\n').contains(c.cause)) << console.lines.join('\n').toStdString();
            EXPECT_TRUE(console.contains(archive));
            continue;
        }
        ASSERT_NE(index, nullptr);
        EXPECT_EQ(load(index, "scripts/b.shader"), "b {}");
        if (c.stage == Load) {
            EXPECT_EQ(load(index, "textures/a.tga"), QByteArray());
        }
        EXPECT_EQ(c.stage == Index, Pk3_Find(index, "textures/a.tga") == nullptr);
        EXPECT_TRUE(console.contains(archive + ", member \"textures/a.tga\" refused: " + c.cause))
            << console.lines.join('\n').toStdString();
        Pk3_Close(index);
    }
}

TEST_F(Pk3Archive, RefusesWhatHoldsNoArchive) {
    struct Case {
        const char* what;
        QByteArray bytes;
        const char* cause;
    };
    const QByteArray sound = Pk3Build({{"a.txt", "a", 0}});
    const QList<Case> cases = {
        {"no entries", Pk3Build({}, nullptr, "stub"), "no entries"},
        {"comment past the search window", Pk3Build({{"a.txt", "a", 0}}, nullptr, {}, QByteArray(70000, 'c')),
         "no end of central directory record"},
        {"empty file", QByteArray(), "no end of central directory record"},
        {"end record alone at the start", sound.mid(sound.size() - 22), "no end of central directory record"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        console.clear();
        EXPECT_EQ(Pk3_Open(write(c.bytes).constData()), nullptr);
        EXPECT_TRUE(console.lines.join('\n').contains(c.cause)) << console.lines.join('\n').toStdString();
    }
    console.clear();
    EXPECT_EQ(Pk3_Open(QFile::encodeName(dir.filePath("missing.pk3")).constData()), nullptr);
    EXPECT_TRUE(console.contains("can't open it (No such file or directory)"));
    EXPECT_EQ(Pk3_Open(QFile::encodeName(dir.path()).constData()), nullptr);
}

} // namespace
