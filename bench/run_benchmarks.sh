#!/usr/bin/env bash
# Builds and runs every in-process benchmark of bench/, each operation beside its anchor. The
# capture benchmarks run in a private Xvfb at 1920x1080 and again at 3840x2160.
# Extra arguments go to each benchmark, e.g. --benchmark_repetitions=5.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
for bench in build/bench/*_bench; do
    case "$bench" in
    *capture_bench*)
        for screen in 1920x1080x24 3840x2160x24; do
            echo "== $(basename "$bench") on ${screen%x24}"
            XVFB_SCREEN=$screen tests/support/run_in_xvfb.sh "$bench" "$@"
        done
        ;;
    *screencopy_bench*) # a wlroots desktop's; bench/compare-peers runs it on a private sway
        ;;
    *)
        echo "== $(basename "$bench")"
        "$bench" "$@"
        ;;
    esac
done
