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

"$build/bench/session_bench" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_format=json \
  >"$work/bench.json"
python3 - "$work/bench.json" <<'PY'
import json, sys
runs = {b["run_name"]: b["real_time"] for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
alone, whole = runs["BM_EvaluationsOnly"], runs["BM_WholeSession"]
print(f"evaluations alone: {alone:.2f} ms, through the console: {whole:.2f} ms "
      f"(median of 5, 100 cycles + 100 passes)")
print(f"console layer adds {100 * (whole - alone) / alone:.1f} % (goal: under 10 %)")
PY
