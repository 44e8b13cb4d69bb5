#!/usr/bin/env bash
# Times the window's start-up under a private Xvfb: from exec until the window is mapped, and
# its peak resident memory, as medians over several runs; and the same for the toolkit's own
# dialog with the same controls (quorvel-bare-dialog), run in turn with the window so that both
# meet the same load, with the ratio of the two medians.
#
#   bench/window-startup.sh [--runs N] [--build DIR] [--instructions PROFILE]
#
# Builds the window, the bare dialog and the timer optimised in DIR (default build/bench) first
# when needed. The window starts with a stored history of 20 destinations and a stored size and
# position, as it does for a user who has used it, read from a scratch settings folder. With
# --instructions, one more start runs under callgrind, which counts the instructions from exec
# until the window has been shown for a second whatever the load; the profile goes to PROFILE,
# for callgrind_annotate.
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
cmake --build "$build" --target quorvel quorvel-bare-dialog quorvel-window-startup -j 2 >/dev/null
timer="$build/bench/quorvel-window-startup"
window="$build/dialog/wx/quorvel"
bare="$build/bench/quorvel-bare-dialog"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
settings="$scratch/quorvel/quorvel.conf"
mkdir -p "$(dirname "$settings")"
{
    echo "[Persistent_Options/Window/IDD_MAIN]"
    echo "x=40"; echo "y=30"; echo "w=700"; echo "h=600"; echo "Maximized=0"; echo "Iconized=0"
    echo "[History]"
    for n in $(seq 20); do echo "$n=203.0.113.$n"; done
} >"$settings"

# The same private display and environment as the window's tests; one run of each program in
# turn, so that a change of load meets both.
log="$scratch/runs.log"
for _ in $(seq "$runs"); do
    tests/dialog/run-under-xvfb.sh "$timer" --runs 1 -- "$bare" | sed -n 's/^run  1:/bare dialog:/p'
    tests/dialog/run-under-xvfb.sh env XDG_CONFIG_HOME="$scratch" "$timer" --runs 1 -- "$window" |
        sed -n 's/^run  1:/quorvel:    /p'
done | tee "$log"

median() {  # of the "mapped after X ms" figures of the lines starting with $1
    grep "^$1" "$log" | sed 's/.*mapped after *\([0-9.]*\) ms.*/\1/' | sort -n |
        awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}
bare_ms=$(median "bare dialog")
window_ms=$(median "quorvel")
echo "median of $runs runs each: quorvel mapped after $window_ms ms, the bare dialog after" \
    "$bare_ms ms: $(awk -v w="$window_ms" -v b="$bare_ms" 'BEGIN { printf "%.2f", w / b }') times"

if [ -n "$profile" ]; then
    mkdir -p "$(dirname "$profile")"
    valgrind_log="$scratch/valgrind.log"
    # valgrind runs the window in the timer's child process, so the timer's SIGTERM after the
    # settle time ends it, and callgrind writes its profile.
    tests/dialog/run-under-xvfb.sh env XDG_CONFIG_HOME="$scratch" "$timer" --runs 1 --settle 1000 -- /usr/bin/valgrind \
        --tool=callgrind --callgrind-out-file="$profile" --log-file="$valgrind_log" "$window" >/dev/null
    echo "instructions from exec until the window had been shown for a second:" \
        "$(sed -n 's/.*Collected : //p' "$valgrind_log") (profile: $profile)"
fi
