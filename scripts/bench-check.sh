#!/usr/bin/env bash
# The benchmark gate: runs the benchmarks named in bench/targets.txt briefly (three repetitions
# each), prints each one's target and median, and fails when a median is over 10 times its target.
# The margin is wide because shared machines are noisy: the gate catches a regression that walks a
# whole mission on every keystroke, not a few per cent. Medians are of real time: the CPU time of
# the benchmark's own thread would miss the work done on other threads and the waits for them.
# Usage: scripts/bench-check.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
targets=bench/targets.txt
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
results=$(mktemp)
trap 'rm -f "$results"' EXIT

programs=$(grep -v '^#' "$targets" | awk 'NF { print $1 }' | sort -u)
for program in $programs; do
  exe="$build/bench/$program"
  if [ ! -x "$exe" ]; then
    echo "bench-check: $exe is missing; build the release preset first" >&2
    exit 1
  fi
  filter=$(grep -v '^#' "$targets" | awk -v p="$program" '$1 == p { printf "%s%s", sep, $2; sep = "|" }')
  # JSON, not CSV: the CSV writer stops a program whose benchmarks keep different counters. Each
  # run is an object whose "name", "aggregate_name", "real_time" and "time_unit" come one a line,
  # in that order; the medians are kept, of real time.
  # A benchmark's name may carry its settings ("BM_X/min_time:2.000"); they are not part of it here.
  "$exe" --benchmark_filter="^($filter)(/.*)?\$" --benchmark_repetitions=3 --benchmark_min_time=0.05 \
    --benchmark_report_aggregates_only=true --benchmark_format=json 2>/dev/null |
    awk -F'"' '$2 == "name" { name = $4; sub(/_median$/, "", name); sub(/\/.*/, "", name); median = 0 }
               $2 == "aggregate_name" { median = ($4 == "median") }
               $2 == "real_time" { value = $3; gsub(/[:, ]/, "", value) }
               $2 == "time_unit" && median { print name, value, $4; median = 0 }' >>"$results"
done

status=0
printf '%-36s %12s %12s  %s\n' benchmark target median ""
while read -r program name target unit rest; do
  case "$program" in '#'* | '') continue ;; esac
  line=$(awk -v n="$name" '$1 == n' "$results")
  if [ -z "$line" ]; then
    printf '%-36s %9s %-2s %12s  %s\n' "$name" "$target" "$unit" "none" "FAILED: did not run"
    status=1
    continue
  fi
  read -r _ value valueUnit <<<"$line"
  verdict=$(awk -v v="$value" -v vu="$valueUnit" -v t="$target" -v tu="$unit" 'BEGIN {
    f["ns"] = 1e-6; f["us"] = 1e-3; f["ms"] = 1; f["s"] = 1000
    ms = v * f[vu]; limit = t * f[tu]
    printf "%.4g %s", ms / f[tu], (ms > 10 * limit ? "FAILED: over 10x its target" : (ms > limit ? "over target" : "ok"))
  }')
  read -r shown word <<<"$verdict"
  printf '%-36s %9s %-2s %9s %-2s  %s\n' "$name" "$target" "$unit" "$shown" "$unit" "$word"
  case "$word" in FAILED*) status=1 ;; esac
done <"$targets"
exit $status
