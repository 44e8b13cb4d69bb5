#!/usr/bin/env bash
# Times the window's start-up under a private Xvfb: from exec until the window is mapped, and
# its peak resident memory, as medians over several runs.
#
#   bench/window-startup.sh [--runs N] [--build DIR] [--instructions PROFILE]
#
# Builds the window and the timer optimised in DIR (default build/bench) first when needed.
# With --instructions, one more start runs under callgrind, which counts the instructions from
# exec until the window has been shown for a second whatever the load; the profile goes to
# PROFILE, for callgrind_annotate.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/bench
runs=15
profile=""
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) runs=$2; shift 2 ;;
        --build) build=$2; shift 2 ;;
        --instructions) profile=$(realpath -m "$2"); shift 2 ;;
        *)
            echo "usage: bench/window-startup.sh [--runs N] [--build DIR] [--instructions FILE]" >&2
            exit 2
            ;;
    esac
done

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset release -B "$build" >/dev/null
fi
cmake --build "$build" --target quorvel quorvel-window-startup -j 2 >/dev/null
timer="$build/bench/quorvel-window-startup"
window="$build/dialog/wx/quorvel"

# The same private display and environment as the window's tests.
tests/dialog/run-under-xvfb.sh "$timer" --runs "$runs" -- "$window"

if [ -n "$profile" ]; then
    mkdir -p "$(dirname "$profile")"
    log=$(mktemp)
    trap 'rm -f "$log"' EXIT
    # valgrind runs the window in the timer's child process, so the timer's SIGTERM after the
    # settle time ends it, and callgrind writes its profile.
    tests/dialog/run-under-xvfb.sh "$timer" --runs 1 --settle 1000 -- /usr/bin/valgrind \
        --tool=callgrind --callgrind-out-file="$profile" --log-file="$log" "$window" >/dev/null
    echo "instructions from exec until the window had been shown for a second:" \
        "$(sed -n 's/.*Collected : //p' "$log") (profile: $profile)"
fi
