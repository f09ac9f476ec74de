#!/usr/bin/env bash
# Builds the Windows release and tests it under Wine: first the core, import and window tests, built as Windows
# programs and run by CTest through Wine; then the release itself: the zip's programs in a fresh prefix and the
# installer, the window driven by real X events, and the command-line programs, both against the Linux build's bytes.
# The Linux program folder to compare with is build/test/bin (scripts/test.sh makes it), else a release build made here.
#
# The two halves run in two places. The build's tests run in the Debian 13 tree the build is made in, under its
# Wine 10, the closer to today's Windows: their programs find Qt's and MinGW's DLLs there, as the build's own tools
# do, in the prefix the build made. The release's tests run on this machine, under Debian 12's Wine 8: the zip and the
# installer carry every DLL they need, and the Linux build they are compared with runs here, on the Qt it was built
# with, which the tree does not have. So Skelvor's Windows code meets two Wine versions.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd -P)
. scripts/deps.sh
skelvor_install_deps "${SKELVOR_WINDOWS_TEST_PACKAGES[@]}" "${SKELVOR_BUILD_PACKAGES[@]}"
version=$(sed -n 's/^project(Skelvor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

# timed TITLE COMMAND...: runs a stage and says how long it took.
timed() {
  local started=$SECONDS
  echo "== $1"
  "${@:2}"
  echo "-- $1: $((SECONDS - started)) s"
}

timed "The Debian 13 tree" bash scripts/windows-tree.sh make
timed "Commands in the tree" bash tests/windows/tree_test.sh
timed "Windows build" bash scripts/build-windows.sh

linux=${SKELVOR_LINUX_PROGRAM_FOLDER:-build/test/bin}
if [ ! -x "$linux/skelvor-export" ]; then
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DSKELVOR_BUILD_TESTS=OFF >/dev/null
  timed "Linux build to compare with" cmake --build build/release -j"$(nproc)"
  linux=build/release/bin
fi

build=build/windows/build
sed "s/^/left out under Wine: /" "$build/left-out-under-wine.txt"
# One X server and one Wine prefix for the whole run; the window tests show their windows on it.
timed "Windows tests under Wine 10, in the tree" \
  bash scripts/windows-tree.sh run xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  source tests/windows/wineprefix.sh
  skelvor_wine_prefix "$1/wine" || exit 1
  status=0
  ctest --test-dir "$1" --output-on-failure -j"$(nproc)" || status=$?
  wineserver -k
  exit "$status"' bash "$repo/$build"

echo "== The Windows release under Wine 8"
zip=build/windows/Skelvor-$version-win64.zip
setup=build/windows/Skelvor-$version-win64-setup.exe
schema=tests/data/gpx10.xsd
passed=0 failed=0
release_test() {
  local started=$SECONDS
  if bash "$@"; then
    passed=$((passed + 1))
    echo "-- $(basename "$1"): passed in $((SECONDS - started)) s"
  else
    failed=$((failed + 1))
    echo "-- $(basename "$1"): FAILED after $((SECONDS - started)) s"
  fi
}
release_test tests/windows/package_test.sh "$zip" "$setup"
release_test tests/windows/programs_test.sh "$zip" "$linux" tests/data
release_test tests/windows/window_test.sh "$zip" "$linux" "$schema"
release_test tests/windows/busy_file_test.sh "$zip" "$linux" "$build/tests-bin/testaid.exe"
release_test tests/windows/upgrade_test.sh "$setup" "$build"
echo "release: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
