#!/usr/bin/env bash
# The Debian 13 (trixie) tree that the Windows release is built in. Qt 6.8 for Windows is cross-compiled with the
# host's moc, rcc and uic, which must be Qt 6.8 as well: Debian 13 has them, Debian 12 does not. The tree is made once
# with debootstrap from Debian's archive and kept in the cache folder (SKELVOR_CACHE_DIR, else ~/.cache/skelvor),
# with the MinGW-w64 compilers, Wine 10, NSIS and Qt 6.8 for Windows (/opt/qt-6.8.2-mingw64) in it.
#   windows-tree.sh make          makes the tree, or adds to it what it lacks
#   windows-tree.sh run CMD...    runs CMD in the tree as the calling user, in the repository's folder
#   windows-tree.sh root CMD...   the same, as root
# The tree belongs to root: making it and entering it take root, through sudo for another user. A command enters it
# from a mount namespace of its own, where /proc, /dev, /sys and the repository (at its own path) are mounted into the
# tree: those mounts end with the namespace, however the command ends, even killed, and the machine's own mount table
# never holds them.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd -P)
qt=qt-6.8.2-mingw64
qt_archive=$repo/../shared/toolchains/$qt.tar.xz
mirror=http://deb.debian.org/debian

if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "windows-tree.sh: the Windows build runs in a Debian 13 tree, which needs root: run this as root" >&2
    exit 1
  fi
  exec sudo env SKELVOR_TREE_USER="$(id -u):$(id -g)" \
    SKELVOR_CACHE_DIR="${SKELVOR_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/skelvor}" bash "$0" "$@"
fi
user=${SKELVOR_TREE_USER:-0:0}
cache=${SKELVOR_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/skelvor}
tree=$cache/debian-13

# enter TREE USER:GROUP COMMAND...: runs COMMAND in TREE, in the repository's folder, with a clean environment. Called
# inside the mount namespace.
enter() {
  local root uid=${2%:*} gid=${2#*:} home=/root
  root=$(realpath "$1")
  shift 2
  # The repository is mounted at its own path, so the build's paths read the same inside and outside; a path that
  # would lead out of the tree through one of its links is refused.
  local target
  target=$(realpath -m "$root$repo")
  if [[ $target != "$root"/* ]]; then
    echo "windows-tree.sh: $repo cannot be mounted into the tree: move the repository to another folder" >&2
    exit 1
  fi
  mkdir -p "$target"
  mount -t proc proc "$root/proc"
  mount --rbind /dev "$root/dev"
  mount --rbind /sys "$root/sys"
  mount --bind "$repo" "$target"
  if [ "$uid" -ne 0 ]; then
    home=/home/user-$uid
    install -d -o "$uid" -g "$gid" "$root$home"
  fi
  install -d -m 700 -o "$uid" -g "$gid" "$root/tmp/runtime-$uid"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  exec chroot --userspec="$uid:$gid" "$root" env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin HOME="$home" \
    LANG=C.UTF-8 TERM="${TERM:-dumb}" XDG_RUNTIME_DIR="/tmp/runtime-$uid" \
    bash -c 'cd "$0" && exec "$@"' "$repo" "$@"
}

# in_tree TREE USER:GROUP COMMAND...: enter from a new mount namespace whose mounts no other process shares.
in_tree() {
  unshare --mount --propagation private bash "$0" enter "$@"
}

# The packages of the tree, all from Debian 13's archive: the MinGW-w64 cross compilers (posix threads), the host's
# Qt 6.8 tools, CMake, Ninja and GoogleTest's sources (built for Windows); NSIS for the installer, zip, unzip, xz; Wine
# to run the build's tools and tests, and the fonts the tools draw with; Xvfb for the window tests; poppler for the
# help documents' test. Wine's 32-bit part (wine32:i386) stays out: nothing here is 32-bit, Wine 10 makes a 64-bit
# prefix without it, and under a kernel built without 32-bit programs, as some virtual machines' are, the wine command
# would pick its 32-bit loader and fail.
packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools cmake ninja-build qt6-base-dev
  qt6-base-dev-tools googletest nsis zip unzip xz-utils wine wine64 fonts-wine fonts-dejavu-core xvfb xauth
  poppler-utils)

make_tree() {
  # shellcheck source=deps.sh
  source "$repo/scripts/deps.sh"
  skelvor_install_deps debootstrap
  mkdir -p "$cache"
  exec {lock}>"$cache/debian-13.lock"
  flock "$lock"
  if [ ! -f "$tree/etc/skelvor-windows-tree" ]; then
    echo "Making the Debian 13 tree for the Windows build in $tree"
    rm -rf --one-file-system "$tree" "$tree.partial"
    if ! unshare --mount --propagation private debootstrap --variant=minbase trixie "$tree.partial" "$mirror" \
      >"$cache/debootstrap.log" 2>&1; then
      tail -n 20 "$cache/debootstrap.log" >&2
      echo "windows-tree.sh: debootstrap failed (its log: $cache/debootstrap.log); run the build again" >&2
      exit 1
    fi
    cat >"$tree.partial/etc/apt/sources.list" <<EOF
deb $mirror trixie main
deb $mirror trixie-updates main
deb http://security.debian.org/debian-security trixie-security main
EOF
    # A tree that can be made again needs no safety against a power cut, nor documents: dpkg writes without waiting
    # for the disk and leaves those out, which saves most of the time its packages take to install.
    printf '%s\n' force-unsafe-io path-exclude=/usr/share/doc/* path-exclude=/usr/share/man/* \
      path-exclude=/usr/share/info/* path-exclude=/usr/share/locale/* >"$tree.partial/etc/dpkg/dpkg.cfg.d/skelvor"
    echo "The Debian 13 tree of Skelvor's Windows build, made by scripts/windows-tree.sh" \
      >"$tree.partial/etc/skelvor-windows-tree"
    mv "$tree.partial" "$tree"
  fi
  in_tree "$tree" 0:0 bash -c 'source scripts/deps.sh && skelvor_install_deps "$@"' bash "${packages[@]}"

  # Qt for Windows, unpacked from the workplace's copy where there is one, else built from Debian 13's source. Either
  # is made under a temporary name and renamed when whole, so an interrupted run is never taken for a complete Qt.
  if [ ! -f "$tree/opt/$qt/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
    rm -rf "$tree/opt/$qt.partial"
    mkdir -p "$tree/opt/$qt.partial"
    if [ -f "$qt_archive" ]; then
      echo "Unpacking Qt for Windows into $tree/opt/$qt"
      tar xJf "$qt_archive" -C "$tree/opt/$qt.partial"
    else
      echo "Building Qt 6.8.2 for Windows from Debian's source into $tree/opt/$qt:" \
        "this takes about 45 minutes on 2 cores" >&2
      sed 's/^deb /deb-src /' "$tree/etc/apt/sources.list" >"$tree/etc/apt/sources.list.d/skelvor-source.list"
      # The source and the build stay in /var/tmp/$qt until Qt is installed, so that a second run takes up where one
      # stopped.
      in_tree "$tree" 0:0 bash -c 'apt-get update -qq && source scripts/deps.sh && skelvor_install_deps dpkg-dev patch &&
        bash packaging/windows/qt/build-qt-6.8.sh "/opt/$0.partial/$0" "/var/tmp/$0"' "$qt"
      rm -rf "$tree/var/tmp/$qt"
    fi
    mv "$tree/opt/$qt.partial/$qt" "$tree/opt/$qt"
    rm -rf "$tree/opt/$qt.partial"
  fi
}

case ${1:-} in
  make) make_tree ;;
  run)
    [ -f "$tree/etc/skelvor-windows-tree" ] || { echo "windows-tree.sh: no tree in $tree: run make first" >&2; exit 1; }
    in_tree "$tree" "$user" "${@:2}" ;;
  root)
    [ -f "$tree/etc/skelvor-windows-tree" ] || { echo "windows-tree.sh: no tree in $tree: run make first" >&2; exit 1; }
    in_tree "$tree" 0:0 "${@:2}" ;;
  enter) enter "${@:2}" ;;
  *)
    echo "usage: windows-tree.sh make | run COMMAND... | root COMMAND..." >&2
    exit 2 ;;
esac
