#!/usr/bin/env bash
# Installs what is needed, builds Quorvel and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)"
build/release/cli/quorvel-lookup "${@:-127.0.0.1}"
