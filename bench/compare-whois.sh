#!/usr/bin/env bash
# Times quorvel-lookup against Debian's whois client on the same stand-in registry, and a
# lookup through all five registries, in the end-to-end network sandbox (needs root).
#
#   bench/compare-whois.sh [--runs N] [--build DIR]
#
# Builds quorvel-lookup optimised in DIR (default build/bench) first when needed.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/bench
runs=200
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) runs=$2; shift 2 ;;
        --build) build=$2; shift 2 ;;
        *) echo "usage: bench/compare-whois.sh [--runs N] [--build DIR]" >&2; exit 2 ;;
    esac
done

command -v whois >/dev/null || { echo "compare-whois: no whois client (scripts/install-deps.sh installs it)" >&2; exit 1; }
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset release -B "$build" >/dev/null
fi
cmake --build "$build" --target quorvel-lookup -j 2 >/dev/null
exec python3 bench/compare_whois.py --lookup "$build/cli/quorvel-lookup" --runs "$runs"
