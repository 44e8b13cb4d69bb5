#!/usr/bin/env bash
# Times the window's start-up under a private Xvfb: from exec until the window is mapped, and
# its peak resident memory, as medians over several runs.
#
#   bench/window-startup.sh [--runs N] [--build DIR]
#
# Builds the window and the timer optimised in DIR (default build/bench) first when needed.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/bench
runs=15
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) runs=$2; shift 2 ;;
        --build) build=$2; shift 2 ;;
        *) echo "usage: bench/window-startup.sh [--runs N] [--build DIR]" >&2; exit 2 ;;
    esac
done

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset release -B "$build" >/dev/null
fi
cmake --build "$build" --target quorvel quorvel-window-startup -j 2 >/dev/null

# The same private display and environment as the window's tests.
exec tests/dialog/run-under-xvfb.sh \
    "$build/bench/quorvel-window-startup" --runs "$runs" -- "$build/dialog/quorvel"
