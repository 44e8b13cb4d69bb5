#!/usr/bin/env bash
# Installs what is needed, builds everything with warnings as errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc 2>/dev/null || echo 2)

scripts/install-deps.sh all

echo "== build and unit tests"
cmake --preset ci
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs"

echo "== clang-tidy over the product code"
scripts/tidy.sh build/ci

echo "== the offline demo on the console, against its stand-in registries (ctest ran the"
echo "   end-to-end cases)"
python3 tests/e2e/demo.py --build build/ci --console >/dev/null || [ $? -eq 77 ]  # 77: no sandbox here

echo "== benchmarks, one short run each (ctest ran the microbenchmarks): the whole-process"
echo "   comparison with the whois client, the window's start-up, and quorvel-lookup's batch"
bench/compare-whois.sh --build build/ci --runs 3
bench/window-startup.sh --build build/ci --runs 1
bench/batch-bench.sh --build build/ci --quick

echo "== install rules, desktop integration, man pages and the Debian package"
scripts/check-package.sh build/ci

echo "== Windows: both architectures built and packaged (ZIP and installer); the 32-bit one only"
echo "   compiled, as this kernel runs no 32-bit code; the 64-bit one's unit tests, end-to-end cases"
echo "   and window tests under wine, and its installer installed, run and uninstalled under wine"
for preset in windows-i686 windows-x86_64; do
    cmake --preset "$preset"
    cmake --build --preset "$preset" -j "$jobs"
    (cd "build/$preset" && cpack >/dev/null)
done
# Now and then wine loses a program at its start (a test "fails" in 0.02 s, before it has run, where
# the same test passes in every other run): such a test is run once more, and both runs show in
# the log.
WINEPREFIX=build/windows-x86_64/wine scripts/wine-sandbox.sh ctest --preset windows-x86_64 -j "$jobs" \
    --repeat until-pass:2
scripts/check-windows-installer.sh build/windows-x86_64

echo "== every test again under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer"
echo "   (quorvel-lookup's end-to-end runs included: a leak fails its case)"
cmake --preset ci-sanitize
cmake --build --preset ci-sanitize -j "$jobs"
ctest --preset ci-sanitize -j "$jobs"

echo "== the unit tests again under ThreadSanitizer (the Locate command's worker and its cancel);"
echo "   the first report ends the run with a failure"
cmake --preset ci-thread
cmake --build --preset ci-thread -j "$jobs"
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" timeout 600 build/ci-thread/tests/unit/quorvel_unit_tests --gtest_brief=1

echo "== fuzzing: each libFuzzer target for ${QUORVEL_FUZZ_SECONDS:-60} s"
cmake --preset fuzz
cmake --build --preset fuzz -j "$jobs"
scripts/fuzz.sh build/fuzz "${QUORVEL_FUZZ_SECONDS:-60}"
