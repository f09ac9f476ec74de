#!/usr/bin/env bash
# Builds Qt 6 (Core, Gui, Widgets, Test, the Windows platform plugin and styles) for 64-bit Windows with MinGW-w64,
# from Debian's own qt6-base source package: the same 6.4.2 as the host Qt, whose tools (moc, rcc, uic) it uses.
# Usage: build-qt.sh PREFIX [WORKDIR]   (needs: g++-mingw-w64-x86-64-posix, gcc-mingw-w64-x86-64-posix, cmake,
# ninja-build, qt6-base-dev, qt6-base-dev-tools; Debian's archive, whose source packages it reads)
set -euo pipefail
prefix=$1; work=${2:-$(mktemp -d)}
here=$(dirname "$(readlink -f "$0")")
# Skelvor's own cross-compiling settings, the same file that Skelvor's build chain-loads.
toolchain=$here/../mingw64.cmake
mkdir -p "$work" && cd "$work"
if [ ! -d qtbase-everywhere-src-6.4.2 ]; then
  # Debian's source lists, in a private apt configuration: the machine's own is left as it is.
  mkdir -p apt/lists/partial
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > apt/src.sources
  aptopts=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$PWD/apt" -o Dir::State::Lists="$PWD/apt/lists")
  apt-get "${aptopts[@]}" update
  apt-get "${aptopts[@]}" source --download-only qt6-base=6.4.2+dfsg-10
  tar xJf qt6-base_6.4.2+dfsg.orig.tar.xz && tar xJf qt6-base_6.4.2+dfsg-10.debian.tar.xz
  # Debian's security fixes for 6.4.2 (the list's first part); its packaging patches are for Linux only.
  for p in cve-2023-32762.diff cve-2023-32763.diff cve-2023-33285.diff cve-2023-24607.patch; do
    patch -d qtbase-everywhere-src-6.4.2 -p1 < "debian/patches/$p"
  done
  # Two mends of the Windows platform plugin for this build: Debian's source leaves out the Wacom tablet header (its
  # licence forbids changes), so the plugin goes without that legacy tablet support (pen input through Windows' own
  # pointer messages stays); and its dynamic-OpenGL test is skipped where OpenGL is off.
  patch -d qtbase-everywhere-src-6.4.2 -p1 < "$here/windows-plugin.patch"
fi
cmake -G Ninja -S qtbase-everywhere-src-6.4.2 -B build-win \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_SHARED_LIBS=ON \
  -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_concurrent=OFF \
  -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF -DFEATURE_icu=OFF -DFEATURE_openssl=OFF -DFEATURE_system_zlib=OFF \
  -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF \
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_zstd=OFF -DFEATURE_vulkan=OFF -DFEATURE_gif=OFF
cmake --build build-win -j"$(nproc)"
cmake --install build-win
# Qt's own toolchain file loads the compiler settings from the file it was built with: keep that file inside the
# installed Qt and name it relative to it, so the copy works wherever it is unpacked.
cp "$toolchain" "$prefix/toolchain-mingw64.cmake"
sed -i 's#^set(__qt_initially_configured_toolchain_file ".*")$#set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/../../../toolchain-mingw64.cmake")#' \
  "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
