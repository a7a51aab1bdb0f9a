#!/usr/bin/env bash
# Runs every fuzz target for a number of seconds, starting from the seed
# corpus in fuzz/corpus (which is only read). Usage: run-fuzzers.sh BUILD SECONDS
set -euo pipefail
build=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
work="$build/fuzz-work"
mkdir -p "$work"
status=0
for target in formula composition element_file number; do
  mkdir -p "$work/$target"
  echo "fuzzing $target for ${seconds}s"
  if ! (cd "$work" && "$root/$build/fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 "$target" "$root/fuzz/corpus/$target" \
        > "$target.log" 2>&1); then
    echo "FAILED: $target (see $work/$target.log)"
    tail -n 40 "$work/$target.log"
    status=1
  else
    grep -E "stat::number_of_executed_units|cov:" "$work/$target.log" | tail -n 2
  fi
done
exit $status
