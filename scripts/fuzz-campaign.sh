#!/usr/bin/env bash
# The long fuzzing campaign: every harness named (all of them when none is) runs on its corpus
# until RUNS executions or SECONDS have passed, whichever comes first, one after the other.
# Prints one table row per harness: executions, executions per second, edges covered, and
# whether it stopped on a finding (the input is then in BUILD/fuzz-findings).
# A unit counts as a hang after VELMORA_FUZZ_TIMEOUT seconds (60 unless set): long enough that
# other work on the machine does not pass for one.
#   bash scripts/fuzz-campaign.sh BUILD [RUNS] [SECONDS] [HARNESS...]
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: fuzz-campaign.sh BUILD [RUNS] [SECONDS] [HARNESS...]}
runs=${2:-10000000}
seconds=${3:-1800}
shift $(( $# >= 3 ? 3 : $# ))
corpus=$build/fuzz-corpus
findings=$build/fuzz-findings
mkdir -p "$findings"
"$build/fuzz/velmora_fuzz_corpus" "$corpus" || exit 1
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for program in "$build"/fuzz/*Fuzzer; do harnesses+=("$(basename "$program")"); done
fi
printf '%-24s %12s %10s %8s %s\n' harness executions exec/s edges result
for harness in "${harnesses[@]}"; do
  log=$findings/$harness.campaign.log
  status=0
  "$build/fuzz/$harness" -runs="$runs" -max_total_time="$seconds" -timeout="${VELMORA_FUZZ_TIMEOUT:-60}" \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/$harness-" "$corpus/$harness" > "$log" 2>&1 ||
    status=$?
  executions=$(awk '/^stat::number_of_executed_units/ {print $2}' "$log")
  speed=$(awk '/^stat::average_exec_per_sec/ {print $2}' "$log")
  edges=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 | awk '{print $2}')
  result=clean
  [ "$status" -eq 0 ] || result="finding (status $status), see $log"
  printf '%-24s %12s %10s %8s %s\n' "$harness" "${executions:-?}" "${speed:-?}" "${edges:-?}" "$result"
done
