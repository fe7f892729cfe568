#!/usr/bin/env bash
# Runs one harness: replays every kept crash input, then fuzzes for T30_FUZZ_SECONDS (default 20)
# starting from the seed corpus. New inputs go to a work corpus in the build folder (never the
# committed seeds), so later runs start where earlier ones stopped. Exits non-zero on any crash.
#   run_harness.sh BINARY NAME FUZZ_SOURCE_DIR FUZZ_BUILD_DIR
set -uo pipefail
bin=$1 name=$2 src=$3 out=$4
seconds=${T30_FUZZ_SECONDS:-20}
work=$out/work/$name
artifacts=$out/artifacts/$name
log=$out/logs/$name.log
summary=$out/logs/$name.summary  # the one line scripts/fuzz prints
mkdir -p "$work" "$artifacts" "$(dirname "$log")"
rm -f "$summary"

# A folder in memory where there is one: the readers under test flush every save to disk.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm

flags=(-timeout=10 -rss_limit_mb=2048 -artifact_prefix="$artifacts/")

shopt -s nullglob
kept=("$src/regressions/$name"/*)
if [ ${#kept[@]} -gt 0 ]; then
    if ! "$bin" "${flags[@]}" "${kept[@]}" >"$log" 2>&1; then
        tail -40 "$log"
        echo "fuzz $name: a kept crash input crashes again (log: $log)" | tee "$summary"
        exit 1
    fi
    echo "fuzz $name: ${#kept[@]} kept crash inputs replayed"
fi

"$bin" "${flags[@]}" -max_total_time="$seconds" -print_final_stats=1 \
    "$work" "$src/corpus/$name" >"$log" 2>&1
rc=$?
execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
corpus=$(find "$work" -type f | wc -l)
if [ $rc -ne 0 ]; then
    grep -E 'ERROR|SUMMARY|fuzz check failed|runtime error' "$log" | head -20
    echo "fuzz $name: CRASH after ${execs:-?} executions; input in $artifacts (log: $log)" |
        tee "$summary"
    exit 1
fi
echo "fuzz $name: ${execs:-?} executions in ${seconds} s, no crash (work corpus $corpus inputs)" |
    tee "$summary"
