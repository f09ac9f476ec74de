#!/usr/bin/env bash
# Builds Qt 6.8.2 (Core, Gui, Widgets, Test, the Windows platform plugin and styles) for 64-bit Windows with MinGW-w64,
# from Debian 13's own qt6-base source package, with Debian's fixes taken from upstream (the 2025 CVE fixes among
# them). Run on Debian 13 (trixie): scripts/windows-tree.sh runs it in its tree when no copy of this Qt is at hand.
# Usage: build-qt-6.8.sh PREFIX [WORKDIR]   (needs: g++-mingw-w64-x86-64-posix, gcc-mingw-w64-x86-64-posix, cmake,
# ninja-build, qt6-base-dev, qt6-base-dev-tools (the host's moc, rcc, uic, 6.8.2), dpkg-dev, patch, xz-utils; a deb-src
# line for trixie in the apt sources)
set -euo pipefail
prefix=$1; work=${2:-$(mktemp -d)}
here=$(dirname "$(readlink -f "$0")")
# Skelvor's own cross-compiling settings, the same file that Skelvor's build chain-loads.
toolchain=$here/../mingw64.cmake
src=qtbase-everywhere-src-6.8.2
mkdir -p "$work" && cd "$work"
if [ ! -d "$src" ]; then
  apt-get source --download-only qt6-base=6.8.2+dfsg-9+deb13u2
  tar xJf qt6-base_6.8.2+dfsg.orig.tar.xz && tar xJf qt6-base_6.8.2+dfsg-9+deb13u2.debian.tar.xz
  # Debian's patches that come from upstream (security and other fixes); its own patches concern its Linux packaging.
  for p in $(grep '^upstream_' debian/patches/series); do patch -s -d "$src" -p1 < "debian/patches/$p"; done
  # The Windows plugin's dynamic-OpenGL code does not compile with OpenGL off: guard it as the rest of the plugin is.
  patch -d "$src" -p1 < "$here/windows-plugin-6.8.patch"
fi
# Debian's source leaves out the Wacom tablet header (src/3rdparty/wintab): tablet events are off (pen and touch input
# through Windows' own pointer messages stay).
cmake -G Ninja -S "$src" -B build-win \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_SHARED_LIBS=ON \
  -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_concurrent=OFF \
  -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF -DFEATURE_icu=OFF -DFEATURE_openssl=OFF -DFEATURE_system_zlib=OFF \
  -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF \
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_zstd=OFF -DFEATURE_vulkan=OFF -DFEATURE_gif=OFF -DFEATURE_tabletevent=OFF
cmake --build build-win -j"$(nproc)"
cmake --install build-win
# Qt's own toolchain file loads the compiler settings from the file it was built with: keep that file inside the
# installed Qt and name it relative to it, so the copy works wherever it is unpacked.
cp "$toolchain" "$prefix/toolchain-mingw64.cmake"
sed -i 's#^set(__qt_initially_configured_toolchain_file ".*")$#set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/../../../toolchain-mingw64.cmake")#' \
  "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
