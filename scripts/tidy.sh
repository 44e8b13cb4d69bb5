#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy at the root) over the product code that a build compiled, with
# every finding an error. The tests, benchmarks and fuzz targets are not checked.
#
#   scripts/tidy.sh [BUILD_DIR]      (default: build/ci; it needs compile_commands.json)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/ci}
mapfile -t sources < <(git ls-files 'net/*.cpp' 'lookup/*.cpp' 'locate/*.cpp' 'cli/*.cpp' 'dialog/*.cpp' \
    'resources/*.cpp' | while read -r source; do
    # Only what this build compiles: the Windows sources are checked by no Linux build.
    grep -q "\"file\": \"$PWD/$source\"" "$build/compile_commands.json" && echo "$source"
done)
log=$build/clang-tidy.log
if ! run-clang-tidy -quiet -p "$build" -j "$(nproc 2>/dev/null || echo 2)" "${sources[@]}" >"$log" 2>&1; then
    sed "s/\x1b\[[0-9;]*m//g" "$log" | grep -E "(error|warning):" | sort -u
    echo "clang-tidy: findings above (whole output in $log)"
    exit 1
fi
echo "clang-tidy: ${#sources[@]} files, no findings"
