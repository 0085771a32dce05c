#!/usr/bin/env bash
# Builds the fuzz preset (clang; the libraries instrumented too) and runs every fuzzer for
# FUZZ_SECONDS (default 30) on a scratch copy of its corpus in fuzz/corpus, two at a time.
# Any finding (crash, sanitizer report, leak, hang, broken property) fails the run; the input
# that caused it is kept in build/fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}
echo "== fuzz build =="
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 2

# The harnesses that read through files write one at every run: keep them in memory where we can.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch=$(mktemp -d -p /dev/shm orvik-fuzz.XXXXXX)
else
    scratch=$(mktemp -d)
fi
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch
findings=$PWD/build/fuzz/findings
rm -rf "$findings"
mkdir -p "$findings"

run_one() {
    local name=$1 work="$scratch/$1"
    mkdir -p "$work/corpus"
    cp fuzz/corpus/"$name"/* "$work/corpus/"
    # Run from the scratch folder: nothing the fuzzer writes lands in the repository.
    if (cd "$work" && "$OLDPWD/build/fuzz/fuzz/$name" -max_total_time="$seconds" -timeout=25 \
            -artifact_prefix="$findings/$name-" -print_final_stats=1 corpus >log 2>&1); then
        echo "$name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$work/log" | grep -o '[0-9]*$') runs," \
             "$(grep -o 'cov: [0-9]*' "$work/log" | tail -1), no finding"
    else
        echo "$name: FINDING (input kept in $findings)"
        tail -n 40 "$work/log"
        return 1
    fi
}
export -f run_one
export scratch findings seconds

echo "== fuzzing, ${seconds} s each =="
targets=$(cd fuzz && ls *_fuzz.cpp | sed 's/\.cpp$//')
for t in $targets; do
    [ -n "$(ls -A "fuzz/corpus/$t" 2>/dev/null)" ] || { echo "$t has no corpus in fuzz/corpus/$t"; exit 1; }
done
if ! printf '%s\n' $targets | xargs -P 2 -I{} bash -c 'run_one {}'; then
    echo "Fuzzing found faults."
    exit 1
fi
