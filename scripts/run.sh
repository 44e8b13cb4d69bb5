#!/usr/bin/env bash
# Installs what is needed, builds Quorvel and opens its window. With destinations as
# arguments it runs quorvel-lookup on them instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)"
if [ $# -gt 0 ]; then
    exec build/release/cli/quorvel-lookup "$@"
fi
exec build/release/dialog/wx/quorvel
