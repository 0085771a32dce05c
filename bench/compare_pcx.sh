#!/usr/bin/env bash
# Times our PCX decoder against ImageMagick, netpbm and Pillow on the same generated files.
#
#   bench/compare_pcx.sh [IMAGE_BENCH]
#
# IMAGE_BENCH is the Release build of bench/image_bench.cpp (default: build/release/bench/image_bench,
# built there when missing). It writes the test files (terrain-like 1024 x 1024 8-bit and 24-bit
# maps, an 8192 x 8192 8-bit map, and one-pixel files) and times LoadPcxImage on them.
# The other decoders run as whole processes; their start-up is timed apart on the one-pixel file of
# the same kind and taken off. Pillow is timed inside one Python process (open, load, convert to RGB).
# A ratio above 1 means the other decoder takes that many times as long as ours.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
bench=${1:-$root/build/release/bench/image_bench}

if [[ ! -x $bench ]]; then
    echo "Building $bench (Release) ..." >&2
    build=$(dirname "$(dirname "$bench")")
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVIK_BUILD_BENCH=ON >/dev/null
    cmake --build "$build" --target image_bench -j2 >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "Generating the files and timing our decoder ..." >&2
ORVIK_PCX_BENCH_DIR=$work "$bench" --benchmark_filter='BM_LoadPcx' --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$work/ours.json"

# The ImageMagick converter: IM7's magick, else IM6's convert.
magick=""
if command -v magick >/dev/null 2>&1; then
    magick=$(command -v magick)
elif command -v convert >/dev/null 2>&1; then
    magick=$(command -v convert)
fi
pcxtoppm=$(command -v pcxtoppm || true)
# A Python that has Pillow (the Debian package python3-pil installs it for /usr/bin/python3).
pillow_python=""
for py in python3 /usr/bin/python3; do
    if command -v "$py" >/dev/null 2>&1 && "$py" -c 'import PIL' >/dev/null 2>&1; then
        pillow_python=$(command -v "$py")
        break
    fi
done
driver=$(command -v python3 || true)
if [[ -z $driver ]]; then
    echo "python3 is needed to run the comparison." >&2
    exit 1
fi

[[ -n $magick ]] || echo "MISSING: ImageMagick (package imagemagick) - not compared." >&2
[[ -n $pcxtoppm ]] || echo "MISSING: netpbm's pcxtoppm (package netpbm) - not compared." >&2
[[ -n $pillow_python ]] || echo "MISSING: Pillow (package python3-pil) - not compared." >&2

echo "Timing the other decoders ..." >&2
MAGICK=$magick PCXTOPPM=$pcxtoppm PILLOW_PYTHON=$pillow_python WORK=$work "$driver" - <<'PY'
import json, os, statistics, subprocess, time

work = os.environ["WORK"]
files = [
    ("terrain8_1024", "tiny8_1", "8-bit 1024 x 1024", 7),
    ("terrain24_1024", "tiny24_1", "24-bit 1024 x 1024", 7),
    ("terrain8_8192", "tiny8_1", "8-bit 8192 x 8192", 3),
]

ours = {}
for b in json.load(open(os.path.join(work, "ours.json")))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        name = b["run_name"].split("BM_LoadPcx_")[1].lower()
        scale = {"ms": 1.0, "us": 1e-3, "ns": 1e-6, "s": 1e3}[b["time_unit"]]
        ours[name] = b["real_time"] * scale

def path(name):
    return os.path.join(work, name + ".pcx")

class Refused(Exception):
    pass

def run_median(cmd, runs):
    times = []
    for _ in range(runs):
        t0 = time.perf_counter()
        res = subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        times.append((time.perf_counter() - t0) * 1000.0)
        if res.returncode != 0:
            lines = res.stderr.strip().splitlines()
            raise Refused(lines[0] if lines else "exit status %d" % res.returncode)
    return statistics.median(times)

tools = []
if os.environ.get("MAGICK"):
    m = os.environ["MAGICK"]
    tools.append(("ImageMagick", lambda f: [m, f, "ppm:/dev/null"]))
if os.environ.get("PCXTOPPM"):
    p = os.environ["PCXTOPPM"]
    tools.append(("netpbm pcxtoppm", lambda f: [p, f]))

rows = []
for tool, make in tools:
    for name, tiny, label, runs in files:
        try:
            startup = run_median(make(path(tiny)), 9)
            whole = run_median(make(path(name)), runs)
        except Refused as error:
            rows.append((tool, label, None, None, str(error)))
            continue
        net = max(whole - startup, 0.0)
        rows.append((tool, label, whole, startup, net))

pillow = os.environ.get("PILLOW_PYTHON")
if pillow:
    script = r'''
import json, statistics, sys, time
from PIL import Image
Image.MAX_IMAGE_PIXELS = None
out = {}
for f, runs in json.loads(sys.argv[1]):
    times = []
    for _ in range(runs):
        t0 = time.perf_counter()
        with Image.open(f) as im:
            im.load()
            rgb = im.convert("RGB")
        times.append((time.perf_counter() - t0) * 1000.0)
    out[f] = statistics.median(times)
print(json.dumps(out))
'''
    arg = json.dumps([[path(n), r] for n, _, _, r in files])
    res = subprocess.run([pillow, "-c", script, arg], capture_output=True, text=True)
    if res.returncode == 0:
        got = json.loads(res.stdout)
        for name, _, label, _ in files:
            t = got[path(name)]
            rows.append(("Pillow (in process)", label, t, 0.0, t))
    else:
        print("Pillow failed: " + res.stderr.strip().splitlines()[-1])

key = {"8-bit 1024 x 1024": "terrain8_1024", "24-bit 1024 x 1024": "terrain24_1024",
       "8-bit 8192 x 8192": "terrain8_8192"}
print()
print("Ours (LoadPcxImage, median of 3 benchmark runs):")
for name, _, label, _ in files:
    print(f"  {label:20s} {ours[name]:9.2f} ms")
print()
print(f"{'decoder':22s} {'file':20s} {'whole':>10s} {'start-up':>10s} {'decoding':>10s} {'ratio':>8s}")
for tool, label, whole, startup, net in rows:
    if whole is None:
        print(f"{tool:22s} {label:20s} failed: {net}")
        continue
    ratio = net / ours[key[label]]
    print(f"{tool:22s} {label:20s} {whole:8.1f}ms {startup:8.1f}ms {net:8.1f}ms {ratio:7.1f}x")
PY
