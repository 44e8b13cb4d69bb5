#!/usr/bin/env bash
# Offline demo: builds Quorvel and runs it against stand-in registries in a private network
# sandbox (root is needed for its namespaces). Opens the window on a local display, else runs
# quorvel-lookup on each demo destination. Pass --console to force the latter.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -ne 0 ]; then
    exec sudo --preserve-env=DISPLAY,XAUTHORITY "$0" "$@"
fi

scripts/install-deps.sh run test
cmake --preset release
targets=(quorvel-lookup)
if [ -n "${DISPLAY:-}" ]; then
    targets+=(quorvel)
fi
cmake --build --preset release -j 2 --target "${targets[@]}"
exec python3 tests/e2e/demo.py --build build/release "$@"
