#!/bin/bash
# Builds every libFuzzer harness and seed writer with clang into build-fuzz, then runs each harness
# once over its seed corpus (CTest label fuzz_smoke). The ordinary test build uses GCC and never
# builds the fuzz targets, so this is what shows that the opt-in fuzz build still compiles, links
# and runs. Run it before a stop whenever editor, plugin or tests/fuzz sources changed: with a warm
# ccache it takes a few minutes, a cold build of the instrumented editor about ten at -j3.
#
#   scripts/fuzz-build.sh [build folder]      (JOBS=3 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
jobs=${JOBS:-3}

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    echo "fuzz-build: needs clang and libFuzzer (apt-get install clang-14 libclang-rt-14-dev)" >&2
    exit 2
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DZARV_FUZZ=ON -DZARV_TESTS=OFF -DZARV_BENCH=OFF >/dev/null
fi
# The harnesses and seed writers only: the editor program itself is no target of this build.
targets=$(ninja -C "$build" -t targets all | sed -n 's/^\([a-z0-9_]*_fuzz\(_seeds\)\?\): phony$/\1/p' | grep -v '^cmake_' | sort -u)
ninja -C "$build" -j"$jobs" $targets

export QT_QPA_PLATFORM=offscreen LP_NUM_THREADS=0 MESA_SHADER_CACHE_DISABLE=true
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
ctest --test-dir "$build/tests/fuzz" -j"$jobs" --output-on-failure
