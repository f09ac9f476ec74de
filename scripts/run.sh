#!/usr/bin/env bash
# Installs what is missing, builds Skelvor in release mode and starts it from its program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
skelvor_install_deps "${SKELVOR_BUILD_PACKAGES[@]}"

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DSKELVOR_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)"

program=build/release/bin/skelvor
echo "Program folder: $PWD/build/release/bin"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display is available: run Skelvor under Xvfb with: xvfb-run -a $program" >&2
  exit 1
fi
exec "$program"
