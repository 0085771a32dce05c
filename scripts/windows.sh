#!/usr/bin/env bash
# The core and orvik on Windows: cross-builds the Qt-free libraries, their tests and orvik with
# MinGW-w64 (the windows preset), runs every test program under Wine, then a command-line round trip
# (demo, items, save, items) in folders named in Cyrillic and with an emoji. ORVIK_SKIP_WINDOWS=1
# skips it all.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${ORVIK_SKIP_WINDOWS:-0}" = 1 ]; then
  echo "== windows: skipped (ORVIK_SKIP_WINDOWS=1) =="
  exit 0
fi
started=$(date +%s)
jobs=$(nproc 2>/dev/null || echo 2)
build=build/windows
mkdir -p "$build"

# A private, headless Wine: its own prefix under build/, no debug chatter, no Mono or Gecko
# installers on the first start, and UTF-8 on the Unix side so that names reach Windows whole.
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
wine_cmd=$(command -v wine || command -v wine64 || true)
if [ -z "$wine_cmd" ]; then
  echo "windows: wine is missing (install wine and wine64, or set ORVIK_SKIP_WINDOWS=1)" >&2
  exit 1
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== windows: preparing a Wine prefix in $WINEPREFIX =="
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
fi
stop_wine() { wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT

echo "== windows build =="
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
echo "== windows tests (Wine) =="
ctest --preset windows -j "$jobs"

echo "== windows round trip (Wine) =="
orvik() { "$wine_cmd" "$build/src/orvik.exe" "$@"; }
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
  echo "round trip in \"$folder\": demo, items, save, items agree ($mission)"
done
rm -f "$trip.out"
echo "== windows: done in $(( $(date +%s) - started )) s =="
