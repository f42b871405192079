#!/usr/bin/env bash
# End-to-end benchmark: pipes a scripted session of 1000 wind-sea cycles and
# 1000 swell passes into the program (output to /dev/null) and prints passes
# per second and peak memory; then runs the Google Benchmark of the same
# evaluations alone and through the console, side by side.
# Usage: bench/e2e.sh   (builds the bench preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
build=build/bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cycles=1000
passes=1000
"$build/bench/bench_session_input" $cycles $passes >"$work/session"

start=$(date +%s.%N)
/usr/bin/time -f '%M' -o "$work/rss" "$build/morvelstandrik" \
  <"$work/session" >/dev/null
end=$(date +%s.%N)
awk -v s="$start" -v e="$end" -v n=$((cycles + passes)) -v c=$cycles \
  -v rss="$(tail -n 1 "$work/rss")" 'BEGIN {
    t = e - s
    printf "whole program: %d wind-sea cycles + %d swell passes in %.3f s, %.0f passes/s, peak memory %d kB\n", c, n - c, t, n / t, rss
  }'

"$build/bench/session_bench" --benchmark_repetitions=10 \
  --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true --benchmark_format=json \
  >"$work/bench.json"
python3 - "$work/bench.json" <<'PY'
import json, sys
runs = {b["run_name"]: b["real_time"] for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
alone, whole = runs["BM_EvaluationsOnly"], runs["BM_WholeSession"]
print(f"evaluations alone: {alone:.2f} ms, through the console: {whole:.2f} ms "
      f"(median of 10, interleaved, 100 cycles + 100 passes)")
print(f"console layer adds {100 * (whole - alone) / alone:.1f} % of time (goal: under 10 %)")
PY

# Time on a shared machine drifts; instruction counts do not.
if command -v valgrind >/dev/null; then
  for b in BM_EvaluationsOnly BM_WholeSession; do
    valgrind --tool=callgrind --callgrind-out-file="$work/cg.$b" \
      "$build/bench/session_bench" --benchmark_filter="$b" \
      --benchmark_min_time=0.01 >/dev/null 2>&1
    callgrind_annotate --inclusive=yes "$work/cg.$b" 2>/dev/null |
      grep "session_bench.cpp:(anonymous namespace)::$b" | head -n 1 |
      awk '{ gsub(",", "", $1); print $1 }' >"$work/ir.$b"
  done
  awk -v a="$(cat "$work/ir.BM_EvaluationsOnly")" \
    -v w="$(cat "$work/ir.BM_WholeSession")" 'BEGIN {
      printf "instructions: evaluations alone %d, through the console %d: console layer adds %.1f %%\n", a, w, 100 * (w - a) / a
    }'
fi
