// The CPU information record.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>
#include <unistd.h>

#include "kstdlib/kmath.h"

// Plugins read the record by these offsets.
static_assert(sizeof(KCPUInformation) == 40);
static_assert(offsetof(KCPUInformation, size) == 0 && offsetof(KCPUInformation, features) == 8 &&
              offsetof(KCPUInformation, logicalProcessors) == 12 &&
              offsetof(KCPUInformation, physicalProcessors) == 16 &&
              offsetof(KCPUInformation, clockSpeed) == 24 && offsetof(KCPUInformation, vendor) == 32);

TEST(CpuInfo, RecordIsFilledOnceAndPlausible) {
    const KCPUInformation* cpu = K_GetCPUInformation();
    ASSERT_NE(cpu, nullptr);
    EXPECT_EQ(cpu->size, 40u);
    EXPECT_EQ(cpu->reserved, 0u);
    EXPECT_GE(cpu->physicalProcessors, 1u);
    EXPECT_EQ(cpu->logicalProcessors % cpu->physicalProcessors, 0u);
    ASSERT_NE(cpu->vendor, nullptr);
#if defined(__x86_64__)
    EXPECT_EQ(std::strlen(cpu->vendor), 12u);
    // Every x86-64 processor has these.
    const uint32_t baseline = K_CPU_TSC | K_CPU_CMOV | K_CPU_SSE | K_CPU_SSE2 | K_CPU_MMX;
    EXPECT_EQ(cpu->features & baseline, baseline);
    EXPECT_GT(cpu->clockSpeed, 0);
#endif
    EXPECT_EQ(cpu->features & ~0x1FFFu, 0u);
    // Without the hyper-threading rule every online processor counts as one package (8-bit count).
    if (!(cpu->features & K_CPU_HTT)) {
        const uint8_t online = uint8_t(sysconf(_SC_NPROCESSORS_ONLN));
        EXPECT_EQ(cpu->physicalProcessors, online ? online : 1u);
        EXPECT_EQ(cpu->logicalProcessors, cpu->physicalProcessors);
    }

    // A second call neither re-measures nor moves the record.
    const int64_t clock = cpu->clockSpeed;
    const char* vendor = cpu->vendor;
    EXPECT_EQ(K_GetCPUInformation(), cpu);
    EXPECT_EQ(cpu->clockSpeed, clock);
    EXPECT_EQ(cpu->vendor, vendor);
}
