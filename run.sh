#!/usr/bin/env bash
# Installs what is missing, builds, and opens the editor: on BASE when given, else on a demo game.
# Without a display (a server, a container) it shows what the orvik command does with the game instead.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh --run
# The programs alone, without the tests and benchmarks (and their packages).
cmake --preset app >/dev/null
cmake --build --preset app -j "$(nproc 2>/dev/null || echo 2)"
bin=./build/app/src
if [ $# -ge 1 ]; then
  base="$1"
else
  demo="$PWD/build/demo"
  if [ ! -f "$demo/kqbase.pff" ]; then
    "$bin/orvik" demo "$demo"
  fi
  base="$demo/kqbase.pff"
fi

# The editor says whether it can open the display (exit 0) or not (3); asking costs a fraction of a
# second and also catches a DISPLAY that points at no running X server.
if [ -x "$bin/orvik-editor" ] && "$bin/orvik-editor" --probe-display 2>/dev/null; then
  exec "$bin/orvik-editor" "$base"
fi

if [ -x "$bin/orvik-editor" ]; then
  echo "The editor needs a display (X11 or Wayland), and none can be opened here."
else
  echo "The editor was not built (Qt Widgets is missing)."
fi
echo "Here is the same game through the orvik command instead."
echo
echo "Missions in $base:"
"$bin/orvik" missions "$base"
first=$("$bin/orvik" missions --json "$base" | sed -n 's/^[^"]*"name": *"\([^"]*\)".*/\1/p' | head -n 1)
if [ -z "$first" ]; then
  first=$("$bin/orvik" missions "$base" | head -n 1 | cut -f 2 | sed 's/ (.*//')
fi
# Into the build folder, never beside the user's game.
png="$PWD/build/${first%.*}-map.png"
echo
if [ -n "$first" ] && "$bin/orvik" render "$base" "$first" -o "$png"; then
  echo "The map of $first, as the editor draws it: $png"
fi
o="$bin/orvik"
cat <<EOT

Commands to try (orvik --help and orvik COMMAND --help tell more):
  $o items "$base" $first
      the item table, tab-separated (--format csv or json)
  $o check "$base"
      what is wrong or doubtful in the missions
  $o render "$base" $first -o map.png --ids --zoom 2
      the map with item numbers, zoomed
  $o items "$base" $first > t.tsv
  $o save "$base" $first t.tsv
      a round trip: edit t.tsv in between, then save it back
On a machine with a display, ./run.sh opens the editor.
EOT
