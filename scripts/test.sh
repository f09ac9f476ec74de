#!/usr/bin/env bash
# Installs what is missing, builds Skelvor with its tests and benchmarks (warnings as errors) and runs every test;
# then runs the core and import tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
skelvor_install_deps "${SKELVOR_BUILD_PACKAGES[@]}" "${SKELVOR_TEST_PACKAGES[@]}"
jobs=$(nproc)

echo "== Format check"
git ls-files -- '*.cpp' '*.h' | xargs -r -d '\n' clang-format --dry-run -Werror

echo "== Sanitizer build of the core and import tests"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DSKELVOR_WERROR=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all" >/dev/null
cmake --build build/sanitize -j"$jobs" --target core_tests import_tests
build/sanitize/tests-bin/core_tests --gtest_brief=1
build/sanitize/tests-bin/import_tests --gtest_brief=1

echo "== Build"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKELVOR_WERROR=ON -DSKELVOR_BUILD_BENCH=ON >/dev/null
cmake --build build/test -j"$jobs"

echo "== Tests"
cd build/test
ctest --output-on-failure -j"$jobs"
