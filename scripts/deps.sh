#!/usr/bin/env bash
# Installs the Debian packages that Skelvor needs and that this machine lacks. Sourced by run.sh and test.sh.
# Usage: skelvor_install_deps PACKAGE...

skelvor_install_deps() {
  local missing=()
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo=(sudo)
    else
      echo "Skelvor needs these Debian packages: ${missing[*]}" >&2
      echo "Installing them needs root: run this command as root, or install them with: apt-get install ${missing[*]}" >&2
      return 1
    fi
  fi
  echo "Installing the missing packages: ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# What building and running the program needs.
SKELVOR_BUILD_PACKAGES=(build-essential cmake qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core
  qt6-qpa-plugins)
# What the tests and benchmarks need besides.
SKELVOR_TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils openbox libxml2-utils gpsbabel
  poppler-utils clang-format time clang-14 libclang-rt-14-dev)
# What testing the Windows release on this machine needs (it is built in a Debian 13 tree: scripts/windows-tree.sh):
# Wine and its fonts to run the zip's programs and installer, MinGW-w64's objdump to read their imports and resources,
# unzip, an X server with xdotool to drive the window, and NSIS for the older installer the upgrade test builds.
SKELVOR_WINDOWS_TEST_PACKAGES=(wine wine64 fonts-wine binutils-mingw-w64-x86-64 unzip xvfb xauth xdotool libxml2-utils
  nsis)
