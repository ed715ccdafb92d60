#include <gtest/gtest.h>

#include "core/SysHost.h"
#include "core/System.h"

TEST(SysOptions, NothingWithoutAHost) {
    ASSERT_EQ(Sys_Host(), nullptr);
    Sys_SetOption(SYS_OPTION_GRID_SIZE, 8);
    EXPECT_EQ(Sys_GetOption(SYS_OPTION_GRID_SIZE), 0);
}
