#!/usr/bin/env bash
# Starts the editor's dialog (orvik-screenshot) on a demo game under a virtual X server, lets it choose
# a mission and save a picture of its window, and checks that picture.
#   editor_screenshot.sh ORVIK_SCREENSHOT E2E_TOOL [KEEP_PNG]
set -euo pipefail
editor="$1"
tool="$2"
keep="${3:-}"

if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v xauth >/dev/null 2>&1; then
  echo "xvfb-run or xauth is missing: skipped"
  exit 77
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$tool" demo "$work/game"
test -f "$work/game/kqbase.pff"

# The editor takes the picture itself once its window is up, then ends; a hang is a failure.
status=0
env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \
  timeout 90 xvfb-run -a -s "-screen 0 1280x1024x24" "$editor" "$work/shot.png" "$work/game/kqbase.pff" \
  --mission 0 || status=$?
if [ "$status" -ne 0 ]; then
  echo "orvik-screenshot ended with status $status"
  exit 1
fi
"$tool" check-png "$work/shot.png" 972 609
# Nothing but the picture is left behind by a load: no scratch colour map in the game folder.
if [ -e "$work/game/temp.pcx" ]; then
  echo "temp.pcx was left in the game folder"
  exit 1
fi
if [ -n "$keep" ]; then
  cp "$work/shot.png" "$keep"
fi
