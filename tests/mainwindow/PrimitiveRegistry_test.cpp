#include "mainwindow/PrimitiveRegistry.h"

#include <cstring>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "document/Primitives.h"

namespace {

int32_t pluginCreate(PrimitiveParams*) {
    return 1;
}

class PrimitiveRegistry : public ::testing::Test {
protected:
    void SetUp() override { App_ClearPrimitives(); }
    void TearDown() override { App_ClearPrimitives(); }
    cConsoleCapture console;
};

TEST_F(PrimitiveRegistry, BuiltinRowsFirstThenPluginRowsAsCopies) {
    App_RegisterBuiltinPrimitives(nullptr);
    PrimitiveEntry plugin = {"pillar", nullptr, 6, 3, 12, 0, pluginCreate};
    registerPrimitive(nullptr, &plugin);
    const std::vector<PrimitiveEntry>& rows = App_Primitives();
    ASSERT_EQ(rows.size(), size_t(kBuiltinPrimitiveCount + 1));
    EXPECT_STREQ(rows[0].name, "block");
    EXPECT_STREQ(rows[20].name, "plane");
    EXPECT_STREQ(rows[21].category, "(unknown)");

    // The dock writes its count into the registered copy, not into the plugin's row.
    App_SetCurrentPrimitive(21);
    ASSERT_NE(App_CurrentPrimitive(), nullptr);
    App_CurrentPrimitive()->count = 9;
    EXPECT_EQ(plugin.count, 6);
    EXPECT_EQ(App_Primitives()[21].count, 9);
    App_SetCurrentPrimitive(99);
    EXPECT_EQ(App_CurrentPrimitive(), nullptr);
}

TEST_F(PrimitiveRegistry, RowsWithoutNameOrFunctionAreRefused) {
    PrimitiveEntry noName = {nullptr, "x", 0, 0, 0, 0, pluginCreate};
    PrimitiveEntry noFunction = {"pillar", "x", 0, 0, 0, 0, nullptr};
    registerPrimitive(nullptr, &noName);
    registerPrimitive(nullptr, &noFunction);
    EXPECT_TRUE(App_Primitives().empty());
    EXPECT_TRUE(console.contains("registerPrimitive: primitive name is NULL!"));
    EXPECT_TRUE(console.contains("registerPrimitive: dispatch function for \"pillar\" is NULL!"));
}

TEST_F(PrimitiveRegistry, CurveRowsNeedTheProfilesCapability) {
    const PrimitiveEntry& brushRow = kBuiltinPrimitives[0];
    const PrimitiveEntry& curveRow = kBuiltinPrimitives[7];
    EXPECT_TRUE(App_PrimitiveOffered(&brushRow, 0));
    EXPECT_FALSE(App_PrimitiveOffered(&curveRow, 0x3f));
    EXPECT_TRUE(App_PrimitiveOffered(&curveRow, 0x40 | 0x1));
}

} // namespace
