#!/usr/bin/env bash
# Checks what a user gets from the release build: installs it into a staging folder, runs the
# installed programs without a display, validates the desktop entry, the metainfo and the man pages,
# tries the bash completion, and builds the .deb and .tar.gz and runs lintian on the .deb.
# Offline and headless. Usage: scripts/check-install.sh [BUILD_DIR]   (default: build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage="$work/stage"
app_id=io.github.orvik.OrvikEditor
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "no project version in $build/CMakeCache.txt" >&2; exit 1; }

echo "== install into $stage =="
cmake --install "$build" --prefix "$stage" >"$work/install.log"
outside=$(grep -v "^$stage/" "$build/install_manifest.txt" || true)
[ -z "$outside" ] && ok "every installed file is under the prefix" || fail "installed outside the prefix: $outside"
for f in bin/orvik bin/orvik-editor share/man/man1/orvik.1.gz share/man/man1/orvik-editor.1.gz \
         share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml \
         share/icons/hicolor/scalable/apps/$app_id.svg share/bash-completion/completions/orvik \
         share/doc/orvik-editor/copyright share/doc/orvik-editor/changelog.gz; do
  [ -f "$stage/$f" ] || fail "not installed: $f"
done
for s in 16 22 24 32 48 64 128 256; do
  icon="$stage/share/icons/hicolor/${s}x${s}/apps/$app_id.png"
  file "$icon" | grep -q "$s x $s" || fail "icon $icon is not $s x $s"
done

echo "== the installed programs, with no display =="
# No X server, and no Wayland socket either (Wayland clients look in XDG_RUNTIME_DIR by default).
mkdir -m 700 "$work/runtime"
headless() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE XDG_RUNTIME_DIR="$work/runtime" "$@"
}
# expect STATUS OUTPUT-PATTERN command...: the status and a line of the output (stdout and stderr).
expect() {
  local want=$1 pattern=$2 status=0
  shift 2
  headless "$@" >"$work/out" 2>&1 || status=$?
  if [ "$status" -ne "$want" ] || ! grep -qE "$pattern" "$work/out"; then
    fail "$* gave status $status (want $want) and: $(head -c 300 "$work/out")"
  else
    ok "$* -> $status"
  fi
}
expect 0 "^orvik $version\$" "$stage/bin/orvik" --version
expect 0 "^orvik-editor $version\$" "$stage/bin/orvik-editor" --version
expect 0 "^usage: orvik-editor" "$stage/bin/orvik-editor" --help
expect 2 "unknown option '--bogus'" "$stage/bin/orvik-editor" --bogus
expect 2 "too many arguments" "$stage/bin/orvik-editor" a.pff b.pff
expect 3 "needs a display" "$stage/bin/orvik-editor" --probe-display
expect 3 "needs a display" "$stage/bin/orvik-editor" -- --version

echo "== desktop entry, metainfo, man pages =="
desktop-file-validate "$stage/share/applications/$app_id.desktop" && ok "desktop-file-validate" ||
  fail "desktop-file-validate"
grep -q "<release version=\"$version\"" "$stage/share/metainfo/$app_id.metainfo.xml" ||
  fail "the metainfo does not name release $version"
appstreamcli validate --no-net "$stage/share/metainfo/$app_id.metainfo.xml" && ok "appstreamcli validate" ||
  fail "appstreamcli validate"
for page in orvik orvik-editor; do
  zcat "$stage/share/man/man1/$page.1.gz" | grep -q "^\.TH .* $version\"" ||
    fail "$page.1 does not give version $version"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$stage/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] && ok "man --warnings $page.1" || fail "man --warnings $page.1: $warnings"
done

echo "== bash completion =="
if [ -f /usr/share/bash-completion/bash_completion ]; then
  # complete LINE: what the completion offers for the last word of LINE.
  complete_line() {
    bash -c 'source /usr/share/bash-completion/bash_completion; source "$1"; shift
             COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
             _orvik orvik "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
             printf "%s\n" "${COMPREPLY[@]}"' _ "$stage/share/bash-completion/completions/orvik" "$@" | sort | tr '\n' ' '
  }
  while IFS='|' read -r line want; do
    read -r -a words <<<"$line"
    [[ "$line" == *" " ]] && words+=("")  # completing a new, empty word
    got=$(complete_line "${words[@]}")
    [ "$got" = "$want" ] && ok "completion of '$line'" || fail "completion of '$line': '$got', want '$want'"
  done <<'EOT'
orvik re|recovery render 
orvik recovery |list show 
orvik recovery list --|--folder --help 
orvik --v|--version 
orvik items kqbase.pff m01 --f|--format 
orvik items kqbase.pff m01 --format |csv json tsv 
orvik check kqbase.pff --format |json text 
orvik render b m --zoom |1 2 4 8 
orvik save b m t --n|--no-backup 
orvik demo --s|--seed 
EOT
else
  fail "bash-completion is not installed (scripts/install-deps.sh installs it)"
fi

echo "== packages =="
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G "DEB;TGZ" -B "$work/pkg" >"$work/cpack.log") ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/pkg/*.deb 2>/dev/null | head -n 1)
tgz=$(ls "$work"/pkg/*.tar.gz 2>/dev/null | head -n 1)
if [ -n "$deb" ]; then
  ok "built $(basename "$deb")"
  dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6" || fail "the .deb does not depend on Qt 6 Widgets"
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the .deb's version is not $version"
  lint_status=0
  lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || lint_status=$?
  cat "$work/lintian.log"
  if grep -q '^E:' "$work/lintian.log"; then
    fail "lintian reports errors"
  elif [ "$lint_status" -gt 1 ]; then
    fail "lintian could not check the package (status $lint_status)"
  else
    ok "lintian: no errors"
  fi
else
  fail "cpack made no .deb"
fi
if [ -n "$tgz" ] && tar -tzf "$tgz" | grep -q "/bin/orvik-editor$"; then
  ok "built $(basename "$tgz")"
else
  fail "cpack made no .tar.gz with bin/orvik-editor"
fi

if [ "$failures" -gt 0 ]; then
  echo "check-install: $failures failed" >&2
  exit 1
fi
echo "check-install: all passed"
