#!/usr/bin/env bash
# Builds and runs every benchmark of bench/ (those that read the screen inside a private Xvfb).
# Extra arguments go to each benchmark, e.g. --benchmark_repetitions=5.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
for bench in build/bench/*_bench; do
    echo "== $(basename "$bench")"
    case "$bench" in
    *capture_bench*) tests/support/run_in_xvfb.sh "$bench" "$@" ;;
    *) "$bench" "$@" ;;
    esac
done
