#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build and its install and packages
# (scripts/check-install.sh), then ASan + UBSan with the exerciser's runs, then every fuzzer for 30 s
# (scripts/fuzz.sh), then the Windows stage (scripts/windows.sh; ORVIK_SKIP_WINDOWS=1 skips it).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc 2>/dev/null || echo 2)
# The first run builds Qt for MinGW (about 35 minutes, then cached); it starts now, at a lower priority,
# and takes the time the stages below leave idle. The Windows stage waits for it.
# It runs in a process group of its own, so that a stage that fails stops it with everything it started.
qt_pid=""
stop_qt() {
  if [ -n "$qt_pid" ]; then
    kill -- "-$qt_pid" 2>/dev/null || true
    wait "$qt_pid" 2>/dev/null || true
  fi
}
trap stop_qt EXIT
if [ "${ORVIK_SKIP_WINDOWS:-0}" != 1 ] && ! ./scripts/qt-mingw.sh --cached >/dev/null; then
  mkdir -p build
  echo "== Qt for MinGW-w64: building in the background (log: build/qt-mingw.log) =="
  setsid nice -n 10 ./scripts/qt-mingw.sh >build/qt-mingw.log 2>&1 &
  qt_pid=$!
fi
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
  else
    # The tireless user under the sanitizers: a fixed seed, then one of its own that it prints.
    # Qt keeps caches for the life of the process, so the exerciser runs without the leak check; the
    # setting is the exerciser's alone (the fuzzers after it check for leaks).
    seed=$(shuf -i 1-999999 -n 1)
    echo "== exerciser: 30 s with seed 2024, then 30 s with the random seed $seed =="
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
      build/asan/tests/orvik-exercise --seed 2024 --seconds 30
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
      build/asan/tests/orvik-exercise --seed "$seed" --seconds 30
  fi
done
./scripts/fuzz.sh
if [ -n "$qt_pid" ]; then
  echo "== waiting for the Qt for MinGW-w64 build =="
  if ! wait "$qt_pid"; then
    qt_pid=""
    tail -n 40 build/qt-mingw.log >&2
    exit 1
  fi
  qt_pid=""
  cat build/qt-mingw.log
fi
./scripts/windows.sh
