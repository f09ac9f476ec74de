#!/usr/bin/env bash
# Installs what is missing, checks the formatting, then builds and runs every test twice: with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer, fuzz targets included (each for a short time from its corpus), and
# optimised with warnings as errors, benchmarks included.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
skelvor_install_deps "${SKELVOR_BUILD_PACKAGES[@]}" "${SKELVOR_TEST_PACKAGES[@]}"
jobs=$(nproc)

echo "== Format check"
git ls-files -- '*.cpp' '*.h' | xargs -r -d '\n' clang-format --dry-run -Werror

echo "== Sanitizer build (clang, AddressSanitizer and UndefinedBehaviorSanitizer) with the fuzz targets"
# Leaks inside the system's libraries are suppressed by name in tests/lsan.supp; ours never are. The build runs the
# picture and help tools, so the settings hold from here on.
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DSKELVOR_WERROR=ON -DSKELVOR_BUILD_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all" >/dev/null
cmake --build build/sanitize -j"$jobs"

echo "== Tests under the sanitizers"
(cd build/sanitize && ctest --output-on-failure -j"$jobs")
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

echo "== Build"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKELVOR_WERROR=ON -DSKELVOR_BUILD_BENCH=ON >/dev/null
cmake --build build/test -j"$jobs"

echo "== Tests"
cd build/test
ctest --output-on-failure -j"$jobs"
