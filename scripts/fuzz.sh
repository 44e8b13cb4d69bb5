#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a bounded time, one after another, each from
# its seeds and the corpus earlier runs grew. Prints each target's executions; any crash or
# failed check stops the run with the input that caused it.
#
#   scripts/fuzz.sh [BUILD_DIR] [SECONDS_PER_TARGET]      (defaults: build/fuzz, 60)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/fuzz}
seconds=${2:-60}
replies=tests/data  # captured and written replies
seeds=$build/fuzz/seeds

# Target, then the folders its seeds come from.
targets=(
    "fuzz_scan_apnic $replies"
    "fuzz_scan_arin $replies"
    "fuzz_scan_ripe $replies"
    "fuzz_scan_lacnic $replies"
    "fuzz_lookup_address $seeds/lookup_address"
    "fuzz_dotted_address $seeds/dotted_address"
    "fuzz_ipv6_address $seeds/ipv6_address"
    "fuzz_destination $seeds/destination"
    "fuzz_reply_lines $replies"
    "fuzz_batch_output $replies"
)

for entry in "${targets[@]}"; do
    read -r target seed_dirs <<<"$entry"
    corpus=$build/fuzz/corpus/$target
    artifacts=$build/fuzz/artifacts/$target
    log=$build/fuzz/$target.log
    mkdir -p "$corpus" "$artifacts"
    regressions=()
    if [ -d "fuzz/regressions/$target" ]; then
        regressions=("fuzz/regressions/$target")
    fi
    if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
        -dict=fuzz/whois.dict -print_final_stats=1 -artifact_prefix="$artifacts/" \
        "$corpus" $seed_dirs "${regressions[@]}" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$target: FAILED; the input is in $artifacts/ (add it to fuzz/regressions/$target/)"
        exit 1
    fi
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1)
    echo "$target: $executions executions in $seconds s, $coverage, corpus $(ls "$corpus" | wc -l), no crash"
done
