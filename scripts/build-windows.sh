#!/usr/bin/env bash
# Builds Skelvor's Windows release: cross-compiles it with MinGW-w64 against Qt 6.8 for Windows in a Debian 13 tree
# (scripts/windows-tree.sh makes it; the build's own tools and tests run there under Wine 10), gathers the program
# folder and packs it twice:
#   build/windows/Skelvor-<version>/              the program folder
#   build/windows/Skelvor-<version>-win64.zip     that folder, to unpack anywhere
#   build/windows/Skelvor-<version>-win64-setup.exe   an installer for the current user
# SKELVOR_WINDOWS_TESTS=OFF builds without the tests.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd -P)

# On the machine itself: make the tree, or add to it what it lacks, then run this script again inside it. The date the
# release's files carry is the last commit's, asked of git here, where the clone is.
if [ ! -f /etc/skelvor-windows-tree ]; then
  bash "$repo/scripts/windows-tree.sh" make
  epoch=${SOURCE_DATE_EPOCH:-$(git -C "$repo" log -1 --format=%ct 2>/dev/null || date +%s)}
  exec bash "$repo/scripts/windows-tree.sh" run env SOURCE_DATE_EPOCH="$epoch" \
    SKELVOR_WINDOWS_TESTS="${SKELVOR_WINDOWS_TESTS:-ON}" bash scripts/build-windows.sh
fi

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(date +%s)}
version=$(sed -n 's/^project(Skelvor VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")
out=$repo/build/windows
build=$out/build
folder=$out/Skelvor-$version
# Qt 6.8 for Windows, in the tree.
qt=/opt/qt-6.8.2-mingw64

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$repo/packaging/windows/mingw64.cmake" \
  -DSKELVOR_WERROR=ON -DSKELVOR_BUILD_TESTS="${SKELVOR_WINDOWS_TESTS:-ON}"
cmake --build "$build" -j"$(nproc)"

echo "Gathering $folder"
rm -rf "$folder"
mkdir -p "$folder/platforms" "$folder/styles"
bin=$build/bin
cp "$bin/skelvor.exe" "$bin/skelvor-export.exe" "$bin/skelvor-import.exe" "$folder/"
# Qt's plugins that the window loads when it starts: the Windows platform (windows, screens, input) and the native
# look of the controls on Windows 10 and 11 (one plugin holds both styles; Qt picks the Windows 11 one there). Qt
# finds them in these folders beside the program.
cp "$qt/plugins/platforms/qwindows.dll" "$folder/platforms/"
cp "$qt/plugins/styles/qmodernwindowsstyle.dll" "$folder/styles/"

# The DLLs: exactly those that the programs and plugins load, found by walking their imports. They come from Qt
# (Qt6Core for all three programs, Qt6Gui and Qt6Widgets for the window) and from the MinGW runtime that GCC's code
# needs (libstdc++-6 for the C++ library, libgcc_s_seh-1 for exceptions, libwinpthread-1 for threads). Windows' own
# DLLs (kernel32, user32, ...) are not shipped: Wine's folder of them serves as their list, and the api-ms-win-* names
# are Windows' API sets, which its loader maps to its own DLLs.
dll_folders=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/14-posix /usr/x86_64-w64-mingw32/lib)
windows_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
declare -A seen=()
queue=("$folder"/*.exe "$folder/platforms/qwindows.dll" "$folder/styles/qmodernwindowsstyle.dll")
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
    [ -n "${seen[${dll,,}]:-}" ] && continue
    seen[${dll,,}]=1
    found=$(find "${dll_folders[@]}" -maxdepth 1 -iname "$dll" -print -quit)
    if [ -n "$found" ]; then
      echo "  $dll (needed by $(basename "$file")) from $(dirname "$found")"
      cp "$found" "$folder/"
      # Debian's MinGW runtime DLLs carry their debugging information, four fifths of libstdc++-6.dll's size. Strip
      # writes SOURCE_DATE_EPOCH into the DLL's header as its date.
      x86_64-w64-mingw32-strip --strip-debug "$folder/$(basename "$found")"
      queue+=("$folder/$(basename "$found")")
    elif [[ ! ${dll,,} =~ ^(api|ext)-ms-win- ]] && [ -z "$(find "$windows_dlls" -maxdepth 1 -iname "$dll" -print -quit)" ]; then
      echo "build-windows.sh: $(basename "$file") needs $dll, which is neither Qt's, MinGW's nor Windows' own" >&2
      exit 1
    fi
  done
done

# What a user needs beside the programs: the sample fix files and the world's airports and navaids, the help
# documents, the licence and the Windows read-me (CR LF line ends kept).
cp "$bin"/Sample\ *.csv "$bin"/World\ *.csv "$bin"/*.pdf "$repo/LICENSE" "$folder/"
sed "s/@VERSION@/$version/g" "$repo/packaging/windows/README.txt" > "$folder/README.txt"

# The same dates on every file, a sorted list, and stripped DLLs stamped with the same date: the same sources give the
# same zip.
find "$folder" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
zip=$out/Skelvor-$version-win64.zip
rm -f "$zip"
(cd "$out" && find "Skelvor-$version" -type f | LC_ALL=C sort | TZ=UTC zip -X -q "$zip" -@)
echo "Wrote $zip"

# The installer's two lists, made from the folder itself: the files to install and the same files to remove.
files=$build/packaging/files.nsh
mkdir -p "$(dirname "$files")"
mapfile -t names < <(cd "$folder" && find . -type f | sed 's#^\./##' | LC_ALL=C sort)
mapfile -t subfolders < <(cd "$folder" && find . -mindepth 1 -type d | sed 's#^\./##' | LC_ALL=C sort -r)
{
  echo '; Made by scripts/build-windows.sh from the program folder.'
  echo '!macro SkelvorInstallFiles'
  outpath=none
  for name in "${names[@]}"; do
    sub=$(dirname "$name")
    [ "$sub" = . ] && sub="" || sub="\\${sub//\//\\}"
    [ "$sub" = "$outpath" ] || echo "  SetOutPath \"\$INSTDIR$sub\""
    outpath=$sub
    echo "  File \"${folder//\$/\$\$}/${name//\$/\$\$}\""
  done
  echo '  SetOutPath "$INSTDIR"'
  echo '!macroend'
  echo '!macro SkelvorRemoveFiles'
  for name in "${names[@]}"; do
    name=${name//\$/\$\$}
    echo "  Delete \"\$INSTDIR\\${name//\//\\}\""
  done
  for sub in "${subfolders[@]}"; do echo "  RMDir \"\$INSTDIR\\${sub//\//\\}\""; done
  echo '!macroend'
} > "$files"

setup=$out/Skelvor-$version-win64-setup.exe
makensis -V2 -DVERSION="$version" -DSOURCE="$folder" -DFILES="$files" -DICON="$build/packaging/skelvor.ico" \
  -DSIZE_KB="$(du -sk "$folder" | cut -f1)" -DOUTFILE="$setup" "$repo/packaging/windows/skelvor.nsi"
echo "Wrote $setup"
