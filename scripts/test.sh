#!/usr/bin/env bash
# Installs what is missing, builds Skelvor with its tests (warnings as errors) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
skelvor_install_deps "${SKELVOR_BUILD_PACKAGES[@]}" "${SKELVOR_TEST_PACKAGES[@]}"

echo "== Format check"
git ls-files -- '*.cpp' '*.h' | xargs -r -d '\n' clang-format --dry-run -Werror

echo "== Build"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKELVOR_WERROR=ON >/dev/null
cmake --build build/test -j"$(nproc)"

echo "== Tests"
cd build/test
ctest --output-on-failure -j"$(nproc)"
