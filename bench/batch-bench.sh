#!/usr/bin/env bash
# quorvel-lookup's batch against slow stand-in registries, the finding of addresses against
# grep, and the peak memory of an --extract run, in the end-to-end network sandbox (needs root).
#
#   bench/batch-bench.sh [--build DIR] [--quick]
#
# Builds quorvel-lookup and quorvel-extract-speed optimised in DIR (default build/bench) first
# when needed; see batch_bench.py for what is measured.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/bench
options=()
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build=$2; shift 2 ;;
        *) options+=("$1"); shift ;;
    esac
done

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset release -B "$build" >/dev/null
fi
cmake --build "$build" --target quorvel-lookup quorvel-extract-speed -j 2 >/dev/null
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
exec "$python" bench/batch_bench.py --lookup "$build/cli/quorvel-lookup" \
    --extract-speed "$build/bench/quorvel-extract-speed" "${options[@]}"
