// The sample game's entity definitions through the fgddump tool and the loader: every class loads
// without a message, and a headers-only load yields the same classes.
#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include "FgdFixture.h"

namespace {

const QString kSample = QStringLiteral(ZARV_TEST_DATA_DIR "/../../../samples/quake3/q3entities.fgd");

struct DumpResult {
    int exitCode = -1;
    QStringList lines;
};

DumpResult runDump(const QStringList& arguments) {
    QProcess process;
    process.setProgram(QCoreApplication::applicationDirPath() + "/fgddump");
    process.setArguments(arguments);
    process.start();
    EXPECT_TRUE(process.waitForFinished(60000));
    DumpResult result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    return result;
}

TEST(FgdDumpTest, SampleLoadsWithoutMessagesInBothModes) {
    const DumpResult full = runDump({kSample});
    const DumpResult headers = runDump({kSample, "--headers"});
    ASSERT_EQ(full.exitCode, 0);
    ASSERT_EQ(headers.exitCode, 0);
    EXPECT_TRUE(full.lines.filter(QRegularExpression("^message")).isEmpty())
        << full.lines.join('\n').toStdString();
    EXPECT_TRUE(headers.lines.filter(QRegularExpression("^message")).isEmpty());

    // Without the keys, descriptions and notes, the full dump is the headers dump.
    const QRegularExpression fullOnly("^(  (key|description|note) |    )");
    QStringList stripped;
    for (const QString& line : full.lines.mid(1))
        if (!fullOnly.match(line).hasMatch()) stripped << line;
    EXPECT_EQ(stripped, headers.lines.mid(1));
    EXPECT_TRUE(full.lines.contains("point item_armor_body"));
    EXPECT_TRUE(full.lines.contains("solid func_door"));
}

TEST(FgdDumpTest, MissingFileExitsNonZero) {
    const DumpResult result = runDump({"/nonexistent/none.fgd"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(result.lines.filter(QRegularExpression("^message Error: can't open")).isEmpty());
    EXPECT_EQ(runDump({}).exitCode, 64);
}

using FgdSampleTest = FgdFixture;

TEST_F(FgdSampleTest, SampleUsesEveryTypeAndHelper) {
    file = Fgd_Acquire(registry(), kSample);
    ASSERT_TRUE(Fgd_Load(file, false));
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
    QSet<int> types;
    uint32_t helpers = 0;
    for (const auto& entry : file->classes) {
        helpers |= entry.second->helpers;
        for (const EntityProperty& p : entry.second->properties)
            types.insert(int(p.type));
    }
    EXPECT_EQ(types.size(), 23);
    EXPECT_EQ(helpers, 0xFFFFFu);

    const EntityClass* armor = point("item_armor_body");
    ASSERT_NE(armor, nullptr);
    EXPECT_EQ(armor->model, "models/powerups/armor/armor_red.md3");
    EXPECT_EQ(armor->bobParms[3], 180.0f);
    ASSERT_NE(armor->group, nullptr);
    EXPECT_EQ(armor->group->name, "Items");
    // Weapon -> Item -> Targetname, Target, Gametypes: the whole chain's keys arrive.
    const EntityClass* shotgun = point("weapon_shotgun");
    ASSERT_NE(shotgun, nullptr);
    EXPECT_NE(Fgd_FindProperty(const_cast<EntityClass*>(shotgun), "gametype"), nullptr);
    EXPECT_EQ(shotgun->color[0], 200);
}

} // namespace
