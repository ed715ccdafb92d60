// The system layer without a main window: a host of the test's own answers for the console, the
// settings and the options, and nothing reaches a window.
#include <gtest/gtest.h>

#include <QList>
#include <utility>

#include "core/FileLookup.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "core/WaitScope.h"
#include "gamedata/ArchiveRegistry.h"

namespace {

class cTestHost final : public SysHost {
public:
    cTestHost() : previous(Sys_Host()) { Sys_SetHost(this); }
    ~cTestHost() override { Sys_SetHost(previous); }

    void printToConsole(const QString& html, bool redraw) override { lines.append({html, redraw}); }
    bool starting() const override { return splash; }
    float vertexRoundEpsilon() const override { return epsilon; }
    int32_t maxWorldSize() const override { return worldSize; }
    void optionChanged(int32_t option) override { set.append({option, Sys_GetOption(option)}); }
    ArchiveRegistry& archives() override { return registry; }
    FoundFiles& foundFiles() override { return found; }
    MainSettings* settings() override { return &preferences; }

    // Snapping to a grid (0 turns it off), as the settings hold it.
    void setGrid(int32_t size) {
        preferences.SnapToGrid = size > 0;
        preferences.CurrentGridSize = size;
    }

    QList<std::pair<QString, bool>> lines;
    QList<std::pair<int32_t, int32_t>> set;
    bool splash = false;
    MainSettings preferences;
    float epsilon = 0.01f;
    int32_t worldSize = 8192;
    ArchiveRegistry registry;
    FoundFiles found;

private:
    SysHost* previous;
};

} // namespace

TEST(SysHost, LogLinesReachTheHostWithTheirRedrawWish) {
    ASSERT_EQ(Sys_Host(), nullptr);
    cTestHost host;
    Sys_Printf("plain %d", 1);
    Sys_PrintfNoRedraw("quiet");
    Sys_Warning("careful");
    host.splash = true;
    Sys_VerbosePrintf("hidden behind the splash");
    host.splash = false;
    {
        cWaitScope wait("Precaching game configuration...");
        Sys_VerbosePrintf("hidden behind the wait");
    }
    Sys_VerbosePrintf("shown");
    const QList<std::pair<QString, bool>> expected = {
        {"plain 1", true},
        {"quiet", false},
        {"<font color=\"#FF6000\"><b>Warning:</b></font> careful", true},
        {"shown", true},
    };
    EXPECT_EQ(host.lines, expected);
}

TEST(SysHost, SnappingAndOptionsFollowTheHost) {
    cTestHost host;
    host.setGrid(0);
    float p[3] = {7, 8, -9};
    EXPECT_EQ(Sys_SnapToGrid(p), -9.0f); // grid 0: snapping is off, whole units
    host.setGrid(16);
    EXPECT_EQ(Sys_SnapToGrid(p), -16.0f);
    EXPECT_EQ(p[1], 16.0f);

    float v[3] = {1.04f, 2.2f, 0};
    host.epsilon = 0.05f;
    Sys_SnapVector(v);
    EXPECT_EQ(v[0], 1.0f);
    EXPECT_EQ(v[1], 2.2f);

    EXPECT_EQ(Sys_GetOption(SYS_OPTION_GRID_SIZE), 16);
    Sys_SetOption(SYS_OPTION_CORDON, 1);
    const QList<std::pair<int32_t, int32_t>> set = {{SYS_OPTION_CORDON, 1}};
    EXPECT_EQ(host.set, set);
}

TEST(SysHost, WithoutAHostTheLayerIsSilentAndUnsnapped) {
    ASSERT_EQ(Sys_Host(), nullptr);
    EXPECT_EQ(Sys_GetOption(SYS_OPTION_GRID_SIZE), 0);
    Sys_SetOption(SYS_OPTION_GRID_SIZE, 64); // goes nowhere
    float p[3] = {7.4f, 7.5f, -9.6f};
    EXPECT_EQ(Sys_SnapToGrid(p), -10.0f);
    EXPECT_EQ(p[0], 7.0f);
    QByteArray resolved;
    EXPECT_FALSE(Sys_FindFileRemembered("no/such/file.txt", &resolved));
    EXPECT_EQ(resolved, "no/such/file.txt");
}
