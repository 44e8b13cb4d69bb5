#!/usr/bin/env bash
# Times quorvel-lookup against Debian's whois client on the same stand-in registry, and a
# lookup through all five registries, in the end-to-end network sandbox (needs root).
#
#   bench/compare-whois.sh [--build DIR] [--runs N] [--instructions PROFILE-DIR]
#
# Builds quorvel-lookup optimised in DIR (default build/bench) first when needed; the other
# options go to compare_whois.py (see there).
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

command -v whois >/dev/null || { echo "compare-whois: no whois client (scripts/install-deps.sh extra installs it)" >&2; exit 1; }
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset release -B "$build" >/dev/null
fi
cmake --build "$build" --target quorvel-lookup -j 2 >/dev/null
# Debian's own interpreter where there is one, as the end-to-end cases use.
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
exec "$python" bench/compare_whois.py --lookup "$build/cli/quorvel-lookup" "${options[@]}"
