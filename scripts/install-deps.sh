#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the fuzzers, the demo and the install checks
# (packaging and validating the desktop files, man pages and completion) need, when any is missing.
#   scripts/install-deps.sh --run   only what building and running the editor needs (./run.sh)
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev qt6-qpa-plugins libcli11-dev nlohmann-json3-dev
          fonts-liberation)
if [ "${1:-}" != --run ]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth clang libclang-rt-14-dev xdotool imagemagick
             dpkg-dev lintian desktop-file-utils appstream man-db bash-completion)
  # The Windows stage (scripts/windows.sh), unless skipped: the cross compiler, Wine, the installer maker.
  if [ "${ORVIK_SKIP_WINDOWS:-0}" != 1 ]; then
    packages+=(g++-mingw-w64-x86-64-posix wine wine64 nsis unzip)
  fi
fi
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
