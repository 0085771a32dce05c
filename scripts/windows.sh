#!/usr/bin/env bash
# The program on Windows: builds Qt for MinGW-w64 once (scripts/qt-mingw.sh, cached), cross-builds the
# editor, orvik and every test program (the windows preset), runs the tests under Wine, a command-line
# round trip in folders named in Cyrillic and with an emoji, then makes the portable .zip and the
# installer and proves them in a new, empty Wine prefix: the zip unpacked into a folder with a space and
# Cyrillic letters runs the real editor window, driven with xdotool on a virtual X server; the installer
# installs silently, its editor starts, and its uninstaller leaves nothing behind.
# ORVIK_SKIP_WINDOWS=1 skips it all.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${ORVIK_SKIP_WINDOWS:-0}" = 1 ]; then
  echo "== windows: skipped (ORVIK_SKIP_WINDOWS=1) =="
  exit 0
fi
started=$(date +%s)
step_started=$started
took() {
  local now
  now=$(date +%s)
  echo "== windows: $1 took $((now - step_started)) s =="
  step_started=$now
}
jobs=$(nproc 2>/dev/null || echo 2)
build=build/windows
mkdir -p "$build"

wine_cmd=$(command -v wine || command -v wine64 || true)
if [ -z "$wine_cmd" ]; then
  echo "windows: wine is missing (install wine and wine64, or set ORVIK_SKIP_WINDOWS=1)" >&2
  exit 1
fi

echo "== windows: Qt for MinGW-w64 =="
./scripts/qt-mingw.sh
qt_prefix=$(./scripts/qt-mingw.sh --prefix)
took "Qt for MinGW-w64"

# A private, headless Wine: its own prefix, no debug chatter, no Mono or Gecko installers on the
# first start, UTF-8 on the Unix side so that names reach Windows whole, and a sans-serif face for
# the Windows UI fonts that Wine lacks (else text falls back to a serif face).
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
# Debian 12's Liberation Sans (1.07, the Arial of fonts-liberation) draws no capital I under Wine; its
# version 2 does. The package is fetched, never installed (the Linux programs keep the system's fonts),
# and its faces go into each prefix, where Wine takes them before the system's of the same name.
ui_fonts="${XDG_CACHE_HOME:-$HOME/.cache}/orvik/fonts"
if [ ! -f "$ui_fonts/LiberationSans-Regular.ttf" ]; then
  fetch=$(mktemp -d)
  if (cd "$fetch" && apt-get download fonts-liberation2 >/dev/null 2>&1) &&
     dpkg-deb -x "$fetch"/fonts-liberation2_*.deb "$fetch/x"; then
    mkdir -p "$ui_fonts"
    cp "$fetch"/x/usr/share/fonts/truetype/liberation2/LiberationSans-*.ttf "$ui_fonts/"
  else
    echo "windows: fonts-liberation2 could not be fetched; the window's text may lack its capital I" >&2
  fi
  rm -rf "$fetch"
fi
new_prefix() {
  export WINEPREFIX="$1"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
    for face in "Segoe UI" "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Arial"; do
      "$wine_cmd" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "Liberation Sans" /f \
        >/dev/null 2>&1
    done
    cp "$ui_fonts"/LiberationSans-*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
}
stop_wine() { wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT
new_prefix "$PWD/$build/wineprefix"

echo "== windows build =="
cmake --preset windows -DORVIK_QT_PREFIX="$qt_prefix" >/dev/null
cmake --build --preset windows -j "$jobs"
took "the build"
echo "== windows tests (Wine) =="
# A Wine process now and then loses its server connection at start; a second run tells that from a fault.
ctest --preset windows -j "$jobs" --repeat until-pass:2
took "the tests"

echo "== windows round trip (Wine) =="
orvik() { WINEPATH="$qt_prefix/bin" "$wine_cmd" "$build/src/orvik.exe" "$@"; }
trip="$build/roundtrip"
rm -rf "$trip"
for folder in "Игра Тарнхольд" "моды 🎮 ☃"; do
  game="$trip/$folder"
  orvik demo "$game" --seed 7 >"$trip.out"
  for f in kqbase.pff kq.pff items.def; do
    [ -s "$game/$f" ] || { echo "windows: demo did not write $game/$f" >&2; exit 1; }
  done
  mission=$(orvik missions "$game/kqbase.pff" | head -n 1 | cut -f 2 | cut -d ' ' -f 1)
  orvik items "$game/kqbase.pff" "$mission" >"$game/before.tsv"
  # Move the first item 5 to the east; every other cell stays as printed.
  awk -F '\t' 'BEGIN { OFS = "\t" } NR == 2 { $2 = $2 + 5 } { print }' "$game/before.tsv" >"$game/edited.tsv"
  cmp -s "$game/before.tsv" "$game/edited.tsv" && { echo "windows: the edit changed nothing" >&2; exit 1; }
  saved=$(orvik save "$game/kqbase.pff" "$mission" "$game/edited.tsv")
  [ "$saved" = "Data saved!" ] || { echo "windows: save said: $saved" >&2; exit 1; }
  orvik items "$game/kqbase.pff" "$mission" >"$game/after.tsv"
  cmp "$game/edited.tsv" "$game/after.tsv" || { echo "windows: the saved table differs in $folder" >&2; exit 1; }
  [ -s "$game/kqbase.pff.orig" ] || { echo "windows: no backup beside the archive in $folder" >&2; exit 1; }
  orvik render "$game/kqbase.pff" "$mission" -o "$game/map.png" >/dev/null
  [ -s "$game/map.png" ] || { echo "windows: orvik render wrote no picture in $folder" >&2; exit 1; }
  echo "round trip in \"$folder\": demo, items, save, items, render agree ($mission)"
done
rm -f "$trip.out"
took "the round trip"

echo "== windows packages =="
rm -f "$build"/orvik-editor-*-win64.*
(cd "$build" && cpack -C Release >cpack.log 2>&1) || { cat "$build/cpack.log" >&2; exit 1; }
zip=$(ls "$build"/orvik-editor-*-win64.zip)
installer=$(ls "$build"/orvik-editor-*-win64.exe)
ls -l "$zip" "$installer" | awk '{ printf "%s: %.1f MB\n", $NF, $5 / 1048576 }'
took "packaging"

# Everything below runs in a new, empty prefix: nothing of the build or of Qt is on its path.
stop_wine
fresh="$PWD/$build/fresh-prefix"
rm -rf "$fresh"
new_prefix "$fresh"
unset WINEPATH

echo "== windows: the portable zip, unpacked into a folder with a space and Cyrillic letters =="
unpacked="$build/packages/Мои программы"
rm -rf "$build/packages"
mkdir -p "$unpacked"
(cd "$unpacked" && unzip -q "$(realpath "$OLDPWD/$zip")")
app=$(ls -d "$unpacked"/orvik-editor-*-win64)
for program in orvik orvik-editor; do
  version=$("$wine_cmd" "$app/$program.exe" --version | tr -d '\r')
  echo "$program.exe --version: $version"
done
game="$build/packages/Игра Тарнхольд"
"$wine_cmd" "$app/orvik.exe" demo "$game" --seed 11 >/dev/null
bash tests/e2e/drive_editor.sh --wine --shot "$build/windows.png" "$app/orvik-editor.exe" "$app/orvik.exe" \
  build/release/tests/e2e_tool "$game"
took "the zip and the window under Wine"

echo "== windows: the installer, silently, and its uninstaller =="
"$wine_cmd" "$installer" /S
wineserver -w
local_app=$("$wine_cmd" cmd /c echo %LOCALAPPDATA% | tr -d '\r')
programs=$(winepath -u "$local_app\\Programs\\Orvik Editor")
menu=$(winepath -u "$("$wine_cmd" cmd /c echo %APPDATA% | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs\\Orvik Editor")
[ -f "$programs/orvik-editor.exe" ] || { echo "windows: the installer put no orvik-editor.exe in $programs" >&2; exit 1; }
[ -f "$menu/Orvik Editor.lnk" ] || { echo "windows: the installer made no Start-menu entry in $menu" >&2; exit 1; }
"$wine_cmd" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvikEditor' >/dev/null ||
  { echo "windows: the installer registered no uninstaller" >&2; exit 1; }
echo "installed orvik-editor.exe --version: $("$wine_cmd" "$programs/orvik-editor.exe" --version | tr -d '\r')"
"$wine_cmd" "$programs/Uninstall.exe" /S
wineserver -w
for _ in $(seq 30); do [ -e "$programs" ] || break; sleep 1; done
left=""
[ -e "$programs" ] && left="$left $programs"
[ -e "$menu" ] && left="$left $menu"
"$wine_cmd" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvikEditor' >/dev/null 2>&1 &&
  left="$left (the uninstall registry key)"
[ -z "$left" ] || { echo "windows: the uninstaller left$left" >&2; exit 1; }
echo "installed silently, started, and uninstalled silently with nothing left behind"
took "the installer"
echo "== windows: done in $(( $(date +%s) - started )) s =="
