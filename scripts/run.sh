#!/usr/bin/env bash
# Installs what building and running needs, builds Quorvel (without its tests) and opens its
# window. With destinations as arguments it runs quorvel-lookup on them instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
cmake --preset release -DQUORVEL_BUILD_TESTS=OFF
cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)"
if [ $# -gt 0 ]; then
    exec build/release/cli/quorvel-lookup "$@"
fi
exec build/release/dialog/wx/quorvel
