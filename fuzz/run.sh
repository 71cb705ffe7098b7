#!/usr/bin/env bash
# Runs every fuzz target of a build for a bounded time, one after the other, keeping each
# target's corpus. A target that finds a crash fails the run and leaves its reproducer in the
# build folder; its whole log is shown.
set -euo pipefail
build=$(cd "${1:?usage: fuzz/run.sh BUILD_FOLDER SECONDS}" && pwd)
seconds=${2:?usage: fuzz/run.sh BUILD_FOLDER SECONDS}
status=0
for target in "$build"/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus="$build/corpus/$name"
    log="$build/$name.log"
    mkdir -p "$corpus"
    if (cd "$build" && "./$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            "corpus/$name" > "$log" 2>&1); then
        runs=$(grep -Eo '^Done [0-9]+ runs' "$log" | grep -Eo '[0-9]+' || echo "?")
        echo "fuzz $name: $runs runs in ${seconds} s, no failure"
    else
        echo "fuzz $name: FAILED"
        cat "$log"
        status=1
    fi
done
exit $status
