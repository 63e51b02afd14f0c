#!/usr/bin/env bash
# Runs every fuzz harness of a build made with VELMORA_BUILD_FUZZ=ON, one after the other
# (one process each), for SECONDS on its corpus in BUILD/fuzz-corpus/<Harness>: the seeds
# velmora_fuzz_corpus writes plus whatever earlier runs added. A crash, a hang, a leak or a
# sanitizer report stops the run with the input saved as BUILD/fuzz-findings/<Harness>-*.
#   bash scripts/fuzz.sh BUILD [SECONDS] [HARNESS...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: fuzz.sh BUILD [SECONDS] [HARNESS...]}
seconds=${2:-20}
shift $(( $# >= 2 ? 2 : 1 ))
[ "$seconds" -gt 0 ] || exit 0
corpus=$build/fuzz-corpus
findings=$build/fuzz-findings
mkdir -p "$findings"
"$build/fuzz/velmora_fuzz_corpus" "$corpus"
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for program in "$build"/fuzz/*Fuzzer; do harnesses+=("$(basename "$program")"); done
fi
for harness in "${harnesses[@]}"; do
  echo "== $harness (${seconds} s)"
  log=$findings/$harness.log
  status=0
  "$build/fuzz/$harness" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/$harness-" "$corpus/$harness" > "$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+[[:space:]]+DONE|stat::(number_of_executed_units|average_exec_per_sec|new_units_added)|SUMMARY)' "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log" >&2
    echo "$harness failed (status $status): the input is in $findings" >&2
    exit 1
  fi
done
