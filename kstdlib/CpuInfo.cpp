// The CPU information record, filled from cpuid, the time-stamp counter and the Linux scheduler.
#include <cstring>
#include <ctime>

#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define KSTDLIB_HAVE_CPUID 1
#endif

#include "kstdlib/kmath.h"

namespace {

constexpr uint64_t kRecordSize = sizeof(KCPUInformation);

KCPUInformation s_cpuInfo;
char s_vendor[16];

struct CpuidRegs {
    uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

CpuidRegs Cpuid(uint32_t leaf) {
    CpuidRegs r;
#ifdef KSTDLIB_HAVE_CPUID
    __cpuid(leaf, r.eax, r.ebx, r.ecx, r.edx);
#endif
    return r;
}

uint64_t ReadTsc() {
#ifdef KSTDLIB_HAVE_CPUID
    return __rdtsc();
#else
    return 0;
#endif
}

int64_t MonotonicNs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Counts time-stamp ticks over 1/32 s on one processor and scales them to a second.
int64_t MeasureClockSpeed() {
    cpu_set_t saved;
    CPU_ZERO(&saved);
    const bool haveMask = sched_getaffinity(0, sizeof(saved), &saved) == 0;
    if (haveMask) {
        // The lowest processor we may run on (processor 0 may be outside our set).
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
            if (CPU_ISSET(cpu, &saved)) {
                cpu_set_t one;
                CPU_ZERO(&one);
                CPU_SET(cpu, &one);
                pthread_setaffinity_np(pthread_self(), sizeof(one), &one);
                break;
            }
        }
    }

    const int64_t interval = 1000000000 >> 5;
    const int64_t start = MonotonicNs();
    const uint64_t first = ReadTsc();
    while (MonotonicNs() - start < interval) {
    }
    const uint64_t second = ReadTsc();

    if (haveMask) pthread_setaffinity_np(pthread_self(), sizeof(saved), &saved);
    return int64_t(second - first) * 32;
}

constexpr uint32_t kIntelEbx = 0x756E6547, kIntelEdx = 0x49656E69, kIntelEcx = 0x6C65746E;

bool HyperThreadingCapable(const CpuidRegs& leaf0, const CpuidRegs& leaf1) {
    if (leaf0.ebx != kIntelEbx || leaf0.edx != kIntelEdx || leaf0.ecx != kIntelEcx) return false;
    const bool family = ((leaf1.eax >> 8) & 0xF) == 0xF || ((leaf1.eax >> 20) & 0xFF) != 0;
    return family && (leaf1.edx & (1u << 28));
}

struct FeatureBit {
    uint32_t feature;
    int leaf; // 1: leaf 1 EDX, 2: leaf 1 ECX, 3: leaf 0x80000001 EDX
    int bit;
};

constexpr FeatureBit kFeatureBits[] = {
    {K_CPU_TSC, 1, 4},    {K_CPU_CMOV, 1, 15},  {K_CPU_PAT, 1, 16},      {K_CPU_SSE, 1, 25},
    {K_CPU_SSE2, 1, 26},  {K_CPU_SSE3, 2, 0},   {K_CPU_SSSE3, 2, 9},     {K_CPU_SSE41, 2, 19},
    {K_CPU_SSE42, 2, 20}, {K_CPU_3DNOW, 3, 31}, {K_CPU_3DNOWEXT, 3, 30}, {K_CPU_MMX, 1, 23},
};

} // namespace

const KCPUInformation* K_GetCPUInformation(void) {
    if (s_cpuInfo.size == kRecordSize) return &s_cpuInfo;

    std::memset(&s_cpuInfo, 0, sizeof(s_cpuInfo));
    s_cpuInfo.size = kRecordSize;
    s_cpuInfo.clockSpeed = MeasureClockSpeed();

    const CpuidRegs leaf0 = Cpuid(0);
    const CpuidRegs leaf1 = leaf0.eax >= 1 ? Cpuid(1) : CpuidRegs{};
    const bool hyperThreading = HyperThreadingCapable(leaf0, leaf1);
    // A capable CPU reporting 0 siblings counts as 1, not as a division by zero.
    uint32_t perPackage = hyperThreading ? (leaf1.ebx >> 16) & 0xFF : 1;
    if (perPackage == 0) perPackage = 1;

    long online = sysconf(_SC_NPROCESSORS_ONLN);
    if (online < 1) online = 1;
    s_cpuInfo.physicalProcessors = uint8_t(uint32_t(online) / perPackage);
    s_cpuInfo.logicalProcessors = perPackage * s_cpuInfo.physicalProcessors;
    if (s_cpuInfo.physicalProcessors == 0) {
        s_cpuInfo.physicalProcessors = 1;
        s_cpuInfo.logicalProcessors = 1;
    }

    const CpuidRegs ext0 = Cpuid(0x80000000u);
    const CpuidRegs ext1 = ext0.eax > 0x80000000u ? Cpuid(0x80000001u) : CpuidRegs{};
    uint32_t features = 0;
    for (const FeatureBit& f : kFeatureBits) {
        const uint32_t reg = f.leaf == 1 ? leaf1.edx : f.leaf == 2 ? leaf1.ecx : ext1.edx;
        if (reg & (1u << f.bit)) features |= f.feature;
    }
    if (hyperThreading) features |= K_CPU_HTT;
    s_cpuInfo.features = features;

    std::memcpy(s_vendor + 0, &leaf0.ebx, 4);
    std::memcpy(s_vendor + 4, &leaf0.edx, 4);
    std::memcpy(s_vendor + 8, &leaf0.ecx, 4);
    s_vendor[12] = '\0';
    s_cpuInfo.vendor = s_vendor;
    return &s_cpuInfo;
}
