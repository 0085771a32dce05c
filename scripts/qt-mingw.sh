#!/usr/bin/env bash
# Qt for MinGW-w64, built once from Debian's source package of the host's Qt version (so the host's moc,
# rcc and uic serve the cross-build), and cached outside the tree. Prints the Qt prefix on its last line.
#   scripts/qt-mingw.sh            build, or find the cache
#   scripts/qt-mingw.sh --prefix   print where the cache is (or would be) and exit
#   scripts/qt-mingw.sh --cached   exit 0 when the cache is complete, else 1
# Only what the editor, orvik and their tests use is built: Core, Gui, Widgets and Test, shared (users may
# replace the Qt DLLs), with the windows and offscreen platform plugins and the Windows styles.
# A build that was cut short never counts: it builds and installs under temporary names and renames the
# finished install into place last.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/orvik"
triple=x86_64-w64-mingw32

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null | sed 's/+.*//; s/-.*//')
if [ -z "$qt_version" ]; then
  echo "qt-mingw: qt6-base-dev is not installed, so the host's Qt version is unknown" >&2
  exit 1
fi
host_cmake_dir=$(dirname "$(dirname "$(dpkg -L qt6-base-dev | grep -m1 '/cmake/Qt6/Qt6Config.cmake$')")")

# Everything that shapes the build goes into the cache name, so that a change of it builds anew.
options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF
  -DFEATURE_vulkan=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
  -DFEATURE_direct2d=OFF -DFEATURE_zstd=OFF -DFEATURE_testlib_selfcover=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF
  -DFEATURE_accessibility=ON -DFEATURE_style_windows=ON -DFEATURE_style_windowsvista=ON
  -DFEATURE_style_fusion=ON
  -DFEATURE_pdf=OFF -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF
  -DFEATURE_textmarkdownwriter=OFF -DFEATURE_sessionmanager=OFF
)
# The source package's Debian revision and the cross compiler's version shape the binaries too.
qt_package_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
mingw_version="$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix 2>/dev/null || true) $($triple-g++-posix --version 2>/dev/null | head -n 1 || true)"
recipe_hash=$(printf '%s\n' "$qt_package_version" "$mingw_version" "${options[@]}" no-wintab gdi-fonts \
                "$(sha256sum <"$here/cmake/qt-mingw-toolchain.cmake")" | sha256sum | cut -c1-12)
prefix="$cache/qt-$qt_version-mingw-$recipe_hash"
if [ "${1:-}" = --prefix ]; then
  echo "$prefix"
  exit 0
fi
complete=0
[ -f "$prefix/lib/cmake/Qt6/Qt6Config.cmake" ] && [ -f "$prefix/.complete" ] && complete=1
if [ "${1:-}" = --cached ]; then
  [ "$complete" = 1 ]
  exit
fi
if [ "$complete" = 1 ]; then
  echo "qt-mingw: using the cached Qt $qt_version for MinGW in $prefix"
  echo "$prefix"
  exit 0
fi

mkdir -p "$cache"
# Two runs at once (two checkouts' test.sh) take turns: the second waits, then finds the first's cache.
exec 9>"$cache/.lock-$recipe_hash"
if ! flock -n 9; then
  echo "qt-mingw: another run is building this Qt; waiting for it"
  flock 9
fi
if [ -f "$prefix/lib/cmake/Qt6/Qt6Config.cmake" ] && [ -f "$prefix/.complete" ]; then
  echo "qt-mingw: using the cached Qt $qt_version for MinGW in $prefix"
  echo "$prefix"
  exit 0
fi
work="$cache/work-$qt_version-$recipe_hash"
logs="$cache/logs"
mkdir -p "$work" "$logs"
step_start=0
step() {
  step_name="$1"
  step_log="$logs/$2.log"
  step_start=$(date +%s)
  echo "== qt-mingw: $step_name (log: $step_log) =="
}
step_done() { echo "== qt-mingw: $step_name took $(( $(date +%s) - step_start )) s =="; }
fail() {
  echo "qt-mingw: $step_name failed; see $step_log (the last lines follow)." >&2
  tail -n 30 "$step_log" >&2 || true
  echo "qt-mingw: ORVIK_SKIP_WINDOWS=1 skips the Windows stage." >&2
  exit 1
}
run() { "$@" >>"$step_log" 2>&1 || fail; }

# 1. The source package, fetched through an apt configuration of this script's own (its own source
#    list and package lists under the work folder), so the machine's apt settings are never changed.
src="$work/qtbase"
if [ ! -f "$src/.unpacked" ]; then
  step "fetching the qt6-base $qt_package_version source package" fetch
  : >"$step_log"
  os_id=$(. /etc/os-release 2>/dev/null && echo "${ID:-}")
  os_version=$(. /etc/os-release 2>/dev/null && echo "${VERSION_ID:-}")
  if [ "$os_id" != debian ] || [ "$os_version" != 12 ]; then
    echo "qt-mingw: this host is ${os_id:-unknown} ${os_version:-}, not Debian 12: the Qt source package for" >&2
    echo "qt-mingw: the Windows build is fetched from Debian 12 only. ORVIK_SKIP_WINDOWS=1 skips the Windows stage." >&2
    exit 1
  fi
  apt_dir="$work/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/parts"
  cat >"$apt_dir/sources.list" <<'SOURCES'
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm-updates main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian-security bookworm-security main
SOURCES
  apt_private=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
               -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache="
               -o "Debug::NoLocking=1")
  run apt-get "${apt_private[@]}" update -qq
  rm -rf "$work/fetch" "$src"
  mkdir -p "$work/fetch"
  (cd "$work/fetch" && apt-get "${apt_private[@]}" source -qq "qt6-base=$qt_package_version") \
    >>"$step_log" 2>&1 || fail
  unpacked=$(find "$work/fetch" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
  [ -n "$unpacked" ] || fail
  mv "$unpacked" "$src"
  rm -rf "$work/fetch"
  # Debian's repacked source leaves out the bundled Wintab header, so the windows platform plugin is
  # built without Wintab tablet support (Windows Ink pointer input stays).
  plugin="$src/src/plugins/platforms/windows"
  grep -l "QT_CONFIG(tabletevent)" "$plugin"/*.cpp "$plugin"/*.h | xargs sed -i 's/QT_CONFIG(tabletevent)/0/'
  sed -i 's/CONDITION QT_FEATURE_tabletevent/CONDITION FALSE/' "$plugin/CMakeLists.txt"
  # Qt Gui builds its DirectWrite font database only with Direct2D, which is left out; the plugin then
  # uses the GDI one.
  sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
    "$plugin/qwindowsintegration.cpp"
  touch "$src/.unpacked"
  step_done
fi

# 2. Configure and build, in a build folder of this recipe; Ninja resumes an interrupted build.
build="$work/build"
staging="$prefix.tmp"
if [ ! -f "$build/build.ninja" ]; then
  step "configuring Qt for MinGW-w64" configure
  : >"$step_log"
  rm -rf "$build"
  run cmake -G Ninja -S "$src" -B "$build" \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/qt-mingw-toolchain.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
    -DCMAKE_INSTALL_PREFIX="$staging" "${options[@]}"
  step_done
fi
step "building Qt (about 1,000 steps; 30-40 minutes on two cores)" build
: >"$step_log"
run cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)"
step_done

step "installing Qt into the cache" install
: >"$step_log"
rm -rf "$staging"
run cmake --install "$build"
# Run-time libraries of the compiler, beside the Qt DLLs, so that everything built with it finds them.
gcc_dir=$(dirname "$($triple-g++-posix -print-libgcc-file-name)")
for dll in "$gcc_dir/libstdc++-6.dll" "$gcc_dir/libgcc_s_seh-1.dll" "/usr/$triple/lib/libwinpthread-1.dll"; do
  [ -f "$dll" ] || { echo "missing $dll" >>"$step_log"; fail; }
  cp "$dll" "$staging/bin/"
done
touch "$staging/.complete"
rm -rf "$prefix"
mv "$staging" "$prefix"
step_done
# The build folder is only needed to resume; the install holds everything later runs use.
rm -rf "$build"
echo "$prefix"
