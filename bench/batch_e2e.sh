#!/usr/bin/env bash
# The command line's batch against the dialogue, whole processes: the same
# N wind-sea cases (the scripted session's spread) as a CSV batch and typed
# into the dialogue, pinned to one core, output to files; rows per second
# of wall and of CPU time for each. Then the in-process Google Benchmark of
# the same comparison on cases that all have their development table.
# Usage: bench/batch_e2e.sh [N]   (builds the bench preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-100000}
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
program=build/bench/morvelstandrik
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v n="$n" -v dir="$work" 'BEGIN {
  print "wind_kt,duration_h,fetch_km,depth_m,current_kt" > dir "/cases.csv"
  printf "1\n\n" > dir "/session"
  for (k = 0; k < n; ++k) {
    w = 10 + k % 56; d = 1 + (k * 7) % 200; f = 1 + (k * 37) % 5000
    z = 1 + (k * 13) % 60; c = (k % 9) - 4
    printf "%d,%d,%d,%d,%d\n", w, d, f, z, c > dir "/cases.csv"
    printf "%d\n%d\n%d\n%d\n%d\n\n", w, d, f, z, c > dir "/session"
  }
  printf "0\n0\n" > dir "/session"
}'
measure() {  # label, command...
  local label=$1
  shift
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$@"
  read -r wall user sys <"$work/time"
  awk -v l="$label" -v n="$n" -v w="$wall" -v u="$user" -v s="$sys" 'BEGIN {
    printf "%-9s %d rows in %.2f s wall, %.2f s CPU: %.0f rows/s wall, %.0f rows/s CPU\n",
      l, n, w, u + s, n / w, n / (u + s) }'
}
measure batch sh -c "taskset -c 1 $program windsea --batch $work/cases.csv >$work/out.csv"
measure dialogue sh -c "taskset -c 1 $program <$work/session >$work/out.txt"
taskset -c 1 build/bench/bench/batch_bench --benchmark_min_time=2 \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true |
  grep -E 'median'
