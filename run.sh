#!/usr/bin/env bash
# Installs what is missing, builds, and opens the editor: on BASE when given, else on a demo game.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)"
if [ $# -ge 1 ]; then
  base="$1"
else
  demo="$PWD/build/demo"
  if [ ! -f "$demo/kqbase.pff" ]; then
    ./build/release/src/orvik demo "$demo"
  fi
  base="$demo/kqbase.pff"
fi
if [ -x ./build/release/src/orvik-editor ]; then
  exec ./build/release/src/orvik-editor "$base"
fi
./build/release/src/orvik missions "$base"
