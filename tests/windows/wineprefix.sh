#!/usr/bin/env bash
# Sourced by the tests of the Windows release. skelvor_wine_prefix DIR makes DIR a Wine prefix set as a Windows desktop
# is: Wine's own fonts (Tahoma for the dialogs, ...) in the Windows fonts folder, since Debian's Wine does not look
# where fonts-wine puts them (/usr/share/wine/fonts); and Consolas, which every Windows has, drawn by DejaVu Sans Mono.
# The prefix's server keeps running until `wineserver -k`: the programs that Wine starts with it then belong to it, and
# never hold a test's output open after the test ends.
skelvor_wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  [ -d /usr/share/wine/fonts ] || { echo "missing Wine's fonts: install fonts-wine" >&2; return 1; }
  mkdir -p "$WINEPREFIX"
  wineserver -p
  wineboot -i </dev/null >/dev/null 2>&1
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Consolas /d 'DejaVu Sans Mono' /f </dev/null >/dev/null 2>&1
}
