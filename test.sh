#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build and its install and packages
# (scripts/check-install.sh), then ASan + UBSan, then every fuzzer for 30 s (scripts/fuzz.sh), then the
# Windows cross-build under Wine (scripts/windows.sh; ORVIK_SKIP_WINDOWS=1 skips it).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc 2>/dev/null || echo 2)
for preset in release asan; do
  echo "== $preset build =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset tests =="
  ctest --preset "$preset" -j "$jobs"
  if [ "$preset" = release ]; then
    ./scripts/bench-check.sh build/release
    echo "== install and packages =="
    ./scripts/check-install.sh build/release
  fi
done
./scripts/fuzz.sh
./scripts/windows.sh
