#!/usr/bin/env bash
# Drives the real editor window as a user would, on a virtual X server, with xdotool: picks the first
# mission, checks that the map shows exactly what `orvik render` draws, edits one cell with F2, saves and
# dismisses the messages, then checks with `orvik items` that exactly that cell changed on disk.
#   drive_editor.sh [--wine] [--shot OUT.png] EDITOR ORVIK E2E_TOOL GAME_DIR
# With --wine the two programs are Windows programs run through Wine (windows platform plugin). GAME_DIR
# holds kqbase.pff, kq.pff and items.def; its name may hold any characters. Exit 77 means skipped.
set -euo pipefail

wine=""
shot=""
while [ $# -gt 0 ]; do
  case "$1" in
    --wine) wine=$(command -v wine || command -v wine64); shift ;;
    --shot) shot=$(realpath -m "$2"); shift 2 ;;
    *) break ;;
  esac
done
[ $# -eq 4 ] || { echo "usage: drive_editor.sh [--wine] [--shot OUT.png] EDITOR ORVIK E2E_TOOL GAME_DIR" >&2; exit 2; }
editor=$(realpath "$1")
orvik=$(realpath "$2")
tool=$(realpath "$3")
game=$(realpath "$4")

for needed in Xvfb xdotool import; do
  command -v "$needed" >/dev/null 2>&1 || { echo "$needed is missing: skipped"; exit 77; }
done

work=$(mktemp -d)
# The editor's data folder (its recovery files) is the run's own, never the user's; under Wine the
# prefix is the run's own already.
export XDG_DATA_HOME="$work/data"
xvfb_pid=""
editor_pid=""
finish() {
  [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
fail() {
  echo "drive_editor: $*" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$work/screen.png" 2>/dev/null
  [ -f "$work/screen.png" ] && cp "$work/screen.png" "${TMPDIR:-/tmp}/drive_editor-failure.png" &&
    echo "drive_editor: the last picture of the screen is ${TMPDIR:-/tmp}/drive_editor-failure.png" >&2
  exit 1
}

# The programs run in the game's parent folder and are given relative paths, which Wine passes
# through as they are, whatever characters the names hold.
cd "$(dirname "$game")"
base="$(basename "$game")/kqbase.pff"
run() {
  if [ -n "$wine" ]; then "$wine" "$@"; else "$@"; fi
}

display=""
for n in $(seq 91 130); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "no free X display number"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
unset WAYLAND_DISPLAY
# A Wine session started without a display keeps drawing nowhere; end it so that ours has the display.
if [ -n "$wine" ]; then
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
fi
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.2; done

mission=$(run "$orvik" missions "$base" | head -n 1 | cut -f 2 | cut -d ' ' -f 1 | tr -d '\r')
[ -n "$mission" ] || fail "orvik missions listed nothing"
run "$orvik" items "$base" "$mission" | tr -d '\r' >"$work/before.tsv"
run "$orvik" render "$base" "$mission" -o "$work/render.png" >/dev/null

snap() { import -window root "$work/screen.png"; }
# Waits until the map on the screen equals orvik's picture; prints where the frame lies.
find_map() {
  for _ in $(seq 120); do
    snap
    if "$tool" find-frame "$work/screen.png" "$work/render.png" 2>/dev/null; then return 0; fi
    sleep 0.5
  done
  return 1
}
window_count() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }

# The user's settings are never read or written under test: a settings file of another view (8x zoom,
# no people) waits in a private config folder, and must be left byte for byte as it was.
settings="$work/config/orvik-editor/orvik-editor.ini"
mkdir -p "$(dirname "$settings")"
printf '[General]\nformat=1\n\n[map]\npeople=false\nzoom=8\n' >"$settings"
cp "$settings" "$work/settings.before"
if [ -n "$wine" ]; then
  QT_QPA_PLATFORM=windows "$wine" "$editor" --no-settings "$base" >"$work/editor.log" 2>&1 &
else
  XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb "$editor" --no-settings "$base" >"$work/editor.log" 2>&1 &
fi
editor_pid=$!
window=""
for _ in $(seq 360); do
  window=$(xdotool search --onlyvisible --name "Orvik Editor V" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$editor_pid" 2>/dev/null || fail "the editor ended before its window showed: $(cat "$work/editor.log")"
  sleep 0.5
done
[ -n "$window" ] || fail "no editor window within three minutes"
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 1

# The mission list has the focus when the window opens; Down picks its first line.
xdotool key --window "$window" Down
where=$(find_map) || fail "the map never showed what orvik render draws for $mission"
read -r frame_x frame_y <<<"$where"
echo "map of $mission found at $frame_x,$frame_y: equal to orvik render"

# The dialog's client area starts 11,51 before the map's first frame pixel (the map's border). The
# item table starts at 533,50 and the Save button is at 897,11 (64 x 20) in the client area.
client_x=$((frame_x - 11))
client_y=$((frame_y - 51))
# The first row's Item cell, below the header; then one cell to the right is X Position.
xdotool mousemove $((client_x + 560)) $((client_y + 50 + 32)) click 1
sleep 0.5
xdotool key Right F2
sleep 0.5
new_x=123457
xdotool key ctrl+a
xdotool type --delay 50 "$new_x"
xdotool key Return
sleep 0.5
snap
[ -n "$shot" ] && cp "$work/screen.png" "$work/edited.png"

xdotool mousemove $((client_x + 897 + 32)) $((client_y + 11 + 10)) click 1
# Each message box (the backup note, "Data saved!") is dismissed with Enter until none is left.
for _ in $(seq 20); do
  sleep 1
  boxes=$(xdotool search --onlyvisible --name "^orvik-editor$" 2>/dev/null | head -n 1 || true)
  [ -z "$boxes" ] && break
  xdotool windowfocus "$boxes" 2>/dev/null || true
  xdotool key Return 2>/dev/null || true
done
sleep 1
run "$orvik" items "$base" "$mission" | tr -d '\r' >"$work/after.tsv"

# Exactly one cell differs: row 1's X Position, now the typed value.
awk -F '\t' -v OFS='\t' -v x="$new_x" 'NR == 2 { $2 = x } { print }' "$work/before.tsv" >"$work/expected.tsv"
if ! cmp -s "$work/expected.tsv" "$work/after.tsv"; then
  diff "$work/expected.tsv" "$work/after.tsv" | head -n 10 >&2 || true
  fail "the saved table is not the loaded one with row 1's X Position set to $new_x"
fi
echo "edited row 1's X Position with F2, saved: orvik items shows exactly that change"
cmp -s "$settings" "$work/settings.before" || fail "--no-settings changed the settings file"
[ "$(find "$work/config" -type f | wc -l)" = 1 ] || fail "--no-settings wrote into the config folder: $(find "$work/config" -type f)"
if [ -n "$shot" ]; then
  # The picture for the README: the whole window, frame and title included, with the edit made.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  convert "$work/edited.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
fi
